// revisa.cpp - the check subcommand: a translated page, or a translated folder, against its
// source.
#include "revisa.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "carpetas.h"
#include "informes.h"
#include "revision.h"
#include "salida.h"

namespace fs = std::filesystem;

namespace {

// What one page gave: its lines of findings, or why it could not be compared.
struct Revisada {
  std::string origen, traducida;
  std::string lineas{};
  size_t fallos = 0, sin_traducir = 0;
  bool falta = false;   // no translated page
  std::string error{};  // a page that cannot be read
};

bool lee(const std::string &ruta, std::string *bytes, std::string *error) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE *)> f(std::fopen(ruta.c_str(), "rbe"),
                                                           std::fclose);
  bool leido = f != nullptr;
  char bloque[64 * 1024];
  for (size_t n; leido && (n = std::fread(bloque, 1, sizeof bloque, f.get())) > 0;)
    bytes->append(bloque, n);
  if (leido) leido = std::ferror(f.get()) == 0;
  if (!leido) *error = "cannot read '" + ruta + "': " + std::system_category().message(errno);
  return leido;
}

void revisa(const Orden &orden, Revisada *r) {
  std::string origen, traducida;
  std::error_code ec;
  if (!lee(r->origen, &origen, &r->error)) return;
  if (!fs::exists(r->traducida, ec)) {
    r->falta = true;
    ++r->fallos;
    r->lineas = r->traducida + ": missing: " + r->origen + " has no translated page here\n";
    return;
  }
  if (!lee(r->traducida, &traducida, &r->error)) return;
  const uint32_t idioma = orden.idioma.value_or(0x0409);
  for (const Hallazgo &h :
       revision_compara(origen, traducida, idioma, orden.destino.value_or(idioma))) {
    r->lineas += r->traducida + ":" + std::to_string(h.linea) + ": " + h.texto + "\n";
    (h.sin_traducir ? r->sin_traducir : r->fallos)++;
  }
}

std::string cuenta(size_t n, const char *una, const char *varias) {
  return std::to_string(n) + (n == 1 ? una : varias);
}

}  // namespace

int revisa_ejecuta(const Orden &orden) {
  std::error_code ec;
  std::vector<Revisada> paginas;
  std::vector<std::string> ilegibles;
  const bool carpeta = fs::is_directory(orden.pagina, ec);
  if (carpeta) {
    if (!fs::is_directory(orden.traducida, ec)) {
      informes_escribe("lenguaweb: " + orden.pagina + " is a folder: '" + orden.traducida +
                       "' must be the folder of its translated pages");
      return kError;
    }
    std::vector<fs::path> relativas;
    std::string motivo;
    const fs::path dentro =
        fs::equivalent(orden.pagina, orden.traducida, ec) ? fs::path() : fs::path(orden.traducida);
    if (!carpetas_busca_paginas(orden.pagina, dentro, &relativas, &ilegibles, &motivo)) {
      informes_escribe("lenguaweb: " + motivo);
      return kError;
    }
    for (const fs::path &relativa : relativas)
      paginas.push_back({.origen = (fs::path(orden.pagina) / relativa).string(),
                         .traducida = (fs::path(orden.traducida) / relativa).string()});
  } else {
    paginas.push_back({.origen = orden.pagina, .traducida = orden.traducida});
  }
  carpetas_reparte(paginas.size(), orden.trabajos, [&](size_t i) {
    revisa(orden, &paginas[i]);
    return paginas[i].error.empty();
  });

  Salida salida;
  std::string motivo;
  if (!salida_abre(&salida, "-", &motivo)) {
    informes_escribe("lenguaweb: " + motivo);
    return kError;
  }
  size_t fallos = 0, sin_traducir = 0, faltan = 0, con_fallos = 0, errores = 0;
  for (const Revisada &r : paginas) {
    if (!r.error.empty()) {
      informes_escribe("lenguaweb: " + r.error);
      ++errores;
      continue;
    }
    salida_anade(&salida, r.lineas);
    fallos += r.fallos;
    sin_traducir += r.sin_traducir;
    faltan += r.falta;
    con_fallos += r.fallos > 0 || (orden.completa && r.sin_traducir > 0);
  }
  for (const std::string &m : ilegibles) informes_escribe("lenguaweb: " + m);
  if (!salida_termina(&salida, &motivo)) {
    informes_escribe("lenguaweb: " + motivo);
    return kError;
  }
  std::string linea = carpeta ? cuenta(paginas.size(), " page of ", " pages of ") + orden.pagina +
                                    " checked against " + orden.traducida + ": "
                              : orden.traducida + ": ";
  linea += cuenta(fallos - faltan, " fault", " faults") + ", " +
           cuenta(sin_traducir, " text untranslated", " texts untranslated");
  if (faltan > 0) linea += ", " + cuenta(faltan, " page missing", " pages missing");
  if (carpeta && con_fallos > 0)
    linea += "; " + cuenta(con_fallos, " page", " pages") + " at fault";
  if (errores > 0) linea += "; " + cuenta(errores, " page", " pages") + " could not be read";
  informes_escribe(linea);
  if (errores + ilegibles.size() > 0) return kError;
  return fallos > 0 || (orden.completa && sin_traducir > 0) ? kIncompleta : kBien;
}
