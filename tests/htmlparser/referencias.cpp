// referencias.cpp - character references read as a browser reads them.
#include "htmlparser/referencias.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "comun/entorno_pruebas.h"

namespace {

using Referencias = pruebas::Entorno;
using htmlparser::lee_referencia;

TEST_F(Referencias, LeeComoElNavegador) {
  // clang-format off
  const struct { std::string texto; size_t largo; char32_t uno = 0, dos = 0; bool atributo = false; } casos[] = {
    {.texto = "&ecirc;tre", .largo = 7, .uno = 0xEA},
    // The longest legacy name the text begins with, when the whole is no name.
    {.texto = "&notit;", .largo = 4, .uno = 0xAC}, {.texto = "&copy 2020", .largo = 5, .uno = 0xA9},
    {.texto = "&copy", .largo = 5, .uno = 0xA9, .atributo = true},
    // In a value, a legacy name that a letter, digit or '=' follows is no reference.
    {.texto = "&notit;", .largo = 0, .atributo = true},
    {.texto = "&copy=1", .largo = 0, .atributo = true}, {.texto = "&amp2", .largo = 0, .atributo = true},
    // Names without a legacy form need their ';'; unknown names are none.
    {.texto = "&hellip tre", .largo = 0}, {.texto = "&bogus;", .largo = 0},
    {.texto = "&Copy;", .largo = 0}, {.texto = "& x", .largo = 0}, {.texto = "&", .largo = 0},
    // Numbers, with or without ';', and the rules of the numbers a browser replaces.
    {.texto = "&#960;", .largo = 6, .uno = 0x3C0}, {.texto = "&#X3c0x", .largo = 6, .uno = 0x3C0},
    {.texto = "&#x;", .largo = 0}, {.texto = "&#;", .largo = 0},
    {.texto = "&#150;", .largo = 6, .uno = 0x2013}, {.texto = "&#x80;", .largo = 6, .uno = 0x20AC},
    {.texto = "&#x81;", .largo = 6, .uno = 0x81}, {.texto = "&#0;", .largo = 4, .uno = 0xFFFD},
    {.texto = "&#xD800;", .largo = 8, .uno = 0xFFFD}, {.texto = "&#x110000;", .largo = 10, .uno = 0xFFFD},
    {.texto = "&#99999999999999999999;", .largo = 23, .uno = 0xFFFD},
    {.texto = "&#x10FFFF;", .largo = 10, .uno = 0x10FFFF},
  };
  // clang-format on
  for (const auto &c : casos) {
    const htmlparser::referencia_html r = lee_referencia(c.texto, c.atributo);
    EXPECT_EQ(r.largo, c.largo) << c.texto;
    if (c.largo == 0) continue;
    EXPECT_EQ(r.puntos[0], c.uno) << c.texto;
    EXPECT_EQ(r.puntos[1], c.dos) << c.texto;
  }
  EXPECT_EQ(htmlparser::utf8_de_referencia(lee_referencia("&NotEqualTilde;", false)),
            "\xE2\x89\x82\xCC\xB8");
  EXPECT_EQ(htmlparser::utf8_de_referencia(lee_referencia("&#x1D538;", false)), "\xF0\x9D\x94\xB8");
  // A whole value: a legacy name before '=' stays, a '&' that begins none too.
  EXPECT_EQ(htmlparser::lee_referencias("a&amp;b?c&copy=1&#12501 & &d\xC3\xA9", true),
            "a&b?c&copy=1\xE3\x83\x95 & &d\xC3\xA9");
}

// Every line of the data file the table is made from reads as that line says.
TEST_F(Referencias, CadaLineaDelFichero) {
  std::ifstream fichero(LENGUAWEB_REFERENCIAS);
  ASSERT_TRUE(fichero) << LENGUAWEB_REFERENCIAS;
  const auto hex = [](char32_t c) {
    char cifras[16];
    std::snprintf(cifras, sizeof cifras, "%X", static_cast<unsigned>(c));
    return std::string(cifras);
  };
  size_t leidas = 0;
  for (std::string linea; std::getline(fichero, linea);) {
    if (linea.starts_with('#')) continue;
    const size_t tab = linea.find('\t');
    const std::string referencia = linea.substr(0, tab);
    const htmlparser::referencia_html r = lee_referencia(referencia, false);
    EXPECT_EQ(r.largo, referencia.size()) << referencia;
    EXPECT_EQ(linea.substr(tab + 1), hex(r.puntos[0]) + (r.puntos[1] ? " " + hex(r.puntos[1]) : ""))
        << referencia;
    ++leidas;
  }
  EXPECT_EQ(leidas, 2231u + 27u);
}

}  // namespace
