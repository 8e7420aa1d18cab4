/* documento.cpp - the page document: made from an HTML file, destroyed by its owner. */
#include "lenguaweb/documento.h"

#include <memory>
#include <new>
#include <string_view>

#include "lenguaweb/segmentacion.h"

extern "C" {

LENGUAWEB_API lenguaweb_t *lenguaweb_crea(const char *nombre_fichero_html,
                                          uint32_t idioma) noexcept {
  // Built in place in a counted block, so that its map is made and freed as C++ wants.
  auto *documento = new (mem_reserva(sizeof(lenguaweb_t)))
      lenguaweb_t{lista_cad_crea(0), lista_num_crea(0), lista_cad_crea(0), lista_num_crea(0), {}};
  std::string_view pagina;
  propio<fichero_memoria_t, fichero_memoria_destruye> fichero;
  if (nombre_fichero_html == nullptr) {
    informa_en(kModuloLenguaweb, "(nombre_fichero_html) != NULL");
  } else {
    fichero.reset(fichero_memoria_lee(nombre_fichero_html));
    pagina = fichero->contenido;
  }
  lenguaweb_divide_pagina(pagina, documento->textos, documento->tipos_de_textos,
                          documento->trozos_html, idioma, documento->codigo_en_linea,
                          &documento->signos_crudos);

  const cad_propia volcado(utilidades_ruta_fichero("lista_html.txt"));
  fichtxt_graba_lista(documento->textos, volcado.get());
  return documento;
}

LENGUAWEB_API void lenguaweb_destruye(lenguaweb_t **lenguaweb) noexcept {
  if (informa_si_falta(kModuloLenguaweb, lenguaweb, "(lenguaweb) != NULL")) return;
  if (informa_si_falta(kModuloLenguaweb, *lenguaweb, "(*lenguaweb) != NULL")) return;
  lista_cad_destruye(&(*lenguaweb)->textos);
  lista_num_destruye(&(*lenguaweb)->tipos_de_textos);
  lista_cad_destruye(&(*lenguaweb)->trozos_html);
  lista_num_destruye(&(*lenguaweb)->codigo_en_linea);
  std::destroy_at(*lenguaweb);
  mem_libera(lenguaweb, sizeof(lenguaweb_t));
}

LENGUAWEB_API uint16_t lenguaweb_version_generacion(void) noexcept {
  return 0;
}

}  // extern "C"
