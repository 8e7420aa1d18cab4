/* documento.h - the page document record and what every file of the module shares. */
#ifndef LENGUAWEB_DOCUMENTO_H
#define LENGUAWEB_DOCUMENTO_H

#include <functional>
#include <map>
#include <vector>

#include "lenguaweb.h"
#include "privado/informe.h"
#include "privado/propiedad.h"

/* For each '<' and '>' of a body text, in order: whether the page had the character
 * itself rather than its entity. */
using signos_de_texto = std::vector<bool, asignador_contado<bool>>;
/* The texts that keep their signs, by index in textos. */
using signos_por_texto = std::map<uint32_t, signos_de_texto, std::less<uint32_t>,
                                  asignador_contado<std::pair<const uint32_t, signos_de_texto>>>;

/* The page document, made by lenguaweb_crea and freed by lenguaweb_destruye, both in the
 * companion's counted memory. Invariants once lenguaweb_crea returns: textos and
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
   * in the text, an entity inside an inline tag): their signs. Written back unchanged,
   * such a text goes out exactly so. Empty when there are none. */
  signos_por_texto signos_crudos;
};

#endif
