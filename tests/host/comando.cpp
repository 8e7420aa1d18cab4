// comando.cpp - end-to-end tests of the lenguaweb command and of the README's minimal host.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "po.h"

extern char **environ;

namespace {

namespace fs = std::filesystem;
using Textos = std::vector<std::string>;

struct Salida {
  int estado = -1;
  std::string salida, errores;
};

std::string dato_host(const std::string &nombre) {
  return std::string(LENGUAWEB_DATOS_HOST) + "/" + nombre;
}

class Comando : public pruebas::Entorno {
 protected:
  // Runs a program with its output and errors caught in files of the scratch folder.
  Salida corre(const std::string &programa, const Textos &argumentos) {
    Textos todos = {programa};
    todos.insert(todos.end(), argumentos.begin(), argumentos.end());
    std::vector<char *> argv;
    for (std::string &a : todos) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string salida = ruta("salida.txt"), errores = ruta("errores.txt");
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_addopen(&acciones, 1, salida.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&acciones, 2, errores.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid;
    Salida r;
    if (posix_spawn(&pid, programa.c_str(), &acciones, nullptr, argv.data(), environ) == 0) {
      int estado = 0;
      waitpid(pid, &estado, 0);
      r.estado = WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
    }
    posix_spawn_file_actions_destroy(&acciones);
    r.salida = lee(salida);
    r.errores = lee(errores);
    fs::remove(salida);
    fs::remove(errores);
    return r;
  }
  Salida lenguaweb(const Textos &argumentos) { return corre(LENGUAWEB_CLI, argumentos); }

  // Edits an entry of a PO file as a translator does in a text editor.
  void traduce(const std::string &po, const std::string &contexto, const std::string &traduccion,
               bool difusa = false) {
    std::string texto = lee(po);
    const size_t entrada = texto.find("msgctxt \"" + contexto + "\"\n");
    ASSERT_NE(entrada, std::string::npos) << contexto;
    const size_t vacia = texto.find("msgstr \"\"", entrada);
    ASSERT_NE(vacia, std::string::npos);
    texto.replace(vacia, 9, "msgstr \"" + traduccion + "\"");
    if (difusa) texto.insert(entrada, "#, fuzzy\n");
    std::ofstream(po, std::ios::binary) << texto;
  }

  void msgfmt_acepta(const std::string &po) {
    const Salida r = corre(LENGUAWEB_MSGFMT, {"--check", "-o", "/dev/null", po});
    EXPECT_EQ(r.estado, 0) << r.errores;
    EXPECT_EQ(r.errores, "");
  }

  // Files left in the scratch folder: no temporary or half-written file may stay.
  Textos ficheros() const {
    Textos r;
    for (const auto &e : fs::recursive_directory_iterator(carpeta_))
      if (e.is_regular_file()) r.push_back(e.path().lexically_relative(carpeta_).string());
    std::sort(r.begin(), r.end());
    return r;
  }
};

TEST_F(Comando, ExtraerTraducirYFusionar) {
  const std::string po = ruta("repetida.po");
  const Salida extraida = lenguaweb({"extract", dato_host("repetida.html"), "-o", po});
  ASSERT_EQ(extraida.estado, 0) << extraida.errores;
  msgfmt_acepta(po);
  DocumentoPo documento;
  std::string error;
  ASSERT_TRUE(po_lee(po, &documento, &error)) << error;
  Textos contextos;
  for (const EntradaPo &e : documento.entradas) contextos.push_back(e.contexto + "=" + e.texto);
  // Repeated kinds are told apart; the blank and the empty text have no entry.
  EXPECT_EQ(contextos, (Textos{"TITULO=Home", "TITULO#2=Home", "DESCRIPCION=Same",
                               "DESCRIPCION#2=Same", "PALABRA_CLAVE=k", "PALABRA_CLAVE#2=k",
                               "TEXTO_6=Hello", "TEXTO_9=Hello", "TEXTO_10=Bye <b>now"}));
  EXPECT_EQ(documento.pagina, dato_host("repetida.html"));
  EXPECT_EQ(documento.idioma, 0x0409u);
  EXPECT_NE(lee(po).find("\"Language: en_US\\n\""), std::string::npos);

  traduce(po, "TITULO", "Inicio");
  traduce(po, "DESCRIPCION", "Igual", true);
  traduce(po, "PALABRA_CLAVE#2", "clave");
  traduce(po, "TEXTO_6", "Hola");
  traduce(po, "TEXTO_10", "Adiós <b>ya <script>");
  msgfmt_acepta(po);
  const Salida fusion =
      lenguaweb({"merge", dato_host("repetida.html"), po, "-o", ruta("es.html"), "-t", "0x0C0A"});
  ASSERT_EQ(fusion.estado, 0) << fusion.errores;
  EXPECT_EQ(lee(ruta("es.html")),
            "<html><head><title>Inicio</title><title>Home</title>\n"
            "<meta name=\"description\" content=\"Same\"><meta name=\"description\" "
            "content=\"Same\">\n<meta name=\"keywords\" content=\"k\"><meta name=\"keywords\" "
            "content=\"clave\"></head>\n<body><p>Hola</p><p> </p><img src=\"a.png\" alt=\"\">"
            "<p>Hello</p><p>Adiós <b>ya &lt;script&gt;</b></p></body></html>\n");

  // Standard output takes the same file.
  const Salida a_salida = lenguaweb({"extract", dato_host("repetida.html"), "-o", "-"});
  EXPECT_EQ(a_salida.estado, 0);
  EXPECT_NE(a_salida.salida.find("msgctxt \"TEXTO_10\"\nmsgid \"Bye <b>now\""), std::string::npos);
}

TEST_F(Comando, TraduccionEnOtraPaginaDeCodigos) {
  const std::string pagina = escribe("cafe.html", "<p>Caf\xC3\xA9</p><p>Tea</p><p>Milk</p>");
  ASSERT_EQ(lenguaweb({"extract", pagina, "-o", ruta("cafe.po")}).estado, 0);
  traduce(ruta("cafe.po"), "TEXTO_1", "\xD0\xA7\xD0\xB0\xD0\xB9");
  traduce(ruta("cafe.po"), "TEXTO_2", "Lait \xC3\xA0 la cr\xC3\xA8me");
  ASSERT_EQ(
      lenguaweb({"merge", pagina, ruta("cafe.po"), "-t", "0x0419", "-o", ruta("ru.html")}).estado,
      0);
  // Texts kept as the page has them, and the translation's characters that the target's
  // code page lacks, arrive as references.
  EXPECT_EQ(lee(ruta("ru.html")),
            "<p>Caf&#233;</p><p>\xD0\xA7\xD0\xB0\xD0\xB9</p><p>Lait &#224; la cr&#232;me</p>");
}

TEST_F(Comando, ElPoDeOtraPaginaSeRechaza) {
  const std::string po = ruta("marcado.po");
  ASSERT_EQ(lenguaweb({"extract", dato_host("marcado.html"), "-o", po}).estado, 0);
  const Salida r = lenguaweb({"merge", dato_host("repetida.html"), po, "-o", ruta("x.html")});
  EXPECT_EQ(r.estado, 2);
  EXPECT_NE(
      r.errores.find("lenguaweb: " + po + ": not the PO file of " + dato_host("repetida.html") +
                     ": entry 1 differs: the page has msgctxt \"TITULO\" msgid \"Home\", "
                     "the PO file msgctxt \"TEXTO_0\""),
      std::string::npos)
      << r.errores;
  // One entry fewer: the missing one is named.
  std::string texto = lee(po);
  escribe("marcado.po", texto.substr(0, texto.find("#. TIPO_TEXTO")));
  const Salida corto = lenguaweb({"merge", dato_host("marcado.html"), po, "-o", ruta("x.html")});
  EXPECT_EQ(corto.estado, 2);
  EXPECT_NE(corto.errores.find("entry 1 of the page (msgctxt \"TEXTO_0\" msgid \"Fish &amp; "
                               "chips <b>{cheap}</b> &#8364;5\") is missing"),
            std::string::npos)
      << corto.errores;
  EXPECT_EQ(ficheros(), Textos{"marcado.po"});
}

TEST_F(Comando, EnlacesYVueltaConLaTablaGuardada) {
  const std::string pagina = dato_host("enlaces.html"), tabla = ruta("sitio.tablas");
  const Salida r = lenguaweb({"links", pagina, "-o", ruta("pre.html"), "--links", tabla});
  ASSERT_EQ(r.estado, 0) << r.errores;
  EXPECT_EQ(r.errores, "");
  const std::string pre = lee(ruta("pre.html"));
  EXPECT_EQ(pre,
            "<html><body><p><a href=\"@servidor|/docs|guia.html\">Guide</a> <a "
            "href=\"@|otra.html\">Other</a></p>\n<img src=\"@|img|logo.gif\" alt=\"Logo\">"
            "<a href=\"#arriba\">Up</a><A HREF=\"@|otra.html\">Again</A>\n"
            "<img src=\"@|/img|logo.gif\" alt=\"Root logo\"></body></html>\n");
  const std::string lista =
      "table\tID\tdominio\truta\tnombre_fichero\n"
      "A\tservidor|/docs|guia.html\tservidor\t/docs\tguia.html\n"
      "A\t|otra.html\t\t\totra.html\n"
      "IMG\t|img|logo.gif\t\timg\tlogo.gif\n"
      "IMG\t|/img|logo.gif\t\t/img\tlogo.gif\n";
  EXPECT_EQ(lenguaweb({"links", "--list", tabla}).salida, lista);

  // Preprocessing again with the saved table adds nothing.
  ASSERT_EQ(lenguaweb({"links", pagina, "-o", ruta("pre2.html"), "--links", tabla}).estado, 0);
  EXPECT_EQ(lee(ruta("pre2.html")), pre);
  EXPECT_EQ(lenguaweb({"links", "--list", tabla}).salida, lista);

  // The preprocessed page, extracted and merged through the table, is the page again.
  ASSERT_EQ(lenguaweb({"extract", ruta("pre.html"), "-o", ruta("pre.po")}).estado, 0);
  const Salida vuelta = lenguaweb(
      {"merge", ruta("pre.html"), ruta("pre.po"), "-o", ruta("fin.html"), "--links", tabla});
  ASSERT_EQ(vuelta.estado, 0) << vuelta.errores;
  EXPECT_EQ(lee(ruta("fin.html")), lee(pagina));
}

TEST_F(Comando, PseudoNoRompeEtiquetasNiEntidades) {
  const Salida r = lenguaweb({"pseudo", dato_host("marcado.html"), "-o", ruta("p.html")});
  ASSERT_EQ(r.estado, 0) << r.errores;
  EXPECT_EQ(lee(ruta("p.html")), "<p>[Físh ]&amp;[ chíps ]<b>{[chéáp]}</b> &#8364;[5]</p>\n");
  // The entity left undecoded is summed up in one line, or shown as it comes with -v.
  EXPECT_EQ(r.errores, dato_host("marcado.html") +
                           ": strchr(texto, '&')==NULL (lenguaweb (LENGUAWEB.DLL)) in 1 text: an "
                           "entity such as &amp; or a bare '&' kept as it stands; -v lists each\n");
  const Salida detallada =
      lenguaweb({"pseudo", "-v", dato_host("marcado.html"), "-o", ruta("p.html")});
  EXPECT_EQ(detallada.errores,
            dato_host("marcado.html") + ": strchr(texto, '&')==NULL (lenguaweb (LENGUAWEB.DLL))\n");
}

TEST_F(Comando, PseudoDeUnaCarpeta) {
  const fs::path sitio = carpeta_ / "sitio";
  fs::create_directories(sitio / "sub" / "hondo");
  escribe("sitio/a.html", "<p>Hello</p>");
  escribe("sitio/sub/b.htm", "<title>Bee</title>");
  escribe("sitio/sub/hondo/c.HTML", "<p>Sea</p>");
  escribe("sitio/notas.txt", "<p>not a page</p>");
  // A file where a folder of the mirror tree must go makes the pages under it fail.
  fs::create_directories(carpeta_ / "fuera");
  escribe("fuera/sub", "");
  const Salida r = lenguaweb({"pseudo", sitio.string(), "-o", ruta("fuera"), "-j", "2"});
  EXPECT_EQ(r.estado, 1);
  EXPECT_EQ(r.salida,
            "3 pages of " + sitio.string() + ": 1 written under " + ruta("fuera") + ", 2 failed\n");
  EXPECT_NE(r.errores.find("lenguaweb: cannot create the folder '" + ruta("fuera/sub")),
            std::string::npos)
      << r.errores;
  EXPECT_EQ(lee(ruta("fuera/a.html")), "<p>[Hélló]</p>");

  fs::remove(carpeta_ / "fuera" / "sub");
  const Salida bien = lenguaweb({"pseudo", sitio.string(), "-o", ruta("fuera")});
  EXPECT_EQ(bien.estado, 0) << bien.errores;
  EXPECT_EQ(lee(ruta("fuera/sub/b.htm")), "<title>[Béé]</title>");
  EXPECT_EQ(lee(ruta("fuera/sub/hondo/c.HTML")), "<p>[Séá]</p>");
  EXPECT_FALSE(fs::exists(carpeta_ / "fuera" / "notas.txt"));

  // An output folder inside the pages' folder is not taken for pages.
  for (int vez = 0; vez < 2; ++vez)
    EXPECT_EQ(
        lenguaweb({"pseudo", sitio.string(), "-o", (sitio / "out").string()}).salida,
        "3 pages of " + sitio.string() + ": 3 written under " + (sitio / "out").string() + "\n");
}

TEST_F(Comando, ExtraerYFusionarUnaCarpeta) {
  fs::create_directories(carpeta_ / "sitio" / "sub");
  escribe("sitio/a.html", "<p>One</p>");
  escribe("sitio/a.htm", "<p>Two</p>");
  escribe("sitio/sub/b.html", "<p>Three</p>");
  const std::string sitio = ruta("sitio"), po = ruta("po");
  const Salida extraida = lenguaweb({"extract", sitio, "-o", po});
  EXPECT_EQ(extraida.estado, 1);
  // a.htm sorts first and keeps a.po; a.html would overwrite it.
  EXPECT_EQ(extraida.errores, "lenguaweb: " + sitio +
                                  "/a.html: its PO file would be a.po, which is that of " + sitio +
                                  "/a.htm\n");
  EXPECT_EQ(ficheros(),
            (Textos{"po/a.po", "po/sub/b.po", "sitio/a.htm", "sitio/a.html", "sitio/sub/b.html"}));
  traduce(po + "/sub/b.po", "TEXTO_0", "Tres");

  const Salida fusion = lenguaweb({"merge", sitio, po, "-o", ruta("es")});
  EXPECT_EQ(fusion.estado, 1);
  EXPECT_EQ(fusion.salida,
            "3 pages of " + sitio + ": 2 written under " + ruta("es") + ", 1 failed\n");
  EXPECT_EQ(lee(ruta("es/a.htm")), "<p>Two</p>");
  EXPECT_EQ(lee(ruta("es/sub/b.html")), "<p>Tres</p>");
  EXPECT_FALSE(fs::exists(ruta("es/a.html")));
}

TEST_F(Comando, ErroresConSuEstadoYSinFicheroDeSalida) {
  const std::string pagina = dato_host("repetida.html");
  escribe("sintaxis.po", "msgid \"a\"\nmsgstr \"b\"\nbasura\n");
  escribe("latin1.po", "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n");
  escribe("no_tabla", "hello");
  ASSERT_EQ(lenguaweb({"links", pagina, "-o", ruta("l.html"), "--links", ruta("buena")}).estado, 0);
  const std::string buena = lee(ruta("buena"));
  escribe("truncada", buena.substr(0, buena.size() - 3));
  escribe("larga", buena + "x");
  std::string version = buena;
  version[4 + 21 + 1 + 4] = 9;  // the first record's version byte
  escribe("version", version);
  escribe("fichero", "");
  fs::remove(ruta("l.html"));
  const Textos antes = ficheros();

  struct Caso {
    Textos argumentos;
    std::string mensaje;
  };
  const std::string salida = ruta("salida.html");
  const std::vector<Caso> casos = {
      {{"pseudo", ruta("nada.html"), "-o", salida},
       "lenguaweb: cannot read '" + ruta("nada.html") + "': No such file or directory\n"},
      {{"pseudo", pagina, "-l", "0x10000", "-o", salida}, "-l '0x10000' is not a language"},
      {{"merge", pagina, ruta("sintaxis.po"), "-o", salida, "-t", "x"}, "-t 'x' is not a language"},
      {{"merge", pagina, ruta("sintaxis.po"), "-o", salida},
       "lenguaweb: " + ruta("sintaxis.po") + ":3: keyword \"basura\" unknown\n"},
      {{"merge", pagina, ruta("nada.po"), "-o", salida},
       "lenguaweb: cannot read '" + ruta("nada.po") + "': No such file or directory\n"},
      {{"merge", pagina, ruta("latin1.po"), "-o", salida}, "the PO file is not in UTF-8"},
      {{"links", pagina, "-o", salida, "--links", ruta("truncada")}, "damaged link table file"},
      {{"links", pagina, "-o", salida, "--links", ruta("larga")}, "bytes after the end"},
      {{"links", pagina, "-o", salida, "--links", ruta("version")}, "damaged link table file"},
      {{"links", pagina, "-o", salida, "--links", ruta("no_tabla")}, "not a link table file"},
      {{"links", "--list", ruta("truncada")}, "damaged link table file"},
      {{"links", ruta("nada.html"), "-o", salida, "--links", ruta("nueva")}, "cannot read"},
      {{"links", "--list", ruta("nada")}, "cannot read"},
      {{"merge", pagina, ruta("x.po"), "-o", salida, "--links", ruta("nada")}, "cannot read"},
      {{"pseudo", pagina, "-o", ruta("fichero/salida.html")},
       "lenguaweb: cannot create the folder '" + ruta("fichero") + "'"},
      {{"extract", pagina, "-o", ruta("fichero/x.po")}, "cannot"},
      {{"pseudo", pagina}, "--output is required"},
      {{"links", pagina, "-o", salida}, "links takes PAGE -o OUT --links TABLE"},
      {{}, "A subcommand is required"},
  };
  for (const Caso &caso : casos) {
    std::string nombre;
    for (const std::string &a : caso.argumentos) nombre += a + " ";
    SCOPED_TRACE(nombre);
    const Salida r = lenguaweb(caso.argumentos);
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.errores.find(caso.mensaje), std::string::npos) << r.errores;
    EXPECT_EQ(std::count(r.errores.begin(), r.errores.end(), '\n'), 1) << r.errores;
    EXPECT_EQ(ficheros(), antes);
  }
  EXPECT_EQ(lee(ruta("truncada")), buena.substr(0, buena.size() - 3));
}

// The language of a page of tests/data, by the one its name carries.
const char *idioma_de(const std::string &nombre) {
  if (nombre.find(".ja.") != std::string::npos) return "0x0411";
  if (nombre.find(".ru.") != std::string::npos) return "0x0419";
  if (nombre.find(".zh-cn.") != std::string::npos) return "0x0804";
  if (nombre.find(".es.") != std::string::npos) return "0x0C0A";
  return "0x0409";
}

// A pseudo-translated page without what pseudo-translation adds: brackets around
// runs and accents on vowels (as characters or as references where the code page lacks
// them). Applied to both pages compared, so that what the page had is dropped alike.
std::string sin_decoracion(std::string texto) {
  static const std::vector<std::pair<std::string, std::string>> kCambios = {
      {"[", ""},         {"]", ""},         {"\xC3\xA1", "a"}, {"\xC3\xA9", "e"}, {"\xC3\xAD", "i"},
      {"\xC3\xB3", "o"}, {"\xC3\xBA", "u"}, {"\xC3\x81", "A"}, {"\xC3\x89", "E"}, {"\xC3\x8D", "I"},
      {"\xC3\x93", "O"}, {"\xC3\x9A", "U"}, {"&#225;", "a"},   {"&#233;", "e"},   {"&#237;", "i"},
      {"&#243;", "o"},   {"&#250;", "u"},   {"&#193;", "A"},   {"&#201;", "E"},   {"&#205;", "I"},
      {"&#211;", "O"},   {"&#218;", "U"}};
  for (const auto &[de, a] : kCambios)
    for (size_t p = texto.find(de); p != std::string::npos; p = texto.find(de, p + a.size()))
      texto.replace(p, de.size(), a);
  return texto;
}

// The names of the tags of a page and its character references, in order, but for the
// references that accents on vowels become in a code page that lacks them.
Textos marcas(const std::string &pagina) {
  Textos r;
  for (size_t i = 0; i < pagina.size(); ++i) {
    if (pagina[i] == '<') {
      r.push_back(pagina.substr(i, pagina.find_first_of(" \t\n>", i) - i));
    } else if (pagina[i] == '&') {
      size_t fin = i + 1;
      while (fin < pagina.size() &&
             (std::isalnum(static_cast<unsigned char>(pagina[fin])) || pagina[fin] == '#'))
        ++fin;
      const std::string marca = pagina.substr(i, fin - i + 1);
      if (sin_decoracion(marca).size() != 1) r.push_back(marca);
    }
  }
  return r;
}

TEST_F(Comando, PaginasReales) {
  std::vector<fs::path> paginas;
  for (const auto &e : fs::directory_iterator(LENGUAWEB_DATOS_PRUEBA))
    if (e.path().extension() == ".html") paginas.push_back(e.path());
  if (paginas.empty()) GTEST_SKIP() << "no pages in " << LENGUAWEB_DATOS_PRUEBA;
  for (const fs::path &pagina : paginas) {
    SCOPED_TRACE(pagina.string());
    const char *idioma = idioma_de(pagina.filename().string());
    const std::string po = ruta("p.po");
    ASSERT_EQ(lenguaweb({"extract", pagina.string(), "-l", idioma, "-o", po}).estado, 0);
    msgfmt_acepta(po);
    ASSERT_EQ(lenguaweb({"merge", pagina.string(), po, "-o", ruta("propia.html")}).estado, 0);
    const std::string propia = lee(ruta("propia.html"));

    // Every text given back as its own translation goes through UTF-8 and back unchanged.
    DocumentoPo documento;
    std::string error;
    ASSERT_TRUE(po_lee(po, &documento, &error)) << error;
    for (EntradaPo &e : documento.entradas) e.traduccion = e.texto;
    ASSERT_TRUE(po_graba(po, pagina.string(), *documento.idioma, documento.entradas, &error));
    ASSERT_EQ(lenguaweb({"merge", pagina.string(), po, "-o", ruta("copia.html")}).estado, 0);
    EXPECT_EQ(lee(ruta("copia.html")), propia);

    // Pseudo-translation changes the texts and nothing else: no tag, entity or brace.
    ASSERT_EQ(
        lenguaweb({"pseudo", pagina.string(), "-l", idioma, "-o", ruta("pseudo.html")}).estado, 0);
    const std::string pseudo = lee(ruta("pseudo.html"));
    EXPECT_NE(pseudo, propia);
    EXPECT_EQ(marcas(pseudo), marcas(propia));
    EXPECT_EQ(sin_decoracion(pseudo), sin_decoracion(propia));
  }
  const Salida carpeta = lenguaweb({"pseudo", LENGUAWEB_DATOS_PRUEBA, "-o", ruta("todas")});
  EXPECT_EQ(carpeta.estado, 0) << carpeta.errores;
  for (const fs::path &pagina : paginas) EXPECT_TRUE(fs::exists(ruta("todas") / pagina.filename()));
}

TEST_F(Comando, AnfitrionMinimoDelReadme) {
  const std::string pagina =
      escribe("p.html", "<title>Hi</title><p>One <b>two</b></p><img alt=\"Caf\xC3\xA9\">");
  const Salida r = corre(LENGUAWEB_ANFITRION, {pagina, ruta("fin.html")});
  ASSERT_EQ(r.estado, 0) << r.errores;
  EXPECT_EQ(r.salida, "TITULO\tHi\nTEXTO_1\tOne <b>two\nALTERNATIVO_IMAGEN_2\tCaf\xC3\xA9\n");
  EXPECT_EQ(lee(ruta("fin.html")),
            "<title>[Hi]</title><p>[One <b>two]</b></p><img alt=\"[Caf\xC3\xA9]\">");
}

}  // namespace
