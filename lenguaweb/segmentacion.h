/* segmentacion.h - cutting a page into verbatim markup pieces and body texts. */
#ifndef LENGUAWEB_SEGMENTACION_H
#define LENGUAWEB_SEGMENTACION_H

#include <string_view>

#include "lenguaweb/documento.h"

/* Cuts the page of the document (documento->pagina.bytes, in documento->pagina.leida_en,
 * NUL bytes and all) into markup pieces, kept as spans in documento->trozos, and texts,
 * normalised for documento->idioma and appended to documento->textos with their kinds,
 * their inline tags shown as code and their origins. The pass begins at desde (past a
 * byte order mark, which stays in the first piece). Pieces and body texts alternate from
 * a first piece, one more piece than body texts; the attribute texts of the tags of a
 * piece follow it in textos. Joined in order, the pieces and the body texts as they
 * stood give back the whole page: when the page ends inside a body text, what follows
 * the text's last run becomes one more piece, followed by the texts of its tags. */
void lenguaweb_divide_pagina(lenguaweb_t *documento, uint32_t desde = 0);

/* The inline tags (bit i for the i-th inline name) that the raw body text shows as
 * code: "&lt;" and an inline name, then a blank, a '/' or the tag's end, as a translation's
 * free tag is read. */
uint32_t lenguaweb_codigo_en_linea(std::string_view texto_crudo);

/* Whether the general rule of writing a text back would not give the raw body text's
 * '<' and '>' as they are: a bare '>' in the text, an entity of them inside an inline
 * tag, or a tag whose end a quote moved past its first '>'. */
bool lenguaweb_signos_cambian(std::string_view texto_crudo);

#endif
