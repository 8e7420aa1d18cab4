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
                            std::vector<fs::path> *paginas, std::string *error) {
  std::error_code ec;
  const fs::path excluida_absoluta =
      excluida.empty() ? fs::path() : fs::weakly_canonical(excluida, ec);
  fs::recursive_directory_iterator it(carpeta, ec), fin;
  for (; !ec && it != fin; it.increment(ec)) {
    if (it->is_directory(ec) && !excluida_absoluta.empty() &&
        fs::weakly_canonical(it->path(), ec) == excluida_absoluta) {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file(ec) && es_pagina(it->path()))
      paginas->push_back(it->path().lexically_relative(carpeta));
  }
  if (ec) {
    *error = "cannot read the folder '" + carpeta.string() + "': " + ec.message();
    return false;
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
