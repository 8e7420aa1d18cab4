/* documento.h - the page document record and what every file of the module shares. */
#ifndef LENGUAWEB_DOCUMENTO_H
#define LENGUAWEB_DOCUMENTO_H

#include <map>
#include <vector>

#include "lenguaweb.h"

#define LENGUAWEB_MODULO "lenguaweb (LENGUAWEB.DLL)"

/* Reports a broken condition of this module: the condition's own source text. */
#define LENGUAWEB_INFORMA(condicion) informa_fallo_interno((condicion), LENGUAWEB_MODULO, __LINE__)

/* The page document. Invariants once lenguaweb_crea returns: textos and
 * tipos_de_textos have one entry per text; pieces and body texts alternate from
 * piece 0; the attribute texts of piece k come in textos right before the body text
 * that follows piece k. */
struct lenguaweb {
  lista_cad_t *textos;          /* texts to translate, in the code page of the language */
  lista_num_t *tipos_de_textos; /* one i_tipo_texto_t per text */
  lista_cad_t *trozos_html;     /* the page's markup pieces, byte for byte */
  /* One number per text: the inline tags (bit i for the i-th inline name) that the
   * page showed inside the body text as code ("&lt;B&gt;") and never as markup, so
   * that writing the text back keeps showing them instead of making them live. */
  lista_num_t *codigo_en_linea;
  /* For the few body texts that the general rule of writing would not give back as the
   * page had them (an inline tag shown both as markup and as code, a '>' standing bare
   * in the text, an entity inside an inline tag): for each '<' and '>' of the text, in
   * order, whether the page had the character itself rather than its entity. Written
   * back unchanged, such a text goes out exactly so. Null when there are none. */
  std::map<uint32_t, std::vector<bool>> *signos_crudos;
};

/* New record that takes over the three lists (the caller's variables are left null). */
lenguaweb_t *lenguaweb_construye(lista_cad_t **textos, lista_num_t **tipos_de_textos,
                                 lista_cad_t **trozos_html, lista_num_t **codigo_en_linea);

#endif
