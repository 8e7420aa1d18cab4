/* identificadores.h - the texts handed out to translate and the identifiers that say what each is.
 */
#ifndef LENGUAWEB_IDENTIFICADORES_H
#define LENGUAWEB_IDENTIFICADORES_H

#include "lenguaweb/documento.h"

/* New list of one identifier per kind of tipos_de_textos (only read): "TITULO",
 * "DESCRIPCION", "PALABRA_CLAVE", or "TEXTO_<i>" / "ALTERNATIVO_IMAGEN_<i>" with the
 * text's index i. A kind outside 0..4 is reported ("") and gets an empty identifier. */
lista_cad_t *lenguaweb_crea_ids(const lista_num_t *tipos_de_textos);

#endif
