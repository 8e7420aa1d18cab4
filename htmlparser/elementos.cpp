/* elementos.cpp - the element and attribute tables, and finding an element by its name. */
#include "htmlparser/elementos.h"

#include "htmlparser/reglas_html.h"

namespace htmlparser {
namespace {

#include "elementos_tabla.inc"

constexpr size_t kNumElementos = std::size(kElementos);
static_assert(kNumElementos < 256, "an element's place fits a byte");
static_assert(kNumDeFrase == kNumElementosDeFrase);

constexpr bool en_mayusculas(std::string_view nombre) {
  for (char c : nombre)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  return !nombre.empty();
}
static_assert(
    [] {
      for (size_t i = 0; i < kNumElementos; ++i)
        if (!en_mayusculas(kElementos[i].nombre) ||
            (i > 0 && !(kElementos[i - 1].nombre < kElementos[i].nombre)))
          return false;
      return true;
    }(),
    "the elements' names are in capitals, sorted, each once");

constexpr size_t kLargoMaximo = [] {
  size_t n = 0;
  for (const elemento_html &e : kElementos) n = std::max(n, e.nombre.size());
  return n;
}();

// The elements by first letter and length: a name is compared only with the one or two
// names of both its own.
constexpr size_t clave_de(char letra, size_t largo) {
  return static_cast<size_t>(letra - 'A') * (kLargoMaximo + 1) + largo;
}
constexpr size_t kNumClaves = clave_de('Z', kLargoMaximo) + 1;
constexpr auto kDesdeClave = [] {
  std::array<uint8_t, kNumClaves + 1> desde{};
  for (const elemento_html &e : kElementos) ++desde[clave_de(e.nombre[0], e.nombre.size()) + 1];
  for (size_t k = 1; k < desde.size(); ++k)
    desde[k] = static_cast<uint8_t>(desde[k] + desde[k - 1]);
  return desde;
}();
constexpr auto kPorClave = [] {
  std::array<uint8_t, kNumElementos> lugares{};
  std::array<uint8_t, kNumClaves + 1> siguiente = kDesdeClave;
  for (size_t i = 0; i < kNumElementos; ++i)
    lugares[siguiente[clave_de(kElementos[i].nombre[0], kElementos[i].nombre.size())]++] =
        static_cast<uint8_t>(i);
  return lugares;
}();

// A name of up to eight letters as one number, its ASCII letters made capitals: the
// names of the table are compared with a tag's name as numbers, letter case ignored.
constexpr size_t kLargoEmpaquetado = 8;
constexpr uint64_t empaqueta(std::string_view nombre) {
  uint64_t n = 0;
  for (size_t k = 0; k < nombre.size(); ++k)
    n |= uint64_t{static_cast<uint8_t>(a_mayuscula(nombre[k]))} << (8 * k);
  return n;
}
constexpr auto kEmpaquetados = [] {
  std::array<uint64_t, kNumElementos> r{};
  for (size_t i = 0; i < kNumElementos; ++i)
    if (kElementos[i].nombre.size() <= kLargoEmpaquetado) r[i] = empaqueta(kElementos[i].nombre);
  return r;
}();

// The inline tags' names by bit, an end tag's with its '/', each in letters of its own.
constexpr size_t kLargoEnLinea = 8;
struct nombre_en_linea {
  char letras[kLargoEnLinea];
};
constexpr auto kLetrasEnLinea = [] {
  std::array<nombre_en_linea, kNumTagsEnLinea> r{};
  for (const elemento_html &e : kElementos) {
    if (e.bit_en_linea < 0) continue;
    auto &inicio = r[static_cast<size_t>(e.bit_en_linea)].letras;
    for (size_t k = 0; k < e.nombre.size(); ++k) inicio[k] = e.nombre[k];
    if (e.bit_fin_en_linea < 0) continue;
    auto &fin = r[static_cast<size_t>(e.bit_fin_en_linea)].letras;
    fin[0] = '/';
    for (size_t k = 0; k < e.nombre.size(); ++k) fin[k + 1] = e.nombre[k];
  }
  return r;
}();
static_assert(
    [] {
      size_t bits = 0;
      for (const elemento_html &e : kElementos) {
        if (e.bit_en_linea < 0) continue;
        if (e.nombre.size() + 1 >= kLargoEnLinea) return false;
        if (e.bit_fin_en_linea >= 0 && e.bit_fin_en_linea != e.bit_en_linea + 1) return false;
        bits += e.bit_fin_en_linea >= 0 ? 2 : 1;
      }
      for (const nombre_en_linea &n : kLetrasEnLinea)
        if (n.letras[0] == 0) return false;
      return bits == kNumTagsEnLinea;
    }(),
    "the inline bits are 0 to kNumTagsEnLinea - 1, each once, an end tag's right after its "
    "start tag's, and every name fits its letters");

constexpr auto kNombresDeCrudos = [] {
  std::array<std::string_view, static_cast<size_t>(elemento_crudo::noscript) + 1> r{};
  for (const elemento_html &e : kElementos)
    if (e.crudo != elemento_crudo::ninguno) r[static_cast<size_t>(e.crudo)] = e.nombre;
  return r;
}();
static_assert(
    [] {
      for (size_t k = 1; k < kNombresDeCrudos.size(); ++k)
        if (kNombresDeCrudos[k].empty()) return false;
      return kNombresDeCrudos[0].empty();
    }(),
    "every raw kind has its element, and only one");

}  // namespace

const std::array<std::string_view, kNumTagsEnLinea> kTagsEnLinea = [] {
  std::array<std::string_view, kNumTagsEnLinea> r{};
  for (size_t bit = 0; bit < kNumTagsEnLinea; ++bit) r[bit] = kLetrasEnLinea[bit].letras;
  return r;
}();

const elemento_html *busca_elemento(std::string_view nombre) {
  if (nombre.empty() || nombre.size() > kLargoMaximo || !es_letra_ascii(nombre[0])) return nullptr;
  const size_t clave = clave_de(a_mayuscula(nombre[0]), nombre.size());
  if (nombre.size() <= kLargoEmpaquetado) {
    const uint64_t buscado = empaqueta(nombre);
    for (size_t i = kDesdeClave[clave]; i < kDesdeClave[clave + 1]; ++i)
      if (kEmpaquetados[kPorClave[i]] == buscado) return &kElementos[kPorClave[i]];
    return nullptr;
  }
  for (size_t i = kDesdeClave[clave]; i < kDesdeClave[clave + 1]; ++i)
    if (nombre_es(nombre, kElementos[kPorClave[i]].nombre)) return &kElementos[kPorClave[i]];
  return nullptr;
}

std::span<const elemento_html> lista_de_elementos() {
  return kElementos;
}

std::string_view nombre_de_elemento(elemento_crudo crudo) {
  return kNombresDeCrudos[static_cast<size_t>(crudo)];
}

int bit_de_tag_en_linea(std::string_view nombre) {
  const bool cierre = nombre.starts_with('/');
  const elemento_html *e = busca_elemento(cierre ? nombre.substr(1) : nombre);
  if (e == nullptr) return -1;
  return cierre ? e->bit_fin_en_linea : e->bit_en_linea;
}

std::span<const atributo_traducible> lista_de_atributos_traducibles() {
  return kAtributos;
}

}  // namespace htmlparser
