// documento.cpp - tests of making, reading out and destroying page documents.
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using pruebas::a_vector;
using Textos = std::vector<std::string>;
constexpr uint32_t kEspanol = 0x0C0A;

class Documento : public pruebas::Entorno {
 protected:
  lenguaweb_t *crea(const std::string &pagina) {
    return lenguaweb_crea(escribe("pagina.html", pagina).c_str(), kEspanol);
  }
  // Texts and identifiers that the document hands out.
  std::pair<Textos, Textos> textos_e_ids(const lenguaweb_t *documento) {
    lista_cad_t *ids = nullptr;
    lista_cad_t *textos = lenguaweb_dame_textos_a_trducir(documento, &ids);
    std::pair<Textos, Textos> r{a_vector(textos), a_vector(ids)};
    lista_cad_destruye(&textos);
    lista_cad_destruye(&ids);
    return r;
  }
};

// Texts, identifiers (by kind, numbered by position) and the debugging dump of a page.
TEST_F(Documento, TextosIdentificadoresYVolcado) {
  // clang-format off
  const struct { std::string pagina; Textos textos, ids; std::string volcado; } casos[] = {
    {"<HEAD><META NAME=\"description\" CONTENT=\"D\"><TITLE>T</TITLE></HEAD><BODY><P>Uno</P><IMG ALT=\"Foto\"><P>Dos\ny</P></BODY>",
     {"D", "T", "Uno", "Foto", "Dos y"}, {"DESCRIPCION", "TITULO", "TEXTO_2", "ALTERNATIVO_IMAGEN_3", "TEXTO_4"}, "D\nT\nUno\nFoto\nDos y\n"},
    {"<TITLE>T</TITLE><TITLE>U</TITLE><META NAME=\"keywords\" CONTENT=\"k\">", {"T", "U", "k"}, {"TITULO", "TITULO", "PALABRA_CLAVE"}, "T\nU\nk\n"},
    {"", {}, {}, ""},
    {"plain text only, no markup", {}, {}, ""},
    {"<HTML>\n</HTML>", {}, {}, ""},
  };
  // clang-format on
  for (const auto &caso : casos) {
    lenguaweb_t *doc = crea(caso.pagina);
    EXPECT_EQ(lee(ruta("lista_html.txt")), caso.volcado);
    auto [textos, ids] = textos_e_ids(doc);
    EXPECT_EQ(textos, caso.textos);
    EXPECT_EQ(ids, caso.ids);
    lenguaweb_destruye(&doc);
    EXPECT_EQ(doc, nullptr);
  }
  EXPECT_EQ(lenguaweb_version_generacion(), 0);
}

TEST_F(Documento, DosPeticionesSonIndependientes) {
  lenguaweb_t *doc = crea("<P>Uno</P><P>Dos</P><TITLE>T</TITLE><TITLE>U</TITLE>");
  lista_cad_t *ids1 = nullptr, *ids2 = nullptr;
  lista_cad_t *t1 = lenguaweb_dame_textos_a_trducir(doc, &ids1);
  lista_cad_t *t2 = lenguaweb_dame_textos_a_trducir(doc, &ids2);
  EXPECT_EQ(a_vector(ids1), (Textos{"TEXTO_0", "TEXTO_1", "TITULO", "TITULO"}));
  lista_cad_destruye(&t1);
  lista_cad_destruye(&ids1);
  EXPECT_EQ(a_vector(t2), (Textos{"Uno", "Dos", "T", "U"}));
  EXPECT_EQ(a_vector(ids2).size(), 4u);
  auto [textos, ids] = textos_e_ids(doc);
  EXPECT_EQ(textos, a_vector(t2));
  lista_cad_destruye(&t2);
  lista_cad_destruye(&ids2);
  lenguaweb_destruye(&doc);
}

TEST_F(Documento, FicheroIlegibleDaUnaPaginaVaciaYSeInforma) {
  lenguaweb_t *doc = lenguaweb_crea(ruta("no-existe.html").c_str(), kEspanol);
  ASSERT_NE(doc, nullptr);
  auto [textos, ids] = textos_e_ids(doc);
  EXPECT_TRUE(textos.empty());
  bool nombrado = false;
  for (const auto &i : informes())
    nombrado = nombrado || i.condicion.find("no-existe.html") != std::string::npos;
  EXPECT_TRUE(nombrado) << "the report must name the file";
  lenguaweb_destruye(&doc);
}

TEST_F(Documento, PunterosNulosSeInformanYVuelven) {
  lenguaweb_t *nulo = nullptr;
  lenguaweb_destruye(&nulo);
  lenguaweb_destruye(nullptr);
  lista_cad_t *ids = reinterpret_cast<lista_cad_t *>(this);
  EXPECT_EQ(lenguaweb_dame_textos_a_trducir(nullptr, &ids), nullptr);
  EXPECT_EQ(ids, nullptr);
  EXPECT_EQ(lenguaweb_reconstruye_fichero_html(nullptr, nullptr, nullptr, nullptr, nullptr,
                                               ruta("x.html").c_str(), kEspanol),
            FALSO);
  EXPECT_EQ(lenguaweb_preprocesa_links(nullptr, nullptr, nullptr, ruta("y.html").c_str(), kEspanol),
            FALSO);
  lenguaweb_t *sin_nombre = lenguaweb_crea(nullptr, kEspanol);
  EXPECT_TRUE(textos_e_ids(sin_nombre).first.empty());
  lenguaweb_destruye(&sin_nombre);
  EXPECT_EQ(cuenta_informes("(*lenguaweb) != NULL"), 1u);
  EXPECT_EQ(cuenta_informes("(lenguaweb) != NULL"), 4u);
  EXPECT_EQ(cuenta_informes("(nombre_fichero_html) != NULL"), 1u);
  for (const auto &i : informes()) EXPECT_EQ(i.modulo, "lenguaweb (LENGUAWEB.DLL)");
}

// A list of translations that does not give each text one is refused, and the page
// written before stays as it was.
TEST_F(Documento, TraduccionesQueNoCuadranNoSeEscriben) {
  const struct {
    std::vector<const char *> traducidos;
    const char *informe;
  } casos[] = {
      {.traducidos = {"A"},
       .informe = "arr_NumElemsCADENA(textos_traducidos) == "
                  "arr_NumElemsCADENA(lenguaweb->textos)"},
      {.traducidos = {"A", "B", "C"},
       .informe = "arr_NumElemsCADENA(textos_traducidos) == "
                  "arr_NumElemsCADENA(lenguaweb->textos)"},
      {.traducidos = {"A", nullptr}, .informe = "lista_cad_dame(textos_traducidos, i) != NULL"},
      {.traducidos = {nullptr, nullptr}, .informe = "lista_cad_dame(textos_traducidos, i) != NULL"},
  };
  lenguaweb_t *doc = crea("<P>a</P><P>b</P>");
  lista_cad_t *ids = nullptr;
  lista_cad_t *textos = lenguaweb_dame_textos_a_trducir(doc, &ids);
  const std::string salida = escribe("salida.html", "old");
  for (const auto &caso : casos) {
    olvida_informes();
    lista_cad_t *traducidos = lista_cad_crea(0);
    for (const char *t : caso.traducidos) {
      char *copia = cad_copia(t);
      lista_cad_anade_propia(traducidos, &copia);
    }
    EXPECT_EQ(lenguaweb_reconstruye_fichero_html(doc, traducidos, ids, nullptr, nullptr,
                                                 salida.c_str(), kEspanol),
              FALSO);
    EXPECT_EQ(cuenta_informes(caso.informe), 1u) << caso.informe;
    EXPECT_EQ(lee(salida), "old");
    lista_cad_destruye(&traducidos);
  }
  lista_cad_destruye(&textos);
  lista_cad_destruye(&ids);
  lenguaweb_destruye(&doc);
}

}  // namespace
