// taller.cpp - a translator's work through the command, step by step: what was translated
// is never lost, and each common mistake is named.
#include <filesystem>
#include <string>

#include "comando.h"

namespace pruebas {
namespace {

TEST_F(Comando, NingunaTraduccionSePierdeSinPedirlo) {
  // What msgfmt --statistics says of a file, as a step's standard error.
  const std::string estadistica = LENGUAWEB_MSGFMT " --statistics -o /dev/null",
                    nada = "0 translated messages, 5 untranslated messages.\n",
                    todas = "5 translated messages.\n", l = "lenguaweb: ";
  const Orden pasos[] = {
      // A template beside the page, as xgettext writes one.
      {.ficheros = {{"a.html", lee(LENGUAWEB_DATOS_HOST "/repetida.html")},
                    {"b.html", "<title>Other</title>"}},
       .argumentos = {"extract", "a.html"}},
      {.programa = estadistica, .argumentos = {"a.pot"}, .errores = nada},
      {.programa = gettext("msgen"), .argumentos = {"a.pot", "-o", "a.po"}},
      // Extracted again onto the translated file: updated, not replaced.
      {.argumentos = {"extract", "a.html", "-o", "a.po"},
       .errores = l + "a.po holds 5 translations: updated as update does, every one kept "
                      "(--force replaces it)\n"},
      {.programa = estadistica, .argumentos = {"a.po"}, .errores = todas},
      {.argumentos = {"extract", "b.html", "-o", "a.po"},
       .estado = 2,
       .errores = l + "a.po holds 5 translations of another page, 'a.html', which extract would "
                      "replace: --force replaces them\n"},
      // update writes over its old PO file, as msgmerge -U does.
      {.argumentos = {"update", "a.html", "a.po", "-o", "a.po"}},
      // Mistakes, each named, nothing written.
      {.argumentos = {"merge", "a.po", "a.html", "-o", "x.html"},
       .estado = 2,
       .errores = l + "'a.po' is a PO file and 'a.html' is not: the page comes first (lenguaweb "
                      "merge PAGE PO -o OUTPUT)\n"},
      {.argumentos = {"-v", "mrge", "a.html"},
       .estado = 2,
       .errores = l + "unknown subcommand 'mrge': the subcommands are extract, merge, update, "
                      "links, pseudo and check (lenguaweb --help tells more)\n"},
      {.argumentos = {"update", "b.html", "a.po", "-o", "b.po"},
       .estado = 2,
       .errores = l + "a.po: a PO file of another page: its X-Lenguaweb-Page is 'a.html', not "
                      "'b.html' (--any-page takes it all the same)\n"},
      {.programa = estadistica, .argumentos = {"a.po"}, .errores = todas},
      // A merge counts entries, as msgfmt does.
      {.argumentos = {"merge", "a.html", "a.po", "-o", "x.html"},
       .errores = "a.html: 5 of 5 entries translated\n"},
      // Replaced only when asked.
      {.argumentos = {"extract", "a.html", "-o", "a.po", "--force"}},
      {.programa = estadistica, .argumentos = {"a.po"}, .errores = nada},
  };
  for (const Orden &p : pasos) comprueba(p);
  EXPECT_FALSE(fs::exists(ruta("b.po")));
}

// A translator's week on a site: commands, edits of the pages, and checks of the files
// that must be there and of the translations a PO file holds.
TEST_F(Comando, UnaSemanaDeTraduccionDeUnSitio) {
  const std::string datos = LENGUAWEB_DATOS_PRUEBA "/";
  for (const char *pagina :
       {"python_bisect.html", "libffi_the_basics.html", "xfig_introduction.html"})
    escribe(std::string("sitio/") + pagina, lee(datos + pagina));
  escribe("sitio/estilo.css", "p { color: black }");
  escribe("sitio/img/logo.png", "PNG");
  // Each template that has no PO file yet becomes one, and every PO file is filled.
  const std::string traduce =
                        "(for t in po/*.pot; do [ -e ${t%t} ] || cp $t ${t%t}; done && "
                        "for p in po/*.po; do " +
                        gettext("msgen") + " $p -o $p || exit 1; done)",
                    estadistica = LENGUAWEB_MSGFMT " --statistics -o /dev/null",
                    bisect = "86 translated messages.\n";
  // clang-format off
  const Orden pasos[] = {
      {.argumentos = {"extract", "sitio", "-o", "po"}, .dice = "3 pages of sitio: 3 written under po"},
      {.programa = "ls", .argumentos = {"po/python_bisect.pot", "po/libffi_the_basics.pot"}},
      {.programa = traduce},
      {.programa = estadistica, .argumentos = {"po/python_bisect.po"}, .errores = bisect},
      // Extracted again: the templates are new, the translations where they were.
      {.argumentos = {"extract", "sitio", "-o", "po"}, .dice = "3 written under po"},
      {.programa = estadistica, .argumentos = {"po/python_bisect.po"}, .errores = bisect},
      {.ficheros = {{"sitio/nuevo.html", "<html><body><p>New</p></body></html>"}},
       .programa = "mv sitio/xfig_introduction.html sitio/xfig.html && rm sitio/libffi_the_basics.html"},
      // New pages start from their templates; the PO files of pages gone stay, named.
      {.argumentos = {"update", "sitio", "po", "-o", "po", "-t", "es"},
       .dice = "2 new pages' PO files started from the pages: po/nuevo.po, po/xfig.po; 2 PO files kept whose "
               "pages are gone: po/libffi_the_basics.po, po/xfig_introduction.po"},
      {.programa = "ls", .argumentos = {"po/nuevo.po", "po/xfig_introduction.po", "po/libffi_the_basics.po"}},
      {.programa = estadistica, .argumentos = {"po/python_bisect.po"}, .errores = bisect},
      {.programa = traduce},
      {.programa = estadistica, .argumentos = {"po/nuevo.po"}, .errores = "1 translated message.\n"},
      // Every page and every other file of the site, translated or as it was.
      {.argumentos = {"merge", "sitio", "po", "-o", "es"}, .dice = "3 pages of sitio: 3 written under es; "},
      {.programa = "ls", .argumentos = {"es/python_bisect.html", "es/nuevo.html", "es/xfig.html", "es/estilo.css", "es/img/logo.png"}},
      {.argumentos = {"merge", "sitio", "po", "-o", "solo", "--pages-only"}, .dice = "3 pages of sitio: 3 written under solo; "},
      {.programa = "ls", .argumentos = {"solo/nuevo.html"}},
      // The translated site as a reader sees it: msgen left every text as it was.
      {.argumentos = {"check", "sitio", "es"}, .dice = "3 pages of sitio checked against es: 0 faults, ",
       .salida = "es/nuevo.html:1: untranslated: \"New\"\n"},
      {.argumentos = {"check", "sitio", "es", "--complete"}, .estado = 1, .dice = "; 3 pages at fault"},
      {.ficheros = {{"es/nuevo.html", "<html lang=\"es\"><body><p>Nuevo &lt;b&gt;</p></body></html>"}},
       .programa = "rm es/xfig.html && " LENGUAWEB_CLI, .argumentos = {"check", "sitio", "es"}, .estado = 1,
       .errores = "3 pages of sitio checked against es: 1 fault, 162 texts untranslated, 1 page missing; "
                  "2 pages at fault\n",
       .salida = "es/nuevo.html:1: shows markup as text: \"<b\" in \"Nuevo <b>\"\n"},
  };
  // clang-format on
  for (const Orden &p : pasos) comprueba(p);
  EXPECT_FALSE(fs::exists(ruta("solo/estilo.css")));
  EXPECT_NE(lee(ruta("solo/nuevo.html")).find("<p>New</p>"), npos);
  EXPECT_NE(lee(ruta("solo/nuevo.html")).find("lang=\"es\""), npos);
}

// The classic segmentation gives the texts that the page marks as not to be translated:
// the command offers none of them, and pseudo and merge keep them.
TEST_F(Comando, LoQueNoSeTraduceTambienEnLaSegmentacionClasica) {
  // clang-format off
  const Orden pasos[] = {
      {.ficheros = {{"nt.html", "<p>Run <code class=\"notranslate\">ls -l</code> now <img alt=\"Logo\" translate=\"no\"></p>"}},
       .argumentos = {"extract", "--segments", "classic", "nt.html"}},
      {.programa = "grep", .argumentos = {"-c", "ls -l\\|Logo", "nt.pot"}, .estado = 1, .salida = "0"},
      {.argumentos = {"pseudo", "--segments", "classic", "nt.html", "-o", "p.html"}},
      {.argumentos = {"check", "nt.html", "p.html"}, .errores = "p.html: 0 faults, 0 texts untranslated\n"},
  };
  // clang-format on
  for (const Orden &p : pasos) comprueba(p);
}

// The same site through one catalogue, and translations taken from a compendium: for the
// catalogue's texts, and for a new page's PO file in a folder of them.
TEST_F(Comando, UnSitioEnUnCatalogoYUnCompendio) {
  const std::string estadistica = LENGUAWEB_MSGFMT " --statistics -o /dev/null", l = "lenguaweb: ";
  // clang-format off
  const Orden pasos[] = {
      {.ficheros = {{"sitio/a.html", "<html><body><p>Home</p><p>Welcome</p></body></html>"},
                    {"sitio/sub/b.html", "<html><body><p>Home</p>\n<p>Contact</p></body></html>"},
                    {"sitio/logo.png", "PNG"},
                    {"comp.po", "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                                "msgid \"Goodbye\"\nmsgstr \"Adi\xC3\xB3s\"\n"}},
       .argumentos = {"extract", "sitio", "-o", "sitio.pot"},
       .errores = "2 pages of sitio: 3 entries in sitio.pot (4 in the pages one by one)\n"},
      {.programa = "grep", .argumentos = {"-A1", "#: sitio/a.html:1 sitio/sub/b.html:1", "sitio.pot"}, .salida = "msgid \"Home\""},
      {.programa = "grep", .argumentos = {"-A1", "#: sitio/sub/b.html:2", "sitio.pot"}, .salida = "msgid \"Contact\""},
      {.programa = gettext("msgen"), .argumentos = {"sitio.pot", "-o", "sitio.po"}},
      // Extracted again onto the translated catalogue: updated, not replaced.
      {.argumentos = {"extract", "sitio", "-o", "sitio.po"},
       .errores = l + "sitio.po holds 3 translations: updated as update does, every one kept (--force replaces it)\n"
                      "2 pages of sitio: 3 entries in sitio.po (4 in the pages one by one)\n"},
      {.programa = estadistica, .argumentos = {"sitio.po"}, .errores = "3 translated messages.\n"},
      // A new page: its text that the compendium holds comes translated.
      {.ficheros = {{"sitio/c.html", "<html><body><p>Goodbye</p><p>Home</p></body></html>"}},
       .argumentos = {"update", "sitio", "sitio.po", "-o", "sitio.po", "-C", "comp.po"},
       .errores = "3 pages of sitio: 4 entries in sitio.po (6 in the pages one by one)\n"},
      {.programa = estadistica, .argumentos = {"sitio.po"}, .errores = "4 translated messages.\n"},
      {.argumentos = {"merge", "sitio", "sitio.po", "-o", "es"},
       .errores = "3 pages of sitio: 3 written under es; 6 of 6 entries translated; 1 other file linked or copied\n",
       .fichero = "es/c.html", .contenido = "<meta charset=\"UTF-8\"><html><body><p>Adi\xC3\xB3s</p><p>Home</p></body></html>"},
      {.programa = "ls", .argumentos = {"es/logo.png", "es/a.html", "es/sub/b.html"}},
      {.argumentos = {"check", "sitio", "es"}, .errores = "3 pages of sitio checked against es: 0 faults, 5 texts untranslated\n"},
      {.ficheros = {{"otro/a.html", "<p>Home</p>"}}, .argumentos = {"merge", "otro", "sitio.po", "-o", "x"}, .estado = 2,
       .errores = l + "sitio.po: a PO file of another page: its X-Lenguaweb-Page is 'sitio', not 'otro' (--any-page takes it all the same)\n"},
      // A folder of PO files: a new page's starts from its template and the compendium.
      {.programa = "mkdir por_pagina && " LENGUAWEB_CLI,
       .argumentos = {"update", "sitio", "por_pagina", "-o", "por_pagina", "-t", "es", "-C", "comp.po"},
       .dice = "3 new pages' PO files started from the pages"},
      {.programa = estadistica, .argumentos = {"por_pagina/c.po"}, .errores = "1 translated message, 1 untranslated message.\n"},
  };
  // clang-format on
  for (const Orden &p : pasos) comprueba(p);
}

// A language as gettext names it: what the PO header keeps, and the start of the page
// merged with it; an empty header: refused.
struct Idioma {
  std::string nombre{}, pagina = "en.html", cabecera{}, html{}, og_locale{};
};

TEST_F(Comando, LosIdiomasComoLosEscribeGettext) {
  escribe("en.html",
          "<html><head><title>Home</title><meta property=\"og:locale\" content=\"en_US\"></head>"
          "<body><p>Hello</p></body></html>");
  escribe("ar.html", "<html lang=\"ar\" dir=\"rtl\"><head><title>\xD9\x86\xD8\xB5</title></head>");
  // clang-format off
  const Idioma idiomas[] = {
      {.nombre = "eo", .cabecera = "eo", .html = "<html lang=\"eo\"><head>"},
      {.nombre = "yue", .cabecera = "yue", .html = "<html lang=\"yue\"><head>"},
      {.nombre = "pt_BR.UTF-8", .cabecera = "pt_BR", .html = "<html lang=\"pt-BR\"><head>"},
      {.nombre = "sr_RS@latin", .cabecera = "sr_RS@latin", .html = "<html lang=\"sr-Latn-RS\">", .og_locale = "sr_RS"},
      {.nombre = "ca@valencia", .cabecera = "ca@valencia", .html = "<html lang=\"ca-valencia\">", .og_locale = "ca"},
      {.nombre = "zh_TW", .cabecera = "zh_TW", .html = "<html lang=\"zh-TW\"><head>"},
      {.nombre = "ar", .cabecera = "ar", .html = "<html lang=\"ar\" dir=\"rtl\"><head>"},
      {.nombre = "ckb", .cabecera = "ckb", .html = "<html lang=\"ckb\" dir=\"rtl\"><head>"},
      {.nombre = "en", .pagina = "ar.html", .cabecera = "en",
       .html = "<html lang=\"en\" dir=\"ltr\"><head>"},
      {.nombre = "xx"},
      {.nombre = "es_XX_YY"},
  };
  // clang-format on
  for (const Idioma &i : idiomas) {
    SCOPED_TRACE(i.nombre);
    const Salida r = lenguaweb({"extract", i.pagina, "-t", i.nombre, "-o", "t.po", "--force"});
    if (i.cabecera.empty()) {
      EXPECT_EQ(r.estado, 2);
      EXPECT_NE(r.errores.find("is not a known language: give a locale name"), npos);
      continue;
    }
    ASSERT_EQ(r.estado, 0) << r.errores;
    EXPECT_NE(lee(ruta("t.po")).find("\"Language: " + i.cabecera + "\\n\""), npos);
    bien({"t.po", "-o", "t.po"}, gettext("msgen"));
    bien({"merge", i.pagina, "t.po", "-o", "t.html"});
    EXPECT_EQ(lee(ruta("t.html")).substr(0, i.html.size()), i.html);
    if (!i.og_locale.empty()) {
      EXPECT_NE(lee(ruta("t.html")).find("og:locale\" content=\"" + i.og_locale + "\""), npos);
    }
  }
}

}  // namespace
}  // namespace pruebas
