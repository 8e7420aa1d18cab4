// robustez.cpp - the command under misuse: devices and pipes as outputs, a full standard
// output, runs sharing a link table, a signal mid-run, unreadable folders, names in bytes.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "comando.h"

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

TEST_F(Comando, DosEjecucionesCompartenUnaTablaSinPerderRegistros) {
  constexpr int kPaginas = 300;
  for (const char *sitio : {"a", "b"}) {
    fs::create_directories(ruta(sitio));
    for (int i = 1; i <= kPaginas; ++i)
      escribe(std::string(sitio) + "/p" + std::to_string(i) + ".html",
              "<a href=\"" + std::string(sitio) + "/" + std::to_string(i) +
                  ".html\">x</a><a href=\"comun.html\">c</a><img src=\"" + sitio +
                  std::to_string(i) + ".png\" alt=\"\">");
  }
  const std::string l = LENGUAWEB_CLI;
  const Salida juntas = corre("(" + l + " links a -o pa --links t & " + l +
                                  " links b -o pb --links t & wait %1 && wait %2)",
                              {});
  ASSERT_EQ(juntas.estado, 0) << juntas.errores;
  // Every record of both runs: a page and an image of each page, and the shared target once.
  const std::string lista = lenguaweb({"links", "--list", "t"}).salida;
  EXPECT_EQ(std::count(lista.begin(), lista.end(), '\n'), 1 + 4 * kPaginas + 1);
  EXPECT_FALSE(fs::exists(ruta("t.lock")));
  for (const std::string p : {"a/p1", "b/p300"}) {
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
  ::kill(hijo, SIGTERM);
  int estado = 0;
  ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
  EXPECT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGTERM) << estado;
  EXPECT_EQ(cuenta_con(carpeta_, ".tmp"), 0u);
  EXPECT_FALSE(fs::exists(ruta("t.lock")));
  EXPECT_FALSE(fs::exists(ruta("pre.html")));
  EXPECT_TRUE(fs::is_empty(ruta("tmp"))) << "the run's utilities folder is left";
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

TEST_F(Comando, UnNombreQueNoEsUtf8) {
  escribe("caf\xE9.html", "<title>Hi</title>");
  ASSERT_EQ(lenguaweb({"extract", "caf\xE9.html", "-t", "en", "-o", "caf\xE9.po"}).estado, 0);
  const std::string po = lee(ruta("caf\xE9.po"));
  EXPECT_NE(po.find("\"X-Lenguaweb-Page: caf\\\\xE9.html\\n\""), std::string::npos) << po;
  EXPECT_EQ(corre(LENGUAWEB_MSGFMT, {"--check", "-o", "/dev/null", "caf\xE9.po"}).errores, "");
  EXPECT_EQ(lenguaweb({"merge", "caf\xE9.html", "caf\xE9.po", "-o", "s.html"}).estado, 0);
  EXPECT_EQ(lenguaweb({"pseudo", "nad\xE9.html", "-o", "s.html"}).errores,
            "lenguaweb: cannot read 'nad\\xE9.html': No such file or directory\n");
}

}  // namespace
