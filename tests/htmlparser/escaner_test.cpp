// escaner_test.cpp - the tag scanner, walked over whole texts in its byte and wide forms.
#include <chrono>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "htmlparser/htmlparser.h"

namespace {

using pruebas::Entorno;

struct Token {
  std::string texto;
  uint16_t tipo;
  booleano resultado;
  bool operator==(const Token &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Token &t) {
  return os << "{\"" << t.texto << "\", " << t.tipo << ", " << t.resultado << "}";
}

// Byte for code unit, so that positions and lengths are the same in both forms.
std::u16string ancho(const std::string &s) {
  std::u16string w;
  for (unsigned char c : s) w.push_back(c);
  return w;
}
std::string estrecho(const std::u16string &w) {
  std::string s;
  for (char16_t c : w) s.push_back(static_cast<char>(c));
  return s;
}

booleano lee(const char *t, uint32_t *p, uint16_t *k, char **c) {
  return htmlparser_lee_siguiente_tag(t, p, k, c);
}
booleano lee(const char16_t *t, uint32_t *p, uint16_t *k, char16_t **c) {
  return htmlparser_lee_siguiente_tag_u(t, p, k, c);
}
std::string a_string(const char *c) {
  return c;
}
std::string a_string(const char16_t *c) {
  return estrecho(c);
}
void destruye(char **c) {
  cad_destruye(c);
}
void destruye(char16_t **c) {
  wcad_destruye(c);
}

// Walks the whole text from position 0 until the scanner says nothing is left. Each
// call's copy must be exactly the characters it moved over; a second walk without
// copies must move the same way.
template <class C>
std::vector<Token> recorre(const std::basic_string<C> &texto, uint16_t tipo_inicial) {
  std::vector<Token> tokens;
  uint32_t pos = 0, pos_sin_copia = 0;
  uint16_t tipo = tipo_inicial, tipo_sin_copia = tipo_inicial;
  for (size_t vuelta = 0; vuelta <= texto.size() + 1; ++vuelta) {
    const uint32_t antes = pos;
    C *copia = nullptr;
    booleano r = lee(texto.c_str(), &pos, &tipo, &copia);
    EXPECT_NE(copia, nullptr);
    if (copia == nullptr) break;
    std::string token = a_string(copia);
    destruye(&copia);
    EXPECT_EQ(token.size(), pos - antes) << "copy and position disagree at " << antes;
    EXPECT_LE(pos, texto.size());
    booleano r_sin_copia = lee(texto.c_str(), &pos_sin_copia, &tipo_sin_copia, nullptr);
    EXPECT_EQ(pos_sin_copia, pos);
    EXPECT_EQ(tipo_sin_copia, tipo);
    EXPECT_EQ(r_sin_copia, r);
    tokens.push_back({token, tipo, r});
    if (r == FALSO) {
      EXPECT_EQ(pos, texto.size());
      return tokens;
    }
    EXPECT_GT(pos, antes) << "no progress";
  }
  ADD_FAILURE() << "the walk never ended";
  return tokens;
}

struct Caso {
  const char *nombre;
  std::string texto;
  uint16_t tipo_inicial;
  std::vector<Token> tokens;
  // "(fin_tag) != NULL" reports expected from one walk of each form (recorre walks twice).
  unsigned informes_bytes;
  unsigned informes_ancho;
};

// SIGUE: something is left after the token; FIN: the token was the last.
constexpr booleano SIGUE = CIERTO, FIN = FALSO;

const std::vector<Caso> &casos() {
  // clang-format off
  static const std::vector<Caso> c = {
      {"vacio", "", 1, {{"", 0, FIN}}, 0, 0},
      {"solo_texto", "abc", 1, {{"abc", 0, FIN}}, 0, 0},
      {"tag_texto_tag", "<b>x</b>", 0, {{"<b>", 1, SIGUE}, {"x", 0, SIGUE}, {"</b>", 1, FIN}}, 0, 0},
      {"blanco_tras_tag", "<p> hi", 0, {{"<p>", 1, SIGUE}, {" ", 1, SIGUE}, {"hi", 0, FIN}}, 0, 0},
      {"blanco_inicial_tipo_0", "  <p>", 0, {{"  ", 0, SIGUE}, {"<p>", 1, FIN}}, 0, 0},
      {"blanco_inicial_tipo_1", "  <p>", 1, {{"  ", 1, SIGUE}, {"<p>", 1, FIN}}, 0, 0},
      // Blanks inside a text run belong to it: only a '<' ends a run.
      {"blancos_dentro_del_texto", "a \t\r\nb", 1, {{"a \t\r\nb", 0, FIN}}, 0, 0},
      {"blancos_tras_comentario", "<!-- c --> \t\r\nb", 0,
       {{"<!-- c -->", 1, SIGUE}, {" \t\r\n", 1, SIGUE}, {"b", 0, FIN}}, 0, 0},
      {"blanco_final", "<p>  ", 0, {{"<p>", 1, SIGUE}, {"  ", 1, FIN}}, 0, 0},
      {"comentario_minimo", "<!-->x", 0, {{"<!-->", 1, SIGUE}, {"x", 0, FIN}}, 0, 0},
      {"comentario_con_mayor", "<!-- a > b -- >-->c", 0,
       {{"<!-- a > b -- >-->", 1, SIGUE}, {"c", 0, FIN}}, 0, 0},
      {"comentario_guiones", "<!--->", 0, {{"<!--->", 1, FIN}}, 0, 0},
      {"comentario_sin_fin", "x<!-- a > b", 0, {{"x", 0, SIGUE}, {"<!-- a > b", 1, FIN}}, 1, 1},
      {"casi_comentario", "<!- a -->b", 0, {{"<!- a -->", 1, SIGUE}, {"b", 0, FIN}}, 0, 0},
      {"doctype", "<!DOCTYPE html>\n<html>", 0,
       {{"<!DOCTYPE html>", 1, SIGUE}, {"\n", 1, SIGUE}, {"<html>", 1, FIN}}, 0, 0},
      {"mayor_entre_comillas", "<a title=\"x>y\">z", 0,
       {{"<a title=\"x>", 1, SIGUE}, {"y\">z", 0, FIN}}, 0, 0},
      {"tag_sin_fin", "a<b", 0, {{"a", 0, SIGUE}, {"<b", 1, FIN}}, 1, 0},
      {"menor_solo", "x<", 0, {{"x", 0, SIGUE}, {"<", 1, FIN}}, 1, 0},
      {"menor_sin_tag", "a < b>c", 0, {{"a ", 0, SIGUE}, {"< b>", 1, SIGUE}, {"c", 0, FIN}}, 0, 0},
      {"tag_vacio_y_doble", "<><<b>", 0, {{"<>", 1, SIGUE}, {"<<b>", 1, FIN}}, 0, 0},
      {"mayor_suelto", "a>b<i>", 0, {{"a>b", 0, SIGUE}, {"<i>", 1, FIN}}, 0, 0},
      // Bytes above 127 (here UTF-8 and a Latin-1 no-break space) are text, not blanks.
      {"bytes_altos", "<i>\xa0 x<i> \xc3\xa1", 0,
       {{"<i>", 1, SIGUE}, {"\xa0 x", 0, SIGUE}, {"<i>", 1, SIGUE}, {" ", 1, SIGUE},
        {"\xc3\xa1", 0, FIN}}, 0, 0},
  };
  // clang-format on
  return c;
}

class Escaner : public Entorno {};

TEST_F(Escaner, CadaCasoDaSusTokensEnAmbasFormas) {
  for (const Caso &caso : casos()) {
    SCOPED_TRACE(caso.nombre);
    olvida_informes();
    EXPECT_EQ(recorre(caso.texto, caso.tipo_inicial), caso.tokens) << "bytes";
    EXPECT_EQ(cuenta_informes("(fin_tag) != NULL"), 2u * caso.informes_bytes) << "bytes";
    EXPECT_EQ(informes().size(), 2u * caso.informes_bytes);
    for (const auto &informe : informes()) EXPECT_EQ(informe.modulo, "htmlparser (LENGUAWEB.DLL)");

    olvida_informes();
    EXPECT_EQ(recorre(ancho(caso.texto), caso.tipo_inicial), caso.tokens) << "wide";
    EXPECT_EQ(cuenta_informes("(fin_tag) != NULL"), 2u * caso.informes_ancho) << "wide";
    EXPECT_EQ(informes().size(), 2u * caso.informes_ancho);
  }
}

// The tokens of a walk, joined, give back the whole text: nothing lost, nothing cut,
// however long a token is.
TEST_F(Escaner, LosTokensUnidosDanElTextoEntero) {
  std::vector<std::string> textos = {
      "<html>\n <head><title>T</title></head>\r\n<body class=x>Hola <b>mundo</b>!"
      "<!-- nota <b> --> fin\t</body></html>\n",
      "sin tags, solo texto y  blancos ",
      "<a href=\"x\"><img src=y alt='z'></a><!-- sin cerrar",
  };
  std::string grande = "<p>" + std::string(50'000, 't') + "<a title=\"";
  grande += std::string(100'000, 'v') + "\">" + std::string(40'000, 'u') + " \n ";
  grande += "<!--" + std::string(10'000, '-') + "-->" + std::string(5'000, ' ') + "fin";
  textos.push_back(grande);

  for (const std::string &texto : textos) {
    SCOPED_TRACE(texto.substr(0, 40));
    std::string unido;
    size_t mayor = 0;
    for (const Token &t : recorre(texto, 0)) {
      unido += t.texto;
      mayor = std::max(mayor, t.texto.size());
    }
    EXPECT_EQ(unido, texto);

    std::string unido_ancho;
    for (const Token &t : recorre(ancho(texto), 0)) unido_ancho += t.texto;
    EXPECT_EQ(unido_ancho, texto);
    if (texto == grande) {
      EXPECT_GT(mayor, size_t(100'000));
    }
  }
}

TEST_F(Escaner, ArgumentosNulosSeInformanSinTocarNada) {
  struct Nulo {
    bool texto, posicion, tipo;
    const char *condicion;
  };
  const Nulo nulos[] = {{true, false, false, "(texto) != NULL"},
                        {false, true, false, "(posicion) != NULL"},
                        {false, false, true, "(tipo) != NULL"}};
  char centinela[] = "sin tocar";
  char16_t centinela_ancho[] = u"sin tocar";
  for (const Nulo &n : nulos) {
    SCOPED_TRACE(n.condicion);
    olvida_informes();
    uint32_t pos = 1;
    uint16_t tipo = 7;
    char *copia = centinela;
    EXPECT_EQ(htmlparser_lee_siguiente_tag(n.texto ? nullptr : "a<b>", n.posicion ? nullptr : &pos,
                                           n.tipo ? nullptr : &tipo, &copia),
              FALSO);
    char16_t *copia_ancha = centinela_ancho;
    EXPECT_EQ(
        htmlparser_lee_siguiente_tag_u(n.texto ? nullptr : u"a<b>", n.posicion ? nullptr : &pos,
                                       n.tipo ? nullptr : &tipo, &copia_ancha),
        FALSO);
    EXPECT_EQ(pos, 1u);
    EXPECT_EQ(tipo, 7);
    EXPECT_EQ(copia, centinela);
    EXPECT_EQ(copia_ancha, centinela_ancho);
    EXPECT_EQ(cuenta_informes(n.condicion), 2u);
    EXPECT_EQ(informes().size(), 2u);
  }
}

// The readers on their own: a text run read from a '<' still moves, so a caller that
// loops on it cannot stall; none moves past the NUL.
TEST_F(Escaner, LectoresSueltos) {
  struct Lector {
    void (*bytes)(const char *, uint32_t *);
    void (*ancho)(const char16_t *, uint32_t *);
    const char *texto;
    uint32_t desde, hasta;
  };
  const Lector lectores[] = {
      {htmlparser_salta_texto, htmlparser_salta_texto_u, "<a<b", 0, 2},
      {htmlparser_salta_texto, htmlparser_salta_texto_u, "ab", 2, 2},
      {htmlparser_salta_blancos, htmlparser_salta_blancos_u, "x \n y", 1, 4},
      {htmlparser_salta_blancos, htmlparser_salta_blancos_u, "x \n y", 0, 0},
      {htmlparser_salta_tag, htmlparser_salta_tag_u, "a<b>c", 1, 4},
  };
  for (const Lector &l : lectores) {
    SCOPED_TRACE(l.texto);
    uint32_t pos = l.desde;
    l.bytes(l.texto, &pos);
    EXPECT_EQ(pos, l.hasta);
    pos = l.desde;
    l.ancho(ancho(l.texto).c_str(), &pos);
    EXPECT_EQ(pos, l.hasta);
  }
  EXPECT_TRUE(informes().empty());
}

// A host walks a large page token by token: each call must cost the token, not the
// rest of the text, or the walk turns quadratic.
TEST_F(Escaner, RecorrerUnTextoGrandeEsLineal) {
  std::string texto;
  while (texto.size() < 4'000'000) texto += "<b>x</b> y\n";
  const std::u16string texto_ancho = ancho(texto);
  const auto empieza = std::chrono::steady_clock::now();
  size_t tokens = 0, tokens_anchos = 0;
  uint32_t pos = 0;
  uint16_t tipo = 0;
  while (htmlparser_lee_siguiente_tag(texto.c_str(), &pos, &tipo, nullptr) == CIERTO) ++tokens;
  pos = 0;
  while (htmlparser_lee_siguiente_tag_u(texto_ancho.c_str(), &pos, &tipo, nullptr) == CIERTO)
    ++tokens_anchos;
  const auto segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - empieza);
  EXPECT_EQ(tokens, texto.size() / 11 * 5 - 1);
  EXPECT_EQ(tokens_anchos, tokens);
  EXPECT_LT(segundos.count(), 20.0);
}

}  // namespace
