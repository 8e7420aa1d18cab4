/* comprobaciones.h - the properties each fuzz target checks on one input, shared with the
 * regression tests, and what the checks share. */
#ifndef FUZZ_COMPROBACIONES_H
#define FUZZ_COMPROBACIONES_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "lenguaweb.h"

/* Every check takes arbitrary bytes (only read, any length) and returns "" when every
 * property held, or a description of the first one that did not. A crash, a leak that
 * the sanitizers see, a companion block left alive or a failure report that the input
 * cannot explain is a failure too. A check takes over the failure report receptor while
 * it runs and sets the utilities folder to a private folder of the process. */
using fuzz_comprobacion = std::string(const uint8_t *datos, size_t largo);
fuzz_comprobacion fuzz_comprueba_escaner, fuzz_comprueba_link_externo, fuzz_comprueba_pagina,
    fuzz_comprueba_enlace, fuzz_comprueba_registros, fuzz_comprueba_division, fuzz_comprueba_hostil,
    fuzz_comprueba_plegado, fuzz_comprueba_revision, fuzz_comprueba_po;

/* The targets by the name of their folders under fuzz/semillas and fuzz/regresiones. */
struct fuzz_objetivo {
  const char *nombre;
  fuzz_comprobacion *comprueba;
};
inline constexpr fuzz_objetivo kFuzzObjetivos[] = {
    {"escaner", fuzz_comprueba_escaner},     {"link_externo", fuzz_comprueba_link_externo},
    {"pagina", fuzz_comprueba_pagina},       {"enlace", fuzz_comprueba_enlace},
    {"registros", fuzz_comprueba_registros}, {"division", fuzz_comprueba_division},
    {"hostil", fuzz_comprueba_hostil},       {"plegado", fuzz_comprueba_plegado},
    {"revision", fuzz_comprueba_revision},   {"po", fuzz_comprueba_po},
};

/* The parts of the page checks, for their own tests. "" when the pieces of a document made
 * by lenguaweb_crea and the stretches of its body texts (their origins) join back to its
 * page, each stretch (and in the classic segmentation each attribute value) normalising
 * to its text, and each attribute text lies in the piece before its body text (or, cut
 * by blocks, in that body text); else what does not. */
std::string fuzz_une(const lenguaweb_t *documento);

/* The start and end tags of a text by name in capitals, read as a browser's tokenizer
 * reads them: a '<' followed by a letter, or by '/' and a letter; the name up to a blank,
 * '/' or '>'. Comments (and what they hold) and other markup are left out, and so is
 * what a browser reads as text up to its own end tag (SCRIPT, TITLE, XMP ...). */
std::map<std::string, long> fuzz_cuenta_tags(std::string_view texto);

/* "" unless escrita holds more tags of some name than original plus permitidos of it. */
std::string fuzz_gana_tags(std::string_view original, std::string_view escrita,
                           const std::map<std::string, long> &permitidos);

/* Runs comprueba, with the private folder as the utilities folder and a receptor that adds
 * the condition of every failure report to the list comprueba is given. Gives what
 * comprueba gives when it is not ""; else a description of the first report whose
 * condition is none of permitidos (one that ends in '*' stands for every condition that
 * begins with what precedes it), or of the companion blocks made during the check and
 * still alive; else "". Sessions do not nest. */
std::string fuzz_en_sesion(
    const std::vector<std::string_view> &permitidos,
    const std::function<std::string(std::vector<std::string> &informes)> &comprueba);

/* The reports that arbitrary pages bring about: tags and comments without an end, stray
 * end tags of scripts, entities outside the table, relative links to no file, references
 * that no record resolves; and what the library tells of a page's bytes: a NUL inside a
 * text, an encoding it cannot read or that it declares and is not used, bytes not valid
 * in it. */
inline const std::vector<std::string_view> kInformesDePaginas = {
    "(fin_tag) != NULL",   "*procesar_texto == FALSO", "strchr(texto, '&')==NULL",
    "hay_punto == CIERTO", "enlace != NULL",           "memchr(texto, '\\0', longitud) == NULL",
    "the page *",          "the page's texts *",       "the UTF-16 page *"};

/* The bytes up to the first NUL, as a text. */
std::string fuzz_texto(const uint8_t *datos, size_t largo);

/* The bytes from desde, two by two as UTF-16 code units (low byte first), up to the
 * first unit 0. */
std::u16string fuzz_unidades(const uint8_t *datos, size_t largo, size_t desde);

/* The folder, private to this process, where checks write their files: made on first
 * use, removed when the process exits, or by the first process that makes its own
 * folder after this one has gone. */
const std::string &fuzz_carpeta();

/* A short printable form of bytes for a message: at most 60 of them from desde, the
 * bytes outside printable ASCII written \xNN. */
std::string fuzz_muestra(std::string_view bytes, size_t desde = 0);

#endif
