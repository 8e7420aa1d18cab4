// conservacion.cpp - what keeps a translator's work: templates by default, a PO file that
// holds translations updated rather than replaced, a PO file taken only for its own page.
#include "conservacion.h"

#include <vector>

#include "informes.h"

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

AntesDeExtraer conservacion_antes_de_extraer(const std::string &po, const std::string &pagina,
                                             bool forzar, std::string *error) {
  std::error_code ec;
  if (forzar || po == "-" || !fs::is_regular_file(po, ec)) return AntesDeExtraer::escribe;
  CabeceraPo cabecera;
  const std::optional<size_t> traducidas = conservacion_traducciones(po, &cabecera, error);
  if (!traducidas) {
    *error += " (a file that extract would replace: --force replaces it)";
    return AntesDeExtraer::rechaza;
  }
  if (*traducidas == 0) return AntesDeExtraer::escribe;
  if (!conservacion_es_de_pagina(cabecera, po, pagina, error)) {
    *error = po + " holds " + std::to_string(*traducidas) + " translations of another page, '" +
             cabecera.pagina + "', which extract would replace: --force replaces them";
    return AntesDeExtraer::rechaza;
  }
  informes_escribe("lenguaweb: " + po + " holds " + std::to_string(*traducidas) +
                   (*traducidas == 1 ? " translation" : " translations") +
                   ": updated as update does, every one kept (--force replaces it)");
  return AntesDeExtraer::actualiza;
}
