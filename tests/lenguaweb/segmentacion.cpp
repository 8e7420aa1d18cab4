// segmentacion.cpp - tests of cutting pages into verbatim pieces and body texts.
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "lenguaweb/normalizacion.h"
#include "lenguaweb/segmentacion.h"

namespace {

using pruebas::a_vector;
using Textos = std::vector<std::string>;
using Tipos = std::vector<uint32_t>;

constexpr uint32_t kEspanol = 0x0C0A;

struct Cortes {
  Textos trozos;
  Textos textos;
  Tipos tipos;
};

class Segmentacion : public pruebas::Entorno {
 protected:
  static Cortes divide(const std::string &pagina, uint32_t idioma = kEspanol) {
    lista_cad_t *textos = lista_cad_crea(0);
    lista_num_t *tipos = lista_num_crea(0);
    lista_cad_t *trozos = lista_cad_crea(0);
    lenguaweb_divide_pagina(pagina, textos, tipos, trozos, idioma);
    Cortes c{a_vector(trozos), a_vector(textos), a_vector(tipos)};
    lista_cad_destruye(&textos);
    lista_num_destruye(&tipos);
    lista_cad_destruye(&trozos);
    return c;
  }

  // Pieces and the raw stretches between them must give back the whole page, one
  // piece more than there are body texts, and each stretch normalised must be the
  // body text stored for it.
  static void espera_que_une(const std::string &entera, const Cortes &c) {
    const std::string pagina = entera.substr(0, entera.find('\0'));
    entidades_idioma entidades;
    lenguaweb_prepara_entidades(kEspanol, &entidades);
    Textos cuerpos;
    for (size_t i = 0; i < c.textos.size(); ++i)
      if (c.tipos[i] == TIPO_TITULO || c.tipos[i] == TIPO_TEXTO) cuerpos.push_back(c.textos[i]);
    ASSERT_EQ(c.trozos.size(), cuerpos.size() + 1);
    size_t p = 0;
    for (size_t k = 0; k < c.trozos.size(); ++k) {
      ASSERT_EQ(pagina.compare(p, c.trozos[k].size(), c.trozos[k]), 0) << "piece " << k;
      p += c.trozos[k].size();
      if (k == cuerpos.size()) break;
      // The body text runs to where the next piece begins: the first place from which
      // the rest of the page starts with that piece and whose stretch normalises right.
      // The last piece ends the page; every other piece begins at a '<'.
      size_t fin = k + 2 == c.trozos.size()
                       ? pagina.size() - std::min(pagina.size(), c.trozos[k + 1].size())
                       : p;
      for (; fin <= pagina.size(); ++fin) {
        if (pagina.compare(fin, c.trozos[k + 1].size(), c.trozos[k + 1]) != 0) continue;
        char *n = lenguaweb_normaliza_texto(std::string_view(pagina).substr(p, fin - p), entidades);
        const bool igual = cuerpos[k] == n;
        cad_destruye(&n);
        if (igual) break;
      }
      ASSERT_LE(fin, pagina.size()) << "body text " << k << " not found: " << cuerpos[k];
      p = fin;
    }
    EXPECT_EQ(p, pagina.size()) << "bytes lost at the end of the page";
  }
};

TEST_F(Segmentacion, EjemploCompleto) {
  const std::string pagina =
      "<HTML><HEAD><TITLE>My page</TITLE><META NAME=\"description\" CONTENT=\"Desc\"></HEAD>"
      "<BODY><P>Hello</P><IMG SRC=\"a.gif\" ALT=\"Pic\"><P>Bye</P></BODY></HTML>\n";
  Cortes c = divide(pagina);
  EXPECT_EQ(c.trozos,
            (Textos{"<HTML><HEAD><TITLE>",
                    "</TITLE><META NAME=\"description\" CONTENT=\"Desc\"></HEAD><BODY><P>",
                    "</P><IMG SRC=\"a.gif\" ALT=\"Pic\"><P>", "</P></BODY></HTML>\n"}));
  EXPECT_EQ(c.textos, (Textos{"My page", "Desc", "Hello", "Pic", "Bye"}));
  EXPECT_EQ(c.tipos, (Tipos{0, 1, 3, 4, 3}));
  EXPECT_TRUE(informes().empty());
  espera_que_une(pagina, c);
}

struct Caso {
  const char *nombre;
  std::string pagina;
  Textos trozos;
  Textos textos;
  Tipos tipos;
  std::vector<std::string> informes;
};

TEST_F(Segmentacion, Casos) {
  const std::vector<Caso> casos = {
      {"pagina_vacia", "", {""}, {}, {}, {}},
      {"solo_texto", "abc", {"abc"}, {}, {}, {}},
      {"empieza_por_texto", "Hello<P>", {"", "<P>"}, {"Hello"}, {3}, {}},
      {"texto_hasta_el_final_en_un_trozo", "<P>Hello", {"<P>Hello"}, {}, {}, {}},
      {"el_final_no_se_pierde", "<P>Hello</P>", {"<P>", "</P>"}, {"Hello"}, {3}, {}},
      {"en_linea_tras_el_texto_al_trozo_siguiente",
       "<P>Hello <B>world</B>  <P>x",
       {"<P>", "</B>  <P>x"},
       {"Hello <B>world"},
       {3},
       {}},
      {"en_linea_dentro_de_un_trozo",
       "<P><B>Hello</B> world</P>\n",
       {"<P><B>", "</P>\n"},
       {"Hello</B> world"},
       {3},
       {}},
      {"titulo", "<TITLE>My page</TITLE>", {"<TITLE>", "</TITLE>"}, {"My page"}, {0}, {}},
      {"titulo_con_negrita_es_texto",
       "<TITLE><B>My page</B></TITLE>",
       {"<TITLE><B>", "</B></TITLE>"},
       {"My page"},
       {3},
       {}},
      {"menor_que_suelto", "<P>a < b>c</P>", {"<P>", "< b>", "</P>"}, {"a ", "c"}, {3, 3}, {}},
      {"br_con_barra_pegada_corta",
       "<P>x<BR/>y</P>",
       {"<P>", "<BR/>", "</P>"},
       {"x", "y"},
       {3, 3},
       {}},
      {"br_con_espacio_no_corta",
       "<P>x<BR />y<br>z</P>",
       {"<P>", "</P>"},
       {"x<BR />y<br>z"},
       {3},
       {}},
      {"cierre_de_br_corta", "<P>x</BR>y</P>", {"<P>", "</BR>", "</P>"}, {"x", "y"}, {3, 3}, {}},
      {"los_trece_en_linea",
       "<P>a<u>b</u><b>c</b><i>d</i><em>e</em><strong>f</strong><br>g<font>h</font>i</P>",
       {"<P>", "</P>"},
       {"a<u>b</u><b>c</b><i>d</i><em>e</em><strong>f</strong><br>g<font>h</font>i"},
       {3},
       {}},
      {"parecidos_no_son_en_linea",
       "<P>a<bb>b<ems>c<span>d</P>",
       {"<P>", "<bb>", "<ems>", "<span>", "</P>"},
       {"a", "b", "c", "d"},
       {3, 3, 3, 3},
       {}},
      {"blancos_entre_tags", "<P>  \t\n</P>", {"<P>  \t\n</P>"}, {}, {}, {}},
      {"blancos_antes_del_texto", "<P>  Hi</P>", {"<P>  ", "</P>"}, {"Hi"}, {3}, {}},
      {"script",
       "<P>a</P><SCRIPT>var s = 'text';</SCRIPT><P>b</P>",
       {"<P>", "</P><SCRIPT>var s = 'text';</SCRIPT><P>", "</P>"},
       {"a", "b"},
       {3, 3},
       {}},
      {"script_con_menor_que",
       "<SCRIPT>if (a<b) x();</SCRIPT><P>Hi</P>",
       {"<SCRIPT>if (a<b) x();</SCRIPT><P>", "</P>"},
       {"Hi"},
       {3},
       {}},
      {"script_con_menor_que_en_minusculas",
       "<script>for(i=0;i<n;i++){}</script><p>Hi</p>",
       {"<script>for(i=0;i<n;i++){}</script><p>", "</p>"},
       {"Hi"},
       {3},
       {}},
      {"script_con_salto_tras_el_nombre",
       "<SCRIPT\nLANGUAGE=\"JavaScript\">var a = 1;</SCRIPT><P>Hi</P>",
       {"<SCRIPT\nLANGUAGE=\"JavaScript\">var a = 1;</SCRIPT><P>", "</P>"},
       {"Hi"},
       {3},
       {}},
      {"style",
       "<STYLE>p { color: red }</STYLE><P>Hi</P>",
       {"<STYLE>p { color: red }</STYLE><P>", "</P>"},
       {"Hi"},
       {3},
       {}},
      {"style_con_menor_que",
       "<style>a<b{}</style><p>Hi</p>",
       {"<style>a<b{}</style><p>", "</p>"},
       {"Hi"},
       {3},
       {}},
      {"script_dentro_de_style",
       "<STYLE><SCRIPT></STYLE><P>Hi</P>",
       {"<STYLE><SCRIPT></STYLE><P>", "</P>"},
       {"Hi"},
       {3},
       {}},
      {"style_dentro_de_script",
       "<SCRIPT>x='<STYLE>';</SCRIPT><P>Hi</P>",
       {"<SCRIPT>x='<STYLE>';</SCRIPT><P>", "</P>"},
       {"Hi"},
       {3},
       {}},
      {"fin_de_script_suelto",
       "<P>a</P></SCRIPT>",
       {"<P>", "</P></SCRIPT>"},
       {"a"},
       {3},
       {"*procesar_texto == FALSO"}},
      {"fin_de_style_suelto",
       "</STYLE><P>a</P>",
       {"</STYLE><P>", "</P>"},
       {"a"},
       {3},
       {"*procesar_texto == FALSO"}},
      {"script_dentro_de_un_texto_lo_corta",
       "<P>Hi<SCRIPT>x</SCRIPT>there</P>",
       {"<P>", "<SCRIPT>x</SCRIPT>", "</P>"},
       {"Hi", "there"},
       {3, 3},
       {}},
      {"img_en_un_script_da_su_texto",
       "<SCRIPT>document.write('<IMG SRC=\"x.gif\" ALT=\"In script\">');</SCRIPT>",
       {"<SCRIPT>document.write('<IMG SRC=\"x.gif\" ALT=\"In script\">');</SCRIPT>"},
       {"In script"},
       {4},
       {}},
      {"comentario_minimo", "<!-->x<P>", {"<!-->", "<P>"}, {"x"}, {3}, {}},
      {"comentario_con_mayor_que",
       "<P><!-- a > b -->Hi</P>",
       {"<P><!-- a > b -->", "</P>"},
       {"Hi"},
       {3},
       {}},
      {"comentario_sin_fin",
       "<P>Hi<!-- never closed",
       {"<P>", "<!-- never closed"},
       {"Hi"},
       {3},
       {"(fin_tag) != NULL"}},
      {"tag_sin_fin_en_un_texto", "<P>Hi<B", {"<P>", "<B"}, {"Hi"}, {3}, {"(fin_tag) != NULL"}},
      {"mayor_que_entre_comillas",
       "<P><IMG ALT=\"x>y\"></P>",
       {"<P><IMG ALT=\"x>", "</P>"},
       {"y\">"},
       {3},
       {}},
      {"img_que_corta_un_texto",
       "<P>Hello<IMG SRC=a ALT=\"Pic\" >more</P>",
       {"<P>", "<IMG SRC=a ALT=\"Pic\" >", "</P>"},
       {"Hello", "Pic", "more"},
       {3, 4, 3},
       {}},
      {"la_pagina_acaba_en_el_tag_que_corta",
       "<P>Hello<IMG ALT=\"x\">",
       {"<P>", "<IMG ALT=\"x\">"},
       {"Hello", "x"},
       {3, 4},
       {}},
      {"la_pagina_acaba_en_un_texto_con_en_linea",
       "<P>Hello <B>world",
       {"<P>", ""},
       {"Hello <B>world"},
       {3},
       {}},
      {"un_cero_acaba_la_pagina",
       std::string("<P>Hi</P>\0<P>hidden</P>", 23),
       {"<P>", "</P>"},
       {"Hi"},
       {3},
       {}},
      {"img_con_tabulador_no_es_img", "<IMG\tALT=\"x\">", {"<IMG\tALT=\"x\">"}, {}, {}, {}},
      {"meta_sin_content",
       "<META NAME=\"Description\"><META NAME=\"keywords\" CONTENT=\"a, b\">",
       {"<META NAME=\"Description\"><META NAME=\"keywords\" CONTENT=\"a, b\">"},
       {"a, b"},
       {2},
       {}},
  };
  for (const Caso &caso : casos) {
    SCOPED_TRACE(caso.nombre);
    olvida_informes();
    Cortes c = divide(caso.pagina);
    EXPECT_EQ(c.trozos, caso.trozos);
    EXPECT_EQ(c.textos, caso.textos);
    EXPECT_EQ(c.tipos, caso.tipos);
    std::vector<std::string> vistos;
    for (const auto &i : informes()) {
      vistos.push_back(i.condicion);
      EXPECT_EQ(i.modulo, "lenguaweb (LENGUAWEB.DLL)");
    }
    EXPECT_EQ(vistos, caso.informes);
    espera_que_une(caso.pagina, c);
  }
}

// Nothing is cut to 16 bits: a long script, a long text and a long attribute value
// come back whole.
TEST_F(Segmentacion, TramosLargosEnteros) {
  const std::string script(200 * 1024, 'x');
  const std::string texto(100 * 1024, 'y');
  const std::string alt(70 * 1024, 'z');
  const std::string pagina =
      "<SCRIPT>" + script + "</SCRIPT><P>" + texto + "</P><IMG ALT=\"" + alt + "\">";
  Cortes c = divide(pagina);
  ASSERT_EQ(c.trozos.size(), 2u);
  EXPECT_EQ(c.trozos[0], "<SCRIPT>" + script + "</SCRIPT><P>");
  EXPECT_EQ(c.textos, (Textos{texto, alt}));
  EXPECT_EQ(c.tipos, (Tipos{3, 4}));
  espera_que_une(pagina, c);
}

// Markup of every kind, repeated: whatever the mix, the pieces and texts join back.
TEST_F(Segmentacion, MezclasSeUnen) {
  const std::vector<std::string> partes = {"<P>",
                                           "Hello ",
                                           "<B>",
                                           "world",
                                           "</B>",
                                           "  ",
                                           "<IMG SRC=\"a.gif\" ALT=\"Pic\">",
                                           "\n",
                                           "<SCRIPT>a<b</SCRIPT>",
                                           "<!-- c -->",
                                           "&amp; x",
                                           "<TITLE>",
                                           "T",
                                           "</TITLE>",
                                           "<BR/>",
                                           "<META NAME=\"keywords\" CONTENT=\"k\">",
                                           "<style>p{}</style>",
                                           "<",
                                           ">",
                                           "&nbsp;"};
  uint32_t semilla = 12345;
  for (int ronda = 0; ronda < 300; ++ronda) {
    std::string pagina;
    const int n = 1 + ronda % 25;
    for (int i = 0; i < n; ++i) {
      semilla = semilla * 1103515245u + 12345u;
      pagina += partes[(semilla >> 16) % partes.size()];
    }
    SCOPED_TRACE(pagina);
    espera_que_une(pagina, divide(pagina));
    if (HasFailure()) break;
  }
}

}  // namespace
