// segmentacion.cpp - tests of cutting pages into verbatim pieces and body texts.
#include <string>

#include "rondas.h"

namespace {

using pruebas::kBloques;
using Segmentacion = pruebas::Paginas;

TEST_F(Segmentacion, SeCortaEnPiezasYTextos) {
  const std::string script(200 * 1024, 'x'), texto(100 * 1024, 'y'), alt(70 * 1024, 'z'),
      largo(1100 * 1024, 'w');
  const std::string ejemplo =
      "<HTML><HEAD><TITLE>My page</TITLE><META NAME=\"description\" CONTENT=\"Desc\"></HEAD>"
      "<BODY><P>Hello</P><IMG SRC=\"a.gif\" ALT=\"Pic\"><P>Bye</P></BODY></HTML>\n";
  // clang-format off
  const pruebas::CasoPagina casos[] = {
      // The worked example, in either segmentation, each translation in its place.
      {.pagina = ejemplo, .trozos = "<HTML><HEAD><TITLE>|</TITLE><META NAME=\"description\" CONTENT=\"Desc\"></HEAD>"
           "<BODY><P>|</P><IMG SRC=\"a.gif\" ALT=\"Pic\"><P>|</P></BODY></HTML>\n",
       .textos = "My page|Desc|Hello|Pic|Bye", .tipos = {TIPO_TITULO, TIPO_DESCRIPCION, TIPO_TEXTO, TIPO_ALTERNATIVO_IMAGEN, TIPO_TEXTO},
       .traducidos = {"Mi pagina", "Descr", "Hola", "Foto", "Adios"},
       .escrita = "<HTML><HEAD><TITLE>Mi pagina</TITLE><META NAME=\"description\" CONTENT=\"Descr\">"
           "</HEAD><BODY><P>Hola</P><IMG SRC=\"a.gif\" ALT=\"Foto\"><P>Adios</P></BODY></HTML>\n"},
      {.pagina = ejemplo, .segmentacion = kBloques, .textos = "My page|Desc|Hello|Pic|Bye",
       .ids = "TITULO|DESCRIPCION|TEXTO_2|ALTERNATIVO_IMAGEN_3|TEXTO_4", .escrita = ejemplo},
      // Identifiers (by kind, numbered by position) and the debugging dump.
      {.pagina = "<HEAD><META NAME=\"description\" CONTENT=\"D\"><TITLE>T</TITLE></HEAD><BODY><P>Uno</P>"
           "<IMG ALT=\"Foto\"><P>Dos\ny</P></BODY>", .textos = "D|T|Uno|Foto|Dos y",
       .ids = "DESCRIPCION|TITULO|TEXTO_2|ALTERNATIVO_IMAGEN_3|TEXTO_4", .volcado = "D\nT\nUno\nFoto\nDos y\n"},
      {.pagina = "<TITLE>T</TITLE><TITLE>U</TITLE><META NAME=\"keywords\" CONTENT=\"k\">", .textos = "T|U|k",
       .ids = "TITULO|TITULO|PALABRA_CLAVE", .volcado = "T\nU\nk\n"},
      // Pieces and texts alternate from a first piece; blanks at a text's start stay in the
      // piece; a run of text that the page ends in stays in its piece.
      {.pagina = "", .trozos = "", .textos = "", .ids = "", .volcado = ""}, {.pagina = "«Hello»<P>"},
      {.pagina = "abc", .trozos = "abc", .textos = "", .ids = "", .volcado = ""}, {.pagina = "<P>«Hello»</P>"},
      {.pagina = "<P>Hello", .trozos = "<P>Hello", .textos = ""}, {.pagina = "<P>  «Hi»</P>"}, {.pagina = "<P>«Hello <B>world»"},
      {.pagina = "<P>  \t\n</P>", .trozos = "<P>  \t\n</P>", .textos = "", .ids = "", .volcado = ""},
      {.pagina = std::string("<P>Hi</P>\0<P>shown</P>", 22), .trozos = std::string("<P>|</P>\0<P>|</P>", 17), .textos = "Hi|shown"},
      // Nothing is cut to 16 bits: a long script, a long text and a long value come back whole.
      {.pagina = "<SCRIPT>" + script + "</SCRIPT><P>" + texto + "</P><IMG ALT=\"" + alt + "\">", .caso = "long stretches",
       .trozos = "<SCRIPT>" + script + "</SCRIPT><P>|</P><IMG ALT=\"" + alt + "\">",
       .textos = texto + "|" + alt, .tipos = {TIPO_TEXTO, TIPO_ALTERNATIVO_IMAGEN}},
      // Long texts among short ones: each text whole and in its place, in the list, the dump
      // and the page written back.
      {.pagina = "<P>a</P><P>" + texto + "</P><P>b</P><P>" + largo + "</P><IMG ALT=\"" + alt + "\"><P>c</P>",
       .caso = "long texts among short ones", .textos = "a|" + texto + "|b|" + largo + "|" + alt + "|c",
       .volcado = "a\n" + texto + "\nb\n" + largo + "\n" + alt + "\nc\n",
       .tipos = {TIPO_TEXTO, TIPO_TEXTO, TIPO_TEXTO, TIPO_TEXTO, TIPO_ALTERNATIVO_IMAGEN, TIPO_TEXTO}, .vuelve = true},
      // The inline tags stay inside a body text; any other tag, or a '<' that opens none, cuts it.
      {.pagina = "<P>«Hello <B>world»</B>  <P>x"}, {.pagina = "<P><B>«Hello</B> world»</P>\n"},
      {.pagina = "<TITLE>«My page»</TITLE>", .tipos = {TIPO_TITULO}}, {.pagina = "<TITLE><B>«My page»</B></TITLE>"},
      {.pagina = "<P>«a »< b>«c»</P>"}, {.pagina = "<P>«x»<BR/>«y»</P>"}, {.pagina = "<P>«x»</BR>«y»</P>"},
      {.pagina = "<P>«x<BR />y<br>z»</P>"}, {.pagina = "<P>«a»<bb>«b»<ems>«c»<span>«d»</P>"},
      {.pagina = "<P>«a<u>b</u><b>c</b><i>d</i><em>e</em><strong>f</strong><br>g<font>h</font>i»</P>"},
      {.pagina = "<P>«a»<B TITLE=\"x>«y»</P><P>«b»</P>"},  // a tag never closed is no text's
      // SCRIPT, STYLE and the elements a browser reads as text hold no text, whatever they
      // hold; a stray end tag of SCRIPT or STYLE is reported.
      {.pagina = "<P>«a»</P><SCRIPT>var s = 'text';</SCRIPT><P>«b»</P>"}, {.pagina = "<SCRIPT>if (a<b) x();</SCRIPT><P>«Hi»</P>"},
      {.pagina = "<script>for(i=0;i<n;i++){}</script><p>«Hi»</p>"},
      {.pagina = "<SCRIPT\nLANGUAGE=\"JavaScript\">var a = 1;</SCRIPT><P>«Hi»</P>"},
      {.pagina = "<STYLE>p { color: red }</STYLE><P>«Hi»</P>"}, {.pagina = "<style>a<b{}</style><p>«Hi»</p>"},
      {.pagina = "<STYLE><SCRIPT></STYLE><P>«Hi»</P>"}, {.pagina = "<SCRIPT>x='<STYLE>';</SCRIPT><P>«Hi»</P>"},
      {.pagina = "<P>«a»</P></SCRIPT>", .informe = "*procesar_texto == FALSO"},
      {.pagina = "</STYLE><P>«a»</P>", .informe = "*procesar_texto == FALSO"}, {.pagina = "<P>«Hi»<SCRIPT>x</SCRIPT>«there»</P>"},
      {.pagina = "<SCRIPT>document.write('<IMG SRC=\"x.gif\" ALT=\"In script\">');</SCRIPT>",
       .trozos = "<SCRIPT>document.write('<IMG SRC=\"x.gif\" ALT=\"In script\">');</SCRIPT>", .textos = ""},
      // Escaped parts: "<!--" ... "-->", and a "<script" inside one, which its own "</script" ends.
      {.pagina = "<SCRIPT><!--\nw('<script src=c.js></script>'); var g = 1;\n//--></SCRIPT><P>«a»</P>"},
      {.pagina = "<script><!--<script></script>x</script><p>«a»</p>"}, {.pagina = "<script><!-- </script><p>«a»</p>"},
      {.pagina = "<script><!--<script>--></script><p>«a»</p>"}, {.pagina = "<script><!--><script></script><p>«a»</p>"},
      {.pagina = "<script><!--<scripts></script><p>«a»</p>"}, {.pagina = "<script><!--<script/-></SCRIPT\f>x--></script><p>«a»</p>"},
      {.pagina = "<script/></scripts><p>x</p></script\n><p>«a»</p>"},
      {.pagina = "<IFRAME><P>x</IFRAME><NOEMBED>y</NOEMBED><NOFRAMES>z</NOFRAMES><NOSCRIPT>w</NOSCRIPT><P>«a»</P>"},
      // A browser reads no tag inside TITLE up to its end tag: no raw text element opens
      // there, and no quoted value runs past that end tag. A SCRIPT still does: in SVG's
      // TITLE, or after a TITLE never closed, it is code.
      {.pagina = "<TITLE>«A »<XMP></TITLE><P>«Hi»</P>", .tipos = {TIPO_TITULO, TIPO_TEXTO}},
      {.pagina = "<svg><title>«Icon»</svg><script>x<y;</script><p>«Hi»</p>", .tipos = {TIPO_TITULO, TIPO_TEXTO}},
      {.pagina = "<title><plaintext></title><p \">«Hi»</p>"},
      {.pagina = "<TITLE>«A»<BR TITLE=\"x</TITLE><P>«\">Hi»</P>", .tipos = {TIPO_TITULO, TIPO_TEXTO}},
      // Comments are pieces; a comment or tag that the page never ends is reported.
      {.pagina = "<!-->«x»<P>"}, {.pagina = "<P><!-- a > b -->«Hi»</P>"},
      // "--!>" ends a comment too, but not with the dashes of its "<!--".
      {.pagina = "<!----!><a r=\"-->)<\">«x»</a>"},
      {.pagina = "<!---!>-->«x»<P>"},
      {.pagina = "<P>«Hi»<!-- never closed", .informe = "(fin_tag) != NULL"}, {.pagina = "<P>«Hi»<B", .informe = "(fin_tag) != NULL"},
      // The texts of a tag's attributes follow the piece that holds the tag (the last one
      // too); a quoted '>' does not end it.
      {.pagina = "<P><IMG ALT=\"x>y\"></P>", .trozos = "<P><IMG ALT=\"x>y\"></P>", .textos = "x>y", .tipos = {TIPO_ALTERNATIVO_IMAGEN}},
      {.pagina = "<P>a<IMG ALT='b>c\" d' SRC=x>e</P>", .trozos = "<P>|<IMG ALT='b>c\" d' SRC=x>|</P>",
       .textos = "a|b>c\" d|e", .tipos = {TIPO_TEXTO, TIPO_ALTERNATIVO_IMAGEN, TIPO_TEXTO}},
      {.pagina = "<P>Hello<IMG SRC=a ALT=\"Pic\" >more</P>", .trozos = "<P>|<IMG SRC=a ALT=\"Pic\" >|</P>",
       .textos = "Hello|Pic|more", .tipos = {TIPO_TEXTO, TIPO_ALTERNATIVO_IMAGEN, TIPO_TEXTO}},
      {.pagina = "<P>Hello<IMG ALT=\"x\">", .trozos = "<P>|<IMG ALT=\"x\">", .textos = "Hello|x",
       .tipos = {TIPO_TEXTO, TIPO_ALTERNATIVO_IMAGEN}},
      {.pagina = "<IMG\tALT=\"x\">", .trozos = "<IMG\tALT=\"x\">", .textos = ""},
      {.pagina = "<META NAME=\"Description\"><META NAME=\"keywords\" CONTENT=\"a, b\">",
       .trozos = "<META NAME=\"Description\"><META NAME=\"keywords\" CONTENT=\"a, b\">", .textos = "a, b", .tipos = {TIPO_PALABRA_CLAVE}},
  };
  // clang-format on
  comprueba(casos);
}

}  // namespace
