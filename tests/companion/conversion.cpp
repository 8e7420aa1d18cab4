// conversion.cpp - tests of the code pages of languages and of the text conversions.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using Conversion = pruebas::Entorno;

// Runs a conversion and hands back its result as a string, freeing the companion's text.
template <class T, class F>
std::basic_string<T> libera_tras(T *texto, F destruye) {
  std::basic_string<T> r = texto;
  destruye(&texto);
  return r;
}
std::string a_ansi(const std::string &t, uint32_t idioma) {
  return libera_tras(conv_utf8_a_ansi_html(t.c_str(), idioma), cad_destruye);
}
std::string a_utf8(const std::string &t, uint32_t idioma) {
  return libera_tras(conv_ansi_idioma_a_utf8(t.c_str(), idioma), cad_destruye);
}
std::u16string a_wcad(const std::string &t) {
  return libera_tras(conv_utf8_a_wcad(t.c_str()), wcad_destruye);
}
std::string de_wcad(const std::u16string &t) {
  return libera_tras(conv_wcad_a_utf8(t.c_str()), cad_destruye);
}

constexpr uint32_t kEspanol = 0x0C0A, kRuso = 0x0419, kGriego = 0x0408, kJapones = 0x0411;

TEST_F(Conversion, PaginaDeCodigosDeCadaIdioma) {
  const struct {
    uint32_t idioma, pagina;
  } casos[] = {
      // clang-format off
      // Spanish, English, none, an unknown primary language.
      {0x0C0A, 1252}, {0x0409, 1252}, {0, 1252}, {0x03FF, 1252},
      // Czech, Polish, Croatian, Serbian Latin, Bosnian Latin.
      {0x0405, 1250}, {0x0415, 1250}, {0x041A, 1250}, {0x081A, 1250}, {0x141A, 1250},
      // Serbian Cyrillic (two countries), Bosnian Cyrillic, Russian, Kazakh, Mongolian.
      {0x0C1A, 1251}, {0x281A, 1251}, {0x201A, 1251}, {0x0419, 1251}, {0x043F, 1251},
      {0x0450, 1251},
      // Greek; Turkish, Azeri and Uzbek Latin; their Cyrillic forms; Hebrew.
      {0x0408, 1253}, {0x041F, 1254}, {0x042C, 1254}, {0x0443, 1254}, {0x082C, 1251},
      {0x0843, 1251}, {0x040D, 1255},
      // Arabic (two countries), Farsi, Urdu; Baltic; Vietnamese; Thai.
      {0x0401, 1256}, {0x0C01, 1256}, {0x0429, 1256}, {0x0420, 1256}, {0x0427, 1257},
      {0x0426, 1257}, {0x042A, 1258}, {0x041E, 874},
      // Japanese, also as an LCID with a sort order; Chinese of China, Singapore, Taiwan,
      // Hong Kong; Korean.
      {0x0411, 932}, {0x00040411, 932}, {0x0804, 936}, {0x1004, 936}, {0x0404, 950},
      {0x0C04, 950}, {0x0412, 949},
      // clang-format on
  };
  for (const auto &c : casos)
    EXPECT_EQ(conv_pagina_de_codigos(c.idioma), c.pagina) << std::hex << c.idioma;
}

// One text per code page, with characters where Microsoft's tables differ from others
// (932's wave dash and NEC circled digits, 936's euro, 950's hyphenation point, 949's
// extended Hangul): the wrong ICU table would fail here.
TEST_F(Conversion, IdaYVueltaPorCadaPagina) {
  struct Caso {
    uint32_t idioma;
    std::string utf8;
    std::string pagina;
  };
  const Caso casos[] = {
      {kEspanol, "Canci\u00f3n: \u00bfqu\u00e9 tal? \u20ac", "Canci\xf3n: \xbfqu\xe9 tal? \x80"},
      {kRuso, "\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440! \u0401\u043b\u043a\u0430",
       "\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0! \xa8\xeb\xea\xe0"},
      {kGriego, "\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1 \u03ba\u03cc\u03c3\u03bc\u03b5",
       "\xca\xe1\xeb\xe7\xec\xdd\xf1\xe1 \xea\xfc\xf3\xec\xe5"},
      {kJapones, "\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8\uff5e\uff3c\u2460",
       "\x93\xfa\x96{\x8c\xea\x82\xcc\x83"
       "e\x83L\x83X\x83g\x81`\x81_\x87@"},
      {0x0405, "\u010ce\u0161tina",
       "\xc8"
       "e\x9atina"},
      {0x041F, "Do\u011fru", "Do\xf0ru"},
      {0x040D, "\u05e9\u05dc\u05d5\u05dd", "\xf9\xec\xe5\xed"},
      {0x0429, "\u0639\u0631\u0628\u064a \u067e", "\xda\xd1\xc8\xed \x81"},
      {0x0427, "\u0105\u017euolas", "\xe0\xfeuolas"},
      {0x042A, "Vi\u00eat \u0111\u01b0", "Vi\xeat \xf0\xfd"},
      {0x041E, "\u0e20\u0e32\u0e29\u0e32\u0e44\u0e17\u0e22 \u20ac",
       "\xc0\xd2\xc9\xd2\xe4\xb7\xc2 \x80"},
      {0x0804, "\u4e2d\u6587 \u20ac", "\xd6\xd0\xce\xc4 \x80"},
      {0x0404, "\u4e2d\u6587\u2027",
       "\xa4\xa4\xa4\xe5\xa1"
       "E"},
      {0x0412, "\uac01\uac02",
       "\xb0\xa2\x81"
       "A"},
  };
  for (const auto &c : casos) {
    SCOPED_TRACE(c.idioma);
    EXPECT_EQ(a_ansi(c.utf8, c.idioma), c.pagina);
    EXPECT_EQ(a_utf8(c.pagina, c.idioma), c.utf8);
  }
  EXPECT_TRUE(informes().empty()) << "a converter failed to open";
}

TEST_F(Conversion, CaracterQueLaPaginaNoTieneEsUnaReferencia) {
  EXPECT_EQ(a_ansi("\u00e1", kRuso), "&#225;");
  EXPECT_EQ(a_ansi("caf\u00e9 \u0434\u0430", kRuso), "caf&#233; \xe4\xe0");
  EXPECT_EQ(a_ansi("\u65e5", kEspanol), "&#26085;");
  // A character beyond the BMP is one reference, not two for its surrogates.
  EXPECT_EQ(a_ansi("x\U0001F600z", kEspanol), "x&#128512;z");
  EXPECT_EQ(a_ansi("\U0001F600", kJapones), "&#128512;");
}

// Bytes that are not UTF-8 are the Windows-1252 characters of those bytes, and then
// go into the code page like any other character.
TEST_F(Conversion, ByteQueNoEsUtf8EsSuCaracterWindows1252) {
  const struct {
    std::string entrada;
    std::u16string caracteres;
  } casos[] = {
      {"caf\xe9", u"caf\u00e9"},
      {"\x80", u"\u20ac"},
      {"\xe2\x82z", u"\u00e2\u201az"},                              // a cut three-byte sequence
      {"\xc0\xaf", u"\u00c0\u00af"},                                // overlong '/'
      {"\xed\xa0\x80", u"\u00ed\u00a0\u20ac"},                      // a surrogate's code
      {"\xf4\x90\x80\x80", u"\u00f4\u0090\u20ac\u20ac"},            // above U+10FFFF
      {"\xf0\x9f\x98", u"\u00f0\u0178\u02dc"},                      // cut at the end
      {"\x81\x8d\x8f\x90\x9d", u"\u0081\u008d\u008f\u0090\u009d"},  // undefined in 1252
      {"\xf0\x9f\x98\x80\xc3\xa9\xe9", u"\U0001F600\u00e9\u00e9"},
  };
  for (const auto &c : casos) {
    EXPECT_EQ(a_wcad(c.entrada), c.caracteres) << c.entrada;
    EXPECT_EQ(a_ansi(c.entrada, kEspanol), a_ansi(de_wcad(c.caracteres), kEspanol)) << c.entrada;
  }
  EXPECT_EQ(a_ansi("caf\xe9 \x80 \xe2\x82z", kEspanol), "caf\xe9 \x80 \xe2\x82z");
  EXPECT_EQ(a_ansi("\xe9\x80", kRuso), "&#233;\x88");
}

TEST_F(Conversion, ByteQueLaPaginaNoDefineEsFFFD) {
  const struct {
    uint32_t idioma;
    std::string pagina, utf8;
  } casos[] = {
      {kGriego, "x\xd2z", "x\ufffdz"},     // undefined in ICU's 1253
      {0x040D, "\xff", "\ufffd"},          // and in its 1255
      {kJapones, "\xa0", "\ufffd"},        // ICU's own substitute would be U+001A
      {kJapones, "x\x81", "x\ufffd"},      // a lead byte cut at the end
      {kJapones, "\x81 y", "\ufffd y"},    // a lead byte without its trail
      {0x0804, "\x81\x30", "\ufffd\x30"},  // the same in 936
      {kEspanol, "\x81", "\u0081"},        // ICU defines this one
  };
  for (const auto &c : casos) EXPECT_EQ(a_utf8(c.pagina, c.idioma), c.utf8) << c.idioma;
}

TEST_F(Conversion, TextosAnchos) {
  const struct {
    std::u16string ancho;
    std::string utf8;
  } casos[] = {
      {u"x\U0001F600z\u00e9\u4e2d", "x\xf0\x9f\x98\x80z\xc3\xa9\xe4\xb8\xad"},
      {{u'x', char16_t(0xD83D), u'z'}, "x\ufffdz"},  // high without its low
      {{u'x', char16_t(0xDE00), u'z'}, "x\ufffdz"},  // low without its high
      {{u'x', char16_t(0xD83D)}, "x\ufffd"},         // high at the end
      {{char16_t(0xDE00), char16_t(0xD83D), u'z'}, "\ufffd\ufffdz"},
  };
  for (const auto &c : casos) EXPECT_EQ(de_wcad(c.ancho), c.utf8) << c.utf8;
  EXPECT_EQ(a_wcad(casos[0].utf8), casos[0].ancho);
}

TEST_F(Conversion, NuloDaTextoVacio) {
  EXPECT_EQ(libera_tras(conv_utf8_a_ansi_html(nullptr, kEspanol), cad_destruye), "");
  EXPECT_EQ(libera_tras(conv_ansi_idioma_a_utf8(nullptr, kJapones), cad_destruye), "");
  EXPECT_EQ(libera_tras(conv_utf8_a_wcad(nullptr), wcad_destruye), u"");
  EXPECT_EQ(libera_tras(conv_wcad_a_utf8(nullptr), cad_destruye), "");
}

// Pure-ASCII texts may be copied without ICU only where ICU itself maps ASCII one to
// one. The first 127 characters, followed by one that forces the way through ICU, must
// come out as a pure-ASCII text does.
TEST_F(Conversion, AsciiIgualPorIcuQueSinEl) {
  std::string ascii;
  for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
  const uint32_t idiomas[] = {kEspanol, 0x0405, kRuso,  kGriego,  0x041F, 0x040D, 0x0401,
                              0x0427,   0x042A, 0x041E, kJapones, 0x0804, 0x0412, 0x0404};
  for (uint32_t idioma : idiomas) {
    SCOPED_TRACE(idioma);
    const std::string ida = a_ansi(ascii + "\u00e9", idioma);
    const std::string vuelta = a_utf8(ascii + "\xc0", idioma);
    ASSERT_GE(ida.size(), ascii.size());
    ASSERT_GE(vuelta.size(), ascii.size());
    EXPECT_EQ(a_ansi(ascii, idioma), ida.substr(0, ascii.size()));
    EXPECT_EQ(a_utf8(ascii, idioma), vuelta.substr(0, ascii.size()));
    if (idioma != kJapones) {
      EXPECT_EQ(ida.substr(0, ascii.size()), ascii);
      EXPECT_EQ(vuelta.substr(0, ascii.size()), ascii);
    }
  }
  // ICU's 932 exchanges three controls; a pure-ASCII text gets the same, and comes back.
  EXPECT_EQ(a_ansi("\x1a\x1c\x7f", kJapones), "\x7f\x1a\x1c");
  EXPECT_EQ(a_utf8("\x7f\x1a\x1c", kJapones), "\x1a\x1c\x7f");
}

template <class S>
S repite(const S &trozo, int veces) {
  S r;
  for (int i = 0; i < veces; ++i) r += trozo;
  return r;
}

// Texts longer than one conversion step, and outputs longer than any first estimate.
TEST_F(Conversion, TextosLargos) {
  EXPECT_EQ(a_ansi(repite<std::string>("\U0001F600\xe9", 5000), kEspanol),
            repite<std::string>("&#128512;\xe9", 5000));
  const std::string japones = repite<std::string>("\u65e5\u672c a", 5001);
  const std::string shift_jis = repite<std::string>("\x93\xfa\x96{ a", 5001);
  EXPECT_EQ(a_ansi(japones, kJapones), shift_jis);
  EXPECT_EQ(a_utf8(shift_jis, kJapones), japones);
  EXPECT_EQ(a_utf8(std::string(30000, '\xc0'), 0x041E), repite<std::string>("\u0e20", 30000));
  const std::u16string ancho = repite<std::u16string>(u"\U0001F600\u4e2d", 10000);
  const std::string ancho_utf8 = repite<std::string>("\xf0\x9f\x98\x80\xe4\xb8\xad", 10000);
  EXPECT_EQ(de_wcad(ancho), ancho_utf8);
  EXPECT_EQ(a_wcad(ancho_utf8), ancho);
}

// Converters are opened once per thread, not once per text: opening one for each of
// these small texts would take several seconds.
TEST_F(Conversion, RapidezConTextosGrandesYPequenos) {
  const std::string grande = repite<std::string>("Una canci\u00f3n, \u00bfno? ", 1 << 16);
  auto inicio = std::chrono::steady_clock::now();
  EXPECT_EQ(a_utf8(a_ansi(grande, kEspanol), kEspanol), grande);
  EXPECT_EQ(de_wcad(a_wcad(grande)), grande);
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(1));
  inicio = std::chrono::steady_clock::now();
  for (int i = 0; i < 300000; ++i) {
    char *t = conv_utf8_a_ansi_html(i % 2 ? "\u041c\u0438\u0440" : "\u00e9t\u00e9", kRuso);
    cad_destruye(&t);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(1));
}

TEST_F(Conversion, VariosHilosALaVez) {
  std::atomic<int> fallos{0};
  std::vector<std::thread> hilos;
  for (int h = 0; h < 4; ++h)
    hilos.emplace_back([&fallos, h] {
      const uint32_t idioma = h % 2 ? kRuso : kJapones;
      const std::string texto = h % 2 ? "\u041c\u0438\u0440 \u00e1" : "\u65e5\u672c \u00e1";
      for (int i = 0; i < 2000; ++i) {
        if (a_utf8(a_ansi(texto, idioma), idioma) !=
            (h % 2 ? "\u041c\u0438\u0440 &#225;" : "\u65e5\u672c &#225;"))
          ++fallos;
      }
    });
  for (auto &h : hilos) h.join();
  EXPECT_EQ(fallos.load(), 0);
}

}  // namespace
