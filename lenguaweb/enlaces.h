/* enlaces.h - link values turned into link references and back, through the host's link tables. */
#ifndef LENGUAWEB_ENLACES_H
#define LENGUAWEB_ENLACES_H

#include <memory>
#include <string>
#include <string_view>

#include "lenguaweb/documento.h"

/* An index over one link table, made once per call: the first record in table order for
 * each identifier and for each (dominio, ruta, nombre_fichero). It catches up with
 * records appended to the table since it last looked, whoever appended them. */
struct indice_enlaces;

/* The link tables of one walk over a page and their indexes. */
struct enlaces_pasada {
  booleano preprocesar_links = FALSO;
  lista_reg_t *tabla_a_registro = nullptr;
  const lista_reg_t *tabla_a_consulta = nullptr;
  lista_reg_t *tabla_img_registro = nullptr;
  const lista_reg_t *tabla_img_consulta = nullptr;
  std::unique_ptr<indice_enlaces> indice_a;
  std::unique_ptr<indice_enlaces> indice_img;
  /* The quote that the page leaves open (lenguaweb_t), or 0: no value written may bring
   * it. Known from the document, or from the first tag the walk reads that holds it. */
  char comilla_vedada = 0;

  enlaces_pasada();
  ~enlaces_pasada();
};

/* Treats the value of an A HREF (es_img false) or IMG SRC attribute and gives in *nuevo
 * what is written in its place: between quotes when it stood without quotes
 * (entre_comillas false; lenguaweb_comilla_de_valor), and escaped
 * (lenguaweb_escribe_valor) when it comes from a table. Preprocessing, a value that is
 * not empty, begins with neither "@" nor "#", is no active link
 * (lenguaweb_es_enlace_activo) and holds no quote, '<' or '>' is registered, and CIERTO is
 * returned with its link reference, when that holds none of them either and gives the
 * value back byte for byte (lenguaweb_registra_link). Rebuilding, a
 * value that begins with "@" is resolved: CIERTO with the link, or FALSO with a report
 * when no record has that identifier ("enlace != NULL") or when the link is an active one
 * ("!lenguaweb_es_enlace_activo(enlace)"). Any other value: FALSO, and the value stays as
 * it is. */
bool lenguaweb_trata_link(enlaces_pasada &enlaces, bool es_img, std::string_view valor,
                          bool entre_comillas, std::string *nuevo);

/* New text: the link reference of valor, after making sure that tabla holds a record
 * for its target. When a record with the same three parts exists, the reference names
 * that record's own identifier; otherwise a new record, which belongs to the table's
 * owner, is appended, under the identifier joined from the parts or, when a record of
 * other parts already has that one, under the first free "~2", "~3" ... after it. Null,
 * and nothing appended, when the reference would not give valor back byte for byte: the
 * parts rebuild other bytes (lenguaweb_escribe_valor included), or the matching record
 * is not the first of its identifier. */
char *lenguaweb_registra_link(indice_enlaces &indice, lista_reg_t *tabla, std::string_view valor);

/* New text: the link rebuilt from the first record whose identifier is valor without
 * its leading "@"; null, reported as "enlace != NULL", when there is none. */
char *lenguaweb_resuelve_link(indice_enlaces &indice, const lista_reg_t *tabla,
                              std::string_view valor);

#endif
