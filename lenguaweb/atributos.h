/* atributos.h - the texts that stand inside tags: IMG ALT and META description and keywords. */
#ifndef LENGUAWEB_ATRIBUTOS_H
#define LENGUAWEB_ATRIBUTOS_H

#include <string_view>

#include "htmlparser/reglas_html.h"
#include "lenguaweb/lectura_tags.h"

/* Finds the value of the attribute nombre (written in capitals) in texto, a tag's text
 * from its '<' (up to its '>' or not). The attributes are read as a browser reads them
 * (htmlparser::lee_atributo): single-quoted values, blanks around the '=' and a '>'
 * inside quotes included. The first attribute named so in capitals is taken; only when
 * there is none, the first in lower case; names in mixed case are not found. CIERTO with
 * the value in *valor (offsets into texto); FALSO when the attribute has no '=', its
 * quote never closes or it is not there, leaving *valor as it was. */
bool lenguaweb_busca_valor(std::string_view texto, const char *nombre,
                           htmlparser::valor_html *valor);

/* As lenguaweb_busca_valor, with the value's span [*inicio, *fin). */
booleano lenguaweb_busca_atributo(std::string_view texto, const char *nombre, uint32_t *inicio,
                                  uint32_t *fin);

/* As lenguaweb_busca_atributo, giving a new text with the value (the caller frees it),
 * or null with FALSO. */
booleano lenguaweb_dame_atributo(std::string_view tag, const char *nombre, char **valor);

/* The text that a tag gives for translation: its kind, the span of its value in the
 * tag's text, and how the value stood there. */
struct texto_de_tag {
  i_tipo_texto_t tipo;
  uint32_t inicio;
  uint32_t fin;
  bool entre_comillas;
  bool tras_igual;
  char comilla;          /* '"', '\'' or 0 */
  bool forma_de_siempre; /* double-quoted, or unquoted before a space; no blank at the '='
                            and no '>' inside */
};

/* How the text's value stands in its tag, as its record keeps it (marca_de_valor). */
inline uint8_t lenguaweb_marcas_de_valor(const texto_de_tag &texto) {
  return static_cast<uint8_t>((texto.tras_igual ? kValorTrasIgual : 0) |
                              (texto.entre_comillas ? kValorEntreComillas : 0));
}

/* CIERTO when the tag gives a text: an IMG tag with an ALT value (kind 4), a META tag
 * whose NAME is DESCRIPTION (1) or KEYWORDS (2), any letter case, with a CONTENT value
 * and no HTTP-EQUIV (whose content is an order to the browser, never words).
 * Both reading the page and writing it back decide through here, so every text goes
 * back into the very tag it came from. */
bool lenguaweb_texto_de_tag(const tag_leido &tag, texto_de_tag *texto);
bool lenguaweb_procesa_img(std::string_view tag, texto_de_tag *texto);
bool lenguaweb_procesa_meta(std::string_view tag, texto_de_tag *texto);
/* CIERTO when a META tag's PROPERTY (else its NAME) is one of the link previews' texts
 * (og:title, og:description, og:image:alt, og:site_name, twitter:title,
 * twitter:description, twitter:image:alt; any letter case), with a CONTENT value and no
 * HTTP-EQUIV: each of its own kind. */
bool lenguaweb_procesa_meta_compartida(std::string_view tag, texto_de_tag *texto);

#endif
