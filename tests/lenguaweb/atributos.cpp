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
  struct {
    const char *tag, *nombre;
    std::optional<std::string> esperado;
  } casos[] = {
      {"<IMG SRC=\"a.gif\" ALT=\"Logo\"", "ALT", "Logo"},
      {"<img alt=\"Logo\"", "ALT", "Logo"},
      {"<IMG Alt=\"Logo\"", "ALT", std::nullopt},  // mixed case is not found
      {"<IMG SRC=a.gif ALT=Logo", "ALT", "Logo"},  // unquoted, last: the tag's end ends it
      {"<IMG ALT=Logo SRC=a.gif", "ALT", "Logo"},
      {"<IMG ALT = \"Logo\"", "ALT", "Logo"},    // blanks around the '='
      {"<IMG ALT=\"a>b\" SRC=x", "ALT", "a>b"},  // a '>' inside quotes
      {"<IMG ALT=\"\"", "ALT", ""},
      {"<IMG ALT=\"never closed", "ALT", std::nullopt},
      {"<IMG ALT='Logo \"x\"' SRC=x", "ALT", "Logo \"x\""},       // single quotes, blanks inside
      {"<IMG TITLE='see ALT=here' ALT=\"Real\"", "ALT", "Real"},  // not inside a value
      {"<IMG A\"B=\"x ALT=\"y\"", "ALT", std::nullopt},           // a '"' in a name opens nothing
      {"<IMG SRC=\"SALTO.GIF\" ALT=\"Jump\"", "ALT", "Jump"},     // only where it is an attribute
      {"<IMG SRC=\"x ALT=y\" alt=\"z\"", "ALT", "z"},             // not inside a quoted value
      {"<IMG DATA-ALT=\"x\" ALT=\"y\"", "ALT", "y"},              // not inside another name
      {"<IMG ALTO=\"x\" ALT=\"y\"", "ALT", "y"},
      {"<IMG\tALT=\"x\"", "ALT", "x"},  // any blank before the name
      {"<IMG ALT", "ALT", std::nullopt},
      {"<IMG alt=\"a\" ALT=\"b\"", "ALT", "b"},   // capitals first
      {"<A HREF=page.htm>", "HREF", "page.htm"},  // '>' ends when no space follows
  };
  for (const auto &c : casos) EXPECT_EQ(valor(c.tag, c.nombre), c.esperado) << c.tag;
}

TEST_F(Atributos, TextosDeTags) {
  constexpr int kNinguno = -1;
  struct {
    const char *tag;
    int tipo;  // kNinguno: no text
    const char *texto;
  } casos[] = {
      {"<IMG SRC=\"a.gif\" ALT=\"Logo\"", TIPO_ALTERNATIVO_IMAGEN, "Logo"},
      {"<img src=x alt=\"Logo\"", TIPO_ALTERNATIVO_IMAGEN, "Logo"},
      {"<IMG SRC=\"SALTO.GIF\" ALT=\"Jump\"", TIPO_ALTERNATIVO_IMAGEN, "Jump"},
      {"<META NAME=\"description\" CONTENT=\"Desc\"", TIPO_DESCRIPCION, "Desc"},
      {"<meta name=\"Keywords\" content=\"a, b\"", TIPO_PALABRA_CLAVE, "a, b"},
      {"<META NAME=\"keywords\" CONTENT=\"a, b\"", TIPO_PALABRA_CLAVE, "a, b"},
      {"<META NAME=\"Description\"", kNinguno, ""},
      {"<META CONTENT=\"x\"", kNinguno, ""},
      {"<meta name=\"viewport\" content=\"width=device-width\"", kNinguno, ""},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html\"", kNinguno, ""},
      {"<meta itemprop=\"name\" content=\"x\"", kNinguno, ""},
      {"<IMG SRC=\"a.gif\"", kNinguno, ""},
      {"<IMAGE ALT=\"x\"", kNinguno, ""},
  };
  for (const auto &c : casos) {
    const std::string tag = c.tag;
    const std::string entero = tag + ">";
    tag_leido leido = lenguaweb_lee_tag_en(entero, 0, elemento_crudo::ninguno, false);
    texto_de_tag texto{};
    const bool da = lenguaweb_texto_de_tag(leido, &texto);
    EXPECT_EQ(da, c.tipo >= 0) << tag;
    if (!da || c.tipo < 0) continue;
    EXPECT_EQ(static_cast<int>(texto.tipo), c.tipo) << tag;
    EXPECT_EQ(tag.substr(texto.inicio, texto.fin - texto.inicio), c.texto) << tag;
  }
  char *v = nullptr;
  EXPECT_EQ(lenguaweb_dame_atributo("<IMG ALT=\"x\"", "ALT", &v), CIERTO);
  EXPECT_STREQ(v, "x");
  cad_destruye(&v);
  EXPECT_EQ(lenguaweb_dame_atributo("<IMG", "ALT", &v), FALSO);
  EXPECT_EQ(v, nullptr);
}

}  // namespace
