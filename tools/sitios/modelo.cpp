// modelo.cpp - what a page should look like after each step, worked out apart from the library.
#include "modelo.h"

#include <algorithm>
#include <cstring>

namespace sitios {
namespace {

// Windows-1252 from 0x80 to 0x9F; the five bytes it leaves undefined stand for
// themselves, and 0xA0 to 0xFF are Latin-1.
constexpr char32_t k1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool es_continuacion(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at s[i], 0 when none begins there.
size_t largo_utf8(std::string_view s, size_t i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
  const unsigned char c = b(0);
  if (c < 0x80) return 1;
  size_t largo = 0;
  unsigned char minimo = 0x80, maximo = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    largo = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    largo = 3;
    if (c == 0xE0) minimo = 0xA0;
    if (c == 0xED) maximo = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    largo = 4;
    if (c == 0xF0) minimo = 0x90;
    if (c == 0xF4) maximo = 0x8F;
  } else {
    return 0;
  }
  if (i + largo > s.size() || b(1) < minimo || b(1) > maximo) return 0;
  for (size_t k = 2; k < largo; ++k)
    if (!es_continuacion(b(k))) return 0;
  return largo;
}

void pon_utf8(std::string &r, char32_t c) {
  if (c < 0x80) {
    r.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    r.push_back(static_cast<char>(0xC0 | (c >> 6)));
    r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    r.push_back(static_cast<char>(0xE0 | (c >> 12)));
    r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool empieza_sin_mayusculas(std::string_view s, std::string_view prefijo) {
  return s.size() >= prefijo.size() &&
         std::equal(prefijo.begin(), prefijo.end(), s.begin(), [](char a, char b) {
           return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
         });
}

}  // namespace

PaginaLeida pagina_descodifica(std::string_view bytes) {
  PaginaLeida r;
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t largo = largo_utf8(bytes, i);
    if (largo == 0) break;
    i += largo;
  }
  if (i == bytes.size()) {
    r.texto.assign(bytes);
    return r;
  }
  // Not UTF-8 throughout: decode every byte and keep where each one went.
  r.utf8 = false;
  r.texto.reserve(bytes.size() + bytes.size() / 2);
  r.a_texto.resize(bytes.size() + 1);
  for (i = 0; i < bytes.size();) {
    const size_t largo = largo_utf8(bytes, i);
    r.a_texto[i] = static_cast<uint32_t>(r.texto.size());
    if (largo > 0) {
      for (size_t k = 1; k < largo; ++k) r.a_texto[i + k] = r.a_texto[i];
      r.texto.append(bytes.substr(i, largo));
      i += largo;
      continue;
    }
    const auto c = static_cast<unsigned char>(bytes[i]);
    pon_utf8(r.texto, c < 0xA0 ? k1252[c - 0x80] : c);
    ++i;
  }
  r.a_texto[bytes.size()] = static_cast<uint32_t>(r.texto.size());
  return r;
}

PartesEnlace enlace_divide(std::string_view enlace) {
  PartesEnlace partes;
  std::string_view resto = enlace;
  constexpr std::string_view kHttp = "http://";
  if (empieza_sin_mayusculas(enlace, kHttp)) {
    resto.remove_prefix(kHttp.size());
    const size_t barra = resto.find('/');
    partes.dominio.assign(resto.substr(0, barra));
    resto.remove_prefix(partes.dominio.size());
  }
  if (resto.empty()) {
    partes.ruta = "/";
    return partes;
  }
  // The last '/' that is not the first character splits path from last component.
  const size_t ultima = resto.size() > 1 ? resto.find_last_of('/') : std::string_view::npos;
  const size_t p = ultima != std::string_view::npos && ultima > 0 ? ultima : 0;
  const bool hay_punto = resto.find('.', p + 1) != std::string_view::npos;
  if (resto[0] == '/' && !hay_punto) {
    partes.ruta.assign(resto);
  } else if (resto[0] != '/' && p == 0) {
    partes.nombre_fichero.assign(resto);
  } else {
    partes.ruta.assign(resto.substr(0, p + 1));
    partes.nombre_fichero.assign(resto.substr(p + 1));
  }
  if (partes.ruta.size() > 1 && partes.ruta.back() == '/') partes.ruta.pop_back();
  return partes;
}

std::string enlace_identificador(const PartesEnlace &partes) {
  std::string id = partes.dominio;
  const bool raiz_con_dominio = partes.ruta == "/" && !partes.dominio.empty();
  if (!partes.ruta.empty() && !raiz_con_dominio) id += "|" + partes.ruta;
  if (!partes.nombre_fichero.empty()) id += "|" + partes.nombre_fichero;
  return id;
}

std::string enlace_reconstruye(const PartesEnlace &partes) {
  std::string enlace = partes.dominio.empty() ? "" : "http://" + partes.dominio;
  enlace += partes.ruta;
  if (!partes.ruta.empty() && partes.ruta != "/") enlace += "/";
  return enlace + partes.nombre_fichero;
}

std::string valor_escrito(std::string_view valor, bool entre_comillas) {
  std::string r;
  const bool anade_comillas =
      !entre_comillas && valor.find_first_of(" \t\n\r\"'<>=`") != std::string_view::npos;
  if (anade_comillas) r.push_back('"');
  for (char c : valor) {
    if (c == '"')
      r += "&quot;";
    else if (c == '<')
      r += "&lt;";
    else if (c == '>')
      r += "&gt;";
    else
      r.push_back(c);
  }
  if (anade_comillas) r.push_back('"');
  return r;
}

size_t primera_diferencia(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  const auto d = std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin());
  const auto en = static_cast<size_t>(d.first - a.begin());
  return en == n && a.size() == b.size() ? std::string_view::npos : en;
}

std::string fragmento(std::string_view texto, size_t desde, size_t largo) {
  std::string r(texto.substr(std::min(desde, texto.size()), largo));
  for (char &c : r)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  return "\"" + r + "\"";
}

std::string muestra_diferencia(std::string_view esperado, std::string_view obtenido) {
  const size_t d = primera_diferencia(esperado, obtenido);
  if (d == std::string_view::npos) return {};
  const size_t desde = d > 40 ? d - 40 : 0;
  return "differs at byte " + std::to_string(d) + ": expected " + fragmento(esperado, desde, 120) +
         ", obtained " + fragmento(obtenido, desde, 120);
}

}  // namespace sitios
