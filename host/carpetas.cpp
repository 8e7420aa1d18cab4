// carpetas.cpp - folders of pages: finding them, mirroring their tree, sharing them among threads.
#include "carpetas.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <map>
#include <thread>
#include <unordered_map>

#include "informes.h"

namespace fs = std::filesystem;

std::string carpetas_extension(const fs::path &ruta) {
  std::string extension = ruta.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

bool carpetas_es_pagina(const fs::path &ruta) {
  const std::string extension = carpetas_extension(ruta);
  return extension == ".html" || extension == ".htm";
}

bool carpetas_recorre(const fs::path &carpeta, const fs::path &excluida,
                      const std::function<void(const fs::path &)> &hecho,
                      std::vector<std::string> *ilegibles, std::string *error) {
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
      } else if (it->is_regular_file(ec_entrada)) {
        hecho(it->path());
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
  return true;
}

bool carpetas_busca_paginas(const fs::path &carpeta, const fs::path &excluida,
                            std::vector<fs::path> *paginas, std::vector<std::string> *ilegibles,
                            std::string *error) {
  const bool leida = carpetas_recorre(
      carpeta, excluida,
      [&](const fs::path &ruta) {
        if (carpetas_es_pagina(ruta)) paginas->push_back(ruta.lexically_relative(carpeta));
      },
      ilegibles, error);
  std::sort(paginas->begin(), paginas->end());
  return leida;
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

std::string carpetas_ruta_real(const std::string &ruta) {
  std::error_code ec;
  fs::path camino = fs::absolute(ruta, ec);
  // A dangling link too: a writer follows it and makes the file it names.
  for (int salto = 0; salto < 40 && fs::is_symlink(camino, ec); ++salto) {
    const fs::path destino = fs::read_symlink(camino, ec);
    if (ec) break;
    camino = camino.parent_path() / destino;
  }
  const fs::path real = fs::weakly_canonical(camino, ec);
  return ec ? std::string() : real.string();
}

namespace {

// The first symbolic link on the way from carpeta down to salida (a path under it) that
// leads out of carpeta, described; empty when none does.
std::string sale_por_enlace(const fs::path &carpeta, const std::string &carpeta_real,
                            const fs::path &salida) {
  fs::path camino = carpeta;
  std::error_code ec;
  for (const fs::path &parte : salida.lexically_relative(carpeta)) {
    camino /= parte;
    if (!fs::is_symlink(camino, ec)) continue;
    const std::string destino = carpetas_ruta_real(camino.string());
    const fs::path dentro = fs::path(destino).lexically_relative(carpeta_real);
    if (!destino.empty() && !dentro.empty() && *dentro.begin() != "..") continue;
    return "the output '" + salida.string() + "' is written through '" + camino.string() +
           "', a symbolic link that leads out of '" + carpeta.string() + "'";
  }
  return {};
}

}  // namespace

std::vector<std::string> carpetas_choques(const std::vector<std::string> &entradas,
                                          const std::vector<std::string> &salidas,
                                          const std::string &carpeta_salida) {
  std::map<std::pair<dev_t, ino_t>, const std::string *> por_identidad;
  std::unordered_map<std::string, const std::string *> por_ruta;
  for (const std::string &entrada : entradas) {
    if (entrada.empty() || entrada == "-") continue;
    struct stat datos;
    if (::stat(entrada.c_str(), &datos) == 0)
      por_identidad.try_emplace({datos.st_dev, datos.st_ino}, &entrada);
    if (const std::string r = carpetas_ruta_real(entrada); !r.empty())
      por_ruta.try_emplace(r, &entrada);
  }
  const std::string carpeta_real = carpeta_salida.empty() ? "" : carpetas_ruta_real(carpeta_salida);
  std::vector<std::string> choques(salidas.size());
  for (size_t i = 0; i < salidas.size(); ++i) {
    const std::string &salida = salidas[i];
    if (salida == "-") continue;
    const std::string *leida = nullptr;
    struct stat datos;
    if (::stat(salida.c_str(), &datos) == 0) {
      if (const auto e = por_identidad.find({datos.st_dev, datos.st_ino}); e != por_identidad.end())
        leida = e->second;
    } else if (const auto e = por_ruta.find(carpetas_ruta_real(salida)); e != por_ruta.end()) {
      leida = e->second;
    }
    if (leida != nullptr)
      choques[i] = "the output '" + salida + "' is '" + *leida +
                   "', which this run reads: an output never overwrites an input";
    else if (!carpeta_salida.empty())
      choques[i] = sale_por_enlace(carpeta_salida, carpeta_real, salida);
  }
  return choques;
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
