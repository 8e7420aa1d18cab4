/* origenes.h - telling a host where each text of a page comes from. */
#ifndef LENGUAWEB_ORIGENES_H
#define LENGUAWEB_ORIGENES_H

#include "lenguaweb/documento.h"

/* Conditions reported about one text while the page is read. */
inline constexpr const char *kInformeNul = "memchr(texto, '\\0', longitud) == NULL";
inline constexpr const char *kInformeAmpersand = "strchr(texto, '&')==NULL";

/* Holds back a report about the text whose origin begins at posicion of the page, so that
 * a host hears it after that text's origin (lenguaweb_informa_origenes makes it). */
inline void lenguaweb_aplaza_informe(lenguaweb_t *documento, uint32_t posicion,
                                     const char *condicion, uint32_t linea = __builtin_LINE()) {
  documento->informes_aplazados.push_back({posicion, condicion, linea});
}

/* Tells the calling thread's receptor of origins (companion/opciones.h) the origin of
 * every text of the document, once each, in index order: the line on which it begins
 * (from 1), the element that holds it and, for an attribute text, the attribute, both in
 * lower case. Each report held back about a text is made right after its origin is told
 * (without a receptor, all of them, in the order they were made); the list is emptied. A body
 * text's element is the last start tag before it that does not run on through texts (an inline tag
 * in SEGMENTACION_CLASICA, a phrasing one in SEGMENTACION_BLOQUES); "" when there is none. Without
 * a receptor nothing is worked out. One forward walk over the page. */
void lenguaweb_informa_origenes(lenguaweb_t *documento);

#endif
