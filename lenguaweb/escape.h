/* escape.h - writing a text into a page so that it can never change the page's markup. */
#ifndef LENGUAWEB_ESCAPE_H
#define LENGUAWEB_ESCAPE_H

#include <functional>
#include <string>
#include <string_view>

#include "lenguaweb/documento.h"

/* Texts and values come in UTF-8 and go out in UTF-8. Outside the markup that the rules
 * below let through, '<' and '>' are written "&lt;" and "&gt;", an '&' that begins no
 * character reference (htmlparser::largo_de_referencia) "&amp;" and a no-break space
 * (U+00A0) "&nbsp;"; a reference that the text carries stays as it is. */

/* The text of the page that a translation stands for, which says what of the
 * translation may be markup. Views borrowed for the call. */
struct texto_de_origen {
  std::string_view texto;                  /* the page's text, UTF-8; "" when it holds no '<' */
  uint32_t codigo = 0;                     /* inline tags shown in it as code only (bit per
                                              htmlparser::kTagsEnLinea) */
  const signos_de_texto *signos = nullptr; /* its '<' and '>' as the page had them, or null */
  bool es_la_traduccion = false;           /* the translation is this very text */
  bool solo_en_linea = true;               /* only inline tags stand in it as markup, as page
                                              segmentation cuts texts; else every tag does */
  std::string_view crudo = {};             /* with en_extranjero, the page's own bytes of the
                                              text when texto is a reading of them (blanks
                                              and references read), or "" */
  bool en_extranjero = false;              /* it begins inside SVG or MathML: the translation
                                              adds no tag, and each tag of the page's text
                                              that ends SVG or MathML there and that the
                                              translation drops is written at its end */
};

/* What makes two tags (each from its '<' to its '>') the same tag for a browser: the
 * element's name and each attribute's name in lower case, attributes in name order (the
 * first of a repeated name, as a browser keeps it), each value without its quotes and
 * with its character references read (into UTF-8: the page may write "&#12501;" where a
 * translation, through a code page that lacks the character, brings it back as a
 * reference, or the other way round). A translation that quotes, orders or cases a tag
 * of the page otherwise carries the same tag. */
std::string lenguaweb_forma_de_tag(std::string_view tag);

/* Appends a body text to salida. A tag of the text (from a '<' to the '>' that
 * htmlparser::busca_cierre gives, holding no other '<' unless it is byte for byte a tag of
 * the page's text that holds one, and read by a browser as that one tag:
 * htmlparser::se_lee_como_un_tag) is written as markup when it is
 *  - a tag that the page had as markup in the text it stands for (letter case ignored;
 *    each of them once; written as the page had it), or
 *  - an inline tag without attributes ("<B>", "</EM >", "<br>") whose name the page did
 *    not show as code in that text;
 * and, for an end tag, when it closes an element that the text opened or one that the
 * page's text closed without opening it. Any other '<' is written "&lt;". At the end of
 * the text, each element it opened and left open beyond those the page's text left open
 * is closed, innermost first, and each end tag of the page's text that closed an element
 * from before the text and that the translation dropped is written.
 *
 * When the translation is the page's text and its signs are known, each '<' and '>'
 * goes out as the page had it instead.
 *
 * With para_releer (the page is written to be read again by this library, with its own
 * texts), '&' and no-break spaces stay as they are, and a run of k spaces (k of 2 or
 * more, which only entities or very long runs of blanks leave in a text) is written as
 * k - 1 "&nbsp;" and a space, so that reading the page again gives back the same text;
 * inside a tag written as markup, where an entity would change the tag, as one space.
 *
 * Nothing appended is read again: vacia, when given, is called as the text is written and
 * may write out and empty salida. */
void lenguaweb_escribe_texto(std::string &salida, std::string_view texto,
                             const texto_de_origen &origen, bool para_releer = false,
                             const std::function<void()> *vacia = nullptr);

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

/* Whether a browser that follows the link would run it: after its character references
 * are decoded, the blanks and control characters at its ends dropped and tabs and line
 * breaks anywhere dropped, as a browser reads a URL, its scheme is "javascript",
 * "vbscript" or "data" (letter case ignored). Such a link never moves between a page and
 * a link table. */
bool lenguaweb_es_enlace_activo(std::string_view enlace);

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
