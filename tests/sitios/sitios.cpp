// sitios.cpp - the checker's reading of pages as a browser reads them, its model of links,
// its copies and its catch of faults.
#include <cstdio>
#include <string>
#include <vector>

#include "comprobacion.h"
#include "comun/entorno_pruebas.h"
#include "copias.h"
#include "lectura_navegador.h"
#include "modelo.h"
#include "seleccion.h"

namespace {

using sitios::EnlaceEnPagina;

struct FilaEnlace {
  const char *enlace, *dominio, *ruta, *nombre, *id, *reconstruido;
};

TEST(ModeloEnlaces, DivideIdentificaYReconstruye) {
  // clang-format off
  const FilaEnlace filas[] = {
      {"http://servidor", "servidor", "/", "", "servidor", "http://servidor/"},
      {"http://servidor/guia.html", "servidor", "/", "guia.html", "servidor|guia.html", "http://servidor/guia.html"},
      {"HTTP://servidor/docs/guia.html", "servidor", "/docs", "guia.html", "servidor|/docs|guia.html", "http://servidor/docs/guia.html"},
      {"http://servidor/docs", "servidor", "/docs", "", "servidor|/docs", "http://servidor/docs/"},
      {"http://servidor/docs.es", "servidor", "/", "docs.es", "servidor|docs.es", "http://servidor/docs.es"},
      {"http://servidor/docs.es/", "servidor", "/docs.es", "", "servidor|/docs.es", "http://servidor/docs.es/"},
      {"/docs/guia.html", "", "/docs", "guia.html", "|/docs|guia.html", "/docs/guia.html"},
      // The root and a one-character folder keep their place in a link without a domain.
      {"/guia.html", "", "/", "guia.html", "|/|guia.html", "/guia.html"},
      {"a/guia.html", "", "a", "guia.html", "|a|guia.html", "a/guia.html"},
      {"docs/x", "", "docs", "x", "|docs|x", "docs/x"},
      {"guia.html", "", "", "guia.html", "|guia.html", "guia.html"},
      {"../img/logo.gif", "", "../img", "logo.gif", "|../img|logo.gif", "../img/logo.gif"},
      {"https://servidor/guia.html", "", "https://servidor", "guia.html", "|https://servidor|guia.html", "https://servidor/guia.html"},
      {"https://docs.python.org/3/", "", "https://docs.python.org/3", "", "|https://docs.python.org/3", "https://docs.python.org/3/"},
      {"http://servidor//", "servidor", "/", "", "servidor", "http://servidor/"},
      {"lib/a.cgi?x=1/y", "", "lib/a.cgi?x=1", "y", "|lib/a.cgi?x=1|y", "lib/a.cgi?x=1/y"},
  };
  // clang-format on
  for (const FilaEnlace &f : filas) {
    SCOPED_TRACE(f.enlace);
    const sitios::PartesEnlace p = sitios::enlace_divide(f.enlace);
    EXPECT_EQ(p.dominio, f.dominio);
    EXPECT_EQ(p.ruta, f.ruta);
    EXPECT_EQ(p.nombre_fichero, f.nombre);
    EXPECT_EQ(sitios::enlace_identificador(p), f.id);
    EXPECT_EQ(sitios::enlace_reconstruye(p), f.reconstruido);
  }
}

TEST(ModeloEnlaces, ValorEscritoSiempreEntreComillas) {
  EXPECT_EQ(sitios::valor_escrito("a.html", false), "\"a.html\"");
  EXPECT_EQ(sitios::valor_escrito("x\"'><b>", true), "x&quot;&#39;&gt;&lt;b&gt;");
  EXPECT_EQ(sitios::valor_escrito("?a=1&b=2&amp;c&#38;", false), "\"?a=1&amp;b=2&amp;c&#38;\"");
}

std::vector<EnlaceEnPagina> enlaces_de(const std::string &pagina) {
  return sitios::enlaces_de(sitios::arbol_lee(pagina), pagina);
}

TEST(Enlaces, LosQueLaBibliotecaTrata) {
  const std::string pagina =
      "<a href=\"x.html\">x</a><AREA HREF=\"m.html\"><abbr href=y.html>a</abbr>"
      "<img src='i.png'><link href=\"s.css\"><a name=\"n\"></a><a href=\"#f\"></a>";
  const std::vector<EnlaceEnPagina> e = enlaces_de(pagina);
  std::vector<std::string> valores;
  for (const EnlaceEnPagina &x : e) valores.push_back(x.valor);
  ASSERT_EQ(valores, (std::vector<std::string>{"x.html", "m.html", "y.html", "i.png", "#f"}));
  EXPECT_TRUE(e[0].entre_comillas && e[3].img);
  EXPECT_FALSE(e[2].entre_comillas);
  EXPECT_TRUE(sitios::enlace_se_traslada(e[0]));
  EXPECT_FALSE(sitios::enlace_se_traslada(e[4]));
  EXPECT_FALSE(sitios::enlace_se_traslada({0, 0, true, false, "@|x.html", false}));
  EXPECT_FALSE(sitios::enlace_se_traslada({0, 0, true, false, "", false}));
  EXPECT_FALSE(sitios::enlace_se_traslada({0, 0, true, false, "x\"y.html", false}));
  EXPECT_FALSE(sitios::enlace_se_traslada({0, 0, true, false, "&#106;avascript:x", true}));
}

TEST(Enlaces, LaVueltaEsperadaYSusFallos) {
  // The first link would come back as "http://h/d/": it stays.
  const std::string pagina =
      "<a href=\"HTTP://h/d\">1</a> <a href=a/b.html>2</a> <a href=\"#x\">3</a> <img src=\"/\">";
  const std::vector<EnlaceEnPagina> e = enlaces_de(pagina);
  EXPECT_FALSE(sitios::enlace_se_traslada(e[0]));
  const std::string esperada = sitios::pagina_con_enlaces_reconstruidos(pagina, e);
  EXPECT_EQ(esperada,
            "<a href=\"HTTP://h/d\">1</a> <a href=\"a/b.html\">2</a> <a href=\"#x\">3</a> "
            "<img src=\"/\">");
  // A link written back as the page had it, not as its record writes it, is caught.
  EXPECT_NE(sitios::muestra_diferencia(esperada, pagina), "");

  const std::string pre =
      "<a href=\"HTTP://h/d\">1</a> <a href=@|a|b.html>2</a> "
      "<a href=\"#x\">3</a> <img src=\"@|/\">";
  EXPECT_EQ(sitios::compara_referencias(e, enlaces_de(pre)), "");
  // A link left in place, one moved that should stay, a wrong identifier, and a lost tag
  // are each caught.
  for (const std::string mala :
       {"<a href=\"HTTP://h/d\">1</a> <a href=a/b.html>2</a> <a href=\"#x\">3</a> <img "
        "src=\"@|/\">",
        "<a href=\"@h|/d\">1</a> <a href=@|a|b.html>2</a> <a href=\"#x\">3</a> <img src=\"@|/\">",
        "<a href=\"HTTP://h/d\">1</a> <a href=@|b.html>2</a> <a href=\"#x\">3</a> <img "
        "src=\"@|/\">",
        "<a href=\"HTTP://h/d\">1</a> <a href=@|a|b.html>2</a> <img src=\"@|/\">"})
    EXPECT_NE(sitios::compara_referencias(e, enlaces_de(mala)), "") << mala;
}

// Two pages, the original and one written from it, that a reader must or must not see
// as different, and the kind of fault that a difference shows.
struct Lectura {
  const char *caso;
  std::string original, escrita;
  uint32_t idioma = 0x0409;
  const char *categoria = nullptr;  // null: a reader sees the same
};

TEST(Lectura, ComparaLoQueVeElLector) {
  const std::string utf16 = std::string("\xFF\xFE<\0p\0>\0\xE9\0", 10);
  // clang-format off
  const Lectura casos[] = {
      {.caso = "blanks of preformatted text are kept", .original = "<pre>a\n   b</pre>",
       .escrita = "<pre>a b</pre>", .categoria = "PRE blanks"},
      {.caso = "a TEXTAREA is preformatted too", .original = "<textarea>a\tb</textarea>",
       .escrita = "<textarea>a b</textarea>", .categoria = "PRE blanks"},
      {.caso = "elsewhere a run of blanks is one space", .original = "<p>a\n \t b</p>",
       .escrita = "<p>a b</p>"},
      {.caso = "a no-break space is no space", .original = "<p>Secci\xC3\xB3n&nbsp;1</p>",
       .escrita = "<p>Secci\xC3\xB3n 1</p>", .categoria = "nbsp"},
      {.caso = "nor is it a blank that collapses", .original = "<p>a&nbsp; b</p>",
       .escrita = "<p>a b</p>", .categoria = "nbsp"},
      {.caso = "an entity and its character read alike",
       .original = "<p>a&nbsp;b &amp; caf&eacute;</p>",
       .escrita = "<p>a\xC2\xA0" "b &#38; caf\xC3\xA9</p>"},
      {.caso = "each side decoded in its own declared charset",
       .original = "<meta charset=\"ISO-8859-1\"><p>caf\xE9</p>",
       .escrita = "<meta charset=\"utf-8\"><p>caf\xC3\xA9</p>"},
      {.caso = "UTF-8 bytes under a Latin-1 declaration are what they declare",
       .original = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
           "<p>caf\xE9</p>",
       .escrita = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
           "<p>caf\xC3\xA9</p>", .categoria = "charset"},
      {.caso = "EUC-KR bytes written back as UTF-8 under the EUC-KR declaration",
       .original = "<meta charset=\"EUC-KR\"><title>suEXEC \xC1\xF6\xBF\xF8</title>",
       .escrita = "<meta charset=\"EUC-KR\"><title>suEXEC \xEC\xA7\x80\xEC\x9B\x90</title>",
       .idioma = 0x0412, .categoria = "charset"},
      {.caso = "a byte order mark outweighs the declaration",
       .original = "\xEF\xBB\xBF<meta charset=\"windows-1252\"><p>\xC3\xA9</p>",
       .escrita = "<meta charset=\"utf-8\"><p>\xC3\xA9</p>"},
      {.caso = "UTF-16 with its byte order mark", .original = utf16, .escrita = "<p>\xC3\xA9</p>"},
      {.caso = "a declaration inside a comment is none",
       .original = "<!-- <meta charset=\"koi8-r\"> --><p>\xC3\xA9</p>",
       .escrita = "<!-- <meta charset=\"koi8-r\"> --><p>&eacute;</p>"},
      {.caso = "an undeclared page that is not UTF-8 is in its language's code page",
       .original = "<p>\xCF\xF0\xE8</p>", .escrita = "<p>\xD0\x9F\xD1\x80\xD0\xB8</p>",
       .idioma = 0x0419},
      {.caso = "a quoted '>' that now ends the tag", .original = "<p><a href=\"#<x>\">y</a></p>",
       .escrita = "<p><a href=\"#<x>\"&gt;y</a></p>", .categoria = "quoted '>'"},
  };
  // clang-format on
  for (const Lectura &c : casos) {
    SCOPED_TRACE(c.caso);
    std::string categoria;
    const std::string diferencia =
        sitios::lecturas_compara(c.original, c.escrita, c.idioma, &categoria);
    EXPECT_EQ(diferencia.empty(), c.categoria == nullptr) << diferencia;
    EXPECT_EQ(categoria, c.categoria != nullptr ? c.categoria : "") << diferencia;
  }
}

TEST(Lectura, LaDeclaracionComoLaEncuentraUnNavegador) {
  const std::pair<const char *, const char *> casos[] = {
      {"<?xml version=\"1.0\" encoding='EUC-JP'?><html>", "EUC-JP"},
      {"<html><head><META CHARSET=koi8-r>", "KOI8-R"},
      {"<meta content=\"text/html; charset=Shift_JIS\" http-equiv=\"Content-Type\">", "Shift_JIS"},
      // A content charset needs its http-equiv, and the first declaration wins.
      {"<meta content=\"text/html; charset=Shift_JIS\"><p>\xC3\xA9", "UTF-8"},
      {"<meta charset=\"big5\"><meta charset=\"koi8-r\">", "Big5"},
      // An attribute of another tag is no declaration, a UTF-16 one reads as UTF-8.
      {"<a title='<meta charset=koi8-r>'><p>\xC3\xA9", "UTF-8"},
      {"<meta charset=\"utf-16\">", "UTF-8"},
      {"<meta charset=\"nonsense\"><p>\xE9", "windows-1252"},
      {"\xFE\xFF\0<", "UTF-16BE"}};
  for (const auto &[pagina, nombre] : casos)
    EXPECT_EQ(sitios::codificacion_de(pagina, 0x0409).nombre, nombre) << pagina;
  // The bytes of a page past its first 1024 are not looked at.
  EXPECT_EQ(
      sitios::codificacion_de(std::string(1024, ' ') + "<meta charset=koi8-r>\xE9", 0x0419).nombre,
      "windows-1251");
}

// A page in each legacy charset: decoded as a browser decodes it, the copy declares the
// charset it is written in and shows a reader what the page showed, the characters that
// the charset lacks as character references.
TEST(Copias, CadaJuegoSeLeeComoElOriginal) {
  const std::string pagina =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<html><head>"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"/></head><body>"
      "<p>\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80 \xE2\x80\x94 caf\xC3\xA9 \xC5\x93 "
      "\xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xE4\xB8\xAD\xE6\x96\x87 "
      "\xED\x95\x9C</p></body></html>";
  // clang-format off
  const std::pair<const char *, const char *> juegos[] = {
      {"windows-1252", "windows-1252"}, {"ISO-8859-15", "ISO-8859-15"}, {"KOI8-R", "KOI8-R"},
      {"Shift_JIS", "Shift_JIS"}, {"EUC-JP", "EUC-JP"}, {"GB2312", "GBK"}, {"Big5", "Big5"},
      {"utf-16", "UTF-16LE"}};
  // clang-format on
  for (const auto &[etiqueta, encoding] : juegos) {
    SCOPED_TRACE(etiqueta);
    std::string bytes, error, categoria;
    ASSERT_TRUE(sitios::codificacion_escribe(sitios::copia_declara(pagina, etiqueta), encoding,
                                             &bytes, &error))
        << error;
    EXPECT_EQ(sitios::codificacion_de(bytes, 0x0409).nombre, encoding);
    EXPECT_EQ(sitios::lecturas_compara(pagina, bytes, 0x0409, &categoria), "");
    EXPECT_NE(
        sitios::lecturas_compara(pagina, bytes.substr(0, bytes.size() / 2), 0x0409, &categoria),
        "");
  }
  // A page without a declaration gets one in its head.
  EXPECT_EQ(sitios::copia_declara("<!DOCTYPE html><html><HEAD><title>x", "KOI8-R"),
            "<!DOCTYPE html><html><HEAD><meta charset=\"KOI8-R\"><title>x");
}

TEST(Lectura, MarcadoRotoDeLaPropiaPagina) {
  const auto roto = [](const std::string &pagina) {
    return sitios::arbol_roto(sitios::arbol_lee(pagina), pagina);
  };
  EXPECT_NE(roto("<p><a href=\"x.html>x</a>\n<p><b class=\"y\">z</b>"), "");
  EXPECT_NE(roto("<p>a<!-- never closed <p>b"), "");
  EXPECT_EQ(roto("<p><a href=\"#<satisfyall>\">y</a>\n<p title=\"a\nb\">c"), "");
}

// The checker's receptor takes the library's reports in place of the fixture's.
class PaginaEntera : public pruebas::Entorno {
 protected:
  void SetUp() override {
    Entorno::SetUp();
    sitios::comprobacion_instala_receptor();
  }
  sitios::ResultadoPagina comprueba(const std::string &camino, uint32_t idioma) {
    return sitios::pagina_comprueba(camino, idioma, carpeta_.string(),
                                    {.orden = SITIOS_ORDEN, .segmentacion = ""});
  }
};

// What the real pages seldom hold, in each of their languages, on a UTF-8 page that has
// none of the faults that the checker finds on real ones: line ends of both kinds, tags
// in either case, letters of scripts that the code page lacks, inline tags shown as
// code, unquoted and empty ALT values, scripts and styles with '<' and '>'. Every check
// passes, the library's and the command's alike, and the counts are the page's.
TEST_F(PaginaEntera, UnaPaginaSanaPasaEnCadaIdioma) {
  const std::string camino =
      escribe("hecha.html",
              "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n<html><HEAD>\r\n"
              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n"
              "<TITLE>Caf&eacute; \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E &hellip;</TITLE>\r\n"
              "<META NAME=\"description\" CONTENT=\"R&amp;D \xED\x95\x9C\xEA\xB5\xAD &#8364;\">\r\n"
              "<meta name=\"Keywords\" content=\"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, "
              "&copy;\"><meta name=\"generator\" content=\"x\">\n"
              "<style>p > a { color: red; } /* <b> */</style>\n"
              "<script>if (a < b && c > d) { s = '</div>'; }</script>\n</HEAD><BODY>\n"
              "<P>&lt;B&gt;bold&lt;/B&gt; and <b>live</b></P>\n"
              "<p>1 &lt; 2 &amp; x &gt; y \xE2\x86\x92 <FONT color=red>\xCE\xB1\xCE\xB2</FONT><BR>"
              "\xC3\xBC"
              "ber <EM>em</EM>\r\n"
              "<a href=\"a.html?x=1&amp;y=2\">enlace</a> <A HREF=\"http://h/d\">Sitio</A>\n"
              "<p><IMG ALT=Logo SRC=a.gif> <img src=\"x.png\" alt=\"\"> <IMG SRC=\"y.png\">\r\n"
              "<TABLE border=1><tr><td>celda <i>i</i><td>d</TABLE>\n"
              "<!-- comentario <p> --><hr><A NAME=\"ancla\"></A> <a href=\"#ancla\">a</a>\n"
              "</BODY></html>\n");
  for (const uint32_t idioma : {0x0409u, 0x0C0Au, 0x0411u, 0x0419u, 0x0804u}) {
    SCOPED_TRACE(::testing::Message() << "language 0x" << std::hex << idioma);
    const sitios::ResultadoPagina r = comprueba(camino, idioma);
    for (const sitios::Fallo &f : r.fallos)
      ADD_FAILURE() << f.comprobacion << " [" << f.categoria << "]: " << f.detalle;
    EXPECT_EQ(r.en_tags, 4u);  // the empty ALT gives an empty text
    EXPECT_EQ(r.enlaces, 4u);  // not "http://h/d": its record would add a "/"
    EXPECT_EQ(r.rota, "");
  }
}

TEST_F(PaginaEntera, UnFicheroQueNoSeLeeEsUnFallo) {
  EXPECT_FALSE(comprueba(ruta("no-esta.html"), 0x0409).fallos.empty());
}

using Conocidos = pruebas::Entorno;

TEST_F(Conocidos, SoloElFalloListadoDeLaPaginaListada) {
  const std::string camino =
      escribe("conocidos.txt", "# comment\n\nown texts,pieces\tmanual/en/filter.html\twhy\n");
  std::vector<sitios::FalloConocido> c;
  std::string error;
  ASSERT_TRUE(sitios::conocidos_lee(camino, &c, &error)) << error;
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[1].motivo, "why");
  const std::string pagina = "manual/en/filter.html";
  EXPECT_EQ(sitios::conocido_de(c, pagina, "own texts"), &c[0]);
  EXPECT_EQ(sitios::conocido_de(c, pagina, "pieces"), &c[1]);
  EXPECT_EQ(sitios::conocido_de(c, pagina, "own texts2"), nullptr);
  EXPECT_EQ(sitios::conocido_de(c, pagina, "link round trip"), nullptr);
  // A legacy copy of the page is another page.
  EXPECT_EQ(sitios::conocido_de(c, "KOI8-R/manual/en/filter.html", "own texts"), nullptr);
  EXPECT_EQ(sitios::conocido_de(c, "manual/es/filter.html", "own texts"), nullptr);

  escribe("conocidos.txt", "own texts manual/en/filter.html\n");
  c.clear();
  EXPECT_FALSE(sitios::conocidos_lee(camino, &c, &error));
  EXPECT_NE(error.find(":1:"), std::string::npos);
}

}  // namespace
