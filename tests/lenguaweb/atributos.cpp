// atributos.cpp - tests of finding attribute values and the texts that tags give.
#include <optional>
#include <string>

#include "comun/entorno_pruebas.h"
#include "lenguaweb/atributos.h"

namespace {

class Atributos : public pruebas::Entorno {};

std::optional<std::string> valor(const std::string &tag, const char *nombre) {
  uint32_t inicio = 99, fin = 99;
  if (lenguaweb_busca_atributo(tag, nombre, &inicio, &fin) != CIERTO) {
    EXPECT_EQ(inicio, 99u);  // left untouched
    return std::nullopt;
  }
  return tag.substr(inicio, fin - inicio);
}

TEST_F(Atributos, BuscaAtributo) {
  // clang-format off
  const struct { const char *tag, *nombre; std::optional<std::string> esperado; } casos[] = {
      // Capitals or lower case, capitals first; mixed case is not found.
      {"<IMG SRC=\"a.gif\" ALT=\"Logo\"", "ALT", "Logo"}, {"<img alt=\"Logo\"", "ALT", "Logo"},
      {"<IMG Alt=\"Logo\"", "ALT", std::nullopt}, {"<IMG alt=\"a\" ALT=\"b\"", "ALT", "b"},
      // Unquoted, the tag's end or a blank ends it ('>' only when no space follows).
      {"<IMG SRC=a.gif ALT=Logo", "ALT", "Logo"}, {"<IMG ALT=Logo SRC=a.gif", "ALT", "Logo"},
      {"<A HREF=page.htm>", "HREF", "page.htm"},
      {"<IMG ALT = \"Logo\"", "ALT", "Logo"}, {"<IMG\tALT=\"x\"", "ALT", "x"}, {"<IMG ALT=\"\"", "ALT", ""},
      {"<IMG ALT=\"a>b\" SRC=x", "ALT", "a>b"}, {"<IMG ALT='Logo \"x\"' SRC=x", "ALT", "Logo \"x\""},
      {"<IMG ALT=\"never closed", "ALT", std::nullopt}, {"<IMG ALT", "ALT", std::nullopt},
      // Only where it is an attribute: not inside a value, nor inside another name; a '"'
      // in a name opens nothing.
      {"<IMG TITLE='see ALT=here' ALT=\"Real\"", "ALT", "Real"}, {"<IMG SRC=\"x ALT=y\" alt=\"z\"", "ALT", "z"},
      {"<IMG SRC=\"SALTO.GIF\" ALT=\"Jump\"", "ALT", "Jump"}, {"<IMG DATA-ALT=\"x\" ALT=\"y\"", "ALT", "y"},
      {"<IMG ALTO=\"x\" ALT=\"y\"", "ALT", "y"}, {"<IMG A\"B=\"x ALT=\"y\"", "ALT", std::nullopt},
  };
  // clang-format on
  for (const auto &c : casos) EXPECT_EQ(valor(c.tag, c.nombre), c.esperado) << c.tag;
  char *v = nullptr;
  EXPECT_EQ(lenguaweb_dame_atributo("<IMG ALT=\"x\"", "ALT", &v), CIERTO);
  EXPECT_STREQ(v, "x");
  cad_destruye(&v);
  EXPECT_EQ(lenguaweb_dame_atributo("<IMG", "ALT", &v), FALSO);
  EXPECT_EQ(v, nullptr);
}

TEST_F(Atributos, TextosDeTags) {
  constexpr int kNinguno = -1;  // no text
  // clang-format off
  const struct { const char *tag; int tipo; const char *texto = ""; } casos[] = {
      {"<IMG SRC=\"a.gif\" ALT=\"Logo\"", TIPO_ALTERNATIVO_IMAGEN, "Logo"}, {"<img src=x alt=\"Logo\"", TIPO_ALTERNATIVO_IMAGEN, "Logo"},
      {"<META NAME=\"description\" CONTENT=\"Desc\"", TIPO_DESCRIPCION, "Desc"},
      {"<meta name=\"Keywords\" content=\"a, b\"", TIPO_PALABRA_CLAVE, "a, b"},
      {"<META NAME=\"keywords\" CONTENT=\"a, b\"", TIPO_PALABRA_CLAVE, "a, b"},
      {"<META NAME=\"Description\"", kNinguno}, {"<META CONTENT=\"x\"", kNinguno}, {"<meta itemprop=\"name\" content=\"x\"", kNinguno},
      {"<meta name=\"viewport\" content=\"width=device-width\"", kNinguno},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html\"", kNinguno}, {"<IMG SRC=\"a.gif\"", kNinguno},
      {"<IMAGE ALT=\"x\"", kNinguno},
  };
  // clang-format on
  for (const auto &c : casos) {
    const std::string tag = c.tag, entero = tag + ">";
    tag_leido leido = lenguaweb_lee_tag_en(entero, 0, elemento_crudo::ninguno, false);
    texto_de_tag texto{};
    const bool da = lenguaweb_texto_de_tag(leido, &texto);
    EXPECT_EQ(da, c.tipo >= 0) << tag;
    if (!da || c.tipo < 0) continue;
    EXPECT_EQ(static_cast<int>(texto.tipo), c.tipo) << tag;
    EXPECT_EQ(tag.substr(texto.inicio, texto.fin - texto.inicio), c.texto) << tag;
  }
}

}  // namespace
