/* utf8.h - what a valid UTF-8 sequence is, for the companion's converters and the checkers. */
#ifndef PRIVADO_UTF8_H
#define PRIVADO_UTF8_H

/* Internal, never installed. */

#include <cstddef>

/* Length of the valid UTF-8 sequence at p, its code point in *punto; 0 when the byte at p
 * begins none: overlong forms, surrogates, points above U+10FFFF and sequences cut by the
 * end (resto bytes from p, at least 1) are not valid. Reads no byte beyond resto. */
inline unsigned secuencia_utf8(const unsigned char *p, size_t resto, char32_t *punto) {
  const unsigned b = p[0];
  if (b < 0x80) {
    *punto = b;
    return 1;
  }
  unsigned largo, minimo = 0x80, maximo = 0xBF;
  char32_t c;
  if (b >= 0xC2 && b <= 0xDF) {
    largo = 2;
    c = b & 0x1Fu;
  } else if (b >= 0xE0 && b <= 0xEF) {
    largo = 3;
    c = b & 0x0Fu;
    if (b == 0xE0) minimo = 0xA0;
    if (b == 0xED) maximo = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    largo = 4;
    c = b & 0x07u;
    if (b == 0xF0) minimo = 0x90;
    if (b == 0xF4) maximo = 0x8F;
  } else {
    return 0;
  }
  if (largo > resto || p[1] < minimo || p[1] > maximo) return 0;
  for (unsigned k = 1; k < largo; ++k) {
    if ((p[k] & 0xC0u) != 0x80) return 0;
    c = (c << 6) | (p[k] & 0x3Fu);
  }
  *punto = c;
  return largo;
}

#endif
