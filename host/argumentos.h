// argumentos.h - the command line of lenguaweb: subcommands and options.
#ifndef HOST_ARGUMENTOS_H
#define HOST_ARGUMENTOS_H

#include <cstdint>
#include <optional>
#include <string>

enum class Subcomando { extract, merge, links, pseudo };

struct Orden {
  Subcomando subcomando = Subcomando::extract;
  std::string pagina;               // a page, or a folder of pages
  std::string po;                   // merge: the PO file, or the folder of PO files
  std::string salida;               // -o; empty when not given
  std::string tabla;                // --links
  std::string lista;                // links --list
  std::optional<uint32_t> idioma;   // -l
  std::optional<uint32_t> destino;  // -t
  bool detallado = false;           // -v
  unsigned trabajos = 0;            // -j; 0 means one per core
  bool bloques = false;             // --segments blocks: one text per block
};

// Reads the command line into *orden. Returns -1 when the command is to run; otherwise
// the exit status to end with, after printing the help (0) or one line naming what is
// wrong (2) on standard error. argv is only read.
int argumentos_lee(int argc, const char *const *argv, Orden *orden);

#endif
