/* reconstruccion.h - writing a page document back to an HTML file, texts and links in place. */
#ifndef LENGUAWEB_RECONSTRUCCION_H
#define LENGUAWEB_RECONSTRUCCION_H

#include <string>
#include <string_view>

#include "lenguaweb/documento.h"
#include "lenguaweb/enlaces.h"

/* The walk shared by the rebuild and link preprocessing. For each piece, in order: its
 * A HREF and IMG SRC values treated (lenguaweb_trata_link), then, when not
 * preprocessing, the piece's translated attribute texts written into the tags they
 * came from; the piece is written, then its body text, converted from the code page
 * of idioma to UTF-8 and escaped. The walk stops at the shorter of the document's
 * kinds and textos_traducidos. The two tables named registro receive new records while
 * preprocessing; the two named consulta are only read while rebuilding. CIERTO when
 * the whole page was written to nombre_fichero_html; a failed write leaves no
 * half-written file. */
booleano lenguaweb_graba_fichero_html(const lenguaweb_t *lenguaweb,
                                      const lista_cad_t *textos_traducidos,
                                      booleano preprocesar_links, lista_reg_t *tabla_a_registro,
                                      const lista_reg_t *tabla_a_consulta,
                                      lista_reg_t *tabla_img_registro,
                                      const lista_reg_t *tabla_img_consulta,
                                      const char *nombre_fichero_html, uint32_t idioma);

/* An attribute text waiting for its tag in the piece being written. */
struct texto_para_atributo {
  i_tipo_texto_t tipo;
  const char *texto; /* borrowed, in the code page of the walk's language */
};

/* Appends to salida the piece with its link values treated and the attribute texts,
 * in order, each written into the next tag of the piece that gives a text of its kind
 * (read as page segmentation reads it). A text for which no such tag is left is
 * reported as "encontrado == CIERTO" and skipped. */
void lenguaweb_escribe_trozo(std::string &salida, std::string_view trozo, enlaces_pasada &enlaces,
                             const texto_para_atributo *textos, size_t num_textos, uint32_t idioma);

#endif
