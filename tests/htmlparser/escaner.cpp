// escaner.cpp - the tag scanner over whole texts in both forms, and the link finder of a tag.
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using Escaner = pruebas::Entorno;
// The copy, the kind and the result of one call.
using Token = std::tuple<std::string, uint16_t, booleano>;
constexpr booleano SIGUE = CIERTO, FIN = FALSO;

// Byte for code unit, so that positions and lengths are the same in both forms.
std::u16string ancho(const std::string &s) {
  std::u16string w;
  for (unsigned char c : s) w.push_back(c);
  return w;
}

// Walks the text from desde until the scanner says nothing is left.
template <class C>
std::vector<Token> recorre(const std::basic_string<C> &texto, uint16_t tipo,
                           booleano (*lee)(const C *, uint32_t *, uint16_t *, C **),
                           void (*destruye)(C **), uint32_t desde = 0) {
  std::vector<Token> tokens;
  for (uint32_t pos = desde; tokens.size() <= texto.size();) {
    C *copia = nullptr;
    const booleano r = lee(texto.c_str(), &pos, &tipo, &copia);
    std::string token;
    for (const C *c = copia; c != nullptr && *c != 0; ++c) token.push_back(static_cast<char>(*c));
    destruye(&copia);
    tokens.emplace_back(token, tipo, r);
    if (r == FALSO) {
      EXPECT_EQ(pos, texto.size());
      return tokens;
    }
  }
  ADD_FAILURE() << "the walk never ended";
  return tokens;
}

TEST_F(Escaner, CadaTextoDaSusTokensEnAmbasFormas) {
  // Longer than 16 bits can count: a token is copied whole.
  const std::string largo(70'000, 'v');
  // clang-format off
  // informes_*: "(fin_tag) != NULL" expected.
  struct Caso { std::string texto; uint16_t tipo_inicial; std::vector<Token> tokens; unsigned informes_bytes, informes_ancho; };
  const Caso casos[] = {
      {"", 1, {{"", 0, FIN}}, 0, 0},
      // A blank run keeps the caller's kind at the start, the previous token's after it.
      {"  <p>", 0, {{"  ", 0, SIGUE}, {"<p>", 1, FIN}}, 0, 0},
      {"<!-- a > b -- >--> \t\r\nb c", 0, {{"<!-- a > b -- >-->", 1, SIGUE}, {" \t\r\n", 1, SIGUE}, {"b c", 0, FIN}}, 0, 0},
      {"<!-->x", 0, {{"<!-->", 1, SIGUE}, {"x", 0, FIN}}, 0, 0},
      {"<!--->", 0, {{"<!--->", 1, FIN}}, 0, 0},
      {"x<!-- a > b", 0, {{"x", 0, SIGUE}, {"<!-- a > b", 1, FIN}}, 1, 1},
      {"<!-x>-->b", 0, {{"<!-x>", 1, SIGUE}, {"-->b", 0, FIN}}, 0, 0},
      {"x</b>y", 0, {{"x", 0, SIGUE}, {"</b>", 1, SIGUE}, {"y", 0, FIN}}, 0, 0},
      {"<!DOCTYPE html>\n<html>\n", 0, {{"<!DOCTYPE html>", 1, SIGUE}, {"\n", 1, SIGUE}, {"<html>", 1, SIGUE}, {"\n", 1, FIN}}, 0, 0},
      // A '>' inside a quoted value does not end the tag; a quote that never closes ends it at the
      // first '>' after the quote; quotes mean nothing in comments and declarations, nor in a name.
      {"<a title=\"x>y\">z", 0, {{"<a title=\"x>y\">", 1, SIGUE}, {"z", 0, FIN}}, 0, 0},
      {"<a b = 'x>y' c=\"'>\">z", 0, {{"<a b = 'x>y' c=\"'>\">", 1, SIGUE}, {"z", 0, FIN}}, 0, 0},
      {"<a title=\"x>y<p>z", 0, {{"<a title=\"x>", 1, SIGUE}, {"y", 0, SIGUE}, {"<p>", 1, SIGUE}, {"z", 0, FIN}}, 0, 0},
      {"<a x\"y>z\">", 0, {{"<a x\"y>", 1, SIGUE}, {"z\">", 0, FIN}}, 0, 0},
      {"<!DOCTYPE a \"b>c\">", 0, {{"<!DOCTYPE a \"b>", 1, SIGUE}, {"c\">", 0, FIN}}, 0, 0},
      {"<a b=c\"d>e", 0, {{"<a b=c\"d>", 1, SIGUE}, {"e", 0, FIN}}, 0, 0},
      {"a<b", 0, {{"a", 0, SIGUE}, {"<b", 1, FIN}}, 1, 0},
      {"<><<b>", 0, {{"<>", 1, SIGUE}, {"<<b>", 1, FIN}}, 0, 0},
      // A stray '<' runs to the end of the tag a browser reads after it, quoted '>' and all.
      {"a < b <a title=\"x>y\">z", 0, {{"a ", 0, SIGUE}, {"< b <a title=\"x>y\">", 1, SIGUE}, {"z", 0, FIN}}, 0, 0},
      {"<<A V=\">i<\">z", 0, {{"<<A V=\">i<\">", 1, SIGUE}, {"z", 0, FIN}}, 0, 0},
      // Bytes above 127 (UTF-8, a Latin-1 no-break space) are text, not blanks.
      {"<i>\xa0 x<i> \xa0\xc3\xa1", 0, {{"<i>", 1, SIGUE}, {"\xa0 x", 0, SIGUE}, {"<i>", 1, SIGUE}, {" ", 1, SIGUE}, {"\xa0\xc3\xa1", 0, FIN}}, 0, 0},
      {"<a title=\"" + largo + "\">" + largo, 0, {{"<a title=\"" + largo + "\">", 1, SIGUE}, {largo, 0, FIN}}, 0, 0},
  };
  // clang-format on
  for (const Caso &caso : casos) {
    SCOPED_TRACE(caso.texto.substr(0, 30));
    olvida_informes();
    EXPECT_EQ(recorre(caso.texto, caso.tipo_inicial, htmlparser_lee_siguiente_tag, cad_destruye),
              caso.tokens);
    EXPECT_EQ(cuenta_informes("(fin_tag) != NULL"), caso.informes_bytes);
    EXPECT_EQ(recorre(ancho(caso.texto), caso.tipo_inicial, htmlparser_lee_siguiente_tag_u,
                      wcad_destruye),
              caso.tokens);
    EXPECT_EQ(cuenta_informes("(fin_tag) != NULL"), caso.informes_bytes + caso.informes_ancho);
    EXPECT_EQ(informes().size(), caso.informes_bytes + caso.informes_ancho);
  }
}

// A missing argument is reported and nothing the caller gave is written. A position past the
// end of the text (its NUL) is reported and read as the end: an empty text token, the position
// moved back to the end, result FIN.
TEST_F(Escaner, MalUsoSeInformaSinTocarNada) {
  const char *condiciones[] = {"(texto) != NULL", "(posicion) != NULL", "(tipo) != NULL"};
  char centinela[] = "sin tocar";
  for (int nulo = 0; nulo < 3; ++nulo) {
    uint32_t pos = 1;
    uint16_t tipo = 7;
    char *copia = centinela;
    EXPECT_EQ(htmlparser_lee_siguiente_tag(nulo == 0 ? nullptr : "a<b>", nulo == 1 ? nullptr : &pos,
                                           nulo == 2 ? nullptr : &tipo, &copia),
              FALSO);
    EXPECT_TRUE(pos == 1 && tipo == 7 && copia == centinela) << condiciones[nulo];
    EXPECT_EQ(cuenta_informes(condiciones[nulo]), 1u);
  }
  const std::string texto = "a<b>";
  const std::vector<Token> fin = {{"", 0, FIN}};
  EXPECT_EQ(recorre(texto, 7, htmlparser_lee_siguiente_tag, cad_destruye, 4), fin);
  EXPECT_EQ(informes().size(), 3u);
  EXPECT_EQ(recorre(texto, 7, htmlparser_lee_siguiente_tag, cad_destruye, 5), fin);
  EXPECT_EQ(recorre(ancho(texto), 7, htmlparser_lee_siguiente_tag_u, wcad_destruye, 0xFFFFFFFF),
            fin);
  EXPECT_EQ(cuenta_informes("(*posicion) <= cad_longitud(texto)"), 1u);
  EXPECT_EQ(cuenta_informes("(*posicion) <= wcad_longitud(texto)"), 1u);
  EXPECT_EQ(informes().size(), 5u);
  for (const auto &i : informes()) EXPECT_EQ(i.modulo, "htmlparser (LENGUAWEB.DLL)");
}

using LinkExterno = pruebas::Entorno;

std::optional<std::string> busca(const char *texto) {
  char *link = htmlparser_obtener_cualquier_link_externo(texto);
  return link != nullptr ? std::optional(pruebas::toma(link)) : std::nullopt;
}

TEST_F(LinkExterno, CadaTagDaSuLink) {
  const std::string largo = "host/" + std::string(70'000, 'r') + ".htm";
  // clang-format off
  const struct { std::string texto; std::optional<std::string> link; } casos[] = {
      // src wins wherever it stands; href only counts when there is no " src".
      {.texto = "<img src=\"http://host.com/dir/a.png\">", .link = "host.com/dir/a.png"},
      {.texto = "<a href=\"b.htm\" src=\"a.png\">", .link = "a.png"}, {.texto = "<a href=\"b.htm\">", .link = "b.htm"},
      {.texto = "<img href=\"b.htm\" src=\"a.png>", .link = std::nullopt}, {.texto = "<IMG SRC=\"a.png\" HREF=\"b.htm\">", .link = std::nullopt},
      {.texto = "src=\"a.png\" xhref=\"b.htm\"", .link = std::nullopt},
      // An unquoted value ends at a space anywhere after it rather than at a nearer '>', then
      // at '>', then at the digit pairs "13" and "10" (not carriage return and line feed):
      // hosts kept the links this reading gave, so it stays.
      {.texto = "<a href=page.htm>", .link = "page.htm"}, {.texto = "<a href=page.htm>ver mas", .link = "page.htm>ver"},
      {.texto = "<a href=page13.htm", .link = "page"}, {.texto = "<a href=page10.htm", .link = "page"},
      {.texto = "<a href=p1013", .link = "p10"}, {.texto = "<a href=page.htm\r\n", .link = std::nullopt},
      {.texto = "<a href=\"\">", .link = ""}, {.texto = "<a href='b.htm'>", .link = "'b.htm'"},
      {.texto = "<a href= \"b.htm\">", .link = ""}, {.texto = "<a href \t\r\n=\"b.htm\">", .link = "b.htm"},
      {.texto = "<a href\"b.htm\">", .link = "b.htm"}, {.texto = "<img srcset=x.png>", .link = "set=x.png"},
      // Prefixes come off in the order http://, https://, ftp://, exact case only; a link
      // longer than 16 bits can count is copied whole.
      {.texto = "<a href=\"HTTP://host/x\">", .link = "HTTP://host/x"}, {.texto = "<a href=\"http://ftp://x\">", .link = "x"},
      {.texto = "<a href=\"ftp://http://x\">", .link = "http://x"}, {.texto = "<a href=\"https://http://x\">", .link = "http://x"},
      {.texto = "<a href=\"https://ftp://x\">", .link = "x"},
      {.texto = "<a title=x href=\"http://" + largo + "\">", .link = largo},
  };
  // clang-format on
  for (const auto &c : casos) EXPECT_EQ(busca(c.texto.c_str()), c.link) << c.texto.substr(0, 40);
  EXPECT_TRUE(informes().empty());
  // A null text is reported and gives none.
  EXPECT_EQ(busca(nullptr), std::nullopt);
  EXPECT_EQ(condiciones(), "(texto) != NULL");
  for (const auto &i : informes()) EXPECT_EQ(i.modulo, "htmlparser (LENGUAWEB.DLL)");
}

}  // namespace
