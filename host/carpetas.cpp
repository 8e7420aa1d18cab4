// carpetas.cpp - folders of pages: finding them, mirroring their tree, sharing them among threads.
#include "carpetas.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "informes.h"

namespace fs = std::filesystem;

namespace {

bool es_pagina(const fs::path &ruta) {
  std::string extension = ruta.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".html" || extension == ".htm";
}

}  // namespace

bool carpetas_busca_paginas(const fs::path &carpeta, const fs::path &excluida,
                            std::vector<fs::path> *paginas, std::vector<std::string> *ilegibles,
                            std::string *error) {
  std::error_code ec;
  const fs::path excluida_absoluta =
      excluida.empty() ? fs::path() : fs::weakly_canonical(excluida, ec);
  std::vector<fs::path> pendientes = {carpeta};
  while (!pendientes.empty()) {
    const fs::path actual = std::move(pendientes.back());
    pendientes.pop_back();
    ec.clear();
    fs::directory_iterator it(actual, ec), fin;
    for (; !ec && it != fin; it.increment(ec)) {
      std::error_code ec_entrada;
      if (it->is_directory(ec_entrada) && !it->is_symlink(ec_entrada)) {
        if (excluida_absoluta.empty() ||
            fs::weakly_canonical(it->path(), ec_entrada) != excluida_absoluta)
          pendientes.push_back(it->path());
      } else if (it->is_regular_file(ec_entrada) && es_pagina(it->path())) {
        paginas->push_back(it->path().lexically_relative(carpeta));
      }
    }
    if (!ec) continue;
    std::string motivo = "cannot read the folder '" + actual.string() + "': " + ec.message();
    if (actual == carpeta) {
      *error = std::move(motivo);
      return false;
    }
    ilegibles->push_back(std::move(motivo));
  }
  std::sort(paginas->begin(), paginas->end());
  return true;
}

fs::path carpetas_ruta_po(const fs::path &pagina) {
  fs::path po = pagina;
  po.replace_extension(".po");
  return po;
}

bool carpetas_prepara(const fs::path &ruta, std::string *error) {
  const fs::path carpeta = ruta.parent_path();
  std::error_code ec;
  if (carpeta.empty() || fs::is_directory(carpeta, ec)) return true;
  fs::create_directories(carpeta, ec);
  if (!ec) return true;
  *error = "cannot create the folder '" + carpeta.string() + "': " + ec.message();
  return false;
}

size_t carpetas_reparte(size_t n, unsigned hilos, const std::function<bool(size_t)> &trabajo) {
  if (hilos == 0) hilos = std::max(1u, std::thread::hardware_concurrency());
  hilos = static_cast<unsigned>(std::min<size_t>(hilos, std::max<size_t>(n, 1)));
  std::atomic<size_t> siguiente{0}, hechas{0}, fallidas{0};
  const auto trabaja = [&] {
    for (size_t i = siguiente++; i < n; i = siguiente++) {
      if (!trabajo(i)) ++fallidas;
      informes_progreso(++hechas, n);
    }
  };
  std::vector<std::thread> hebras;
  for (unsigned h = 1; h < hilos; ++h) hebras.emplace_back(trabaja);
  trabaja();
  for (std::thread &hebra : hebras) hebra.join();
  informes_quita_progreso();
  return fallidas;
}
