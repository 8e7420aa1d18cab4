// seleccion.h - which pages of a documentation folder are checked, and in which language.
#ifndef SITIOS_SELECCION_H
#define SITIOS_SELECCION_H

#include <cstdint>
#include <string>
#include <vector>

namespace sitios {

struct PaginaDeSitio {
  std::string camino;
  size_t raiz;  // which of the folders given it was found under
  uint32_t idioma;
  std::string clave;  // the name lists give it: its root's last folder and the path under it
};

// The name that lists of known failures give a page: the last folder of raiz and the
// page's path under it ("manual/es/mod/core.html").
std::string clave_de(const std::string &camino, const std::string &raiz);

// Every regular .html file under raiz (symbolic links are neither listed nor followed:
// Apache's manual links untranslated pages to the English ones), sorted by path.
std::vector<std::string> paginas_de(const std::string &raiz);

// The Windows language identifier of a page, from the folder that names its language
// (".../manual/es/..."); English when no folder does.
uint32_t idioma_de(const std::string &camino);

// cuantas pages of paginas, the same ones on every run: the groups of pages that share
// folder and language take turns, and each group gives pages evenly spread over it.
// The result keeps the order of paginas.
std::vector<PaginaDeSitio> muestra_de(const std::vector<PaginaDeSitio> &paginas, size_t cuantas);

// A failure already reported to the library's maintainers, listed so that it is shown
// as known instead of failing the run: the check's name, the page (its clave), and why
// it fails.
struct FalloConocido {
  std::string comprobacion;
  std::string pagina;
  std::string motivo;
  bool visto = false;  // set when a page failed as listed
};

// Reads a list of known failures: one page a line, the three fields separated by tabs
// (the first may name several checks, separated by commas: one entry each); blank lines
// and lines that begin with '#' are skipped. False, with the reason in
// *error, when the file cannot be read or a line lacks a field.
bool conocidos_lee(const std::string &camino, std::vector<FalloConocido> *conocidos,
                   std::string *error);

// Whether the entry is about the page named clave.
bool conocido_es_de(const FalloConocido &conocido, const std::string &clave);

// The entry of conocidos that lists the check comprobacion of the page named clave, or
// null. The pointer stays valid while conocidos is not resized.
FalloConocido *conocido_de(std::vector<FalloConocido> &conocidos, const std::string &clave,
                           const std::string &comprobacion);

}  // namespace sitios

#endif
