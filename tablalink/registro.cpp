/* registro.cpp - the link record: making, checking, destroying, matching and rebuilding its link.
 */
#include <string_view>

#include "tablalink/tablalink.h"
#include "privado/informe.h"

namespace {

/* A null text matches nothing: a record with a null part is broken (the integrity check
 * has said so) and must not be taken for any link. */
booleano iguales(const char *a, const char *b) {
  if (a == nullptr || b == nullptr) return FALSO;
  return cad_iguales(a, b) == CIERTO ? CIERTO : FALSO;
}

bool vacio(const char *texto) {
  return texto == nullptr || texto[0] == '\0';
}

const char *o_vacio(const char *texto) {
  return texto != nullptr ? texto : "";
}

}  // namespace

extern "C" {

tablalink_t *tablalink_crea(const char *ID, const char *dominio, const char *ruta,
                            const char *nombre_fichero) {
  char *id = cad_copia(ID);
  char *dom = cad_copia(dominio);
  char *camino = cad_copia(ruta);
  char *nombre = cad_copia(nombre_fichero);
  booleano indicadores[TABLALINK_NUM_INDICADORES] = {CIERTO};
  return tablalink_crea_con_campos(&id, &dom, &camino, &nombre, indicadores);
}

tablalink_t *tablalink_crea_con_campos(char **ID, char **dominio, char **ruta,
                                       char **nombre_fichero,
                                       const booleano indicadores[TABLALINK_NUM_INDICADORES]) {
  auto *registro = static_cast<tablalink_t *>(mem_reserva(sizeof(tablalink_t)));
  registro->ID = static_cast<char *>(mem_traspasa(ID));
  registro->dominio = static_cast<char *>(mem_traspasa(dominio));
  registro->ruta = static_cast<char *>(mem_traspasa(ruta));
  registro->nombre_fichero = static_cast<char *>(mem_traspasa(nombre_fichero));
  // mem_reserva zero-fills, so a missing array leaves every indicator FALSO.
  if (indicadores != nullptr)
    for (int i = 0; i < TABLALINK_NUM_INDICADORES; ++i) registro->indicador[i] = indicadores[i];
  tablalink_verifica_integridad(registro);
  return registro;
}

void tablalink_verifica_integridad(const tablalink_t *tablalink) {
  if (informa_si_falta(kModuloTablalink, tablalink, "(tablalink) != NULL")) return;
  if (tablalink->ID == nullptr) informa_en(kModuloTablalink, "(tablalink->ID) != NULL");
  if (tablalink->dominio == nullptr) informa_en(kModuloTablalink, "(tablalink->dominio) != NULL");
  if (tablalink->ruta == nullptr) informa_en(kModuloTablalink, "(tablalink->ruta) != NULL");
  if (tablalink->nombre_fichero == nullptr)
    informa_en(kModuloTablalink, "(tablalink->nombre_fichero) != NULL");
}

void tablalink_destruye(tablalink_t **tablalink) noexcept {
  if (informa_si_falta(kModuloTablalink, tablalink, "(tablalink) != NULL")) return;
  tablalink_verifica_integridad(*tablalink);
  if (*tablalink == nullptr) return;
  cad_destruye(&(*tablalink)->ID);
  cad_destruye(&(*tablalink)->dominio);
  cad_destruye(&(*tablalink)->ruta);
  cad_destruye(&(*tablalink)->nombre_fichero);
  mem_libera(tablalink, sizeof(tablalink_t));
}

booleano tablalink_coincide_enlace(const tablalink_t *tablalink, const char *dominio,
                                   const char *ruta, const char *nombre_fichero) {
  tablalink_verifica_integridad(tablalink);
  if (tablalink == nullptr) return FALSO;
  if (iguales(tablalink->dominio, dominio) != CIERTO) return FALSO;
  if (iguales(tablalink->ruta, ruta) != CIERTO) return FALSO;
  return iguales(tablalink->nombre_fichero, nombre_fichero);
}

booleano tablalink_coincide_id(const tablalink_t *tablalink, const char *id) {
  tablalink_verifica_integridad(tablalink);
  if (tablalink == nullptr) return FALSO;
  return iguales(tablalink->ID, id);
}

char *tablalink_dame_enlace(const tablalink_t *tablalink) {
  tablalink_verifica_integridad(tablalink);
  if (tablalink == nullptr) return nullptr;
  return tablalink_une_enlace(tablalink->dominio, tablalink->ruta, tablalink->nombre_fichero);
}

char *tablalink_une_enlace(const char *dominio, const char *ruta, const char *nombre_fichero) {
  dominio = o_vacio(dominio);
  ruta = o_vacio(ruta);
  // Every directory but the root gets its "/" back, a one-character one too, so that
  // "a" + "guia.html" comes back as "a/guia.html".
  const bool separa = !vacio(ruta) && std::string_view(ruta) != "/";
  return cad_formatea("%s%s%s%s%s", vacio(dominio) ? "" : "http://", dominio, ruta,
                      separa ? "/" : "", o_vacio(nombre_fichero));
}

}  // extern "C"
