/* escape.h - writing a text into a page so that it can never change the page's markup. */
#ifndef LENGUAWEB_ESCAPE_H
#define LENGUAWEB_ESCAPE_H

#include <string>
#include <string_view>

#include "lenguaweb/documento.h"

/* When signos is given (a page's own text, written back unchanged), the k-th '<' or '>'
 * of the text is written as the character itself when signos[k] says so, else as its
 * entity: exactly as the page had it.
 *
 * Appends a body text to salida. A '<' stays markup only where it begins one of the
 * inline tags (its name read as page segmentation reads tag names) that the page did
 * not show as code in this text (bit i of codigo for the i-th inline name), and so does
 * that tag's closing '>'; every other '<' and '>' is written "&lt;" and "&gt;". */
void lenguaweb_escribe_texto(std::string &salida, std::string_view texto, uint32_t codigo = 0,
                             const signos_de_texto *signos = nullptr, bool espacios_duros = false);

/* With espacios_duros, a run of k spaces (k of 2 or more, which only entities or very
 * long runs of blanks leave in a text) is written as k - 1 "&nbsp;" and a space, so
 * that reading the page again gives back the same text; inside a tag written as markup,
 * where an entity would change the tag, as one space.
 *
 * Appends an attribute value to salida, with '"', '<' and '>' written "&quot;", "&lt;"
 * and "&gt;". A value that stood without quotes is written between double quotes when
 * siempre_comillas is set, or when it holds a character that would end or change an
 * unquoted value. */
void lenguaweb_escribe_valor(std::string &salida, std::string_view valor, bool entre_comillas,
                             bool siempre_comillas);

/* Appends a link value to salida so that it cannot change the tag around it: between
 * double quotes '"' and '>' are written "&quot;" and "&gt;"; a value that stood without
 * quotes is put between double quotes (and escaped so) only when it holds a blank or a
 * '>' or is empty. Anything else goes as it is, so that a link that came from the page
 * goes back byte for byte. */
void lenguaweb_escribe_enlace(std::string &salida, std::string_view enlace, bool entre_comillas);

#endif
