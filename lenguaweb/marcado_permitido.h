/* marcado_permitido.h - which tags of a translation may be written as markup: those the
 * page's text had, and inline tags without attributes. */
#ifndef LENGUAWEB_MARCADO_PERMITIDO_H
#define LENGUAWEB_MARCADO_PERMITIDO_H

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "lenguaweb/documento.h"

/* Texts come in, and go out in, the ASCII-compatible encoding the page is put together in
 * (UTF-8, or the page's own). Outside the markup that the rules below let through, a text
 * is escaped as escape.h says: '<' and '>' written "&lt;" and "&gt;", an '&' that begins
 * no character reference (htmlparser::largo_de_referencia) "&amp;" and a no-break space
 * (U+00A0) "&nbsp;"; a reference that the text carries stays as it is. */

/* The text of the page that a translation stands for, which says what of the
 * translation may be markup. Views borrowed for the call. */
struct texto_de_origen {
  std::string_view texto;                  /* the page's text, in the same encoding; "" when it
                                              holds no '<' */
  uint32_t codigo = 0;                     /* inline tags shown in it as code only (bit per
                                              htmlparser::kTagsEnLinea) */
  const signos_de_texto *signos = nullptr; /* its '<' and '>' as the page had them, or null */
  bool es_la_traduccion = false;           /* the translation is this very text */
  bool solo_en_linea = true;               /* only inline tags stand in it as markup, as page
                                              segmentation cuts texts; else every tag does */
  std::string_view crudo = {};             /* the page's own bytes of the text when texto is
                                              a reading of them (blanks and references
                                              read), or "" */
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
 * from before the text and that the translation dropped is written, and then each start
 * tag of an element that the page's text left open and the translation did not, as the
 * page wrote it, for the page's own end tag after the text to close.
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

#endif
