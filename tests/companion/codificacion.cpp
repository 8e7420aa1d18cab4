// codificacion.cpp - tests of finding a page's encoding and of texts converted from and to it.

#include <cstring>

#include "companion/ayudas.h"

namespace {

using Codificacion = pruebas::Entorno;
constexpr uint32_t kEspanol = 0x0C0A, kRuso = 0x0419, kCoreano = 0x0412, kJapones = 0x0411;

// A block of longitud bytes (it may hold NULs) as a string, freed.
std::string toma_bloque(char *bloque, size_t longitud) {
  std::string r = bloque != nullptr ? std::string(bloque, longitud) : "<null>";
  cad_destruye(&bloque);
  return r;
}

std::string entre(std::string_view texto, const char *de, const char *a,
                  size_t *invalidos = nullptr) {
  size_t largo = 0;
  char *r = conv_entre_codificaciones_n(texto.data(), texto.size(), de, a, &largo, invalidos);
  return toma_bloque(r, largo);
}

// As a browser finds it: the mark, the declaration (XML first, then the prescan's META),
// binary data, valid UTF-8, the language's code page.
TEST_F(Codificacion, SeEncuentraComoLaEncuentraUnNavegador) {
  const std::string mucho(1100, 'x');
  constexpr auto BOM = CODIFICACION_POR_BOM, DECLARADA = CODIFICACION_DECLARADA,
                 UTF8 = CODIFICACION_POR_UTF8, IDIOMA = CODIFICACION_DEL_IDIOMA,
                 ILEGIBLE = CODIFICACION_ILEGIBLE;
  // clang-format off
  const struct { std::string pagina; uint32_t idioma; const char *nombre; origen_codificacion_t origen; uint32_t bom = 0; } casos[] = {
      {.pagina = "\xEF\xBB\xBF<meta charset=latin1>", .idioma = kEspanol, .nombre = "UTF-8", .origen = BOM, .bom = 3},
      {.pagina = "\xFF\xFE<\0p\0", .idioma = kEspanol, .nombre = "UTF-16LE", .origen = BOM, .bom = 2},
      {.pagina = "\xFE\xFF\0<", .idioma = kEspanol, .nombre = "UTF-16BE", .origen = BOM, .bom = 2},
      {.pagina = "<meta charset=\"ISO-8859-1\"><p>caf\xC3\xA9", .idioma = kRuso, .nombre = "windows-1252", .origen = DECLARADA},
      {.pagina = "<META HTTP-EQUIV=content-type CONTENT='text/html; charset=EUC-KR'>", .idioma = kEspanol, .nombre = "EUC-KR", .origen = DECLARADA},
      {.pagina = "<meta content=\"text/html; charset=gb2312\" http-equiv=\"Content-Type\">", .idioma = kEspanol, .nombre = "GBK", .origen = DECLARADA},
      // A content charset counts only with its http-equiv.
      {.pagina = "<meta content=\"charset=koi8-r\"><p>x", .idioma = kRuso, .nombre = "UTF-8", .origen = UTF8},
      {.pagina = "<?xml version=\"1.0\" encoding='Shift_JIS'?><meta charset=utf-8>", .idioma = kEspanol, .nombre = "Shift_JIS", .origen = DECLARADA},
      // Comments and other tags are passed over, quotes and all; an unknown label is.
      {.pagina = "<!-- <meta charset=koi8-r> --><a title='<meta charset=big5>'><meta charset=bogus><meta charset=\" KOI8-R\">", .idioma = kEspanol, .nombre = "KOI8-R", .origen = DECLARADA},
      // A UTF-16 label means UTF-8, x-user-defined windows-1252.
      {.pagina = "<meta charset=utf-16><p>caf\xE9", .idioma = kRuso, .nombre = "UTF-8", .origen = DECLARADA},
      {.pagina = "<meta charset=x-user-defined>", .idioma = kRuso, .nombre = "windows-1252", .origen = DECLARADA},
      {.pagina = "<meta charset=iso-2022-kr><p>a", .idioma = kEspanol, .nombre = "windows-1252", .origen = ILEGIBLE},
      // Beyond the first 1024 bytes no declaration counts.
      {.pagina = mucho + "<meta charset=koi8-r>caf\xE9", .idioma = kRuso, .nombre = "windows-1251", .origen = IDIOMA},
      {.pagina = "<p>\xEC\xA7\x80\xEC\x9B\x90", .idioma = kEspanol, .nombre = "UTF-8", .origen = UTF8},
      {.pagina = "<p>\xC1\xF6\xBF\xF8", .idioma = kCoreano, .nombre = "EUC-KR", .origen = IDIOMA},
      {.pagina = "<p>\xED\xA0\x80", .idioma = kJapones, .nombre = "Shift_JIS", .origen = IDIOMA},  // a surrogate is no valid UTF-8
      // UTF-16 without its mark, and binary data, are no text; a stray NUL is.
      {.pagina = std::string("<\0h\0t\0m\0l\0>\0", 12), .idioma = kEspanol, .nombre = "windows-1252", .origen = ILEGIBLE},
      {.pagina = std::string("\x01\x02\x03\x04 abcdefghijklmnopq", 22), .idioma = kEspanol, .nombre = "windows-1252", .origen = ILEGIBLE},
      {.pagina = std::string("<p>a\0b</p><p>0123456789</p>", 27), .idioma = kEspanol, .nombre = "UTF-8", .origen = UTF8},
  };
  // clang-format on
  for (const auto &caso : casos) {
    SCOPED_TRACE(caso.pagina.substr(0, 60));
    codificacion_pagina_t c;
    conv_detecta_codificacion(caso.pagina.data(), caso.pagina.size(), caso.idioma, &c);
    EXPECT_STREQ(c.nombre, caso.nombre);
    EXPECT_EQ(c.origen, caso.origen);
    EXPECT_EQ(c.bom, caso.bom);
    EXPECT_EQ(c.razon != nullptr, caso.origen == CODIFICACION_ILEGIBLE);
    EXPECT_EQ(c.compatible_ascii == CIERTO, std::string_view(c.nombre).substr(0, 6) != "UTF-16");
  }
  // A declared encoding that ICU cannot read is left aside, and said so.
  codificacion_pagina_t c;
  const std::string_view sin_tabla = "<meta charset=iso-8859-16><p>a";
  conv_detecta_codificacion(sin_tabla.data(), sin_tabla.size(), kEspanol, &c);
  EXPECT_STREQ(c.declarada, "ISO-8859-16");
  EXPECT_STREQ(c.nombre, "UTF-8");
  EXPECT_NE(c.razon, nullptr);
}

// Labels resolve as the Encoding standard resolves them; the page's declarations are
// found where they stand, to be rewritten.
TEST_F(Codificacion, EtiquetasYDeclaraciones) {
  const std::pair<const char *, const char *> etiquetas[] = {
      {" Latin1\t", "windows-1252"},    {"US-ASCII", "windows-1252"}, {"ks_c_5601-1987", "EUC-KR"},
      {"utf-16", "UTF-16LE"},           {"x-sjis", "Shift_JIS"},      {"big5-hkscs", "Big5"},
      {"ISO-8859-8-I", "ISO-8859-8-I"}, {"koi8-u", "KOI8-U"},         {"bogus", nullptr},
      {"replacement", nullptr},         {"utf 8", nullptr},           {"", nullptr}};
  for (const auto &[etiqueta, nombre] : etiquetas) {
    EXPECT_STREQ(conv_codificacion_de_etiqueta(etiqueta, std::strlen(etiqueta)), nombre)
        << etiqueta;
  }
  const std::string pagina =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<html><head><meta name=x content=y>"
      "<META http-equiv=\"Content-Type\" content=\"text/html; charset = latin1 ;\">";
  tramo_bytes_t tramos[3] = {};
  ASSERT_EQ(conv_declaraciones_de_codificacion(pagina.data(), pagina.size(), tramos, 3), 2u);
  EXPECT_EQ(pagina.substr(tramos[0].inicio, tramos[0].fin - tramos[0].inicio), "ISO-8859-1");
  EXPECT_EQ(pagina.substr(tramos[1].inicio, tramos[1].fin - tramos[1].inicio), "latin1");
  EXPECT_EQ(conv_declaraciones_de_codificacion("<p>x", 4, tramos, 3), 0u);
}

// Each legacy charset is read and written by the table browsers use: text to the page's bytes
// and back, the page's bytes to the host's code page (anfitrion) in one conversion and back.
TEST_F(Codificacion, CadaJuegoDeCaracteresIdaYVuelta) {
  // clang-format off
  const struct { const char *codificacion; std::string utf8, bytes; uint32_t idioma; std::string anfitrion; } casos[] = {
      {.codificacion = "EUC-KR", .utf8 = "suEXEC \xEC\xA7\x80\xEC\x9B\x90", .bytes = "suEXEC \xC1\xF6\xBF\xF8", .idioma = kCoreano, .anfitrion = "suEXEC \xC1\xF6\xBF\xF8"},
      {.codificacion = "EUC-KR", .utf8 = "\xEC\xA7\x80", .bytes = "\xC1\xF6", .idioma = kEspanol, .anfitrion = "&#51648;"},
      {.codificacion = "windows-1252", .utf8 = "Versi\xC3\xB3n \xE2\x82\xAC", .bytes = "Versi\xF3n \x80", .idioma = kEspanol, .anfitrion = "Versi\xF3n \x80"},
      {.codificacion = "ISO-8859-15", .utf8 = "\xE2\x82\xAC", .bytes = "\xA4", .idioma = kEspanol, .anfitrion = "\x80"},
      {.codificacion = "KOI8-R", .utf8 = "\xD0\x9C\xD0\xB8\xD1\x80", .bytes = "\xED\xC9\xD2", .idioma = kRuso, .anfitrion = "\xCC\xE8\xF0"},
      {.codificacion = "Shift_JIS", .utf8 = "\xE6\x97\xA5\xE6\x9C\xAC", .bytes = "\x93\xFA\x96\x7B", .idioma = kJapones, .anfitrion = "\x93\xFA\x96\x7B"},
      {.codificacion = "EUC-JP", .utf8 = "\xE6\x97\xA5\xE6\x9C\xAC", .bytes = "\xC6\xFC\xCB\xDC", .idioma = kJapones, .anfitrion = "\x93\xFA\x96\x7B"},
      {.codificacion = "GBK", .utf8 = "\xE4\xB8\xAD\xE6\x96\x87", .bytes = "\xD6\xD0\xCE\xC4", .idioma = 0x0804, .anfitrion = "\xD6\xD0\xCE\xC4"},
      {.codificacion = "Big5", .utf8 = "\xE4\xB8\xAD\xE6\x96\x87", .bytes = "\xA4\xA4\xA4\xE5", .idioma = 0x0404, .anfitrion = "\xA4\xA4\xA4\xE5"},
      {.codificacion = "windows-1251", .utf8 = "a\xC3\xB1", .bytes = "a&#241;", .idioma = kRuso, .anfitrion = "a&#241;"},
  };
  // clang-format on
  for (const auto &caso : casos) {
    SCOPED_TRACE(std::string(caso.codificacion) + " " + caso.utf8);
    EXPECT_EQ(entre(caso.utf8, "UTF-8", caso.codificacion), caso.bytes);
    if (caso.bytes.find('&') == std::string::npos) {
      EXPECT_EQ(entre(caso.bytes, caso.codificacion, "UTF-8"), caso.utf8);
    }
    size_t largo = 99, invalidos = 99;
    EXPECT_EQ(
        toma(conv_codificacion_a_ansi_html_n(caso.bytes.data(), caso.bytes.size(),
                                             caso.codificacion, caso.idioma, &largo, &invalidos)),
        caso.anfitrion);
    EXPECT_EQ(largo, caso.anfitrion.size());
    EXPECT_EQ(invalidos, 0u);
    if (caso.anfitrion.find('&') == std::string::npos) {
      EXPECT_EQ(toma(conv_ansi_idioma_a_codificacion_n(caso.anfitrion.c_str(), caso.idioma,
                                                       caso.codificacion, nullptr)),
                caso.bytes);
    }
  }
  // UTF-8 pages keep the fast road of conv_utf8_a_ansi_html, counting the invalid bytes.
  size_t invalidos = 0;
  EXPECT_EQ(toma(conv_codificacion_a_ansi_html_n("a\xE9\x62\xC3\xA9", 5, "UTF-8", kEspanol, nullptr,
                                                 &invalidos)),
            "a\xE9\x62\xE9");
  EXPECT_EQ(invalidos, 1u);
  EXPECT_EQ(
      toma(conv_codificacion_a_ansi_html_n("a\xC1", 2, "EUC-KR", kCoreano, nullptr, &invalidos)),
      "a&#65533;");
  EXPECT_EQ(invalidos, 1u);
}

// UTF-16 goes through UTF-8 and back byte for byte, unpaired surrogates included; an odd
// last byte is no character.
TEST_F(Codificacion, Utf16IdaYVueltaExacta) {
  const std::string le("a\0\xF1\0\x3D\xD8\x00\xDE\x00\xD8z\0", 12);  // a ñ 😀 lone-high z
  size_t invalidos = 99;
  const std::string utf8 = entre(le, "UTF-16LE", "UTF-8", &invalidos);
  EXPECT_EQ(utf8, "a\xC3\xB1\xF0\x9F\x98\x80\xED\xA0\x80z");
  EXPECT_EQ(invalidos, 0u);
  EXPECT_EQ(entre(utf8, "UTF-8", "UTF-16LE"), le);
  std::string be = le;
  for (size_t i = 0; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
  EXPECT_EQ(entre(utf8, "UTF-8", "UTF-16BE"), be);
  EXPECT_EQ(entre(be, "UTF-16BE", "UTF-8"), utf8);
  EXPECT_EQ(entre(std::string("a\0b", 3), "UTF-16LE", "UTF-8", &invalidos), "a\xEF\xBF\xBD");
  EXPECT_EQ(invalidos, 1u);
  EXPECT_EQ(entre("\xFF", "UTF-8", "UTF-16LE", &invalidos), std::string("\xFD\xFF", 2));
  EXPECT_EQ(invalidos, 1u);
  // ISO-2022-JP, which no markup can be read in, goes through UTF-8 too.
  const std::string jis = entre("\xE6\x97\xA5<", "UTF-8", "ISO-2022-JP");
  EXPECT_EQ(entre(jis, "ISO-2022-JP", "UTF-8"), "\xE6\x97\xA5<");
  EXPECT_EQ(conv_entre_codificaciones_n("a", 1, "UTF-8", "bogus", nullptr, nullptr), nullptr);
  EXPECT_EQ(cuenta_informes("(convertidor) != NULL"), 1u);
}

}  // namespace
