// sitio.cpp - a whole site through the command: the PO files whose pages are gone, the pages
// without a PO file, and the files that are not pages.
#include "sitio.h"

#include <algorithm>
#include <cctype>

namespace fs = std::filesystem;

namespace {

std::string extension(const fs::path &ruta) {
  std::string e = ruta.extension().string();
  for (char &c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return e;
}

// Calls hecho(file) for every regular file under carpeta, skipping excluida; symbolic
// links to folders are not followed. A walk that cannot go on is appended to *fallos.
template <class F>
void recorre(const fs::path &carpeta, const fs::path &excluida, std::vector<std::string> *fallos,
             F hecho) {
  std::error_code ec;
  const fs::path fuera = excluida.empty() ? fs::path() : fs::weakly_canonical(excluida, ec);
  fs::recursive_directory_iterator it(carpeta, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code propio;
    if (it->is_directory(propio)) {
      if (!fuera.empty() && fs::weakly_canonical(it->path(), propio) == fuera)
        it.disable_recursion_pending();
    } else if (it->is_regular_file(propio)) {
      hecho(it->path());
    }
  }
  if (ec && fallos != nullptr)
    fallos->push_back("cannot read the folder '" + carpeta.string() + "': " + ec.message());
}

}  // namespace

std::vector<fs::path> sitio_po_sin_pagina(const fs::path &carpeta_po,
                                          const std::unordered_set<std::string> &propios) {
  std::vector<fs::path> huerfanos;
  recorre(carpeta_po, {}, nullptr, [&](const fs::path &ruta) {
    if (extension(ruta) != ".po") return;
    fs::path relativa = ruta.lexically_relative(carpeta_po);
    if (propios.count(relativa.string()) == 0) huerfanos.push_back(std::move(relativa));
  });
  std::sort(huerfanos.begin(), huerfanos.end());
  return huerfanos;
}

size_t sitio_copia_recursos(const fs::path &origen, const fs::path &destino,
                            const fs::path &excluida, std::vector<std::string> *fallos) {
  size_t puestos = 0;
  recorre(origen, excluida, fallos, [&](const fs::path &ruta) {
    const std::string e = extension(ruta);
    if (e == ".html" || e == ".htm") return;
    const fs::path salida = destino / ruta.lexically_relative(origen);
    std::error_code ec;
    if (fs::exists(salida, ec) && fs::equivalent(ruta, salida, ec)) return;
    fs::create_directories(salida.parent_path(), ec);
    ec.clear();
    fs::remove(salida, ec);  // an older copy: the link or the copy takes its place
    ec.clear();
    fs::create_hard_link(ruta, salida, ec);
    if (ec) {
      ec.clear();
      fs::copy_file(ruta, salida, fs::copy_options::overwrite_existing, ec);
    }
    if (ec)
      fallos->push_back("cannot copy '" + ruta.string() + "' to '" + salida.string() +
                        "': " + ec.message());
    else
      ++puestos;
  });
  return puestos;
}

bool sitio_copia_pagina(const std::string &pagina, const std::string &salida, std::string *error) {
  std::error_code ec;
  fs::copy_file(pagina, salida, fs::copy_options::overwrite_existing, ec);
  if (!ec) return true;
  *error = "cannot copy '" + pagina + "' to '" + salida + "': " + ec.message();
  return false;
}
