// seleccion.cpp - which pages of a documentation folder are checked, and in which language.
#include "seleccion.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string_view>
#include <utility>

namespace fs = std::filesystem;

namespace sitios {
namespace {

// Language folders and file-name tags of the manuals, with their Windows identifiers.
uint32_t idioma_de_etiqueta(std::string_view etiqueta) {
  static const std::map<std::string_view, uint32_t> kIdiomas = {
      {"da", 0x0406},    {"de", 0x0407},   {"en", 0x0409},    {"es", 0x0C0A}, {"fr", 0x040C},
      {"id", 0x0421},    {"it", 0x0410},   {"ja", 0x0411},    {"ko", 0x0412}, {"nl", 0x0413},
      {"pl", 0x0415},    {"pt", 0x0816},   {"pt-br", 0x0416}, {"ru", 0x0419}, {"tr", 0x041F},
      {"zh-cn", 0x0804}, {"zh-tw", 0x0404}};
  const auto i = kIdiomas.find(etiqueta);
  return i == kIdiomas.end() ? 0 : i->second;
}

}  // namespace

std::vector<std::string> paginas_de(const std::string &raiz) {
  std::vector<std::string> paginas;
  std::error_code error;
  for (auto i = fs::recursive_directory_iterator(raiz, error); !error && i != fs::end(i);
       i.increment(error)) {
    if (i->is_regular_file(error) && !i->is_symlink(error) && i->path().extension() == ".html")
      paginas.push_back(i->path().string());
  }
  std::sort(paginas.begin(), paginas.end());
  return paginas;
}

uint32_t idioma_de(const std::string &camino) {
  const fs::path p(camino);
  uint32_t idioma = 0;
  for (const fs::path &parte : p.parent_path())
    if (const uint32_t i = idioma_de_etiqueta(parte.string())) idioma = i;
  if (idioma != 0) return idioma;
  // "index.es.html"
  const fs::path etiqueta = p.stem().extension();
  if (!etiqueta.empty())
    if (const uint32_t i = idioma_de_etiqueta(etiqueta.string().substr(1))) return i;
  return 0x0409;
}

std::vector<PaginaDeSitio> muestra_de(const std::vector<PaginaDeSitio> &paginas, size_t cuantas) {
  std::map<std::pair<size_t, uint32_t>, std::vector<size_t>> grupos;
  for (size_t i = 0; i < paginas.size(); ++i)
    grupos[{paginas[i].raiz, paginas[i].idioma}].push_back(i);
  // Groups take turns, one page each, until enough are taken or every group is spent.
  std::map<std::pair<size_t, uint32_t>, size_t> cupo;
  for (size_t tomadas = 0, antes = 1; tomadas < cuantas && antes != tomadas;) {
    antes = tomadas;
    for (const auto &[clave, grupo] : grupos)
      if (tomadas < cuantas && cupo[clave] < grupo.size()) ++cupo[clave], ++tomadas;
  }
  std::vector<size_t> elegidas;
  for (const auto &[clave, grupo] : grupos) {
    const size_t q = cupo[clave];
    for (size_t k = 0; k < q; ++k) elegidas.push_back(grupo[(2 * k + 1) * grupo.size() / (2 * q)]);
  }
  std::sort(elegidas.begin(), elegidas.end());
  std::vector<PaginaDeSitio> r;
  for (size_t i : elegidas) r.push_back(paginas[i]);
  return r;
}

bool conocidos_lee(const std::string &camino, std::vector<FalloConocido> *conocidos,
                   std::string *error) {
  std::ifstream f(camino);
  if (!f) {
    *error = camino + ": cannot be read";
    return false;
  }
  std::string linea;
  for (size_t n = 1; std::getline(f, linea); ++n) {
    if (linea.empty() || linea[0] == '#') continue;
    const size_t a = linea.find('\t');
    const size_t b = a == std::string::npos ? a : linea.find('\t', a + 1);
    if (b == std::string::npos || a == 0 || b == a + 1) {
      *error = camino + ":" + std::to_string(n) + ": needs check, page and reason, tab-separated";
      return false;
    }
    // The first field may name several checks, separated by commas.
    const std::string comprobaciones = linea.substr(0, a);
    for (size_t desde = 0; desde <= comprobaciones.size();) {
      const size_t coma = std::min(comprobaciones.find(',', desde), comprobaciones.size());
      conocidos->push_back({comprobaciones.substr(desde, coma - desde),
                            linea.substr(a + 1, b - a - 1), linea.substr(b + 1)});
      desde = coma + 1;
    }
  }
  return true;
}

bool conocido_es_de(const FalloConocido &conocido, const std::string &clave) {
  return clave == conocido.pagina;
}

FalloConocido *conocido_de(std::vector<FalloConocido> &conocidos, const std::string &clave,
                           const std::string &comprobacion) {
  for (FalloConocido &c : conocidos)
    if (c.comprobacion == comprobacion && conocido_es_de(c, clave)) return &c;
  return nullptr;
}

std::string clave_de(const std::string &camino, const std::string &raiz) {
  fs::path r = fs::path(raiz).lexically_normal();
  if (r.filename().empty()) r = r.parent_path();
  return (r.filename() / fs::path(camino).lexically_normal().lexically_relative(r)).string();
}

}  // namespace sitios
