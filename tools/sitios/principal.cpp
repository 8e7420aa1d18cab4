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
               "usage: sitios_reales [--muestra N] [-j N] [--trabajo FOLDER] FOLDER...\n"
               "Checks every .html page under each FOLDER (symbolic links are not followed):\n"
               "the rebuild with the page's own texts, markers in place of the texts, and the\n"
               "link round trip. --trabajo keeps the pages written for the last page each\n"
               "thread checked. --muestra N checks a fixed sample of N pages spread over the\n"
               "folders and languages. Exit status 1 when a page fails a check.\n");
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
  std::string trabajo;
  std::vector<std::string> raices;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool con_valor = i + 1 < argc;
    if (a == "--muestra" && con_valor) {
      muestra = std::strtoul(argv[++i], nullptr, 10);
    } else if (a == "-j" && con_valor) {
      hilos = std::max(1ul, std::strtoul(argv[++i], nullptr, 10));
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

  size_t bytes = 0, textos = 0, en_tags = 0, enlaces = 0, no_utf8 = 0, fallidas = 0, fallos = 0;
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
    for (const std::string &f : r.fallos) {
      ++fallos;
      std::printf("FAILED %s (language 0x%04X): %s\n", r.camino.c_str(), r.idioma, f.c_str());
    }
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
  std::printf("failures: %s in %s pages\n", con_miles(fallos).c_str(), con_miles(fallidas).c_str());
  std::printf("time:     %.1f s on %u threads\n", segundos, hilos);

  // A folder of the caller's keeps the last pages each thread wrote, to look at.
  std::error_code error;
  if (!trabajo_dado) fs::remove_all(trabajo, error);
  return fallidas == 0 ? 0 : 1;
}
