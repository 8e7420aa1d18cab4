/* listas.h - ordered lists of texts, wide texts, numbers and link records. */
#ifndef COMPANION_LISTAS_H
#define COMPANION_LISTAS_H

#include "companion/tipos.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Lists keep their elements in the order of insertion and grow as needed.
 * Text and wide-text lists own their texts; a record list holds pointers to link
 * records that its owner frees. A *borrowed* element (the _dame operations) stays the
 * list's: it stops being valid when that element is replaced or dropped, or the list
 * is destroyed. An index out of range is reported and gives null / 0 / nothing.
 * A _destruye operation accepts a null variable and always leaves it null. */

/* Text lists. lista_cad_crea(n) makes a list of n null elements, which the caller
 * then sets with lista_cad_pon_propia; n is 0 everywhere else. */
COMPANION_API lista_cad_t *lista_cad_crea(uint32_t n) COMPANION_NOEXCEPT;
COMPANION_API void lista_cad_destruye(lista_cad_t **lista) COMPANION_NOEXCEPT;
COMPANION_API uint32_t lista_cad_num_elems(const lista_cad_t *lista) COMPANION_NOEXCEPT;
COMPANION_API const char *lista_cad_dame(const lista_cad_t *lista,
                                         uint32_t indice) COMPANION_NOEXCEPT;
COMPANION_API char *lista_cad_dame_copia(const lista_cad_t *lista,
                                         uint32_t indice) COMPANION_NOEXCEPT; /* new */
/* New list of copies of the n texts textos[0..n), in order (a null one stays null). The
 * copies stand side by side in blocks of about a quarter of a megabyte that the list owns,
 * so that a list of a page's hundreds of thousands of texts costs a few allocations
 * rather than one per text; they are elements as any other: replaced, dropped or borrowed
 * alike, and a block is freed once none of its copies is an element any more. textos stays
 * the caller's. A null textos with n > 0 is reported and gives null. */
COMPANION_API lista_cad_t *lista_cad_crea_copias(const char *const *textos,
                                                 uint32_t n) COMPANION_NOEXCEPT;
/* New list of the n texts textos[0..n) (a null one stays null), which stand in the
 * num_bloques blocks bloques[0..num_bloques), each largos[k] bytes long and made by
 * mem_reserva or mem_reserva_sin_ceros: the list takes the blocks over, as they are, and
 * leaves each bloques[k] null. Its texts are elements as those of lista_cad_crea_copias,
 * with no copy made; a block that holds none of them is freed. Each block ends in a NUL,
 * so that every text that begins in one stands whole in it. Blocks that overlap or do not
 * end so, or a text that begins in none of them, are reported: the result is then null,
 * and the blocks stay the caller's. */
COMPANION_API lista_cad_t *lista_cad_crea_de_bloques(const char *const *textos, uint32_t n,
                                                     char **bloques, const size_t *largos,
                                                     uint32_t num_bloques) COMPANION_NOEXCEPT;
/* Appends *texto and takes it over: *texto is left null. */
COMPANION_API void lista_cad_anade_propia(lista_cad_t *lista, char **texto) COMPANION_NOEXCEPT;
/* Appends a copy; the caller keeps texto. */
COMPANION_API void lista_cad_anade(lista_cad_t *lista, const char *texto) COMPANION_NOEXCEPT;
/* Replaces element indice (freeing the old text) by *texto, which it takes over. */
COMPANION_API void lista_cad_pon_propia(lista_cad_t *lista, uint32_t indice,
                                        char **texto) COMPANION_NOEXCEPT;
/* Appends copies of the texts of origen to destino, in order; origen is unchanged. */
COMPANION_API void lista_cad_concatena(lista_cad_t *destino,
                                       const lista_cad_t *origen) COMPANION_NOEXCEPT;
/* Keeps the first n elements and frees the texts dropped. */
COMPANION_API void lista_cad_reduce(lista_cad_t *lista, uint32_t n) COMPANION_NOEXCEPT;
/* New list holding copies of all the texts. The texts of lista_cad_crea_copias and
 * lista_cad_crea_de_bloques are not written again: the two lists hold the same read-only
 * bytes, freed with the last list that holds them; what one list does to its elements
 * never shows in the other. Lists that share texts may be used and destroyed on different
 * threads at once. */
COMPANION_API lista_cad_t *lista_cad_copia(const lista_cad_t *lista) COMPANION_NOEXCEPT;

/* Wide-text lists, as the text lists. */
COMPANION_API lista_wcad_t *lista_wcad_crea(uint32_t n) COMPANION_NOEXCEPT;
COMPANION_API void lista_wcad_destruye(lista_wcad_t **lista) COMPANION_NOEXCEPT;
COMPANION_API uint32_t lista_wcad_num_elems(const lista_wcad_t *lista) COMPANION_NOEXCEPT;
COMPANION_API const char16_t *lista_wcad_dame(const lista_wcad_t *lista,
                                              uint32_t indice) COMPANION_NOEXCEPT;
COMPANION_API void lista_wcad_anade_propia(lista_wcad_t *lista,
                                           char16_t **texto) COMPANION_NOEXCEPT;
COMPANION_API void lista_wcad_anade(lista_wcad_t *lista, const char16_t *texto) COMPANION_NOEXCEPT;
COMPANION_API void lista_wcad_pon_propia(lista_wcad_t *lista, uint32_t indice,
                                         char16_t **texto) COMPANION_NOEXCEPT;

/* Number lists; lista_num_crea(n) makes n zeros. */
COMPANION_API lista_num_t *lista_num_crea(uint32_t n) COMPANION_NOEXCEPT;
COMPANION_API void lista_num_destruye(lista_num_t **lista) COMPANION_NOEXCEPT;
COMPANION_API uint32_t lista_num_num_elems(const lista_num_t *lista) COMPANION_NOEXCEPT;
COMPANION_API uint32_t lista_num_dame(const lista_num_t *lista, uint32_t indice) COMPANION_NOEXCEPT;
COMPANION_API void lista_num_anade(lista_num_t *lista, uint32_t numero) COMPANION_NOEXCEPT;
COMPANION_API void lista_num_concatena(lista_num_t *destino,
                                       const lista_num_t *origen) COMPANION_NOEXCEPT;
COMPANION_API void lista_num_reduce(lista_num_t *lista, uint32_t n) COMPANION_NOEXCEPT;

/* Record lists. lista_reg_crea(n) makes n null elements, set with lista_reg_pon.
 * lista_reg_destruye frees the list, never its records: they stay their owner's. */
COMPANION_API lista_reg_t *lista_reg_crea(uint32_t n) COMPANION_NOEXCEPT;
COMPANION_API void lista_reg_destruye(lista_reg_t **lista) COMPANION_NOEXCEPT;
COMPANION_API uint32_t lista_reg_num_elems(const lista_reg_t *lista) COMPANION_NOEXCEPT;
COMPANION_API tablalink_t *lista_reg_dame(const lista_reg_t *lista,
                                          uint32_t indice) COMPANION_NOEXCEPT;
COMPANION_API void lista_reg_anade(lista_reg_t *lista, tablalink_t *registro) COMPANION_NOEXCEPT;
COMPANION_API void lista_reg_pon(lista_reg_t *lista, uint32_t indice,
                                 tablalink_t *registro) COMPANION_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
