// elementos.cpp - the element and attribute tables as the readers of a page need them.
#include "htmlparser/elementos.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "htmlparser/reglas_html.h"

namespace htmlparser {
namespace {

bool sin_minusculas(std::string_view s) {
  return s.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string_view::npos;
}

// Facts of one element that both segmentations, the rebuild and the escaping rely on
// together: a slip in one column of the data file breaks one of them.
TEST(Elementos, LasColumnasConcuerdan) {
  for (const elemento_html &e : lista_de_elementos()) {
    // A classic inline tag runs a text on in the block segmentation too.
    EXPECT_TRUE(e.bit_en_linea < 0 || e.frase >= 0) << e.nombre;
    // Raw or preformatted content is never inside a running text, and holds something.
    if (e.crudo != elemento_crudo::ninguno || e.preformateado) {
      EXPECT_LT(e.frase, 0) << e.nombre;
      EXPECT_FALSE(e.vacio) << e.nombre;
    }
    EXPECT_EQ(busca_elemento(e.nombre), &e) << e.nombre;
  }
}

TEST(Elementos, SeBuscaPorNombreEntero) {
  // clang-format off
  const struct { std::string_view nombre, hallado = {}; } casos[] = {
      {.nombre = "strong", .hallado = "STRONG"}, {.nombre = "bLoCkQuOtE", .hallado = "BLOCKQUOTE"},
      {.nombre = "h1", .hallado = "H1"}, {.nombre = "Q", .hallado = "Q"},
      {.nombre = "STRON"}, {.nombre = "STRONGS"}, {.nombre = "/B"}, {.nombre = ""},
      {.nombre = "1B"}, {.nombre = "DIVISION"}, {.nombre = "Z"}, {.nombre = "\xC3\x89M"},
  };
  // clang-format on
  for (const auto &c : casos) {
    const elemento_html *e = busca_elemento(c.nombre);
    EXPECT_EQ(e == nullptr ? std::string_view() : e->nombre, c.hallado) << c.nombre;
  }
}

TEST(Elementos, CadaTagEnLineaTieneSuBit) {
  for (size_t bit = 0; bit < kNumTagsEnLinea; ++bit) {
    EXPECT_EQ(bit_de_tag_en_linea(kTagsEnLinea[bit]), static_cast<int>(bit));
    EXPECT_EQ(bit_de_tag_en_linea(en_minusculas(kTagsEnLinea[bit])), static_cast<int>(bit));
  }
  // BR's end tag breaks a classic text, as any tag not listed.
  for (const char *tag : {"/BR", "/", "SPAN"}) EXPECT_EQ(bit_de_tag_en_linea(tag), -1) << tag;
}

// The attribute file: names in capitals, condition values in lower case (compared so by the
// check), and no two lines for one attribute under one condition.
TEST(Elementos, AtributosSinAmbiguedad) {
  std::set<std::tuple<std::string_view, std::string_view, std::string_view, std::string_view>>
      vistos;
  for (const atributo_traducible &a : lista_de_atributos_traducibles()) {
    EXPECT_TRUE(sin_minusculas(a.nombre) && sin_minusculas(a.clave)) << a.nombre;
    EXPECT_EQ(en_minusculas(a.valor), a.valor) << a.nombre;
    EXPECT_EQ(a.clave.empty(), a.valor.empty()) << a.nombre;
    EXPECT_TRUE(a.elemento == "*" || busca_elemento(a.elemento)->atributos_propios) << a.elemento;
    EXPECT_TRUE(vistos.emplace(a.elemento, a.nombre, a.clave, a.valor).second)
        << a.elemento << " " << a.nombre;
  }
  // An attribute that any element gives is nobody's own.
  for (const atributo_traducible &a : lista_de_atributos_traducibles())
    for (const atributo_traducible &b : lista_de_atributos_traducibles())
      EXPECT_TRUE(a.elemento != "*" || b.elemento == "*" || b.nombre != a.nombre)
          << b.elemento << " " << b.nombre;
}

}  // namespace
}  // namespace htmlparser
