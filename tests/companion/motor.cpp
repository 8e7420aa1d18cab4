// motor.cpp - tests of the text engine: dividing by braces and translating run by run.

#include "companion/ayudas.h"

namespace {

constexpr uint32_t P = MOTOR_PSEUDOTRADUCCION;

using Motor = pruebas::Entorno;

// Divides and translates texto, freeing everything.
std::u16string traduce(const std::u16string &texto, uint32_t opciones) {
  booleano ok = FALSO;
  char16_t *mensaje = nullptr;
  texto_dividido_t *d = motor_divide_texto_llaves(texto.c_str(), &ok, &mensaje);
  const std::u16string r =
      toma(motor_traduce_texto_dividido(d, "TEXTO_1", 0x0C0A, 0x0409, opciones));
  wcad_destruye(&mensaje);
  motor_destruye_texto_dividido(&d);
  EXPECT_EQ(d, nullptr);
  return r;
}

// A text that cannot be divided is translated to itself, pseudo-translation or not.
TEST_F(Motor, Divisiones) {
  const std::tuple<std::u16string, std::u16string, std::u16string> casos[] = {
      {u"a {b} c", u"", u"[\u00e1 ]{b}[ c]"},
      {u"{}", u"", u"{}"},
      {u"ab}cd", u"'}' without its '{' at position 2", u"ab}cd"},
      {u"{a}}", u"'}' without its '{' at position 3", u"{a}}"},
      {u"abc{def", u"'{' without its '}' at position 3", u"abc{def"},
      {u"{a{b}c}", u"'{' inside a group at position 2", u"{a{b}c}"},
      {u"\u00e9\U0001F600}", u"'}' without its '{' at position 3", u"\u00e9\U0001F600}"},
  };
  for (const auto &[texto, fallo, pseudo] : casos) {
    booleano ok = 7;
    char16_t *mensaje = reinterpret_cast<char16_t *>(&ok);  // both must be written
    texto_dividido_t *d = motor_divide_texto_llaves(texto.c_str(), &ok, &mensaje);
    EXPECT_EQ(ok, fallo.empty() ? CIERTO : FALSO);
    EXPECT_EQ(toma(mensaje), fallo.empty() ? u"<null>" : fallo);
    EXPECT_EQ(traduce(texto, P), pseudo);
    motor_destruye_texto_dividido(&d);
  }
}

TEST_F(Motor, TraduceCadaTramoEnteroYRespetaLosGrupos) {
  motor_anade_traduccion(u"Hello ", u"Hola ");
  motor_anade_traduccion(u"world", u"mundo");
  motor_anade_traduccion(u"{b}", u"{NO}");  // groups are never looked up
  const std::tuple<std::u16string, uint32_t, std::u16string> casos[] = {
      {u"Hello {b}world{/b}", 0, u"Hola {b}mundo{/b}"},
      {u"world{0}world", 0, u"mundo{0}mundo"},
      {u"Hello world", 0, u"Hello world"},  // runs are looked up whole
      {u"Hello {0}you", P, u"Hola {0}[y\u00f3\u00fa]"},
      {u"AEIOU aeiou xyz", P,
       u"[\u00c1\u00c9\u00cd\u00d3\u00da \u00e1\u00e9\u00ed\u00f3\u00fa xyz]"},
      {u"{a} \t\r\n{b}", P, u"{a} \t\r\n{b}"},  // only blanks: untouched
  };
  for (const auto &[texto, opciones, traduccion] : casos)
    EXPECT_EQ(traduce(texto, opciones), traduccion);
  motor_anade_traduccion(u"world", u"Welt");  // a later entry replaces the earlier
  EXPECT_EQ(traduce(u"{i}world", 0), u"{i}Welt");
  motor_vacia_memoria();
  EXPECT_EQ(traduce(u"Hello {b}world", 0), u"Hello {b}world");
}

TEST_F(Motor, ArgumentosNulos) {
  booleano ok = FALSO;
  char16_t *mensaje = nullptr;
  texto_dividido_t *d = motor_divide_texto_llaves(nullptr, &ok, &mensaje);
  EXPECT_TRUE(ok == CIERTO && mensaje == nullptr);
  EXPECT_EQ(toma(motor_traduce_texto_dividido(d, nullptr, 0, 0, P)), u"");
  motor_destruye_texto_dividido(&d);
  motor_destruye_texto_dividido(&d);  // already null
  EXPECT_TRUE(informes().empty());
  EXPECT_EQ(toma(motor_traduce_texto_dividido(nullptr, nullptr, 0, 0, 0)), u"");
  d = motor_divide_texto_llaves(u"a}", nullptr, nullptr);  // the message is not leaked
  motor_destruye_texto_dividido(&d);
  motor_anade_traduccion(nullptr, u"x");
  motor_anade_traduccion(u"x", nullptr);
  EXPECT_EQ(traduce(u"x", 0), u"x");
  for (const char *condicion : {"(dividido) != NULL", "(ok) != NULL", "(mensaje) != NULL",
                                "(origen) != NULL", "(destino) != NULL"})
    EXPECT_EQ(cuenta_informes(condicion), 1u) << condicion;
}

TEST_F(Motor, MemoriaCompartidaEntreHilos) {
  motor_anade_traduccion(u"fijo", u"fixed");
  std::atomic<int> fallos{0};
  std::vector<std::thread> hilos;
  for (char16_t h = u'a'; h < u'e'; ++h) {
    hilos.emplace_back([&fallos, h] {
      for (char16_t i = 0x100; i < 0x300; ++i) {
        const char16_t clave[] = {h, i, 0};
        motor_anade_traduccion(clave, u"v");
        fallos += traduce(u"{x}" + std::u16string(clave), 0) != u"{x}v";
      }
    });
    hilos.emplace_back([&fallos] {
      for (int i = 0; i < 500; ++i) fallos += traduce(u"fijo{y}fijo", 0) != u"fixed{y}fixed";
    });
  }
  for (auto &h : hilos) h.join();
  EXPECT_EQ(fallos.load(), 0);
  motor_vacia_memoria();
}

}  // namespace
