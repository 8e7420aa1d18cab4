// cadenas.cpp - tests of the text operations: results, in-place edits and ownership.

#include "companion/ayudas.h"

namespace {

using Cadenas = pruebas::Entorno;
using Edicion = std::function<void(char **)>;

// Runs an in-place edit on a fresh copy of texto (null stays null).
std::string edita(const char *texto, const Edicion &edicion) {
  char *t = cad_copia(texto);
  edicion(&t);
  return toma(t);
}

TEST_F(Cadenas, CopiasYPrefijos) {
  // Each is a new text: freeing one that shared the literal's bytes would crash.
  EXPECT_EQ(toma(cad_copia("abcdef")), "abcdef");
  EXPECT_EQ(toma(cad_prefijo("abcdef" + 1, 3)), "bcd");
  EXPECT_EQ(toma(cad_prefijo("ab", 10)), "ab");  // stops at the NUL
  EXPECT_EQ(toma(cad_prefijo("ab", 0)), "");
  EXPECT_EQ(cad_copia(nullptr), nullptr);
  char16_t *w = wcad_prefijo(u"\u00e9t\u00e9x", 3);
  EXPECT_EQ(wcad_longitud(w), 3u);
  EXPECT_EQ(toma(wcad_copia(w)), u"\u00e9t\u00e9");
  EXPECT_EQ(toma(w), u"\u00e9t\u00e9");
}

// Each row: what the call gives, and what it must give.
TEST_F(Cadenas, Comparaciones) {
  // clang-format off
  const std::pair<booleano, booleano> casos[] = {
      {cad_empieza_por("http://x", "http://"), CIERTO}, {cad_empieza_por("HTTP://x", "http://"), FALSO},
      {cad_empieza_por("ht", "http"), FALSO}, {cad_empieza_por_sin_mayus("HTTP://x", "http://"), CIERTO},
      {cad_empieza_por_sin_mayus("ht", "http"), FALSO}, {cad_iguales("abc", "abc"), CIERTO},
      {cad_iguales("abc", "abC"), FALSO}, {cad_iguales("abc", "abcd"), FALSO},
      {cad_iguales_sin_mayus("META", "meta"), CIERTO}, {cad_iguales_sin_mayus("META", "metas"), FALSO},
      {cad_iguales_sin_mayus("\xc9", "\xe9"), FALSO},  // bytes above 127 are not letters
      {cad_en_blanco(nullptr), CIERTO}, {cad_en_blanco(" \t\r\n "), CIERTO}, {cad_en_blanco(" \v "), FALSO},
      {wcad_empieza_por(u"{a}b", u"{a"), CIERTO}, {wcad_empieza_por(u"{a}b", u"{b"), FALSO},
      {wcad_iguales(u"\u00e9{a}", u"\u00e9{a}"), CIERTO}, {wcad_iguales(u"\u00e9{a}", u"\u00e9{A}"), FALSO},
      {wcad_iguales(u"ab", u"abc"), FALSO},
  };
  // clang-format on
  for (size_t i = 0; i < std::size(casos); ++i) EXPECT_EQ(casos[i].first, casos[i].second) << i;
  EXPECT_EQ(cad_longitud(nullptr), 0u);
}

TEST_F(Cadenas, MayusculasFormatoYCampos) {
  char buffer[] = "Ab\xe9z-9";
  cad_a_mayusculas(buffer);
  EXPECT_STREQ(buffer, "AB\xe9Z-9");
  cad_a_minusculas(buffer);
  EXPECT_STREQ(buffer, "ab\xe9z-9");
  EXPECT_EQ(toma(cad_formatea("TEXTO_%lu", 4294967295ul)), "TEXTO_4294967295");
  const std::string largo(5000, 'x');
  EXPECT_EQ(toma(cad_formatea("<%s>", largo.c_str())), "<" + largo + ">");
  EXPECT_EQ(toma(cad_extrae_campo(2, "http://host/x", "/")), "host");  // runs count as one
  EXPECT_EQ(toma(cad_extrae_campo(2, "a, b;c", ",; ")), "b");
  EXPECT_EQ(toma(cad_extrae_campo(1, "///", "/")), "");
  EXPECT_EQ(toma(cad_extrae_campo(0, "a/b", "/")), "");
}

TEST_F(Cadenas, EdicionesEnSuSitio) {
  // Replacements do not overlap, and what is put in is not searched again.
  // clang-format off
  const std::tuple<const char *, Edicion, const char *> casos[] = {
      {"http://host", [](char **t) { cad_quita_prefijo(t, "http://"); }, "host"}, {"HTTP://host", [](char **t) { cad_quita_prefijo(t, "http://"); }, "HTTP://host"},
      {"HTTP://host", [](char **t) { cad_quita_prefijo_sin_mayus(t, "http://"); }, "host"}, {"ht", [](char **t) { cad_quita_prefijo_sin_mayus(t, "http://"); }, "ht"},
      {"aaa", [](char **t) { cad_reemplaza_todas(t, "aa", "a"); }, "aa"}, {"aaa", [](char **t) { cad_reemplaza_todas(t, "a", "aa"); }, "aaaaaa"},
      {"a&amp;b&amp;", [](char **t) { cad_reemplaza_todas(t, "&amp;", "&"); }, "a&b&"}, {"<p>a</p>", [](char **t) { cad_reemplaza_todas(t, "p", "div"); }, "<div>a</div>"},
      {"abc", [](char **t) { cad_reemplaza_todas(t, "", "Z"); }, "abc"}, {"abcdef", [](char **t) { cad_sustituye_tramo(t, 1, 2, "XYZW"); }, "aXYZWdef"},
      {"abcdef", [](char **t) { cad_sustituye_tramo(t, 1, 4, ""); }, "af"}, {"abcdef", [](char **t) { cad_sustituye_tramo(t, 0, 0, ">"); }, ">abcdef"},
      {"abcdef", [](char **t) { cad_sustituye_tramo(t, 4, 100, "!"); }, "abcd!"}, {nullptr, [](char **t) { cad_inserta_delante(t, "a"); }, "a"},
      {nullptr, [](char **t) { cad_une(t, ""); }, ""}, {nullptr, [](char **t) { cad_inserta_delante(t, ""); }, ""},
      // Arguments that point into the text being edited.
      {"ab", [](char **t) { cad_une(t, *t); }, "abab"}, {"ab", [](char **t) { cad_inserta_delante(t, *t + 1); }, "bab"},
      {"abcdef", [](char **t) { cad_sustituye_tramo(t, 0, 1, *t + 3); }, "defbcdef"}, {"abab", [](char **t) { cad_reemplaza_todas(t, *t + 2, *t); }, "abababab"},
  };
  // clang-format on
  for (const auto &[texto, edicion, esperado] : casos) EXPECT_EQ(edita(texto, edicion), esperado);
  EXPECT_TRUE(informes().empty());
  EXPECT_EQ(edita("abc", [](char **t) { cad_sustituye_tramo(t, 9, 1, "!"); }), "abc!");
  EXPECT_EQ(cuenta_informes("(inicio) <= cad_longitud(*texto)"), 1u);

  // A search that restarts at every position would compare some 10^12 bytes here (and
  // run into the test's timeout).
  const std::string as(2000000, 'a'), patron = std::string(500000, 'a') + "b";
  EXPECT_EQ(edita(as.c_str(), [&](char **x) { cad_reemplaza_todas(x, patron.c_str(), "c"); }), as);
}

}  // namespace
