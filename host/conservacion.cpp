// conservacion.cpp - what keeps a translator's work: templates by default, a PO file that
// holds translations updated rather than replaced, a PO file taken only for its own page.
#include "conservacion.h"

#include <vector>

namespace fs = std::filesystem;

fs::path conservacion_ruta_plantilla(const fs::path &pagina) {
  fs::path plantilla = pagina;
  plantilla.replace_extension(".pot");
  return plantilla;
}

std::optional<size_t> conservacion_traducciones(const std::string &ruta, CabeceraPo *cabecera,
                                                std::string *error) {
  std::vector<EntradaPo> entradas;
  if (!po_lee(ruta, cabecera, &entradas, error)) return std::nullopt;
  size_t traducidas = 0;
  for (const EntradaPo &e : entradas) traducidas += !e.traduccion.empty();
  return traducidas;
}

bool conservacion_es_de_pagina(const CabeceraPo &cabecera, const std::string &po,
                               const std::string &pagina, std::string *error) {
  // The header holds the name as a line of text.
  const std::string nombre = po_en_una_linea(fs::path(pagina).filename().string());
  if (cabecera.pagina.empty() || fs::path(cabecera.pagina).filename() == nombre) return true;
  *error = po + ": a PO file of another page: its X-Lenguaweb-Page is '" + cabecera.pagina +
           "', not '" + pagina + "' (--any-page takes it all the same)";
  return false;
}
