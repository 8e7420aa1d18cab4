/* codificacion.h - a page's character encoding, found as a browser finds it, and texts in it. */
#ifndef COMPANION_CODIFICACION_H
#define COMPANION_CODIFICACION_H

#include "companion/tipos.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Encodings are named as the Encoding standard (WHATWG) names them: "UTF-8",
 * "windows-1252", "ISO-8859-2", "KOI8-R", "Shift_JIS", "EUC-JP", "EUC-KR", "GBK",
 * "gb18030", "Big5", "UTF-16LE", "UTF-16BE", "ISO-2022-JP" ... Every name this header
 * hands out is a static text that lives as long as the process. Each is read with the
 * decoder browsers use (GBK through gb18030, EUC-KR as windows-949, Big5 with HKSCS,
 * Shift_JIS as windows-31j); ICU does the work, and UTF-16 is converted here. */

/* How a page's encoding was found. */
typedef enum origen_codificacion {
  CODIFICACION_POR_BOM = 0,    /* a byte order mark (UTF-8, UTF-16LE, UTF-16BE) */
  CODIFICACION_DECLARADA = 1,  /* a charset declaration among the first 1024 bytes */
  CODIFICACION_POR_UTF8 = 2,   /* no declaration, and every byte is valid UTF-8 */
  CODIFICACION_DEL_IDIOMA = 3, /* otherwise: the code page of the language given */
  CODIFICACION_ILEGIBLE = 4    /* the page cannot be read as text (razon says why) */
} origen_codificacion_t;

/* A stretch of bytes, [inicio, fin). */
typedef struct tramo_bytes {
  uint32_t inicio;
  uint32_t fin;
} tramo_bytes_t;

typedef struct codificacion_pagina {
  const char *nombre; /* the encoding; for an unreadable page the one that its
                         bytes would be taken in, windows-1252 */
  uint32_t bom;       /* bytes of the byte order mark at the start (0, 2 or 3) */
  origen_codificacion_t origen;
  booleano compatible_ascii; /* bytes 0x00-0x7F are ASCII and never stand inside
                                another character: markup can be read on the page's
                                own bytes. FALSO in UTF-16 and ISO-2022-JP */
  const char *razon;         /* static; null unless something was left aside: why the
                                page is unreadable, or why a declared encoding was not
                                used (its label is unknown, or ICU cannot open it) */
  const char *declarada;     /* the encoding that was declared and left aside, or null */
} codificacion_pagina_t;

/* Finds the encoding of the longitud bytes at bytes (only read; NUL bytes are bytes like
 * any other) as a browser would, for a page of the language idioma: a byte order mark;
 * else the encoding of an XML declaration that begins the page, then the first META
 * charset (or the charset of a META http-equiv="Content-Type" content) that the browser's
 * prescan of the first 1024 bytes finds, its label resolved by the Encoding standard
 * (ISO-8859-1 and US-ASCII are windows-1252; a UTF-16 label means UTF-8; a label of the
 * standard's "replacement" encoding makes the page unreadable); else, when more than one
 * byte in 16 of the first 1024 is a control character that no text holds (NUL and the
 * like), an unreadable page; else UTF-8 when every byte is valid UTF-8; else the code
 * page of idioma. */
COMPANION_API void conv_detecta_codificacion(const char *bytes, size_t longitud, uint32_t idioma,
                                             codificacion_pagina_t *codificacion)
    COMPANION_NOEXCEPT;

/* Where the page's charset is named among its first 1024 bytes: the value of the
 * encoding of an XML declaration that begins it, and the label of the META that the
 * prescan takes, in page order. Fills up to max spans and returns how many there are. */
COMPANION_API uint32_t conv_declaraciones_de_codificacion(const char *bytes, size_t longitud,
                                                          tramo_bytes_t *tramos,
                                                          uint32_t max) COMPANION_NOEXCEPT;

/* The encoding that a label names (letter case and surrounding blanks ignored), or
 * null for a label the Encoding standard does not know. */
COMPANION_API const char *conv_codificacion_de_etiqueta(const char *etiqueta,
                                                        size_t largo) COMPANION_NOEXCEPT;

/* The encoding of the code page of idioma ("windows-1252", "Shift_JIS", "GBK" ...). */
COMPANION_API const char *conv_codificacion_de_idioma(uint32_t idioma) COMPANION_NOEXCEPT;

/* Whether ICU knows idioma as a Windows language (LANGID; the bits above the low 16 are
 * ignored). 0, 0x7FFF and 0xFFFF are not known; conversions take an unknown language's
 * code page as 1252. */
COMPANION_API booleano conv_idioma_conocido(uint32_t idioma) COMPANION_NOEXCEPT;

/* New text: the longitud bytes at texto, in the encoding codificacion (a NUL among them
 * ends the text), in the code page of idioma, in one conversion. A character that the
 * code page lacks becomes a decimal character reference ("&#44032;"); a byte sequence
 * that is not valid in the encoding reads as U+FFFD, but in UTF-8, where a byte that
 * begins no valid sequence is taken as the Windows-1252 character of that byte, as
 * conv_utf8_a_ansi_html does. The length of the result goes through longitud_resultado
 * and the number of invalid sequences through invalidos, when they are not null. Null
 * texto gives "". */
COMPANION_API char *conv_codificacion_a_ansi_html_n(const char *texto, size_t longitud,
                                                    const char *codificacion, uint32_t idioma,
                                                    size_t *longitud_resultado,
                                                    size_t *invalidos) COMPANION_NOEXCEPT;

/* New text: the code-page text of idioma (up to its NUL) in the encoding codificacion,
 * which must be ASCII-compatible; a character that the encoding lacks becomes a decimal
 * character reference. The length of the result goes through longitud_resultado when it
 * is not null. Null texto gives "". */
COMPANION_API char *conv_ansi_idioma_a_codificacion_n(
    const char *texto, uint32_t idioma, const char *codificacion,
    size_t *longitud_resultado) COMPANION_NOEXCEPT;

/* New block: the longitud bytes at texto (NUL bytes included) from the encoding de into
 * the encoding a, with a NUL after the last byte. A character that a lacks becomes a
 * decimal character reference; a sequence not valid in de reads as U+FFFD, but that
 * UTF-16 and UTF-8 keep each other's unpaired surrogates (as the three bytes that encode
 * the surrogate), so that such a page goes back as it came. No byte order mark is read or
 * written. The length of the result goes through longitud_resultado, the number of
 * invalid sequences through invalidos, when they are not null. Null when ICU cannot open
 * either encoding. */
COMPANION_API char *conv_entre_codificaciones_n(const char *texto, size_t longitud, const char *de,
                                                const char *a, size_t *longitud_resultado,
                                                size_t *invalidos) COMPANION_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
