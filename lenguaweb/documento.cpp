/* documento.cpp - the page document's record, made empty. */
#include "lenguaweb/documento.h"

#include <new>

lenguaweb_t *lenguaweb_documento_vacio(uint32_t idioma) {
  // Built in place in a counted block, so that its members are made and freed as C++
  // wants.
  auto *documento = new (mem_reserva(sizeof(lenguaweb_t))) lenguaweb_t{};
  documento->textos = lista_cad_crea(0);
  documento->idioma = idioma;
  documento->pagina.codificacion.nombre = "UTF-8";
  return documento;
}
