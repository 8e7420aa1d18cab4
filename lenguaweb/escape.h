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

/* Appends to salida a translated text, still in the code page of the language it came
 * in, with every '&' that begins no character reference written "&amp;" (a reference it
 * carries, "&eacute;" or "&#233;", stays as it is) and, when espacio_duro_de_un_byte (the
 * code page writes a no-break space as the byte 0xA0, as the single-byte Windows pages
 * do), each such byte written as espacio_duro ("&nbsp;", or "&#160;" in a page read as
 * XML). Only translations go through here: a page's own text went back as it stood. */
void lenguaweb_escapa_traduccion(std::string &salida, std::string_view texto,
                                 bool espacio_duro_de_un_byte, std::string_view espacio_duro);

/* Appends a text of an XMP or PLAINTEXT element, raw text where nothing is markup and no
 * character reference counts: as it is, but that a '<' that would begin the element's
 * end tag ("</" and elemento, letter case ignored) is written "&lt;", the one way to
 * keep the element from ending there (a reader then sees "&lt;"). An empty elemento
 * (PLAINTEXT, which nothing ends) writes the text as it is. */
void lenguaweb_escribe_texto_crudo(std::string &salida, std::string_view texto,
                                   std::string_view elemento);

#endif
