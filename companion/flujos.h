/* flujos.h - save streams: items written in sequence and read back in the same order. */
#ifndef COMPANION_FLUJOS_H
#define COMPANION_FLUJOS_H

#include "companion/tipos.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Encoding, little-endian: an unsigned byte is one byte; a boolean one byte, 0 or 1
 * (any other value reads as 1); a text a 32-bit byte count and then its bytes.
 *
 * A reading stream that runs out, or meets a count larger than what is left, enters
 * a failed state and reports it once; from then on every read gives 0, FALSO or a new
 * empty text. No read allocates more than the bytes that are left. A failed write
 * puts the stream in the failed state too. Every operation accepts a null stream,
 * reports it, and behaves as on a failed one. */

/* New stream over the whole file at ruta, or null (reported with the reason). */
COMPANION_API flujo_t *flujo_abre_lectura(const char *ruta) COMPANION_NOEXCEPT;

/* New stream over a copy of the longitud bytes at datos. */
COMPANION_API flujo_t *flujo_abre_memoria(const void *datos, size_t longitud) COMPANION_NOEXCEPT;

/* New stream that writes into memory; its bytes are read with flujo_dame_memoria. */
COMPANION_API flujo_t *flujo_abre_memoria_escritura(void) COMPANION_NOEXCEPT;

/* The bytes written so far to a memory stream, borrowed: valid until the next write
 * or flujo_cierra. Stores their count through longitud. Null for other streams. */
COMPANION_API const void *flujo_dame_memoria(const flujo_t *flujo,
                                             size_t *longitud) COMPANION_NOEXCEPT;

/* New stream that writes to a temporary file beside ruta, renamed into place by
 * flujo_cierra when every write succeeded; null (reported) when it cannot be made. */
COMPANION_API flujo_t *flujo_abre_escritura(const char *ruta) COMPANION_NOEXCEPT;

/* Closes and frees the stream, setting the variable to null. CIERTO when every item
 * was read or written cleanly (and, for a writing stream, the file is in place);
 * a writing stream that failed leaves the old file, or none, at its path. */
COMPANION_API booleano flujo_cierra(flujo_t **flujo) COMPANION_NOEXCEPT;

/* Bytes read or written so far. */
COMPANION_API uint64_t flujo_posicion(const flujo_t *flujo) COMPANION_NOEXCEPT;

/* CIERTO once the stream is in the failed state. */
COMPANION_API booleano flujo_fallido(const flujo_t *flujo) COMPANION_NOEXCEPT;

COMPANION_API unsigned char flujo_lee_uchar(flujo_t *flujo) COMPANION_NOEXCEPT;
COMPANION_API char *flujo_lee_cadena(flujo_t *flujo) COMPANION_NOEXCEPT; /* new text, never null */
COMPANION_API booleano flujo_lee_bool(flujo_t *flujo) COMPANION_NOEXCEPT;

COMPANION_API void flujo_graba_uchar(unsigned char valor, flujo_t *flujo) COMPANION_NOEXCEPT;
COMPANION_API void flujo_graba_cadena(const char *texto,
                                      flujo_t *flujo) COMPANION_NOEXCEPT; /* null as "" */
COMPANION_API void flujo_graba_bool(booleano valor, flujo_t *flujo) COMPANION_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
