// link_externo.cpp - finding the src or href link of a tag text.
#include <optional>
#include <string>

#include "comun/entorno_pruebas.h"

namespace {

using LinkExterno = pruebas::Entorno;

std::optional<std::string> busca(const char *texto) {
  char *link = htmlparser_obtener_cualquier_link_externo(texto);
  if (link == nullptr) return std::nullopt;
  std::string valor = link;
  cad_destruye(&link);
  return valor;
}

TEST_F(LinkExterno, CadaTagDaSuLink) {
  const std::string largo = "host/" + std::string(70'000, 'r') + ".htm";
  const struct {
    std::string texto;
    std::optional<std::string> link;  // none: std::nullopt
  } casos[] = {
      // clang-format off
      // src wins wherever it stands; href only counts when there is no " src".
      {.texto = "<img src=\"http://host.com/dir/a.png\">", .link = "host.com/dir/a.png"},
      {.texto = "<a href=\"b.htm\" src=\"a.png\">", .link = "a.png"},
      {.texto = "<a href=\"b.htm\">", .link = "b.htm"},
      {.texto = "<img href=\"b.htm\" src=\"a.png>", .link = std::nullopt},
      {.texto = "<IMG SRC=\"a.png\" HREF=\"b.htm\">", .link = std::nullopt},
      {.texto = "src=\"a.png\" xhref=\"b.htm\"", .link = std::nullopt},
      // An unquoted value ends at a space anywhere after it rather than at a nearer '>', then
      // at '>', then at the digit pairs "13" and "10" (not carriage return and line feed):
      // hosts kept the links this reading gave, so it stays.
      {.texto = "<a href=page.htm>", .link = "page.htm"},
      {.texto = "<a href=page.htm>ver mas", .link = "page.htm>ver"},
      {.texto = "<a href=page13.htm", .link = "page"}, {.texto = "<a href=page10.htm", .link = "page"},
      {.texto = "<a href=p1013", .link = "p10"}, {.texto = "<a href=page.htm\r\n", .link = std::nullopt},
      {.texto = "<a href=\"\">", .link = ""}, {.texto = "<a href='b.htm'>", .link = "'b.htm'"},
      {.texto = "<a href= \"b.htm\">", .link = ""}, {.texto = "<a href \t\r\n=\"b.htm\">", .link = "b.htm"},
      {.texto = "<a href\"b.htm\">", .link = "b.htm"}, {.texto = "<img srcset=x.png>", .link = "set=x.png"},
      // Prefixes come off in the order http://, https://, ftp://, exact case only; a link
      // longer than 16 bits can count is copied whole.
      {.texto = "<a href=\"HTTP://host/x\">", .link = "HTTP://host/x"},
      {.texto = "<a href=\"http://ftp://x\">", .link = "x"},
      {.texto = "<a href=\"ftp://http://x\">", .link = "http://x"},
      {.texto = "<a href=\"https://http://x\">", .link = "http://x"},
      {.texto = "<a href=\"https://ftp://x\">", .link = "x"},
      {.texto = "<a title=x href=\"http://" + largo + "\">", .link = largo},
      // clang-format on
  };
  for (const auto &c : casos) EXPECT_EQ(busca(c.texto.c_str()), c.link) << c.texto.substr(0, 40);
  EXPECT_TRUE(informes().empty());
  // A null text is reported and gives none.
  EXPECT_EQ(busca(nullptr), std::nullopt);
  EXPECT_EQ(cuenta_informes("(texto) != NULL"), 1u);
  ASSERT_EQ(informes().size(), 1u);
  EXPECT_EQ(informes()[0].modulo, "htmlparser (LENGUAWEB.DLL)");
}

}  // namespace
