/* formato.cpp - one link record written to and read from a save stream. */
#include "tablalink/tablalink.h"
#include "privado/informe.h"

namespace {

/* Every record is written in this version; older ones are still read. */
constexpr unsigned char kVersionActual = 3;

/* Versions 0, 1 and 2 saved eleven, twelve and thirteen indicators. */
constexpr int kIndicadoresVersion0 = 11;
static_assert(kIndicadoresVersion0 + kVersionActual == TABLALINK_NUM_INDICADORES);

}  // namespace

extern "C" {

void tablalink_graba(const tablalink_t *tablalink, flujo_t *flujo) noexcept {
  tablalink_verifica_integridad(tablalink);
  if (tablalink == nullptr) return;
  flujo_graba_uchar(kVersionActual, flujo);
  flujo_graba_cadena(tablalink->ID, flujo);
  flujo_graba_cadena(tablalink->dominio, flujo);
  flujo_graba_cadena(tablalink->ruta, flujo);
  flujo_graba_cadena(tablalink->nombre_fichero, flujo);
  for (booleano indicador : tablalink->indicador) flujo_graba_bool(indicador, flujo);
}

tablalink_t *tablalink_lee(flujo_t *flujo) noexcept {
  unsigned char version = flujo_lee_uchar(flujo);
  if (version > kVersionActual) {
    informa_en(kModuloTablalink, "version == 0 || version == 1 || version == 2 || version == 3");
    version = kVersionActual;
  }
  // One statement per item: the items must be taken in their saved order.
  char *id = flujo_lee_cadena(flujo);
  char *dominio = flujo_lee_cadena(flujo);
  char *ruta = flujo_lee_cadena(flujo);
  char *nombre_fichero = flujo_lee_cadena(flujo);
  booleano indicadores[TABLALINK_NUM_INDICADORES] = {};
  const int guardados = kIndicadoresVersion0 + version;
  for (int i = 0; i < guardados; ++i) indicadores[i] = flujo_lee_bool(flujo);
  return tablalink_crea_con_campos(&id, &dominio, &ruta, &nombre_fichero, indicadores);
}

}  // extern "C"
