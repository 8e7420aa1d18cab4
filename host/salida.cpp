// salida.cpp - the command's outputs: bytes gathered in a buffer and handed to the companion's
// writer, which puts a file in place whole or not at all.
#include "salida.h"

#include <fcntl.h>
#include <unistd.h>

#include "informes.h"

namespace {

// Bytes handed to the writer at once: few system calls, little memory.
constexpr size_t kTanda = 1 << 20;

// The companion tells why a write failed through the failure report, which the caller's
// scope holds back: it becomes this output's failure.
std::string motivo(const Salida &salida) {
  std::string fallo = informes_toma_fallos();
  return fallo.empty() ? "cannot write '" + salida.ruta + "'" : fallo;
}

void vacia(Salida *salida) {
  if (salida->tanda.empty() || !salida->fallo.empty()) return;
  AmbitoInformes ambito(salida->ruta);
  if (fichero_escritura_anade(salida->fichero, salida->tanda.data(), salida->tanda.size()) !=
      CIERTO)
    salida->fallo = motivo(*salida);
  salida->tanda.clear();
}

}  // namespace

Salida::~Salida() {
  fichero_escritura_descarta(&fichero);
}

bool salida_abre(Salida *salida, const std::string &ruta, std::string *error) {
  AmbitoInformes ambito(ruta);
  salida->ruta = ruta;
  salida->fichero =
      ruta == "-" ? fichero_escritura_abre_salida_estandar() : fichero_escritura_abre(ruta.c_str());
  if (salida->fichero != nullptr) return true;
  *error = motivo(*salida);
  return false;
}

void salida_anade(Salida *salida, std::string_view bytes) {
  salida->tanda.append(bytes);
  if (salida->tanda.size() >= kTanda) vacia(salida);
}

bool salida_termina(Salida *salida, std::string *error) {
  vacia(salida);
  if (salida->fallo.empty()) {
    AmbitoInformes ambito(salida->ruta);
    if (fichero_escritura_termina(&salida->fichero) == CIERTO) return true;
    salida->fallo = motivo(*salida);
  }
  *error = salida->fallo;
  return false;
}

void salida_reserva_descriptores() {
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    if (::fcntl(descriptor, F_GETFD) >= 0) continue;
    // The lowest free descriptor is this one: every lower one is open.
    const int nulo = ::open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
    if (nulo > 2) ::close(nulo);
  }
}
