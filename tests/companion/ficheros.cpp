// ficheros.cpp - tests of loading files whole, writing text lists and the utilities folder.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using Ficheros = pruebas::Entorno;
using V = std::vector<std::string>;
namespace fs = std::filesystem;

// Names in the scratch folder, so that a temporary file left behind shows.
V nombres_en(const fs::path &carpeta) {
  V nombres;
  for (const auto &entrada : fs::directory_iterator(carpeta))
    nombres.push_back(entrada.path().filename().string());
  std::sort(nombres.begin(), nombres.end());
  return nombres;
}

TEST_F(Ficheros, LeeElFicheroEnteroConUnNulDentro) {
  const std::string bytes("<p>a\0b</p>\xff\n", 13);
  fichero_memoria_t *f = fichero_memoria_lee(escribe("pagina.html", bytes).c_str());
  EXPECT_EQ(f->leido, CIERTO);
  ASSERT_EQ(f->longitud, bytes.size());
  EXPECT_EQ(std::string(f->contenido, f->longitud), bytes);
  EXPECT_EQ(f->contenido[f->longitud], '\0');
  fichero_memoria_destruye(&f);
  EXPECT_EQ(f, nullptr);

  f = fichero_memoria_lee(escribe("vacio.html", "").c_str());
  EXPECT_EQ(f->leido, CIERTO);
  EXPECT_STREQ(f->contenido, "");
  fichero_memoria_destruye(&f);
  EXPECT_TRUE(informes().empty());
}

TEST_F(Ficheros, LeeHastaElFinalLoQueNoEsUnFicheroNormal) {
  // A pipe has no size: it is read to its end, past any first guess.
  int extremos[2];
  ASSERT_EQ(::pipe(extremos), 0);
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += "line " + std::to_string(i) + "\n";
  ASSERT_GT(bytes.size(), 128 * 1024u);  // more than one block's worth
  const pid_t hijo = ::fork();
  ASSERT_GE(hijo, 0);
  if (hijo == 0) {
    ::close(extremos[0]);
    for (size_t hecho = 0; hecho < bytes.size();) {
      const ssize_t n = ::write(extremos[1], bytes.data() + hecho, bytes.size() - hecho);
      if (n <= 0) ::_exit(1);
      hecho += static_cast<size_t>(n);
    }
    ::_exit(0);
  }
  ::close(extremos[1]);
  const std::string ruta = "/dev/fd/" + std::to_string(extremos[0]);
  fichero_memoria_t *f = fichero_memoria_lee(ruta.c_str());
  ::close(extremos[0]);
  ::waitpid(hijo, nullptr, 0);
  EXPECT_EQ(f->leido, CIERTO);
  EXPECT_EQ(std::string(f->contenido, f->longitud), bytes);
  fichero_memoria_destruye(&f);

  // A regular file whose size says 0 but that has contents.
  f = fichero_memoria_lee("/proc/self/status");
  EXPECT_EQ(f->leido, CIERTO);
  EXPECT_TRUE(std::string(f->contenido, f->longitud).starts_with("Name:"));
  EXPECT_EQ(std::strlen(f->contenido), f->longitud);
  fichero_memoria_destruye(&f);
}

TEST_F(Ficheros, LoQueNoSePuedeLeerDaTextoVacioEInforma) {
  struct Caso {
    std::string ruta, informe;
  } casos[] = {
      {ruta("falta.html"), "cannot read '" + ruta("falta.html") + "': No such file or directory"},
      {carpeta_.string(), "cannot read '" + carpeta_.string() + "': Is a directory"},
  };
  for (const auto &c : casos) {
    olvida_informes();
    fichero_memoria_t *f = fichero_memoria_lee(c.ruta.c_str());
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(f->contenido, "");
    EXPECT_EQ(f->longitud, 0u);
    EXPECT_EQ(f->leido, FALSO);
    ASSERT_EQ(informes().size(), 1u);
    EXPECT_EQ(informes()[0].condicion, c.informe);
    EXPECT_EQ(informes()[0].modulo, "companion");
    fichero_memoria_destruye(&f);
  }
}

TEST_F(Ficheros, SeRechazaUnFicheroDe4GiB) {
  // A sparse file: no disk is used for its 4 GiB - 1 bytes.
  const std::string camino = ruta("enorme.bin");
  const int d = ::open(camino.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(d, 0);
  const bool hecho = ::ftruncate(d, 0xFFFFFFFFll) == 0;
  ::close(d);
  if (!hecho) GTEST_SKIP() << "this file system cannot hold a sparse 4 GiB file";
  fichero_memoria_t *f = fichero_memoria_lee(camino.c_str());
  EXPECT_EQ(f->leido, FALSO);
  EXPECT_STREQ(f->contenido, "");
  EXPECT_EQ(cuenta_informes("cannot read '" + camino + "': File too large"), 1u);
  fichero_memoria_destruye(&f);
}

TEST_F(Ficheros, LosDosEscritoresEscribenSusBytesExactos) {
  lista_cad_t *lista = pruebas::a_lista(V{"uno", "", "tr\xe9s\r"});
  lista_cad_anade_propia(lista, nullptr);  // reported; nothing appended
  olvida_informes();
  char *nulo = nullptr;
  lista_cad_anade_propia(lista, &nulo);  // a null element is written as an empty text
  EXPECT_EQ(fichtxt_graba_lista(lista, ruta("lineas.txt").c_str()), CIERTO);
  EXPECT_EQ(fichtxt_graba_lista_binario(lista, ruta("pagina.html").c_str()), CIERTO);
  EXPECT_EQ(lee(ruta("lineas.txt")), "uno\n\ntr\xe9s\r\n\n");
  EXPECT_EQ(lee(ruta("pagina.html")),
            "uno"
            "tr\xe9s\r");
  lista_cad_destruye(&lista);

  // Many texts: more than one batch of writes, in order.
  std::vector<std::string> textos;
  std::string esperado;
  for (int i = 0; i < 30000; ++i) {
    textos.push_back(std::to_string(i));
    esperado += textos.back();
  }
  lista = pruebas::a_lista(textos);
  EXPECT_EQ(fichtxt_graba_lista_binario(lista, ruta("grande.html").c_str()), CIERTO);
  EXPECT_EQ(lee(ruta("grande.html")), esperado);
  // A named pipe is written to, not replaced by a renamed file.
  const std::string tubo = ruta("tubo");
  ASSERT_EQ(::mkfifo(tubo.c_str(), 0600), 0);
  const pid_t lector = ::fork();
  ASSERT_GE(lector, 0);
  if (lector == 0) {
    std::string leido(esperado.size() + 1, '\0');
    const int d = ::open(tubo.c_str(), O_RDONLY);
    size_t hecho = 0;
    for (ssize_t n; (n = ::read(d, leido.data() + hecho, leido.size() - hecho)) > 0;)
      hecho += static_cast<size_t>(n);
    ::_exit(leido.substr(0, hecho) == esperado ? 0 : 1);
  }
  EXPECT_EQ(fichtxt_graba_lista_binario(lista, tubo.c_str()), CIERTO);
  EXPECT_TRUE(fs::is_fifo(tubo));
  if (!fs::is_fifo(tubo)) ::kill(lector, SIGKILL);  // it waits for a writer that never came
  int estado = -1;
  ::waitpid(lector, &estado, 0);
  EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << "the reader got other bytes";
  lista_cad_destruye(&lista);
  EXPECT_TRUE(informes().empty());
  // Only the written files: no temporary left.
  EXPECT_EQ(nombres_en(carpeta_), (V{"grande.html", "lineas.txt", "pagina.html", "tubo"}));
}

TEST_F(Ficheros, UnaCarpetaQueNoExisteDaFalsoSinDejarNada) {
  lista_cad_t *lista = pruebas::a_lista(V{"x"});
  const std::string destino = ruta("no/existe.html");
  EXPECT_EQ(fichtxt_graba_lista(lista, destino.c_str()), FALSO);
  EXPECT_EQ(fichtxt_graba_lista_binario(lista, destino.c_str()), FALSO);
  EXPECT_EQ(cuenta_informes("cannot write '" + destino + "': No such file or directory"), 2u);
  EXPECT_TRUE(nombres_en(carpeta_).empty());
  lista_cad_destruye(&lista);
}

TEST_F(Ficheros, UnaEscrituraFallidaDejaElFicheroAnterior) {
  // The target is a folder: the rename fails after the whole temporary was written.
  fs::create_directory(ruta("destino"));
  lista_cad_t *lista = pruebas::a_lista(V{"nuevo"});
  EXPECT_EQ(fichtxt_graba_lista(lista, ruta("destino").c_str()), FALSO);
  EXPECT_EQ(informes().size(), 1u);
  EXPECT_TRUE(fs::is_directory(ruta("destino")));
  EXPECT_EQ(nombres_en(carpeta_), V{"destino"});

  lista_cad_destruye(&lista);

  // A write cut short by the file size limit: the old file stays as it was.
  const std::string viejo = escribe("viejo.html", "old page");
  lista = pruebas::a_lista(V{std::string(100000, 'x')});
  olvida_informes();
  const auto senal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limite;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limite), 0);
  rlimit corto = limite;
  corto.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &corto), 0);
  const booleano escrito = fichtxt_graba_lista_binario(lista, viejo.c_str());
  ::setrlimit(RLIMIT_FSIZE, &limite);
  std::signal(SIGXFSZ, senal);
  EXPECT_EQ(escrito, FALSO);
  EXPECT_EQ(cuenta_informes("cannot write '" + viejo + "': File too large"), 1u);
  EXPECT_EQ(lee(viejo), "old page");
  EXPECT_EQ(nombres_en(carpeta_), (V{"destino", "viejo.html"}));
  lista_cad_destruye(&lista);
}

TEST_F(Ficheros, UnFicheroExistenteConservaSusPermisos) {
  const std::string destino = escribe("privado.txt", "viejo");
  ASSERT_EQ(::chmod(destino.c_str(), 0640), 0);
  lista_cad_t *lista = pruebas::a_lista(V{"nuevo"});
  EXPECT_EQ(fichtxt_graba_lista_binario(lista, destino.c_str()), CIERTO);
  EXPECT_EQ(lee(destino), "nuevo");
  struct stat datos;
  ASSERT_EQ(::stat(destino.c_str(), &datos), 0);
  EXPECT_EQ(datos.st_mode & 07777, 0640u);

  // A new file gets 0666 less the umask.
  const mode_t mascara = ::umask(022);
  EXPECT_EQ(fichtxt_graba_lista(lista, ruta("nuevo.txt").c_str()), CIERTO);
  ::umask(mascara);
  ASSERT_EQ(::stat(ruta("nuevo.txt").c_str(), &datos), 0);
  EXPECT_EQ(datos.st_mode & 07777, 0644u);
  lista_cad_destruye(&lista);
}

TEST_F(Ficheros, CarpetaDeUtilidades) {
  char *r = utilidades_ruta_fichero("lista_html.txt");
  EXPECT_EQ(std::string(r), ruta("lista_html.txt"));  // the fixture sets the folder
  cad_destruye(&r);
  utilidades_pon_carpeta("/una/carpeta/");
  r = utilidades_ruta_fichero("x.txt");
  EXPECT_STREQ(r, "/una/carpeta/x.txt");
  cad_destruye(&r);

  utilidades_pon_carpeta(nullptr);
  const char *antes = std::getenv("LENGUAWEB_UTILIDADES");
  const std::string guardado = antes != nullptr ? antes : "";
  ::setenv("LENGUAWEB_UTILIDADES", "/desde/entorno", 1);
  r = utilidades_ruta_fichero("x.txt");
  EXPECT_STREQ(r, "/desde/entorno/x.txt");
  cad_destruye(&r);
  ::unsetenv("LENGUAWEB_UTILIDADES");
  const char *tmpdir = std::getenv("TMPDIR");
  const std::string tmpdir_guardado = tmpdir != nullptr ? tmpdir : "";
  ::setenv("TMPDIR", "/temporal", 1);
  r = utilidades_ruta_fichero("x.txt");
  EXPECT_STREQ(r, "/temporal/x.txt");
  cad_destruye(&r);
  ::unsetenv("TMPDIR");
  r = utilidades_ruta_fichero("x.txt");
  EXPECT_STREQ(r, "/tmp/x.txt");
  cad_destruye(&r);
  if (tmpdir != nullptr) ::setenv("TMPDIR", tmpdir_guardado.c_str(), 1);
  if (antes != nullptr) ::setenv("LENGUAWEB_UTILIDADES", guardado.c_str(), 1);
}

}  // namespace
