// tabla_links.h - the link table file: the A and IMG link tables of a site in one file.
#ifndef HOST_TABLA_LINKS_H
#define HOST_TABLA_LINKS_H

#include <string>

#include "lenguaweb.h"

struct Salida;

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

// Writes the records of the table file at ruta to salida, one a line: the table ("A"
// or "IMG"), ID, dominio, ruta and nombre_fichero, separated by tabs, after a heading
// line. Fails as tablas_carga, and also for a missing file.
bool tablas_lista(const std::string &ruta, Salida *salida, std::string *error);

// The lock of a table file that runs which add records to it share: each reads, adds
// to and writes the table while it holds the lock, and the others wait, so that no run
// drops another's records. The lock is flock(2) on "<table>.lock" beside the table's real
// path (symbolic links and ".." resolved), so that every name of one table takes one
// lock; the file exists only while a run holds it: the table itself cannot carry the
// lock, for every save replaces it with a new file.
struct CerrojoTabla {
  int descriptor = -1;
  std::string ruta;  // of the lock file
  CerrojoTabla() = default;
  CerrojoTabla(const CerrojoTabla &) = delete;
  CerrojoTabla &operator=(const CerrojoTabla &) = delete;
  ~CerrojoTabla();
};

// Waits for the lock of the table file at tabla and takes it. On failure (the lock file
// cannot be made) returns false with the reason in *error.
bool tablas_bloquea(const std::string &tabla, CerrojoTabla *cerrojo, std::string *error);

#endif
