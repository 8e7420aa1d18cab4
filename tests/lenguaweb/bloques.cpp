// bloques.cpp - tests of the segmentation of one text per block, its attributes, links and origins.
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "lenguaweb/documento.h"
#include "tablalink/tablalink.h"

namespace {

using pruebas::a_lista;
using pruebas::a_vector;
using Textos = std::vector<std::string>;
constexpr uint32_t kEspanol = 0x0C0A;
constexpr uint32_t kIngles = 0x0409;

class Bloques : public pruebas::Entorno {
 protected:
  void SetUp() override {
    pruebas::Entorno::SetUp();
    opciones_pon_segmentacion(SEGMENTACION_BLOQUES);
  }
  void TearDown() override {
    opciones_pon_segmentacion(SEGMENTACION_CLASICA);
    opciones_pon_receptor_origenes(nullptr, nullptr);
    pruebas::Entorno::TearDown();
  }

  struct Division {
    Textos trozos, textos, ids;
  };
  Division divide(const std::string &pagina, uint32_t idioma = kEspanol) {
    lenguaweb_t *doc = lenguaweb_crea(escribe("origen.html", pagina).c_str(), idioma);
    Division d;
    for (size_t k = 0; k < doc->trozos.size(); ++k) d.trozos.emplace_back(lenguaweb_trozo(doc, k));
    lista_cad_t *ids = nullptr;
    lista_cad_t *textos = lenguaweb_dame_textos_a_trducir(doc, &ids);
    d.textos = a_vector(textos);
    d.ids = a_vector(ids);
    lista_cad_destruye(&textos);
    lista_cad_destruye(&ids);
    lenguaweb_destruye(&doc);
    return d;
  }

  // The page written back from a document of it, with traduce(texts) as its translation.
  template <class F>
  std::string reconstruye(const std::string &pagina, F traduce, uint32_t idioma = kEspanol,
                          uint32_t destino = kEspanol) {
    lenguaweb_t *doc = lenguaweb_crea(escribe("origen.html", pagina).c_str(), idioma);
    lista_cad_t *ids = nullptr;
    lista_cad_t *textos = lenguaweb_dame_textos_a_trducir(doc, &ids);
    lista_cad_t *traduccion = a_lista(traduce(a_vector(textos)));
    const std::string salida = ruta("destino.html");
    EXPECT_EQ(lenguaweb_reconstruye_fichero_html(doc, traduccion, ids, nullptr, nullptr,
                                                 salida.c_str(), destino),
              CIERTO);
    lista_cad_destruye(&traduccion);
    lista_cad_destruye(&textos);
    lista_cad_destruye(&ids);
    lenguaweb_destruye(&doc);
    return lee(salida);
  }
  static Textos propios(Textos t) { return t; }
};

std::string une(const Textos &v) {
  std::string r;
  for (size_t i = 0; i < v.size(); ++i) r += (i ? "|" : "") + v[i];
  return r;
}

TEST_F(Bloques, UnTextoPorBloque) {
  // clang-format off
  const struct { std::string pagina, trozos, textos, ids; } casos[] = {
    {.pagina = "<P>Use <A HREF=\"x.html\">this <CODE>f()</CODE></A> and <SPAN\nclass=k>k</SPAN> <IMG SRC=\"i.png\" ALT=\"icon\">.</P>",
     .trozos = "<P>|</P>",
     .textos = "Use <A HREF=\"x.html\">this <CODE>f()</CODE></A> and <SPAN\nclass=k>k</SPAN> <IMG SRC=\"i.png\" ALT=\"icon\">.",
     .ids = "TEXTO_0"},
    // Blanks at both ends stay in the pieces; inside, they collapse.
    {.pagina = "<li>\n  Hello   <b>world</b>  \n</li>", .trozos = "<li>\n  |  \n</li>",
     .textos = "Hello <b>world</b>", .ids = "TEXTO_0"},
    // A leading phrasing tag belongs to the text; one that closed before the text does not.
    {.pagina = "<p><a href=\"x\"> Link</a> text</p>", .trozos = "<p>|</p>",
     .textos = "<a href=\"x\"> Link</a> text", .ids = "TEXTO_0"},
    {.pagina = "<p><a href=\"x\"><img src=\"i.png\"></a> Hello</p>",
     .trozos = "<p><a href=\"x\"><img src=\"i.png\"></a> |</p>", .textos = "Hello", .ids = "TEXTO_0"},
    // End tags of what the text opened, and a void tag right after it, join it.
    {.pagina = "<p><b>Bold <i>x</i></b> <br></p>", .trozos = "<p>| <br></p>",
     .textos = "<b>Bold <i>x</i></b>", .ids = "TEXTO_0"},
    {.pagina = "<p>line<br>\n<em></em></p>", .trozos = "<p>|\n<em></em></p>", .textos = "line<br>",
     .ids = "TEXTO_0"},
    {.pagina = "<b><p>x</b> y <u>z</p>", .trozos = "<b><p>|</p>", .textos = "x</b> y <u>z", .ids = "TEXTO_0"},
    // No visible character, no text.
    {.pagina = "<p> <b> </b> <img src=\"a.png\"> </p>x", .trozos = "<p> <b> </b> <img src=\"a.png\"> </p>|",
     .textos = "x", .ids = "TEXTO_0"},
    {.pagina = "<td> <span> </span>\n</td>", .trozos = "<td> <span> </span>\n</td>", .textos = "", .ids = ""},
    // Markup and text never look alike; other references decoded where the code page has them.
    {.pagina = "<p>a &lt; b &amp;&amp; c > d &eacute;&#233;&mdash;&#x4E2D;&#60; a <3 & &bogus;</p>",
     .trozos = "<p>|</p>",
     .textos = "a &lt; b &amp;&amp; c &gt; d \xE9\xE9\x97&#x4E2D;&#60; a &lt;3 &amp; &bogus;", .ids = "TEXTO_0"},
    {.pagina = "<p>x < y &amp z</p>", .trozos = "<p>|</p>", .textos = "x &lt; y &amp;amp z", .ids = "TEXTO_0"},
    // PRE keeps its blanks; comments, SCRIPT and STYLE end a text and are never offered.
    {.pagina = "<pre>  x  =  1\n<span class=\"k\">y</span>\n</pre>", .trozos = "<pre>  |\n</pre>",
     .textos = "x  =  1\n<span class=\"k\">y</span>", .ids = "TEXTO_0"},
    {.pagina = "<p>a<!-- c -->b<script>var s = 'no';</script>c<style>p{}</style></p>",
     .trozos = "<p>|<!-- c -->|<script>var s = 'no';</script>|<style>p{}</style></p>",
     .textos = "a|b|c", .ids = "TEXTO_0|TEXTO_1|TEXTO_2"},
    {.pagina = "<title><b>My</b> page</title>", .trozos = "<title>|</title>", .textos = "<b>My</b> page",
     .ids = "TITULO"},
    // Attributes of the piece's tags come before the text that follows it; those of the
    // text's own tags stay inside it.
    {.pagina = "<p title=\"Tip\">see <abbr title=\"HyperText\">HTML</abbr></p>",
     .trozos = "<p title=\"Tip\">|</p>", .textos = "Tip|see <abbr title=\"HyperText\">HTML</abbr>",
     .ids = "TITULO_ELEMENTO_0|TEXTO_1"},
  };
  // clang-format on
  for (const auto &caso : casos) {
    const Division d = divide(caso.pagina);
    EXPECT_EQ(une(d.trozos), caso.trozos) << caso.pagina;
    EXPECT_EQ(une(d.textos), caso.textos) << caso.pagina;
    EXPECT_EQ(une(d.ids), caso.ids) << caso.pagina;
  }
}

}  // namespace
