// segmentacion.cpp - tests of cutting pages into verbatim pieces and body texts.
#include <sstream>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "lenguaweb/segmentacion.h"

namespace {

using Textos = std::vector<std::string>;

class Segmentacion : public pruebas::Entorno {
 protected:
  // Pieces, texts and kinds of a page, each list joined with '|' (kinds as digits).
  static std::string divide(const std::string &pagina) {
    lenguaweb_t *doc = lenguaweb_documento_vacio(0x0C0A);
    doc->pagina.bytes = pagina;
    lenguaweb_divide_pagina(doc);
    Textos trozos;
    for (size_t k = 0; k < doc->trozos.size(); ++k) trozos.emplace_back(lenguaweb_trozo(doc, k));
    std::ostringstream r;
    const auto une = [&r](const Textos &v) {
      for (size_t i = 0; i < v.size(); ++i) r << (i ? "|" : "") << v[i];
    };
    une(trozos);
    r << " / ";
    une(pruebas::a_vector(doc->textos));
    r << " / ";
    for (uint32_t t : pruebas::a_vector(doc->tipos_de_textos)) r << t;
    lenguaweb_destruye(&doc);
    return r.str();
  }
};

TEST_F(Segmentacion, EjemploCompleto) {
  EXPECT_EQ(
      divide("<HTML><HEAD><TITLE>My page</TITLE><META NAME=\"description\" CONTENT=\"Desc\">"
             "</HEAD><BODY><P>Hello</P><IMG SRC=\"a.gif\" ALT=\"Pic\"><P>Bye</P></BODY></HTML>\n"),
      "<HTML><HEAD><TITLE>|</TITLE><META NAME=\"description\" CONTENT=\"Desc\"></HEAD><BODY><P>|"
      "</P><IMG SRC=\"a.gif\" ALT=\"Pic\"><P>|</P></BODY></HTML>\n / My page|Desc|Hello|Pic|Bye / "
      "01343");
  EXPECT_TRUE(informes().empty());
}

TEST_F(Segmentacion, Casos) {
  // clang-format off
  const struct { std::string pagina, cortes, informe; } casos[] = {
    {"", " /  / ", ""},
    {"abc", "abc /  / ", ""},
    {"Hello<P>", "|<P> / Hello / 3", ""},                         // a page that begins with text
    {"<P>Hello", "<P>Hello /  / ", ""},                           // a run to the end stays in the piece
    {"<P>Hello</P>", "<P>|</P> / Hello / 3", ""},                 // the end of the page is kept
    {"<P>Hello <B>world</B>  <P>x", "<P>|</B>  <P>x / Hello <B>world / 3", ""},
    {"<P><B>Hello</B> world</P>\n", "<P><B>|</P>\n / Hello</B> world / 3", ""},
    {"<TITLE>My page</TITLE>", "<TITLE>|</TITLE> / My page / 0", ""},
    {"<TITLE><B>My page</B></TITLE>", "<TITLE><B>|</B></TITLE> / My page / 3", ""},
    {"<P>a < b>c</P>", "<P>|< b>|</P> / a |c / 33", ""},
    {"<P>x<BR/>y</P>", "<P>|<BR/>|</P> / x|y / 33", ""},
    {"<P>x</BR>y</P>", "<P>|</BR>|</P> / x|y / 33", ""},
    {"<P>x<BR />y<br>z</P>", "<P>|</P> / x<BR />y<br>z / 3", ""},
    {"<P>a<u>b</u><b>c</b><i>d</i><em>e</em><strong>f</strong><br>g<font>h</font>i</P>",
     "<P>|</P> / a<u>b</u><b>c</b><i>d</i><em>e</em><strong>f</strong><br>g<font>h</font>i / 3", ""},
    {"<P>a<bb>b<ems>c<span>d</P>", "<P>|<bb>|<ems>|<span>|</P> / a|b|c|d / 3333", ""},
    {"<P>  \t\n</P>", "<P>  \t\n</P> /  / ", ""},
    {"<P>  Hi</P>", "<P>  |</P> / Hi / 3", ""},
    {"<P>a</P><SCRIPT>var s = 'text';</SCRIPT><P>b</P>", "<P>|</P><SCRIPT>var s = 'text';</SCRIPT><P>|</P> / a|b / 33", ""},
    {"<SCRIPT>if (a<b) x();</SCRIPT><P>Hi</P>", "<SCRIPT>if (a<b) x();</SCRIPT><P>|</P> / Hi / 3", ""},
    {"<script>for(i=0;i<n;i++){}</script><p>Hi</p>", "<script>for(i=0;i<n;i++){}</script><p>|</p> / Hi / 3", ""},
    {"<SCRIPT\nLANGUAGE=\"JavaScript\">var a = 1;</SCRIPT><P>Hi</P>",
     "<SCRIPT\nLANGUAGE=\"JavaScript\">var a = 1;</SCRIPT><P>|</P> / Hi / 3", ""},
    {"<STYLE>p { color: red }</STYLE><P>Hi</P>", "<STYLE>p { color: red }</STYLE><P>|</P> / Hi / 3", ""},
    {"<style>a<b{}</style><p>Hi</p>", "<style>a<b{}</style><p>|</p> / Hi / 3", ""},
    {"<STYLE><SCRIPT></STYLE><P>Hi</P>", "<STYLE><SCRIPT></STYLE><P>|</P> / Hi / 3", ""},
    {"<SCRIPT>x='<STYLE>';</SCRIPT><P>Hi</P>", "<SCRIPT>x='<STYLE>';</SCRIPT><P>|</P> / Hi / 3", ""},
    {"<P>a</P></SCRIPT>", "<P>|</P></SCRIPT> / a / 3", "*procesar_texto == FALSO"},
    {"</STYLE><P>a</P>", "</STYLE><P>|</P> / a / 3", "*procesar_texto == FALSO"},
    {"<P>Hi<SCRIPT>x</SCRIPT>there</P>", "<P>|<SCRIPT>x</SCRIPT>|</P> / Hi|there / 33", ""},
    {"<SCRIPT>document.write('<IMG SRC=\"x.gif\" ALT=\"In script\">');</SCRIPT>",
     "<SCRIPT>document.write('<IMG SRC=\"x.gif\" ALT=\"In script\">');</SCRIPT> / In script / 4", ""},
    {"<!-->x<P>", "<!-->|<P> / x / 3", ""},
    {"<P><!-- a > b -->Hi</P>", "<P><!-- a > b -->|</P> / Hi / 3", ""},
    {"<P>Hi<!-- never closed", "<P>|<!-- never closed / Hi / 3", "(fin_tag) != NULL"},
    {"<P>Hi<B", "<P>|<B / Hi / 3", "(fin_tag) != NULL"},
    {"<P><IMG ALT=\"x>y\"></P>", "<P><IMG ALT=\"x>y\"></P> / x>y / 4", ""},  // a quoted '>'
    {"<P>a<IMG ALT='b>c\" d' SRC=x>e</P>", "<P>|<IMG ALT='b>c\" d' SRC=x>|</P> / a|b>c\" d|e / 343", ""},
    {"<P>a<B TITLE=\"x>y</P><P>b</P>", "<P>|</P><P>|</P> / a<B TITLE=\"x>y|b / 33", ""},  // never closed
    {"<P>Hello<IMG SRC=a ALT=\"Pic\" >more</P>", "<P>|<IMG SRC=a ALT=\"Pic\" >|</P> / Hello|Pic|more / 343", ""},
    {"<P>Hello<IMG ALT=\"x\">", "<P>|<IMG ALT=\"x\"> / Hello|x / 34", ""},  // its texts follow the last piece
    {"<P>Hello <B>world", "<P>| / Hello <B>world / 3", ""},
    {std::string("<P>Hi</P>\0<P>shown</P>", 22), std::string("<P>|</P>\0<P>|</P> / Hi|shown / 33", 33), ""},
    {"<IMG\tALT=\"x\">", "<IMG\tALT=\"x\"> /  / ", ""},
    {"<META NAME=\"Description\"><META NAME=\"keywords\" CONTENT=\"a, b\">",
     "<META NAME=\"Description\"><META NAME=\"keywords\" CONTENT=\"a, b\"> / a, b / 2", ""},
  };
  // clang-format on
  for (const auto &caso : casos) {
    olvida_informes();
    EXPECT_EQ(divide(caso.pagina), caso.cortes) << caso.pagina;
    std::string informados;
    for (const auto &i : informes()) {
      informados += i.condicion;
      EXPECT_EQ(i.modulo, "lenguaweb (LENGUAWEB.DLL)");
    }
    EXPECT_EQ(informados, caso.informe) << caso.pagina;
  }
}

// Nothing is cut to 16 bits: a long script, a long text and a long attribute value
// come back whole.
TEST_F(Segmentacion, TramosLargosEnteros) {
  const std::string script(200 * 1024, 'x'), texto(100 * 1024, 'y'), alt(70 * 1024, 'z');
  EXPECT_EQ(divide("<SCRIPT>" + script + "</SCRIPT><P>" + texto + "</P><IMG ALT=\"" + alt + "\">"),
            "<SCRIPT>" + script + "</SCRIPT><P>|</P><IMG ALT=\"" + alt + "\"> / " + texto + "|" +
                alt + " / 34");
}

}  // namespace
