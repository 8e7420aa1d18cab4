// copias.cpp - legacy-charset copies of real pages: transcoded, their declaration made to match.
#include "copias.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "lectura_navegador.h"
#include "pagina.h"
#include "privado/ascii.h"

namespace fs = std::filesystem;

namespace sitios {
namespace {

// A charset, the label its copies declare, and the languages whose pages it writes.
struct Juego {
  const char *encoding;
  const char *etiqueta;
  std::vector<uint32_t> idiomas;
};

const Juego kJuegos[] = {
    {"windows-1252", "windows-1252", {0x0C0A, 0x0407}},  // Spanish, German
    {"ISO-8859-15", "ISO-8859-15", {0x040C}},            // French: œ and €
    {"KOI8-R", "KOI8-R", {0x0419}},                      // Russian
    {"Shift_JIS", "Shift_JIS", {0x0411}},                // Japanese
    {"EUC-JP", "EUC-JP", {0x0411}},
    {"GBK", "GB2312", {0x0804}},               // Simplified Chinese
    {"Big5", "Big5", {0x0404}},                // Traditional Chinese
    {"UTF-16LE", "utf-16", {0x0409, 0x0412}},  // English, Korean
};

size_t busca_sin_mayusculas(std::string_view texto, std::string_view que, size_t desde) {
  for (size_t p = desde; p + que.size() <= texto.size(); ++p) {
    size_t i = 0;
    while (i < que.size() && a_minuscula(texto[p + i]) == que[i]) ++i;
    if (i == que.size()) return p;
  }
  return std::string_view::npos;
}

// The label that follows "=" at i, blanks and a quote skipped: where it begins and ends.
std::pair<size_t, size_t> valor_tras(std::string_view t, size_t i) {
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  if (i >= t.size() || t[i] != '=') return {0, 0};
  ++i;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  const bool comilla = i < t.size() && (t[i] == '"' || t[i] == '\'');
  if (comilla) ++i;
  size_t fin = i;
  while (fin < t.size() && t[fin] != '"' && t[fin] != '\'' && t[fin] != ';' && t[fin] != '>' &&
         t[fin] != ' ' && t[fin] != '/' && t[fin] != '?')
    ++fin;
  return {i, fin};
}

}  // namespace

std::string copia_declara(std::string_view texto, std::string_view etiqueta) {
  const std::string_view primeros = texto.substr(0, 1024);
  std::vector<std::pair<size_t, size_t>> tramos;
  if (primeros.substr(0, 5) == "<?xml") {
    const size_t fin = primeros.find("?>");
    const size_t p = primeros.substr(0, fin).find("encoding");
    if (p != std::string_view::npos) tramos.push_back(valor_tras(primeros, p + 8));
  }
  for (size_t p = busca_sin_mayusculas(primeros, "charset", 0); p != std::string_view::npos;
       p = busca_sin_mayusculas(primeros, "charset", p + 7))
    if (const auto tramo = valor_tras(primeros, p + 7); tramo.second > tramo.first)
      tramos.push_back(tramo);
  std::string r(texto);
  if (tramos.empty()) {
    size_t en = busca_sin_mayusculas(primeros, "<head", 0);
    if (en == std::string_view::npos && busca_sin_mayusculas(primeros, "<!doctype", 0) == 0) en = 0;
    en = en == std::string_view::npos ? 0 : r.find('>', en) + 1;
    r.insert(en, "<meta charset=\"" + std::string(etiqueta) + "\">");
    return r;
  }
  // From the last, so that the earlier places hold.
  std::sort(tramos.begin(), tramos.end());
  for (auto t = tramos.rbegin(); t != tramos.rend(); ++t)
    r.replace(t->first, t->second - t->first, etiqueta);
  return r;
}

bool copias_haz(const std::vector<PaginaDeSitio> &paginas, size_t cuantas,
                const std::string &carpeta, std::vector<PaginaDeSitio> *hechas,
                std::string *error) {
  for (const Juego &juego : kJuegos) {
    std::vector<const PaginaDeSitio *> aptas;
    for (const PaginaDeSitio &p : paginas)
      if (std::find(juego.idiomas.begin(), juego.idiomas.end(), p.idioma) != juego.idiomas.end())
        aptas.push_back(&p);
    const size_t n = std::min(cuantas, aptas.size());
    for (size_t k = 0; k < n; ++k) {
      const PaginaDeSitio &fuente = *aptas[(2 * k + 1) * aptas.size() / (2 * n)];
      const PaginaLeida leida = pagina_lee(lee_fichero(fuente.camino), fuente.idioma);
      std::string bytes;
      if (!leida.error.empty() || !codificacion_escribe(copia_declara(leida.texto, juego.etiqueta),
                                                        juego.encoding, &bytes, error)) {
        if (error->empty()) *error = fuente.camino + ": " + leida.error;
        return false;
      }
      const fs::path destino = fs::path(carpeta) / juego.etiqueta / fuente.clave;
      std::error_code ec;
      fs::create_directories(destino.parent_path(), ec);
      std::ofstream f(destino, std::ios::binary);
      f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (ec || !f) {
        *error = destino.string() + ": cannot be written";
        return false;
      }
      hechas->push_back({destino.string(), fuente.raiz, fuente.idioma,
                         std::string(juego.etiqueta) + "/" + fuente.clave});
    }
  }
  return true;
}

}  // namespace sitios
