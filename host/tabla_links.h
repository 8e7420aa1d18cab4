// tabla_links.h - the link table file: the A and IMG link tables of a site in one file.
#ifndef HOST_TABLA_LINKS_H
#define HOST_TABLA_LINKS_H

#include <cstdio>
#include <string>

#include "lenguaweb.h"

// The two link tables, A HREF targets and IMG SRC targets. The record lists and every
// record in them belong to this object: tablas_destruye frees them.
struct TablasLinks {
  lista_reg_t *a = nullptr;
  lista_reg_t *img = nullptr;
};

// The four texts of a record, read back from its saved form (records are opaque).
struct CamposRegistro {
  std::string id, dominio, ruta, nombre_fichero;
};

// Two new empty tables.
TablasLinks tablas_crea();

// Frees both lists and every record in them, and leaves the tables empty (null lists).
void tablas_destruye(TablasLinks *tablas);

// Reads the table file at ruta into *tablas (new tables; the caller frees them with
// tablas_destruye). A missing file gives two empty tables. A file that cannot be read,
// or that is not a whole table file (another file, a damaged or truncated one, bytes
// after its end) is refused: returns false with "<file>: <reason>" in *error and
// leaves *tablas empty.
bool tablas_carga(const std::string &ruta, TablasLinks *tablas, std::string *error);

// Writes both tables to ruta, whole or not at all (the file keeps its old contents on
// failure). The tables are only read. On failure returns false with the reason in *error.
bool tablas_graba(const std::string &ruta, const TablasLinks &tablas, std::string *error);

// The four texts of a record (only read).
CamposRegistro tablas_campos(const tablalink_t *registro);

// Prints the records of the table file at ruta on salida, one a line: the table ("A"
// or "IMG"), ID, dominio, ruta and nombre_fichero, separated by tabs, after a heading
// line. Fails as tablas_carga, and also for a missing file.
bool tablas_lista(const std::string &ruta, FILE *salida, std::string *error);

#endif
