/* identificadores.h - the texts handed out to translate and the identifiers that say what each is.
 */
#ifndef LENGUAWEB_IDENTIFICADORES_H
#define LENGUAWEB_IDENTIFICADORES_H

#include "lenguaweb/documento.h"

/* New list of one identifier per text of the document, by its record's kind: "TITULO",
 * "DESCRIPCION", "PALABRA_CLAVE", or "TEXTO_<i>" / "ALTERNATIVO_IMAGEN_<i>" ... with the
 * text's index i (kNombresDeTipos). A kind outside the list is reported ("") and gets an
 * empty identifier. */
lista_cad_t *lenguaweb_crea_ids(const lenguaweb_t *documento);

#endif
