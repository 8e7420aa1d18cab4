/* no_traducir.h - what a page marks as not to be translated: an element with
 * translate="no" or the class notranslate, and what it holds. */
#ifndef LENGUAWEB_NO_TRADUCIR_H
#define LENGUAWEB_NO_TRADUCIR_H

#include <string_view>

#include "privado/pila_de_elementos.h"

/* The elements open that said translate="no" or "yes" (or the class notranslate), each
 * with whether it is translated. */
using estado_de_traduccion = pila_de_elementos<bool>;

/* Whether what stands where the state is read is to be translated. */
bool lenguaweb_se_traduce(const estado_de_traduccion &estado);

/* Reads one tag (its text, from its '<') into the state and returns whether the tag's
 * own attributes are to be translated. A start tag's translate attribute decides ("no",
 * letter case ignored, says no; any other value, yes), else the class notranslate says
 * no, else the element follows the one around it; an end tag closes the last element of
 * its name that the state holds, and those inside it. */
bool lenguaweb_lee_tag_de_traduccion(estado_de_traduccion &estado, std::string_view tag);

#endif
