// robustez.cpp - the command under misuse: devices and pipes as outputs, a full standard
// output, runs sharing a link table, a signal mid-run, unreadable folders, names in bytes.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "comando.h"
#include "salida.h"

namespace pruebas {
namespace {

TEST_F(Comando, SalidasQueNoSonFicherosNuevosSeConservan) {
  escribe("p.html", "<title>Hi</title><a href=\"x.html\">x</a>");
  // A named FIFO stays one; a symbolic link stays, and the file it names keeps its permission bits.
  comprueba(
      {.programa = std::string("mkfifo tubo && { ") + LENGUAWEB_CLI +
                   " extract p.html -o tubo & timeout 20 cat tubo; wait $! && test -p tubo; }",
       .salida = "msgid \"Hi\""});
  escribe("real.po", "");
  fs::permissions(ruta("real.po"), fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real.po", ruta("enlace.po"));
  bien({"extract", "p.html", "-o", "enlace.po"});
  EXPECT_TRUE(fs::is_symlink(ruta("enlace.po")));
  EXPECT_NE(lee(ruta("real.po")).find("msgid \"Hi\""), npos);
  EXPECT_EQ(fs::status(ruta("real.po")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);

  if (::geteuid() != 0) GTEST_SKIP() << "device nodes need root: the device cases did not run";
  if (::mknod(ruta("nulo").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
      ::mknod(ruta("lleno").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
    GTEST_SKIP() << "mknod refused here: the device cases did not run";
  const std::string lleno = "lenguaweb: cannot write 'lleno': No space left on device\n";
  for (const Orden &o :
       {Orden{.argumentos = {"extract", "p.html", "-o", "nulo"}},
        Orden{.argumentos = {"pseudo", "p.html", "-o", "nulo"}},
        Orden{.argumentos = {"links", "p.html", "-o", "nulo", "--links", "t"}},
        Orden{.argumentos = {"extract", "p.html", "-o", "lleno"}, .estado = 2, .errores = lleno},
        Orden{.argumentos = {"pseudo", "p.html", "-o", "lleno"}, .estado = 2, .errores = lleno}}) {
    comprueba(o);
    EXPECT_TRUE(fs::is_character_file(ruta(o.argumentos[3])));
  }
}

// Full or limited outputs, pages read once, "-o -", names in bytes: each run does its work
// or names what went wrong.
TEST_F(Comando, SalidasLimitesYNombres) {
  const std::string
      pagina = "<title>Hi</title><a href=\"x.html\">x</a>",
      l = LENGUAWEB_CLI,
      pseudo = "<meta charset=\"UTF-8\"><title>[H\xC3\xAD]</title><p>[\xC3\x93n\xC3\xA9]</p>",
      lleno = "lenguaweb: cannot write 'standard output': No space left on device\n";
  // Markup makes a page large, not its texts, which the library also writes out.
  std::string grande = "<p>Hello</p>";
  while (grande.size() < 100000) grande += "<br class=\"" + std::string(40, 'x') + "\">\n";
  Ficheros sitio;
  for (int i = 0; i < 120; ++i)
    sitio.emplace_back("sitio/p" + std::to_string(i) + ".html",
                       "<a href=\"" + std::to_string(i) + ".html\">x</a>");
  // clang-format off
  const Orden ordenes[] = {
      // A full standard output is an error, whatever writes to it.
      {.ficheros = {{"p.html", pagina}}, .argumentos = {"links", "p.html", "-o", "q.html", "--links", "t"}},
      {.argumentos = {"extract", "p.html", "-o", "-"}, .a = "/dev/full", .estado = 2, .errores = lleno},
      {.argumentos = {"links", "--list", "t"}, .a = "/dev/full", .estado = 2, .errores = lleno},
      {.argumentos = {"--help"}, .a = "/dev/full", .estado = 2, .errores = lleno},
      // "-o -" is standard output for every subcommand, even for a page named "-".
      {.ficheros = {{"-", pagina}}, .argumentos = {"extract", "-", "-o", "x.po"}},
      {.argumentos = {"extract", "-", "-o", "-"}, .salida = "msgid \"Hi\"", .fichero = "-", .contenido = pagina},
      {.argumentos = {"update", "-", "x.po", "-o", "-"}, .salida = "msgid \"Hi\"", .fichero = "-", .contenido = pagina},
      {.argumentos = {"merge", "-", "x.po", "-o", "-"}, .errores = "-: 0 of 2 entries translated\n",
       .salida = "<title>Hi</title>", .fichero = "-", .contenido = pagina},
      {.argumentos = {"pseudo", "-", "-o", "-"}, .salida = "<title>[H\xC3\xAD]</title>", .fichero = "-", .contenido = pagina},
      {.argumentos = {"links", "-", "-o", "-", "--links", "t"}, .salida = "href=\"@|x.html\"", .fichero = "-", .contenido = pagina},
      // A page that can be read only once (a pipe, a named FIFO) is read once; a shell's
      // redirection of standard output stays as it is.
      {.ficheros = {{"o.html", "<title>Hi</title><p>One</p>"}}, .programa = "cat o.html | timeout 20 " + l,
       .argumentos = {"pseudo", "/dev/stdin", "-o", "s.html"}, .fichero = "s.html", .contenido = pseudo},
      {.programa = "mkfifo fifo.html && (cat o.html >fifo.html &) && timeout 20 " + l,
       .argumentos = {"pseudo", "fifo.html", "-o", "f.html"}, .fichero = "f.html", .contenido = pseudo},
      {.ficheros = {{"log", "old\n"}}, .programa = "(" + l + " pseudo o.html -o /dev/stdout >>log)",
       .fichero = "log", .contenido = "old\n" + pseudo},
      // A file past the size limit is a failed write: the old file stays.
      {.ficheros = {{"g.html", grande}, {"s.html", "old"}}, .programa = "ulimit -f 64 && " + l,
       .argumentos = {"pseudo", "g.html", "-o", "s.html"}, .estado = 2,
       .errores = "lenguaweb: cannot write 's.html': File too large\n", .fichero = "s.html", .contenido = "old"},
      // links puts its pages in place once the table is saved, but holds no file open for each.
      {.ficheros = sitio, .programa = "ulimit -n 64 && " + l,
       .argumentos = {"links", "sitio", "-o", "pre", "--links", "t120"},
       .errores = "120 pages of sitio: 120 written under pre\n",
       .fichero = "pre/p119.html", .contenido = "<a href=\"@|119.html\">x</a>"},
      // A name's byte that is not UTF-8, and a terminal's commands (C0, DEL, C1) from a name
      // or a PO file, are shown escaped.
      {.ficheros = {{"caf\xE9.html", "<title>Hi</title>"}}, .argumentos = {"extract", "caf\xE9.html", "-t", "en", "-o", "-"},
       .salida = "\"X-Lenguaweb-Page: caf\\\\xE9.html\\n\""},
      {.argumentos = {"extract", "caf\xE9.html", "-t", "en", "-o", "caf\xE9.po"}},
      {.programa = LENGUAWEB_MSGFMT, .argumentos = {"--check", "-o", "/dev/null", "caf\xE9.po"}},
      {.argumentos = {"merge", "caf\xE9.html", "caf\xE9.po", "-o", "s.html"},
       .errores = "caf\\xE9.html: 0 of 1 entry translated\n"},
      {.argumentos = {"pseudo", "nad\xE9.html", "-o", "s.html"}, .estado = 2,
       .errores = "lenguaweb: cannot read 'nad\\xE9.html': No such file or directory\n"},
      {.argumentos = {"pseudo", "\x1B[2J\x7F\xC2\x9B.html", "-o", "s.html"}, .estado = 2,
       .errores = "lenguaweb: cannot read '\\x1B[2J\\x7F\\xC2\\x9B.html': No such file or directory\n"},
      {.ficheros = {{"mando.po", "msgctxt \"\x1B]0;x\x07\"\nmsgid \"Other\"\nmsgstr \"y\"\n"}},
       .argumentos = {"merge", "p.html", "mando.po", "-o", "s.html"}, .estado = 2,
       .dice = "(msgctxt \"\\x1B]0;x\\x07\":"},
  };
  // clang-format on
  for (const Orden &o : ordenes) comprueba(o);
}

TEST_F(Comando, EjecucionesQueCompartenUnaTablaPorVariosNombresNoPierdenRegistros) {
  constexpr int kPaginas = 200;
  const Textos sitios = {"a", "b", "c"};
  for (const std::string &sitio : sitios)
    for (int i = 1; i <= kPaginas; ++i)
      escribe(sitio + "/p" + std::to_string(i) + ".html",
              "<a href=\"" + sitio + "/" + std::to_string(i) +
                  ".html\">x</a><a href=\"comun.html\">c</a><img src=\"" + sitio +
                  std::to_string(i) + ".png\" alt=\"\">");
  // One table by three names: its own, a link to it (dangling until the first save),
  // and a path through "..".
  fs::create_symlink("t", ruta("enlace"));
  const std::string l = LENGUAWEB_CLI;
  const Salida juntas =
      corre("(" + l + " links a -o pa --links t & " + l + " links b -o pb --links enlace & " + l +
                " links c -o pc --links a/../t & wait %1 && wait %2 && wait %3)",
            {});
  ASSERT_EQ(juntas.estado, 0) << juntas.errores;
  // Every record of the runs: a page and an image of each page, and the shared target once.
  const std::string lista = lenguaweb({"links", "--list", "t"}).salida;
  EXPECT_EQ(std::count(lista.begin(), lista.end(), '\n'), 1 + 2 * 3 * kPaginas + 1);
  EXPECT_FALSE(fs::exists(ruta("t.lock")));
  for (const std::string p : {"a/p1", "b/p200", "c/p7"}) {
    const std::string pre = "p" + p;
    bien({"extract", pre + ".html"});
    bien({"merge", pre + ".html", pre + ".pot", "-o", "f.html", "--links", "t"});
    EXPECT_EQ(lee(ruta("f.html")), lee(ruta(p + ".html")));
  }
}

TEST_F(Comando, UnaSenalNoDejaFicherosTemporales) {
  // A page large enough that the run is still writing it when the signal comes.
  std::string muestra;
  for (const auto &e : fs::directory_iterator(LENGUAWEB_DATOS_PRUEBA))
    if (e.path().extension() == ".html") muestra += lee(e.path().string());
  std::string pagina;
  while (pagina.size() < (8u << 20)) pagina += muestra;
  escribe("p.html", pagina);
  fs::create_directories(ruta("tmp"));

  // Every signal that ends a process and that another process may send.
  for (const int senal :
       {SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGPIPE}) {
    SCOPED_TRACE(strsignal(senal));
    const pid_t hijo = ::fork();
    ASSERT_GE(hijo, 0);
    if (hijo == 0) {
      ::setenv("TMPDIR", ruta("tmp").c_str(), 1);
      const int nulo = ::open("/dev/null", O_WRONLY);
      ::dup2(nulo, STDOUT_FILENO);
      ::dup2(nulo, STDERR_FILENO);
      if (::chdir(carpeta_.c_str()) == 0)
        ::execl(LENGUAWEB_CLI, LENGUAWEB_CLI, "links", "p.html", "-o", "pre.html", "--links", "t",
                static_cast<char *>(nullptr));
      ::_exit(127);
    }
    // The signal comes once the page's temporary file is there.
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (cuenta_con(carpeta_, ".pre.html.") == 0 && std::chrono::steady_clock::now() < limite)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_GT(cuenta_con(carpeta_, ".pre.html."), 0u) << "the run wrote no temporary file in time";
    ::kill(hijo, senal);
    int estado = 0;
    ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
    EXPECT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == senal) << estado;
    EXPECT_EQ(cuenta_con(carpeta_, ".tmp"), 0u);
    EXPECT_FALSE(fs::exists(ruta("t.lock")));
    EXPECT_FALSE(fs::exists(ruta("pre.html")));
    EXPECT_TRUE(fs::is_empty(ruta("tmp"))) << "the run's utilities folder is left";
  }
}

// An unreadable folder, or an output that would overwrite a file that the run reads (by
// whatever name it reaches it), is named, and the run goes on with the other pages.
TEST_F(Comando, UnaPaginaQueFallaSeNombraYElRestoSigue) {
  const std::string pisa = "which this run reads: an output never overwrites an input\n";
  // Root reads any folder: the run is then made as nobody, into a folder open to all.
  const std::string nadie =
      ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  // clang-format off
  const Orden ordenes[] = {
      {.ficheros = {{"sitio/a/1.html", "<p>x</p>"}, {"sitio/b/2.html", "<p>x</p>"}, {"sitio/c/3.html", "<p>x</p>"}},
       .programa = "trap 'chmod 700 sitio/b' EXIT; chmod 0 sitio/b && mkdir -m 777 fuera && " + nadie + LENGUAWEB_CLI,
       .argumentos = {"pseudo", "sitio", "-o", "fuera"}, .estado = 1,
       .errores = "lenguaweb: cannot read the folder 'sitio/b': Permission denied\n"
                  "2 pages of sitio: 2 written under fuera; 1 folder could not be read\n",
       .fichero = "fuera/c/3.html", .contenido = "<p>[x]</p>"},
      // The pages' folder inside the output folder.
      {.ficheros = {{"s/sub/a.html", "<p>one</p>"}, {"s/sub/sub/a.html", "<p>two</p>"}},
       .argumentos = {"pseudo", "s/sub", "-o", "s"}, .estado = 1,
       .errores = "lenguaweb: the output 's/sub/a.html' is 's/sub/a.html', " + pisa +
                  "2 pages of s/sub: 1 written under s, 1 failed\n",
       .fichero = "s/sub/a.html", .contenido = "<p>one</p>"},
      // A link in the output folder to a page.
      {.ficheros = {{"site/a.html", "<p>one</p>"}, {"site/b.html", "<p>two</p>"}},
       .enlaces = {{"fuera/b.html", "../site/a.html"}}, .argumentos = {"pseudo", "site", "-o", "fuera"},
       .estado = 1, .errores = "lenguaweb: the output 'fuera/b.html' is 'site/a.html', " + pisa +
                               "2 pages of site: 1 written under fuera, 1 failed\n",
       .fichero = "site/a.html", .contenido = "<p>one</p>"},
      // A link in the output folder that leads out of it.
      {.ficheros = {{"site/a.html", "<p>one</p>"}, {"site/c/b.html", "<p>two</p>"}, {"otro/b.html", "<p>keep</p>"}},
       .enlaces = {{"fuera/c", "../otro"}}, .argumentos = {"pseudo", "site", "-o", "fuera"}, .estado = 1,
       .errores = "lenguaweb: the output 'fuera/c/b.html' is written through 'fuera/c', a symbolic "
                  "link that leads out of 'fuera'\n2 pages of site: 1 written under fuera, 1 failed\n",
       .fichero = "otro/b.html", .contenido = "<p>keep</p>"},
  };
  // clang-format on
  for (const Orden &o : ordenes) {
    fs::remove_all(carpeta_);
    fs::create_directories(carpeta_);
    comprueba(o);
  }
}

// Descriptors 0 to 2 closed at the start are taken, so that no file opened later is one.
TEST_F(Comando, LosDescriptoresDeLaConsolaSeReservan) {
  for (const std::vector<int> &cerrados : {std::vector<int>{2}, {0, 1, 2}, {1}}) {
    const pid_t hijo = ::fork();
    ASSERT_GE(hijo, 0);
    if (hijo == 0) {
      for (int d : cerrados) ::close(d);
      salida_reserva_descriptores();
      const int nuevo = ::open("/dev/null", O_RDONLY);
      const bool bien = nuevo > 2 && ::fcntl(0, F_GETFD) >= 0 && ::fcntl(1, F_GETFD) >= 0 &&
                        ::fcntl(2, F_GETFD) >= 0;
      ::_exit(bien ? 0 : 1);
    }
    int estado = 0;
    ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << cerrados.size();
  }
}

}  // namespace
}  // namespace pruebas
