/* cadenas.h - owned byte and wide texts: copying, comparing and editing in place. */
#ifndef COMPANION_CADENAS_H
#define COMPANION_CADENAS_H

#include "companion/tipos.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Every function returning char * or char16_t * returns a new text that the caller
 * frees with cad_destruye / wcad_destruye. Text arguments declared const are only
 * read and stay the caller's. A function given &texto may free and replace the
 * text that the variable holds: any pointer into the old text stops being valid.
 * Out of memory aborts the process: no function returns a half-made text. */

/* New copy of texto; null gives null. */
COMPANION_API char *cad_copia(const char *texto) COMPANION_NOEXCEPT;

/* New text of the first cuenta bytes of texto (cuenta 0 gives ""). texto may point
 * into a longer text; the copy stops early at a NUL. The count is 32-bit so that no
 * stretch of a page is ever cut. */
COMPANION_API char *cad_prefijo(const char *texto, uint32_t cuenta) COMPANION_NOEXCEPT;

/* Length in bytes; 0 for null. */
COMPANION_API uint32_t cad_longitud(const char *texto) COMPANION_NOEXCEPT;

/* CIERTO when texto begins with prefijo, byte for byte. */
COMPANION_API booleano cad_empieza_por(const char *texto, const char *prefijo) COMPANION_NOEXCEPT;

/* As cad_empieza_por, ASCII letters compared without regard to case. */
COMPANION_API booleano cad_empieza_por_sin_mayus(const char *texto,
                                                 const char *prefijo) COMPANION_NOEXCEPT;

/* CIERTO when equal byte for byte. */
COMPANION_API booleano cad_iguales(const char *a, const char *b) COMPANION_NOEXCEPT;

/* CIERTO when equal with ASCII letters compared without regard to case. */
COMPANION_API booleano cad_iguales_sin_mayus(const char *a, const char *b) COMPANION_NOEXCEPT;

/* CIERTO when texto is null, empty, or holds only spaces, tabs, line feeds and
 * carriage returns. */
COMPANION_API booleano cad_en_blanco(const char *texto) COMPANION_NOEXCEPT;

/* ASCII letters converted in place; the text keeps its place and length, so it may
 * be a fixed buffer of the caller's. Bytes above 127 are left alone. */
COMPANION_API void cad_a_mayusculas(char *texto) COMPANION_NOEXCEPT;
COMPANION_API void cad_a_minusculas(char *texto) COMPANION_NOEXCEPT;

/* New text formatted as printf formats it. */
COMPANION_API char *cad_formatea(const char *formato, ...) COMPANION_NOEXCEPT
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

/* Removes prefijo from the front of *texto when *texto begins with it (exact, or
 * ignoring ASCII case); otherwise leaves it alone. */
COMPANION_API void cad_quita_prefijo(char **texto, const char *prefijo) COMPANION_NOEXCEPT;
COMPANION_API void cad_quita_prefijo_sin_mayus(char **texto,
                                               const char *prefijo) COMPANION_NOEXCEPT;

/* Replaces every occurrence of buscado in *texto by reemplazo: left to right, without
 * overlap, inserted text not searched again. An empty buscado changes nothing. */
COMPANION_API void cad_reemplaza_todas(char **texto, const char *buscado,
                                       const char *reemplazo) COMPANION_NOEXCEPT;

/* Replaces the longitud bytes from inicio by a copy of reemplazo (the caller keeps
 * it). A span reaching past the end is cut at the end. */
COMPANION_API void cad_sustituye_tramo(char **texto, uint32_t inicio, uint32_t longitud,
                                       const char *reemplazo) COMPANION_NOEXCEPT;

/* *texto becomes prefijo followed by the old text. */
COMPANION_API void cad_inserta_delante(char **texto, const char *prefijo) COMPANION_NOEXCEPT;

/* *texto becomes the old text followed by a copy of cola. */
COMPANION_API void cad_une(char **texto, const char *cola) COMPANION_NOEXCEPT;

/* New text of field numero (from 1) of texto, a field being a run of bytes that are
 * not separators; runs of separators count as one, as strtok counts them. So field 2
 * of "http://host/x" cut at "/" is "host". A field past the last gives "". */
COMPANION_API char *cad_extrae_campo(uint32_t numero, const char *texto,
                                     const char *separadores) COMPANION_NOEXCEPT;

/* Frees *texto (null is accepted) and sets it to null. */
COMPANION_API void cad_destruye(char **texto) COMPANION_NOEXCEPT;

/* Wide twins; lengths and counts in UTF-16 code units. */
COMPANION_API char16_t *wcad_copia(const char16_t *texto) COMPANION_NOEXCEPT;
COMPANION_API char16_t *wcad_prefijo(const char16_t *texto, uint32_t cuenta) COMPANION_NOEXCEPT;
COMPANION_API booleano wcad_empieza_por(const char16_t *texto,
                                        const char16_t *prefijo) COMPANION_NOEXCEPT;
COMPANION_API booleano wcad_iguales(const char16_t *a, const char16_t *b) COMPANION_NOEXCEPT;
COMPANION_API uint32_t wcad_longitud(const char16_t *texto) COMPANION_NOEXCEPT;
COMPANION_API void wcad_destruye(char16_t **texto) COMPANION_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
