// recorrido.cpp - recorrido_paginas: times the library's road over whole pages, for profiling.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lenguaweb.h"

namespace {

using Reloj = std::chrono::steady_clock;

double segundos_desde(Reloj::time_point inicio) {
  return std::chrono::duration<double>(Reloj::now() - inicio).count();
}

void ignora_informe(const char *, const char *, uint32_t, void *) {}

// The best of the rounds of each step over one page, in seconds.
struct Tiempos {
  double copia = 1e9, crea = 1e9, textos = 1e9, reconstruye = 1e9, preprocesa = 1e9;
};

}  // namespace

int main(int argc, char **argv) {
  int rondas = 5;
  uint32_t idioma = 0x0409;
  std::vector<std::string> paginas;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-n" && i + 1 < argc)
      rondas = std::max(1, std::atoi(argv[++i]));
    else if (a == "-l" && i + 1 < argc)
      idioma = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 0));
    else if (a == "--bloques")
      opciones_pon_segmentacion(SEGMENTACION_BLOQUES);
    else
      paginas.push_back(a);
  }
  if (paginas.empty()) {
    std::fprintf(
        stderr,
        "usage: recorrido_paginas [-n ROUNDS] [-l LANGID] [--bloques] PAGE.html...\n"
        "Times, per page, the best of ROUNDS: a plain read and write of the file, then\n"
        "lenguaweb_crea, lenguaweb_dame_textos_a_trducir, lenguaweb_reconstruye_fichero_html\n"
        "with the page's own texts, and lenguaweb_preprocesa_links. --bloques cuts pages by\n"
        "blocks.\n");
    return 2;
  }
  // The library's reports (entities kept in texts) are expected here; they are not timed
  // on a terminal.
  informa_fallo_pon_receptor(ignora_informe, nullptr);
  const std::string carpeta = std::filesystem::temp_directory_path().string();
  utilidades_pon_carpeta(carpeta.c_str());
  const std::string salida = carpeta + "/recorrido_paginas.html";

  std::printf(
      "| page | bytes | read+write | crea | texts | rebuild | preprocess | crea MB/s | "
      "rebuild MB/s |\n|---|---|---|---|---|---|---|---|---|\n");
  for (const std::string &pagina : paginas) {
    Tiempos t;
    size_t bytes = 0;
    for (int r = 0; r < rondas; ++r) {
      auto inicio = Reloj::now();
      {
        std::ifstream f(pagina, std::ios::binary);
        std::string contenido(std::filesystem::file_size(pagina), '\0');
        f.read(contenido.data(), static_cast<std::streamsize>(contenido.size()));
        std::ofstream(salida, std::ios::binary)
            .write(contenido.data(), static_cast<std::streamsize>(contenido.size()));
        bytes = contenido.size();
      }
      t.copia = std::min(t.copia, segundos_desde(inicio));

      inicio = Reloj::now();
      lenguaweb_t *doc = lenguaweb_crea(pagina.c_str(), idioma);
      t.crea = std::min(t.crea, segundos_desde(inicio));

      inicio = Reloj::now();
      lista_cad_t *ids = nullptr;
      lista_cad_t *textos = lenguaweb_dame_textos_a_trducir(doc, &ids);
      t.textos = std::min(t.textos, segundos_desde(inicio));

      inicio = Reloj::now();
      lenguaweb_reconstruye_fichero_html(doc, textos, ids, nullptr, nullptr, salida.c_str(),
                                         idioma);
      t.reconstruye = std::min(t.reconstruye, segundos_desde(inicio));

      lista_reg_t *a = lista_reg_crea(0), *img = lista_reg_crea(0);
      inicio = Reloj::now();
      lenguaweb_preprocesa_links(doc, a, img, salida.c_str(), idioma);
      t.preprocesa = std::min(t.preprocesa, segundos_desde(inicio));
      for (lista_reg_t *tabla : {a, img}) {
        for (uint32_t i = 0; i < lista_reg_num_elems(tabla); ++i) {
          tablalink_t *registro = lista_reg_dame(tabla, i);
          tablalink_destruye(&registro);
        }
        lista_reg_destruye(&tabla);
      }
      lista_cad_destruye(&textos);
      lista_cad_destruye(&ids);
      lenguaweb_destruye(&doc);
    }
    const double mb = static_cast<double>(bytes) / 1e6;
    std::printf("| %s | %zu | %.2f ms | %.2f ms | %.2f ms | %.2f ms | %.2f ms | %.0f | %.0f |\n",
                std::filesystem::path(pagina).filename().c_str(), bytes, t.copia * 1e3,
                t.crea * 1e3, t.textos * 1e3, t.reconstruye * 1e3, t.preprocesa * 1e3, mb / t.crea,
                mb / t.reconstruye);
  }
  std::filesystem::remove(salida);
  return 0;
}
