// comando.h - the fixture of the command's tests: runs lenguaweb in a scratch folder.
#ifndef PRUEBAS_HOST_COMANDO_H
#define PRUEBAS_HOST_COMANDO_H

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace pruebas {

namespace fs = std::filesystem;
constexpr size_t npos = std::string::npos;
using Textos = std::vector<std::string>;
using Ficheros = std::vector<std::pair<std::string, std::string>>;

struct Salida {
  int estado = -1;  // the exit status; -1 when a signal ended the program
  std::string salida, errores;
};

// One run and what it must do: the files it finds (path, contents) and the symbolic links
// (path, target), the program (lenguaweb when empty; shell text, so that "ulimit -f 64 && "
// may come first) and its arguments, where its standard output goes; then its exit status,
// exactly what it says on standard error (or a part of it, dice), a part of its standard
// output, and what a file holds after it.
struct Orden {
  Ficheros ficheros{}, enlaces{};
  std::string programa{};
  Textos argumentos{};
  std::string a = "out";
  int estado = 0;
  std::string errores{}, dice{}, salida{};
  std::string fichero{}, contenido{};
};

class Comando : public Entorno {
 protected:
  // Runs a program in the scratch folder, errors caught in a file there and standard
  // output sent to salida (a file there, or a path such as /dev/full). The shell reads
  // the arguments between single quotes: none may hold one.
  Salida corre(const std::string &programa, const Textos &argumentos,
               const std::string &salida = "out") {
    std::string orden = "cd '" + carpeta_.string() + "' && " + programa;
    for (const std::string &a : argumentos) orden += " '" + a + "'";
    const int estado = std::system((orden + " >'" + salida + "' 2>err").c_str());
    return {WIFEXITED(estado) ? WEXITSTATUS(estado) : -1,
            salida == "out" ? lee(ruta("out")) : std::string(), lee(ruta("err"))};
  }
  Salida lenguaweb(const Textos &argumentos, const std::string &salida = "out") {
    return corre(LENGUAWEB_CLI, argumentos, salida);
  }

  // Runs lenguaweb, or programa, which must succeed; what it said on standard error.
  std::string bien(const Textos &argumentos, const std::string &programa = LENGUAWEB_CLI) {
    const Salida r = corre(programa, argumentos);
    EXPECT_EQ(r.estado, 0) << programa << testing::PrintToString(argumentos) << '\n' << r.errores;
    return r.errores;
  }
  // What msgfmt says of a PO file with an option such as --check or --statistics.
  std::string msgfmt(const std::string &opcion, const std::string &po) {
    return corre(LENGUAWEB_MSGFMT, {opcion, "-o", "/dev/null", po}).errores;
  }
  // One of GNU gettext's tools, from msgfmt's folder.
  static std::string gettext(const std::string &herramienta) {
    return fs::path(LENGUAWEB_MSGFMT).replace_filename(herramienta).string();
  }

  // Runs o and checks it; besides, no run leaves a temporary file or prints a terminal's
  // commands (which may come in a file name or a PO file).
  Salida comprueba(const Orden &o) {
    SCOPED_TRACE(o.programa + testing::PrintToString(o.argumentos));
    for (const auto &[camino, contenido] : o.ficheros) escribe(camino, contenido);
    for (const auto &[camino, destino] : o.enlaces) {
      fs::create_directories(ruta(camino).substr(0, ruta(camino).rfind('/')));
      fs::create_symlink(destino, ruta(camino));
    }
    const Salida r = corre(o.programa.empty() ? LENGUAWEB_CLI : o.programa, o.argumentos, o.a);
    EXPECT_EQ(r.estado, o.estado) << r.errores;
    if (o.dice.empty())
      EXPECT_EQ(r.errores, o.errores);
    else
      EXPECT_NE(r.errores.find(o.dice), npos) << r.errores;
    EXPECT_NE(r.salida.find(o.salida), npos) << r.salida;
    EXPECT_EQ(r.errores.find_first_of("\x07\x1B\x7F"), npos) << r.errores;
    EXPECT_EQ(cuenta_con(carpeta_, ".tmp"), 0u);
    if (!o.fichero.empty()) {
      EXPECT_EQ(lee(ruta(o.fichero)), o.contenido);
    }
    return r;
  }
};

}  // namespace pruebas

#endif
