// tabla_links.cpp - the link table file: the A and IMG link tables of a site in one file.
//
// The file is a sequence of save-stream items: the text "lenguaweb link tables", the
// format version (an unsigned byte, 1), then for the A table and then for the IMG
// table a record count (four unsigned bytes, least significant first) followed by that
// many records as tablalink_graba writes them.
#include "tabla_links.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "carpetas.h"
#include "informes.h"
#include "salida.h"

namespace {

constexpr const char *kMarca = "lenguaweb link tables";
constexpr unsigned char kVersion = 1;

void graba_cuenta(uint32_t cuenta, flujo_t *flujo) {
  for (int i = 0; i < 4; ++i)
    flujo_graba_uchar(static_cast<unsigned char>(cuenta >> (8 * i)), flujo);
}

uint32_t lee_cuenta(flujo_t *flujo) {
  uint32_t cuenta = 0;
  for (int i = 0; i < 4; ++i) cuenta |= static_cast<uint32_t>(flujo_lee_uchar(flujo)) << (8 * i);
  return cuenta;
}

void libera_lista(lista_reg_t **lista) {
  for (uint32_t i = 0; i < lista_reg_num_elems(*lista); ++i) {
    tablalink_t *registro = lista_reg_dame(*lista, i);
    if (registro != nullptr) tablalink_destruye(&registro);  // null: handed to another list
  }
  lista_reg_destruye(lista);
}

// Reads one table into lista; false when the file does not hold what the table claims,
// with which record failed in *motivo (the stream's report tells why). A damaged count
// costs little: each record takes bytes of the file, and reading stops at the first
// that fails.
bool lee_tabla(flujo_t *flujo, const char *nombre, lista_reg_t *lista, std::string *motivo) {
  const uint32_t cuenta = lee_cuenta(flujo);
  if (flujo_fallido(flujo) == CIERTO) {
    *motivo = std::string("the record count of the ") + nombre + " table";
    return false;
  }
  for (uint32_t i = 0; i < cuenta; ++i) {
    tablalink_t *registro = tablalink_lee(flujo);
    if (flujo_fallido(flujo) == CIERTO) {
      tablalink_destruye(&registro);
      *motivo = "record " + std::to_string(i + 1) + " of the " + std::to_string(cuenta) +
                " that the " + nombre + " table claims";
      return false;
    }
    lista_reg_anade(lista, registro);
  }
  return true;
}

}  // namespace

TablasLinks tablas_crea() {
  return {lista_reg_crea(0), lista_reg_crea(0)};
}

void tablas_destruye(TablasLinks *tablas) {
  libera_lista(&tablas->a);
  libera_lista(&tablas->img);
}

bool tablas_carga(const std::string &ruta, TablasLinks *tablas, std::string *error) {
  *tablas = {};
  std::error_code ec;
  const auto estado = std::filesystem::status(ruta, ec);
  if (estado.type() == std::filesystem::file_type::not_found) {
    *tablas = tablas_crea();
    return true;
  }
  if (ec || estado.type() != std::filesystem::file_type::regular) {
    *error =
        "cannot read '" + ruta + "': " + (ec ? ec.message() : std::string("not a regular file"));
    return false;
  }
  const uint64_t tamano = std::filesystem::file_size(ruta, ec);

  // Every report made while the file is read (the stream's, a record's) means the file
  // is not what this command wrote.
  AmbitoInformes ambito(ruta);
  ambito.retiene_todo = true;
  flujo_t *flujo = flujo_abre_lectura(ruta.c_str());
  if (flujo == nullptr) {
    *error = informes_toma_fallos();
    if (error->empty()) *error = "cannot read '" + ruta + "'";
    return false;
  }
  std::string motivo;
  TablasLinks leidas = tablas_crea();
  char *marca = flujo_lee_cadena(flujo);
  const bool es_tabla = cad_iguales(marca, kMarca) == CIERTO;
  cad_destruye(&marca);
  bool bien = es_tabla;
  if (!es_tabla) {
    motivo = "not a link table file";
  } else if (const unsigned char version = flujo_lee_uchar(flujo); version != kVersion) {
    motivo = "link table file of version " + std::to_string(version) + ", this command reads " +
             std::to_string(kVersion);
    bien = false;
  } else {
    bien = lee_tabla(flujo, "A", leidas.a, &motivo) && lee_tabla(flujo, "IMG", leidas.img, &motivo);
    if (bien && flujo_posicion(flujo) != tamano) {
      motivo = "bytes after the end of the tables";
      bien = false;
    }
  }
  flujo_cierra(&flujo);
  const std::string informes = informes_toma_fallos();
  if (bien && informes.empty() && !ec) {
    *tablas = leidas;
    return true;
  }
  tablas_destruye(&leidas);
  *error = ruta + ": damaged link table file: " + motivo;
  if (!motivo.empty() && !informes.empty()) *error += ": ";
  *error += informes;
  if (motivo.empty() && informes.empty()) *error += ec.message();
  return false;
}

bool tablas_graba(const std::string &ruta, const TablasLinks &tablas, std::string *error) {
  AmbitoInformes ambito(ruta);
  flujo_t *flujo = flujo_abre_escritura(ruta.c_str());
  if (flujo != nullptr) {
    flujo_graba_cadena(kMarca, flujo);
    flujo_graba_uchar(kVersion, flujo);
    for (const lista_reg_t *lista : {tablas.a, tablas.img}) {
      graba_cuenta(lista_reg_num_elems(lista), flujo);
      for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i)
        tablalink_graba(lista_reg_dame(lista, i), flujo);
    }
  }
  if (flujo != nullptr && flujo_cierra(&flujo) == CIERTO) return true;
  *error = informes_toma_fallos();
  if (error->empty()) *error = "cannot write '" + ruta + "'";
  return false;
}

CamposRegistro tablas_campos(const tablalink_t *registro) {
  // The saved form begins with a version byte and the four texts, in this order.
  flujo_t *escritura = flujo_abre_memoria_escritura();
  tablalink_graba(registro, escritura);
  size_t longitud = 0;
  const void *datos = flujo_dame_memoria(escritura, &longitud);
  flujo_t *lectura = flujo_abre_memoria(datos, longitud);
  flujo_lee_uchar(lectura);
  CamposRegistro campos;
  for (std::string *campo : {&campos.id, &campos.dominio, &campos.ruta, &campos.nombre_fichero}) {
    char *texto = flujo_lee_cadena(lectura);
    *campo = texto;
    cad_destruye(&texto);
  }
  flujo_cierra(&lectura);
  flujo_cierra(&escritura);
  return campos;
}

bool tablas_lista(const std::string &ruta, Salida *salida, std::string *error) {
  std::error_code ec;
  if (!std::filesystem::exists(ruta, ec)) {
    *error =
        "cannot read '" + ruta + "': " +
        (ec ? ec.message() : std::make_error_code(std::errc::no_such_file_or_directory).message());
    return false;
  }
  TablasLinks tablas;
  if (!tablas_carga(ruta, &tablas, error)) return false;
  salida_anade(salida, "table\tID\tdominio\truta\tnombre_fichero\n");
  for (const auto &[nombre, lista] : {std::pair{"A", tablas.a}, std::pair{"IMG", tablas.img}})
    for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i) {
      const CamposRegistro c = tablas_campos(lista_reg_dame(lista, i));
      salida_anade(salida, nombre);
      for (const std::string *campo : {&c.id, &c.dominio, &c.ruta, &c.nombre_fichero}) {
        salida_anade(salida, "\t");
        salida_anade(salida, *campo);
      }
      salida_anade(salida, "\n");
    }
  tablas_destruye(&tablas);
  return true;
}

CerrojoTabla::~CerrojoTabla() {
  if (descriptor < 0) return;
  // Removed while held: a run that waits on it finds it gone and takes a new one.
  ::unlink(ruta.c_str());
  ::close(descriptor);
}

bool tablas_bloquea(const std::string &tabla, CerrojoTabla *cerrojo, std::string *error) {
  const std::string real = carpetas_ruta_real(tabla);
  cerrojo->ruta = (real.empty() ? tabla : real) + ".lock";
  for (;;) {
    const int descriptor = ::open(cerrojo->ruta.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) {
      *error = "cannot lock the link table '" + tabla + "': cannot create '" + cerrojo->ruta +
               "': " + std::system_category().message(errno);
      return false;
    }
    int bloqueado;
    do {
      bloqueado = ::flock(descriptor, LOCK_EX);
    } while (bloqueado != 0 && errno == EINTR);
    struct stat tomado, actual;
    if (bloqueado != 0) {
      *error = "cannot lock the link table '" + tabla + "' through '" + cerrojo->ruta +
               "': " + std::system_category().message(errno);
      ::close(descriptor);
      return false;
    }
    // The run that held it before may have removed it: then the file at the path is
    // another, which is the lock now.
    if (::fstat(descriptor, &tomado) == 0 && ::stat(cerrojo->ruta.c_str(), &actual) == 0 &&
        tomado.st_dev == actual.st_dev && tomado.st_ino == actual.st_ino) {
      cerrojo->descriptor = descriptor;
      return true;
    }
    ::close(descriptor);
  }
}
