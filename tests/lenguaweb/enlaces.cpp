// enlaces.cpp - tests of turning links into link references and back.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "comun/tabla_links.h"
#include "rondas.h"
#include "tablalink/tablalink.h"

namespace {

using pruebas::kEspanol;
using pruebas::Textos;

Textos ids_de(const pruebas::TablaLinks &tabla) {
  Textos r;
  for (uint32_t i = 0; i < lista_reg_num_elems(tabla.lista); ++i)
    r.push_back(lista_reg_dame(tabla.lista, i)->ID);
  return r;
}

// A page preprocessed into the tables, and the page so written rebuilt through them. A
// field left unset is not looked at.
struct CasoEnlaces {
  std::string pagina;
  std::vector<std::pair<const char *, const char *>> previos = {};  // (ID, file) in A first
  std::optional<std::string> preprocesada = {};  // unset: the page is rebuilt as it stands
  std::optional<Textos> ids_a = {}, ids_img = {};
  std::optional<std::string> reconstruida = {};  // unset: the page itself
  std::string informe = {};                      // the conditions reported, one after another
};

class Enlaces : public pruebas::Entorno {
 protected:
  // Preprocessing the written page again changes nothing and adds no record.
  void comprueba(std::span<const CasoEnlaces> casos) {
    for (const CasoEnlaces &caso : casos) {
      SCOPED_TRACE(caso.pagina.substr(0, 200));
      olvida_informes();
      pruebas::TablaLinks a, img;
      for (const auto &[id, nombre] : caso.previos)
        lista_reg_anade(a.lista, tablalink_crea(id, "", "", nombre));
      std::string pre = caso.pagina;
      if (caso.preprocesada) {
        pre = preprocesa(caso.pagina, kEspanol, a.lista, img.lista);
        EXPECT_EQ(pre, *caso.preprocesada);
        const Textos antes_a = ids_de(a), antes_img = ids_de(img);
        EXPECT_EQ(antes_a, caso.ids_a.value_or(antes_a));
        EXPECT_EQ(antes_img, caso.ids_img.value_or(antes_img));
        EXPECT_EQ(preprocesa(pre, kEspanol, a.lista, img.lista), pre) << "preprocessed again";
        EXPECT_EQ(ids_de(a), antes_a);
        EXPECT_EQ(ids_de(img), antes_img);
      }
      EXPECT_EQ(reconstruye(pre, kEspanol, {.a = a.lista, .img = img.lista}),
                caso.reconstruida.value_or(caso.pagina));
      EXPECT_EQ(condiciones(), caso.informe);
    }
  }
};

TEST_F(Enlaces, PreprocesarYReconstruir) {
  const std::string x(70000, 'x'), b39(39, ' ');
  // A text that keeps an '&' is reported at each reading: preprocessed, again, rebuilt.
  const std::string amp =
      "strchr(texto, '&')==NULLstrchr(texto, '&')==NULLstrchr(texto, '&')==NULL";
  const std::string nul("<P>a</P><IMG SRC=\"x\0\0.png\"><A HREF=\"b.html\">b</A>", 49);
  const std::string nul_pre = std::string(nul).replace(nul.find("b.html"), 6, "@|b.html");
  // clang-format off
  const CasoEnlaces casos[] = {
      // Every link comes back as its record rebuilds it, between quotes.
      {.pagina = "<A HREF=\"http://servidor/docs/guia.html\">x</A><a href=\"guia.html\">y</a>"
           "<A HREF=\"/guia.html\">z</A><A HREF=\"a/guia.html\">w</A><IMG SRC=\"guia.html\">"
           "<A HREF=\"#arriba\">t</A><A HREF=\"\">u</A><A HREF=\"mailto:yo@sitio.es\">m</A>"
           "<AREA HREF=\"mapa.html\"><ADDRESS>a</ADDRESS><A NAME=\"sin\">v</A>"
           "<A HREF=guia.html TARGET=_top>s</A><A HREF=\"guia.html\">r</A>",
       .preprocesada = "<A HREF=\"@servidor|/docs|guia.html\">x</A><a href=\"@|guia.html\">y</a>"
           "<A HREF=\"@|/|guia.html\">z</A><A HREF=\"@|a|guia.html\">w</A><IMG SRC=\"@|guia.html\">"
           "<A HREF=\"#arriba\">t</A><A HREF=\"\">u</A><A HREF=\"@|mailto:yo@sitio.es\">m</A>"
           "<AREA HREF=\"@|mapa.html\"><ADDRESS>a</ADDRESS><A NAME=\"sin\">v</A>"
           "<A HREF=\"@|guia.html\" TARGET=_top>s</A><A HREF=\"@|guia.html\">r</A>",
       .ids_a = Textos{"servidor|/docs|guia.html", "|guia.html", "|/|guia.html", "|a|guia.html", "|mailto:yo@sitio.es", "|mapa.html"},
       .ids_img = Textos{"|guia.html"},
       .reconstruida = "<A HREF=\"http://servidor/docs/guia.html\">x</A><a href=\"guia.html\">y</a>"
           "<A HREF=\"/guia.html\">z</A><A HREF=\"a/guia.html\">w</A><IMG SRC=\"guia.html\">"
           "<A HREF=\"#arriba\">t</A><A HREF=\"\">u</A><A HREF=\"mailto:yo@sitio.es\">m</A>"
           "<AREA HREF=\"mapa.html\"><ADDRESS>a</ADDRESS><A NAME=\"sin\">v</A>"
           "<A HREF=\"guia.html\" TARGET=_top>s</A><A HREF=\"guia.html\">r</A>"},
      // A reference names the first record that matches, under whatever identifier; a
      // record under a taken identifier is never named, and its link stays.
      {.pagina = "<A HREF=\"guia.html\">x</A>", .previos = {{"VIEJO-7", "guia.html"}},
       .preprocesada = "<A HREF=\"@VIEJO-7\">x</A>", .ids_a = Textos{"VIEJO-7"}},
      {.pagina = "<A HREF=\"dos.html\">x</A><A HREF=\"uno.html\">y</A>", .previos = {{"X", "uno.html"}, {"X", "dos.html"}},
       .preprocesada = "<A HREF=\"dos.html\">x</A><A HREF=\"@X\">y</A>", .ids_a = Textos{"X", "X"}},
      // A reference without a record stays, and is reported; a record's link brings no markup.
      {.pagina = "<A HREF=\"@|nada.html\">x</A><A HREF=\"@|otra.html\">y</A>", .previos = {{"|otra.html", "otra.html"}},
       .reconstruida = "<A HREF=\"@|nada.html\">x</A><A HREF=\"otra.html\">y</A>", .informe = "enlace != NULL"},
      {.pagina = "<A HREF=\"@|x\">x</A><A HREF=@|x>y</A>", .previos = {{"|x", "x\"><script>alert(1)</script>"}},
       .reconstruida = "<A HREF=\"x&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;\">x</A>"
           "<A HREF=\"x&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;\">y</A>"},
      // A tag without HREF takes nothing from the next tag; HREF inside a value is no
      // attribute; lower-case links count although capitals stand later in the piece.
      {.pagina = "<A NAME=\"x\"><A HREF=\"b.html\" TITLE=\"HREF=c.html\"><a href=\"d.html\" ALT=\"A\">",
       .preprocesada = "<A NAME=\"x\"><A HREF=\"@|b.html\" TITLE=\"HREF=c.html\"><a href=\"@|d.html\" ALT=\"A\">"},
      // Links are read as a browser reads attributes: single quotes, blanks around the '=',
      // a '>' inside a quoted value; written back from a table inside the value's own quotes.
      {.pagina = "<A HREF='x.html' TITLE=\"a>b\">1</A><A TITLE='HREF=y.html' HREF = \"z.html\">2</A>"
           "<IMG SRC=\"w.png\" ALT=\"a>b\"><A TITLE=\"never closed HREF=v.html>3</A>",
       .preprocesada = "<A HREF='@|x.html' TITLE=\"a>b\">1</A><A TITLE='HREF=y.html' HREF = \"@|z.html\">2</A>"
           "<IMG SRC=\"@|w.png\" ALT=\"a>b\"><A TITLE=\"never closed HREF=v.html>3</A>",
       .ids_a = Textos{"|x.html", "|z.html"}, .ids_img = Textos{"|w.png"}},
      // Targets whose parts join into one identifier get records of their own.
      {.pagina = "<A HREF=\"x/y.html\">1</A><A HREF=\"x|y.html\">2</A><A HREF=\"a/\">3</A><A HREF=\"a\">4</A>"
           "<A HREF=\"x|y.html~2\">5</A><A HREF\n HREF=\"g.html\">6</A>",
       .preprocesada = "<A HREF=\"@|x|y.html\">1</A><A HREF=\"@|x|y.html~2\">2</A><A HREF=\"@|a\">3</A><A HREF=\"@|a~2\">4</A>"
           "<A HREF=\"@|x|y.html~2~2\">5</A><A HREF\n HREF=\"g.html\">6</A>",
       .ids_a = Textos{"|x|y.html", "|x|y.html~2", "|a", "|a~2", "|x|y.html~2~2"},
       .informe = "hay_punto == CIERTOhay_punto == CIERTO"},
      // A value that holds a NUL stays as it stands: a record's texts would end at the NUL.
      {.pagina = nul, .preprocesada = nul_pre, .ids_img = Textos{}},
      // Where readers may stand apart, an XMP's content is read as markup, in every piece.
      {.pagina = "<x><svg></e></svg><p>c</p><xmp><a href=\"y.html\"></a><p>d</p></xmp>",
       .preprocesada = "<x><svg></e></svg><p>c</p><xmp><a href=\"@|y.html\"></a><p>d</p></xmp>"},
      {.pagina = "<A HREF=\"docs/" + x + ".html\">x</A>", .preprocesada = "<A HREF=\"@|docs|" + x + ".html\">x</A>",
       .ids_a = Textos{"|docs|" + x + ".html"}},
      // Preprocessing writes each text as it reads it, in a form that reads back the same:
      // spaces that entities left stay entities, but inside a tag, where one space is all a
      // browser sees and an entity would change the tag. A text that holds a no-break space,
      // or a run of 39 blanks (which leaves a pair of spaces), goes back as the page had it.
      {.pagina = "<META NAME=\"description\" CONTENT=\"D  d\"><P>Hello\n   world &amp;</P>",
       .preprocesada = "<META NAME=\"description\" CONTENT=\"D  d\"><P>Hello world &amp;</P>", .ids_a = Textos{},
       .reconstruida = "<META NAME=\"description\" CONTENT=\"D d\"><P>Hello world &amp;</P>", .informe = amp},
      {.pagina = "<P>a<FONT &nbsp;color=red>b &nbsp;c</FONT></P>", .preprocesada = "<P>a<FONT &nbsp;color=red>b &nbsp;c</FONT></P>"},
      {.pagina = "<P>a<FONT &nbsp;&x;b<P>c &nbsp;d</P>", .preprocesada = "<P>a<FONT &nbsp;&x;b<P>c &nbsp;d</P>", .informe = amp},
      {.pagina = "<P>a<B" + b39 + "x>b" + b39 + "c</B></P>", .preprocesada = "<P>a<B" + b39 + "x>b" + b39 + "c</B></P>"},
      {.pagina = "<P>a<B x>b" + b39 + "c</B></P><P>d\n  e</P>", .preprocesada = "<P>a<B x>b" + b39 + "c</B></P><P>d e</P>",
       .reconstruida = "<P>a<B x>b" + b39 + "c</B></P><P>d e</P>"},
  };
  // clang-format on
  comprueba(casos);
}

// A link goes into a table only when its record gives it back byte for byte; any other
// stays in the page as it stands. Either way the rebuilt page is the page.
TEST_F(Enlaces, CadaEnlaceVuelveByteAByte) {
  // clang-format off
  const std::pair<std::vector<const char *>, bool> casos[] = {
      // Undotted last parts are folders; a host gains a "/", an empty path too; the
      // rebuild writes "&amp;" and "&nbsp;".
      {{"http://x.com/search?q=abc", "/watch?v=ID", "/page#section", "/api/v1/items", "/a&#46;html", "http://x.com",
        "http://x.com?q=1", "HTTP://x.com/a.html", "//cdn.x.com", "a&b.html", "a\xC2\xA0" "b.html"}, false},
      {{"watch?v=ID", "/api/v1/items/", "http://x.com/", "http://x.com:8080/a.html", "http://x.com/s.php?q=a.b#top",
        "https://x.com", "a&amp;b.html", "../img/a.gif", "/a/../b.html", "//cdn.x.com/a.js", "/", "a/"}, true},
  };
  // clang-format on
  for (const auto &[enlaces, registrado] : casos)
    for (const char *enlace : enlaces) {
      SCOPED_TRACE(enlace);
      pruebas::TablaLinks a, img;
      const std::string pagina = std::string("<A HREF=\"") + enlace + "\">x</A>";
      const std::string pre = preprocesa(pagina, kEspanol, a.lista, img.lista);
      EXPECT_EQ(pre == pagina, !registrado) << pre;
      EXPECT_EQ(ids_de(a).size(), registrado ? 1u : 0u);
      EXPECT_EQ(reconstruye(pre, kEspanol, {.a = a.lista, .img = img.lista}), pagina);
    }
}

}  // namespace
