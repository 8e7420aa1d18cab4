/* segmentacion.h - cutting a page into verbatim markup pieces and body texts. */
#ifndef LENGUAWEB_SEGMENTACION_H
#define LENGUAWEB_SEGMENTACION_H

#include <string_view>

#include "lenguaweb/documento.h"

/* Cuts pagina (UTF-8; it ends at its first NUL, if any) into markup pieces, appended
 * to trozos_html byte for byte, and texts, normalised for idioma and appended to
 * textos with their kinds in tipos_de_textos. Pieces and body texts alternate from a
 * first piece; the attribute texts of the tags of a piece follow it in textos. Joined
 * in order, the pieces and the body texts as they stood give back the whole page:
 * when the page ends inside a body text, what follows the text's last run becomes one
 * more piece, followed by the texts of its tags. */
void lenguaweb_divide_pagina(std::string_view pagina, lista_cad_t *textos,
                             lista_num_t *tipos_de_textos, lista_cad_t *trozos_html,
                             uint32_t idioma, lista_num_t *codigo_en_linea = nullptr,
                             signos_por_texto *signos_crudos = nullptr);

/* The inline tags (bit i for the i-th inline name) that the raw body text shows as
 * code: "&lt;" and an inline name, ended where the decoded text's tag name would end. */
uint32_t lenguaweb_codigo_en_linea(std::string_view texto_crudo);

/* Fills signos (emptied first) with, for each '<' and '>' that the normalised text will
 * hold, in order: whether the raw body text has the character itself rather than "&lt;"
 * or "&gt;". Sets *necesarios when the general rule of writing a text would not give
 * these back as they are: a bare '>' in the text, or an entity of them inside an inline
 * tag. */
void lenguaweb_signos_crudos(std::string_view texto_crudo, signos_de_texto &signos,
                             bool *necesarios);

#endif
