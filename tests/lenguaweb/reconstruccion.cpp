// reconstruccion.cpp - tests of writing a page back with its translated texts in place.
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using pruebas::a_lista;
using pruebas::a_vector;
using Textos = std::vector<std::string>;
constexpr uint32_t kEspanol = 0x0C0A;
constexpr uint32_t kRuso = 0x0419;

const char *const kEjemplo =
    "<HTML><HEAD><TITLE>My page</TITLE><META NAME=\"description\" CONTENT=\"Desc\"></HEAD>"
    "<BODY><P>Hello</P><IMG SRC=\"a.gif\" ALT=\"Pic\"><P>Bye</P></BODY></HTML>\n";

class Reconstruccion : public pruebas::Entorno {
 protected:
  // The page read in idioma and written in idioma_destino with traducidos.
  std::string escrita(const std::string &pagina, const Textos &traducidos,
                      uint32_t idioma = kEspanol, uint32_t idioma_destino = kEspanol) {
    return reconstruye(pagina, idioma, {.traducidos = traducidos, .destino = idioma_destino});
  }
};

TEST_F(Reconstruccion, EjemploCompleto) {
  EXPECT_EQ(escrita(kEjemplo, {"Mi pagina", "Descr", "Hola", "Foto", "Adios"}),
            "<HTML><HEAD><TITLE>Mi pagina</TITLE><META NAME=\"description\" CONTENT=\"Descr\">"
            "</HEAD><BODY><P>Hola</P><IMG SRC=\"a.gif\" ALT=\"Foto\"><P>Adios</P></BODY></HTML>\n");
  EXPECT_TRUE(informes().empty());
}

// A page, its translations in order, and the page they make.
struct Escritura {
  std::string pagina;
  Textos traducidos;
  std::string escrita;
};

// Each translation takes the place of its text, attribute values included.
TEST_F(Reconstruccion, CadaTraduccionVaASuSitio) {
  // clang-format off
  const Escritura casos[] = {
      // a page without texts
      {.pagina = "<HTML>\n<BODY></BODY></HTML>", .traducidos = {},
       .escrita = "<HTML>\n<BODY></BODY></HTML>"},
      // the last piece gives an attribute text and no body text follows
      {.pagina = "<P>a</P><IMG ALT=\"b\">", .traducidos = {"A", "B"},
       .escrita = "<P>A</P><IMG ALT=\"B\">"},
      // a description of another length, and keywords
      {.pagina = "<META NAME=\"description\" CONTENT=\"Short\"><META NAME=\"keywords\" CONTENT=\"k\"><P>x</P>",
       .traducidos = {"A much longer description", "kw", "X"},
       .escrita = "<META NAME=\"description\" CONTENT=\"A much longer description\"><META NAME=\"keywords\" CONTENT=\"kw\"><P>X</P>"},
      // an empty attribute and an empty text
      {.pagina = "<P>a</P><IMG ALT=\"b\"><P>c</P>", .traducidos = {"", "", "C"},
       .escrita = "<P></P><IMG ALT=\"\"><P>C</P>"},
      // a META of another name is left alone
      {.pagina = "<meta charset=\"utf-8\"><meta name=\"viewport\" content=\"width=device-width\"><meta name=\"description\" content=\"Old\"><p>x</p>",
       .traducidos = {"New", "X"},
       .escrita = "<meta charset=\"utf-8\"><meta name=\"viewport\" content=\"width=device-width\"><meta name=\"description\" content=\"New\"><p>X</p>"},
      // an IMG without ALT is left alone
      {.pagina = "<IMG SRC=\"a.gif\"><IMG SRC=\"b.gif\" ALT=\"B\"><P>x</P>",
       .traducidos = {"bb", "X"},
       .escrita = "<IMG SRC=\"a.gif\"><IMG SRC=\"b.gif\" ALT=\"bb\"><P>X</P>"},
      // "ALT" inside a file name is no attribute
      {.pagina = "<IMG SRC=\"SALTO.GIF\" ALT=\"Jump\">x<P>", .traducidos = {"Salto", "y"},
       .escrita = "<IMG SRC=\"SALTO.GIF\" ALT=\"Salto\">y<P>"},
      // an unquoted value is written quoted
      {.pagina = "<IMG ALT=Logo SRC=a.gif><P>x</P>", .traducidos = {"Mi logo", "X"},
       .escrita = "<IMG ALT=\"Mi logo\" SRC=a.gif><P>X</P>"},
      // quotes and '<' in an attribute
      {.pagina = "<IMG ALT=\"a\">", .traducidos = {"say \"<hi>\""},
       .escrita = "<IMG ALT=\"say &quot;&lt;hi&gt;&quot;\">"},
      // blanks around the '='
      {.pagina = "<IMG ALT = \"Logo\"><IMG ALT=\"b\">", .traducidos = {"x", "B"},
       .escrita = "<IMG ALT = \"x\"><IMG ALT=\"B\">"},
      // a name without '=' has no value
      {.pagina = "<IMG ALT><IMG ALT=\"b\">", .traducidos = {"B"},
       .escrita = "<IMG ALT><IMG ALT=\"B\">"},
      // single quotes
      {.pagina = "<IMG ALT='a' TITLE='t'>", .traducidos = {"it's \"x\""},
       .escrita = "<IMG ALT='it&#39;s &quot;x&quot;' TITLE='t'>"},
      // a page without a last line end
      {.pagina = "<P>Hello</P>", .traducidos = {"Hola"}, .escrita = "<P>Hola</P>"},
      // no tag inside TITLE runs past its end tag, in the piece after the title's text too
      {.pagina = "<TITLE>My page <A X=\"</TITLE><META NAME=\"description\" CONTENT=\"Desc\"><P>Hi</P>",
       .traducidos = {"Mi pagina ", "Descr", "Hola"},
       .escrita = "<TITLE>Mi pagina <A X=\"</TITLE><META NAME=\"description\" CONTENT=\"Descr\"><P>Hola</P>"},
  };
  // clang-format on
  for (const Escritura &caso : casos)
    EXPECT_EQ(escrita(caso.pagina, caso.traducidos), caso.escrita) << caso.pagina;
}

// A translation's markup is only the inline tags, and not those the page shows as code.
TEST_F(Reconstruccion, UnaTraduccionSoloLlevaEtiquetasEnLinea) {
  // clang-format off
  const Escritura casos[] = {
      // a translation's text makes no tag
      {.pagina = "<P>x</P>", .traducidos = {"a <script>alert(1)</script> b > c"},
       .escrita = "<P>a &lt;script&gt;alert(1)&lt;/script&gt; b &gt; c</P>"},
      // inline tags stay markup; the open FONT is closed
      {.pagina = "<P>Hello <B>world</B> and <FONT COLOR=red>more</FONT></P>",
       .traducidos = {"Hola <B>mundo</B> y <FONT COLOR=red>m\xE1s<br>"},
       .escrita = "<P>Hola <B>mundo</B> y <FONT COLOR=red>m\xC3\xA1s<br></FONT></P>"},
      // code the page shows stays code
      {.pagina = "<P>vector&lt;int&gt; &amp; &lt;script&gt;</P>",
       .traducidos = {"vector<int> &amp; <script>"},
       .escrita = "<P>vector&lt;int&gt; &amp; &lt;script&gt;</P>"},
      // inline tags the page shows as code stay code
      {.pagina = "<P>Write &lt;B&gt;bold&lt;/B&gt; or &lt;br&gt;.</P>",
       .traducidos = {"Write <B>bold</B> or <br>."},
       .escrita = "<P>Write &lt;B&gt;bold&lt;/B&gt; or &lt;br&gt;.</P>"},
      // only the names shown as code
      {.pagina = "<P>Use &lt;B&gt; here</P>", .traducidos = {"<I>Usa</I> <B> aqu\xED"},
       .escrita = "<P><I>Usa</I> &lt;B&gt; aqu\xC3\xAD</P>"},
      // code and markup of one tag
      {.pagina = "<P>Use <B>x</B> or &lt;B&gt;y</P>", .traducidos = {"Use <B>x</B> or <B>y"},
       .escrita = "<P>Use <B>x</B> or &lt;B&gt;y</P>"},
      // both translated: the one left open is closed
      {.pagina = "<P>Use <B>x</B> or &lt;B&gt;y</P>", .traducidos = {"Usa <B>x</B> o <B>y"},
       .escrita = "<P>Usa <B>x</B> o <B>y</B></P>"},
      // a tag of the page with a '<' in a value or a name, kept whole; none other
      {.pagina = "<P>Some <B TITLE=\"x<y\">bold</B> <FONT </EM>>w</FONT></P>",
       .traducidos = {"Unas <B TITLE=\"x<y\">negritas</B> <FONT </EM>>p"},
       .escrita = "<P>Unas <B TITLE=\"x<y\">negritas</B> <FONT </EM>&gt;p</FONT></P>"},
      {.pagina = "<P>Some <B TITLE=\"x<y\">bold</B></P>", .traducidos = {"Unas <B TITLE=\"x<z\">b"},
       .escrita = "<P>Unas &lt;B TITLE=\"x&lt;z\"&gt;b</B></P>"},
  };
  // clang-format on
  for (const Escritura &caso : casos)
    EXPECT_EQ(escrita(caso.pagina, caso.traducidos), caso.escrita) << caso.pagina;
}

TEST_F(Reconstruccion, MarcadoresCaenEnSuSitio) {
  const std::string pagina =
      "<html><head><title>T</title><meta charset=\"utf-8\"><meta name=\"keywords\" content=\"k\">"
      "<meta name=\"description\" content=\"d\"></head><body><h1>Head</h1><p>One <b>two</b> "
      "three<br>four</p><img src=\"a.png\" alt=\"A\"><img src=\"b.png\"><img alt=\"B\" src=b.png>"
      "<ul><li>x</li><li>y</li></ul><script>if(a<b)c();</script><p>end</p></body></html>";
  const Textos propios = textos_de(pagina, kEspanol);
  Textos marcadores;
  for (size_t i = 0; i < propios.size(); ++i) marcadores.push_back("#" + std::to_string(i) + "#");
  EXPECT_EQ(
      escrita(pagina, marcadores),
      "<html><head><title>#0#</title><meta charset=\"utf-8\"><meta name=\"keywords\" "
      "content=\"#1#\"><meta name=\"description\" content=\"#2#\"></head><body><h1>#3#</h1>"
      "<p>#4#</p><img src=\"a.png\" alt=\"#5#\"><img src=\"b.png\"><img alt=\"#6#\" src=b.png>"
      "<ul><li>#7#</li><li>#8#</li></ul><script>if(a<b)c();</script><p>#9#</p></body></html>");
  EXPECT_EQ(propios.size(), 10u);
}

TEST_F(Reconstruccion, CuentasQueNoCasanSeInforman) {
  lenguaweb_t *doc = lenguaweb_crea(escribe("p.html", "<P>a</P><P>b</P>").c_str(), kEspanol);
  lista_cad_t *ids = a_lista({"TEXTO_0"});
  lista_cad_t *traducidos = a_lista(Textos{"A", "B"});
  EXPECT_EQ(lenguaweb_reconstruye_fichero_html(doc, traducidos, ids, nullptr, nullptr,
                                               ruta("d.html").c_str(), kEspanol),
            CIERTO);
  EXPECT_EQ(lee(ruta("d.html")), "<P>A</P><P>B</P>");
  EXPECT_EQ(cuenta_informes("arr_NumElemsCADENA(textos_traducidos) == arr_NumElemsCADENA(IDs)"),
            1u);
  lista_cad_destruye(&ids);
  lista_cad_destruye(&traducidos);
  lenguaweb_destruye(&doc);
}

TEST_F(Reconstruccion, EscrituraFallidaDevuelveFalso) {
  lenguaweb_t *doc = lenguaweb_crea(escribe("p.html", "<P>a</P>").c_str(), kEspanol);
  lista_cad_t *ids = nullptr;
  lista_cad_t *textos = lenguaweb_dame_textos_a_trducir(doc, &ids);
  const std::string destino = ruta("no/existe/d.html");
  EXPECT_EQ(lenguaweb_reconstruye_fichero_html(doc, textos, ids, nullptr, nullptr, destino.c_str(),
                                               kEspanol),
            FALSO);
  EXPECT_FALSE(std::filesystem::exists(destino));
  EXPECT_EQ(lenguaweb_preprocesa_links(doc, nullptr, nullptr, destino.c_str(), kEspanol), FALSO);
  EXPECT_FALSE(informes().empty());
  lista_cad_destruye(&textos);
  lista_cad_destruye(&ids);
  lenguaweb_destruye(&doc);
}

TEST_F(Reconstruccion, PreprocesarNoColocaAtributosYNormaliza) {
  // Preprocessing writes each text as it reads it, in a form that reads back the same:
  // spaces that entities left stay entities, but inside a tag, where one space is all a
  // browser sees and an entity would change the tag.
  const struct {
    std::string pagina, preprocesada;
  } casos[] = {
      {"<META NAME=\"description\" CONTENT=\"D  d\"><P>Hello\n   world &amp;</P>",
       "<META NAME=\"description\" CONTENT=\"D  d\"><P>Hello world &amp;</P>"},
      // A text that holds a no-break space goes back as the page had it.
      {"<P>a<FONT &nbsp;color=red>b &nbsp;c</FONT></P>",
       "<P>a<FONT &nbsp;color=red>b &nbsp;c</FONT></P>"},
      {"<P>a<FONT &nbsp;&x;b<P>c &nbsp;d</P>", "<P>a<FONT &nbsp;&x;b<P>c &nbsp;d</P>"},
      // A run of 39 blanks leaves a pair of spaces, which would read back as one space (and
      // an entity as a no-break space): that text goes back as the page had it.
      {"<P>a<B" + std::string(39, ' ') + "x>b" + std::string(39, ' ') + "c</B></P>",
       "<P>a<B" + std::string(39, ' ') + "x>b" + std::string(39, ' ') + "c</B></P>"},
      {"<P>a<B x>b" + std::string(39, ' ') + "c</B></P><P>d\n  e</P>",
       "<P>a<B x>b" + std::string(39, ' ') + "c</B></P><P>d e</P>"},
  };
  for (const auto &caso : casos) {
    std::string pagina = caso.pagina;
    for (int pasada = 0; pasada < 2; ++pasada) {
      lenguaweb_t *doc = lenguaweb_crea(escribe("p.html", pagina).c_str(), kEspanol);
      lista_reg_t *a = lista_reg_crea(0), *img = lista_reg_crea(0);
      ASSERT_EQ(lenguaweb_preprocesa_links(doc, a, img, ruta("d.html").c_str(), kEspanol), CIERTO);
      pagina = lee(ruta("d.html"));
      EXPECT_EQ(pagina, caso.preprocesada) << caso.pagina << ", pass " << pasada + 1;
      EXPECT_EQ(lista_reg_num_elems(a), 0u);
      lista_reg_destruye(&a);
      lista_reg_destruye(&img);
      lenguaweb_destruye(&doc);
    }
  }
}

}  // namespace
