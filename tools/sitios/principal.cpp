// principal.cpp - sitios_reales: every page of whole documentation sites through the checks.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "carpetas.h"
#include "comprobacion.h"
#include "copias.h"
#include "lenguaweb.h"
#include "seleccion.h"

namespace fs = std::filesystem;

namespace {

void uso() {
  std::fprintf(
      stderr,
      "usage: sitios_reales [--muestra N] [-j N] [--trabajo FOLDER] [--conocidos FILE]\n"
      "                     [--escribe-conocidos FILE] [--orden PATH | --sin-orden]\n"
      "                     [--segmentacion MODE] [--copias FOLDER [--copias-por N]] FOLDER...\n"
      "Checks every .html page under each FOLDER (symbolic links are not followed), each\n"
      "decoded and parsed as a browser does: the rebuild with the page's own texts shows\n"
      "what the page showed, markers land in place of the texts, the link round trip, and\n"
      "through the lenguaweb command (--orden; --sin-orden leaves it out) extract then merge\n"
      "with the untouched PO file, and pseudo. --segmentacion (blocks or classic) is passed\n"
      "on to the command (--segments); the library's own checks model its default cut.\n"
      "--copias makes legacy-charset copies of N pages per charset (3) in FOLDER and checks\n"
      "them too. --muestra N checks a fixed sample of N pages spread over the folders and\n"
      "languages. --trabajo keeps the pages written for the last page each thread checked.\n"
      "--conocidos lists failures already reported (check, page and reason, tab-separated):\n"
      "they are shown as known; --escribe-conocidos writes this run's failures as such a\n"
      "list. Exit status 1 when a page fails a check that is not listed, 2 for a bad\n"
      "command line or when no page is found.\n");
}

std::string con_miles(size_t n) {
  std::string s = std::to_string(n);
  for (size_t i = s.size(); i > 3; i -= 3) s.insert(i - 3, ",");
  return s;
}

struct Argumentos {
  size_t muestra = 0, copias_por = 3;
  unsigned hilos = 0;
  std::string trabajo, conocidos, escribe_conocidos, copias;
  sitios::Opciones opciones;
  std::vector<std::string> raices;
};

bool lee_argumentos(int argc, char **argv, Argumentos *a) {
#ifdef SITIOS_ORDEN
  a->opciones.orden = SITIOS_ORDEN;
#endif
  for (int i = 1; i < argc; ++i) {
    const std::string x = argv[i];
    const bool con_valor = i + 1 < argc;
    if (x == "--muestra" && con_valor)
      a->muestra = std::strtoul(argv[++i], nullptr, 10);
    else if (x == "-j" && con_valor)
      a->hilos = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    else if (x == "--conocidos" && con_valor)
      a->conocidos = argv[++i];
    else if (x == "--escribe-conocidos" && con_valor)
      a->escribe_conocidos = argv[++i];
    else if (x == "--trabajo" && con_valor)
      a->trabajo = argv[++i];
    else if (x == "--orden" && con_valor)
      a->opciones.orden = fs::absolute(argv[++i]).string();
    else if (x == "--sin-orden")
      a->opciones.orden.clear();
    else if (x == "--segmentacion" && con_valor &&
             (std::string_view(argv[i + 1]) == "blocks" ||
              std::string_view(argv[i + 1]) == "classic"))
      a->opciones.segmentacion = argv[++i];
    else if (x == "--copias" && con_valor)
      a->copias = argv[++i];
    else if (x == "--copias-por" && con_valor)
      a->copias_por = std::strtoul(argv[++i], nullptr, 10);
    else if (!x.empty() && x[0] == '-')
      return false;
    else
      a->raices.push_back(x);
  }
  return !a->raices.empty();
}

// Every page under the folders, in its language; false with the reason on standard error.
bool reune_paginas(const Argumentos &a, std::vector<sitios::PaginaDeSitio> *paginas,
                   size_t *encontradas) {
  for (size_t r = 0; r < a.raices.size(); ++r) {
    std::error_code error;
    if (!fs::is_directory(a.raices[r], error)) {
      std::fprintf(stderr, "sitios_reales: %s: not a folder\n", a.raices[r].c_str());
      return false;
    }
    for (const std::string &camino : sitios::paginas_de(a.raices[r]))
      paginas->push_back(
          {camino, r, sitios::idioma_de(camino), sitios::clave_de(camino, a.raices[r])});
  }
  *encontradas = paginas->size();
  // A folder with nothing to check is a wrong path, not a clean run.
  if (paginas->empty()) {
    std::fprintf(stderr, "sitios_reales: no .html page under the folders given\n");
    return false;
  }
  std::vector<sitios::PaginaDeSitio> copias;
  if (std::string error; !a.copias.empty()) {
    std::error_code ec;
    fs::remove_all(a.copias, ec);
    if (!sitios::copias_haz(*paginas, a.copias_por, a.copias, &copias, &error)) {
      std::fprintf(stderr, "sitios_reales: legacy copies: %s\n", error.c_str());
      return false;
    }
  }
  if (a.muestra > 0) *paginas = sitios::muestra_de(*paginas, a.muestra);
  paginas->insert(paginas->end(), copias.begin(), copias.end());
  return true;
}

// Every page through the checks, spread over the threads; each thread writes in a folder
// of its own under trabajo.
std::vector<sitios::ResultadoPagina> comprueba(const std::vector<sitios::PaginaDeSitio> &paginas,
                                               const Argumentos &a, const std::string &trabajo) {
  std::vector<sitios::ResultadoPagina> resultados(paginas.size());
  std::atomic<unsigned> hilos{0};
  carpetas_reparte(paginas.size(), a.hilos, [&](size_t i) {
    thread_local std::string carpeta;
    if (carpeta.empty()) {
      carpeta = trabajo + "/" + std::to_string(hilos++);
      fs::create_directories(carpeta);
    }
    resultados[i] =
        sitios::pagina_comprueba(paginas[i].camino, paginas[i].idioma, carpeta, a.opciones);
    resultados[i].camino = paginas[i].clave;
    return resultados[i].fallos.empty();
  });
  return resultados;
}

// What the failures of a kind have in common: how many pages, and the first as example.
struct Clase {
  std::set<std::string> paginas;
  std::string ejemplo;
};

// A difference on one line: its first line, and where two texts part when it says.
std::string en_una_linea(const std::string &s) {
  std::string r = s.substr(0, s.find('\n'));
  if (const size_t texto = s.find("\n  the text "); texto != std::string::npos)
    r += "; " + s.substr(texto + 3, s.find('\n', texto + 1) - texto - 3);
  return r;
}

template <class Textos>
std::string una_lista(const Textos &textos, const char *entre) {
  std::string r;
  for (const std::string &t : textos) r += (r.empty() ? "" : entre) + t;
  return r;
}

int informa(const std::vector<sitios::ResultadoPagina> &resultados, const Argumentos &a,
            std::vector<sitios::FalloConocido> &conocidos, size_t encontradas, double segundos) {
  size_t bytes = 0, textos = 0, en_tags = 0, enlaces = 0, fallidas = 0, fallos = 0, sabidos = 0,
         nuevas = 0, rotas = 0;
  std::map<std::string, size_t> informes, por_codificacion;
  std::map<uint32_t, size_t> por_idioma;
  std::map<std::pair<std::string, std::string>, Clase> clases;
  std::ofstream lista;
  if (!a.escribe_conocidos.empty()) lista.open(a.escribe_conocidos);
  for (const sitios::ResultadoPagina &r : resultados) {
    bytes += r.bytes, textos += r.textos, en_tags += r.en_tags, enlaces += r.enlaces;
    ++por_idioma[r.idioma];
    ++por_codificacion[r.codificacion];
    for (const auto &[condicion, n] : r.informes) informes[condicion] += n;
    if (!r.rota.empty()) {
      ++rotas;
      std::printf("BROKEN %s: the page's own markup: %s; %zu failures not counted\n",
                  r.camino.c_str(), r.rota.c_str(), r.fallos.size());
      continue;
    }
    if (r.fallos.empty()) continue;
    ++fallidas;
    bool nueva = false;
    std::vector<std::string> comprobaciones;
    std::set<std::string> categorias;
    for (const sitios::Fallo &f : r.fallos) {
      ++fallos;
      for (size_t desde = 0; desde <= f.categoria.size();) {
        const size_t mas = std::min(f.categoria.find('+', desde), f.categoria.size());
        const std::string categoria = f.categoria.substr(desde, mas - desde);
        categorias.insert(categoria);
        Clase &clase = clases[{f.comprobacion, categoria}];
        if (clase.paginas.insert(r.camino).second && clase.ejemplo.empty()) {
          const auto ejemplo = f.ejemplos.find(categoria);
          clase.ejemplo = r.camino + ": " +
                          (ejemplo != f.ejemplos.end() ? ejemplo->second : en_una_linea(f.detalle));
        }
        desde = mas + 1;
      }
      if (std::find(comprobaciones.begin(), comprobaciones.end(), f.comprobacion) ==
          comprobaciones.end())
        comprobaciones.push_back(f.comprobacion);
      const char *como = "FAILED";
      if (sitios::FalloConocido *c = sitios::conocido_de(conocidos, r.camino, f.comprobacion)) {
        c->visto = true;
        ++sabidos;
        como = "KNOWN ";
      } else {
        nueva = true;
      }
      std::printf("%s %s (language 0x%04X, %s): %s [%s]: %s\n", como, r.camino.c_str(), r.idioma,
                  r.codificacion.c_str(), f.comprobacion.c_str(), f.categoria.c_str(),
                  f.detalle.c_str());
    }
    nuevas += nueva ? 1 : 0;
    if (lista.is_open())
      lista << una_lista(comprobaciones, ",") << '\t' << r.camino << '\t'
            << una_lista(categorias, ", ") << '\n';
  }
  // A listed failure of a checked page that no longer shows is worth crossing off (the
  // browser's are scripts/navegador.sh's to tell).
  for (const sitios::FalloConocido &c : conocidos) {
    if (c.comprobacion == "browser") continue;
    const bool comprobada = std::any_of(resultados.begin(), resultados.end(), [&](const auto &r) {
      return sitios::conocido_es_de(c, r.camino);
    });
    if (comprobada && !c.visto)
      std::printf("PASSES %s: %s, listed as known, no longer fails\n", c.pagina.c_str(),
                  c.comprobacion.c_str());
  }

  std::printf("pages:    %s checked (%s found under", con_miles(resultados.size()).c_str(),
              con_miles(encontradas).c_str());
  for (const std::string &raiz : a.raices) std::printf(" %s", raiz.c_str());
  std::printf(", the rest legacy-charset copies)\nencodings:");
  for (const auto &[codificacion, n] : por_codificacion)
    std::printf(" %s %s;", codificacion.c_str(), con_miles(n).c_str());
  std::printf("\nlanguages:");
  for (const auto &[idioma, n] : por_idioma)
    std::printf(" 0x%04X %s;", idioma, con_miles(n).c_str());
  std::printf("\nbytes:    %s\n", con_miles(bytes).c_str());
  std::printf("texts:    %s (%s in tags)\n", con_miles(textos).c_str(), con_miles(en_tags).c_str());
  std::printf("links:    %s moved out and back\n", con_miles(enlaces).c_str());
  for (const auto &[condicion, n] : informes)
    std::printf("reports:  %s \"%s\" (expected)\n", con_miles(n).c_str(), condicion.c_str());
  std::printf("broken:   %s pages whose own markup is broken, not counted\n",
              con_miles(rotas).c_str());
  for (const auto &[clave, clase] : clases)
    std::printf("kind:     %-24s %-12s %5zu pages, e.g. %s\n", clave.first.c_str(),
                clave.second.c_str(), clase.paginas.size(), clase.ejemplo.c_str());
  std::printf("failures: %s in %s pages", con_miles(fallos).c_str(), con_miles(fallidas).c_str());
  if (!a.conocidos.empty())
    std::printf(", %s of them known (%s); %s pages with a new failure", con_miles(sabidos).c_str(),
                a.conocidos.c_str(), con_miles(nuevas).c_str());
  std::printf("\ntime:     %.1f s\n", segundos);
  return nuevas == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
  Argumentos a;
  if (!lee_argumentos(argc, argv, &a)) {
    uso();
    return 2;
  }
  std::vector<sitios::FalloConocido> conocidos;
  if (std::string error;
      !a.conocidos.empty() && !sitios::conocidos_lee(a.conocidos, &conocidos, &error)) {
    std::fprintf(stderr, "sitios_reales: %s\n", error.c_str());
    return 2;
  }
  std::vector<sitios::PaginaDeSitio> paginas;
  size_t encontradas = 0;
  if (!reune_paginas(a, &paginas, &encontradas)) return 2;

  const bool trabajo_dado = !a.trabajo.empty();
  std::string trabajo = a.trabajo;
  if (!trabajo_dado) {
    char plantilla[] = "/tmp/sitios_reales.XXXXXX";
    if (mkdtemp(plantilla) == nullptr) {
      std::perror("sitios_reales: mkdtemp");
      return 2;
    }
    trabajo = plantilla;
  }
  utilidades_pon_carpeta(trabajo.c_str());
  sitios::comprobacion_instala_receptor();

  const auto inicio = std::chrono::steady_clock::now();
  const std::vector<sitios::ResultadoPagina> resultados = comprueba(paginas, a, trabajo);
  const double segundos =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  const int estado = informa(resultados, a, conocidos, encontradas, segundos);

  // A folder of the caller's keeps the last pages each thread wrote, to look at.
  std::error_code error;
  if (!trabajo_dado) fs::remove_all(trabajo, error);
  return estado;
}
