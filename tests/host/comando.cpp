// comando.cpp - tests of the lenguaweb command end to end, of its functions and of the README host.
#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "comando.h"
#include "idiomas.h"
#include "pseudo.h"

namespace pruebas {
namespace {

const std::string kDatos = LENGUAWEB_DATOS_HOST "/";

TEST_F(Comando, ExtraerTraducirYFusionarPorElTexto) {
  const std::string pagina = kDatos + "repetida.html";
  const Salida extraida =
      lenguaweb({"extract", pagina, "--segments", "classic", "-t", "es", "-o", "-"});
  ASSERT_EQ(extraida.estado, 0) << extraida.errores;
  std::string po = extraida.salida;
  for (const std::string &campo :
       Textos{"Language: es", "X-Lenguaweb-Page: " + pagina, "X-Lenguaweb-Language: 0x0409",
              "X-Lenguaweb-Segments: classic"})
    EXPECT_NE(po.find("\"" + campo + "\\n\""), npos) << campo;
  Textos entradas;
  const std::regex entrada("(msgctxt \"(.*)\"\n)?msgid \"(.+)\"");
  for (std::sregex_iterator i(po.begin(), po.end(), entrada), fin; i != fin; ++i)
    entradas.push_back((*i)[2].str() + "=" + (*i)[3].str());
  // Identical texts share an entry, but for the keywords, a list of terms; texts without
  // a letter have none.
  EXPECT_EQ(entradas, (Textos{"=Home", "=Same", "keywords=k", "=Hello", "=Bye <x1/>now"}));

  // Translated as in an editor; a fuzzy translation is taken only when asked for.
  const std::string traducciones[] = {
      "Home",         "Inicio",        "k",    "clave", "Hello", "Hola",
      "Bye <x1/>now", "Adiós <x1/>ya", "Same", "Igual"};
  for (size_t i = 0; i < std::size(traducciones); i += 2)  // msgid, translation
    po = std::regex_replace(po, std::regex("(msgid \"" + traducciones[i] + "\"\n)msgstr \"\""),
                            "$1msgstr \"" + traducciones[i + 1] + "\"");
  escribe("r.po", std::regex_replace(po, std::regex("msgid \"Same\""), "#, fuzzy\n$&"));
  EXPECT_EQ(msgfmt("--check", "r.po"), "");
  // Windows-1251 lacks the ó: it arrives as a reference. Entries are counted as msgfmt
  // --statistics counts them.
  EXPECT_EQ(
      bien({"merge", pagina, "r.po", "-o", "ru.html", "-t", "0x0419"}),
      pagina + ": 4 of 5 entries translated; 1 fuzzy left as the source (--fuzzy uses them)\n");
  EXPECT_EQ(msgfmt("--statistics", "r.po"), "4 translated messages, 1 fuzzy translation.\n");
  const std::string ru = lee(ruta("ru.html"));
  for (const auto &[parte, veces] :
       {std::pair{"<title>Inicio</title>", 2}, std::pair{"content=\"Same\"", 2},
        std::pair{"content=\"clave\"", 2}, std::pair{"<p>Hola</p>", 2},
        std::pair{"<p>Adi&#243;s <b>ya</b></p>", 1}}) {
    size_t n = 0;
    for (size_t i = ru.find(parte); i != npos; i = ru.find(parte, i + 1)) ++n;
    EXPECT_EQ(n, veces) << parte << " in " << ru;
  }
  bien({"merge", "--fuzzy", pagina, "r.po", "-o", "d.html", "-t", "0x0419"});
  EXPECT_NE(
      lee(ruta("d.html")).find("content=\"Igual\"><meta name=\"description\" content=\"Igual\""),
      npos);
  // The same translations sorted, with strings wrapped by gettext's tools (read as a
  // stream), with an obsolete fuzzy entry before the first (its flag is its own), and
  // with a plural entry at the end (the stream reader leaves the file to libgettextpo).
  bien({"--sort-output", "r.po", "-o", "s.po"}, gettext("msgcat"));
  bien({"--width=20", "r.po", "-o", "w.po"}, gettext("msgcat"));
  escribe("o.po", std::regex_replace(lee(ruta("r.po")), std::regex("\n\n"),
                                     "\n\n#, fuzzy\n#~ msgid \"old\"\n#~ msgstr \"viejo\"\n\n",
                                     std::regex_constants::format_first_only));
  escribe("p.po", lee(ruta("r.po")) +
                      "\nmsgid \"one\"\nmsgid_plural \"many\"\nmsgstr[0] \"\"\nmsgstr[1] \"\"\n");
  // A header whose string goes on past a blank line and a form feed, as gettext reads it;
  // a fuzzy flag before a "#~" that begins no obsolete entry stays the next entry's, as
  // it does before another flag after a blank.
  escribe("h.po",
          std::regex_replace(lee(ruta("r.po")), std::regex("\"X-Lenguaweb-Segments"), "\n \f\n$&"));
  escribe("f.po", std::regex_replace(lee(ruta("r.po")), std::regex("#, fuzzy\n"), "$&#~\n"));
  escribe("g.po",
          std::regex_replace(lee(ruta("r.po")), std::regex("#, fuzzy\n"), "#,fuzzy no-wrap\n"));
  for (const char *otro : {"s.po", "w.po", "o.po", "p.po", "h.po", "f.po", "g.po"}) {
    bien({"merge", pagina, otro, "-o", "otra.html", "-t", "0x0419"});
    EXPECT_EQ(lee(ruta("otra.html")), ru) << otro;
  }
}

TEST_F(Comando, EnlacesYVueltaConLaTablaGuardada) {
  const std::string pagina = lee(kDatos + "enlaces.html");
  escribe("sitio/a.html", pagina);
  escribe("sitio/b.html", pagina);  // the same targets: no record twice
  bien({"links", "sitio", "-o", "pre", "--links", "t"});
  EXPECT_NE(lee(ruta("pre/b.html")).find("<A HREF=\"@|otra.html\">"), npos);
  // Preprocessing again with the saved table adds nothing.
  bien({"links", "sitio/a.html", "-o", "pre/a.html", "--links", "t"});
  EXPECT_EQ(lenguaweb({"links", "--list", "t"}).salida,
            "table\tID\tdominio\truta\tnombre_fichero\n"
            "A\tservidor|/docs|guia.html\tservidor\t/docs\tguia.html\n"
            "A\t|otra.html\t\t\totra.html\n"
            "IMG\t|img|logo.gif\t\timg\tlogo.gif\n"
            "IMG\t|/img|logo.gif\t\t/img\tlogo.gif\n");
  // The preprocessed page, extracted and merged through the table, is the page again.
  bien({"extract", "pre/a.html"});
  bien({"merge", "pre/a.html", "pre/a.pot", "-o", "f.html", "--links", "t"});
  EXPECT_EQ(lee(ruta("f.html")), pagina);
  // Through a table that lacks records, or whose record (as another host could have saved
  // it) gives a link that would run, the page is written all the same, its references as
  // they stand, and each is named.
  escribe("o.html", "<a href=\"otra.html\">x</a>");
  bien({"links", "o.html", "-o", "o2.html", "--links", "corta"});
  const auto cadena = [](const std::string &t) { return std::string{char(t.size()), 0, 0, 0} + t; };
  escribe("activa", cadena("lenguaweb link tables") + "\x01\x01" + std::string(3, '\0') + "\x03" +
                        cadena("js") + cadena("") + cadena("") + cadena("javascript:alert(1)") +
                        std::string(14 + 4, '\0'));  // its flags, and no IMG record
  escribe("js.html", "<p>Hello</p><a href=\"@js\">x</a>");
  bien({"extract", "js.html"});
  comprueba({.argumentos = {"merge", "pre/a.html", "pre/a.pot", "-o", "g.html", "--links", "corta"},
             .estado = 1,
             .errores = "lenguaweb: pre/a.html: 3 link references that no link table resolves, "
                        "left as they stand: @servidor|/docs|guia.html, @|img|logo.gif, "
                        "@|/img|logo.gif\npre/a.html: 0 of 4 entries translated\n"});
  EXPECT_NE(lee(ruta("g.html"))
                .find("<a href=\"@servidor|/docs|guia.html\">Guide</a> <a "
                      "href=\"otra.html\">"),
            npos);
  comprueba({.argumentos = {"merge", "js.html", "js.pot", "-o", "js2.html", "--links", "activa"},
             .estado = 1,
             .dice = "1 link reference that no link table resolves, left as it stands (1 of "
                     "them refused: the record gives a javascript:",
             .fichero = "js2.html",
             .contenido = "<p>Hello</p><a href=\"@js\">x</a>"});
}

// Pseudo-translation breaks no tag, entity or brace; the entity left undecoded is no
// fault, shown only with -v. The README's host brackets every text.
TEST_F(Comando, PseudoYElAnfitrionDelReadme) {
  const std::string pagina = kDatos + "marcado.html";
  const Orden ordenes[] = {
      {.argumentos = {"pseudo", pagina, "-o", "p.html"}},
      {.argumentos = {"pseudo", "-v", pagina, "-o", "p.html", "-t", "0x0419", "--segments",
                      "classic"},
       .errores = pagina +
                  ":1: strchr(texto, '&')==NULL (lenguaweb (LENGUAWEB.DLL)), in the text of <p>\n",
       .fichero = "p.html",
       .contenido =
           "<p>[F&#237;sh ]&amp;[ ch&#237;ps ]<b>{[ch&#233;&#225;p]}</b> &#8364;[5]</p>\n"},
      {.ficheros = {{"h.html", "<title>Hi</title><p>One <b>two</b></p><img alt=\"Caf\xC3\xA9\">"}},
       .programa = LENGUAWEB_ANFITRION,
       .argumentos = {"h.html", "fin.html"},
       .salida = "TITULO\tHi\nTEXTO_1\tOne <b>two\nALTERNATIVO_IMAGEN_2\tCaf\xC3\xA9\n",
       .fichero = "fin.html",
       .contenido = "<title>[Hi]</title><p>[One <b>two]</b></p><img alt=\"[Caf\xC3\xA9]\">"},
  };
  for (const Orden &o : ordenes) comprueba(o);
}

TEST_F(Comando, UnaCarpetaEnUnArbolEspejo) {
  // A file where a folder of the mirror tree must go makes the page under it fail alone.
  const Orden pseudo = {
      .ficheros = {{"sitio/a.html", "<p>Hello</p>"},
                   {"sitio/a.htm", "<p>Caf\xC3\xA9</p>"},
                   {"sitio/sub/b.htm", "<title>Bee</title>"},
                   {"sitio/sub/hondo/c.HTML", "<p>Sea</p>"},
                   {"sitio/notas.txt", "<p>not a page</p>"},
                   {"fuera/sub/hondo", ""}},
      .argumentos = {"pseudo", "sitio", "-o", "fuera", "-j", "2"},
      .estado = 1,
      .errores =
          "lenguaweb: cannot create the folder 'fuera/sub/hondo': Not a directory\n"
          "4 pages of sitio: 3 written under fuera, 1 failed\n"};
  EXPECT_EQ(comprueba(pseudo).salida, "");
  // a.htm sorts first and keeps a.po; a.html would overwrite it. Templates are extracted,
  // and the translator's PO files made of them.
  const std::string a = "lenguaweb: sitio/a.html: its PO file would be ";
  comprueba({.argumentos = {"extract", "sitio", "-o", "po"},
             .estado = 1,
             .errores = a + "a.pot, which is that of sitio/a.htm\n"
                            "4 pages of sitio: 3 written under po, 1 failed\n"});
  for (const char *nombre : {"po/a", "po/sub/b", "po/sub/hondo/c"})
    fs::rename(ruta(nombre + std::string(".pot")), ruta(nombre + std::string(".po")));
  // Texts left untranslated go out in the target's code page too.
  comprueba({.argumentos = {"merge", "sitio", "po", "-o", "ru", "-t", "0x0419"},
             .estado = 1,
             .errores = a + "a.po, which is that of sitio/a.htm\n4 pages of sitio: 3 written "
                            "under ru, 1 failed; 0 of 3 entries translated; 1 other file linked "
                            "or copied\n",
             .fichero = "ru/a.htm",
             .contenido = "<p>Caf&#233;</p>"});
  EXPECT_EQ(lee(ruta("ru/notas.txt")), "<p>not a page</p>");
  // An output folder inside the pages' folder is not taken for pages.
  for (int vez = 0; vez < 2; ++vez)
    comprueba({.argumentos = {"pseudo", "sitio", "-o", "sitio/out"},
               .errores = "4 pages of sitio: 4 written under sitio/out\n",
               .fichero = "sitio/out/sub/hondo/c.HTML",
               .contenido = "<meta charset=\"UTF-8\"><p>[S\xC3\xA9\xC3\xA1]</p>"});
}

TEST_F(Comando, ErroresConSuEstadoYSinFicheroDeSalida) {
  const std::string pagina = kDatos + "repetida.html";
  escribe("t.html", "<title>Home</title>");
  escribe("u.html", "<title>Away</title>");
  bien({"extract", "t.html", "-o", "t.po"});
  bien({"extract", pagina, "-o", "r.po"});
  bien({"links", pagina, "-o", "l.html", "--links", "buena"});
  const std::string buena = lee(ruta("buena"));
  escribe("version", buena.substr(0, 34) + '\x09' + buena.substr(35));  // record 1's version
  escribe("truncada", buena.substr(0, buena.size() - 3));
  escribe("larga", buena + "x");
  escribe("mal.po", "msgid \"a\"\nmsgstr \"b\"\nbasura\n");
  escribe("latin1.po", "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=CHARSET\\n\"\n");
  escribe("desconocido.po", "msgid \"\"\nmsgstr \"X-Lenguaweb-Language: 0xFFFF\\n\"\n");
  escribe("cortes.po", "msgid \"\"\nmsgstr \"X-Lenguaweb-Segments: words\\n\"\n");
  escribe("antigua.po", "msgctxt \"TITULO\"\nmsgid \"Home\"\nmsgstr \"Inicio\"\n");
  // A table whose one record's first text claims 4 GiB.
  escribe("enorme", std::string("\x15\0\0\0", 4) + "lenguaweb link tables" +
                        std::string("\x01\x01\0\0\0\x03\xF0\xFF\xFF\xFF", 10) + "abc");
  fs::create_symlink("t.html", ruta("enlace.html"));
  // Every file of the folder and what it holds, but for the runs' outputs.
  const auto ficheros = [&] {
    std::map<std::string, std::string> r;
    for (const auto &e : fs::directory_iterator(carpeta_))
      if (e.path().filename() != "out" && e.path().filename() != "err")
        r[e.path().filename()] = lee(e.path());
    return r;
  };
  const auto antes = ficheros();
  const auto falla = [&](const Salida &r, const std::string &mensaje) {
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.errores.find(mensaje), npos) << r.errores;
    EXPECT_EQ(std::count(r.errores.begin(), r.errores.end(), '\n'), 1) << r.errores;
    EXPECT_EQ(ficheros(), antes);
  };

  // clang-format off
  const std::vector<std::pair<Textos, std::string>> casos = {
      {{"pseudo", "nada.html", "-o", "s.html"}, "lenguaweb: cannot read 'nada.html': No such file"},
      {{"pseudo", pagina, "-l", "0x7FFF", "-o", "s.html"}, "-l '0x7FFF' is not a known language"},
      {{"merge", pagina, "mal.po", "-o", "s.html", "-t", "x"}, "-t 'x' is not a known language"},
      {{"merge", pagina, "mal.po", "-o", "s.html"}, "mal.po:3: keyword \"basura\" unknown"},
      {{"merge", pagina, "nada.po", "-o", "s.html"}, "cannot read 'nada.po': No such file"},
      {{"merge", pagina, "latin1.po", "-o", "s.html"}, "latin1.po: the PO file's charset 'CHARSET' is not one this system can read"},
      // The PO file of another page, or of positions rather than texts.
      {{"merge", "u.html", "t.po", "-o", "s.html"}, "lenguaweb: t.po: a PO file of another page: its "
       "X-Lenguaweb-Page is 't.html', not 'u.html' (--any-page takes it all the same)\n"},
      {{"merge", "u.html", "t.po", "-o", "s.html", "--any-page"}, "lenguaweb: t.po: not a PO file of u.html: none of its entries is a text of the page\n"},
      {{"merge", "t.html", "antigua.po", "-o", "s.html"}, "none of its entries is a text of the page (msgctxt \"TITULO\": an older lenguaweb's PO file? run lenguaweb update)\n"},
      {{"update", pagina, "mal.po", "-o", "s.po"}, "mal.po:3: keyword \"basura\" unknown"},
      {{"merge", pagina, "cortes.po", "-o", "s.html"}, "cortes.po: X-Lenguaweb-Segments 'words' is neither blocks nor classic"},
      {{"extract", pagina, "--segments", "words"}, "--segments: words not in {blocks,classic}"},
      {{"links", pagina, "-o", "s.html", "--links", "truncada"}, "damaged link table file"},
      {{"links", pagina, "-o", "s.html", "--links", "larga"}, "bytes after the end"},
      {{"links", pagina, "-o", "s.html", "--links", "version"}, "damaged link table file"},
      {{"links", pagina, "-o", "s.html", "--links", "mal.po"}, "not a link table file"},
      {{"links", "--list", "truncada"}, "damaged link table file"},
      {{"links", "nada.html", "-o", "s.html", "--links", "nueva"}, "cannot read 'nada.html'"},
      {{"links", "--list", "nada"}, "cannot read 'nada'"},
      {{"merge", pagina, "x.po", "-o", "s.html", "--links", "nada"}, "cannot read 'nada'"},
      {{"pseudo", pagina, "-o", "larga/s.html"}, "cannot create the folder 'larga'"},
      {{"pseudo", pagina}, "--output is required"},
      {{"links", pagina, "-o", "s.html"}, "links takes PAGE -o OUT --links TABLE"},
      {{"merge", pagina, "desconocido.po", "-o", "s.html"}, "desconocido.po: X-Lenguaweb-Language '0xFFFF' is not a known language"},
      {{"links", "--list", "enorme"}, "enorme: damaged link table file: record 1 of the 1 that the A table claims: save "
       "stream 'enorme' ends early: a text at byte 35 needs 4294967280 bytes, 3 left"},
      // An output never overwrites an input: the same path, or the same file by another.
      {{"extract", "t.html", "-o", "t.html"}, "the output 't.html' is 't.html', which this run"},
      {{"pseudo", "t.html", "-o", "enlace.html"}, "the output 'enlace.html' is 't.html'"},
      {{"merge", pagina, "r.po", "-o", "r.po"}, "the output 'r.po' is 'r.po'"},
      {{"links", pagina, "-o", "buena", "--links", "buena"}, "the output 'buena' is 'buena'"},
  };
  // clang-format on
  for (const auto &[argumentos, mensaje] : casos) {
    SCOPED_TRACE(testing::PrintToString(argumentos));
    falla(lenguaweb(argumentos), mensaje);
  }
  // update needs GNU gettext's msgmerge, and says so when it is not to be found.
  falla(
      corre(std::string("PATH=/nada ") + LENGUAWEB_CLI, {"update", "t.html", "t.po", "-o", "s.po"}),
      "cannot run msgmerge (GNU gettext)");
}

// A vowel that pseudo-translation accented, as a character or as a character reference.
const std::regex kAcento(
    "\xC3[\xA1\xA9\xAD\xB3\xBA\x81\x89\x8D\x93\x9A]|&#(193|201|205|211|218|225|233|237|243|250);");

// The tag names of a page (a '<' inside an attribute value begins none), and those with
// its character references but for accented vowels.
const std::regex kTags("<[!/A-Za-z][^ \t\n>]*"), kMarcas("<[^ \t\n>]*|&[#A-Za-z0-9]*.");

// What patron finds in a page, in order.
Textos busca(const std::string &pagina, const std::regex &patron) {
  Textos r;
  for (std::sregex_iterator i(pagina.begin(), pagina.end(), patron), fin; i != fin; ++i)
    if (!std::regex_match(i->str(), kAcento)) r.push_back(i->str());
  return r;
}

// A page without what pseudo-translation adds: brackets, and accents (all vowels made one);
// runs of blanks made one space (a text given back unchanged keeps the page's line breaks,
// a translated one has them read as spaces); the declaration of UTF-8 (a byte order mark
// or a META) that accents bring to a page of ASCII that declares none.
std::string sin_decoracion(std::string pagina) {
  static const std::regex vocal("[aeiouAEIOU]"), corchete("[\\[\\]]"), blancos("[ \t\n\r]+"),
      declaracion("^\xEF\xBB\xBF|<meta charset=\"UTF-8\">");
  pagina = std::regex_replace(pagina, declaracion, "");
  return std::regex_replace(
      std::regex_replace(std::regex_replace(std::regex_replace(pagina, kAcento, "a"), vocal, "a"),
                         corchete, ""),
      blancos, " ");
}

TEST_F(Comando, PaginasReales) {
  std::ptrdiff_t n = 0;
  for (const auto &e : fs::directory_iterator(LENGUAWEB_DATOS_PRUEBA)) {
    const std::string pagina = e.path().string();
    if (e.path().extension() != ".html") continue;
    SCOPED_TRACE(pagina);
    ++n;
    std::string idioma = "0x0409";  // or that of the tag in the page's name (a.ja.html)
    for (auto [tag, langid] :
         {std::pair{".ja", "0x0411"}, std::pair{".ru", "0x0419"}, std::pair{".zh-cn", "0x0804"}})
      if (e.path().stem().extension() == tag) idioma = langid;
    bien({"extract", pagina, "-l", idioma, "-t", idioma, "-o", "p.po", "--force"});
    EXPECT_EQ(msgfmt("--check", "p.po"), "");
    bien({"merge", pagina, "p.po", "-o", "propia.html"});
    const std::string propia = lee(ruta("propia.html"));
    // Every text given back as its own translation goes through UTF-8 and back unchanged.
    bien({"p.po", "-o", "p.po"}, gettext("msgen"));
    bien({"merge", pagina, "p.po", "-o", "copia.html"});
    EXPECT_EQ(lee(ruta("copia.html")), propia);
    // Pseudo-translation changes the texts and nothing else: no tag, entity or brace. A
    // page in a legacy charset goes back with its own texts as it stood, entities and all,
    // while a translation's accented letters are the charset's own: there, only tags count.
    // Cut in blocks (the default), a text's character references reach the translator
    // as characters and come back so: there, only tags count.
    bien({"pseudo", pagina, "-l", idioma, "-o", "bloques.html"});
    EXPECT_EQ(busca(lee(ruta("bloques.html")), kTags), busca(propia, kTags));
    // Cut as before, every tag and character reference stays where it stood.
    bien({"extract", pagina, "-l", idioma, "-t", idioma, "--segments", "classic", "-o", "c.po"});
    bien({"merge", pagina, "c.po", "-o", "clasica.html"});
    bien({"pseudo", pagina, "-l", idioma, "--segments", "classic", "-o", "pseudo.html"});
    const std::string clasica = lee(ruta("clasica.html")), pseudo = lee(ruta("pseudo.html"));
    EXPECT_NE(pseudo, clasica);
    codificacion_pagina_t codificacion;
    conv_detecta_codificacion(propia.data(), propia.size(), 0x0409, &codificacion);
    if (std::string_view(codificacion.nombre) == "UTF-8") {
      EXPECT_EQ(busca(pseudo, kMarcas), busca(clasica, kMarcas));
      EXPECT_EQ(sin_decoracion(pseudo), sin_decoracion(clasica));
    } else {
      EXPECT_EQ(busca(pseudo, kTags), busca(clasica, kTags));
    }
  }
  EXPECT_GT(n, 0) << "no pages in " << LENGUAWEB_DATOS_PRUEBA;
}

TEST_F(Comando, ProtegeMarcadoYLoRestaura) {
  const std::vector<std::tuple<const char *, const char *, Textos>> casos = {
      // Pieces side by side are one group.
      {"a <font color=red>b</FONT><br>", "a {0}b{1}", {"<font color=red>", "</FONT><br>"}},
      // Only the inline tags stay markup; the library escapes any other '<'.
      {"x <script>y</script> <BR/> <P>", "x <script>y</script> <BR/> <P>", {}},
      {"a < b <B>c", "a < b {0}c", {"<B>"}},
      {"&amp; &#225;&#x41; &Eacute;", "{0} {1} {2}", {"&amp;", "&#225;&#x41;", "&Eacute;"}},
      {"& &; &#; &#x; &amp &a-b;", "& &; &#; &#x; {0} &a-b;", {"&amp"}},  // as a browser reads it
      {"{0} }{", "{0}0{1} {2}", {"{", "}", "}{"}},
      // What is not to be translated goes whole.
      {"a <span translate=no>b <b>c</b></span> <b>d</b>",
       "a {0} {1}d{2}",
       {"<span translate=no>b <b>c</b></span>", "<b>", "</b>"}},
  };
  for (const auto &[texto, protegido, piezas] : casos) {
    const TextoProtegido p = pseudo_protege(texto);
    EXPECT_EQ(p.texto, protegido);
    EXPECT_EQ(Textos(p.piezas.begin(), p.piezas.end()), piezas) << texto;
    EXPECT_EQ(pseudo_restaura(p.texto, p.piezas), texto);
  }
  // Groups the table lacks, and braces that are no group, stay as they are.
  for (const char *texto : {"{1}{x}{}{0", "{18446744073709551616}"})
    EXPECT_EQ(pseudo_restaura(texto, {"<B>"}), texto);
}

// A text's pseudo-translation in one piece: in UTF-8, protected whole, through the engine
// whole, restored and converted whole.
std::string pseudo_entero(const char *propio, uint32_t origen, uint32_t destino) {
  const std::string utf8 = toma(conv_ansi_idioma_a_utf8(propio, origen));
  const TextoProtegido p = pseudo_protege(utf8);  // its pieces point into utf8
  lista_wcad_t *uno = a_lista(std::vector{toma(conv_utf8_a_wcad(p.texto.c_str()))});
  lista_wcad_t *traducido =
      lenguatxt_traduce_textos(uno, nullptr, origen, destino, MOTOR_PSEUDOTRADUCCION, nullptr);
  const std::string vuelta = toma(conv_wcad_a_utf8(lista_wcad_dame(traducido, 0)));
  for (lista_wcad_t **l : {&traducido, &uno}) lista_wcad_destruye(l);
  return toma(conv_utf8_a_ansi_html(pseudo_restaura(vuelta, p.piezas).c_str(), destino));
}

TEST_F(Comando, PseudotraduceLosTextosLargosPorTramosComoEnteros) {
  std::string muchos, referencias, largo;
  for (int i = 0; i < 60000; ++i) muchos += i % 7 == 0 ? "\xC3\xA9<b>a&amp;" : "x< {";
  for (int i = 0; i < 50000; ++i) referencias += "&lt;";
  // A piece longer than a slice, between runs, whose characters a cut could split.
  largo = "antes <span translate=no>";
  for (int i = 0; i < 100000; ++i) largo += "\xC3\xB1";
  largo += "</span> despu\xC3\xA9s";
  const std::vector<std::string> utf8 = {muchos, referencias, largo, "", "sin nada"};
  for (const auto &[origen, destino] :
       {std::pair{0x0409u, 0x0409u}, std::pair{0x0C0Au, 0x0419u}, std::pair{0x0411u, 0x0411u}}) {
    Textos propios, enteros;
    for (const std::string &t : utf8)
      propios.push_back(toma(conv_utf8_a_ansi_html(t.c_str(), origen)));
    for (const std::string &t : propios)
      enteros.push_back(pseudo_entero(t.c_str(), origen, destino));
    lista_cad_t *textos = a_lista(propios);
    const char *sin_cambio = lista_cad_dame(textos, 1);
    std::vector<std::string> mensajes;
    pseudo_traduce(textos, nullptr, origen, destino, &mensajes);
    ASSERT_EQ(lista_cad_num_elems(textos), utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i)
      EXPECT_EQ(lista_cad_dame(textos, static_cast<uint32_t>(i)), enteros[i])
          << i << " in " << origen << " to " << destino;
    // References alone come back as they were: the text stays, not a copy of it.
    if (conv_pagina_de_codigos(origen) == conv_pagina_de_codigos(destino)) {
      EXPECT_EQ(lista_cad_dame(textos, 1), sin_cambio);
    }
    EXPECT_NE(std::string(lista_cad_dame(textos, 0)), utf8[0]);
    EXPECT_TRUE(mensajes.empty());
    lista_cad_destruye(&textos);
  }
}

TEST_F(Comando, IdiomasPorNombreONumero) {
  struct Caso {
    const char *texto;
    uint32_t idioma;
    const char *nombre = "";  // the PO header's Language
  };
  const Caso casos[] = {
      {.texto = "0x0C0A", .idioma = 0x0C0A, .nombre = "es_ES"},
      {.texto = "0X040a", .idioma = 0x040A, .nombre = "es_ES"},  // the sort order is no part
      {.texto = "es_ES", .idioma = 0x0C0A, .nombre = "es_ES"},
      {.texto = "es", .idioma = 0x000A, .nombre = "es"},
      {.texto = "pt-BR", .idioma = 0x0416, .nombre = "pt_BR"},
      {.texto = "ja", .idioma = 0x0011, .nombre = "ja"},
      {.texto = "0x4C0A", .idioma = 0x4C0A, .nombre = "es_NI"},
      {.texto = "0x081A", .idioma = 0x081A, .nombre = "sr_Latn_CS"},
  };
  for (const Caso &c : casos) {
    EXPECT_EQ(idiomas_lee(c.texto), c.idioma) << c.texto;
    EXPECT_EQ(idiomas_nombre(c.idioma), c.nombre) << c.texto;
  }
  // Neither ICU nor Windows knows these: no language is taken silently.
  for (const char *t :
       {"0", "0x7FFF", "0x0400", "und", "xx_YY", "", " 9", "es ES", "99999999999999999999"})
    EXPECT_EQ(idiomas_lee(t), std::nullopt) << t;
}

}  // namespace
}  // namespace pruebas
