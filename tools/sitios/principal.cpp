// principal.cpp - sitios_reales: every page of whole documentation sites through the checks.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "comprobacion.h"
#include "lenguaweb.h"
#include "seleccion.h"

namespace fs = std::filesystem;

namespace {

void uso() {
  std::fprintf(stderr,
               "usage: sitios_reales [--muestra N] [-j N] [--trabajo FOLDER] [--conocidos FILE]\n"
               "                     FOLDER...\n"
               "Checks every .html page under each FOLDER (symbolic links are not followed):\n"
               "the rebuild with the page's own texts, markers in place of the texts, and the\n"
               "link round trip. --trabajo keeps the pages written for the last page each\n"
               "thread checked. --muestra N checks a fixed sample of N pages spread over the\n"
               "folders and languages. --conocidos lists failures already reported (check, page\n"
               "and reason, tab-separated): they are shown as known. Exit status 1 when a page\n"
               "fails a check that is not listed, 2 when no page is found.\n");
}

std::string con_miles(size_t n) {
  std::string s = std::to_string(n);
  for (size_t i = s.size(); i > 3; i -= 3) s.insert(i - 3, ",");
  return s;
}

}  // namespace

int main(int argc, char **argv) {
  size_t muestra = 0;
  unsigned hilos = std::max(1u, std::thread::hardware_concurrency());
  std::string trabajo, lista_conocidos;
  std::vector<std::string> raices;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool con_valor = i + 1 < argc;
    if (a == "--muestra" && con_valor) {
      muestra = std::strtoul(argv[++i], nullptr, 10);
    } else if (a == "-j" && con_valor) {
      hilos = std::max(1ul, std::strtoul(argv[++i], nullptr, 10));
    } else if (a == "--conocidos" && con_valor) {
      lista_conocidos = argv[++i];
    } else if (a == "--trabajo" && con_valor) {
      trabajo = argv[++i];
    } else if (!a.empty() && a[0] == '-') {
      uso();
      return 2;
    } else {
      raices.push_back(a);
    }
  }
  if (raices.empty()) {
    uso();
    return 2;
  }

  std::vector<sitios::FalloConocido> conocidos;
  if (std::string error;
      !lista_conocidos.empty() && !sitios::conocidos_lee(lista_conocidos, &conocidos, &error)) {
    std::fprintf(stderr, "sitios_reales: %s\n", error.c_str());
    return 2;
  }

  std::vector<sitios::PaginaDeSitio> paginas;
  for (size_t r = 0; r < raices.size(); ++r) {
    std::error_code error;
    if (!fs::is_directory(raices[r], error)) {
      std::fprintf(stderr, "sitios_reales: %s: not a folder\n", raices[r].c_str());
      return 2;
    }
    for (const std::string &camino : sitios::paginas_de(raices[r]))
      paginas.push_back({camino, r, sitios::idioma_de(camino)});
  }
  const size_t encontradas = paginas.size();
  // A folder with nothing to check is a wrong path, not a clean run.
  if (encontradas == 0) {
    std::fprintf(stderr, "sitios_reales: no .html page under the folders given\n");
    return 2;
  }
  if (muestra > 0) paginas = sitios::muestra_de(paginas, muestra);

  const bool trabajo_dado = !trabajo.empty();
  if (!trabajo_dado) {
    char plantilla[] = "/tmp/sitios_reales.XXXXXX";
    if (mkdtemp(plantilla) == nullptr) {
      std::perror("sitios_reales: mkdtemp");
      return 2;
    }
    trabajo = plantilla;
  }
  std::vector<std::string> carpetas;
  for (unsigned h = 0; h < hilos; ++h) {
    carpetas.push_back(trabajo + "/" + std::to_string(h));
    fs::create_directories(carpetas.back());
  }
  utilidades_pon_carpeta(trabajo.c_str());
  sitios::comprobacion_instala_receptor();

  const auto inicio = std::chrono::steady_clock::now();
  std::vector<sitios::ResultadoPagina> resultados(paginas.size());
  std::atomic<size_t> siguiente{0};
  std::vector<std::thread> trabajadores;
  for (unsigned h = 0; h < hilos; ++h)
    trabajadores.emplace_back([&, h] {
      for (size_t i; (i = siguiente.fetch_add(1)) < paginas.size();)
        resultados[i] = sitios::pagina_comprueba(paginas[i].camino, paginas[i].idioma, carpetas[h]);
    });
  for (std::thread &t : trabajadores) t.join();
  const double segundos =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();

  size_t bytes = 0, textos = 0, en_tags = 0, enlaces = 0, no_utf8 = 0, fallidas = 0, fallos = 0,
         sabidos = 0, nuevas = 0;
  std::map<std::string, size_t> informes;
  std::map<uint32_t, size_t> por_idioma;
  for (const sitios::ResultadoPagina &r : resultados) {
    bytes += r.bytes;
    textos += r.textos;
    en_tags += r.en_tags;
    enlaces += r.enlaces;
    no_utf8 += r.utf8 ? 0 : 1;
    ++por_idioma[r.idioma];
    for (const auto &[condicion, n] : r.informes) informes[condicion] += n;
    if (r.fallos.empty()) continue;
    ++fallidas;
    bool nueva = false;
    for (const std::string &f : r.fallos) {
      ++fallos;
      sitios::FalloConocido *c = sitios::conocido_de(conocidos, r.camino, f);
      if (c != nullptr) {
        c->visto = true;
        ++sabidos;
        std::printf("KNOWN  %s (language 0x%04X): %s\n       known: %s\n", r.camino.c_str(),
                    r.idioma, f.c_str(), c->motivo.c_str());
      } else {
        nueva = true;
        std::printf("FAILED %s (language 0x%04X): %s\n", r.camino.c_str(), r.idioma, f.c_str());
      }
    }
    nuevas += nueva ? 1 : 0;
  }
  // A listed failure of a checked page that no longer shows is worth crossing off.
  for (const sitios::FalloConocido &c : conocidos) {
    const bool comprobada = std::any_of(paginas.begin(), paginas.end(), [&](const auto &p) {
      return sitios::conocido_es_de(c, p.camino);
    });
    if (comprobada && !c.visto)
      std::printf("PASSES %s: %s, listed as known, no longer fails\n", c.pagina.c_str(),
                  c.comprobacion.c_str());
  }

  std::printf("pages:    %s checked of %s found under", con_miles(paginas.size()).c_str(),
              con_miles(encontradas).c_str());
  for (const std::string &raiz : raices) std::printf(" %s", raiz.c_str());
  std::printf("\n          %s read with the bytes that are not UTF-8 as Windows-1252\n",
              con_miles(no_utf8).c_str());
  std::printf("languages:");
  for (const auto &[idioma, n] : por_idioma)
    std::printf(" 0x%04X %s;", idioma, con_miles(n).c_str());
  std::printf("\nbytes:    %s\n", con_miles(bytes).c_str());
  std::printf("texts:    %s (%s in tags)\n", con_miles(textos).c_str(), con_miles(en_tags).c_str());
  std::printf("links:    %s moved out and back\n", con_miles(enlaces).c_str());
  for (const auto &[condicion, n] : informes)
    std::printf("reports:  %s \"%s\" (expected)\n", con_miles(n).c_str(), condicion.c_str());
  std::printf("failures: %s in %s pages", con_miles(fallos).c_str(), con_miles(fallidas).c_str());
  if (!lista_conocidos.empty())
    std::printf(", %s of them known (%s); %s pages with a new failure", con_miles(sabidos).c_str(),
                lista_conocidos.c_str(), con_miles(nuevas).c_str());
  std::printf("\n");
  std::printf("time:     %.1f s on %u threads\n", segundos, hilos);

  // A folder of the caller's keeps the last pages each thread wrote, to look at.
  std::error_code error;
  if (!trabajo_dado) fs::remove_all(trabajo, error);
  return nuevas == 0 ? 0 : 1;
}
