// reconstruccion.cpp - tests of writing a page back with its translated texts in place.
#include <string>

#include "rondas.h"

namespace {

using Reconstruccion = pruebas::Paginas;

// Each translation takes the place of its text, attribute values included; its markup is
// only the inline tags, and not those the page shows as code.
TEST_F(Reconstruccion, CadaTraduccionVaASuSitio) {
  // clang-format off
  const pruebas::CasoPagina casos[] = {
      {.pagina = "<HTML>\n<BODY></BODY></HTML>", .caso = "a page without texts", .escrita = "<HTML>\n<BODY></BODY></HTML>"},
      {.pagina = "<P>a</P><IMG ALT=\"b\">", .caso = "the last piece gives an attribute text and no body text follows",
       .traducidos = {"A", "B"}, .escrita = "<P>A</P><IMG ALT=\"B\">"},
      {.pagina = "<META NAME=\"description\" CONTENT=\"Short\"><META NAME=\"keywords\" CONTENT=\"k\"><P>x</P>",
       .caso = "a description of another length, and keywords", .traducidos = {"A much longer description", "kw", "X"},
       .escrita = "<META NAME=\"description\" CONTENT=\"A much longer description\"><META NAME=\"keywords\" CONTENT=\"kw\"><P>X</P>"},
      {.pagina = "<P>a</P><IMG ALT=\"b\"><P>c</P>", .caso = "an empty attribute and an empty text",
       .traducidos = {"", "", "C"}, .escrita = "<P></P><IMG ALT=\"\"><P>C</P>"},
      {.pagina = "<IMG SRC=\"SALTO.GIF\" ALT=\"Jump\">x<P>", .caso = "\"ALT\" inside a file name is no attribute",
       .traducidos = {"Salto", "y"}, .escrita = "<IMG SRC=\"SALTO.GIF\" ALT=\"Salto\">y<P>"},
      {.pagina = "<IMG ALT=Logo SRC=a.gif><P>x</P>", .caso = "an unquoted value is written quoted",
       .traducidos = {"Mi logo", "X"}, .escrita = "<IMG ALT=\"Mi logo\" SRC=a.gif><P>X</P>"},
      {.pagina = "<IMG ALT=\"a\">", .caso = "quotes and '<' in an attribute", .traducidos = {"say \"<hi>\""},
       .escrita = "<IMG ALT=\"say &quot;&lt;hi&gt;&quot;\">"},
      {.pagina = "<IMG ALT = \"Logo\"><IMG ALT=\"b\">", .caso = "blanks around the '='", .traducidos = {"x", "B"},
       .escrita = "<IMG ALT = \"x\"><IMG ALT=\"B\">"},
      {.pagina = "<IMG ALT><IMG ALT=\"b\">", .caso = "a name without '=' has no value", .traducidos = {"B"},
       .escrita = "<IMG ALT><IMG ALT=\"B\">"},
      {.pagina = "<P>Hello</P>", .caso = "a page without a last line end", .traducidos = {"Hola"}, .escrita = "<P>Hola</P>"},
      {.pagina = "<TITLE>My page <A X=\"</TITLE><META NAME=\"description\" CONTENT=\"Desc\"><P>Hi</P>",
       .caso = "no tag inside TITLE runs past its end tag, in the piece after the title's text too",
       .traducidos = {"Mi pagina ", "Descr", "Hola"},
       .escrita = "<TITLE>Mi pagina <A X=\"</TITLE><META NAME=\"description\" CONTENT=\"Descr\"><P>Hola</P>"},
      {.pagina = "<svg><title>h<script>1</script><img alt=\"x\"></title></svg><p>z</p>", .caso = "SVG's TITLE reads its content as markup",
       .traducidos = {"H", "X", "Z"}, .escrita = "<svg><title>H<script>1</script><img alt=\"X\"></title></svg><p>Z</p>"},
      {.pagina = "<svg><title>h<script>1</script><img alt=\"x\"></title></svg><p>z</p>", .caso = "so do blocks",
       .segmentacion = SEGMENTACION_BLOQUES, .traducidos = {"H", "X", "Z"},
       .escrita = "<svg><title>H<script>1</script><img alt=\"X\"></title></svg><p>Z</p>"},
      {.pagina = "<math><title>h<script>1</script><img alt=\"x\"></title></math>", .caso = "as does a TITLE in MathML",
       .traducidos = {"H", "X"}, .escrita = "<math><title>H<script>1</script><img alt=\"X\"></title></math>"},
      {.pagina = "<svg><text>t</text><xmp><img alt=\"</xmp>\"></xmp></svg>", .caso = "an XMP inside SVG holds markup, after a text too",
       .traducidos = {"T", "X"}, .escrita = "<svg><text>T</text><xmp><img alt=\"X\"></xmp></svg>"},
      {.pagina = "<svg><text>t</text><textarea><img title=\"</textarea>\"></textarea></svg>", .caso = "as does a TEXTAREA",
       .segmentacion = SEGMENTACION_BLOQUES, .traducidos = {"T", "X"},
       .escrita = "<svg><text>T</text><textarea><img title=\"X\"></textarea></svg>"},
      {.pagina = "<svg><title>a <img alt=\"b</title>c\">d</title></svg><p>e</p>", .caso = "SVG's TITLE holds tags, whose values go on past \"</title\"",
       .traducidos = {"A ", "B</title>C", "D", "E"}, .escrita = "<svg><title>A <img alt=\"B&lt;/title&gt;C\">D</title></svg><p>E</p>"},
      {.pagina = "a <<!-- x > y --> b <p>c</p>", .caso = "a comment after a stray '<' ends at its own \"-->\"",
       .traducidos = {"A ", "B ", "C"}, .escrita = "A <<!-- x > y --> B <p>C</p>"},
      {.pagina = "<svg><text><![CDATA[ if a > b <img alt=\"c\"> ]]></text><desc><![CDATA[d>]]>e<p><![CDATA[f>]]>g</p><head><![CDATA[i>]]></desc></svg><p>h</p>",
       .caso = "a CDATA section where SVG's or MathML's element is added to runs to its \"]]>\", kept as the page has it; inside HTML's a comment up to its '>'",
       .traducidos = {"E", "G", "H"},
       .escrita = "<svg><text><![CDATA[ if a > b <img alt=\"c\"> ]]></text><desc><![CDATA[d>]]>E<p><![CDATA[f>G</p><head><![CDATA[i>]]></desc></svg><p>H</p>"},
      {.pagina = "l<svg>x<FONT &gt;<I> y", .caso = "a tag whose '>' the page wrote as a reference is one tag, written as the page wrote it",
       .traducidos = {"L", "x<FONT ><I> z"}, .escrita = "L<svg>x<FONT &gt;<I>&lt;I&gt; z"},
      {.pagina = "l<svg>x<FONT &gt;<I> y", .caso = "and where the translation drops it",
       .traducidos = {"L", "z"}, .escrita = "L<svg>z<FONT &gt;<I>"},
      {.pagina = "<svg><i>x<title>&lt;e</title>", .caso = "a tag that takes the reading out of SVG is no block text's: no translation drops it",
       .segmentacion = SEGMENTACION_BLOQUES, .traducidos = {"z", "E"}, .escrita = "<svg><i>z<title>E</title>"},
      {.pagina = "<svg>a<b>b</b></svg>", .caso = "nor one inside a text", .segmentacion = SEGMENTACION_BLOQUES,
       .traducidos = {"A", "B"}, .escrita = "<svg>A<b>B</b></svg>"},
      {.pagina = "<svg>a<font size=2>b</font></svg><svg>c<i>d<p>", .caso = "nor one of the classic texts, which run through I and FONT elsewhere",
       .traducidos = {"A", "B", "C", "D"}, .escrita = "<svg>A<font size=2>B</font></svg><svg>C<i>D<p>"},
      {.pagina = "x<FONT &eacute;=1 title=\"a\nb\">y</FONT>z", .caso = "a classic text's tag goes back as the page wrote it, not as its text reads it",
       .textos = "x<FONT \xE9=1 title=\"a b\">y</FONT>z", .traducidos = {"X<FONT \xE9=1 title=\"a b\">Y</FONT>Z"},
       .escrita = "X<FONT &eacute;=1 title=\"a\nb\">Y</FONT>Z"},
      {.pagina = "x<FONT &eacute;=1>y</FONT>z", .caso = "and so does the text itself", .vuelve = true},
      {.pagina = "<html><head><title>T</title><meta charset=\"utf-8\"><meta name=\"keywords\" content=\"k\">"
           "<meta name=\"description\" content=\"d\"></head><body><h1>Head</h1><p>One <b>two</b> three<br>four</p>"
           "<img src=\"a.png\" alt=\"A\"><img src=\"b.png\"><img alt=\"B\" src=b.png><ul><li>x</li><li>y</li></ul>"
           "<script>if(a<b)c();</script><p>end</p></body></html>",
       .caso = "markers fall in their places", .traducidos = {"#0#", "#1#", "#2#", "#3#", "#4#", "#5#", "#6#", "#7#", "#8#", "#9#"},
       .escrita = "<html><head><title>#0#</title><meta charset=\"utf-8\"><meta name=\"keywords\" content=\"#1#\">"
           "<meta name=\"description\" content=\"#2#\"></head><body><h1>#3#</h1><p>#4#</p><img src=\"a.png\" alt=\"#5#\">"
           "<img src=\"b.png\"><img alt=\"#6#\" src=b.png><ul><li>#7#</li><li>#8#</li></ul><script>if(a<b)c();</script>"
           "<p>#9#</p></body></html>"},
      {.pagina = "<P>x</P>", .caso = "a translation's text makes no tag", .traducidos = {"a <script>alert(1)</script> b > c"},
       .escrita = "<P>a &lt;script&gt;alert(1)&lt;/script&gt; b &gt; c</P>"},
      {.pagina = "<P>Hello <B>world</B> and <FONT COLOR=red>more</FONT></P>",
       .caso = "inline tags stay markup; the open FONT is closed", .traducidos = {"Hola <B>mundo</B> y <FONT COLOR=red>m\xE1s<br>"},
       .escrita = "<meta charset=\"UTF-8\"><P>Hola <B>mundo</B> y <FONT COLOR=red>m\xC3\xA1s<br></FONT></P>"},
      {.pagina = "<P>vector&lt;int&gt; &amp; &lt;script&gt;</P>", .caso = "code the page shows stays code",
       .traducidos = {"vector<int> &amp; <script>"}, .escrita = "<P>vector&lt;int&gt; &amp; &lt;script&gt;</P>",
       .informe = "strchr(texto, '&')==NULL"},
      {.pagina = "<P>Write &lt;B&gt;bold&lt;/B&gt; or &lt;br&gt;.</P>", .caso = "inline tags the page shows as code stay code",
       .traducidos = {"Write <B>bold</B> or <br>."}, .escrita = "<P>Write &lt;B&gt;bold&lt;/B&gt; or &lt;br&gt;.</P>"},
      {.pagina = "<P>puts(\"&lt;br/&gt; &lt;I\t/&gt;\");</P>", .caso = "as code too with a '/' after the name",
       .traducidos = {"pone(\"<br/> <I\t/>\");"}, .escrita = "<P>pone(\"&lt;br/&gt; &lt;I\t/&gt;\");</P>"},
      {.pagina = "<P>Use &lt;B&gt; here</P>", .caso = "only the names shown as code", .traducidos = {"<I>Usa</I> <B> aqu\xED"},
       .escrita = "<meta charset=\"UTF-8\"><P><I>Usa</I> &lt;B&gt; aqu\xC3\xAD</P>"},
      {.pagina = "<P>Use <B>x</B> or &lt;B&gt;y</P>", .caso = "code and markup of one tag: the code stays references",
       .textos = "Use <B>x</B> or &lt;B&gt;y", .traducidos = {"Usa <B>x</B> o &lt;B&gt;y"}, .escrita = "<P>Usa <B>x</B> o &lt;B&gt;y</P>"},
      {.pagina = "<P>Use <B>x</B> or &lt;B&gt;y</P>", .caso = "a B the translation writes there is markup, closed at its end",
       .traducidos = {"Usa <B>x</B> o <B>y"}, .escrita = "<P>Usa <B>x</B> o <B>y</B></P>"},
      {.pagina = "<B><P>Old</B> new <B>text</P>", .caso = "an end tag of an element from before the text, dropped, goes before the B it preceded",
       .traducidos = {"Nuevo <B>texto"}, .escrita = "<B><P>Nuevo </B><B>texto</P>"},
      {.pagina = "<P>Some <B TITLE=\"x<y\">bold</B> <FONT </EM>>w</FONT></P>",
       .caso = "a tag of the page with a '<' in a value or a name, kept whole",
       .traducidos = {"Unas <B TITLE=\"x<y\">negritas</B> <FONT </EM>>p"},
       .escrita = "<P>Unas <B TITLE=\"x<y\">negritas</B> <FONT </EM>&gt;p</FONT></P>"},
      {.pagina = "<P>S <B CLASS=\"u\">a</B> <b class=\"u\" >b</b> d</P>", .caso = "a tag the page wrote two ways, as the translation writes it",
       .traducidos = {"<b class=\"u\" >b</b> <b  CLASS=\"u\">a</B> d"}, .escrita = "<P><b class=\"u\" >b</b> <B CLASS=\"u\">a</B> d</P>"},
      {.pagina = "<P>S <B TITLE=\"x<y\">a</B> <B TITLE=\"x<\">b</B> <I TITLE=\"<\">c</I> d</P>",
       .caso = "each of several such tags, in any order", .traducidos = {"<I TITLE=\"<\">c</I> <B TITLE=\"x<\">b</B> <B TITLE=\"x<y\">a</B> d"},
       .escrita = "<P><I TITLE=\"<\">c</I> <B TITLE=\"x<\">b</B> <B TITLE=\"x<y\">a</B> d</P>"},
      {.pagina = "<P>S <B TITLE=\"x<y\">a</B> <B TITLE=\"x<\">b</B> d</P>", .caso = "but not the start of one",
       .traducidos = {"<B TITLE=\"x<y <B TITLE=\"x<\">b</B> d"}, .escrita = "<P>&lt;B TITLE=\"x&lt;y <B TITLE=\"x<\">b</B> d</P>"},
      {.pagina = "<P>Some <B TITLE=\"x<y\">bold</B></P>", .caso = "none other", .traducidos = {"Unas <B TITLE=\"x<z\">b"},
       .escrita = "<P>Unas &lt;B TITLE=\"x&lt;z\"&gt;b<B TITLE=\"x<y\"></B></P>"},
  };
  // clang-format on
  comprueba(casos);
}

}  // namespace
