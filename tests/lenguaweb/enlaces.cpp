// enlaces.cpp - tests of turning links into link references and back.
#include <cstdio>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "comun/tabla_links.h"
#include "lenguaweb/atributos.h"
#include "tablalink/tablalink.h"

namespace {

using Textos = std::vector<std::string>;
constexpr uint32_t kEspanol = 0x0C0A;

struct Tabla : pruebas::TablaLinks {
  Textos ids() const {
    Textos r;
    for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i)
      r.push_back(lista_reg_dame(lista, i)->ID);
    return r;
  }
  void anade(const char *id, const char *dominio, const char *ruta, const char *nombre) {
    lista_reg_anade(lista, tablalink_crea(id, dominio, ruta, nombre));
  }
};

class Enlaces : public pruebas::Entorno {
 protected:
  // Preprocesses the page into the two tables and returns the page written.
  std::string preprocesa(const std::string &pagina, Tabla &a, Tabla &img) {
    lenguaweb_t *doc = lenguaweb_crea(escribe("origen.html", pagina).c_str(), kEspanol);
    EXPECT_EQ(
        lenguaweb_preprocesa_links(doc, a.lista, img.lista, ruta("pre.html").c_str(), kEspanol),
        CIERTO);
    lenguaweb_destruye(&doc);
    return lee(ruta("pre.html"));
  }
  // Rebuilds the page with its own texts, resolving references through the tables.
  std::string reconstruye(const std::string &pagina, const Tabla &a, const Tabla &img) {
    return Entorno::reconstruye(pagina, kEspanol, {.a = a.lista, .img = img.lista});
  }
};

TEST_F(Enlaces, PreprocesarYReconstruir) {
  const std::string pagina =
      "<A HREF=\"http://servidor/docs/guia.html\">x</A><a href=\"guia.html\">y</a>"
      "<A HREF=\"/guia.html\">z</A><A HREF=\"a/guia.html\">w</A><IMG SRC=\"guia.html\">"
      "<A HREF=\"#arriba\">t</A><A HREF=\"\">u</A><A HREF=\"mailto:yo@sitio.es\">m</A>"
      "<AREA HREF=\"mapa.html\"><ADDRESS>a</ADDRESS><A NAME=\"sin\">v</A>"
      "<A HREF=guia.html TARGET=_top>s</A><A HREF=\"guia.html\">r</A>";
  Tabla a, img;
  const std::string pre = preprocesa(pagina, a, img);
  EXPECT_EQ(
      pre,
      "<A HREF=\"@servidor|/docs|guia.html\">x</A><a href=\"@|guia.html\">y</a>"
      "<A HREF=\"@|/|guia.html\">z</A><A HREF=\"@|a|guia.html\">w</A><IMG SRC=\"@|guia.html\">"
      "<A HREF=\"#arriba\">t</A><A HREF=\"\">u</A><A HREF=\"@|mailto:yo@sitio.es\">m</A>"
      "<AREA HREF=\"@|mapa.html\"><ADDRESS>a</ADDRESS><A NAME=\"sin\">v</A>"
      "<A HREF=\"@|guia.html\" TARGET=_top>s</A><A HREF=\"@|guia.html\">r</A>");
  EXPECT_EQ(a.ids(), (Textos{"servidor|/docs|guia.html", "|guia.html", "|/|guia.html",
                             "|a|guia.html", "|mailto:yo@sitio.es", "|mapa.html"}));
  EXPECT_EQ(img.ids(), (Textos{"|guia.html"}));
  EXPECT_EQ(cuenta_informes("encontrado == CIERTO"), 0u);

  // Every link comes back as its record rebuilds it, between quotes.
  std::string entre_comillas = pagina;
  entre_comillas.replace(entre_comillas.find("=guia.html "), 11, "=\"guia.html\" ");
  EXPECT_EQ(reconstruye(pre, a, img), entre_comillas);

  // Preprocessing again changes nothing and adds no record.
  EXPECT_EQ(preprocesa(pre, a, img), pre);
  EXPECT_EQ(a.ids().size(), 6u);
  EXPECT_EQ(img.ids().size(), 1u);
}

TEST_F(Enlaces, LaReferenciaNombraElRegistroQueCasa) {
  Tabla a, img;
  a.anade("VIEJO-7", "", "", "guia.html");  // a record saved earlier, under another identifier
  const std::string pre = preprocesa("<A HREF=\"guia.html\">x</A>", a, img);
  EXPECT_EQ(pre, "<A HREF=\"@VIEJO-7\">x</A>");
  EXPECT_EQ(a.ids(), (Textos{"VIEJO-7"}));
  EXPECT_EQ(reconstruye(pre, a, img), "<A HREF=\"guia.html\">x</A>");
}

// A link goes into a table only when its record gives it back byte for byte; any other
// stays in the page as it stands. Either way the rebuilt page is the page.
TEST_F(Enlaces, CadaEnlaceVuelveByteAByte) {
  struct Caso {
    const char *enlace;
    bool registrado;
  };
  // clang-format off
  const Caso casos[] = {
      {.enlace = "http://x.com/search?q=abc", .registrado = false},  // undotted: a folder
      {.enlace = "/watch?v=ID", .registrado = false},
      {.enlace = "/page#section", .registrado = false},
      {.enlace = "/api/v1/items", .registrado = false},
      {.enlace = "/a&#46;html", .registrado = false},
      {.enlace = "http://x.com", .registrado = false},      // the host gains a "/"
      {.enlace = "http://x.com?q=1", .registrado = false},  // an empty path too
      {.enlace = "HTTP://x.com/a.html", .registrado = false},
      {.enlace = "//cdn.x.com", .registrado = false},
      {.enlace = "a&b.html", .registrado = false},  // the rebuild writes "&amp;"
      {.enlace = "a\xC2\xA0" "b.html", .registrado = false},  // ... and "&nbsp;"
      {.enlace = "watch?v=ID", .registrado = true},
      {.enlace = "/api/v1/items/", .registrado = true},
      {.enlace = "http://x.com/", .registrado = true},
      {.enlace = "http://x.com:8080/a.html", .registrado = true},
      {.enlace = "http://x.com/s.php?q=a.b#top", .registrado = true},
      {.enlace = "https://x.com", .registrado = true},
      {.enlace = "a&amp;b.html", .registrado = true},
      {.enlace = "../img/a.gif", .registrado = true},
      {.enlace = "/a/../b.html", .registrado = true},
      {.enlace = "//cdn.x.com/a.js", .registrado = true},
      {.enlace = "/", .registrado = true},
      {.enlace = "a/", .registrado = true},
  };
  // clang-format on
  for (const Caso &c : casos) {
    SCOPED_TRACE(c.enlace);
    Tabla a, img;
    const std::string pagina = std::string("<A HREF=\"") + c.enlace + "\">x</A>";
    const std::string pre = preprocesa(pagina, a, img);
    EXPECT_EQ(pre == pagina, !c.registrado) << pre;
    EXPECT_EQ(a.ids().size(), c.registrado ? 1u : 0u);
    EXPECT_EQ(reconstruye(pre, a, img), pagina);
  }
}

// A reference names the first record of its identifier: a record under a taken one is
// never named, and its link stays.
TEST_F(Enlaces, UnRegistroTapadoNoSeNombra) {
  Tabla a, img;
  a.anade("X", "", "", "uno.html");
  a.anade("X", "", "", "dos.html");
  const std::string pagina = "<A HREF=\"dos.html\">x</A><A HREF=\"uno.html\">y</A>";
  const std::string pre = preprocesa(pagina, a, img);
  EXPECT_EQ(pre, "<A HREF=\"dos.html\">x</A><A HREF=\"@X\">y</A>");
  EXPECT_EQ(a.ids().size(), 2u);
  EXPECT_EQ(reconstruye(pre, a, img), pagina);
}

TEST_F(Enlaces, ReferenciaSinRegistroSeQuedaYSeInforma) {
  Tabla a, img;
  a.anade("|otra.html", "", "", "otra.html");
  EXPECT_EQ(reconstruye("<A HREF=\"@|nada.html\">x</A><A HREF=\"@|otra.html\">y</A>", a, img),
            "<A HREF=\"@|nada.html\">x</A><A HREF=\"otra.html\">y</A>");
  EXPECT_EQ(cuenta_informes("enlace != NULL"), 1u);
}

TEST_F(Enlaces, SoloLosAtributosDeVerdad) {
  Tabla a, img;
  // A tag without HREF takes nothing from the next tag; HREF inside a value is no
  // attribute; lower-case links count although capitals stand later in the piece.
  const std::string pre = preprocesa(
      "<A NAME=\"x\"><A HREF=\"b.html\" TITLE=\"HREF=c.html\"><a href=\"d.html\" ALT=\"A\">", a,
      img);
  EXPECT_EQ(
      pre,
      "<A NAME=\"x\"><A HREF=\"@|b.html\" TITLE=\"HREF=c.html\"><a href=\"@|d.html\" ALT=\"A\">");
  EXPECT_TRUE(informes().empty());
}

// Links are read as a browser reads attributes: single quotes, blanks around the '=', a
// '>' inside a quoted value; written back from a table inside the value's own quotes.
TEST_F(Enlaces, LeidosComoLosLeeUnNavegador) {
  Tabla a, img;
  const std::string pagina =
      "<A HREF='x.html' TITLE=\"a>b\">1</A><A TITLE='HREF=y.html' HREF = \"z.html\">2</A>"
      "<IMG SRC=\"w.png\" ALT=\"a>b\"><A TITLE=\"never closed HREF=v.html>3</A>";
  const std::string pre = preprocesa(pagina, a, img);
  EXPECT_EQ(pre,
            "<A HREF='@|x.html' TITLE=\"a>b\">1</A><A TITLE='HREF=y.html' HREF = \"@|z.html\">2"
            "</A><IMG SRC=\"@|w.png\" ALT=\"a>b\"><A TITLE=\"never closed HREF=v.html>3</A>");
  EXPECT_EQ(a.ids(), (Textos{"|x.html", "|z.html"}));
  EXPECT_EQ(img.ids(), (Textos{"|w.png"}));
  EXPECT_EQ(reconstruye(pre, a, img),
            "<A HREF='x.html' TITLE=\"a>b\">1</A><A TITLE='HREF=y.html' HREF = \"z.html\">2</A>"
            "<IMG SRC=\"w.png\" ALT=\"a>b\"><A TITLE=\"never closed HREF=v.html>3</A>");
}

// Targets whose parts join into one identifier get records of their own.
TEST_F(Enlaces, IdentificadoresQueCoincidenSeDistinguen) {
  Tabla a, img;
  const std::string pagina =
      "<A HREF=\"x/y.html\">1</A><A HREF=\"x|y.html\">2</A><A HREF=\"a/\">3</A><A HREF=\"a\">4</A>"
      "<A HREF=\"x|y.html~2\">5</A><A HREF\n HREF=\"g.html\">6</A>";
  const std::string pre = preprocesa(pagina, a, img);
  EXPECT_EQ(a.ids(), (Textos{"|x|y.html", "|x|y.html~2", "|a", "|a~2", "|x|y.html~2~2"}));
  EXPECT_EQ(reconstruye(pre, a, img), pagina);
  EXPECT_EQ(preprocesa(pre, a, img), pre);
}

TEST_F(Enlaces, EnlacesDeLaTablaNoMetenMarcado) {
  Tabla a, img;
  a.anade("|x", "", "", "x\"><script>alert(1)</script>");
  EXPECT_EQ(reconstruye("<A HREF=\"@|x\">x</A><A HREF=@|x>y</A>", a, img),
            "<A HREF=\"x&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;\">x</A>"
            "<A HREF=\"x&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;\">y</A>");
}

// A value that holds a NUL stays as it stands: a record's texts would end at the NUL.
TEST_F(Enlaces, UnValorConNulSeQuedaEntero) {
  Tabla a, img;
  constexpr char kPagina[] = "<P>a</P><IMG SRC=\"x\0\0.png\"><A HREF=\"b.html\">b</A>";
  const std::string pagina(kPagina, sizeof kPagina - 1);
  std::string esperada = pagina;
  esperada.replace(esperada.find("b.html"), 6, "@|b.html");
  const std::string pre = preprocesa(pagina, a, img);
  EXPECT_EQ(pre, esperada);
  EXPECT_TRUE(img.ids().empty());
  EXPECT_EQ(reconstruye(pre, a, img), pagina);
}

TEST_F(Enlaces, ValoresLargosEnteros) {
  Tabla a, img;
  const std::string largo = "docs/" + std::string(70000, 'x') + ".html";
  const std::string pagina = "<A HREF=\"" + largo + "\">x</A>";
  const std::string pre = preprocesa(pagina, a, img);
  ASSERT_EQ(a.ids().size(), 1u);
  EXPECT_EQ(a.ids()[0], "|docs|" + std::string(70000, 'x') + ".html");
  EXPECT_EQ(reconstruye(pre, a, img), pagina);
}

}  // namespace
