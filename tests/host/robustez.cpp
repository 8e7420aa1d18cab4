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

namespace {

using pruebas::Comando;
using pruebas::Salida;
using pruebas::Textos;
namespace fs = std::filesystem;

// The files of a folder whose names hold texto.
size_t cuenta_con(const fs::path &carpeta, const std::string &texto) {
  size_t n = 0;
  for (const auto &e : fs::directory_iterator(carpeta))
    n += e.path().filename().string().find(texto) != std::string::npos;
  return n;
}

TEST_F(Comando, SalidasQueNoSonFicherosNuevosSeConservan) {
  escribe("p.html", "<title>Hi</title><a href=\"x.html\">x</a>");
  ASSERT_EQ(::mkfifo(ruta("tubo").c_str(), 0600), 0);
  std::string leido;
  std::thread lector([&] { leido = lee(ruta("tubo")); });
  const Salida r = lenguaweb({"extract", "p.html", "-o", "tubo"});
  lector.join();
  EXPECT_EQ(r.estado, 0) << r.errores;
  EXPECT_NE(leido.find("msgid \"Hi\""), std::string::npos);
  EXPECT_TRUE(fs::is_fifo(ruta("tubo")));
  // A symbolic link stays, and the file it names keeps its permission bits.
  escribe("real.po", "");
  fs::permissions(ruta("real.po"), fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real.po", ruta("enlace.po"));
  ASSERT_EQ(lenguaweb({"extract", "p.html", "-o", "enlace.po"}).estado, 0);
  EXPECT_TRUE(fs::is_symlink(ruta("enlace.po")));
  EXPECT_NE(lee(ruta("real.po")).find("msgid \"Hi\""), std::string::npos);
  EXPECT_EQ(fs::status(ruta("real.po")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);

  if (::geteuid() != 0) GTEST_SKIP() << "device nodes need root: the device cases did not run";
  if (::mknod(ruta("nulo").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
      ::mknod(ruta("lleno").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
    GTEST_SKIP() << "mknod refused here: the device cases did not run";
  struct Caso {
    Textos argumentos;
    int estado;
    std::string errores;
  };
  // clang-format off
  const Caso casos[] = {
      {.argumentos = {"extract", "p.html", "-o", "nulo"}, .estado = 0, .errores = ""},
      {.argumentos = {"pseudo", "p.html", "-o", "nulo"}, .estado = 0, .errores = ""},
      {.argumentos = {"links", "p.html", "-o", "nulo", "--links", "t"}, .estado = 0, .errores = ""},
      {.argumentos = {"extract", "p.html", "-o", "lleno"}, .estado = 2,
       .errores = "lenguaweb: cannot write 'lleno': No space left on device\n"},
      {.argumentos = {"pseudo", "p.html", "-o", "lleno"}, .estado = 2,
       .errores = "lenguaweb: cannot write 'lleno': No space left on device\n"},
  };
  // clang-format on
  for (const Caso &c : casos) {
    SCOPED_TRACE(testing::PrintToString(c.argumentos));
    const Salida s = lenguaweb(c.argumentos);
    EXPECT_EQ(s.estado, c.estado);
    EXPECT_EQ(s.errores, c.errores);
    EXPECT_TRUE(fs::is_character_file(ruta(c.argumentos[3])));
    EXPECT_EQ(cuenta_con(carpeta_, ".tmp"), 0u);
  }
}

TEST_F(Comando, LaSalidaEstandarLlenaEsUnError) {
  escribe("p.html", "<title>Hi</title><a href=\"x.html\">x</a>");
  fs::create_directories(ruta("sitio"));
  escribe("sitio/a.html", "<p>a</p>");
  ASSERT_EQ(lenguaweb({"links", "p.html", "-o", "q.html", "--links", "t"}).estado, 0);
  for (const Textos &argumentos :
       {Textos{"extract", "p.html", "-o", "-"}, Textos{"links", "--list", "t"}, Textos{"--help"}}) {
    SCOPED_TRACE(testing::PrintToString(argumentos));
    const Salida r = lenguaweb(argumentos, "/dev/full");
    EXPECT_EQ(r.estado, 2);
    EXPECT_EQ(r.errores, "lenguaweb: cannot write 'standard output': No space left on device\n");
  }
}

TEST_F(Comando, EjecucionesQueCompartenUnaTablaPorVariosNombresNoPierdenRegistros) {
  constexpr int kPaginas = 200;
  const Textos sitios = {"a", "b", "c"};
  for (const std::string &sitio : sitios) {
    fs::create_directories(ruta(sitio));
    for (int i = 1; i <= kPaginas; ++i)
      escribe(sitio + "/p" + std::to_string(i) + ".html",
              "<a href=\"" + sitio + "/" + std::to_string(i) +
                  ".html\">x</a><a href=\"comun.html\">c</a><img src=\"" + sitio +
                  std::to_string(i) + ".png\" alt=\"\">");
  }
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
    ASSERT_EQ(lenguaweb({"extract", pre + ".html"}).estado, 0);
    const Salida r =
        lenguaweb({"merge", pre + ".html", pre + ".pot", "-o", "f.html", "--links", "t"});
    EXPECT_EQ(r.estado, 0) << r.errores;
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

// A file past the size limit is a failed write: the run ends with an error, the old file
// in place and no temporary file left.
TEST_F(Comando, UnFicheroDemasiadoGrandeEsUnErrorDeEscritura) {
  // Markup makes the page large, not its texts, which the library also writes out.
  std::string pagina = "<p>Hello</p>";
  while (pagina.size() < 100000) pagina += "<br class=\"" + std::string(40, 'x') + "\">\n";
  escribe("p.html", pagina);
  escribe("s.html", "old");
  const Salida r =
      corre("ulimit -f 64 && " + std::string(LENGUAWEB_CLI), {"pseudo", "p.html", "-o", "s.html"});
  EXPECT_EQ(r.estado, 2);
  EXPECT_EQ(r.errores, "lenguaweb: cannot write 's.html': File too large\n");
  EXPECT_EQ(lee(ruta("s.html")), "old");
  EXPECT_EQ(cuenta_con(carpeta_, ".tmp"), 0u);
}

TEST_F(Comando, UnaSubcarpetaIlegibleSeNombraYElRestoSigue) {
  for (const char *carpeta : {"sitio/a", "sitio/b", "sitio/c", "fuera"})
    fs::create_directories(ruta(carpeta));
  for (const char *pagina : {"sitio/a/1.html", "sitio/b/2.html", "sitio/c/3.html"})
    escribe(pagina, "<p>x</p>");
  fs::permissions(ruta("sitio/b"), fs::perms::none);
  // Root reads any folder: the run is then made as nobody, into a folder open to all.
  std::string programa = LENGUAWEB_CLI;
  if (::geteuid() == 0) {
    fs::permissions(ruta("fuera"), fs::perms::all);
    programa = "setpriv --reuid=65534 --regid=65534 --clear-groups " + programa;
  }
  const Salida r = corre(programa, {"pseudo", "sitio", "-o", "fuera"});
  fs::permissions(ruta("sitio/b"), fs::perms::owner_all);
  EXPECT_EQ(r.estado, 1);
  EXPECT_EQ(r.errores,
            "lenguaweb: cannot read the folder 'sitio/b': Permission denied\n"
            "2 pages of sitio: 2 written under fuera; 1 folder could not be read\n");
  EXPECT_TRUE(fs::exists(ruta("fuera/c/3.html")));
}

TEST_F(Comando, LosMensajesMuestranEscapadoLoQueNoEsTexto) {
  escribe("caf\xE9.html", "<title>Hi</title>");
  ASSERT_EQ(lenguaweb({"extract", "caf\xE9.html", "-t", "en", "-o", "caf\xE9.po"}).estado, 0);
  const std::string po = lee(ruta("caf\xE9.po"));
  EXPECT_NE(po.find("\"X-Lenguaweb-Page: caf\\\\xE9.html\\n\""), std::string::npos) << po;
  EXPECT_EQ(corre(LENGUAWEB_MSGFMT, {"--check", "-o", "/dev/null", "caf\xE9.po"}).errores, "");
  EXPECT_EQ(lenguaweb({"merge", "caf\xE9.html", "caf\xE9.po", "-o", "s.html"}).estado, 0);
  // A byte that is not UTF-8, and a terminal's commands (C0, DEL, C1) from a name or a PO file.
  escribe("t.html", "<title>Hi</title>");
  escribe("mando.po", "msgctxt \"\x1B]0;x\x07\"\nmsgid \"Other\"\nmsgstr \"y\"\n");
  struct Caso {
    Textos argumentos;
    std::string errores;
  };
  const Caso casos[] = {
      {.argumentos = {"pseudo", "nad\xE9.html", "-o", "s.html"},
       .errores = "lenguaweb: cannot read 'nad\\xE9.html': No such file or directory\n"},
      {.argumentos = {"pseudo", "\x1B[2J\x7F\xC2\x9B.html", "-o", "s.html"},
       .errores = "lenguaweb: cannot read '\\x1B[2J\\x7F\\xC2\\x9B.html': No such file or "
                  "directory\n"},
      {.argumentos = {"merge", "t.html", "mando.po", "-o", "s.html"},
       .errores = "(msgctxt \"\\x1B]0;x\\x07\":"},
  };
  for (const Caso &c : casos) {
    SCOPED_TRACE(testing::PrintToString(c.argumentos));
    const Salida r = lenguaweb(c.argumentos);
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.errores.find(c.errores), std::string::npos) << r.errores;
    EXPECT_EQ(r.errores.find_first_of("\x07\x1B\x7F"), std::string::npos) << r.errores;
  }
}

// An output never overwrites a file that the run reads, by whatever name it reaches it;
// the run names it and goes on with the other pages.
TEST_F(Comando, NingunaSalidaPisaUnaEntrada) {
  struct Caso {
    const char *nombre;
    std::vector<std::pair<std::string, std::string>> ficheros{},
        enlaces{};  // path, contents/target
    Textos argumentos;
    std::string errores;
    std::string intacto;  // a file that must keep its contents
  };
  const Caso casos[] = {
      {.nombre = "the pages' folder inside the output folder",
       .ficheros = {{"s/sub/a.html", "<p>one</p>"}, {"s/sub/sub/a.html", "<p>two</p>"}},
       .argumentos = {"pseudo", "s/sub", "-o", "s"},
       .errores = "lenguaweb: the output 's/sub/a.html' is 's/sub/a.html', which this run reads: "
                  "an output never overwrites an input\n",
       .intacto = "s/sub/a.html"},
      {.nombre = "a link in the output folder to a page",
       .ficheros = {{"site/a.html", "<p>one</p>"}, {"site/b.html", "<p>two</p>"}},
       .enlaces = {{"fuera/b.html", "../site/a.html"}},
       .argumentos = {"pseudo", "site", "-o", "fuera"},
       .errores = "lenguaweb: the output 'fuera/b.html' is 'site/a.html', which this run reads: "
                  "an output never overwrites an input\n",
       .intacto = "site/a.html"},
      {.nombre = "a link in the output folder that leads out of it",
       .ficheros = {{"site/a.html", "<p>one</p>"},
                    {"site/c/b.html", "<p>two</p>"},
                    {"otro/b.html", "<p>keep</p>"}},
       .enlaces = {{"fuera/c", "../otro"}},
       .argumentos = {"pseudo", "site", "-o", "fuera"},
       .errores = "lenguaweb: the output 'fuera/c/b.html' is written through 'fuera/c', a symbolic "
                  "link that leads out of 'fuera'\n",
       .intacto = "otro/b.html"},
  };
  for (const Caso &c : casos) {
    SCOPED_TRACE(c.nombre);
    fs::remove_all(carpeta_);
    for (const auto &[camino, contenido] : c.ficheros) {
      fs::create_directories(ruta(camino.substr(0, camino.rfind('/'))));
      escribe(camino, contenido);
    }
    for (const auto &[camino, destino] : c.enlaces) {
      fs::create_directories(ruta(camino.substr(0, camino.rfind('/'))));
      fs::create_symlink(destino, ruta(camino));
    }
    const std::string antes = lee(ruta(c.intacto));
    const Salida r = lenguaweb(c.argumentos);
    EXPECT_EQ(r.estado, 1);
    // The refusal, then the run's summary: the other page is written.
    EXPECT_EQ(r.errores.substr(0, c.errores.size()), c.errores);
    EXPECT_NE(r.errores.find("1 written", c.errores.size()), std::string::npos) << r.errores;
    EXPECT_EQ(lee(ruta(c.intacto)), antes);
  }
}

// "-o -" is standard output for every subcommand, even for a page named "-".
TEST_F(Comando, GuionEsLaSalidaEstandar) {
  escribe("-", "<title>Hi</title><a href=\"x.html\">x</a>");
  ASSERT_EQ(lenguaweb({"extract", "-", "-o", "x.po"}).estado, 0);
  const std::pair<Textos, std::string> casos[] = {
      {{"extract", "-", "-o", "-"}, "msgid \"Hi\""},
      {{"update", "-", "x.po", "-o", "-"}, "msgid \"Hi\""},
      {{"merge", "-", "x.po", "-o", "-"}, "<title>Hi</title>"},
      {{"pseudo", "-", "-o", "-"}, "<title>[H"},
      {{"links", "-", "-o", "-", "--links", "t"}, "href=\"@|x.html\""},
  };
  for (const auto &[argumentos, parte] : casos) {
    SCOPED_TRACE(testing::PrintToString(argumentos));
    const Salida r = lenguaweb(argumentos);
    EXPECT_EQ(r.estado, 0) << r.errores;
    EXPECT_NE(r.salida.find(parte), std::string::npos) << r.salida;
    EXPECT_EQ(lee(ruta("-")), "<title>Hi</title><a href=\"x.html\">x</a>");
  }
}

// A page that can be read only once (a pipe, a named FIFO) is read once; a shell's
// redirection of standard output stays as it is.
TEST_F(Comando, TubosYRedirecciones) {
  escribe("p.html", "<title>Hi</title><p>One</p>");
  ASSERT_EQ(lenguaweb({"pseudo", "p.html", "-o", "ref.html"}).estado, 0);
  const std::string referencia = lee(ruta("ref.html"));
  ASSERT_EQ(::mkfifo(ruta("fifo.html").c_str(), 0600), 0);
  escribe("log", "old\n");
  const std::string l = LENGUAWEB_CLI;
  struct Caso {
    std::string orden, leido, esperado;
  };
  const Caso casos[] = {
      {.orden = "cat p.html | timeout 20 " + l + " pseudo /dev/stdin -o s.html",
       .leido = "s.html",
       .esperado = referencia},
      {.orden = "(cat p.html >fifo.html &) && timeout 20 " + l + " pseudo fifo.html -o s.html",
       .leido = "s.html",
       .esperado = referencia},
      {.orden = "(" + l + " pseudo p.html -o /dev/stdout >>log)",
       .leido = "log",
       .esperado = "old\n" + referencia},
  };
  for (const Caso &c : casos) {
    SCOPED_TRACE(c.orden);
    fs::remove(ruta("s.html"));
    const Salida r = corre(c.orden, {});
    EXPECT_EQ(r.estado, 0) << r.errores;
    EXPECT_EQ(lee(ruta(c.leido)), c.esperado);
  }
}

// links puts its pages in place once the table is saved, but holds no file open for each.
TEST_F(Comando, LinksConPocosDescriptores) {
  fs::create_directories(ruta("sitio"));
  for (int i = 0; i < 120; ++i)
    escribe("sitio/p" + std::to_string(i) + ".html",
            "<a href=\"" + std::to_string(i) + ".html\">x</a>");
  const Salida r = corre("ulimit -n 64 && " + std::string(LENGUAWEB_CLI),
                         {"links", "sitio", "-o", "pre", "--links", "t"});
  EXPECT_EQ(r.estado, 0) << r.errores;
  EXPECT_EQ(r.errores, "120 pages of sitio: 120 written under pre\n");
  EXPECT_NE(lee(ruta("pre/p119.html")).find("@|119.html"), std::string::npos);
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
