/* comprobaciones.h - the properties each fuzz target checks on one input, shared with the
 * regression tests. */
#ifndef FUZZ_COMPROBACIONES_H
#define FUZZ_COMPROBACIONES_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "lenguaweb.h"

/* Every check takes arbitrary bytes (only read, any length) and returns "" when every
 * property held, or a description of the first one that did not. A crash, a leak that
 * the sanitizers see, a companion block left alive or a failure report that the input
 * cannot explain is a failure too. A check takes over the failure report receptor while
 * it runs and may set the utilities folder to a private folder of the process. */
std::string fuzz_comprueba_escaner(const uint8_t *datos, size_t largo);
std::string fuzz_comprueba_link_externo(const uint8_t *datos, size_t largo);
std::string fuzz_comprueba_pagina(const uint8_t *datos, size_t largo);

std::string fuzz_comprueba_enlace(const uint8_t *datos, size_t largo);
std::string fuzz_comprueba_registros(const uint8_t *datos, size_t largo);
std::string fuzz_comprueba_division(const uint8_t *datos, size_t largo);
std::string fuzz_comprueba_hostil(const uint8_t *datos, size_t largo);

/* The targets by the name of their folders under fuzz/semillas and fuzz/regresiones. */
struct fuzz_objetivo {
  const char *nombre;
  std::string (*comprueba)(const uint8_t *datos, size_t largo);
};
inline constexpr fuzz_objetivo kFuzzObjetivos[] = {
    {"escaner", fuzz_comprueba_escaner},     {"link_externo", fuzz_comprueba_link_externo},
    {"pagina", fuzz_comprueba_pagina},       {"enlace", fuzz_comprueba_enlace},
    {"registros", fuzz_comprueba_registros}, {"division", fuzz_comprueba_division},
    {"hostil", fuzz_comprueba_hostil},
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

#endif
