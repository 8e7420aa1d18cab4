/* reglas_compartidas.h - the reading of HTML that the lenguaweb command shares with the
 * library: where a tag's name and the tag end, its attributes, element names, inline and
 * phrasing elements, character references. The command and its checks include this
 * header, never reglas_html.h; what is here reads as the library reads, because it is the
 * library's own rules behind these functions. */
#ifndef HTMLPARSER_REGLAS_COMPARTIDAS_H
#define HTMLPARSER_REGLAS_COMPARTIDAS_H

#include <cstddef>
#include <span>
#include <string_view>

#include "htmlparser/referencias.h"

namespace reglas_compartidas {

inline constexpr size_t kNoEsta = std::string_view::npos;

/* A text read tag by tag, which stays valid while its characters are. sin_comilla is
 * what the rules remember of it (for '"' and '\'', where that quote stands nowhere
 * after), so that a walk over one text that reads many tags through the same record
 * never searches its rest again: keep one record per text. */
struct texto_html {
  std::string_view vista;
  mutable size_t sin_comilla[2] = {kNoEsta, kNoEsta};
};

/* Offsets into the tag's text of one attribute. */
struct atributo_leido {
  size_t nombre;       /* the name's first character */
  size_t fin_nombre;   /* one past its last */
  size_t inicio_valor; /* the value's first character (inside its quotes) */
  size_t fin_valor;    /* one past its last, or kNoEsta when its quote never closes */
};

/* Whether the '<' at inicio begins a start or end tag: "<" or "</" and an ASCII letter. */
bool tiene_atributos(const texto_html &t, size_t inicio);

/* Where the name of the tag whose '<' stands at inicio ends: at a blank of a tag, '/',
 * '>' or the end of the text. */
size_t fin_de_nombre_de_tag(const texto_html &t, size_t inicio);

/* Reads the attribute at i (blanks and '/' before it skipped) and moves i past it. false,
 * with i on the tag's '>' or at the end of the text, when no attribute is left. */
bool lee_atributo(const texto_html &t, size_t &i, atributo_leido &a);

/* The offset of the '>' that ends the tag whose '<' stands at inicio (a '>' inside a
 * quoted value does not), or the end of the text. */
size_t busca_cierre(const texto_html &t, size_t inicio);

/* The same for a tag or a comment: a comment ("<!--") ends at the '>' of its "-->". */
size_t cierre_de_tag_o_comentario(const texto_html &t, size_t inicio);

/* A tag's name, given the tag's text after its '<' (without the closing '>'): up to the
 * first space. Other blanks do not end it. */
std::string_view nombre_legado_de_tag(std::string_view tras_el_menor);

/* Names compared with ASCII letter case ignored. */
bool nombre_es(std::string_view nombre, std::string_view buscado);

bool es_letra_ascii(char c);

/* Elements that hold nothing and that no end tag closes (letter case ignored). */
bool es_elemento_vacio(std::string_view nombre);

/* Whether a tag's base name (no '/', letter case ignored) is a phrasing element, which a
 * text of the block segmentation runs through. */
bool es_elemento_de_frase(std::string_view nombre);

/* The inline tags, which stay inside a body text: names in capitals, an end tag's with
 * its '/'. */
std::span<const std::string_view> tags_en_linea();

/* The length of the longest element name the tables know, or of an inline tag's name with
 * its '/': a tag whose name runs longer is none of them. */
size_t largo_del_nombre_mas_largo();

/* The length of the character reference that t begins with, as a browser reads one in an
 * attribute value, or 0 when it begins with none. */
size_t largo_de_referencia(std::string_view t);

}  // namespace reglas_compartidas

#endif
