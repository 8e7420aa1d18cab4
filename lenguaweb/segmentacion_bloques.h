/* segmentacion_bloques.h - cutting a page into one text per block, phrasing markup inside. */
#ifndef LENGUAWEB_SEGMENTACION_BLOQUES_H
#define LENGUAWEB_SEGMENTACION_BLOQUES_H

#include <string>
#include <unordered_map>
#include <string_view>

#include "lenguaweb/documento.h"
#include "lenguaweb/normalizacion.h"

/* Cuts the page of the document, from desde, into markup pieces and one text per block,
 * with the same invariants as lenguaweb_divide_pagina: pieces and body texts alternate
 * from a first piece, one more piece than body texts, and give back the page's bytes; the
 * attribute texts of a piece's tags (lenguaweb_textos_de_tag) follow it in textos, and
 * those of a body text's own tags follow that text.
 *
 * A body text runs on through the phrasing elements (htmlparser/elementos.tsv), whose
 * tags stay in it as the page has them, attributes and all; any other tag, a comment,
 * SCRIPT and STYLE end it. It begins at its first character that is not a blank, or at
 * the phrasing start tag before it that opened no element closed before that character;
 * it ends at its last character, followed by the phrasing end tags that close elements it
 * opened before that character and by a void phrasing tag right after it. Blanks around a
 * text stay in the pieces; a block with no visible character gives no text. The content
 * of XMP, TEXTAREA and PLAINTEXT is a text as it stands. Every text is marked to go back
 * as the page's bytes while its host gives it back unchanged. */
void lenguaweb_divide_bloques(lenguaweb_t *documento, uint32_t desde = 0);

/* How lenguaweb_normaliza_bloque reads a stretch. */
enum class lectura_de_bloque {
  texto,         /* blanks collapsed into one space; tags kept as they stand */
  preformateado, /* blanks kept; tags kept as they stand */
  valor          /* an attribute value: blanks collapsed and dropped at its ends, no tag in it */
};

/* Character references decoded into the code page of one language: what each character
 * (one or two code points) becomes, "" where the code page lacks it, made once met and
 * held while the pass lasts. */
struct referencias_de_bloque {
  std::unordered_map<uint64_t, std::string> vistas;
  std::string convertido; /* the stretch in the code page, its room kept between stretches */
};

/* Into salida (what it held replaced): the stretch of a page (in entidades.codificacion) in the
 * code page of entidades.idioma, read as lectura says. A '<' that begins no tag, a '>' outside a
 * tag and an '&' that begins no character reference are written "&lt;", "&gt;" and "&amp;"; the
 * references of '<', '>' and '&' and of controls stay as they are; any other reference
 * (htmlparser::lee_referencia) that the code page can hold is decoded, else kept. */
void lenguaweb_normaliza_bloque(std::string_view texto, const entidades_idioma &entidades,
                                referencias_de_bloque &referencias, lectura_de_bloque lectura,
                                std::string &salida);

#endif
