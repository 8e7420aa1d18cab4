// traduccion.cpp - translations through the command: carried over to a changed page by
// their text, and refused when their tags are not their source's.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "comando.h"
#include "marcado.h"
#include "plegado.h"
#include "po.h"

namespace pruebas {
namespace {

struct PoLeido {
  CabeceraPo cabecera;
  std::vector<EntradaPo> entradas;
  std::set<std::string> msgids;
};

PoLeido lee_po(const std::string &ruta) {
  PoLeido po;
  std::string error;
  EXPECT_TRUE(po_lee(ruta, &po.cabecera, &po.entradas, &error)) << error;
  for (const EntradaPo &e : po.entradas) po.msgids.insert(e.texto);
  return po;
}

// Writes a PO file of the template's entries with the translations given by msgid.
void escribe_po(const std::string &ruta, const PoLeido &plantilla,
                const std::map<std::string, std::string> &traducciones) {
  EntradasDePagina entradas;
  for (const EntradaPo &e : plantilla.entradas) {
    EntradaPo &copia = entradas.entradas.emplace_back(e);
    if (const auto t = traducciones.find(e.texto); t != traducciones.end())
      copia.traduccion = t->second;
  }
  const PaginaPo pagina{.ruta = "n.html",
                        .idioma = plantilla.cabecera.idioma.value_or(0x0409),
                        .traduccion = std::nullopt,
                        .segmentos = plantilla.cabecera.segmentos.value_or(SEGMENTACION_BLOQUES)};
  std::string error;
  ASSERT_TRUE(po_graba(ruta, pagina, entradas, &error)) << error;
}

// A real page's new version: a word added to one paragraph, the paragraph after the next
// removed, and one paragraph added before a later one. Only paragraphs whose text, up to
// the first tag inside, runs 40 bytes or more are edited: each edit changes one text.
std::string cambia(std::string pagina) {
  std::vector<size_t> p;
  for (size_t i = pagina.find("<p>"); i != npos; i = pagina.find("<p>", i + 1))
    if (const size_t tag = pagina.find('<', i + 3); tag - i > 43 && pagina.find(' ', i + 3) < tag)
      p.push_back(i);
  EXPECT_GE(p.size(), 6u);
  if (p.size() < 6) return pagina;
  pagina.insert(p[5], "<p>Zyxwvut qwerty uiop asdfgh jkl.</p>\n");
  pagina.erase(p[3], pagina.find("</p>", p[3]) + 4 - p[3]);
  pagina.insert(pagina.find(' ', p[1] + 3), " muy");
  return pagina;
}

// A PO string: quotes, backslashes, line ends and tabs escaped.
std::string cita(std::string_view t) {
  std::string r = "\"";
  for (char c : t)
    r += c == '\n'               ? std::string("\\n")
         : c == '\t'             ? std::string("\\t")
         : c == '"' || c == '\\' ? std::string{'\\', c}
                                 : std::string{c};
  return r + "\"";
}

TEST_F(Comando, ActualizarUnaPaginaRealLlevaCadaTraduccion) {
  const std::string debian = "/usr/share/debian-reference/ch08.es.html";
  std::vector<std::string> paginas = {dato("apache_ssi.es.html"), dato("python_bisect.html")};
  if (fs::exists(debian)) paginas.push_back(debian);
  for (const std::string &original : paginas) {
    SCOPED_TRACE(original);
    escribe("v.html", lee(original));
    escribe("n.html", cambia(lee(original)));
    bien({"extract", "v.html", "-o", "v.po"});
    bien({"extract", "n.html", "-o", "n.pot"});
    const PoLeido viejo = lee_po(ruta("v.po")), nuevo = lee_po(ruta("n.pot"));
    // Every text of the old page translated, in brackets.
    std::map<std::string, std::string> traducciones;
    for (const std::string &t : viejo.msgids) traducciones[t] = "[" + t + "]";
    escribe_po(ruta("t.po"), viejo, traducciones);
    // The edit and the addition are the new page's only new texts.
    std::vector<std::string> nuevos;
    std::ranges::set_difference(nuevo.msgids, viejo.msgids, std::back_inserter(nuevos));
    ASSERT_EQ(nuevos.size(), 2u);
    if (nuevos[1].starts_with("Zyxwvut")) std::swap(nuevos[0], nuevos[1]);
    const std::string anadido = nuevos[0], editado = nuevos[1];

    EXPECT_EQ(bien({"update", "n.html", "t.po", "-o", "u.po"}), "");
    const PoLeido actualizado = lee_po(ruta("u.po"));
    std::string antiguo;  // the translation msgmerge found for the edited text
    for (const EntradaPo &e : actualizado.entradas) {
      SCOPED_TRACE(e.texto);
      if (e.texto == anadido) {
        EXPECT_EQ(e.traduccion, "");
      } else if (e.texto == editado) {
        EXPECT_TRUE(e.difusa);
        antiguo = e.traduccion;
      } else {
        EXPECT_FALSE(e.difusa);
        EXPECT_EQ(e.traduccion, "[" + e.texto + "]");
      }
    }
    EXPECT_EQ(actualizado.msgids, nuevo.msgids);
    EXPECT_TRUE(antiguo.starts_with("[") &&
                traducciones.count(antiguo.substr(1, antiguo.size() - 2)))
        << antiguo;

    // What the page must be: its unchanged texts translated, the edited one translated
    // only with --fuzzy, the new one as it is.
    traducciones.erase(anadido);
    escribe_po(ruta("esperada.po"), nuevo, traducciones);
    bien({"merge", "n.html", "esperada.po", "-o", "esperada.html"});
    traducciones[editado] = antiguo;
    escribe_po(ruta("difusa.po"), nuevo, traducciones);
    bien({"merge", "n.html", "difusa.po", "-o", "difusa.html"});
    // The same through gettext's own road, and from a sorted copy.
    bien({"-q", "t.po", "n.pot", "-o", "m.po"}, gettext("msgmerge"));
    bien({"--sort-output", "u.po", "-o", "s.po"}, gettext("msgcat"));
    for (const char *po : {"u.po", "m.po", "s.po"}) {
      SCOPED_TRACE(po);
      const std::string dice = bien({"merge", "n.html", po, "-o", "f.html"});
      EXPECT_NE(dice.find(" entries translated; 1 fuzzy left as the source"), npos) << dice;
      EXPECT_EQ(lee(ruta("f.html")), lee(ruta("esperada.html")));
      bien({"merge", "n.html", po, "--fuzzy", "-o", "f.html"});
      EXPECT_EQ(lee(ruta("f.html")), lee(ruta("difusa.html")));
    }
  }
  if (!fs::exists(debian)) GTEST_SKIP() << debian << " is not installed: its case did not run";
}

TEST_F(Comando, TraduccionesHostilesSeRechazanYSeNombran) {
  struct Caso {
    const char *origen;
    const char *traduccion;
    const char *motivo = "";  // empty: taken
    // What the page then holds, when it is not the translation itself: a tag of the
    // source goes out as the page had it.
    const char *escrita = nullptr;
  };
  // clang-format off
  const Caso casos[] = {
      {.origen = "Say <b>hello</b> now", .traduccion = "Di <B onmouseover=alert(1)>hola</B> ya",
       .motivo = "it adds <B onmouseover=alert(1)>"},
      {.origen = "One<br>two", .traduccion = "Uno<BR autofocus onfocus=alert(1)>dos",
       .motivo = "it adds <BR autofocus onfocus=alert(1)>"},
      {.origen = "Keep <em>this</em> short", .traduccion = "Deja <em>esto corto", .motivo = "it leaves <em> open"},
      {.origen = "Plain words", .traduccion = "Palabras</p><script>alert(1)</script>", .motivo = "it adds </p>"},
      {.origen = "In <font color=red>red</font> ink", .traduccion = "En tinta <font color='red' onclick=\"x\">roja</font>",
       .motivo = "it adds <font color='red' onclick=\"x\">"},
      {.origen = "In <font color=red>red</font> now", .traduccion = "En rojo ahora", .motivo = "it lacks <font color=red>"},
      {.origen = "A <b><i>nested</i></b> pair", .traduccion = "Un par <b><i>anidado</b></i>",
       .motivo = "it ends <b> before the <i> inside it"},
      {.origen = "Hidden note", .traduccion = "Nota <!-- oculta -->", .motivo = "it adds <!-- oculta -->"},
      {.origen = "Example one", .traduccion = "Texto <img src=x onerror=alert(1)// ",
       .motivo = "it leaves <img src=x onerr unfinished"},
      {.origen = "Example two", .traduccion = "Texto </p title=\"x>", .motivo = "it leaves </p title=\"x> unfinished"},
      {.origen = "Use <font translate=no>Acme Widget</font> now", .traduccion = "Usa <font translate=no>Acme Aparato</font> ya",
       .motivo = "it changes <font translate=no>...</font>, which is not to be translated"},
      // Each part as often as the source has it.
      {.origen = "A <font translate=no>a</font> <font translate=no>a</font> z",
       .traduccion = "Un <font translate=no>a</font> <font translate=no>b</font> z",
       .motivo = "it changes <font translate=no>...</font>, which is not to be translated"},
      // A name given twice counts once, with its first value, as a browser reads it.
      {.origen = "A <font color=red>red</font> pen", .traduccion = "Un boli <font color=blue COLOR=red>rojo</font>",
       .motivo = "it adds <font color=blue COLOR=red>"},
      {.origen = "A <font size=2 color=red>red</font> cap", .traduccion = "Una gorra <font color=red size=2 COLOR=blue size=3>roja</font>",
       .escrita = "Una gorra <font size=2 color=red>roja</font>"},
      // Taken: tags in another letter case, an attribute in other quotes, inline tags
      // without attributes added or dropped whole, markup spelled as text.
      {.origen = "In <FONT COLOR=red>red</FONT> paint", .traduccion = "En pintura <font color=\"red\">roja</font>",
       .escrita = "En pintura <FONT COLOR=red>roja</font>"},
      {.origen = "Plain <b>bold</b> text", .traduccion = "Texto <i>llano</i> <br>y grueso"},
      {.origen = "Less than", .traduccion = "Menos &lt;script&gt; que"},
      // Every way of writing a free tag that the check takes is written as markup.
      {.origen = "Theme previous", .traduccion = "Tema <br/> anterior <BR /><br\t>"},
      {.origen = "One two", .traduccion = "Uno <i\n>x</i > <Strong >y</STRONG\t> <em/>z</em/> <u>w</u>"},
      {.origen = "Say <font class=\"x notranslate\">ok</font> now", .traduccion = "<font class=\"x notranslate\">ok</font>, di"},
  };
  // clang-format on
  std::string pagina = "<html><body>\n",
              po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
  for (const Caso &c : casos) {
    pagina += std::string("<p>") + c.origen + "</p>\n";
    po += "\nmsgid " + cita(c.origen) + "\nmsgstr " + cita(c.traduccion) + "\n";
  }
  escribe("p.html", pagina + "</body></html>\n");
  escribe("p.po", po);
  const Salida r = lenguaweb({"merge", "--segments", "classic", "p.html", "p.po", "-o", "f.html"});
  EXPECT_EQ(r.estado, 1);
  const std::string escrita = lee(ruta("f.html"));
  int linea = 1;  // each case's paragraph stands on a line of its own, after <html><body>
  for (const Caso &c : casos) {
    SCOPED_TRACE(c.origen);
    const std::string nombrado = "lenguaweb: p.html:" + std::to_string(++linea) +
                                 ": the translation of \"" + std::string(c.origen) +
                                 "\" is refused, the source text kept: " + c.motivo + "\n";
    const bool rechazada = *c.motivo != '\0';
    EXPECT_EQ(r.errores.find(nombrado) != npos, rechazada) << r.errores;
    EXPECT_EQ(escrita.find(c.escrita ? c.escrita : c.traduccion) != npos, !rechazada) << escrita;
    if (rechazada) {
      EXPECT_NE(escrita.find(std::string("<p>") + c.origen + "</p>"), npos);
    }
  }
  EXPECT_NE(r.errores.find("p.html: 7 of 20 entries translated; 13 refused"), npos) << r.errores;
}

// What merge takes from a PO file that its stream reader or libgettextpo may read otherwise: a NUL
// is refused by name, a duplicate msgid as update refuses it, a byte order mark is skipped (by
// update too, where msgmerge alone would not), strings in the charset the header names are read in
// it (a Shift_JIS character's second byte may be a backslash), whatever field names it, as gettext
// reads it. A text that holds a NUL is written
// as the page has it: its translation is not counted, the page not whole.
TEST_F(Comando, PoConNulDuplicadosOMarca) {
  const std::string hola = "\nmsgid \"Hello\"\nmsgstr \"Hola\"\n", marca = "\xEF\xBB\xBF",
                    plural = "\nmsgid \"one\"\nmsgid_plural \"many\"\nmsgstr[0] \"\"\n",
                    nul = " a string holds a NUL character",
                    una = "p.html: 1 of 1 entry translated\n",
                    vacio = "\nmsgctxt \"\"\nmsgid \"Hello\"\nmsgstr \"Otro\"\n";
  constexpr char kConNul[] = "<html><body><p>Hel\0lo</p><p>Bye</p></body></html>\n";
  const std::string con_nul(kConNul, sizeof kConNul - 1);
  const Textos merge = {"merge", "p.html", "p.po", "-o", "f.html"};
  // The PO file p.po: its header (after a byte order mark, when given), then cuerpo.
  const auto po = [](const std::string &cuerpo, const std::string &bom = "",
                     const std::string &juego = "UTF-8") {
    return Ficheros{{"p.po", bom + "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=" +
                                 juego + "\\n\"\n" + cuerpo}};
  };
  const auto en = [&po](const std::string &juego, const std::string &traduccion) {
    return po("\nmsgid \"Hello\"\nmsgstr \"" + traduccion + "\"\n", "", juego);
  };
  escribe("p.html", "<p>Hello</p>");
  escribe("u.html", "<meta charset=utf-8><p>Hello</p>");
  const Textos merge_u = {"merge", "u.html", "p.po", "-o", "f.html"};
  const std::string una_u = "u.html: 1 of 1 entry translated\n";
  // clang-format off
  const Orden casos[] = {
      {.ficheros = po("\nmsgid \"Hello\"\nmsgstr \"Ho\\000la\"\n"), .argumentos = merge, .estado = 2, .dice = "p.po:5:" + nul},
      {.ficheros = po("\nmsgid \"Hello\"\nmsgstr \"Ho\\0\"\n"), .argumentos = merge, .estado = 2, .dice = "p.po:5:" + nul},
      {.ficheros = po("\nmsgid \"Hello\"\nmsgstr \"Ho\\x00la\"\n"), .argumentos = merge, .estado = 2, .dice = "p.po:5:" + nul},
      {.ficheros = po(std::string("\nmsgid \"Hello\"\nmsgstr \"Ho\0la\"\n", 30)), .argumentos = merge, .estado = 2, .dice = "p.po:5:" + nul},
      {.ficheros = po("\nmsgid \"Hel\\0lo\"\nmsgstr \"Hola\"\n" + hola), .argumentos = merge, .estado = 2, .dice = "p.po:4:" + nul},
      {.ficheros = po("\nmsgid \"Hello\"\nmsgstr \"Ho\\4la\"\n"), .argumentos = merge, .estado = 2, .dice = "p.po:5: context separator"},
      {.ficheros = po("\nmsgid \"Hello\"\nmsgstr \"Hol\\141\\x41\\\\0\"\n"), .argumentos = merge, .errores = una,
       .fichero = "f.html", .contenido = "<p>HolaA\\0</p>"},
      {.ficheros = po(hola + hola), .argumentos = merge, .estado = 2, .dice = "p.po:7: duplicate message definition"},
      {.ficheros = po(hola + hola + plural), .argumentos = merge, .estado = 2, .dice = "p.po:7: duplicate message definition"},
      {.ficheros = po(hola + "\nmsgctxt \"keywords\"" + hola), .argumentos = merge, .errores = una,
       .fichero = "f.html", .contenido = "<p>Hola</p>"},
      // An empty msgctxt is another entry to gettext than none: it serves only a text that
      // no entry without one serves, read by either reader, or from a site's catalogue.
      {.ficheros = po(hola + vacio), .argumentos = merge, .errores = una, .fichero = "f.html", .contenido = "<p>Hola</p>"},
      {.ficheros = po(hola + vacio, "", "ISO-8859-1"), .argumentos = merge, .errores = una, .fichero = "f.html", .contenido = "<p>Hola</p>"},
      {.ficheros = po(vacio), .argumentos = merge, .errores = una, .fichero = "f.html", .contenido = "<p>Otro</p>"},
      {.ficheros = {{"s/p.html", "<p>Hello</p>"}, po(vacio + hola)[0]}, .argumentos = {"merge", "s", "p.po", "-o", "o"},
       .errores = "1 page of s: 1 written under o; 1 of 1 entry translated; 0 other files linked or copied\n",
       .fichero = "o/p.html", .contenido = "<p>Hola</p>"},
      {.ficheros = po(hola, marca), .argumentos = merge, .errores = una, .fichero = "f.html", .contenido = "<p>Hola</p>"},
      {.ficheros = po(hola + plural, marca), .argumentos = merge, .errores = una, .fichero = "f.html", .contenido = "<p>Hola</p>"},
      {.ficheros = po(hola, marca), .argumentos = {"update", "p.html", "p.po", "-o", "-"}, .salida = hola},
      {.ficheros = en("ISO-8859-1", "Hol\xE1"), .argumentos = merge_u, .errores = una_u,
       .fichero = "f.html", .contenido = "<meta charset=utf-8><p>Hol\xC3\xA1</p>"},
      {.ficheros = en("Shift_JIS", "\x95\\\x8E\xA6"), .argumentos = merge_u, .errores = una_u,
       .fichero = "f.html", .contenido = "<meta charset=utf-8><p>&#34920;&#31034;</p>"},
      {.ficheros = en("ISO-8859-1", "Hol\xE1"), .argumentos = {"update", "p.html", "p.po", "-o", "-"},
       .salida = "\nmsgid \"Hello\"\nmsgstr \"Hol\xC3\xA1\"\n"},
      {.ficheros = en("ISO-8859-8", "\xA1"), .argumentos = merge, .estado = 2,
       .dice = "p.po:5: invalid multibyte sequence"},
      {.ficheros = {{"p.po", "msgid \"Hello\"\nmsgstr \"Hol\xE1\"\n"}}, .argumentos = merge, .estado = 2,
       .dice = "p.po: the entry \"Hello\" holds bytes that are not UTF-8, and its header names no other charset"},
      {.ficheros = en("ASCII", "Hol\xC3\xA1"), .argumentos = merge, .estado = 2, .dice = "p.po:5: invalid multibyte sequence"},
      {.ficheros = {{"p.po", "msgid \"\"\nmsgstr \"Content-Typ: text/plain; charset=ASCII\\n\"\n\nmsgid \"Hello\"\nmsgstr \"Hol\xC3\xA1\"\n"}},
       .argumentos = merge, .estado = 2, .dice = "p.po:5: invalid multibyte sequence"},
      {.ficheros = en("NOPE", "Hola"), .argumentos = merge, .estado = 2,
       .dice = "p.po: the PO file's charset 'NOPE' is not one this system can read: convert it with msgconv"},
      {.ficheros = {{"n.html", con_nul}, po(hola + "\nmsgid \"Bye\"\nmsgstr \"Adios\"\n")[0]},
       .argumentos = {"merge", "n.html", "p.po", "-o", "f.html"}, .estado = 1,
       .dice = "n.html: 1 of 2 entries translated; 1 left as the page has them",
       .fichero = "f.html", .contenido = std::string(con_nul).replace(con_nul.find("Bye"), 3, "Adios")},
  };
  // clang-format on
  for (const Orden &o : casos) comprueba(o);
}

TEST_F(Comando, LaPlantillaSeLeeComoTexto) {
  // Texts without a letter or a digit get no entry.
  for (const char *t :
       {"\xE2\x80\x94 &amp; &#8212; \xC2\xA0", "<br><img alt=\"Cat\">", "&nbsp;&hellip;&#150;"})
    EXPECT_FALSE(marcado_tiene_letras(t)) << t;
  for (const char *t :
       {"&#233;", "&eacute;", "&#x41;", "<code>x</code>", "1.", "\xE6\x97\xA5\xE6\x9C\xAC", "a <b"})
    EXPECT_TRUE(marcado_tiene_letras(t)) << t;

  // Where each text stands goes with it, each place once, with the page's note to its
  // translators; the keywords are an entry of their own.
  escribe("p.html",
          "<html><head>\n<meta name=\"keywords\" content=\"Hola\"></head>\n<body>\n"
          "<h2>Hola</h2>\n<abbr title=\"HyperText\">HT</abbr>\n"
          "<p its-loc-note=\"A greeting:&#10;keep it\">Hola</p><p>Hola</p>\n"
          "<table><tr><td>\xE2\x80\x94</td></tr></table></body></html>\n");
  EXPECT_EQ(bien({"extract", "p.html", "-l", "en", "-t", "es", "-o", "p.po"}), "");
  const std::string po = lee(ruta("p.po"));
  for (const char *entrada :
       {"\n\n#. <h2>\n#. <p>\n#. Note: A greeting:\n#. keep it\n#: p.html:4 p.html:6\n"
        "msgid \"Hola\"\nmsgstr \"\"\n",
        "\n\n#. title of <abbr>\n#: p.html:5\nmsgid \"HyperText\"\n",
        "\n\n#. content of <meta>\n#: p.html:2\nmsgctxt \"keywords\"\nmsgid \"Hola\"\n"})
    EXPECT_NE(po.find(entrada), npos) << po;
  EXPECT_EQ(po.find("\xE2\x80\x94"), npos) << po;
  EXPECT_EQ(msgfmt("--check", "p.po"), "");

  // A msgid reads as the page's words: a reference is its character, but for those that
  // would read as markup or a control character, and for what stands inside a tag.
  // clang-format off
  const std::pair<std::string, std::string> caracteres[] = {
      {"caf&eacute; &#26481;&#x4EAC; &copy 2020 &notit; a&nbsp;b",
       "caf\xC3\xA9 \xE6\x9D\xB1\xE4\xBA\xAC \xC2\xA9 2020 \xC2\xACit; a\xC2\xA0" "b"},
      {"&lt;b&gt; &amp; &#60;&#x3E;&#38; AT&T &bogus; plain", ""},
      {"<img alt=\"&eacute;\" title='&#26481;'> &eacute;<!-- &eacute; -->",
       "<img alt=\"&eacute;\" title='&#26481;'> \xC3\xA9<!-- &eacute; -->"},
      {"x < 3 &eacute; <b", "x < 3 \xC3\xA9 <b"},
      {"&#0; &#10; &#9; &#13; &#127; &#x80;", "\xEF\xBF\xBD \n \t &#13; &#127; \xE2\x82\xAC"},
  };
  // clang-format on
  for (const auto &[pagina, msgid] : caracteres)
    EXPECT_EQ(marcado_en_caracteres(pagina), msgid.empty() ? pagina : msgid);

  // Without -l, the page's language is the one its HTML tag declares.
  const Textos extrae = {"extract", "l.html", "-o", "-"};
  const auto pagina = [](const std::string &inicio) {
    return Ficheros{{"l.html", inicio + "<title>Uno</title>"}};
  };
  // clang-format off
  const Orden declarados[] = {
      {.ficheros = pagina("<html lang=\"es\">"), .argumentos = extrae, .salida = "X-Lenguaweb-Language: 0x000A\\n"},
      {.ficheros = pagina("<?xml version=\"1.0\"?>\n<!DOCTYPE html><!-- <html lang=ja> -->\n<HTML XML:LANG='ru'>"),
       .argumentos = extrae, .salida = "X-Lenguaweb-Language: 0x0019\\n"},
      {.ficheros = pagina("<html lang=\"pt-BR\" xml:lang=\"es\">"), .argumentos = extrae, .salida = "X-Lenguaweb-Language: 0x0416\\n"},
      {.ficheros = pagina("<html lang=\"\">"), .argumentos = extrae, .salida = "X-Lenguaweb-Language: 0x0409\\n"},
      {.ficheros = pagina("<html><body lang=\"es\">"), .argumentos = extrae, .salida = "X-Lenguaweb-Language: 0x0409\\n"},
      {.argumentos = {"extract", "l.html", "-l", "ru", "-o", "-"}, .salida = "X-Lenguaweb-Language: 0x0019\\n"},
  };
  // clang-format on
  for (const Orden &o : declarados) comprueba(o);
}

// A translation goes out with the characters the code page of its language lacks as
// references; one that is its source keeps the page's own text; a PO file written when
// msgids held the page's references still merges.
TEST_F(Comando, LasReferenciasDeLaPaginaYSusTraducciones) {
  const std::string pagina =
      "<html><head><meta charset=\"utf-8\"></head><body><p>Tokyo &#26481; caf&eacute; &rarr;</p>";
  const auto po = [](const std::string &msgid, const std::string &msgstr) {
    return Ficheros{{"p.po",
                     "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                     "msgid \"" +
                         msgid + "\"\nmsgstr \"" + msgstr + "\"\n"}};
  };
  const std::string tokio = "Tokio \xE6\x9D\xB1\xE4\xBA\xAC caf\xC3\xA9 \xE2\x86\x92",
                    propio = "Tokyo \xE6\x9D\xB1 caf\xC3\xA9 \xE2\x86\x92";
  const Textos merge = {"merge", "u.html", "p.po", "-o", "f.html"};
  const std::string codigo = "<p>Use the &lt;b&gt; tag for <b>bold</b>.</p>";
  const std::string una = "u.html: 1 of 1 entry translated\n";
  // clang-format off
  const Orden casos[] = {
      {.ficheros = {{"u.html", pagina}}, .argumentos = {"extract", "u.html", "-o", "-"},
       .salida = "msgid \"" + propio + "\"\nmsgstr \"\"\n"},
      {.ficheros = po(propio, tokio), .argumentos = merge, .errores = una, .fichero = "f.html",
       .contenido = "<html><head><meta charset=\"utf-8\"></head><body><p>Tokio &#26481;&#20140; caf\xC3\xA9 &#8594;</p>"},
      {.ficheros = po("Tokyo &#26481; caf\xC3\xA9 &rarr;", tokio), .argumentos = merge, .errores = una, .fichero = "f.html",
       .contenido = "<html><head><meta charset=\"utf-8\"></head><body><p>Tokio &#26481;&#20140; caf\xC3\xA9 &#8594;</p>"},
      {.ficheros = po(propio, propio), .argumentos = merge, .errores = una, .fichero = "f.html", .contenido = pagina},
      // Cut at inline tags, a text that shows a tag as code and has it as markup keeps the code's references.
      {.ficheros = {{"u.html", codigo}}, .argumentos = {"extract", "u.html", "--segments", "classic", "-o", "-"},
       .salida = "msgid \"Use the &lt;b&gt; tag for <g1>bold</g1>.\"\n"},
      {.ficheros = po("Use the &lt;b&gt; tag for <g1>bold</g1>.", "Usa &lt;b&gt; para <g1>negrita</g1>."),
       .argumentos = {"merge", "u.html", "p.po", "--segments", "classic", "-o", "f.html"}, .errores = una,
       .fichero = "f.html", .contenido = "<p>Usa &lt;b&gt; para <b>negrita</b>.</p>"},
  };
  // clang-format on
  for (const Orden &o : casos) comprueba(o);
}

// A msgid holds codes where the page has markup: a run of tags one code, a pair when a
// later run closes it element for element, an element not to be translated one code,
// content and all. The codes unfold into the page's own tags, and the page's tags, written
// in full, fold back into the same codes.
TEST(Plegado, ElMarcadoSePliegaEnCodigosYSeDespliega) {
  struct Caso {
    std::string texto, plegado, descrito = {};
  };
  // clang-format off
  const Caso casos[] = {
      {.texto = "No tags, a < b", .plegado = "No tags, a < b"},
      {.texto = "See <a class=\"reference internal\" href=\"#json\"><code class=\"docutils\"><span class=\"pre\">json</span></code></a> now",
       .plegado = "See <g1>json</g1> now",
       .descrito = "Codes: <g1> = <a href=\"#json\"><code><span>"},
      {.texto = "One<br>two <img src=\"a.png\" alt=\"A\"> <b>three</b>",
       .plegado = "One<x1/>two <x2/> <g3>three</g3>",
       .descrito = "Codes: <x1/> = <br>; <x2/> = <img src=\"a.png\" alt=\"A\">; <g3> = <b>"},
      {.texto = "<a href=x>out <em>in</em></a>", .plegado = "<g1>out <g2>in</g2></g1>"},
      {.texto = "<a href=x><b>out</b> in</a>", .plegado = "<g1><g2>out</g2> in</g1>"},
      {.texto = "Left <b>open and </i>stray", .plegado = "Left <x1/>open and <x2/>stray"},
      {.texto = "Use <span translate=\"no\">Acme <b>Widget</b></span> now<!-- c -->",
       .plegado = "Use <x1/> now<x2/>",
       .descrito = "Codes: <x1/> = <span translate=\"no\">Acme <b>Widget</b></span> (not to be translated); <x2/> = <!--…-->"},
      {.texto = "A page's own <g1>x</g1> <x2/>", .plegado = "A page's own <g1>x</g1> <x2/>"},
  };
  // clang-format on
  for (const Caso &c : casos) {
    SCOPED_TRACE(c.texto);
    const TextoPlegado p = plegado_pliega(c.texto);
    EXPECT_EQ(p.texto, c.plegado);
    if (!c.descrito.empty()) {
      EXPECT_EQ(plegado_describe(p), c.descrito);
    }
    EXPECT_EQ(plegado_despliega(p, p.texto), c.texto);
    EXPECT_EQ(plegado_repliega(p, c.texto), p.texto);
  }
  // A translation may move codes; tags it writes in full fold where they are the page's.
  const TextoPlegado p = plegado_pliega("See <a href=x>this</a> and <b>that</b><br>");
  const std::pair<std::string, std::string> traducciones[] = {
      {"Mira <g2>eso</g2><x3/> y <g1>esto</g1>", "Mira <b>eso</b><br> y <a href=x>esto</a>"},
      {"<g1>esto</g1> <i>y</i> <g9>x</g9><x2/>", "<a href=x>esto</a> <i>y</i> <g9>x</g9><x2/>"},
  };
  for (const auto &[plegada, completa] : traducciones) {
    EXPECT_EQ(plegado_despliega(p, plegada), completa);
    EXPECT_EQ(plegado_repliega(p, completa), plegada);
  }
}

// The codes of a msgid, through the week: a translation may move them and add free tags,
// not drop, invent or change one; a PO file in full form merges and updates into codes,
// no translation made fuzzy.
TEST_F(Comando, LosCodigosDelMarcadoEnMergeYUpdate) {
  escribe("p.html",
          "<html><body>\n<p>See <a class=\"ref\" href=\"#json\"><code>json</code></a> and "
          "<b>more</b>.<br>End.</p>\n<p>Use <span translate=\"no\">Acme</span> now.</p>\n"
          "</body></html>\n");
  EXPECT_EQ(bien({"extract", "p.html", "-o", "p.pot"}), "");
  const std::string pot = lee(ruta("p.pot"));
  for (const char *parte :
       {"#. Codes: <g1> = <a href=\"#json\"><code>; <g2> = <b>; <x3/> = <br>\n",
        "msgid \"See <g1>json</g1> and <g2>more</g2>.<x3/>End.\"\n",
        "#. Codes: <x1/> = <span translate=\"no\">Acme</span> (not to be translated)\n",
        "msgid \"Use <x1/> now.\"\n", "\"X-Lenguaweb-Markup: codes\\n\"\n"})
    EXPECT_NE(pot.find(parte), npos) << parte << pot;
  struct Caso {
    std::string uno, dos;      // the two translations
    std::string escrita = {};  // what the page holds; empty: both refused, for these reasons
    std::string motivo_uno = {}, motivo_dos = {};
  };
  // clang-format off
  const Caso casos[] = {
      {.uno = "Mira <g2>más</g2> y <g1>json</g1>.<i>Fin</i>.", .dos = "Usa <x1/> ya.",
       .escrita = "<p>Mira <b>más</b> y <a class=\"ref\" href=\"#json\"><code>json</code></a>.<i>Fin</i>.</p>\n"
                  "<p>Usa <span translate=\"no\">Acme</span> ya.</p>"},
      {.uno = "Mira json y <g2>más</g2>.<x3/>Fin.", .dos = "Usa ya.",
       .motivo_uno = "it lacks <a class=\"ref\" href=\"#json\"> (in <g1>)",
       .motivo_dos = "it changes <span translate=\"no\">...</span>, which is not to be translated"},
      {.uno = "Mira <g1>json</g1> y <g7>más</g7>.<x3/>Fin.", .dos = "Usa <span translate=\"no\">Acmé</span> ya.",
       .motivo_uno = "it adds <g7>", .motivo_dos = "it changes <span translate=\"no\">...</span>"},
  };
  // clang-format on
  for (const Caso &c : casos) {
    SCOPED_TRACE(c.uno);
    std::string po = pot;
    po.replace(po.find("msgstr \"\"", po.find("msgid \"See")), 9, "msgstr " + cita(c.uno));
    po.replace(po.find("msgstr \"\"", po.find("msgid \"Use")), 9, "msgstr " + cita(c.dos));
    escribe("p.po", po);
    const Salida r = lenguaweb({"merge", "p.html", "p.po", "-o", "f.html"});
    const std::string f = lee(ruta("f.html"));
    if (!c.escrita.empty()) {
      EXPECT_EQ(r.estado, 0) << r.errores;
      EXPECT_NE(f.find(c.escrita), npos) << f;
      continue;
    }
    EXPECT_EQ(r.estado, 1);
    for (const auto &[msgid, motivo] :
         {std::pair{"See <g1>json</g1> and <g2>more</g2>.<x3/>End.", c.motivo_uno},
          std::pair{"Use <x1/> now.", c.motivo_dos}})
      EXPECT_NE(r.errores.find("the translation of \"" + std::string(msgid) +
                               "\" is refused, the source text kept: " + motivo),
                npos)
          << r.errores;
    EXPECT_NE(f.find("<p>Use <span translate=\"no\">Acme</span> now.</p>"), npos) << f;
  }

  // The same translations in full form: they merge, and update carries them into codes.
  escribe("full.po",
          "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
          "msgid \"See <a class=\\\"ref\\\" href=\\\"#json\\\"><code>json</code></a> and "
          "<b>more</b>.<br>End.\"\nmsgstr \"Mira <b>más</b> y <a class=\\\"ref\\\" "
          "href=\\\"#json\\\"><code>json</code></a>.<br>Fin.\"\n\n"
          "#, fuzzy\nmsgid \"Use <span translate=\\\"no\\\">Acme</span> now.\"\n"
          "msgstr \"Usa <span translate=\\\"no\\\">Acme</span> ya.\"\n");
  EXPECT_EQ(bien({"merge", "--fuzzy", "p.html", "full.po", "-o", "g.html"}),
            "p.html: 2 of 2 entries translated\n");
  EXPECT_NE(lee(ruta("g.html"))
                .find("<p>Mira <b>más</b> y <a class=\"ref\" "
                      "href=\"#json\"><code>json</code></a>.<br>Fin.</p>"),
            npos);
  EXPECT_EQ(bien({"update", "p.html", "full.po", "-o", "nuevo.po"}), "");
  const std::string nuevo = lee(ruta("nuevo.po"));
  for (const char *parte : {"msgid \"See <g1>json</g1> and <g2>more</g2>.<x3/>End.\"\nmsgstr "
                            "\"Mira <g2>más</g2> y <g1>json</g1>.<x3/>Fin.\"\n",
                            "#, fuzzy\nmsgid \"Use <x1/> now.\"\nmsgstr \"Usa <x1/> ya.\"\n",
                            "\"X-Lenguaweb-Markup: codes\\n\""})
    EXPECT_NE(nuevo.find(parte), npos) << parte << nuevo;
  EXPECT_EQ(msgfmt("--statistics", "nuevo.po"), "1 translated message, 1 fuzzy translation.\n");
}

}  // namespace
}  // namespace pruebas
