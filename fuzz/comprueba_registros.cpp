/* comprueba_registros.cpp - link records read from arbitrary bytes until the stream fails. */
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "fuzz/comprobaciones.h"
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
  std::string fallo;
  if (!registro->ID || !registro->dominio || !registro->ruta || !registro->nombre_fichero)
    fallo = "a record with a null text";
  else
    *copia = {registro->ID, registro->dominio, registro->ruta, registro->nombre_fichero};
  std::copy_n(registro->indicador, TABLALINK_NUM_INDICADORES, copia->indicadores.begin());
  for (booleano b : copia->indicadores)
    if (b != CIERTO && b != FALSO) fallo = "an indicator that is neither CIERTO nor FALSO";
  tablalink_destruye(&registro);
  return fallo;
}

/* The record saved again: the bytes it takes, and the record read back from them. */
std::string graba_y_relee(const copia_registro &c, std::string *bytes, copia_registro *releida) {
  tablalink_t *registro =
      tablalink_crea(c.id.c_str(), c.dominio.c_str(), c.ruta.c_str(), c.nombre.c_str());
  std::copy(c.indicadores.begin(), c.indicadores.end(), registro->indicador);
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

std::string comprueba(std::string_view bytes) {
  flujo_t *flujo = flujo_abre_memoria(bytes.data(), bytes.size());
  std::string fallo;
  // Every record that reads cleanly takes at least its version byte, so the stream
  // fails after as many records as it has bytes, and one more read at most.
  for (size_t leidos = 0; fallo.empty(); ++leidos) {
    const uint64_t desde = flujo_posicion(flujo);
    copia_registro copia, releida;
    if (leidos > bytes.size()) fallo = "more records than bytes";
    if (fallo.empty()) fallo = lee_uno(flujo, &copia);
    const uint64_t hasta = flujo_posicion(flujo);
    if (!fallo.empty() || flujo_fallido(flujo) == CIERTO) break;
    if (hasta <= desde || hasta > bytes.size())
      fallo =
          "a record read from byte " + std::to_string(desde) + " ends at " + std::to_string(hasta);
    // Saved again, it reads back the same; and a record saved as version 3 whose texts
    // hold no NUL (which ends a text when read, so saving again takes fewer bytes) and
    // whose booleans are 0 or 1 is saved again byte for byte.
    std::string guardado;
    if (fallo.empty()) fallo = graba_y_relee(copia, &guardado, &releida);
    if (fallo.empty() && releida != copia) fallo = "a record saved again reads back otherwise";
    const std::string_view original = bytes.substr(desde, hasta - desde);
    const bool llano = fallo.empty() && original[0] == 3 && guardado.size() == original.size() &&
                       original.find_last_not_of(std::string_view("\0\1", 2)) <
                           original.size() - TABLALINK_NUM_INDICADORES;
    if (llano && guardado != original)
      fallo = "the record at byte " + std::to_string(desde) + " is saved again otherwise";
  }
  flujo_cierra(&flujo);
  return fallo;
}

}  // namespace

std::string fuzz_comprueba_registros(const uint8_t *datos, size_t largo) {
  return fuzz_en_sesion(
      {"version == 0 || version == 1 || version == 2 || version == 3",
       "save stream in memory ends early*"},
      [&](auto &) {
        return comprueba(std::string_view(reinterpret_cast<const char *>(datos), largo));
      });
}
