// hostiles.cpp - hostile translations and link records: what a browser reads in the written page.
#include <string>
#include <vector>

#include "contenido_vivo.h"
#include "lenguaweb/marcado_permitido.h"
#include "rondas.h"

namespace {

// What a hostile round writes into a page: a translation of the text that begins with
// texto, what the first A or IMG record gives, the identifier of the first A record before
// preprocessing. The written page, parsed by gumbo, holds only the elements and
// attributes of its source and inline tags without attributes, no active link the source
// lacks, and every other text in its place; what the round wrote is there for a reader to
// see (se_ve, or all of it when visible), and a refused record is reported.
struct Hostil {
  const char *texto = nullptr;
  std::string traduccion = {};  // in Windows-1252
  std::string enlace_a = {}, enlace_img = {}, id_previo = {}, se_ve = {};
  bool visible = false, rechazado = false;
};

class Hostiles : public pruebas::Entorno {
 protected:
  void ronda(const std::string &pagina, const Hostil &caso) {
    SCOPED_TRACE(pagina + "\n" + caso.traduccion + caso.enlace_a + caso.enlace_img +
                 caso.id_previo);
    olvida_informes();
    pruebas::SalidaHostil propia, salida;
    ASSERT_EQ(pruebas::ronda_hostil(carpeta_.string(), {.pagina = pagina}, &propia), "");
    pruebas::EntradaHostil entrada{.pagina = pagina};
    if (caso.texto != nullptr) {
      uint32_t k = 0;
      while (k < propia.textos.size() && !propia.textos[k].starts_with(caso.texto)) ++k;
      ASSERT_LT(k, propia.textos.size()) << caso.texto;
      entrada.traducciones[k] = caso.traduccion;
    }
    if (!caso.enlace_a.empty()) entrada.enlaces_a[0] = caso.enlace_a;
    if (!caso.enlace_img.empty()) entrada.enlaces_img[0] = caso.enlace_img;
    if (!caso.id_previo.empty()) entrada.ids_previos = {caso.id_previo};
    EXPECT_EQ(pruebas::ronda_hostil(carpeta_.string(), entrada, &salida), "") << salida.escrita;
    const std::string se_ve =
        caso.visible ? caso.traduccion + caso.enlace_a + caso.enlace_img : caso.se_ve;
    EXPECT_NE(pruebas::lo_que_se_lee(salida.escrita).find(se_ve), std::string::npos)
        << salida.escrita;
    EXPECT_EQ(cuenta_informes("!lenguaweb_es_enlace_activo(enlace)"), caso.rechazado ? 1u : 0u);
  }
};

// Its texts: the title, the description and the keywords, a text with inline markup of
// its own, the text of a link, an image's ALT, a text that leaves an element open for the
// piece after it to close, and the text of a link that the page itself makes active.
TEST_F(Hostiles, NadaVivoLlegaDeFuera) {
  const char *const pagina =
      "<HTML><HEAD><TITLE>Manual</TITLE>\n"
      "<META NAME=\"description\" CONTENT=\"A guide\"><META NAME=\"keywords\" CONTENT=\"guide\">\n"
      "</HEAD><BODY>\n<P>Hello <B>world</B> and <FONT COLOR=\"red\">more</FONT> text.</P>\n"
      "<P><A HREF=\"guia.html\">The guide</A> <IMG SRC=\"logo.gif\" ALT=\"Logo\"> and more</P>\n"
      "<P>See <EM>this</EM> <A HREF=\"javascript:void(0)\">now</A></P>\n<P>Last</P>\n"
      "</BODY></HTML>\n";
  // clang-format off
  const Hostil casos[] = {
      {.texto = "Hello", .traduccion = "<B onmouseover=alert(1)>Hola</B> mundo", .visible = true},
      {.texto = "Hello", .traduccion = "Hola<BR autofocus onfocus=alert(1)><br>x", .se_ve = "Hola<BR autofocus onfocus=alert(1)>"},
      {.texto = "Hello", .traduccion = "<I onclick='alert(1)'>a</I><EM onclick=\"alert(1)\">b</EM>", .visible = true},
      {.texto = "Hello", .traduccion = "<U\fonclick=alert(1)>a</U><STRONG\tonclick=alert(1)>b"},
      {.texto = "Hello", .traduccion = "<B/onclick=alert(1)>a<B\nonclick=alert(1)>b<b >c</b >"},
      {.texto = "Hello", .traduccion = "<FONT COLOR=\"red\" onclick=\"alert(1)\">x</FONT>"},
      {.texto = "Hello", .traduccion = "<font color=\"RED\">sin cerrar <I>ni esto"},
      {.texto = "Hello", .traduccion = "<B TITLE=\"a>b\">x</B><B TITLE='>'>y"},
      {.texto = "Hello", .traduccion = "Hola</B></FONT></P></BODY><P>", .visible = true},
      {.texto = "Hello", .traduccion = "<FONT COLOR=\"red\">a &lt;script&gt;alert(1)&lt;/script&gt; &#60;B&#62;",
       .se_ve = "a <script>alert(1)</script> <B>"},
      {.texto = "Hello", .traduccion = "<script>alert(1)</script><img src=x onerror=alert(1)>", .visible = true},
      {.texto = "Hello", .traduccion = "<!-- a --><![CDATA[x]]><? y ?> AT&T &amp; &copy x &copyx\xA0y",
       .se_ve = "<!-- a --><![CDATA[x]]><? y ?> AT&T & \xC2\xA9 x &copyx\xC2\xA0y"},
      {.texto = "Manual", .traduccion = "</title><script>alert(1)</script><B>x", .visible = true},
      {.texto = "A guide", .traduccion = "0;url=javascript:alert(1)\" http-equiv=\"refresh", .visible = true},
      {.texto = "guide", .traduccion = "x' onerror='alert(1)' a=\"</script><script>alert(1)//"},
      {.texto = "Logo", .traduccion = "x\" onerror=\"alert(1)", .visible = true},
      {.texto = "Logo", .traduccion = "x\fonerror=alert(1) &quot; onload=alert(1)", .se_ve = "x\fonerror=alert(1) \" onload=alert(1)"},
      {.texto = "See", .traduccion = "Mira <EM>esto</EM> y <EM>aquello"}, {.texto = "See", .traduccion = "Mira</EM> esto"},
      {.texto = "The guide", .traduccion = "</A><A HREF=\"javascript:alert(1)\">x</A>"},
      {.enlace_a = "javascript:alert(1)", .rechazado = true}, {.enlace_a = " \x01JaVaScRiPt:alert(1)", .rechazado = true},
      {.enlace_a = "java\tscr\nipt:alert(1)", .rechazado = true}, {.enlace_a = "jav&#x61;script&colon;alert(1)", .rechazado = true},
      {.enlace_a = "&#0106avascript&#58;alert(1)", .rechazado = true}, {.enlace_a = "vbscript:msgbox(1)", .rechazado = true},
      {.enlace_a = "&NewLine;java&Tab;script&#58alert(1)", .rechazado = true}, {.enlace_a = "&Hat;javascript:x"},
      {.enlace_img = "data:text/html,<script>alert(1)</script>", .rechazado = true},
      {.enlace_a = "x.html\" onmouseover=\"alert(1)", .visible = true}, {.enlace_a = "x.html' onmouseover='alert(1)", .visible = true},
      {.enlace_a = "x.html\fonmouseover=alert(1)", .visible = true}, {.enlace_img = "x.gif\"><script>alert(1)</script>", .visible = true},
      {.id_previo = "x onmouseover=alert(1)"}, {.id_previo = "x\" onmouseover=\"alert(1)"}, {.id_previo = "x'><script>alert(1)</script>"},
  };
  // clang-format on
  pruebas::SalidaHostil propia;
  ASSERT_EQ(pruebas::ronda_hostil(carpeta_.string(), {.pagina = pagina}, &propia), "");
  EXPECT_TRUE(informes().empty());  // the page alone reports nothing
  for (const Hostil &caso : casos) ronda(pagina, caso);
}

// A page that leaves a quote open: a browser reads all that follows inside that value,
// the image whose error handler it holds included. Texts are still offered after it, and
// whatever the library writes there (a translation, a link's record, a quoted value) never
// brings that quote, so the page stays as a browser read it.
TEST_F(Hostiles, UnaComillaQueNoSeCierraSigueAbierta) {
  const std::string rota =
      "<P>Intro <IMG ALT=\"rota>Hello <B>world</B>, <A HREF=guia.html>the guide</A>"
      " <IMG SRC=x ALT=Logo onerror=alert(1)> end</P>";
  const std::string simple =
      "<P>Hello <B TITLE='rota>world</B>, <A HREF=guia.html>the guide</A>"
      " <IMG SRC=x onerror=alert(1)> end</P>";
  // clang-format off
  const std::pair<std::string, Hostil> casos[] = {
      {rota, {}}, {rota, {.texto = "Hello", .traduccion = "x\" onmouseover=\"alert(1)\"><script>alert(1)</script>"}},
      {rota, {.texto = "Logo", .traduccion = "a\"b'c"}}, {rota, {.enlace_a = "x.html\" onmouseover=\"alert(1)"}},
      {simple, {.texto = "world", .traduccion = "x' onmouseover='alert(1)'>"}}, {"<P>a <i r=\">*<i)> b</P>", {}},
  };
  // clang-format on
  for (const segmentacion_t segmentacion : {SEGMENTACION_CLASICA, SEGMENTACION_BLOQUES}) {
    opciones_pon_segmentacion(segmentacion);
    for (const auto &[pagina, caso] : casos) ronda(pagina, caso);
  }
  opciones_pon_segmentacion(SEGMENTACION_CLASICA);
}

// Code and the content of IFRAME, NOEMBED, NOFRAMES and NOSCRIPT give no text; inside SVG
// and MathML, but at their HTML integration points, XMP and PLAINTEXT are ordinary
// elements, until a tag that HTML alone has ends them; a META with HTTP-EQUIV is an order,
// not words. Whatever a translation says, it brings no markup and no code.
TEST_F(Hostiles, CadaContextoGuardaSuTraduccion) {
  // clang-format off
  const std::pair<const char *, const char *> casos[] = {  // a page, and the texts it offers
      {"<p>Hi</p><script type=\"text/javascript\"><!--\ndocument.write('<script src=\"counter.js\"></script>'); "
       "var greeting = \"Hello visitor\";\n//--></script><p>Bye</p>", "Hi|Bye"},
      {"<script><!--<script>x</script>y</script>z</script><p>a</p>", "z|a"},
      {"<svg><xmp>Example text</xmp></svg>", "Example text"}, {"<svg><desc/><xmp>Example text</xmp></svg>", "Example text"},
      {"<math><plaintext>Example text</plaintext></math><p>e</p>", "Example text|e"},
      {"<svg><title>a</title><xmp>Example text</xmp></svg>", "a|Example text"},
      {"<svg><foreignObject><xmp>Example text</xmp></foreignObject></svg>", "Example text"},
      {"<math><mi><xmp>Example text</xmp></mi></math>", "Example text"},
      {"<iframe><xmp>Example text</xmp></iframe><noembed><xmp>b</xmp></noembed><noframes><plaintext>c</noframes>"
       "<noscript><p>d</p></noscript><p>e</p>", "e"},
      {"<svg><B><math><title>9<B>x<title><a>", "9|x"}, {"<svg><p>x</p><xmp><img alt=\"</xmp><p>e</p>", "x|<img alt=\"|e"},
      {"<svg><math><mi><xmp><img alt=\"</xmp><p>e</p>", "e"},
      {"<html lang=h><p>a <b>b<svg></b><html lang>", "a <b>b"},
      {"<svg>a</p><xmp>b</xmp></svg><p>c</p>", "a|b|c"},
      {"<math><script></script >a</script><svg><style>b</style/>c</style>d</svg>", "d"},
      {"<svg></svg ><xmp>a</xmp><math></math x><xmp>b</xmp><svg><svg></svg/></svg><xmp>c</xmp>", "a|b|c"},
      {"<svg><desc></desc ><xmp>a</xmp></svg><xmp>b</xmp>", "a|b"},
      {"<math><mi><mglyph><xmp>a</xmp></mglyph></mi><mtext><malignmark><mglyph></mglyph><xmp>b</xmp>", "a|b"},
      {"<math><mi><mglyph/><xmp>a</xmp></mi></math><p>b</p>", "a|b"},
      {"<svg><font><xmp>a</xmp></font><font Size=2><xmp>b</xmp>", "a|b"},
      {"<select><option>a<xmp>b</xmp><plaintext>c</select><xmp>d</xmp><table><select><xmp>e</xmp>", "a|b|c|d|e"},
      {"<noscript><select></noscript><xmp>a</xmp><noscript><svg></noscript></select><xmp>b</xmp><p><plaintext>c</p>", "a|b|c"},
      {"<math><annotation-xml encoding=x ENCODING=text/html><xmp>a</xmp></annotation-xml>"
       "<annotation-xml Encoding='Text/HTML'><xmp>b</xmp>", "a|b"},
      {"<math><script></script >a</script><svg><style>b</style/>c</style>d</svg>", "d"},
      {"<noscript><script>x</noscript>y</script><p>z</p><noscript><style </noscript>a</style><p>b</p>", "z|b"},
      {"<noscript><!<m a=\"</noscript><style>\">f</style><p>g</p>", "g"},
      // A quote that never closes, in a tag that a reader running no script reads there.
      {"<noscript><a f=\"</noscript><p>r</p><p>s</p>", "r|s"}, {"<noscript><a f='x>y</noscript><p>z</p>", "z"},
      // Or one read there as text hides a quote from it, up to that element's end tag.
      {"<noscript><xmp><a r=\"</xmp><j b=\"</noscript>d<\">e<p>f</p>", "e|f"},
      {"<noscript><textarea><a r=\"</textarea><j b=\"</noscript>d\">e<p>f</p>", "e|f"}, {"<noscript><plaintext></noscript><p>a</p>", ""},
      {"<svg><script><script></script>p</script>q<desc>r</desc><style><![CDATA[ x > </style> ]]>b</style>c</svg><p>s</p>", "q|r|c|s"},
      {"<svg><script><script a=b/></script>p</script>q<desc>r</desc><script/>s<script>t</script></svg>", "q|r"},
      {"<svg><foreignObject><x></foreignObject><math><foreignObject><xmp>a</xmp></math></svg>", "a"},
      {"<svg><foreignObject><b></i></foreignObject><math><foreignObject><xmp>a</xmp></math></svg><xmp>b</xmp>", "a|b"},
      {"<svg><desc><div>x<math></desc><desc><xmp>a</xmp></desc></math></svg><p>e</p>", "x|a|e"},
      {"<x><svg></e><math><foreignObject><xmp>a</xmp></math></svg><xmp>b</xmp>", "a|b"},
      // "</>" is no tag. Where XMP's content is read as markup, nothing is offered past a tag
      // or comment of it that holds the XMP's end tag: a reader of text reads on from there.
      {"<svg></><foreignObject><xmp><e v=\"</xmp><P g=\">c<\">", "<e v=\""},
      {"<select><xmp><e v=\"</xmp><p g=\">c<\">d<p>e</p>", ""}, {"<select><xmp>a<p v=\"x\">z</xmp><p>b</p>", "a|z|b"},
      {"<select><xmp><!-- </xmp><p title=\" --> c \">", ""}, {"<select><xmp><xmp>a</xmp><p>b</p>", ""}, {"<noscript><select></noscript><p>a</p><xmp><i v=\"</xmp><p g=\">c<\">", "a"},
      {"<title>t</title f=\"></title>\">a<textarea>u</textarea a='</textarea>'>b<xmp>x</xmp title=\"</xmp>\">c"
       "<script>s</script x=\"</script>\">d<p>e</p>", "t|a|u|b|x|c|d|e"},
      {"<meta name=\"description\" http-equiv=\"refresh\" content=\"About us\">"
       "<META NAME=description Http-Equiv=refresh CONTENT=About><p>e</p>", "e"},
  };
  // clang-format on
  const char *const traducciones[] = {
      "Texto <img src=x onerror=document.title=\"PWNED\"// ",
      "</xmp></svg></math></iframe></noembed></noframes><img src=x onerror=alert(1)>",
      "'); document.title='PWNED'; //", "0;url=data:text/html,<script>alert(1)</script>"};
  for (const segmentacion_t segmentacion : {SEGMENTACION_CLASICA, SEGMENTACION_BLOQUES}) {
    opciones_pon_segmentacion(segmentacion);
    for (const auto &[pagina, textos] : casos) {
      SCOPED_TRACE(std::to_string(segmentacion) + ": " + pagina);
      pruebas::SalidaHostil propia;
      EXPECT_EQ(pruebas::ronda_hostil(carpeta_.string(), {.pagina = pagina}, &propia), "");
      EXPECT_EQ(pruebas::une(propia.textos), textos);
      for (const char *traduccion : traducciones) {
        pruebas::EntradaHostil entrada{.pagina = pagina};
        for (uint32_t k = 0; k < propia.textos.size(); ++k) entrada.traducciones[k] = traduccion;
        pruebas::SalidaHostil salida;
        EXPECT_EQ(pruebas::ronda_hostil(carpeta_.string(), entrada, &salida), "") << salida.escrita;
      }
    }
  }
  opciones_pon_segmentacion(SEGMENTACION_CLASICA);
}

// Texts that hold every phrasing element with its attributes, as a segmentation by blocks
// cuts them: a translation may keep, move or drop its text's own tags, each once (the
// block table shows tags kept, moved and refused through whole pages).
TEST(TagsDelOrigen, LaTraduccionUsaLosDeSuTexto) {
  const texto_de_origen origen{.texto =
                                   "Read <a href=\"x.html\">the guide</a> or <code "
                                   "title=\"\xC3\xA9t\xC3\xA9\">ls</code>.",
                               .solo_en_linea = false};
  // clang-format off
  const std::pair<const char *, const char *> casos[] = {  // a translation, and what is written
      {"<A HREF=\"x.html\">canci\xC3\xB3n", "<a href=\"x.html\">canci\xC3\xB3n</a>"},
      {"<a href=\"x.html\">a</a> <a href=\"x.html\">b</a>", "<a href=\"x.html\">a</a> &lt;a href=\"x.html\"&gt;b&lt;/a&gt;"},
      {"<b onclick=x>Lee</b> <i>esto", "&lt;b onclick=x&gt;Lee&lt;/b&gt; <i>esto</i>"},
      {"a &lt;b&gt; &amp; c & d\xC2\xA0z", "a &lt;b&gt; &amp; c &amp; d&nbsp;z"},
      // References for what the page wrote as characters (a code page that lacks them).
      {"<code title=\"&#233;t&eacute;\">ls</code>", "<code title=\"\xC3\xA9t\xC3\xA9\">ls</code>"},
  };
  // clang-format on
  for (const auto &[traduccion, esperada] : casos) {
    std::string escrita;
    lenguaweb_escribe_texto(escrita, traduccion, origen);
    EXPECT_EQ(escrita, esperada) << traduccion;
  }
}

// A tag's form: names in lower case and in order, the first value of a repeated name (in
// any letter case), values without their quotes.
TEST(TagsDelOrigen, LaFormaDeUnTag) {
  using namespace std::string_literals;
  const std::string forma = "<a\0href\0x\0title\0t"s;
  for (const char *tag : {"<A Title=t HREF=\"x\" href=y>", "<a href='x' title=\"t\">",
                          "<a HREF=x TITLE=t Href=y tItle=u>"})
    EXPECT_EQ(lenguaweb_forma_de_tag(tag), forma) << tag;
  EXPECT_NE(lenguaweb_forma_de_tag("<a href=y href=x title=t>"), forma);
  EXPECT_EQ(lenguaweb_forma_de_tag("<input Disabled b=1 B=2 a=\"3\">"),
            "<input\0a\0003\0b\0001\0disabled\0"s);
  // A name that sorts by its bytes in lower case: '_' (0x5F) after 'Z' but before 'a'.
  EXPECT_EQ(lenguaweb_forma_de_tag("<p x_=1 X=2 xa=3>"), "<p\0x\0002\0x_\0001\0xa\0003"s);
}

}  // namespace
