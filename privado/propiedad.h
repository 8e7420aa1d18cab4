/* propiedad.h - companion texts, lists and blocks owned by C++ code inside the library. */
#ifndef PRIVADO_PROPIEDAD_H
#define PRIVADO_PROPIEDAD_H

/* Internal, never installed. Whatever the library makes through the companion is held
 * in one of these until it is handed on, so that it is freed by the companion's own
 * destroyer however the scope ends, and counted by mem_bloques_vivos all the while. */

#include <algorithm>
#include <cstddef>
#include <memory>

#include "companion/companion.h"

/* A companion object freed by its _destruye operation when its owner goes. */
template <class T, void (*destruye)(T **)>
struct destructor_companion {
  void operator()(T *objeto) const noexcept { destruye(&objeto); }
};
template <class T, void (*destruye)(T **)>
using propio = std::unique_ptr<T, destructor_companion<T, destruye>>;

using cad_propia = propio<char, cad_destruye>;
using wcad_propia = propio<char16_t, wcad_destruye>;
using lista_cad_propia = propio<lista_cad_t, lista_cad_destruye>;
using lista_num_propia = propio<lista_num_t, lista_num_destruye>;

/* A block of mem_reserva (or mem_reserva_sin_ceros) held until it is freed or handed on. */
struct liberador_contado {
  void operator()(char *bloque) const noexcept { mem_libera(&bloque, 0); }
};
using bloque_contado = std::unique_ptr<char[], liberador_contado>;

/* Appends texto to lista, which takes it over. */
inline void lista_cad_anade_propia(lista_cad_t *lista, cad_propia texto) noexcept {
  char *suelto = texto.release();
  lista_cad_anade_propia(lista, &suelto);
}

/* The allocator of the C++ containers that a library object keeps between calls: every
 * block comes from the companion, so mem_bloques_vivos counts it. Out of memory aborts. */
template <class T>
struct asignador_contado {
  using value_type = T;

  asignador_contado() = default;
  template <class U>
  asignador_contado(const asignador_contado<U> &) noexcept {}

  T *allocate(size_t n) { return static_cast<T *>(mem_reserva_sin_ceros(n * sizeof(T))); }
  void deallocate(T *bloque, size_t n) noexcept { mem_libera(&bloque, n * sizeof(T)); }

  friend bool operator==(const asignador_contado &, const asignador_contado &) { return true; }
};

/* Texts kept side by side (the document's, the copies of a list) stand in a run of blocks:
 * the first of a quarter of a megabyte, each next one twice the last up to 8 MB, so that a
 * small page's texts take one small block and a large page's stand in blocks large enough
 * for the 2 MB pages the companion asks for. */
constexpr size_t kPrimerBloqueDeTextos = 256 * 1024;
constexpr size_t bloque_de_textos_tras(size_t anterior) {
  return std::clamp(anterior * 2, kPrimerBloqueDeTextos, size_t{8} << 20);
}

#endif
