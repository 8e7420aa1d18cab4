/* comprobaciones.h - the properties each fuzz target checks on one input, shared with the
 * regression tests. */
#ifndef FUZZ_COMPROBACIONES_H
#define FUZZ_COMPROBACIONES_H

#include <cstddef>
#include <cstdint>
#include <string>

/* Every check takes arbitrary bytes (only read, any length) and returns "" when every
 * property held, or a description of the first one that did not. A crash, a leak
 * that the sanitizers see, or a companion block left alive is a failure too. A check
 * takes over the failure report receptor while it runs and may set the utilities
 * folder to a private folder of the process. */

/* Both tag scanners walked over the whole text, byte by byte and as UTF-16. */
std::string fuzz_comprueba_escaner(const uint8_t *datos, size_t largo);

/* The external link finder against a plain model of its rules. */
std::string fuzz_comprueba_link_externo(const uint8_t *datos, size_t largo);

/* A page (the bytes after the first, which picks the language) read, rebuilt with its
 * own texts, preprocessed twice and rebuilt with translations drawn from the input. */
std::string fuzz_comprueba_pagina(const uint8_t *datos, size_t largo);

/* A link split into its parts, its identifier joined and the link rebuilt. */
std::string fuzz_comprueba_enlace(const uint8_t *datos, size_t largo);

/* Link records read from the bytes as a save stream until it fails. */
std::string fuzz_comprueba_registros(const uint8_t *datos, size_t largo);

/* The text engine's brace division and translation of one text. */
std::string fuzz_comprueba_division(const uint8_t *datos, size_t largo);

/* The targets by the name of their folders under fuzz/semillas and fuzz/regresiones. */
struct fuzz_objetivo {
  const char *nombre;
  std::string (*comprueba)(const uint8_t *datos, size_t largo);
};
inline constexpr fuzz_objetivo kFuzzObjetivos[] = {
    {"escaner", fuzz_comprueba_escaner},     {"link_externo", fuzz_comprueba_link_externo},
    {"pagina", fuzz_comprueba_pagina},       {"enlace", fuzz_comprueba_enlace},
    {"registros", fuzz_comprueba_registros}, {"division", fuzz_comprueba_division},
};

#endif
