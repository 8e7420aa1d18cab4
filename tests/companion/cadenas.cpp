// cadenas.cpp - tests of the text operations: results, in-place edits and ownership.
#include <chrono>
#include <string>

#include "comun/entorno_pruebas.h"

namespace {

using Cadenas = pruebas::Entorno;

// Runs an in-place edit on a fresh copy of texto and returns the result as a string,
// freeing the text.
template <class Edicion>
std::string edita(const char *texto, Edicion edicion) {
  char *t = cad_copia(texto);
  edicion(&t);
  std::string resultado = t != nullptr ? t : "<null>";
  cad_destruye(&t);
  EXPECT_EQ(t, nullptr);
  return resultado;
}

TEST_F(Cadenas, CopiaYPrefijoSonIndependientes) {
  char original[] = "abcdef";
  char *copia = cad_copia(original);
  char *prefijo = cad_prefijo(original + 1, 3);
  original[1] = 'X';
  EXPECT_STREQ(copia, "abcdef");
  EXPECT_STREQ(prefijo, "bcd");
  char *vacio = cad_prefijo(original, 0);
  char *corto = cad_prefijo("ab", 10);  // stops at the NUL
  EXPECT_STREQ(vacio, "");
  EXPECT_STREQ(corto, "ab");
  EXPECT_EQ(cad_copia(nullptr), nullptr);
  for (char **t : {&copia, &prefijo, &vacio, &corto}) cad_destruye(t);
  char16_t *w = wcad_prefijo(u"\u00e9t\u00e9x", 3);
  EXPECT_EQ(std::u16string(w), u"\u00e9t\u00e9");
  EXPECT_EQ(wcad_longitud(w), 3u);
  char16_t *wc = wcad_copia(w);
  EXPECT_EQ(wcad_iguales(w, wc), CIERTO);
  wcad_destruye(&w);
  wcad_destruye(&wc);
  EXPECT_EQ(wc, nullptr);
}

TEST_F(Cadenas, Comparaciones) {
  EXPECT_EQ(cad_longitud("abc"), 3u);
  EXPECT_EQ(cad_longitud(nullptr), 0u);
  EXPECT_EQ(cad_empieza_por("http://x", "http://"), CIERTO);
  EXPECT_EQ(cad_empieza_por("HTTP://x", "http://"), FALSO);
  EXPECT_EQ(cad_empieza_por("ht", "http"), FALSO);
  EXPECT_EQ(cad_empieza_por_sin_mayus("HTTP://x", "http://"), CIERTO);
  EXPECT_EQ(cad_empieza_por_sin_mayus("ht", "http"), FALSO);
  EXPECT_EQ(cad_iguales("abc", "abc"), CIERTO);
  EXPECT_EQ(cad_iguales("abc", "abC"), FALSO);
  EXPECT_EQ(cad_iguales("abc", "abcd"), FALSO);
  EXPECT_EQ(cad_iguales_sin_mayus("META", "meta"), CIERTO);
  EXPECT_EQ(cad_iguales_sin_mayus("META", "metas"), FALSO);
  // Bytes above 127 are not letters: no case folding there.
  EXPECT_EQ(cad_iguales_sin_mayus("\xc9", "\xe9"), FALSO);
  EXPECT_EQ(wcad_empieza_por(u"{a}b", u"{a"), CIERTO);
  EXPECT_EQ(wcad_empieza_por(u"{a}b", u"{b"), FALSO);
}

TEST_F(Cadenas, EnBlancoSoloEspacioTabuladorYSaltos) {
  EXPECT_EQ(cad_en_blanco(nullptr), CIERTO);
  EXPECT_EQ(cad_en_blanco(""), CIERTO);
  EXPECT_EQ(cad_en_blanco(" \t\r\n "), CIERTO);
  EXPECT_EQ(cad_en_blanco(" \v "), FALSO);
  EXPECT_EQ(cad_en_blanco("\xa0"), FALSO);
  EXPECT_EQ(cad_en_blanco("  x "), FALSO);
}

TEST_F(Cadenas, MayusculasEnSuSitio) {
  char buffer[] = "Ab\xe9z-9";
  char *antes = buffer;
  cad_a_mayusculas(buffer);
  EXPECT_STREQ(buffer, "AB\xe9Z-9");
  cad_a_minusculas(buffer);
  EXPECT_STREQ(buffer, "ab\xe9z-9");
  EXPECT_EQ(antes, buffer);
}

TEST_F(Cadenas, Formatea) {
  char *t = cad_formatea("TEXTO_%lu", static_cast<unsigned long>(4294967295u));
  EXPECT_STREQ(t, "TEXTO_4294967295");
  cad_destruye(&t);
  std::string largo(5000, 'x');
  t = cad_formatea("<%s>", largo.c_str());
  EXPECT_EQ(std::string(t), "<" + largo + ">");
  cad_destruye(&t);
}

TEST_F(Cadenas, QuitaPrefijo) {
  auto quita = [](const char *p) { return [p](char **t) { cad_quita_prefijo(t, p); }; };
  auto quita_sm = [](const char *p) {
    return [p](char **t) { cad_quita_prefijo_sin_mayus(t, p); };
  };
  EXPECT_EQ(edita("http://host", quita("http://")), "host");
  EXPECT_EQ(edita("HTTP://host", quita("http://")), "HTTP://host");
  EXPECT_EQ(edita("HTTP://host", quita_sm("http://")), "host");
  EXPECT_EQ(edita("ht", quita_sm("http://")), "ht");
  EXPECT_EQ(edita("abc", quita("abc")), "");
}

TEST_F(Cadenas, ReemplazaTodasSinSolapeNiRevision) {
  struct Caso {
    const char *texto, *buscado, *reemplazo, *esperado;
  } casos[] = {
      {"aaa", "aa", "a", "aa"},      // left to right, no overlap
      {"aaa", "a", "aa", "aaaaaa"},  // inserted text is not searched again
      {"a&amp;b&amp;", "&amp;", "&", "a&b&"},
      {"x", "x", "", ""},
      {"abc", "", "Z", "abc"},  // an empty pattern changes nothing
      {"abc", "z", "ZZ", "abc"},
      {"", "a", "b", ""},
      {"<p>a</p>", "p", "div", "<div>a</div>"},
  };
  for (const auto &c : casos) {
    EXPECT_EQ(edita(c.texto, [&](char **t) { cad_reemplaza_todas(t, c.buscado, c.reemplazo); }),
              c.esperado)
        << c.texto << " / " << c.buscado << " -> " << c.reemplazo;
  }
  // A pattern or replacement taken from the text itself.
  char *t = cad_copia("abab");
  cad_reemplaza_todas(&t, t + 2, t);
  EXPECT_STREQ(t, "abababab");
  cad_destruye(&t);
  // A search that restarts at every position would compare some 10^12 bytes here.
  const std::string largo(2000000, 'a');
  const std::string patron = std::string(500000, 'a') + "b";
  const auto empieza = std::chrono::steady_clock::now();
  EXPECT_EQ(edita(largo.c_str(), [&](char **x) { cad_reemplaza_todas(x, patron.c_str(), "c"); }),
            largo);
  EXPECT_LT(std::chrono::steady_clock::now() - empieza, std::chrono::seconds(5));
}

TEST_F(Cadenas, SustituyeTramo) {
  auto tramo = [](uint32_t inicio, uint32_t longitud, const char *r) {
    return [=](char **t) { cad_sustituye_tramo(t, inicio, longitud, r); };
  };
  EXPECT_EQ(edita("hello world", tramo(6, 5, "there")), "hello there");
  EXPECT_EQ(edita("abcdef", tramo(1, 2, "XYZW")), "aXYZWdef");
  EXPECT_EQ(edita("abcdef", tramo(1, 4, "")), "af");
  EXPECT_EQ(edita("abcdef", tramo(0, 0, ">")), ">abcdef");
  EXPECT_EQ(edita("abcdef", tramo(4, 100, "!")), "abcd!");  // cut at the end
  EXPECT_TRUE(informes().empty());
  EXPECT_EQ(edita("abc", tramo(9, 1, "!")), "abc!");  // start past the end: reported
  EXPECT_EQ(cuenta_informes("(inicio) <= cad_longitud(*texto)"), 1u);
  // The replacement is copied even when it points into the text.
  char *t = cad_copia("abcdef");
  cad_sustituye_tramo(&t, 0, 1, t + 3);
  EXPECT_STREQ(t, "defbcdef");
  cad_destruye(&t);
  // A run of growing and shrinking replacements, checked against std::string.
  t = cad_copia("");
  std::string modelo;
  for (uint32_t i = 0; i < 3000; ++i) {
    const uint32_t inicio = (i * 7919u) % (static_cast<uint32_t>(modelo.size()) + 1);
    const uint32_t longitud = i % 3;
    const char *r = i % 4 == 0 ? "" : "abcde" + i % 5;
    cad_sustituye_tramo(&t, inicio, longitud, r);
    modelo.replace(inicio, longitud, r);
  }
  EXPECT_EQ(std::string(t), modelo);
  cad_destruye(&t);
}

TEST_F(Cadenas, InsertaDelanteYUne) {
  EXPECT_EQ(edita("b", [](char **t) { cad_inserta_delante(t, "a"); }), "ab");
  EXPECT_EQ(edita(nullptr, [](char **t) { cad_inserta_delante(t, "a"); }), "a");
  EXPECT_EQ(edita("a", [](char **t) { cad_une(t, "b"); }), "ab");
  EXPECT_EQ(edita(nullptr, [](char **t) { cad_une(t, ""); }), "");
  EXPECT_EQ(edita("ab", [](char **t) { cad_une(t, *t); }), "abab");
  EXPECT_EQ(edita("ab", [](char **t) { cad_inserta_delante(t, *t + 1); }), "bab");
  // The tail is copied: the caller keeps and frees its own.
  char *cola = cad_copia("z");
  char *t = cad_copia("y");
  cad_une(&t, cola);
  cad_destruye(&cola);
  std::string modelo = "yz";
  for (int i = 0; i < 5000; ++i) {
    const char *trozo = "0123456789" + i % 10;
    cad_une(&t, trozo);
    modelo += trozo;
  }
  EXPECT_EQ(std::string(t), modelo);
  cad_destruye(&t);
}

TEST_F(Cadenas, ExtraeCampo) {
  struct Caso {
    uint32_t numero;
    const char *texto, *separadores, *esperado;
  } casos[] = {
      {2, "http://host/x", "/", "host"},
      {2, "HTTP://host", "/", "host"},
      {1, "http://host/x", "/", "http:"},
      {3, "http://host/x/y", "/", "x"},
      {4, "http://host/x", "/", ""},
      {2, "a, b;c", ",; ", "b"},
      {1, "///", "/", ""},
      {0, "a/b", "/", ""},
  };
  for (const auto &c : casos) {
    char *campo = cad_extrae_campo(c.numero, c.texto, c.separadores);
    EXPECT_STREQ(campo, c.esperado) << c.numero << " of " << c.texto;
    cad_destruye(&campo);
  }
}

}  // namespace
