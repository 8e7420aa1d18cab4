/* paginas_codigos.h - ICU converters for the Windows code pages, opened once per thread. */
#ifndef COMPANION_PAGINAS_CODIGOS_H
#define COMPANION_PAGINAS_CODIGOS_H

#include <cstddef>
#include <cstdint>
#include <memory>

#include <unicode/ucnv.h>

namespace companion {

/* What a code page of one byte per character makes of each byte in UTF-8, as its ICU
 * converter reads the byte alone, callbacks and all: such a page keeps no state, so a
 * text is read a byte at a time from this table as ICU would read it. */
struct LecturaUnByte {
  struct Byte {
    char utf8[8];
    uint8_t largo;
    bool invalido; /* ICU read it as U+FFFD through the callback, which counts it */
  };
  Byte bytes[256];
};

struct Convertidor {
  UConverter *icu;
  uint32_t pagina;
  /* The bytes 0x00-0x7F and U+0000-U+007F map to each other one to one, both ways, as
   * ICU itself said when the converter was opened: a pure-ASCII text may then be copied
   * as it is. Not so in 932, where ICU exchanges 0x1A, 0x1C and 0x7F. */
  bool ascii_directo;
  bool un_byte; /* every character is one byte */
  /* Of a page of one byte per character, when every byte reads as characters of the
   * Basic Multilingual Plane; else null. */
  std::unique_ptr<LecturaUnByte> lectura_un_byte;
};

/* What each byte reads as through icu (a converter of one byte per character, with the
 * callbacks below), as its conversions into UTF-8 read it; null when one reads as more
 * than a Byte holds. The count of invalid sequences is left as it was. */
std::unique_ptr<LecturaUnByte> lectura_un_byte(UConverter *icu);

/* The calling thread's converter for the Windows code page pagina (any page that
 * conv_pagina_de_codigos does not give is taken as 1252), opened on first use and kept
 * until the thread ends. Its callbacks are set for the companion's conversions: a
 * character that the page lacks is written as "&#<decimal code point>;" (a surrogate
 * pair as one reference), and a byte or byte sequence that the page does not define is
 * read as U+FFFD. The converter belongs to the cache: callers reset it before use and
 * never close it, and the pointer is valid only on the calling thread. Null, after a
 * report, when ICU cannot open the converter. */
Convertidor *convertidor_de_pagina(uint32_t pagina);

/* The calling thread's converter for the ICU converter name nombre_icu (a text that
 * lives as long as the process), with the callbacks above; the code pages' own names give
 * their converters of convertidor_de_pagina. A few are kept open per thread, the one
 * asked for longest ago replaced by a new one: the pointer is valid on the calling thread
 * through the next call too, so that a conversion may hold its two converters. Null,
 * without a report, when ICU cannot open it. */
Convertidor *convertidor_de_nombre(const char *nombre_icu);

/* The calling thread's count of byte sequences that a converter read as U+FFFD: callers
 * set it to 0 before a conversion and read it after. */
size_t &secuencias_invalidas_leidas();

/* The character that Windows-1252 gives each byte 0x80-0xFF (index byte - 0x80), read
 * once from ICU's windows-1252 converter. ICU gives the five bytes that the page leaves
 * undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) the C1 controls of the same value. The table
 * is built on first use and lives as long as the process. */
const char16_t *caracteres_1252();

}  // namespace companion

#endif
