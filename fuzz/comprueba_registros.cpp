/* comprueba_registros.cpp - link records read from arbitrary bytes until the stream fails. */
#include <array>
#include <string>
#include <string_view>

#include "fuzz/comprobaciones.h"
#include "fuzz/sesion.h"
#include "tablalink/tablalink.h"

namespace {

struct copia_registro {
  std::string id, dominio, ruta, nombre;
  std::array<booleano, TABLALINK_NUM_INDICADORES> indicadores{};
  bool operator==(const copia_registro &) const = default;
};

/* Reads one record; "" and its copy, or what is wrong with it. The record is freed. */
std::string lee_uno(flujo_t *flujo, copia_registro *copia) {
  tablalink_t *registro = tablalink_lee(flujo);
  if (registro == nullptr) return "a null record";
  if (!registro->ID || !registro->dominio || !registro->ruta || !registro->nombre_fichero) {
    tablalink_destruye(&registro);
    return "a record with a null text";
  }
  *copia = {registro->ID, registro->dominio, registro->ruta, registro->nombre_fichero};
  std::string fallo;
  for (int i = 0; i < TABLALINK_NUM_INDICADORES; ++i) {
    copia->indicadores[i] = registro->indicador[i];
    if (registro->indicador[i] != CIERTO && registro->indicador[i] != FALSO)
      fallo = "an indicator that is neither CIERTO nor FALSO";
  }
  tablalink_destruye(&registro);
  return fallo;
}

/* The record saved again: the bytes it takes, and the record read back from them. */
std::string graba_y_relee(const copia_registro &c, std::string *bytes, copia_registro *releida) {
  char *id = cad_copia(c.id.c_str()), *dominio = cad_copia(c.dominio.c_str());
  char *ruta = cad_copia(c.ruta.c_str()), *nombre = cad_copia(c.nombre.c_str());
  tablalink_t *registro =
      tablalink_crea_con_campos(&id, &dominio, &ruta, &nombre, c.indicadores.data());
  flujo_t *escritura = flujo_abre_memoria_escritura();
  tablalink_graba(registro, escritura);
  tablalink_destruye(&registro);
  size_t n = 0;
  const void *escrito = flujo_dame_memoria(escritura, &n);
  bytes->assign(static_cast<const char *>(escrito), n);
  flujo_cierra(&escritura);
  flujo_t *lectura = flujo_abre_memoria(bytes->data(), bytes->size());
  std::string fallo = lee_uno(lectura, releida);
  if (fallo.empty() && flujo_posicion(lectura) != bytes->size())
    fallo = "a saved record is not read to its end";
  if (flujo_cierra(&lectura) != CIERTO && fallo.empty())
    fallo = "a saved record does not read back";
  return fallo;
}

/* Whether a record's bytes are what saving it gives: version 3, texts without a NUL
 * (which a text cannot hold, and which ends it when read), booleans 0 or 1. */
bool llano(std::string_view r) {
  if (r.empty() || r[0] != 3) return false;
  size_t p = 1;
  for (int texto = 0; texto < 4; ++texto) {
    if (p + 4 > r.size()) return false;
    const size_t largo = static_cast<unsigned char>(r[p]) |
                         static_cast<unsigned char>(r[p + 1]) << 8 |
                         static_cast<unsigned char>(r[p + 2]) << 16 |
                         static_cast<size_t>(static_cast<unsigned char>(r[p + 3])) << 24;
    p += 4;
    if (largo > r.size() - p || r.substr(p, largo).find('\0') != std::string_view::npos)
      return false;
    p += largo;
  }
  if (r.size() - p != TABLALINK_NUM_INDICADORES) return false;
  for (; p < r.size(); ++p)
    if (r[p] != 0 && r[p] != 1) return false;
  return true;
}

std::string comprueba(std::string_view bytes) {
  flujo_t *flujo = flujo_abre_memoria(bytes.data(), bytes.size());
  std::string fallo;
  // Every record that reads cleanly takes at least its version byte, so the stream
  // fails after as many records as it has bytes, and one more read at most.
  for (size_t leidos = 0; fallo.empty(); ++leidos) {
    if (leidos > bytes.size()) {
      fallo = "more records than bytes";
      break;
    }
    const uint64_t desde = flujo_posicion(flujo);
    copia_registro copia;
    fallo = lee_uno(flujo, &copia);
    const uint64_t hasta = flujo_posicion(flujo);
    if (!fallo.empty()) break;
    if (flujo_fallido(flujo) == CIERTO) break;
    if (hasta <= desde || hasta > bytes.size()) {
      fallo =
          "a record read from byte " + std::to_string(desde) + " ends at " + std::to_string(hasta);
      break;
    }
    // Saved again, it reads back the same; and a record that was saved as version 3
    // with plain booleans is saved again byte for byte.
    std::string guardado;
    copia_registro releida;
    fallo = graba_y_relee(copia, &guardado, &releida);
    if (fallo.empty() && releida != copia) fallo = "a record saved again reads back otherwise";
    const std::string_view original = bytes.substr(desde, hasta - desde);
    if (fallo.empty() && llano(original) && guardado != original)
      fallo = "the record at byte " + std::to_string(desde) + " is saved again otherwise";
  }
  flujo_cierra(&flujo);
  return fallo;
}

}  // namespace

std::string fuzz_comprueba_registros(const uint8_t *datos, size_t largo) {
  std::string fallo;
  {
    fuzz_sesion sesion;
    fallo = comprueba(std::string_view(reinterpret_cast<const char *>(datos), largo));
    if (fallo.empty())
      fallo = fuzz_informe_inesperado(
          sesion, {"version == 0 || version == 1 || version == 2 || version == 3",
                   "save stream in memory ends early*"});
    if (fallo.empty()) fallo = fuzz_fugas(sesion);
  }
  return fallo;
}
