// escritura.cpp - the command's own files written whole or not at all: a temporary renamed into
// place.
#include "escritura.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace {

std::string fallo(const std::string &destino, int error) {
  return "cannot write '" + destino + "': " + std::system_category().message(error);
}

// The mode of a new file: 0666 less the umask, read once while the process has one
// thread (umask can only be read by setting it).
mode_t modo_nuevo() {
  static const mode_t modo = [] {
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    return static_cast<mode_t>(0666 & ~mascara);
  }();
  return modo;
}

[[maybe_unused]] const mode_t modo_leido_al_empezar = modo_nuevo();

}  // namespace

bool escritura_crea_temporal(const std::string &destino, std::string *temporal,
                             std::string *error) {
  const size_t barra = destino.rfind('/');
  const std::string carpeta = barra == std::string::npos ? "" : destino.substr(0, barra + 1);
  const std::string nombre = destino.substr(barra == std::string::npos ? 0 : barra + 1);
  std::string plantilla = carpeta + "." + nombre.substr(0, 128) + ".XXXXXX";
  std::vector<char> camino(plantilla.begin(), plantilla.end());
  camino.push_back('\0');
  const int descriptor = ::mkstemp(camino.data());
  if (descriptor < 0) {
    *error = fallo(destino, errno);
    return false;
  }
  struct stat previo;
  const mode_t modo = ::stat(destino.c_str(), &previo) == 0 && S_ISREG(previo.st_mode)
                          ? static_cast<mode_t>(previo.st_mode & 07777)
                          : modo_nuevo();
  if (::fchmod(descriptor, modo) != 0) {
    const int e = errno;
    ::close(descriptor);
    ::unlink(camino.data());
    *error = fallo(destino, e);
    return false;
  }
  ::close(descriptor);
  *temporal = camino.data();
  return true;
}

bool escritura_coloca(const std::string &temporal, const std::string &destino, std::string *error) {
  if (::rename(temporal.c_str(), destino.c_str()) == 0) return true;
  *error = fallo(destino, errno);
  ::unlink(temporal.c_str());
  return false;
}

void escritura_descarta(const std::string &temporal) {
  if (!temporal.empty()) ::unlink(temporal.c_str());
}
