// conversion.cpp - tests of the code pages of languages and of the text conversions.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using Conversion = pruebas::Entorno;

// Each conversion through a std::string, freeing the companion's text.
std::string a_ansi(const std::string &utf8, uint32_t idioma) {
  char *t = conv_utf8_a_ansi_html(utf8.c_str(), idioma);
  std::string r = t;
  cad_destruye(&t);
  return r;
}
std::string a_utf8(const std::string &ansi, uint32_t idioma) {
  char *t = conv_ansi_idioma_a_utf8(ansi.c_str(), idioma);
  std::string r = t;
  cad_destruye(&t);
  return r;
}
std::u16string a_wcad(const std::string &utf8) {
  char16_t *t = conv_utf8_a_wcad(utf8.c_str());
  std::u16string r = t;
  wcad_destruye(&t);
  return r;
}
std::string de_wcad(const std::u16string &w) {
  char *t = conv_wcad_a_utf8(w.c_str());
  std::string r = t;
  cad_destruye(&t);
  return r;
}

constexpr uint32_t kEspanol = 0x0C0A, kRuso = 0x0419, kGriego = 0x0408, kJapones = 0x0411;

TEST_F(Conversion, PaginaDeCodigosDeCadaIdioma) {
  struct Caso {
    uint32_t idioma;
    uint32_t pagina;
    const char *quien;
  };
  const Caso casos[] = {
      {0x0C0A, 1252, "Spanish"},
      {0x0409, 1252, "English"},
      {0, 1252, "no language"},
      {0x03FF, 1252, "unknown primary language"},
      {0x0405, 1250, "Czech"},
      {0x0415, 1250, "Polish"},
      {0x041A, 1250, "Croatian"},
      {0x081A, 1250, "Serbian Latin"},
      {0x241A, 1250, "Serbian Latin, Serbia"},
      {0x141A, 1250, "Bosnian Latin"},
      {0x0C1A, 1251, "Serbian Cyrillic"},
      {0x281A, 1251, "Serbian Cyrillic, Serbia"},
      {0x201A, 1251, "Bosnian Cyrillic"},
      {0x0419, 1251, "Russian"},
      {0x0422, 1251, "Ukrainian"},
      {0x043F, 1251, "Kazakh"},
      {0x0450, 1251, "Mongolian"},
      {0x0408, 1253, "Greek"},
      {0x041F, 1254, "Turkish"},
      {0x042C, 1254, "Azeri Latin"},
      {0x082C, 1251, "Azeri Cyrillic"},
      {0x0443, 1254, "Uzbek Latin"},
      {0x0843, 1251, "Uzbek Cyrillic"},
      {0x040D, 1255, "Hebrew"},
      {0x0401, 1256, "Arabic"},
      {0x0C01, 1256, "Arabic, Egypt"},
      {0x0429, 1256, "Farsi"},
      {0x0420, 1256, "Urdu"},
      {0x0425, 1257, "Estonian"},
      {0x0426, 1257, "Latvian"},
      {0x0427, 1257, "Lithuanian"},
      {0x042A, 1258, "Vietnamese"},
      {0x041E, 874, "Thai"},
      {0x0411, 932, "Japanese"},
      {0x00040411, 932, "Japanese LCID with a sort order"},
      {0x0804, 936, "Chinese, China"},
      {0x1004, 936, "Chinese, Singapore"},
      {0x0404, 950, "Chinese, Taiwan"},
      {0x0C04, 950, "Chinese, Hong Kong"},
      {0x1404, 950, "Chinese, Macao"},
      {0x0412, 949, "Korean"},
  };
  for (const auto &c : casos) EXPECT_EQ(conv_pagina_de_codigos(c.idioma), c.pagina) << c.quien;
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
  struct Caso {
    uint32_t idioma;
    std::string utf8;
    std::string pagina;
  };
  const Caso casos[] = {
      {kRuso, "\u00e1", "&#225;"},
      {kRuso, "caf\u00e9 \u0434\u0430", "caf&#233; \xe4\xe0"},
      {kEspanol, "\u65e5", "&#26085;"},
      // A character beyond the BMP is one reference, not two for its surrogates.
      {kEspanol, "a\U0001F600b", "a&#128512;b"},
      {kJapones, "\U0001F600", "&#128512;"},
      {kGriego, "\u0416", "&#1046;"},
  };
  for (const auto &c : casos) EXPECT_EQ(a_ansi(c.utf8, c.idioma), c.pagina) << c.utf8;
}

// Bytes that are not UTF-8 are the Windows-1252 characters of those bytes, and then
// go into the code page like any other character.
TEST_F(Conversion, ByteQueNoEsUtf8EsSuCaracterWindows1252) {
  struct Caso {
    std::string entrada;
    std::u16string caracteres;
  };
  const Caso casos[] = {
      {"caf\xe9", u"caf\u00e9"},
      {"\x80", u"\u20ac"},
      {"\xe2\x82"
       "A",
       u"\u00e2\u201a"
       "A"},                                                        // a cut three-byte sequence
      {"\xc0\xaf", u"\u00c0\u00af"},                                // overlong '/'
      {"\xed\xa0\x80", u"\u00ed\u00a0\u20ac"},                      // a surrogate's code
      {"\xf4\x90\x80\x80", u"\u00f4\u0090\u20ac\u20ac"},            // above U+10FFFF
      {"\xf0\x9f\x98", u"\u00f0\u0178\u02dc"},                      // cut at the end
      {"\x81\x8d\x8f\x90\x9d", u"\u0081\u008d\u008f\u0090\u009d"},  // undefined in 1252
      {"\xf0\x9f\x98\x80", u"\U0001F600"},
      {"\xc3\xa9\xe9", u"\u00e9\u00e9"},
  };
  for (const auto &c : casos) {
    EXPECT_EQ(a_wcad(c.entrada), c.caracteres) << c.entrada;
    EXPECT_EQ(a_ansi(c.entrada, kEspanol), a_ansi(de_wcad(c.caracteres), kEspanol)) << c.entrada;
  }
  EXPECT_EQ(a_ansi("caf\xe9", kEspanol), "caf\xe9");
  EXPECT_EQ(a_ansi("\x80", kEspanol), "\x80");
  EXPECT_EQ(a_ansi("\xe2\x82"
                   "A",
                   kEspanol),
            "\xe2\x82"
            "A");
  EXPECT_EQ(a_ansi("\xe9", kRuso), "&#233;");
  EXPECT_EQ(a_ansi("\x80", kRuso), "\x88");
}

TEST_F(Conversion, ByteQueLaPaginaNoDefineEsFFFD) {
  struct Caso {
    uint32_t idioma;
    std::string pagina;
    std::string utf8;
  };
  const Caso casos[] = {
      {kGriego,
       "a\xd2"
       "b",
       "a\ufffd"
       "b"},
      {0x040D, "\xff", "\ufffd"},
      {kJapones, "\xa0", "\ufffd"},      // ICU's own substitute would be U+001A
      {kJapones, "x\x81", "x\ufffd"},    // a lead byte cut at the end
      {kJapones, "\x81 y", "\ufffd y"},  // a lead byte without its trail
      {0x0804,
       "\x81"
       "0",
       "\ufffd"
       "0"},
      {kEspanol, "\x81", "\u0081"},  // ICU defines this one
  };
  for (const auto &c : casos) EXPECT_EQ(a_utf8(c.pagina, c.idioma), c.utf8) << c.idioma;
}

TEST_F(Conversion, TextosAnchos) {
  EXPECT_EQ(de_wcad(u"a\U0001F600b"),
            "a\xf0\x9f\x98\x80"
            "b");
  EXPECT_EQ(de_wcad(u"\u00e9\u4e2d"), "\xc3\xa9\xe4\xb8\xad");
  const std::u16string sueltos[] = {
      {u'a', char16_t(0xD83D), u'b'},  // high without its low
      {u'a', char16_t(0xDE00), u'b'},  // low without its high
      {u'a', char16_t(0xD83D)},        // high at the end
      {char16_t(0xDE00), char16_t(0xD83D), u'b'},
  };
  EXPECT_EQ(de_wcad(sueltos[0]),
            "a\ufffd"
            "b");
  EXPECT_EQ(de_wcad(sueltos[1]),
            "a\ufffd"
            "b");
  EXPECT_EQ(de_wcad(sueltos[2]), "a\ufffd");
  EXPECT_EQ(de_wcad(sueltos[3]),
            "\ufffd\ufffd"
            "b");
  const std::string texto = "\u00bfQu\u00e9? \u65e5\u672c \U0001F600 \u20ac";
  EXPECT_EQ(de_wcad(a_wcad(texto)), texto);
}

TEST_F(Conversion, NuloDaTextoVacio) {
  char *a = conv_utf8_a_ansi_html(nullptr, kEspanol);
  char *b = conv_ansi_idioma_a_utf8(nullptr, kJapones);
  char16_t *c = conv_utf8_a_wcad(nullptr);
  char *d = conv_wcad_a_utf8(nullptr);
  EXPECT_STREQ(a, "");
  EXPECT_STREQ(b, "");
  EXPECT_EQ(std::u16string(c), u"");
  EXPECT_STREQ(d, "");
  cad_destruye(&a);
  cad_destruye(&b);
  wcad_destruye(&c);
  cad_destruye(&d);
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

// Texts longer than one conversion step, and outputs longer than any first estimate.
TEST_F(Conversion, TextosLargos) {
  std::string emojis, referencias;
  for (int i = 0; i < 5000; ++i) {
    emojis += "\U0001F600\xe9";
    referencias += "&#128512;\xe9";
  }
  EXPECT_EQ(a_ansi(emojis, kEspanol), referencias);

  std::string japones, shift_jis;
  for (int i = 0; i < 5001; ++i) {
    japones += "\u65e5\u672c a";
    shift_jis += "\x93\xfa\x96{ a";
  }
  EXPECT_EQ(a_ansi(japones, kJapones), shift_jis);
  EXPECT_EQ(a_utf8(shift_jis, kJapones), japones);

  std::string tailandes(30000, '\xc0'), en_utf8;
  for (int i = 0; i < 30000; ++i) en_utf8 += "\u0e20";
  EXPECT_EQ(a_utf8(tailandes, 0x041E), en_utf8);

  std::u16string ancho;
  std::string ancho_utf8;
  for (int i = 0; i < 10000; ++i) {
    ancho += u"\U0001F600\u4e2d";
    ancho_utf8 += "\xf0\x9f\x98\x80\xe4\xb8\xad";
  }
  EXPECT_EQ(de_wcad(ancho), ancho_utf8);
  EXPECT_EQ(a_wcad(ancho_utf8), ancho);
}

// Converters are opened once per thread, not once per text.
TEST_F(Conversion, RapidezConTextosGrandesYPequenos) {
  std::string grande;
  while (grande.size() < (1u << 20)) grande += "Una canci\u00f3n de a\u00f1oranza, \u00bfno? ";
  const auto inicio = std::chrono::steady_clock::now();
  const std::string pagina = a_ansi(grande, kEspanol);
  EXPECT_EQ(a_utf8(pagina, kEspanol), grande);
  EXPECT_EQ(de_wcad(a_wcad(grande)), grande);
  for (int i = 0; i < 100000; ++i) {
    char *t = conv_utf8_a_ansi_html(i % 2 ? "\u041c\u0438\u0440" : "\u00e9t\u00e9", kRuso);
    cad_destruye(&t);
  }
  const auto duracion = std::chrono::steady_clock::now() - inicio;
  EXPECT_LT(duracion, std::chrono::seconds(1));
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
