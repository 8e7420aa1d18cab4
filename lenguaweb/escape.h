/* escape.h - writing a text or a value into a page so that it can never change the page's
 * markup. */
#ifndef LENGUAWEB_ESCAPE_H
#define LENGUAWEB_ESCAPE_H

#include <cstddef>
#include <string>
#include <string_view>

/* Texts and values come in, and go out in, the ASCII-compatible encoding the page is put
 * together in (UTF-8, or the page's own) unless said otherwise. '<' and '>' are written "&lt;" and
 * "&gt;", an '&' that begins no character reference (htmlparser::largo_de_referencia) "&amp;" and a
 * no-break space (U+00A0) "&nbsp;"; a reference that the text carries stays as it is. */

/* The reference written for the character at i of a text (en_valor: of an attribute
 * value) that cannot stand as it is, with *largo its length in bytes; "" for any other. */
std::string_view lenguaweb_sustituto_de(std::string_view texto, size_t i, bool en_valor,
                                        size_t *largo);

/* Appends an attribute value to salida so that it stays one value whatever it holds:
 * '"', '\'', '<', '>', a bare '&' and U+00A0 written as references; a value that stood
 * without quotes (entre_comillas false) is put between double quotes, or between single
 * quotes when vedada is '"' (a page that leaves a double quote open, lenguaweb_t). */
void lenguaweb_escribe_valor(std::string &salida, std::string_view valor, bool entre_comillas,
                             char vedada = 0);

/* The quote that puts a value between quotes in a page that leaves vedada open. */
constexpr char lenguaweb_comilla_de_valor(char vedada) {
  return vedada == '"' ? '\'' : '"';
}

/* Writes each vedada quote ('"' or '\'') of salida from desde on as its reference: in a
 * page that leaves that quote open, a browser reads all that follows inside the open
 * value, and a quote written there would end it. 0 changes nothing. */
void lenguaweb_veda_comilla(std::string &salida, size_t desde, char vedada);

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
