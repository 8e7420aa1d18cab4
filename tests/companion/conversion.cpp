// conversion.cpp - tests of the code pages of languages and of the text conversions.

#include "companion/ayudas.h"

namespace {

using Conversion = pruebas::Entorno;
constexpr uint32_t kEspanol = 0x0C0A, kRuso = 0x0419, kGriego = 0x0408, kJapones = 0x0411;

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
  // ICU's 932 exchanges three controls; a pure-ASCII text gets the same, and comes back.
  EXPECT_EQ(a_ansi("\x1a\x1c\x7f", kJapones), "\x7f\x1a\x1c");
  EXPECT_EQ(a_utf8("\x7f\x1a\x1c", kJapones), "\x1a\x1c\x7f");
  EXPECT_TRUE(informes().empty()) << "a converter failed to open";
}

TEST_F(Conversion, CaracteresQueFaltanYBytesQueNoSon) {
  using Conversor = std::string (*)(std::string_view, uint32_t);
  const std::tuple<Conversor, std::string_view, uint32_t, std::string> casos[] = {
      // A character that the page lacks is one reference, even beyond the BMP or ignorable.
      {a_ansi, "\u00e1 \u0434\u0430", kRuso, "&#225; \xe4\xe0"},
      {a_ansi, "x\U0001F600z", kEspanol, "x&#128512;z"},
      {a_ansi, "a\u200bb\u202a", kEspanol, "a&#8203;b&#8234;"},
      // Bytes that are not UTF-8 are their Windows-1252 characters, then go into the page.
      {a_ansi, "\xe9\x80", kRuso, "&#233;\x88"},
      {a_ansi, "caf\xe9 \x80", kEspanol, "caf\xe9 \x80"},
      // A stretch ends at its length, even inside a sequence, or at a NUL.
      {a_ansi, std::string_view("h\xc3\xa9llo<b>", 6), kEspanol, "h\xe9llo"},
      {a_ansi, std::string_view("ab\xc3\xa9", 3), kEspanol, "ab\xc3"},
      {a_ansi, std::string_view("a\0b", 3), kEspanol, "a"},
      // A byte that the page does not define is U+FFFD (ICU's own would be U+001A).
      {a_utf8, "\xa0", kJapones, "\ufffd"},
      {a_utf8, "x\x81", kJapones, "x\ufffd"},    // a lead byte cut at the end
      {a_utf8, "\x81 y", kJapones, "\ufffd y"},  // a lead byte without its trail
      {a_utf8, "\x81", kEspanol, "\u0081"},      // ICU defines this one
  };
  for (const auto &[convierte, texto, idioma, esperado] : casos)
    EXPECT_EQ(convierte(texto, idioma), esperado);
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
  const std::pair<std::u16string, std::string> casos[] = {
      {u"x\U0001F600z\u00e9\u4e2d", "x\xf0\x9f\x98\x80z\xc3\xa9\xe4\xb8\xad"},
      {{u'x', char16_t(0xD83D), u'z'}, "x\ufffdz"},  // high without its low
      {{u'x', char16_t(0xDE00), u'z'}, "x\ufffdz"},  // low without its high
      {{u'x', char16_t(0xD83D)}, "x\ufffd"},         // high at the end
      {{char16_t(0xDE00), char16_t(0xD83D), u'z'}, "\ufffd\ufffdz"},
  };
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

}  // namespace
