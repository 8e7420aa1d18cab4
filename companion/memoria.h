/* memoria.h - tracked record memory, moving ownership, and checked integer narrowing. */
#ifndef COMPANION_MEMORIA_H
#define COMPANION_MEMORIA_H

#include "companion/tipos.h"

#ifdef __cplusplus
extern "C" {
#endif

/* New zero-filled block of tamano bytes for one record; freed with mem_libera.
 * Out of memory aborts the process. */
COMPANION_API void *mem_reserva(size_t tamano) COMPANION_NOEXCEPT;

/* mem_reserva without the zero fill, for a container that writes each byte before it
 * reads it: the room it keeps in reserve then costs no writes, nor memory until used. */
COMPANION_API void *mem_reserva_sin_ceros(size_t tamano) COMPANION_NOEXCEPT;

/* Frees a block of mem_reserva given the size it was reserved with, and sets the
 * variable (whose address is bloque) to null. A null variable is accepted. */
COMPANION_API void mem_libera(void *bloque, size_t tamano) COMPANION_NOEXCEPT;

/* direccion is the address of a pointer variable of any type: returns the pointer it
 * holds and leaves the variable null. Moves lists and texts into a new record. */
COMPANION_API void *mem_traspasa(void *direccion) COMPANION_NOEXCEPT;

/* Number of blocks, texts and lists made by the companion and not yet freed. Tests
 * read it before and after a piece of work to prove that nothing leaked. */
COMPANION_API int64_t mem_bloques_vivos(void) COMPANION_NOEXCEPT;

/* The same value in the narrower type. A value that does not fit is reported through
 * informa_fallo_interno and narrowed to the largest value that fits (0 for a
 * negative one). */
COMPANION_API uint32_t conv_long_a_ulong(int32_t valor) COMPANION_NOEXCEPT;
COMPANION_API uint16_t conv_int_a_ushort(int valor) COMPANION_NOEXCEPT;
COMPANION_API uint16_t conv_ulong_a_ushort(uint32_t valor) COMPANION_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
