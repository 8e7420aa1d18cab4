// motor.cpp - tests of the text engine: dividing by braces and translating run by run.

#include "companion/ayudas.h"

namespace {

constexpr uint32_t P = MOTOR_PSEUDOTRADUCCION;

using Motor = pruebas::Entorno;

// Divides and translates texto, freeing everything; the division's message ("<null>" when it
// divides) goes to fallo when asked for.
std::u16string traduce(const std::u16string &texto, uint32_t opciones,
                       std::u16string *fallo = nullptr) {
  booleano ok = 7;
  char16_t *mensaje = reinterpret_cast<char16_t *>(&ok);  // both must be written
  texto_dividido_t *d = motor_divide_texto_llaves(texto.c_str(), &ok, &mensaje);
  const std::u16string r =
      toma(motor_traduce_texto_dividido(d, "TEXTO_1", 0x0C0A, 0x0409, opciones));
  const std::u16string m = toma(mensaje);
  EXPECT_EQ(ok, m == u"<null>" ? CIERTO : FALSO);
  if (fallo != nullptr) *fallo = m;
  motor_destruye_texto_dividido(&d);
  EXPECT_EQ(d, nullptr);
  return r;
}

// Runs are looked up whole and groups never; a text that cannot be divided is translated to
// itself, pseudo-translation or not.
TEST_F(Motor, DivideYTraduceCadaTramoEntero) {
  motor_anade_traduccion(u"Hello ", u"Hola ");
  motor_anade_traduccion(u"world", u"mundo");
  motor_anade_traduccion(u"{b}", u"{NO}");
  const struct {
    std::u16string texto;
    uint32_t opciones;
    std::u16string traduccion, fallo = u"<null>";
  } casos[] = {
      // clang-format off
      {u"Hello {b}world{/b}", 0, u"Hola {b}mundo{/b}"}, {u"world{0}world", 0, u"mundo{0}mundo"},
      {u"Hello world", 0, u"Hello world"}, {u"Hello {0}you", P, u"Hola {0}[y\u00f3\u00fa]"},
      {u"AEIOU aeiou xyz", P, u"[\u00c1\u00c9\u00cd\u00d3\u00da \u00e1\u00e9\u00ed\u00f3\u00fa xyz]"},
      {u"{a} \t\r\n{b}", P, u"{a} \t\r\n{b}"},  // only blanks: untouched
      {u"a {b} c", P, u"[\u00e1 ]{b}[ c]"}, {u"{}", P, u"{}"},
      {u"ab}cd", P, u"ab}cd", u"'}' without its '{' at position 2"},
      {u"{a}}", P, u"{a}}", u"'}' without its '{' at position 3"},
      {u"abc{def", P, u"abc{def", u"'{' without its '}' at position 3"},
      {u"{a{b}c}", P, u"{a{b}c}", u"'{' inside a group at position 2"},
      {u"\u00e9\U0001F600}", P, u"\u00e9\U0001F600}", u"'}' without its '{' at position 3"},
      // clang-format on
  };
  for (const auto &c : casos) {
    SCOPED_TRACE(&c - casos);
    std::u16string fallo;
    EXPECT_EQ(traduce(c.texto, c.opciones, &fallo), c.traduccion);
    EXPECT_EQ(fallo, c.fallo);
  }
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
