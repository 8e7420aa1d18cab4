/* memoria.cpp - the counted allocator, record blocks, ownership moves and narrowing. */
#include <sys/mman.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "companion/interno.h"

namespace companion {
namespace {
std::atomic<int64_t> bloques_vivos{0};

[[noreturn]] void sin_memoria(size_t tamano) {
  std::fprintf(stderr, "lenguaweb companion: out of memory (%zu bytes)\n", tamano);
  std::abort();
}

constexpr size_t kPaginaGrande = size_t{2} << 20;

/* A large block (a page, the lists of its texts) is written once from end to end while it
 * is new: in pages of 4 KB that is a fault every 4 KB, which on a virtual machine costs
 * about as much as reading the page. Where the system gives 2 MB pages on request, the
 * whole 2 MB stretches inside the block ask for them. Advice only: nothing fails without it. */
void pide_paginas_grandes([[maybe_unused]] void *bloque, [[maybe_unused]] size_t tamano) {
#ifdef MADV_HUGEPAGE
  if (tamano < 2 * kPaginaGrande) return;
  const uintptr_t desde =
      (reinterpret_cast<uintptr_t>(bloque) + kPaginaGrande - 1) & ~uintptr_t{kPaginaGrande - 1};
  const uintptr_t hasta =
      (reinterpret_cast<uintptr_t>(bloque) + tamano) & ~uintptr_t{kPaginaGrande - 1};
  if (hasta > desde) ::madvise(reinterpret_cast<void *>(desde), hasta - desde, MADV_HUGEPAGE);
#endif
}
}  // namespace

void *reserva(size_t tamano) {
  // A large block starts at a 2 MB boundary, so that all of it can stand in 2 MB pages.
  void *bloque = nullptr;
  if (tamano >= 2 * kPaginaGrande) {
    const size_t redondeado = (tamano + kPaginaGrande - 1) & ~(kPaginaGrande - 1);
    bloque = std::aligned_alloc(kPaginaGrande, redondeado);
    // Not the rounded end: a 2 MB page there would be resident for the few bytes used.
    if (bloque != nullptr) pide_paginas_grandes(bloque, tamano);
  } else {
    bloque = std::malloc(tamano == 0 ? 1 : tamano);
  }
  if (bloque == nullptr) sin_memoria(tamano);
  bloques_vivos.fetch_add(1, std::memory_order_relaxed);
  return bloque;
}

void *redimensiona(void *bloque, size_t tamano) {
  if (bloque == nullptr) return reserva(tamano);
  void *nuevo = std::realloc(bloque, tamano == 0 ? 1 : tamano);
  if (nuevo == nullptr) sin_memoria(tamano);
  pide_paginas_grandes(nuevo, tamano);
  return nuevo;
}

void libera(void *bloque) {
  if (bloque == nullptr) return;
  bloques_vivos.fetch_sub(1, std::memory_order_relaxed);
  std::free(bloque);
}

char *texto_nuevo(size_t longitud) {
  char *texto = static_cast<char *>(reserva(longitud + 1));
  texto[longitud] = '\0';
  return texto;
}

char *texto_de(std::string_view texto) {
  char *copia = texto_nuevo(texto.size());
  if (!texto.empty()) std::memcpy(copia, texto.data(), texto.size());
  return copia;
}

char16_t *wtexto_de(std::u16string_view texto) {
  auto *copia = static_cast<char16_t *>(reserva((texto.size() + 1) * sizeof(char16_t)));
  if (!texto.empty()) std::memcpy(copia, texto.data(), texto.size() * sizeof(char16_t));
  copia[texto.size()] = u'\0';
  return copia;
}

int64_t bloques() {
  return bloques_vivos.load(std::memory_order_relaxed);
}

}  // namespace companion

extern "C" {

void *mem_reserva(size_t tamano) noexcept {
  void *bloque = companion::reserva(tamano);
  std::memset(bloque, 0, tamano);
  return bloque;
}

void *mem_reserva_sin_ceros(size_t tamano) noexcept {
  return companion::reserva(tamano);
}

void mem_libera(void *bloque, size_t /*tamano*/) noexcept {
  if (bloque == nullptr) return;
  void *puntero = nullptr;
  std::memcpy(&puntero, bloque, sizeof puntero);
  companion::libera(puntero);
  puntero = nullptr;
  std::memcpy(bloque, &puntero, sizeof puntero);
}

void *mem_traspasa(void *direccion) noexcept {
  if (direccion == nullptr) return nullptr;
  void *puntero = nullptr;
  void *nulo = nullptr;
  std::memcpy(&puntero, direccion, sizeof puntero);
  std::memcpy(direccion, &nulo, sizeof nulo);
  return puntero;
}

int64_t mem_bloques_vivos(void) noexcept {
  return companion::bloques();
}

uint32_t conv_long_a_ulong(int32_t valor) noexcept {
  if (valor < 0) {
    companion::informa("(valor) >= 0", __LINE__);
    return 0;
  }
  return static_cast<uint32_t>(valor);
}

uint16_t conv_int_a_ushort(int valor) noexcept {
  if (valor < 0) {
    companion::informa("(valor) >= 0", __LINE__);
    return 0;
  }
  if (valor > std::numeric_limits<uint16_t>::max()) {
    companion::informa("(valor) <= USHRT_MAX", __LINE__);
    return std::numeric_limits<uint16_t>::max();
  }
  return static_cast<uint16_t>(valor);
}

uint16_t conv_ulong_a_ushort(uint32_t valor) noexcept {
  if (valor > std::numeric_limits<uint16_t>::max()) {
    companion::informa("(valor) <= USHRT_MAX", __LINE__);
    return std::numeric_limits<uint16_t>::max();
  }
  return static_cast<uint16_t>(valor);
}

}  // extern "C"
