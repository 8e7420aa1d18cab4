// documento.cpp - tests of making, reading out and destroying page documents.
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "rondas.h"

namespace pruebas {
namespace {

using Documento = Paginas;

// Each request hands out lists of its own: the second outlives the first, its equal.
TEST_F(Documento, DosPeticionesSonIndependientes) {
  lenguaweb_t *doc =
      lenguaweb_crea(escribe("p.html", "<P>Uno</P><TITLE>T</TITLE>").c_str(), kEspanol);
  lista_cad_t *ids[2] = {}, *textos[2];
  for (int k = 0; k < 2; ++k) textos[k] = lenguaweb_dame_textos_a_trducir(doc, &ids[k]);
  for (lista_cad_t **l : {&textos[0], &ids[0]}) lista_cad_destruye(l);
  EXPECT_EQ(a_vector(textos[1]), (Textos{"Uno", "T"}));
  EXPECT_EQ(a_vector(ids[1]), (Textos{"TEXTO_0", "TITULO"}));
  for (lista_cad_t **l : {&textos[1], &ids[1]}) lista_cad_destruye(l);
  lenguaweb_destruye(&doc);
  EXPECT_EQ(doc, nullptr);
  EXPECT_EQ(lenguaweb_version_generacion(), 0);

  // The lists outlive the document whose texts they share; the identifiers count on past
  // each power of ten.
  std::string pagina;
  Textos esperados, esperados_ids;
  for (int i = 0; i <= 1000; ++i) {
    pagina += "<P>t" + std::to_string(i) + "</P>";
    esperados.push_back("t" + std::to_string(i));
    esperados_ids.push_back("TEXTO_" + std::to_string(i));
  }
  doc = lenguaweb_crea(escribe("mil.html", pagina).c_str(), kEspanol);
  textos[0] = lenguaweb_dame_textos_a_trducir(doc, &ids[0]);
  lenguaweb_destruye(&doc);
  EXPECT_EQ(a_vector(textos[0]), esperados);
  EXPECT_EQ(a_vector(ids[0]), esperados_ids);
  for (lista_cad_t **l : {&textos[0], &ids[0]}) lista_cad_destruye(l);
}

// A file that cannot be read, or no file name, gives an empty page, and the report names
// it; null pointers are reported and give FALSO or nothing.
TEST_F(Documento, FicherosIlegiblesYPunterosNulos) {
  const std::string falta = ruta("no-existe.html");
  for (const char *nombre : {falta.c_str(), static_cast<const char *>(nullptr)}) {
    olvida_informes();
    lenguaweb_t *doc = lenguaweb_crea(nombre, kEspanol);
    lista_cad_t *ids = nullptr, *textos = lenguaweb_dame_textos_a_trducir(doc, &ids);
    EXPECT_EQ(lista_cad_num_elems(textos), 0u);
    ASSERT_FALSE(informes().empty());
    EXPECT_NE(
        informes()[0].condicion.find(nombre ? "no-existe.html" : "(nombre_fichero_html) != NULL"),
        std::string::npos);
    for (lista_cad_t **l : {&textos, &ids}) lista_cad_destruye(l);
    lenguaweb_destruye(&doc);
  }
  olvida_informes();
  lista_cad_t *ids = reinterpret_cast<lista_cad_t *>(this);
  EXPECT_EQ(lenguaweb_dame_textos_a_trducir(nullptr, &ids), nullptr);
  EXPECT_EQ(ids, nullptr);
  lenguaweb_t *nulo = nullptr;
  lenguaweb_destruye(&nulo);
  lenguaweb_destruye(nullptr);
  EXPECT_EQ(lenguaweb_reconstruye_fichero_html(nullptr, nullptr, nullptr, nullptr, nullptr,
                                               ruta("x.html").c_str(), kEspanol),
            FALSO);
  EXPECT_EQ(lenguaweb_preprocesa_links(nullptr, nullptr, nullptr, ruta("y.html").c_str(), kEspanol),
            FALSO);
  EXPECT_EQ(cuenta_informes("(*lenguaweb) != NULL"), 1u);
  EXPECT_EQ(cuenta_informes("(lenguaweb) != NULL"), 4u);
  for (const auto &i : informes()) EXPECT_EQ(i.modulo, "lenguaweb (LENGUAWEB.DLL)");
}

// A list of translations that does not give each text one is refused, and the file
// written before stays as it was; identifiers that do not match the translations in
// number are only reported. A write that fails gives FALSO and leaves no file.
TEST_F(Documento, TraduccionesQueNoCuadranYEscriturasFallidas) {
  const std::string cuenta =
      "arr_NumElemsCADENA(textos_traducidos) == arr_NumElemsCADENA(lenguaweb->textos)";
  const std::string nulo = "lista_cad_dame(textos_traducidos, i) != NULL";
  const std::string falla =
      "cannot write '" + ruta("no/existe/d.html") + "': " + std::strerror(ENOENT);
  // clang-format off
  const struct {
    std::vector<const char *> traducidos; std::string informe; Textos ids = {"TEXTO_0", "TEXTO_1"};
    std::string destino = "salida.html", escrita = "old";  // "": no file
  } casos[] = {
      {{"A"}, cuenta}, {{"A", "B", "C"}, cuenta}, {{"A", nullptr}, nulo}, {{nullptr, nullptr}, nulo},
      {.traducidos = {"A", "B"}, .informe = "arr_NumElemsCADENA(textos_traducidos) == arr_NumElemsCADENA(IDs)",
       .ids = {"TEXTO_0"}, .escrita = "<P>A</P><P>B</P>"},
      {.traducidos = {"a", "b"}, .informe = falla, .destino = "no/existe/d.html", .escrita = ""},
  };
  // clang-format on
  lenguaweb_t *doc = lenguaweb_crea(escribe("p.html", "<P>a</P><P>b</P>").c_str(), kEspanol);
  for (const auto &caso : casos) {
    SCOPED_TRACE(caso.informe);
    olvida_informes();
    escribe("salida.html", "old");
    const uint32_t n = static_cast<uint32_t>(caso.traducidos.size());
    lista_cad_t *traducidos = lista_cad_crea_copias(caso.traducidos.data(), n);
    lista_cad_t *ids = a_lista(caso.ids);
    const std::string destino = ruta(caso.destino);
    const bool da = caso.escrita != "old" && !caso.escrita.empty();
    EXPECT_EQ(lenguaweb_reconstruye_fichero_html(doc, traducidos, ids, nullptr, nullptr,
                                                 destino.c_str(), kEspanol),
              da ? CIERTO : FALSO);
    EXPECT_EQ(std::filesystem::exists(destino), !caso.escrita.empty());
    EXPECT_EQ(caso.escrita.empty() ? "" : lee(destino), caso.escrita);
    EXPECT_EQ(condiciones(), caso.informe);
    for (lista_cad_t **l : {&traducidos, &ids}) lista_cad_destruye(l);
  }
  olvida_informes();
  EXPECT_EQ(
      lenguaweb_preprocesa_links(doc, nullptr, nullptr, ruta("no/existe/d.html").c_str(), kEspanol),
      FALSO);
  EXPECT_EQ(cuenta_informes(falla), 1u);
  lenguaweb_destruye(&doc);
}

}  // namespace
}  // namespace pruebas
