// normalizacion.cpp - tests of what happens to every text taken from a page.
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "lenguaweb/normalizacion.h"

namespace {

constexpr uint32_t kEspanol = 0x0C0A, kRuso = 0x0419, kJapones = 0x0411;

class Normalizacion : public pruebas::Entorno {
 protected:
  std::string normaliza(const std::string &texto, uint32_t idioma = kEspanol) {
    entidades_idioma entidades;
    lenguaweb_prepara_entidades(idioma, &entidades);
    std::string r = "what was there before";
    lenguaweb_normaliza_texto(texto, entidades, r);
    return r;
  }
};

// Blanks collapse; an entity becomes its own character in the page's code page: a Russian
// page's "&aacute;" must not become the Cyrillic letter that byte 0xE1 stands for there. A
// text that keeps an '&' is reported.
TEST_F(Normalizacion, BlancosYEntidades) {
  // clang-format off
  const struct { std::string entrada, salida; uint32_t idioma = kEspanol; bool informa = false; } casos[] = {
      {"\n\t   ", " "}, {" a  b\r\nc ", " a b c "}, {"", ""},
      {"a" + std::string(39, ' ') + "b", "a  b"},  // five, four, three and two spaces replaced in turn
      {"&aacute;&eacute;&iacute;&oacute;&uacute;", "\xE1\xE9\xED\xF3\xFA"}, {"&copy;&ordf;&ordm;", "\xA9\xAA\xBA"},
      {"&agrave;&egrave;&igrave;&ograve;&ugrave;&ntilde;", "\xE0\xE8\xEC\xF2\xF9\xF1"},
      {"&Aacute;&Eacute;&Iacute;&Oacute;&Uacute;&Ntilde;", "\xC1\xC9\xCD\xD3\xDA\xD1"}, {"&lt;B&gt;", "<B>"},
      // A no-break space is never a space; blanks around it collapse, it stays.
      {"&nbsp;", "\xA0"}, {"&nbsp;&#160;&#xA0;\xC2\xA0", "\xA0\xA0\xA0\xA0"}, {"a  &nbsp;  b", "a \xA0 b"},
      {"&amp;lt;", "&amp;lt;", kEspanol, true},  // no entity forms out of another's bytes
      {"Espa\xC3\xB1" "a", "Espa\xF1" "a"},  // the page's UTF-8 in the code page
      {"x\x7Fy", "x\x1Cy", kJapones},  // ASCII too where the code page moves it (932's controls)
      {"&amp;", "&amp;", kEspanol, true}, {"&Agrave;", "&Agrave;", kEspanol, true}, {"&AACUTE;", "&AACUTE;", kEspanol, true},
      {"a & b", "a & b", kEspanol, true}, {"&#225;", "&#225;", kEspanol, true},
      {"&copy; &lt;", "\xA9 <", kRuso},  // 1251 has the copyright sign
      {"caf&eacute;", "caf&#233;", kRuso, true}, {"\xD0\x9C\xD0\xB8\xD1\x80", "\xCC\xE8\xF0", kRuso},  // Мир
      {"&ntilde;", "&#241;", kJapones, true},
      // 932 has no no-break space: the text keeps it as "&nbsp;", whatever its form was.
      {"\xE6\x97\xA5\xE6\x9C\xAC &nbsp;\xC2\xA0&#160;", "\x93\xFA\x96\x7B &nbsp;&nbsp;&nbsp;", kJapones},  // 日本
  };
  // clang-format on
  // Each case also after 1 to 16 letters and before 9, so that what it holds falls on
  // every byte of the eight that the normaliser passes over at a time, and across two.
  for (const auto &c : casos)
    for (size_t antes = 0; antes <= 16; ++antes) {
      const std::string letras(antes, 'a'), tras = antes > 0 ? std::string(9, 'z') : "";
      SCOPED_TRACE(letras + c.entrada + tras);
      olvida_informes();
      EXPECT_EQ(normaliza(letras + c.entrada + tras, c.idioma), letras + c.salida + tras);
      EXPECT_EQ(condiciones(), c.informa ? "strchr(texto, '&')==NULL" : "");
      for (const auto &i : informes()) EXPECT_EQ(i.modulo, "lenguaweb (LENGUAWEB.DLL)");
    }
  // Every run of 2 to 38 blanks of any kind leaves one space.
  const std::string blancos = " \t\n\r";
  for (size_t n = 1; n <= 38; ++n) {
    std::string run;
    for (size_t i = 0; i < n; ++i) run += blancos[(i * 7 + n) % 4];
    EXPECT_EQ(normaliza("a" + run + "b"), "a b") << n << " blanks";
  }
  EXPECT_TRUE(informes().empty());
}

}  // namespace
