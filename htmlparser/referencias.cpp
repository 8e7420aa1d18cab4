/* referencias.cpp - character references as a browser reads them. */
#include "htmlparser/referencias.h"

#include <algorithm>
#include <cstdint>

#include "companion/companion.h"

namespace htmlparser {
namespace {

struct referencia_con_nombre {
  std::string_view nombre; /* without its '&'; with its ';' when written so */
  char32_t puntos[2];
};
struct windows_1252 {
  uint8_t byte;
  char32_t punto;
};

#include "referencias_tabla.inc"

static_assert(kNumReferenciasConNombre == 2231);
/* The longest name of the table (con_punto_y_coma), or the longest written without its
 * ';' (all of them Latin-1's and amp, lt, gt, quot). */
constexpr size_t largo_maximo(bool con_punto_y_coma) {
  size_t n = 0;
  for (const referencia_con_nombre &e : kReferenciasConNombre)
    if (e.nombre.ends_with(';') == con_punto_y_coma) n = std::max(n, e.nombre.size());
  return n;
}
constexpr size_t kLargoMaximo = largo_maximo(true); /* ';' included */
constexpr size_t kLargoLegado = largo_maximo(false);

constexpr bool es_cifra(char c) {
  return c >= '0' && c <= '9';
}
constexpr bool es_alfanumerico(char c) {
  return es_cifra(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

const referencia_con_nombre *busca(std::string_view nombre) {
  const auto *fin = std::end(kReferenciasConNombre);
  const auto *r = std::lower_bound(
      std::begin(kReferenciasConNombre), fin, nombre,
      [](const referencia_con_nombre &a, std::string_view b) { return a.nombre < b; });
  return r != fin && r->nombre == nombre ? r : nullptr;
}

referencia_html numerica(std::string_view t) {
  size_t i = 2;
  const bool hex = i < t.size() && (t[i] == 'x' || t[i] == 'X');
  if (hex) ++i;
  const size_t inicio = i;
  uint32_t valor = 0;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    const int cifra = es_cifra(c)                                     ? c - '0'
                      : hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10
                                                                      : -1;
    if (cifra < 0) break;
    // Past U+10FFFF the number only has to stay past it.
    valor = std::min<uint32_t>(valor * (hex ? 16 : 10) + static_cast<uint32_t>(cifra), 0x110000);
  }
  if (i == inicio) return {};
  referencia_html r;
  r.largo = i < t.size() && t[i] == ';' ? i + 1 : i;
  if (valor == 0 || valor > 0x10FFFF || (valor >= 0xD800 && valor < 0xE000)) valor = 0xFFFD;
  for (const windows_1252 &w : kWindows1252)
    if (w.byte == valor) valor = w.punto;
  r.puntos[0] = valor;
  return r;
}

}  // namespace

referencia_html lee_referencia(std::string_view t, bool en_atributo) {
  if (t.size() < 2 || t[0] != '&') return {};
  if (t[1] == '#') return numerica(t);
  size_t fin = 1;
  while (fin < t.size() && fin <= kLargoMaximo && es_alfanumerico(t[fin])) ++fin;
  const std::string_view nombre = t.substr(1, fin - 1);
  if (nombre.empty()) return {};
  const auto hallada = [](const referencia_con_nombre *e, size_t largo) {
    referencia_html r;
    r.largo = largo;
    r.puntos[0] = e->puntos[0];
    r.puntos[1] = e->puntos[1];
    r.con_nombre = true;
    return r;
  };
  if (fin < t.size() && t[fin] == ';')
    if (const referencia_con_nombre *e = busca(t.substr(1, fin))) return hallada(e, fin + 1);
  // Without its ';': the longest legacy name the text begins with.
  for (size_t n = std::min(nombre.size(), kLargoLegado); n > 0; --n) {
    const referencia_con_nombre *e = busca(nombre.substr(0, n));
    if (e == nullptr) continue;
    const char siguiente = n + 1 < t.size() ? t[n + 1] : ';';
    if (en_atributo && (es_alfanumerico(siguiente) || siguiente == '=')) return {};
    return hallada(e, n + 1);
  }
  return {};
}

std::string utf8_de_referencia(const referencia_html &referencia) {
  // As UTF-16 (a reference never stands for a surrogate), through the companion's UTF-8.
  char16_t unidades[5] = {};
  size_t n = 0;
  for (char32_t c : referencia.puntos) {
    if (c == 0) break;
    if (c < 0x10000) {
      unidades[n++] = static_cast<char16_t>(c);
    } else {
      unidades[n++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      unidades[n++] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  char *utf8 = conv_wcad_a_utf8(unidades);
  std::string r = utf8 != nullptr ? utf8 : "";
  cad_destruye(&utf8);
  return r;
}

std::string lee_referencias(std::string_view texto, bool en_atributo) {
  std::string r;
  r.reserve(texto.size());
  for (size_t i = 0; i < texto.size();) {
    const size_t amp = texto.find('&', i);
    r.append(texto.substr(i, amp - i));
    if (amp == std::string_view::npos) break;
    const referencia_html ref = lee_referencia(texto.substr(amp), en_atributo);
    if (ref.largo == 0) {
      r.push_back('&');
      i = amp + 1;
      continue;
    }
    r += utf8_de_referencia(ref);
    i = amp + ref.largo;
  }
  return r;
}

}  // namespace htmlparser
