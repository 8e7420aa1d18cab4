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
};

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

}  // namespace sitios

#endif
