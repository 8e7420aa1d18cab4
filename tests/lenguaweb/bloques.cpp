// bloques.cpp - tests of the segmentation of one text per block, its attributes, links and origins.
#include <string>
#include <vector>

#include "comun/tabla_links.h"
#include "rondas.h"
#include "tablalink/tablalink.h"

namespace pruebas {
namespace {

class Bloques : public Paginas {
 protected:
  void SetUp() override {
    Paginas::SetUp();
    opciones_pon_segmentacion(SEGMENTACION_BLOQUES);
  }
  void TearDown() override {
    opciones_pon_segmentacion(SEGMENTACION_CLASICA);
    opciones_pon_receptor_origenes(nullptr, nullptr);
    Paginas::TearDown();
  }
};

// One text per block: a block's inline markup stays in its text, and every attribute a
// reader sees is a text of its own kind that goes back into its tag.
TEST_F(Bloques, UnTextoPorBloque) {
  const std::string propios =
      "<p>See <a href=\"x.html\" title=\"Guide\">the guide</a>, <abbr title=\"Same\">A</abbr> "
      "<img src=\"i.png\" alt=\"Icon\"> <abbr title=\"Same\">B</abbr>.</p><p>End</p>";
  const std::string bloque = propios.substr(3, propios.find("</p>") - 3);
  // clang-format off
  const auto con = [](const std::string &texto) { return Textos{texto, "Gu\xED" "a", "Uno", "<Icono>", "Dos", "Fin"}; };
  CasoPagina casos[] = {
    {.pagina = "<P>Use <A HREF=\"x.html\">this <CODE>f()</CODE></A> and <SPAN\nclass=k>k</SPAN> <IMG SRC=\"i.png\" ALT=\"icon\">.</P>",
     .trozos = "<P>|</P>",
     .textos = "Use <A HREF=\"x.html\">this <CODE>f()</CODE></A> and <SPAN\nclass=k>k</SPAN> <IMG SRC=\"i.png\" ALT=\"icon\">.|icon",
     .ids = "TEXTO_0|ALTERNATIVO_IMAGEN_1"},
    // Blanks at both ends stay in the pieces; inside, they collapse.
    {.pagina = "<li>\n  Hello   <b>world</b>  \n</li>", .trozos = "<li>\n  |  \n</li>", .textos = "Hello <b>world</b>", .ids = "TEXTO_0"},
    // A leading phrasing tag belongs to the text; one that closed before the text does not.
    {.pagina = "<p>«<a href=\"x\"> Link</a> text»</p>", .ids = "TEXTO_0"},
    {.pagina = "<p><a href=\"x\"><img src=\"i.png\"></a> «Hello»</p>", .ids = "TEXTO_0"},
    // End tags of what the text opened, and a void tag right after it, join it.
    {.pagina = "<p>«<b>Bold <i>x</i></b>» <br></p>", .ids = "TEXTO_0"}, {.pagina = "<p>«line<br>»\n<em></em></p>", .ids = "TEXTO_0"},
    {.pagina = "<b><p>«x</b> y <u>z»</p>", .ids = "TEXTO_0"},
    // No visible character, no text.
    {.pagina = "<p> <b> </b> <img src=\"a.png\"> </p>«x»", .ids = "TEXTO_0"},
    {.pagina = "<td> <span> </span>\n</td>", .trozos = "<td> <span> </span>\n</td>", .textos = "", .ids = ""},
    {.pagina = "<td><a title=\"x\">&nbsp;</a>\xC2\xA0</td>",
     .trozos = "<td><a title=\"x\">&nbsp;</a>\xC2\xA0</td>", .textos = "x", .ids = "TITULO_ELEMENTO_0"},
    // Markup and text never look alike; other references decoded where the code page has
    // them, any name of the list; a name off the list is no reference.
    {.pagina = "<p>a &lt; b &amp;&amp; c > d &eacute;&#233;&mdash;&#x4E2D;&#60; a <3 & &bogus; &ecirc;&#150;&bdquo;&OElig;</p>",
     .trozos = "<p>|</p>",
     .textos = "a &lt; b &amp;&amp; c &gt; d \xE9\xE9\x97&#x4E2D;&#60; a &lt;3 &amp; &amp;bogus; \xEA\x96\x84\x8C", .ids = "TEXTO_0"},
    {.pagina = "<p>x < y &amp z</p>", .trozos = "<p>|</p>", .textos = "x &lt; y &amp z", .ids = "TEXTO_0"},
    {.pagina = "<p>a&nbsp b &copy 1998 &#233 &frac12 &copyx</p>", .trozos = "<p>|</p>",
     .textos = "a\xA0 b \xA9 1998 \xE9 \xBD &amp;copyx", .ids = "TEXTO_0"},
    // A character the code page lacks stays the reference the page wrote.
    {.pagina = "<p>&ecirc;&#1046;&#x416;&notin;</p>", .idioma = kRuso, .trozos = "<p>|</p>",
     .textos = "&ecirc;\xC6\xC6&notin;", .ids = "TEXTO_0"},
    // PRE keeps its blanks; comments, SCRIPT and STYLE end a text and are never offered.
    {.pagina = "<pre>  «x  =  1\n<span class=\"k\">y</span>»\n</pre>", .ids = "TEXTO_0"},
    {.pagina = "<p>«a»<!-- c -->«b»<script>var s = 'no';</script>«c»<style>p{}</style></p>", .ids = "TEXTO_0|TEXTO_1|TEXTO_2"},
    {.pagina = "<title>«<b>My</b> page»</title>", .ids = "TITULO"},
    // Attributes of the piece's tags come before the text that follows it; those of the
    // text's own tags right after it.
    {.pagina = "<p title=\" Tip\n\">see <abbr title=\"HyperText\">HTML</abbr></p>",
     .trozos = "<p title=\" Tip\n\">|</p>", .textos = "Tip|see <abbr title=\"HyperText\">HTML</abbr>|HyperText",
     .ids = "TITULO_ELEMENTO_0|TEXTO_1|TITULO_ELEMENTO_2"},
    // Every attribute a reader sees is a text of its own kind, and goes back into its tag;
    // a page written in another language says so in <html lang> and xml:lang.
    {.pagina = "<html xml:lang='en' lang=en><head><title>T</title><meta name=\"description\" content=\"D\"></head><body>"
         "<table summary=\"Sum\"><tr><td><img src=a.png ALT=\"Alt\" title=\"Ti\" alt=\"dup\"></td></tr></table>"
         "<input type=\"text\" placeholder=\"Ph\" aria-label=\"Lab\"><input TYPE=Submit value=\"Go\"><input type=image alt=\"Im\" src=b.png>"
         "<input type=hidden value=\"no\"><select><option label=\"Op\">o</option></select><textarea placeholder=\"Wr\"></textarea>"
         "<area alt=\"Ar\" href=x><track label=\"Tr\"><p title=\" \">x</p></body></html>",
     .idioma = kIngles, .textos = "T|D|Sum|Alt|Ti|Ph|Lab|Go|Im|Op|o|Wr|Ar|Tr|x",
     .ids = "TITULO|DESCRIPCION|RESUMEN_TABLA_2|ALTERNATIVO_IMAGEN_3|TITULO_ELEMENTO_4|EJEMPLO_CAMPO_5|ETIQUETA_ACCESIBLE_6|"
         "TEXTO_BOTON_7|ALTERNATIVO_IMAGEN_8|ETIQUETA_9|TEXTO_10|EJEMPLO_CAMPO_11|ALTERNATIVO_IMAGEN_12|ETIQUETA_13|TEXTO_14",
     .marca = "<%\"", .destino = kEspanol,
     .escrita = "<html xml:lang='es-ES' lang=\"es-ES\"><head><title>&lt;T\"</title><meta name=\"description\" content=\"&lt;D&quot;\">"
         "</head><body><table summary=\"&lt;Sum&quot;\"><tr><td><img src=a.png ALT=\"&lt;Alt&quot;\" title=\"&lt;Ti&quot;\" alt=\"dup\">"
         "</td></tr></table><input type=\"text\" placeholder=\"&lt;Ph&quot;\" aria-label=\"&lt;Lab&quot;\"><input TYPE=Submit "
         "value=\"&lt;Go&quot;\"><input type=image alt=\"&lt;Im&quot;\" src=b.png><input type=hidden value=\"no\"><select><option "
         "label=\"&lt;Op&quot;\">&lt;o\"</option></select><textarea placeholder=\"&lt;Wr&quot;\"></textarea><area alt=\"&lt;Ar&quot;\" "
         "href=x><track label=\"&lt;Tr&quot;\"><p title=\" \">&lt;x\"</p></body></html>"},
    // Without lang, one is added; in the language it was read in, the page keeps its own.
    {.pagina = "<HTML><p>x</p>", .idioma = kIngles, .destino = kJapones, .escrita = "<HTML lang=\"ja-JP\"><p>x</p>"},
    {.pagina = "<html lang=en><p>x</p>", .idioma = kIngles, .escrita = "<html lang=en><p>x</p>"},
    // The head's METAs that name the language name the new one: og:locale as Open Graph
    // writes a locale; one in the body, or of another property, is left alone.
    {.pagina = "<html><head><META NAME=og:locale CONTENT=en_GB><meta http-equiv=\"Content-Language\" content=\"en\">"
         "<meta property=\"og:locale:alternate\" content=\"fr_FR\"></head><body><meta property=\"og:locale\" content=\"en\"><p>x</p>",
     .idioma = kIngles, .destino = kJapones,
     .escrita = "<html lang=\"ja-JP\"><head><META NAME=og:locale CONTENT=\"ja_JP\"><meta http-equiv=\"Content-Language\" content=\"ja-JP\">"
         "<meta property=\"og:locale:alternate\" content=\"fr_FR\"></head><body><meta property=\"og:locale\" content=\"en\"><p>x</p>"},
    {.pagina = "<meta property=\"og:locale\" content=\"en_US\"><p>x</p>", .idioma = kIngles,
     .escrita = "<meta property=\"og:locale\" content=\"en_US\"><p>x</p>"},
    // What link previews, ARIA and a header cell's abbreviation show are offered, each of
    // its own kind, and go back to their place; a ruby annotation stays inside its text.
    {.pagina = "<meta property=\"og:title\" content=\"a\"><meta PROPERTY=\"OG:Description\" content=\"b\">"
         "<meta property=\"og:image:alt\" content=\"c\"><meta property=\"og:site_name\" content=\"d\">"
         "<meta name=\"twitter:title\" content=\"e\"><meta name=\"twitter:description\" content=\"f\">"
         "<meta name=\"twitter:image:alt\" content=\"g\"><meta property=\"og:type\" content=\"website\">",
     .textos = "a|b|c|d|e|f|g", .ids = "OG_TITULO_0|OG_DESCRIPCION_1|OG_ALTERNATIVO_IMAGEN_2|OG_NOMBRE_SITIO_3|TWITTER_TITULO_4|"
         "TWITTER_DESCRIPCION_5|TWITTER_ALTERNATIVO_IMAGEN_6", .marca = "[%]",
     .escrita = "<meta property=\"og:title\" content=\"[a]\"><meta PROPERTY=\"OG:Description\" content=\"[b]\">"
         "<meta property=\"og:image:alt\" content=\"[c]\"><meta property=\"og:site_name\" content=\"[d]\">"
         "<meta name=\"twitter:title\" content=\"[e]\"><meta name=\"twitter:description\" content=\"[f]\">"
         "<meta name=\"twitter:image:alt\" content=\"[g]\"><meta property=\"og:type\" content=\"website\">"},
    // A META's name ends at any blank, as a browser reads it.
    {.pagina = "<meta\nname=\"description\" content=\"D\"><META\tPROPERTY=og:title content=T><p>x</p>",
     .textos = "D|T|x", .ids = "DESCRIPCION|OG_TITULO_1|TEXTO_2", .marca = "[%]",
     .escrita = "<meta\nname=\"description\" content=\"[D]\"><META\tPROPERTY=og:title content=\"[T]\"><p>[x]</p>"},
    {.pagina = "<table><tr><th abbr=\"Q\" aria-description=\"D\">Quantity</th><td abbr=\"no\">1</td></tr></table>"
         "<div role=\"x\" aria-roledescription=\"slide\" aria-placeholder=\"Pick\"><p>y</p></div>",
     .textos = "Q|D|Quantity|1|slide|Pick|y",
     .ids = "ABREVIATURA_CELDA_0|DESCRIPCION_ACCESIBLE_1|TEXTO_2|TEXTO_3|ROL_ACCESIBLE_4|EJEMPLO_ACCESIBLE_5|TEXTO_6", .marca = "[%]",
     .escrita = "<table><tr><th abbr=\"[Q]\" aria-description=\"[D]\">[Quantity]</th><td abbr=\"no\">[1]</td></tr></table>"
         "<div role=\"x\" aria-roledescription=\"[slide]\" aria-placeholder=\"[Pick]\"><p>[y]</p></div>"},
    {.pagina = "<p>Say <ruby>kan<rp>(</rp><rt>ka</rt><rp>)</rp></ruby> now</p>",
     .textos = "Say <ruby>kan<rp>(</rp><rt>ka</rt><rp>)</rp></ruby> now", .ids = "TEXTO_0", .marca = "[%]",
     .escrita = "<p>[Say <ruby>kan<rp>(</rp><rt>ka</rt><rp>)</rp></ruby> now]</p>"},
    // What the page marks as not to be translated gives no text, neither its content nor its
    // attributes (nor those inside it); inside a text it stays as it stands. Each text goes
    // back to its own place, past the values that gave none.
    {.pagina = "<p translate=\"no\">Hello <b>x</b></p><p>Bye</p>", .textos = "Bye",
     .ids = "TEXTO_0", .marca = "[%]", .no_traducir = true, .escrita = "<p translate=\"no\">Hello <b>x</b></p><p>[Bye]</p>"},
    {.pagina = "<p translate=\"no\">Hello</p>", .textos = "Hello", .ids = "TEXTO_0", .marca = "[%]",
     .escrita = "<p translate=\"no\">[Hello]</p>"},
    {.pagina = "<div class=\"a notranslate\"><p>Code</p><img alt=\"Logo\"></div><img alt=\"Cat\">",
     .textos = "Cat", .ids = "ALTERNATIVO_IMAGEN_0", .marca = "[%]", .no_traducir = true,
     .escrita = "<div class=\"a notranslate\"><p>Code</p><img alt=\"Logo\"></div><img alt=\"[Cat]\">"},
    {.pagina = "<img TRANSLATE=No alt=\"Logo\"><img alt=\"Cat\">", .textos = "Cat",
     .ids = "ALTERNATIVO_IMAGEN_0", .marca = "[%]", .no_traducir = true, .escrita = "<img TRANSLATE=No alt=\"Logo\"><img alt=\"[Cat]\">"},
    {.pagina = "<div translate=no><p translate=yes>Hi</p><p>x</p><textarea>t</textarea></div><p class=notranslatex>A</p>",
     .textos = "Hi|A", .ids = "TEXTO_0|TEXTO_1", .marca = "[%]", .no_traducir = true,
     .escrita = "<div translate=no><p translate=yes>[Hi]</p><p>x</p><textarea>t</textarea></div><p class=notranslatex>[A]</p>"},
    // A text begun in an element to be translated inside one not to be ends with it: the
    // outer element's characters after it give no text, nor its tags' attributes.
    {.pagina = "<div translate=no><p>No <span translate=yes>A <i translate=no>B</i> C</span>. D <b title=T>E</b></p></div>"
         "<p class=notranslate>K <i translate=yes>Y</i><b translate=yes>W</b> z</p>"
         "<div translate=no><p><span translate=yes><em translate=yes>F</em></span><b translate=yes>G <i translate=no>H</i></b>"
         "<i translate=no>J</i> L</p></div><div translate=no><p><em translate=yes><span translate=yes>M</span><i translate=no>N</i>"
         " O</em> P</p></div>",
     .textos = "<span translate=yes>A <i translate=no>B</i> C</span>|<i translate=yes>Y</i><b translate=yes>W</b>|"
         "<span translate=yes><em translate=yes>F</em></span><b translate=yes>G <i translate=no>H</i></b>|"
         "<em translate=yes><span translate=yes>M</span><i translate=no>N</i> O</em>",
     .ids = "TEXTO_0|TEXTO_1|TEXTO_2|TEXTO_3", .marca = "[%]", .no_traducir = true,
     .escrita = "<div translate=no><p>No [<span translate=yes>A <i translate=no>B</i> C</span>]. D <b title=T>E</b></p></div>"
         "<p class=notranslate>K [<i translate=yes>Y</i><b translate=yes>W</b>] z</p>"
         "<div translate=no><p>[<span translate=yes><em translate=yes>F</em></span><b translate=yes>G <i translate=no>H</i></b>]"
         "<i translate=no>J</i> L</p></div><div translate=no><p>[<em translate=yes><span translate=yes>M</span><i translate=no>N</i>"
         " O</em>] P</p></div>"},
    {.pagina = "<p>Use <span translate=\"no\" title=\"Brand\">Acme <abbr title=\"Co\">Co</abbr></span> now <abbr title=\"Ltd\">L</abbr>.</p>",
     .textos = "Use <span translate=\"no\" title=\"Brand\">Acme <abbr title=\"Co\">Co</abbr></span> now <abbr title=\"Ltd\">L</abbr>.|Ltd",
     .ids = "TEXTO_0|TITULO_ELEMENTO_1", .marca = "[%]", .no_traducir = true,
     .escrita = "<p>[Use <span translate=\"no\" title=\"Brand\">Acme <abbr title=\"Co\">Co</abbr></span> now <abbr title=\"[Ltd]\">L</abbr>.]</p>"},
    // A translation's tags are markup only when the page's text had them, or when they are
    // phrasing tags without attributes.
    {.pagina = "<p>Use <a href=\"x?a=1&b=2\" class=k>this</a> &lt;tag&gt;.</p>",
     .textos = "Use <a href=\"x?a=1&b=2\" class=k>this</a> &lt;tag&gt;.", .ids = "TEXTO_0",
     .traducidos = {"<b>Use</b> <a href=\"x?a=1&b=2\" class=k>esto</a> &lt;tag&gt; <a href=\"evil\">x</a><script>alert(1)</script> & 1 > 0 &eacute; <div>"},
     .escrita = "<p><b>Use</b> <a href=\"x?a=1&b=2\" class=k>esto</a> &lt;tag&gt; &lt;a href=\"evil\"&gt;x&lt;/a&gt;"
         "&lt;script&gt;alert(1)&lt;/script&gt; &amp; 1 &gt; 0 &eacute; &lt;div&gt;</p>"},
    // An element that the text leaves open and its translation drops opens at the end of
    // the translation, as the page wrote it, for the page's end tag to close.
    {.pagina = "<p>u<strong class=k>R<hr>i</strong></p>", .textos = "u<strong class=k>R|i",
     .traducidos = {"x", "i"}, .escrita = "<p>x<strong class=k><hr>i</strong></p>"},
    // A stray '<' of a text is a character, and the tags after it stay the text's own: a
    // translation that keeps them writes them as markup.
    {.pagina = "<p>If a < b see <a href=\"x.html\">this</a> now</p>", .textos = "If a &lt; b see <a href=\"x.html\">this</a> now",
     .traducidos = {"Si a < b mira <a href=\"x.html\">esto</a> ya"},
     .escrita = "<p>Si a &lt; b mira <a href=\"x.html\">esto</a> ya</p>"},
    // A quoted '>' inside a text's own tag does not end it, however short the tag's name: a
    // translation may write the tag, and one that drops it writes no end tag that stood
    // inside the value.
    {.pagina = "<p>See <a href=\"x.html\" title=\"1 > 0\">this</a> now</p>",
     .textos = "See <a href=\"x.html\" title=\"1 > 0\">this</a> now|1 &gt; 0", .ids = "TEXTO_0|TITULO_ELEMENTO_1",
     .traducidos = {"Mira <a href=\"x.html\" title=\"1 > 0\">esto</a> ya", "1 &gt; 0"},
     .escrita = "<p>Mira <a href=\"x.html\" title=\"1 > 0\">esto</a> ya</p>"},
    {.pagina = "<h2><a name=\"w</b>x</a></h2>\nThe <a href=\"s\">y</a></h2>",
     .textos = "<a name=\"w</b>x</a></h2>\nThe <a href=\"s\">y</a>", .traducidos = {"nada"}, .escrita = "<h2>nada</h2>"},
    // The attributes of a text's own tags go back into those tags: the k-th use of a tag of
    // the page in a translation takes the k-th such tag's. A title the translation writes
    // itself is no tag of the page.
    {.pagina = propios, .caso = "the block as the page had it", .textos = bloque + "|Guide|Same|Icon|Same|End",
     .ids = "TEXTO_0|TITULO_ELEMENTO_1|TITULO_ELEMENTO_2|ALTERNATIVO_IMAGEN_3|TITULO_ELEMENTO_4|TEXTO_5", .traducidos = con(bloque),
     .escrita = "<meta charset=\"UTF-8\"><p>See <a href=\"x.html\" title=\"Gu\xC3\xAD" "a\">the guide</a>, <abbr title=\"Uno\">A</abbr> "
         "<img src=\"i.png\" alt=\"&lt;Icono&gt;\"> <abbr title=\"Dos\">B</abbr>.</p><p>Fin</p>"},
    {.pagina = propios, .caso = "translated, its tags moved",
     .traducidos = con("<abbr title=\"Same\">B</abbr> <img src=\"i.png\" alt='Icon'> y <abbr title=Same>A</abbr>: "
         "<A title=\"Guide\" href=\"x.html\">la gu\xED" "a</A>."),
     .escrita = "<meta charset=\"UTF-8\"><p><abbr title=\"Uno\">B</abbr> <img src=\"i.png\" alt=\"&lt;Icono&gt;\"> y <abbr title=\"Dos\">A</abbr>: "
         "<a href=\"x.html\" title=\"Gu\xC3\xAD" "a\">la gu\xC3\xAD" "a</a>.</p><p>Fin</p>"},
    {.pagina = propios, .caso = "a title of its own", .traducidos = con("<a href=\"x.html\" title=\"Mine\">la gu\xED" "a</a>"),
     .escrita = "<meta charset=\"UTF-8\"><p>&lt;a href=\"x.html\" title=\"Mine\"&gt;la gu\xC3\xAD" "a&lt;/a&gt;</p><p>Fin</p>"},
  };
  // clang-format on
  for (CasoPagina &caso : casos) caso.segmentacion = kBloques;
  comprueba(casos);
}

// A block's text is read the same wherever its blanks, signs and references fall among
// the eight bytes that the normaliser passes over at a time, and across two.
TEST_F(Bloques, CadaSignoSeLeeEnCualquierByteDeUnaPalabra) {
  // clang-format off
  const struct { std::string elemento, texto, leido; } casos[] = {
      {.elemento = "p", .texto = "a  b\tc\nd e\r\n f", .leido = "a b c d e f"},
      {.elemento = "p", .texto = "x > y < z", .leido = "x &gt; y &lt; z"},
      {.elemento = "p", .texto = "x &amp; y &eacute; <b>z</b>", .leido = "x &amp; y \xE9 <b>z</b>"},
      {.elemento = "pre", .texto = "a  b\tc > d", .leido = "a  b\tc &gt; d"},
  };
  // clang-format on
  for (const auto &c : casos)
    for (size_t antes = 0; antes <= 16; ++antes) {
      const std::string letras(antes, 'a'), tras(9, 'z');
      const std::string pagina =
          "<" + c.elemento + ">" + letras + c.texto + tras + "</" + c.elemento + ">";
      SCOPED_TRACE(pagina);
      EXPECT_EQ(textos_de(pagina, kEspanol), Textos{letras + c.leido + tras});
    }
}

// Links inside texts go to the tables as those of pieces do, and come back, in a
// translation too.
TEST_F(Bloques, EnlacesDentroDeTextos) {
  TablaLinks a, img;
  // clang-format off
  const std::string pagina = "<p><a href=\"guia.html\">See</a> the <a href=\"#s\">guide</a> <img src=\"i.png\" alt=\"pic\">.</p>"
      "<a href=\"guia.html\">";
  const std::string traducida = "<a href=\"@|guia.html\">Vea</a> la <img src=\"@|i.png\" alt=\"pic\"> <a href=\"#s\">gu\xED" "a</a>.";
  const std::string escrita = "<meta charset=\"UTF-8\"><p><a href=\"guia.html\">Vea</a> la <img src=\"i.png\" alt=\"pic\"> <a href=\"#s\">gu\xC3\xAD" "a</a>.</p>"
      "<a href=\"guia.html\">";
  // clang-format on
  const std::string preprocesada = preprocesa(pagina, kEspanol, a.lista, img.lista);
  EXPECT_EQ(preprocesada,
            "<p><a href=\"@|guia.html\">See</a> the <a href=\"#s\">guide</a> <img src=\"@|i.png\" "
            "alt=\"pic\">.</p><a href=\"@|guia.html\">");
  ASSERT_EQ(lista_reg_num_elems(a.lista), 1u);
  ASSERT_EQ(lista_reg_num_elems(img.lista), 1u);
  EXPECT_EQ(reconstruye(preprocesada, kEspanol, {.a = a.lista, .img = img.lista}), pagina);
  EXPECT_EQ(reconstruye(preprocesada, kEspanol,
                        {.traducidos = {traducida, "pic"}, .a = a.lista, .img = img.lista}),
            escrita);
}

// Every text's origin is told once, in index order, in both segmentations, each as
// index:line:element:attribute:reports heard so far; a report about a text is heard after
// that text's origin, and before the next one's.
struct Oido {
  std::string origenes;
  const std::vector<Informe> *informes;
};

TEST_F(Bloques, OrigenesDeCadaTextoYSusInformes) {
  const std::string pagina =
      "<HTML><TITLE>T</TITLE>\n<BODY>\n<H2 Title=\"Head\">Intro <CODE>x</CODE></H2>\r\n<P>a\n"
      "<IMG SRC=\"p.png\" ALT=\"pic\"> b</P>\n<ul><li><a href=\"#\">c</a></li></ul>";
  // clang-format off
  const struct { segmentacion_t segmentacion; std::string pagina, origenes, informe = {}; } casos[] = {
      {SEGMENTACION_BLOQUES, pagina, "0:1:title:(null):0 1:3:h2:title:0 2:3:h2:(null):0 3:4:p:(null):0 4:5:img:alt:0 5:6:li:(null):0 "},
      {SEGMENTACION_CLASICA, pagina, "0:1:title:(null):0 1:3:h2:(null):0 2:3:code:(null):0 3:4:p:(null):0 4:5:img:alt:0 "
           "5:5:p:(null):0 6:6:a:(null):0 "},
      // A tag that a text does not run on through cuts it: what follows is its element's, in
      // both segmentations (an inline tag the classic reading does not take for one, a quote
      // left open, a tag that takes the reading out of SVG).
      {SEGMENTACION_CLASICA, "<P>x<B\tclass=y>z</B> w</P><P>u<I title=\"v>t</I></P>", "0:1:p:(null):0 1:1:b:(null):0 2:1:p:(null):0 3:1:i:(null):0 "},
      {SEGMENTACION_BLOQUES, "<P>x<B\tclass=y>z</B> w</P><P>u<I title=\"v>t</I></P>", "0:1:p:(null):0 1:1:p:(null):0 2:1:i:(null):0 "},
      {SEGMENTACION_CLASICA, "<svg>a<font size=2>b</font></svg><svg>c<i>d<p>", "0:1:svg:(null):0 1:1:font:(null):0 2:1:svg:(null):0 3:1:i:(null):0 "},
      {SEGMENTACION_BLOQUES, "<svg>a<font size=2>b</font></svg><svg>c<i>d<p>", "0:1:svg:(null):0 1:1:font:(null):0 2:1:svg:(null):0 3:1:i:(null):0 "},
      {SEGMENTACION_BLOQUES, std::string("<p>a</p><p>b\0c</p><p>d</p>", 26), "0:1:p:(null):0 1:1:p:(null):0 2:1:p:(null):1 ",
       "memchr(texto, '\\0', longitud) == NULL"},
      {SEGMENTACION_BLOQUES, "\f</p><p>x</p>", "0:1:p:(null):0 "},  // a form feed shows nothing
      {SEGMENTACION_CLASICA, "<p>a</p><p>b &bogus;</p><p>d</p>", "0:1:p:(null):0 1:1:p:(null):0 2:1:p:(null):1 ",
       "strchr(texto, '&')==NULL"},
      // A note to translators covers the content of its element and of those inside it (an
      // end tag closes it), never an attribute; its references read, its bytes in UTF-8.
      {SEGMENTACION_BLOQUES, "<div its-loc-note=\"Brand:\nkeep\"><p>a</p><img alt=\"x\" its-loc-note=\"n\"><p>b <span its-loc-note=\"s\">c</span></p></div>"
           "<p>d</p><SECTION ITS-LOC-NOTE='caf&eacute; &amp; co'><h2 title=\"t\">e</h2></SECTION><br its-loc-note=\"v\"><p>f</p>",
       "0:2:p:(null):0[Brand:\nkeep] 1:2:img:alt:0 2:2:p:(null):0[Brand:\nkeep] 3:2:p:(null):0 4:2:h2:title:0 5:2:h2:(null):0[caf\xC3\xA9 & co] 6:2:p:(null):0 "},
      {SEGMENTACION_CLASICA, "<meta charset=\"windows-1252\"><div its-loc-note=\"caf\xE9\"><p>a <b>b</b></p></div><p>c</p>",
       "0:1:p:(null):0[caf\xC3\xA9] 1:1:p:(null):0 "},
      // What the page marks as not to be translated (the classic segmentation gives it, "no").
      {SEGMENTACION_CLASICA, "<p>Run <code class=\"a notranslate\">ls</code> now</p><div translate=\"no\"><p>x</p>"
           "<p translate=\"yes\">y <img alt=\"z\" translate=\"no\"></p><img alt=\"w\"></div><img alt=\"v\">",
       "0:1:p:(null):0 1:1:code:(null):0:no 2:1:code:(null):0 3:1:p:(null):0:no 4:1:p:(null):0 5:1:img:alt:0:no "
       "6:1:img:alt:0:no 7:1:img:alt:0 "},
      // An element not to be translated that a text closes is closed for what follows; one
      // that a text opens and leaves open ends with it.
      {SEGMENTACION_CLASICA, "<p>x</p><p><font translate=no>a</font> z</p><p>after</p><p>w <b translate=no>v</p><p>u</p>",
       "0:1:p:(null):0 1:1:p:(null):0:no 2:1:p:(null):0 3:1:p:(null):0 4:1:p:(null):0 "},
  };
  // clang-format on
  for (const auto &caso : casos) {
    SCOPED_TRACE(caso.pagina);
    opciones_pon_segmentacion(caso.segmentacion);
    Oido oido{"", &informes()};
    opciones_pon_receptor_origenes(
        [](const origen_texto_t *o, void *c) {
          Oido *visto = static_cast<Oido *>(c);
          visto->origenes += std::to_string(o->indice) + ":" + std::to_string(o->linea) + ":" +
                             o->elemento + ":" + (o->atributo ? o->atributo : "(null)") + ":" +
                             std::to_string(visto->informes->size()) +
                             (o->nota ? std::string("[") + o->nota + "]" : "") +
                             (o->sin_traducir == CIERTO ? ":no" : "") + " ";
        },
        &oido);
    olvida_informes();
    textos_de(caso.pagina, kEspanol);
    EXPECT_EQ(oido.origenes, caso.origenes);
    EXPECT_EQ(condiciones(), caso.informe);
  }
}

}  // namespace
}  // namespace pruebas
