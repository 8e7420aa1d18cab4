/* atributos.h - the texts that stand inside tags: IMG ALT and META description and keywords. */
#ifndef LENGUAWEB_ATRIBUTOS_H
#define LENGUAWEB_ATRIBUTOS_H

#include <string_view>

#include "htmlparser/reglas_html.h"
#include "lenguaweb/lectura_tags.h"

/* Finds the value of the attribute nombre (written in capitals) in texto. The name
 * counts only where it stands as an attribute: outside double-quoted values, after a
 * blank, and followed by '=', a blank or the end of texto. It is searched in capitals
 * first, and in lower case only when the capitals stand nowhere as an attribute name.
 * The value after it is read by htmlparser::lee_valor. CIERTO with the value in *valor
 * (offsets into texto); FALSO when the attribute or the value's end is not found,
 * leaving *valor as it was. */
bool lenguaweb_busca_valor(std::string_view texto, const char *nombre,
                           htmlparser::valor_html *valor);

/* As lenguaweb_busca_valor, with the value's span [*inicio, *fin). */
booleano lenguaweb_busca_atributo(std::string_view texto, const char *nombre, uint32_t *inicio,
                                  uint32_t *fin);

/* As lenguaweb_busca_atributo, giving a new text with the value (the caller frees it),
 * or null with FALSO. */
booleano lenguaweb_dame_atributo(std::string_view tag, const char *nombre, char **valor);

/* The text that a tag gives for translation: its kind and the span of its value in
 * the tag's text, whether the value stood between double quotes and whether an '='
 * stood before it. */
struct texto_de_tag {
  i_tipo_texto_t tipo;
  uint32_t inicio;
  uint32_t fin;
  bool entre_comillas;
  bool tras_igual;
};

/* CIERTO when the tag gives a text: an IMG tag with an ALT value (kind 4), a META tag
 * whose NAME is DESCRIPTION (1) or KEYWORDS (2), any letter case, with a CONTENT value.
 * Both reading the page and writing it back decide through here, so every text goes
 * back into the very tag it came from. */
bool lenguaweb_texto_de_tag(const tag_leido &tag, texto_de_tag *texto);
bool lenguaweb_procesa_img(std::string_view tag, texto_de_tag *texto);
bool lenguaweb_procesa_meta(std::string_view tag, texto_de_tag *texto);

#endif
