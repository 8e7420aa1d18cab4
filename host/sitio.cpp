// sitio.cpp - a whole site through the command: the PO files whose pages are gone, the pages
// without a PO file, and the files that are not pages.
#include "sitio.h"

#include <algorithm>

#include "carpetas.h"

namespace fs = std::filesystem;

std::vector<fs::path> sitio_po_sin_pagina(const fs::path &carpeta_po,
                                          const std::unordered_set<std::string> &propios) {
  std::vector<fs::path> huerfanos;
  std::vector<std::string> ilegibles;  // a folder that cannot be read holds none to name
  std::string error;
  carpetas_recorre(
      carpeta_po, {},
      [&](const fs::path &ruta) {
        if (carpetas_extension(ruta) != ".po") return;
        fs::path relativa = ruta.lexically_relative(carpeta_po);
        if (propios.count(relativa.string()) == 0) huerfanos.push_back(std::move(relativa));
      },
      &ilegibles, &error);
  std::sort(huerfanos.begin(), huerfanos.end());
  return huerfanos;
}

size_t sitio_copia_recursos(const fs::path &origen, const fs::path &destino,
                            const fs::path &excluida, std::vector<std::string> *fallos) {
  size_t puestos = 0;
  std::vector<std::string> ilegibles;  // named already by the walk that found the pages
  std::string error;
  const auto pon = [&](const fs::path &ruta) {
    if (carpetas_es_pagina(ruta)) return;
    const fs::path salida = destino / ruta.lexically_relative(origen);
    std::error_code ec;
    if (fs::exists(salida, ec) && fs::equivalent(ruta, salida, ec)) return;
    fs::create_directories(salida.parent_path(), ec);
    ec.clear();
    fs::remove(salida, ec);  // an older copy: the link or the copy takes its place
    ec.clear();
    fs::create_hard_link(ruta, salida, ec);
    if (ec) {
      ec.clear();
      fs::copy_file(ruta, salida, fs::copy_options::overwrite_existing, ec);
    }
    if (ec)
      fallos->push_back("cannot copy '" + ruta.string() + "' to '" + salida.string() +
                        "': " + ec.message());
    else
      ++puestos;
  };
  if (!carpetas_recorre(origen, excluida, pon, &ilegibles, &error)) fallos->push_back(error);
  return puestos;
}

bool sitio_copia_pagina(const std::string &pagina, const std::string &salida, std::string *error) {
  std::error_code ec;
  fs::copy_file(pagina, salida, fs::copy_options::overwrite_existing, ec);
  if (!ec) return true;
  *error = "cannot copy '" + pagina + "' to '" + salida + "': " + ec.message();
  return false;
}
