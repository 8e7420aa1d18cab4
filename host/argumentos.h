// argumentos.h - the command line of lenguaweb: subcommands and options.
#ifndef HOST_ARGUMENTOS_H
#define HOST_ARGUMENTOS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "companion/opciones.h"

enum class Subcomando { extract, merge, update, links, pseudo, check };

// How a msgid shows a body text's markup: as codes ("<g1>…</g1>", plegado.h), or in full.
enum class FormaMarcado { codigos, completo };

struct Orden {
  Subcomando subcomando = Subcomando::extract;
  std::string pagina;                   // a page, or a folder of pages
  std::string po;                       // merge, update: the PO file, or the folder of PO files
  std::string traducida;                // check: the translated page, or its folder
  std::string salida;                   // -o; empty when not given
  std::string tabla;                    // --links
  std::string lista;                    // links --list
  std::vector<std::string> compendios;  // update --compendium: PO files whose translations serve
  std::optional<uint32_t> idioma;       // -l
  std::optional<uint32_t> destino;      // -t: the code page's language
  std::string destino_nombre;           // -t as the PO header's Language keeps it
  std::optional<segmentacion_t> segmentacion;  // --segments
  std::optional<FormaMarcado> marcado;         // --markup
  bool utf8 = false;                           // --utf8: pages written in UTF-8
  bool difusas = false;                        // --fuzzy: fuzzy translations are used
  bool detallado = false;                      // -v
  bool forzar = false;            // extract --force: a PO file with translations is replaced
  bool solo_paginas = false;      // merge --pages-only: a folder's other files are not copied
  bool cualquier_pagina = false;  // --any-page: a PO file of another page is taken
  bool completa = false;          // check --complete: a text left untranslated is a fault
  unsigned trabajos = 0;          // -j; 0 means one per core
};

// The command's exit statuses.
constexpr int kBien = 0;
constexpr int kIncompleta = 1;  // some pages (or subfolders) failed, or a page lacks a part
                                // (a translation refused, a link left unresolved)
constexpr int kError = 2;

// Reads the command line into *orden. Returns -1 when the command is to run; otherwise
// the exit status to end with, after printing the help (0) or one line naming what is
// wrong (2) on standard error. argv is only read.
int argumentos_lee(int argc, const char *const *argv, Orden *orden);

#endif
