/* elementos.h - what this library knows of each HTML element, and which attributes a reader
 * sees as text: one table each, made from htmlparser/elementos.tsv and atributos.tsv. */
#ifndef HTMLPARSER_ELEMENTOS_H
#define HTMLPARSER_ELEMENTOS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "lenguaweb.h"

namespace htmlparser {

/* The element whose content is not read as markup. The content of SCRIPT, STYLE, IFRAME,
 * NOEMBED, NOFRAMES and NOSCRIPT (read as a browser that runs scripts reads it) is code:
 * never a text, and no tag in it is read; the content of XMP and PLAINTEXT (raw text) and of
 * TEXTAREA (text whose character references count) is one text, '<' and all. PLAINTEXT never
 * ends. TITLE is read as it always was, its tags and all; but a browser reads no tag in it up
 * to its end tag, so no XMP, TEXTAREA or PLAINTEXT opens inside it (which would make the
 * page's markup a text), and no tag there runs past that end tag or leaves a quote open. */
enum class elemento_crudo : uint8_t {
  ninguno,
  script,
  style,
  xmp,
  textarea,
  plaintext,
  titulo,
  iframe,
  noembed,
  noframes,
  noscript
};

/* The classic segmentation's inline tags: inside a body text they do not end it, and a text
 * written back keeps them as markup. Each start or end tag has a bit of its own in a text's
 * set of inline tags. */
inline constexpr size_t kNumTagsEnLinea = 13;
/* The phrasing elements: a body text of the block segmentation runs on through them, their
 * start and end tags kept inside the text; any other tag ends it. */
inline constexpr size_t kNumElementosDeFrase = 40;

/* One element, as a line of htmlparser/elementos.tsv says. */
struct elemento_html {
  std::string_view nombre;      /* in capitals */
  int8_t bit_en_linea = -1;     /* its start tag's bit among the inline tags, or -1 */
  int8_t bit_fin_en_linea = -1; /* its end tag's, or -1 */
  int8_t frase = -1;            /* its place among the phrasing elements, or -1 */
  bool vacio = false;           /* it holds nothing and no end tag closes it */
  elemento_crudo crudo = elemento_crudo::ninguno;
  bool preformateado = false;               /* PRE, LISTING: the blanks of its content are kept */
  bool apertura_sale_de_extranjero = false; /* inside SVG or MathML, off their HTML integration */
  bool cierre_sale_de_extranjero = false;   /* points, its start (end) tag goes back to HTML */
  bool atributos_propios = false; /* it gives texts by attributes that other elements lack */
};

/* The element of a name (no '<' nor '/', letter case ignored), or null for one the table
 * lacks. Asked of every tag read: only the names of the same first letter and length are
 * compared. */
const elemento_html *busca_elemento(std::string_view nombre);

/* Every element of the table, sorted by name. */
std::span<const elemento_html> lista_de_elementos();

/* The phrasing element of a name, or null. */
inline const elemento_html *busca_elemento_de_frase(std::string_view nombre) {
  const elemento_html *e = busca_elemento(nombre);
  return e != nullptr && e->frase >= 0 ? e : nullptr;
}

/* Whether an element holds nothing and no end tag closes it (letter case ignored). */
inline bool es_elemento_vacio(std::string_view nombre) {
  const elemento_html *e = busca_elemento(nombre);
  return e != nullptr && e->vacio;
}

/* The element's name in capitals ("SCRIPT" ...), "" for ninguno. */
std::string_view nombre_de_elemento(elemento_crudo crudo);

/* The inline tags' names, each at the place of its bit: "U", "/U", ... */
extern const std::array<std::string_view, kNumTagsEnLinea> kTagsEnLinea;

/* The bit of an inline tag's name ("B", "/B"; letter case ignored); -1 for any other name. */
int bit_de_tag_en_linea(std::string_view nombre);

/* One attribute whose value a reader sees as text, as a line of htmlparser/atributos.tsv says:
 * attribute nombre of elemento ("*" for any element) when its attribute clave (if any) holds
 * valor, letter case ignored. */
struct atributo_traducible {
  std::string_view elemento; /* in capitals, or "*" */
  std::string_view nombre;   /* in capitals */
  std::string_view clave;    /* in capitals: INPUT's TYPE, META's NAME or PROPERTY; or "" */
  std::string_view valor;    /* in lower case */
  i_tipo_texto_t tipo;
};

/* Every translatable attribute, in the order of the file. */
std::span<const atributo_traducible> lista_de_atributos_traducibles();

}  // namespace htmlparser

#endif
