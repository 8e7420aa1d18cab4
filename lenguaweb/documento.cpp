/* documento.cpp - the page document: made from an HTML file, destroyed by its owner. */
#include "lenguaweb/documento.h"

#include <cstring>
#include <string_view>

#include "lenguaweb/segmentacion.h"

lenguaweb_t *lenguaweb_construye(lista_cad_t **textos, lista_num_t **tipos_de_textos,
                                 lista_cad_t **trozos_html, lista_num_t **codigo_en_linea) {
  auto *documento = static_cast<lenguaweb_t *>(mem_reserva(sizeof(lenguaweb_t)));
  documento->textos = static_cast<lista_cad_t *>(mem_traspasa(textos));
  documento->tipos_de_textos = static_cast<lista_num_t *>(mem_traspasa(tipos_de_textos));
  documento->trozos_html = static_cast<lista_cad_t *>(mem_traspasa(trozos_html));
  documento->codigo_en_linea = static_cast<lista_num_t *>(mem_traspasa(codigo_en_linea));
  return documento;
}

extern "C" {

LENGUAWEB_API lenguaweb_t *lenguaweb_crea(const char *nombre_fichero_html, uint32_t idioma) {
  lista_cad_t *textos = lista_cad_crea(0);
  lista_num_t *tipos_de_textos = lista_num_crea(0);
  lista_cad_t *trozos_html = lista_cad_crea(0);
  lista_num_t *codigo_en_linea = lista_num_crea(0);
  auto *signos_crudos = new std::map<uint32_t, std::vector<bool>>();

  if (nombre_fichero_html == nullptr) {
    LENGUAWEB_INFORMA("(nombre_fichero_html) != NULL");
    lenguaweb_divide_pagina("", textos, tipos_de_textos, trozos_html, idioma, codigo_en_linea,
                            signos_crudos);
  } else {
    fichero_memoria_t *fichero = fichero_memoria_lee(nombre_fichero_html);
    lenguaweb_divide_pagina(std::string_view(fichero->contenido, std::strlen(fichero->contenido)),
                            textos, tipos_de_textos, trozos_html, idioma, codigo_en_linea,
                            signos_crudos);
    fichero_memoria_destruye(&fichero);
  }

  char *volcado = utilidades_ruta_fichero("lista_html.txt");
  fichtxt_graba_lista(textos, volcado);
  cad_destruye(&volcado);

  if (signos_crudos->empty()) {
    delete signos_crudos;
    signos_crudos = nullptr;
  }
  lenguaweb_t *documento =
      lenguaweb_construye(&textos, &tipos_de_textos, &trozos_html, &codigo_en_linea);
  documento->signos_crudos = signos_crudos;
  return documento;
}

LENGUAWEB_API void lenguaweb_destruye(lenguaweb_t **lenguaweb) {
  if (lenguaweb == nullptr) {
    LENGUAWEB_INFORMA("(lenguaweb) != NULL");
    return;
  }
  if (*lenguaweb == nullptr) {
    LENGUAWEB_INFORMA("(*lenguaweb) != NULL");
    return;
  }
  lista_cad_destruye(&(*lenguaweb)->textos);
  lista_num_destruye(&(*lenguaweb)->tipos_de_textos);
  lista_cad_destruye(&(*lenguaweb)->trozos_html);
  lista_num_destruye(&(*lenguaweb)->codigo_en_linea);
  delete (*lenguaweb)->signos_crudos;
  mem_libera(lenguaweb, sizeof(lenguaweb_t));
}

LENGUAWEB_API uint16_t lenguaweb_version_generacion(void) {
  return 0;
}

}  // extern "C"
