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

TEST_F(LinkExterno, Casos) {
  const std::string largo = "host/" + std::string(70'000, 'r') + ".htm";
  const std::pair<std::string, std::optional<std::string>> casos[] = {
      {"<img src=\"http://host.com/dir/a.png\">", "host.com/dir/a.png"},
      // src wins wherever it stands; href only counts when there is no " src".
      {"<a href=\"b.htm\" src=\"a.png\">", "a.png"},
      {"<a href=\"b.htm\">", "b.htm"},
      {"<img href=\"b.htm\" src=\"a.png>", std::nullopt},
      {"<IMG SRC=\"a.png\" HREF=\"b.htm\">", std::nullopt},
      {"src=\"a.png\" xhref=\"b.htm\"", std::nullopt},
      // Unquoted values: a space anywhere after wins over a nearer '>', then '>', then the
      // digit pairs "13" and "10" (not carriage return and line feed).
      {"<a href=page.htm>", "page.htm"},
      {"<a href=page.htm>ver mas", "page.htm>ver"},
      {"<a href=page13.htm", "page"},
      {"<a href=page10.htm", "page"},
      {"<a href=p1013", "p10"},
      {"<a href=page.htm\r\n", std::nullopt},
      {"<a href=\"\">", ""},
      {"<a href='b.htm'>", "'b.htm'"},
      {"<a href= \"b.htm\">", ""},
      {"<a href \t\r\n=\"b.htm\">", "b.htm"},
      {"<a href\"b.htm\">", "b.htm"},
      {"<img srcset=x.png>", "set=x.png"},
      // Prefixes come off in the order http://, https://, ftp://, exact case only.
      {"<a href=\"HTTP://host/x\">", "HTTP://host/x"},
      {"<a href=\"http://ftp://x\">", "x"},
      {"<a href=\"ftp://http://x\">", "http://x"},
      {"<a href=\"https://http://x\">", "http://x"},
      {"<a href=\"https://ftp://x\">", "x"},
      // Longer than 16 bits can count: copied whole.
      {"<a title=x href=\"http://" + largo + "\">", largo},
  };
  for (const auto &[texto, esperado] : casos) EXPECT_EQ(busca(texto.c_str()), esperado) << texto;
  EXPECT_TRUE(informes().empty());
}

TEST_F(LinkExterno, TextoNuloSeInformaYDaNulo) {
  EXPECT_EQ(busca(nullptr), std::nullopt);
  EXPECT_EQ(cuenta_informes("(texto) != NULL"), 1u);
  ASSERT_EQ(informes().size(), 1u);
  EXPECT_EQ(informes()[0].modulo, "htmlparser (LENGUAWEB.DLL)");
}

}  // namespace
