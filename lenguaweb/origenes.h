/* origenes.h - telling a host where each text of a page comes from. */
#ifndef LENGUAWEB_ORIGENES_H
#define LENGUAWEB_ORIGENES_H

#include "lenguaweb/documento.h"

/* Tells the calling thread's receptor of origins (companion/opciones.h) the origin of
 * every text of the document, once each, in index order: the line on which it begins
 * (from 1), the element that holds it and, for an attribute text, the attribute, both in
 * lower case. A body text's element is the last start tag before it that does not run on
 * through texts (an inline tag in SEGMENTACION_CLASICA, a phrasing one in
 * SEGMENTACION_BLOQUES); "" when there is none. Without a receptor nothing is worked out.
 * One forward walk over the page. */
void lenguaweb_informa_origenes(const lenguaweb_t *documento);

#endif
