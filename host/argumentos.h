// argumentos.h - the command line of lenguaweb: subcommands, options and language identifiers.
#ifndef HOST_ARGUMENTOS_H
#define HOST_ARGUMENTOS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class Subcomando { extract, merge, links, pseudo };

// The language of pages when none is given: English (United States), code page 1252.
constexpr uint32_t kIdiomaPorDefecto = 0x0409;

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
};

// Reads the command line into *orden. Returns -1 when the command is to run; otherwise
// the exit status to end with, after printing the help (0) or one line naming what is
// wrong (2) on standard error. argv is only read.
int argumentos_lee(int argc, const char *const *argv, Orden *orden);

// A language identifier (Windows LANGID): decimal digits, or "0x"/"0X" and hex digits,
// at most 0xFFFF. Nothing else is accepted: no sign, blanks or suffix.
std::optional<uint32_t> argumentos_lee_idioma(std::string_view texto);

// "0x0409" for 0x0409: how identifiers are written in PO headers and messages.
std::string argumentos_escribe_idioma(uint32_t idioma);

// The locale name of a language ("es_ES", "ru_RU", "sr" ...) for a PO header's
// Language field; "und" (undetermined) when the identifier is not a known one.
std::string argumentos_nombre_idioma(uint32_t idioma);

#endif
