// revision.cpp - the check of a translated page against its source: what a reader sees of
// both, each finding at its line.
#include "revision.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Caso {
  const char *nombre;
  std::string origen, traducida;
  std::vector<std::string> hallazgos{};  // "LINE: text", in the order given
};

// clang-format off
const Caso kCasos[] = {
    {.nombre = "a translation with its tags in place",
     .origen = "<p>Hello <b>world</b></p>", .traducida = "<p>Hola <b>mundo</b></p>"},
    {.nombre = "tags reordered by the translation, each with its own attributes",
     .origen = "<p><a href=\"1.html\">one</a> and <a href=\"2.html\">two</a></p>",
     .traducida = "<p><a href=\"2.html\">dos</a> y <a href=\"1.html\">uno</a></p>"},
    {.nombre = "a text and an alt left as they were, listed",
     .origen = "<p>Home</p>\n<img alt=\"Logo\" src=\"l.png\"><p>Go</p>",
     .traducida = "<p>Home</p>\n<img alt=\"Logo\" src=\"l.png\"><p>Ir</p>",
     .hallazgos = {"1: untranslated: \"Home\"",
                   "2: untranslated alt of <img src=\"l.png\">: \"Logo\""}},
    {.nombre = "an INPUT's alt is a reader's text only on an image button",
     .origen = "<input type=\"text\" alt=\"Name\"><input type=\"image\" alt=\"Send\" src=\"s.png\">",
     .traducida = "<input type=\"text\" alt=\"Name\"><input type=\"image\" alt=\"Send\" src=\"s.png\">",
     .hallazgos = {"1: untranslated alt of <input type=\"image\" src=\"s.png\">: \"Send\""}},
    {.nombre = "no letter, nothing to translate",
     .origen = "<p>3.14 &gt; 2</p><td>\xC2\xA0</td>", .traducida = "<p>3.14 &gt; 2</p><td>\xC2\xA0</td>"},
    {.nombre = "a tag written as text",
     .origen = "<p>Hello <b>world</b></p>", .traducida = "<p>Hola &lt;b&gt;mundo&lt;/b&gt;</p>",
     .hallazgos = {"1: shows markup as text: \"<b\" in \"Hola <b>mundo</b>\"",
                   "1: lacks <b>, which the source has (line 1)"}},
    {.nombre = "a reference escaped twice",
     .origen = "<p>caf&eacute; au lait</p>", .traducida = "<p>caf&amp;eacute; con leche</p>",
     .hallazgos = {"1: shows markup as text: \"&eacute;\" in \"caf&eacute; con leche\""}},
    {.nombre = "markup that the source shows too",
     .origen = "<p>Write &lt;p&gt; &amp;amp; here</p>", .traducida = "<p>Escriba &lt;p&gt; &amp;amp; aqu\xC3\xAD</p>"},
    {.nombre = "a link changed, another added",
     .origen = "<p><a href=\"a.html\" class=\"x\">Go</a></p>",
     .traducida = "<p><a href=\"b.html\" class=\"x\">Ir</a> <a href=\"c.html\">y</a></p>",
     .hallazgos = {"1: <a href=\"b.html\" class=\"x\">: href is \"b.html\", the source's \"a.html\"",
                   "1: adds <a href=\"c.html\">, which the source lacks"}},
    {.nombre = "a link table's reference resolved",
     .origen = "<a href=\"@17\">Go</a>", .traducida = "<a href=\"http://example.com/\">Ir</a>"},
    {.nombre = "an attribute dropped and one added",
     .origen = "<div id=\"m\"><p>Go</p></div>", .traducida = "<div class=\"n\"><p>Ir</p></div>",
     .hallazgos = {"1: <div class=\"n\"> lacks id=\"m\", which the source has",
                   "1: <div class=\"n\">: class=\"n\", which the source lacks"}},
    {.nombre = "what a merge writes: lang, dir, the charset in another encoding",
     .origen = "<html><head><meta charset=\"windows-1252\"><title>Caf\xE9</title></head>"
               "<body><p>Good</p></body></html>",
     .traducida = "<html lang=\"ar\" dir=\"rtl\"><head><meta charset=\"utf-8\"><title>Caf\xC3\xA9</title>"
                  "</head><body><p>Bien</p></body></html>",
     .hallazgos = {"1: untranslated: \"Caf\xC3\xA9\""}},
    {.nombre = "a UTF-8 merge adds a declaration the source lacked",
     .origen = "<p>Good</p>", .traducida = "<meta charset=\"utf-8\"><p>Bien</p>"},
    {.nombre = "what is not to be translated, changed and kept",
     .origen = "<p>Run <code translate=\"no\">ls -l</code></p>\n<p class=\"notranslate\">Python</p>",
     .traducida = "<p>Ejecute <code translate=\"no\">dir</code></p>\n<p class=\"notranslate\">Python</p>",
     .hallazgos = {"1: <code translate=\"no\"> is not to be translated, but its text differs at byte 0: "
                   "expected \"ls -l\", obtained \"dir\""}},
    {.nombre = "what is to be translated inside what is not, translated and left",
     .origen = "<p translate=\"no\">Keep <span translate=\"yes\">this</span> as is</p>\n"
               "<div class=\"notranslate\"><p translate=\"yes\">Hi</p><p>x</p></div>\n"
               "<p class=\"notranslate\">More <em translate=\"yes\">left</em> here</p>",
     .traducida = "<p translate=\"no\">Keep <span translate=\"yes\">esto</span> as is</p>\n"
                  "<div class=\"notranslate\"><p translate=\"yes\">Hi</p><p>y</p></div>\n"
                  "<p class=\"notranslate\">More <em translate=\"yes\">left</em> here</p>",
     .hallazgos = {"2: <div class=\"notranslate\"> is not to be translated, but its text differs at byte 0: "
                   "expected \"x\", obtained \"y\"",
                   "2: untranslated: \"Hi\"", "3: untranslated: \"left\""}},
    {.nombre = "a script changed",
     .origen = "<p>Hi</p><script>var a = 1;</script>", .traducida = "<p>Hola</p><script>var a = 2;</script>",
     .hallazgos = {"1: the code of <script> differs from the source's: differs at byte 8: expected "
                   "\"var a = 1;\", obtained \"var a = 2;\""}},
    {.nombre = "an element lost, at the line of its parent",
     .origen = "<ul>\n<li>One</li>\n<li>Two</li>\n</ul>", .traducida = "<ul>\n<li>Uno</li>\n</ul>",
     .hallazgos = {"1: lacks <li>, which the source has (line 3)"}},
    {.nombre = "blanks that a reader sees: inside PRE, and a no-break space",
     .origen = "<pre>a  b</pre><p>a\xC2\xA0" "b</p>", .traducida = "<pre>a b</pre><p>a b</p>"},
};
// clang-format on

TEST(Revision, CadaHallazgoEnSuLinea) {
  for (const Caso &c : kCasos) {
    std::vector<std::string> obtenidos;
    for (const Hallazgo &h : revision_compara(c.origen, c.traducida, 0x0409, 0x0409)) {
      obtenidos.push_back(std::to_string(h.linea) + ": " + h.texto);
      EXPECT_EQ(h.sin_traducir, h.texto.starts_with("untranslated")) << c.nombre;
    }
    EXPECT_EQ(obtenidos, c.hallazgos) << c.nombre;
  }
}

}  // namespace
