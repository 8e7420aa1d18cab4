/* opciones.cpp - the calling thread's choices for its page calls, and its receptor of text origins.
 */
#include <string>

#include "companion/interno.h"

namespace {

struct opciones_hilo {
  segmentacion_t segmentacion = SEGMENTACION_CLASICA;
  booleano salida_utf8 = FALSO;
  booleano no_traducir = FALSO;
  bool con_etiqueta = false;
  std::string etiqueta_html;
  origen_receptor_t receptor = nullptr;
  void *contexto = nullptr;
};

thread_local opciones_hilo opciones;

}  // namespace

extern "C" {

void opciones_pon_segmentacion(segmentacion_t segmentacion) noexcept {
  if (segmentacion != SEGMENTACION_CLASICA && segmentacion != SEGMENTACION_BLOQUES) {
    companion::informa(
        "segmentacion == SEGMENTACION_CLASICA || segmentacion == SEGMENTACION_BLOQUES");
    return;
  }
  opciones.segmentacion = segmentacion;
}

segmentacion_t opciones_dame_segmentacion(void) noexcept {
  return opciones.segmentacion;
}

void opciones_pon_salida_utf8(booleano utf8) noexcept {
  opciones.salida_utf8 = utf8 == CIERTO ? CIERTO : FALSO;
}

booleano opciones_dame_salida_utf8(void) noexcept {
  return opciones.salida_utf8;
}

void opciones_pon_no_traducir(booleano respeta) noexcept {
  opciones.no_traducir = respeta == CIERTO ? CIERTO : FALSO;
}

booleano opciones_dame_no_traducir(void) noexcept {
  return opciones.no_traducir;
}

void opciones_pon_etiqueta_html(const char *etiqueta) noexcept {
  opciones.con_etiqueta = etiqueta != nullptr;
  try {
    opciones.etiqueta_html = etiqueta != nullptr ? etiqueta : "";
  } catch (...) {
    opciones.con_etiqueta = false;
    companion::informa("the tag copied (out of memory)");
  }
}

const char *opciones_dame_etiqueta_html(void) noexcept {
  return opciones.con_etiqueta ? opciones.etiqueta_html.c_str() : nullptr;
}

void opciones_pon_receptor_origenes(origen_receptor_t receptor, void *contexto) noexcept {
  opciones.receptor = receptor;
  opciones.contexto = receptor != nullptr ? contexto : nullptr;
}

booleano opciones_hay_receptor_origenes(void) noexcept {
  return opciones.receptor != nullptr ? CIERTO : FALSO;
}

void opciones_informa_origen(const origen_texto_t *origen) noexcept {
  if (origen != nullptr && opciones.receptor != nullptr)
    opciones.receptor(origen, opciones.contexto);
}

}  // extern "C"
