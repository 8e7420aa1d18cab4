// ficheros.cpp - tests of loading files whole, writing files atomically and the utilities folder.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "companion/ayudas.h"

namespace {

using Ficheros = pruebas::Entorno;
namespace fs = std::filesystem;

// The bytes fichero_memoria_lee gives for camino, or "<unread>".
std::string carga(const std::string &camino) {
  fichero_memoria_t *f = fichero_memoria_lee(camino.c_str());
  EXPECT_EQ(f->contenido[f->longitud], '\0');
  const std::string bytes(f->contenido, f->longitud);
  const bool leido = f->leido == CIERTO;
  fichero_memoria_destruye(&f);
  EXPECT_EQ(f, nullptr);
  return leido ? bytes : "<unread>" + bytes;
}

// Whether one writer opens camino, takes bytes and an empty write, and puts them in place.
bool graba(const std::string &camino, std::string_view bytes) {
  fichero_escritura_t *f = fichero_escritura_abre(camino.c_str());
  const bool escrito = f != nullptr && fichero_escritura_anade(f, bytes.data(), bytes.size()) &&
                       fichero_escritura_anade(f, "", 0);
  return fichero_escritura_termina(&f) == CIERTO && escrito && f == nullptr;
}

TEST_F(Ficheros, LeeElFicheroEnteroOInforma) {
  const std::string bytes("<p>a\0b</p>\xff\n", 13);
  EXPECT_EQ(carga(escribe("pagina.html", bytes)), bytes);
  // Neither a file whose size says 0 nor a pipe, which has none, stops at a first guess.
  EXPECT_TRUE(carga("/proc/self/status").starts_with("Name:"));
  int tubo[2];
  ASSERT_EQ(::pipe(tubo), 0);
  std::string largo;
  for (int i = 0; largo.size() < 300000; ++i) largo += std::to_string(i) + "\n";
  ASSERT_GE(::fcntl(tubo[1], F_SETPIPE_SZ, 1 << 20), static_cast<int>(largo.size()));
  ASSERT_EQ(::write(tubo[1], largo.data(), largo.size()), static_cast<ssize_t>(largo.size()));
  ::close(tubo[1]);
  EXPECT_EQ(carga("/dev/fd/" + std::to_string(tubo[0])), largo);
  ::close(tubo[0]);
  EXPECT_TRUE(informes().empty());
  // What cannot be read gives an empty text, and is reported.
  const std::string enorme = escribe("enorme.bin", "");
  fs::resize_file(enorme, 0xFFFFFFFFu);  // 4 GiB - 1 bytes, sparse: no disk used
  const std::pair<std::string, std::string> casos[] = {
      {ruta("falta.html"), "No such file or directory"},
      {carpeta_.string(), "Is a directory"},
      {enorme, "File too large"},
  };
  for (const auto &[camino, motivo] : casos) {
    olvida_informes();
    EXPECT_EQ(carga(camino), "<unread>");
    EXPECT_EQ(informes().size(), 1u);
    EXPECT_EQ(cuenta_informes("cannot read '" + camino + "': " + motivo), 1u);
  }
}

TEST_F(Ficheros, LosEscritoresEscribenSusBytesExactos) {
  // Past a megabyte of small texts, and one text large enough to go out on its own.
  std::vector<std::string> textos{"uno", "", "tr\xe9s\r"};
  for (char c = 'a'; c <= 'v'; ++c) textos.emplace_back(c == 'v' ? 70000 : 60000, c);
  std::string binario, lineas;
  for (const auto &t : textos) binario += t, lineas += t + "\n";
  lista_cad_t *lista = pruebas::a_lista(textos);
  char *nulo = nullptr;
  lista_cad_anade_propia(lista, &nulo);  // written as an empty text
  const std::string pagina = ruta("pagina.html"), texto = escribe("lineas.txt", "old");
  ASSERT_EQ(::chmod(texto.c_str(), 0640), 0);
  const mode_t mascara = ::umask(022);
  EXPECT_EQ(fichtxt_graba_lista_binario(lista, pagina.c_str()), CIERTO);
  EXPECT_EQ(fichtxt_graba_lista(lista, texto.c_str()), CIERTO);
  ::umask(mascara);
  lista_cad_destruye(&lista);
  EXPECT_EQ(lee(pagina), binario);
  EXPECT_EQ(lee(texto), lineas + "\n");
  // An existing file keeps its permission bits; a new one gets 0666 less the umask.
  struct stat datos {};
  EXPECT_TRUE(::stat(texto.c_str(), &datos) == 0 && (datos.st_mode & 07777) == 0640);
  EXPECT_TRUE(::stat(pagina.c_str(), &datos) == 0 && (datos.st_mode & 07777) == 0644);

  // A named pipe is written to, not replaced by a renamed file.
  const std::string tubo = ruta("tubo");
  ASSERT_EQ(::mkfifo(tubo.c_str(), 0600), 0);
  const int lector = ::open(tubo.c_str(), O_RDONLY | O_NONBLOCK);
  EXPECT_TRUE(graba(tubo, "<p>"));
  char leido[8] = {};
  EXPECT_EQ(::read(lector, leido, sizeof leido), 3);
  ::close(lector);
  EXPECT_TRUE(informes().empty());
  EXPECT_EQ(cuenta_con(carpeta_), 3u) << "a temporary file was left";
}

// A write that fails leaves the old file, or none, and no temporary file.
TEST_F(Ficheros, UnaEscrituraFallidaNoDejaNada) {
  lista_cad_t *lista = pruebas::a_lista(std::vector<std::string>{"x"});
  const std::string falta = ruta("no/existe.html"), carpeta = ruta("destino");
  EXPECT_EQ(fichtxt_graba_lista(lista, falta.c_str()), FALSO);
  EXPECT_EQ(fichero_escritura_abre(falta.c_str()), nullptr);
  EXPECT_EQ(cuenta_informes("cannot write '" + falta + "': No such file or directory"), 2u);
  // The target is a folder: the rename fails once the whole temporary file is written.
  fs::create_directory(carpeta);
  fichero_escritura_t *f = fichero_escritura_abre(carpeta.c_str());
  EXPECT_EQ(fichero_escritura_anade(f, "abc", 3), CIERTO);
  EXPECT_EQ(fichero_escritura_termina(&f), FALSO);
  EXPECT_EQ(cuenta_informes("cannot write '" + carpeta + "': Is a directory"), 1u);
  // A write cut short by the file size limit.
  const std::string viejo = escribe("viejo.html", "old page");
  const auto senal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limite;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limite), 0);
  const rlimit corto{4096, limite.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &corto), 0);
  f = fichero_escritura_abre(viejo.c_str());
  const std::string grande(100000, 'x');
  EXPECT_EQ(fichero_escritura_anade(f, grande.data(), grande.size()), FALSO);
  EXPECT_EQ(fichero_escritura_anade(f, "x", 1), FALSO);  // and every later write
  ::setrlimit(RLIMIT_FSIZE, &limite);
  std::signal(SIGXFSZ, senal);
  EXPECT_EQ(fichero_escritura_termina(&f), FALSO);
  EXPECT_EQ(cuenta_informes("cannot write '" + viejo + "': File too large"), 1u);
  EXPECT_EQ(informes().size(), 4u);
  EXPECT_EQ(lee(viejo), "old page");
  EXPECT_EQ(cuenta_con(carpeta_), 2u) << "a temporary file was left";
  lista_cad_destruye(&lista);
}

TEST_F(Ficheros, CarpetaDeUtilidadesDelAnfitrionDelEntornoOPropia) {
  ::setenv("LENGUAWEB_UTILIDADES", "/desde/entorno", 1);
  EXPECT_EQ(toma(utilidades_ruta_fichero("x.txt")), ruta("x.txt"));  // set by the fixture
  utilidades_pon_carpeta("/una/carpeta/");
  EXPECT_EQ(toma(utilidades_ruta_fichero("x.txt")), "/una/carpeta/x.txt");
  utilidades_pon_carpeta(nullptr);
  EXPECT_EQ(toma(utilidades_ruta_fichero("x.txt")), "/desde/entorno/x.txt");
  ::unsetenv("LENGUAWEB_UTILIDADES");
  // Neither: a folder of the process's own, closed to others, never the shared one.
  const fs::path propia = fs::path(toma(utilidades_ruta_fichero("x.txt"))).parent_path();
  EXPECT_TRUE(fs::equivalent(propia.parent_path(), fs::temp_directory_path())) << propia;
  EXPECT_TRUE(propia.filename().string().starts_with("lenguaweb-")) << propia;
  struct stat datos {};
  EXPECT_TRUE(::lstat(propia.c_str(), &datos) == 0 && S_ISDIR(datos.st_mode) &&
              (datos.st_mode & 07777) == 0700 && datos.st_uid == ::geteuid());
  EXPECT_EQ(toma(utilidades_ruta_fichero("y.txt")), (propia / "y.txt").string());
}

// The rest of the system sees a target as it was, but for its bytes: a link still a link
// (/dev/fd/N is one), a shell's redirection still in force.
TEST_F(Ficheros, ElDestinoSigueSiendoElMismo) {
  const auto enlaza = [&](const char *a, const char *de) {
    fs::create_symlink(a, ruta(de));
    return ruta(de);
  };
  // prepara gives the path for the writer; despues is what "real" holds after writing "new".
  // clang-format off
  const struct { const char *nombre; std::function<std::string()> prepara; const char *despues; } casos[] = {
      {.nombre = "dangling link", .prepara = [&] { return enlaza("real", "enlace"); }, .despues = "new"},
      {.nombre = "chain of links", .prepara = [&] { escribe("real", "old"); enlaza("real", "medio");
                                                    return enlaza("medio", "enlace"); }, .despues = "new"},
      {.nombre = "descriptor open for appending", .prepara = [&] { escribe("real", "old ");
         return "/dev/fd/" + std::to_string(::open(ruta("real").c_str(), O_WRONLY | O_APPEND)); },
       .despues = "old new"},
  };
  // clang-format on
  for (const auto &c : casos) {
    SCOPED_TRACE(c.nombre);
    fs::remove_all(carpeta_);
    fs::create_directories(carpeta_);
    const std::string destino = c.prepara();
    EXPECT_TRUE(graba(destino, "new"));
    EXPECT_EQ(lee(ruta("real")), c.despues);
    EXPECT_TRUE(fs::is_symlink(destino));
    EXPECT_EQ(cuenta_con(carpeta_, ".tmp"), 0u);
    if (destino.starts_with("/dev/fd/")) ::close(std::stoi(destino.substr(8)));
  }
  EXPECT_TRUE(informes().empty());
}

TEST_F(Ficheros, ElDuenoSeConservaONoSeEscribe) {
  if (::geteuid() != 0) GTEST_SKIP() << "files of another owner need root: not run";
  fs::permissions(carpeta_, fs::perms::all);
  const std::string ajeno = escribe("ajeno.html", "old"), propio = escribe("propio.html", "old");
  ASSERT_EQ(::chown(ajeno.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(ajeno.c_str(), 0640), 0);
  EXPECT_TRUE(graba(ajeno, "new"));
  struct stat datos {};
  ASSERT_EQ(::stat(ajeno.c_str(), &datos), 0);
  EXPECT_EQ(std::tuple(datos.st_uid, datos.st_gid, datos.st_mode & 07777),
            std::tuple(65534u, 65534u, 0640u));
  // A user who may replace the file but not give it away leaves it as it is.
  const pid_t hijo = ::fork();
  ASSERT_GE(hijo, 0);
  if (hijo == 0) {
    const bool rechazada = ::setresgid(65534, 65534, 65534) == 0 &&
                           ::setresuid(65534, 65534, 65534) == 0 &&
                           fichero_escritura_abre(propio.c_str()) == nullptr;
    ::_exit(rechazada ? 0 : 1);
  }
  int estado = 0;
  ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
  EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << estado;
  EXPECT_EQ(lee(propio), "old");
  EXPECT_EQ(cuenta_con(carpeta_, ".tmp"), 0u);
}

// Files waiting to be filled by another writer hold no descriptor each.
TEST_F(Ficheros, LosQueEsperanNoRetienenDescriptores) {
  const auto abiertos = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
  const auto antes = abiertos();
  std::vector<fichero_escritura_t *> esperan;
  for (int i = 0; i < 20; ++i) {
    esperan.push_back(fichero_escritura_abre(ruta(std::to_string(i)).c_str()));
    lista_cad_t *lista = pruebas::a_lista(std::vector<std::string>{std::to_string(i)});
    EXPECT_EQ(fichtxt_graba_lista(lista, fichero_escritura_ruta(esperan.back())), CIERTO);
    lista_cad_destruye(&lista);
  }
  EXPECT_EQ(abiertos(), antes);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(fichero_escritura_termina(&esperan[i]), CIERTO);
    EXPECT_EQ(lee(ruta(std::to_string(i))), std::to_string(i) + "\n");
  }
  EXPECT_EQ(cuenta_con(carpeta_, ".tmp"), 0u);
}

}  // namespace
