// motor.cpp - tests of the text engine: dividing by braces and translating run by run.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

class Motor : public pruebas::Entorno {
 protected:
  void SetUp() override {
    Entorno::SetUp();
    motor_vacia_memoria();
  }
  void TearDown() override {
    motor_vacia_memoria();
    Entorno::TearDown();
  }
};

// Divides and translates texto, freeing everything.
std::u16string traduce(const std::u16string &texto, uint32_t opciones) {
  booleano ok = FALSO;
  char16_t *mensaje = nullptr;
  texto_dividido_t *d = motor_divide_texto_llaves(texto.c_str(), &ok, &mensaje);
  char16_t *t = motor_traduce_texto_dividido(d, nullptr, 0x0C0A, 0x0409, opciones);
  std::u16string r = t;
  wcad_destruye(&t);
  wcad_destruye(&mensaje);
  motor_destruye_texto_dividido(&d);
  EXPECT_EQ(d, nullptr);
  return r;
}

TEST_F(Motor, Divisiones) {
  struct Caso {
    std::u16string texto;
    std::u16string mensaje;  // empty when the division is good
  };
  const Caso casos[] = {
      {u"", u""},
      {u"plain text", u""},
      {u"a {b} c", u""},
      {u"{x}{y}", u""},
      {u"{}", u""},
      {u"ab}cd", u"'}' without its '{' at position 2"},
      {u"{a}}", u"'}' without its '{' at position 3"},
      {u"abc{def", u"'{' without its '}' at position 3"},
      {u"x{a}{", u"'{' without its '}' at position 4"},
      {u"{a{b}c}", u"'{' inside a group at position 2"},
      {u"\u00e9\U0001F600}", u"'}' without its '{' at position 3"},  // code units
  };
  for (const auto &c : casos) {
    booleano ok = 7;
    char16_t *mensaje = reinterpret_cast<char16_t *>(&ok);  // must be overwritten
    texto_dividido_t *d = motor_divide_texto_llaves(c.texto.c_str(), &ok, &mensaje);
    ASSERT_NE(d, nullptr);
    if (c.mensaje.empty()) {
      EXPECT_EQ(ok, CIERTO) << std::string(c.texto.begin(), c.texto.end());
      EXPECT_EQ(mensaje, nullptr);
    } else {
      EXPECT_EQ(ok, FALSO);
      ASSERT_NE(mensaje, nullptr);
      EXPECT_EQ(std::u16string(mensaje), c.mensaje);
      // A text that cannot be divided is translated to itself, pseudo-translation or not.
      EXPECT_EQ(traduce(c.texto, MOTOR_PSEUDOTRADUCCION), c.texto);
    }
    wcad_destruye(&mensaje);
    motor_destruye_texto_dividido(&d);
  }
}

TEST_F(Motor, TraduceCadaTramoEnteroYRespetaLosGrupos) {
  motor_anade_traduccion(u"Hello ", u"Hola ");
  motor_anade_traduccion(u"world", u"mundo");
  motor_anade_traduccion(u"{b}", u"{NO}");  // groups are never looked up
  struct Caso {
    std::u16string texto, traduccion;
  };
  const Caso casos[] = {
      {u"Hello {b}world{/b}", u"Hola {b}mundo{/b}"},
      {u"{b}world", u"{b}mundo"},
      {u"world{0}world", u"mundo{0}mundo"},
      {u"Hello world", u"Hello world"},  // looked up whole: no entry
      {u"Hello", u"Hello"},
      {u"{a}x{b}", u"{a}x{b}"},
      {u"", u""},
  };
  for (const auto &c : casos) EXPECT_EQ(traduce(c.texto, 0), c.traduccion);

  motor_anade_traduccion(u"world", u"Welt");  // a later entry replaces the earlier
  EXPECT_EQ(traduce(u"{i}world", 0), u"{i}Welt");
  motor_vacia_memoria();
  EXPECT_EQ(traduce(u"Hello {b}world", 0), u"Hello {b}world");
}

TEST_F(Motor, Pseudotraduccion) {
  motor_anade_traduccion(u"known", u"conocido");
  struct Caso {
    std::u16string texto, traduccion;
  };
  const Caso casos[] = {
      {u"Hello {0} you", u"[H\u00e9ll\u00f3 ]{0}[ y\u00f3\u00fa]"},
      {u"AEIOU aeiou xyz", u"[\u00c1\u00c9\u00cd\u00d3\u00da \u00e1\u00e9\u00ed\u00f3\u00fa xyz]"},
      {u"{a} \t\r\n{b}", u"{a} \t\r\n{b}"},  // only blanks: untouched
      {u"known{x}new", u"conocido{x}[n\u00e9w]"},
      {u"{x}", u"{x}"},
  };
  for (const auto &c : casos) EXPECT_EQ(traduce(c.texto, MOTOR_PSEUDOTRADUCCION), c.traduccion);

  // Everything a pseudo-translation writes is in Windows-1252: nothing turns into a
  // reference on the way into a Western page.
  char *utf8 = conv_wcad_a_utf8(traduce(u"AEIOU aeiou", MOTOR_PSEUDOTRADUCCION).c_str());
  char *pagina = conv_utf8_a_ansi_html(utf8, 0x0409);
  EXPECT_EQ(std::string(pagina).find("&#"), std::string::npos) << pagina;
  cad_destruye(&utf8);
  cad_destruye(&pagina);
}

TEST_F(Motor, ArgumentosNulos) {
  booleano ok = FALSO;
  char16_t *mensaje = nullptr;
  texto_dividido_t *d = motor_divide_texto_llaves(nullptr, &ok, &mensaje);
  EXPECT_EQ(ok, CIERTO);
  EXPECT_EQ(mensaje, nullptr);
  char16_t *t = motor_traduce_texto_dividido(d, "TEXTO_1", 0, 0, MOTOR_PSEUDOTRADUCCION);
  EXPECT_EQ(std::u16string(t), u"");
  wcad_destruye(&t);
  motor_destruye_texto_dividido(&d);
  motor_destruye_texto_dividido(&d);  // already null
  motor_destruye_texto_dividido(nullptr);
  EXPECT_TRUE(informes().empty());

  t = motor_traduce_texto_dividido(nullptr, nullptr, 0, 0, 0);
  EXPECT_EQ(std::u16string(t), u"");
  wcad_destruye(&t);
  EXPECT_EQ(cuenta_informes("(dividido) != NULL"), 1u);

  // Outputs that cannot be written are reported; a message is not leaked.
  d = motor_divide_texto_llaves(u"a}", nullptr, nullptr);
  motor_destruye_texto_dividido(&d);
  EXPECT_EQ(cuenta_informes("(ok) != NULL"), 1u);
  EXPECT_EQ(cuenta_informes("(mensaje) != NULL"), 1u);

  motor_anade_traduccion(nullptr, u"x");
  motor_anade_traduccion(u"x", nullptr);
  EXPECT_EQ(cuenta_informes("(origen) != NULL"), 1u);
  EXPECT_EQ(cuenta_informes("(destino) != NULL"), 1u);
  EXPECT_EQ(traduce(u"x", 0), u"x");
}

// Writers add entries while readers translate: every reader sees each run either
// without its entry or with it, never anything else.
TEST_F(Motor, MemoriaCompartidaEntreHilos) {
  motor_anade_traduccion(u"fixed", u"fijo");
  std::atomic<int> fallos{0};
  std::vector<std::thread> hilos;
  for (int h = 0; h < 4; ++h) {
    hilos.emplace_back([&fallos, h] {
      for (int i = 0; i < 500; ++i) {
        const std::u16string clave =
            u"k" + std::u16string(1, u'a' + h) + std::u16string(1, char16_t(0x100 + i));
        motor_anade_traduccion(clave.c_str(), u"v");
        if (traduce(u"{x}" + clave, 0) != u"{x}v") ++fallos;
      }
    });
    hilos.emplace_back([&fallos] {
      for (int i = 0; i < 500; ++i) {
        if (traduce(u"fixed{y}fixed", 0) != u"fijo{y}fijo") ++fallos;
        const std::u16string t = traduce(u"ka\u0105", 0);
        if (t != u"ka\u0105" && t != u"v") ++fallos;
      }
    });
  }
  for (auto &h : hilos) h.join();
  EXPECT_EQ(fallos.load(), 0);
}

}  // namespace
