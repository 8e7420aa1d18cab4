// salida.h - the command's outputs: bytes gathered in a buffer and handed to the companion's
// writer, which puts a file in place whole or not at all.
#ifndef HOST_SALIDA_H
#define HOST_SALIDA_H

#include <string>
#include <string_view>

#include "lenguaweb.h"

// One output file, or standard output. The writer's end (salida_termina) decides
// whether it was written; an object that ends before it leaves the old file in place.
struct Salida {
  fichero_escritura_t *fichero = nullptr;
  std::string ruta;   // as given to salida_abre
  std::string tanda;  // bytes not yet handed to the writer
  std::string fallo;  // the first failure, once there is one
  Salida() = default;
  Salida(const Salida &) = delete;
  Salida &operator=(const Salida &) = delete;
  ~Salida();
};

// Opens ruta ("-": standard output) for writing. On failure returns false with
// "cannot write '<ruta>': <reason>" in *error.
bool salida_abre(Salida *salida, const std::string &ruta, std::string *error);

// Appends bytes (only read); they reach the file in large blocks. A failure is kept
// for salida_termina.
void salida_anade(Salida *salida, std::string_view bytes);

// Writes what is left, closes the file (standard output too) and puts it in place.
// Returns false with the reason, which names the file, in *error when any write failed.
bool salida_termina(Salida *salida, std::string *error);

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed, so that no file the
// run opens takes one of them (an output on 2 would receive the messages). Call first.
void salida_reserva_descriptores();

#endif
