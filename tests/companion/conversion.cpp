// conversion.cpp - tests of code pages, finding a page's encoding, text conversions, narrowing.

#include <cstring>

#include "companion/ayudas.h"

namespace {

using Conversion = pruebas::Entorno;
constexpr uint32_t kEspanol = 0x0C0A, kRuso = 0x0419, kGriego = 0x0408, kJapones = 0x0411,
                   kCoreano = 0x0412;

// The conversions over a stretch, checking the length they give back.
std::string a_ansi(std::string_view t, uint32_t idioma) {
  size_t largo = 99;
  const std::string r = toma(conv_utf8_a_ansi_html_n(t.data(), t.size(), idioma, &largo));
  EXPECT_EQ(largo, r.size());
  return r;
}
std::string a_utf8(std::string_view t, uint32_t idioma) {
  size_t largo = 99;
  const std::string r = toma(conv_ansi_idioma_a_utf8_n(std::string(t).c_str(), idioma, &largo));
  EXPECT_EQ(largo, r.size());
  return r;
}

// One text per code page, with characters where Microsoft's tables differ from others
// (932's wave dash and NEC circled digit, 936's euro, 950's hyphenation point, 949's
// extended Hangul): the wrong ICU table would fail here.
// clang-format off
const std::tuple<uint32_t, std::string, std::string> kPaginas[] = {
    {kEspanol, "\u00bfqu\u00e9? \u20ac", "\xbfqu\xe9? \x80"}, {kRuso, "\u041c\u0438\u0440 \u0401", "\xcc\xe8\xf0 \xa8"},
    {kGriego, "\u039a\u03b1\u03bb\u03ad", "\xca\xe1\xeb\xdd"}, {kJapones, "\u65e5\uff5e\uff3c\u2460", "\x93\xfa\x81`\x81_\x87@"},
    {0x0405, "\u010ce\u0161", "\xc8\x65\x9a"}, {0x041F, "Do\u011fru", "Do\xf0ru"},
    {0x040D, "\u05e9\u05dc", "\xf9\xec"}, {0x0429, "\u0639 \u067e", "\xda \x81"},
    {0x0427, "\u0105\u017e", "\xe0\xfe"}, {0x042A, "\u00ea\u0111\u01b0", "\xea\xf0\xfd"},
    {0x041E, "\u0e20\u0e32 \u20ac", "\xc0\xd2 \x80"}, {0x0804, "\u4e2d \u20ac", "\xd6\xd0 \x80"},
    {0x0404, "\u4e2d\u2027", "\xa4\xa4\xa1\x45"}, {0x0412, "\uac01\uac02", "\xb0\xa2\x81\x41"},
};
// clang-format on

// Pure-ASCII texts may be copied without ICU only where ICU itself maps ASCII one to
// one: followed by a character that forces the way through ICU, they must come out alike.
TEST_F(Conversion, IdaYVueltaPorCadaPagina) {
  std::string ascii;
  for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
  for (const auto &[idioma, utf8, pagina] : kPaginas) {
    SCOPED_TRACE(idioma);
    EXPECT_EQ(a_ansi(utf8, idioma), pagina);
    EXPECT_EQ(a_utf8(pagina, idioma), utf8);
    EXPECT_EQ(a_ansi(ascii + "\u00e9", idioma).substr(0, 127), a_ansi(ascii, idioma));
    EXPECT_EQ(a_utf8(ascii + "\xc0", idioma).substr(0, 127), a_utf8(ascii, idioma));
    // What callers are told about skipping the conversion is what ICU does.
    EXPECT_EQ(conv_ascii_sin_cambios(idioma) == CIERTO,
              a_ansi(ascii + "\u00e9", idioma).substr(0, 127) == ascii &&
                  a_utf8(ascii + "\xc0", idioma).substr(0, 127) == ascii);
  }
  // Every byte of each one-byte page, among ASCII and alone, reads as ICU reads it through
  // the encoding of the same name (such a page is read from a table of its own, not through
  // ICU; the encodings of the other pages are not their code pages).
  std::string bytes;
  for (int c = 1; c < 0x100; ++c) bytes += {static_cast<char>(c), 'a', static_cast<char>(c)};
  for (const auto &[idioma, utf8, pagina] : kPaginas) {
    SCOPED_TRACE(idioma);
    if (!std::string_view(conv_codificacion_de_idioma(idioma)).starts_with("windows-")) continue;
    EXPECT_EQ(a_utf8(bytes, idioma),
              toma(conv_entre_codificaciones_n(bytes.data(), bytes.size(),
                                               conv_codificacion_de_idioma(idioma), "UTF-8",
                                               nullptr, nullptr)));
  }
  // ICU's 932 exchanges three controls; a pure-ASCII text gets the same, and comes back.
  EXPECT_EQ(a_ansi("\x1a\x1c\x7f", kJapones), "\x7f\x1a\x1c");
  EXPECT_EQ(a_utf8("\x7f\x1a\x1c", kJapones), "\x1a\x1c\x7f");
  EXPECT_TRUE(informes().empty()) << "a converter failed to open";
}

TEST_F(Conversion, CaracteresQueFaltanYBytesQueNoSon) {
  using Conversor = std::string (*)(std::string_view, uint32_t);
  // clang-format off
  const std::tuple<Conversor, std::string_view, uint32_t, std::string> casos[] = {
      // A character that the page lacks is one reference, even beyond the BMP or ignorable.
      {a_ansi, "\u00e1 \u0434\u0430", kRuso, "&#225; \xe4\xe0"}, {a_ansi, "x\U0001F600z", kEspanol, "x&#128512;z"},
      {a_ansi, "a\u200bb\u202a", kEspanol, "a&#8203;b&#8234;"},
      // Bytes that are not UTF-8 are their Windows-1252 characters, then go into the page.
      {a_ansi, "\xe9\x80", kRuso, "&#233;\x88"}, {a_ansi, "caf\xe9 \x80", kEspanol, "caf\xe9 \x80"},
      // A stretch ends at its length, even inside a sequence, or at a NUL.
      {a_ansi, std::string_view("h\xc3\xa9llo<b>", 6), kEspanol, "h\xe9llo"},
      {a_ansi, std::string_view("ab\xc3\xa9", 3), kEspanol, "ab\xc3"}, {a_ansi, std::string_view("a\0b", 3), kEspanol, "a"},
      // A byte that the page does not define is U+FFFD (ICU's own would be U+001A), even a lead
      // byte cut at the end or without its trail; 0x81 is one that ICU defines in 1252.
      {a_utf8, "\xa0", kJapones, "\ufffd"}, {a_utf8, "x\x81", kJapones, "x\ufffd"},
      {a_utf8, "\x81 y", kJapones, "\ufffd y"}, {a_utf8, "\x81", kEspanol, "\u0081"},
  };
  // clang-format on
  for (const auto &[convierte, texto, idioma, esperado] : casos)
    EXPECT_EQ(convierte(texto, idioma), esperado) << texto;
}

TEST_F(Conversion, ByteQueNoEsUtf8EsSuCaracterWindows1252) {
  const std::pair<std::string, std::u16string> casos[] = {
      {"\xe2\x82z", u"\u00e2\u201az"},                              // a cut three-byte sequence
      {"\xc0\xaf", u"\u00c0\u00af"},                                // overlong '/'
      {"\xe0\x80\xaf", u"\u00e0\u20ac\u00af"},                      // overlong, in three bytes
      {"\xed\xa0\x80", u"\u00ed\u00a0\u20ac"},                      // a surrogate's code
      {"\xf4\x90\x80\x80", u"\u00f4\u0090\u20ac\u20ac"},            // above U+10FFFF
      {"\xf0\x9f\x98", u"\u00f0\u0178\u02dc"},                      // cut at the end
      {"\x81\x8d\x8f\x90\x9d", u"\u0081\u008d\u008f\u0090\u009d"},  // undefined in 1252
      {"\xf0\x9f\x98\x80\xc3\xa9\xe9", u"\U0001F600\u00e9\u00e9"},
  };
  for (const auto &[bytes, caracteres] : casos) {
    EXPECT_EQ(toma(conv_utf8_a_wcad(bytes.c_str())), caracteres) << bytes;
    EXPECT_EQ(a_ansi(bytes, kEspanol),
              a_ansi(toma(conv_wcad_a_utf8(caracteres.c_str())), kEspanol));
  }
}

TEST_F(Conversion, TextosAnchosYNulos) {
  // A high surrogate without its low, a low without its high, a high at the end.
  // clang-format off
  const std::pair<std::u16string, std::string> casos[] = {
      {u"x\U0001F600z\u00e9\u4e2d", "x\xf0\x9f\x98\x80z\xc3\xa9\xe4\xb8\xad"},
      {{u'x', char16_t(0xD83D), u'z'}, "x\ufffdz"}, {{u'x', char16_t(0xDE00), u'z'}, "x\ufffdz"},
      {{u'x', char16_t(0xD83D)}, "x\ufffd"}, {{char16_t(0xDE00), char16_t(0xD83D), u'z'}, "\ufffd\ufffdz"},
  };
  // clang-format on
  for (const auto &[ancho, utf8] : casos) EXPECT_EQ(toma(conv_wcad_a_utf8(ancho.c_str())), utf8);
  EXPECT_EQ(toma(conv_utf8_a_ansi_html(nullptr, kEspanol)), "");
  EXPECT_EQ(toma(conv_ansi_idioma_a_utf8(nullptr, kJapones)), "");
  EXPECT_EQ(toma(conv_utf8_a_wcad(nullptr)), u"");
  EXPECT_EQ(toma(conv_wcad_a_utf8(nullptr)), "");
}

// Texts longer than one conversion step, and outputs longer than any first estimate.
TEST_F(Conversion, TextosLargosYMuchosPequenos) {
  std::string emojis, referencias, japones, shift_jis, thai;
  std::u16string ancho;
  for (int i = 0; i < 10000; ++i) {
    emojis += "\U0001F600\xe9", referencias += "&#128512;\xe9", thai += "\u0e20\u0e20\u0e20";
    japones += "\u65e5\u672c a", shift_jis += "\x93\xfa\x96{ a", ancho += u"\U0001F600\u4e2d";
  }
  EXPECT_EQ(a_ansi(emojis, kEspanol), referencias);
  EXPECT_EQ(a_ansi(japones, kJapones), shift_jis);
  EXPECT_EQ(a_utf8(shift_jis, kJapones), japones);
  EXPECT_EQ(a_utf8(std::string(30000, '\xc0'), 0x041E), thai);
  EXPECT_EQ(toma(conv_utf8_a_wcad(toma(conv_wcad_a_utf8(ancho.c_str())).c_str())), ancho);
}

// Threads that share code pages: each has converters of its own.
TEST_F(Conversion, VariosHilosALaVez) {
  std::atomic<int> fallos{0};
  std::vector<std::thread> hilos;
  for (int h = 0; h < 4; ++h)
    hilos.emplace_back([&fallos, h] {
      const auto &[idioma, utf8, pagina] = kPaginas[h % 2 ? 1 : 3];  // Russian or Japanese
      for (int i = 0; i < 2000; ++i)
        fallos += a_utf8(a_ansi(utf8 + "\U0001F600", idioma), idioma) != utf8 + "&#128512;";
    });
  for (auto &h : hilos) h.join();
  EXPECT_EQ(fallos.load(), 0);
}

using Codificacion = pruebas::Entorno;

// The converted bytes (they may hold NULs) as a string, freed.
std::string entre(std::string_view texto, const char *de, const char *a,
                  size_t *invalidos = nullptr) {
  size_t largo = 0;
  char *r = conv_entre_codificaciones_n(texto.data(), texto.size(), de, a, &largo, invalidos);
  const std::string bytes = r != nullptr ? std::string(r, largo) : "<null>";
  cad_destruye(&r);
  return bytes;
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

// A thread keeps a few encodings open: one more replaces the one used longest ago, never
// one that the conversion asking for it holds. Here UTF-8 is the oldest opened when Big5
// comes, but the one just used (on a fresh thread, so that nothing else is open).
TEST_F(Codificacion, UnaConversionConservaSusDosConvertidores) {
  std::thread([] {
    for (const char *otra : {"KOI8-R", "ISO-8859-2", "ISO-8859-5", "EUC-JP", "GBK"})
      EXPECT_EQ(entre("abc", "UTF-8", otra), "abc");
    EXPECT_EQ(entre("\xE4\xB8\xAD\xE6\x96\x87", "UTF-8", "Big5"), "\xA4\xA4\xA4\xE5");
  }).join();
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

using Memoria = pruebas::Entorno;

// A value that does not fit is reported (informe, null for none) and narrowed to the nearest
// value that does.
TEST_F(Memoria, EstrecharSaturaEInformaLoQueNoCabe) {
  using Estrecha = uint32_t (*)(int64_t);
  const Estrecha long_a_ulong = [](int64_t v) { return conv_long_a_ulong(int32_t(v)); };
  const Estrecha int_a_ushort = [](int64_t v) -> uint32_t { return conv_int_a_ushort(int(v)); };
  const Estrecha ulong_a_ushort = [](int64_t v) -> uint32_t {
    return conv_ulong_a_ushort(uint32_t(v));
  };
  // clang-format off
  const struct { Estrecha estrecha; int64_t valor; uint32_t esperado; const char *informe; } casos[] = {
      {long_a_ulong, -1, 0, "(valor) >= 0"}, {long_a_ulong, INT32_MAX, INT32_MAX, nullptr},
      {int_a_ushort, -1, 0, "(valor) >= 0"}, {int_a_ushort, 65535, 65535, nullptr},
      {int_a_ushort, 65536, 65535, "(valor) <= USHRT_MAX"}, {ulong_a_ushort, 65535, 65535, nullptr},
      {ulong_a_ushort, UINT32_MAX, 65535, "(valor) <= USHRT_MAX"},
  };
  // clang-format on
  for (const auto &caso : casos) {
    SCOPED_TRACE(caso.valor);
    olvida_informes();
    EXPECT_EQ(caso.estrecha(caso.valor), caso.esperado);
    EXPECT_EQ(condiciones(), caso.informe != nullptr ? caso.informe : "");
    for (const auto &i : informes()) EXPECT_EQ(i.modulo, "companion");
  }
}

}  // namespace
