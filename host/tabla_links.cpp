// tabla_links.cpp - the link table file: the A and IMG link tables of a site in one file.
//
// The file is a sequence of save-stream items: the text "lenguaweb link tables", the
// format version (an unsigned byte, 1), then for the A table and then for the IMG
// table a record count (four unsigned bytes, least significant first) followed by that
// many records as tablalink_graba writes them.
#include "tabla_links.h"

#include <filesystem>
#include <system_error>

#include "informes.h"

namespace {

constexpr const char *kMarca = "lenguaweb link tables";
constexpr unsigned char kVersion = 1;
// The smallest saved record: the version byte, four empty texts and eleven booleans.
constexpr uint64_t kRegistroMinimo = 1 + 4 * 4 + 11;

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

// Reads one table into lista; false when the file cannot hold what it claims.
bool lee_tabla(flujo_t *flujo, uint64_t tamano, lista_reg_t *lista, std::string *motivo) {
  const uint32_t cuenta = lee_cuenta(flujo);
  if (flujo_fallido(flujo) == CIERTO) return false;
  // A damaged count must not make us read millions of empty records.
  if (cuenta > (tamano - flujo_posicion(flujo)) / kRegistroMinimo) {
    *motivo = "it claims " + std::to_string(cuenta) + " records, more than the file can hold";
    return false;
  }
  for (uint32_t i = 0; i < cuenta && flujo_fallido(flujo) == FALSO; ++i)
    lista_reg_anade(lista, tablalink_lee(flujo));
  return flujo_fallido(flujo) == FALSO;
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
    bien = lee_tabla(flujo, tamano, leidas.a, &motivo) &&
           lee_tabla(flujo, tamano, leidas.img, &motivo);
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
  *error = ruta + ": damaged link table file: " +
           (!motivo.empty()     ? motivo
            : !informes.empty() ? informes
                                : ec.message());
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

bool tablas_lista(const std::string &ruta, FILE *salida, std::string *error) {
  std::error_code ec;
  if (!std::filesystem::exists(ruta, ec)) {
    *error =
        "cannot read '" + ruta + "': " +
        (ec ? ec.message() : std::make_error_code(std::errc::no_such_file_or_directory).message());
    return false;
  }
  TablasLinks tablas;
  if (!tablas_carga(ruta, &tablas, error)) return false;
  std::fputs("table\tID\tdominio\truta\tnombre_fichero\n", salida);
  for (const auto &[nombre, lista] : {std::pair{"A", tablas.a}, std::pair{"IMG", tablas.img}})
    for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i) {
      const CamposRegistro c = tablas_campos(lista_reg_dame(lista, i));
      std::fprintf(salida, "%s\t%s\t%s\t%s\t%s\n", nombre, c.id.c_str(), c.dominio.c_str(),
                   c.ruta.c_str(), c.nombre_fichero.c_str());
    }
  tablas_destruye(&tablas);
  return true;
}
