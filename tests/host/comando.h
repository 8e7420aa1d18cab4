// comando.h - the fixture of the command's tests: runs lenguaweb in a scratch folder.
#ifndef PRUEBAS_HOST_COMANDO_H
#define PRUEBAS_HOST_COMANDO_H

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace pruebas {

using Textos = std::vector<std::string>;

struct Salida {
  int estado = -1;  // the exit status; -1 when a signal ended the program
  std::string salida, errores;
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
};

}  // namespace pruebas

#endif
