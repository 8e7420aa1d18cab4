/* interno.h - what the companion's own files share: the counted allocator and reports. */
#ifndef COMPANION_INTERNO_H
#define COMPANION_INTERNO_H

#include <memory>
#include <string_view>

#include "companion/companion.h"
#include "privado/informe.h"

namespace companion {

/* Every block that crosses the boundary comes from here, so mem_bloques_vivos can
 * count them. Out of memory aborts the process. */
void *reserva(size_t tamano);
/* realloc; a null bloque counts as a new block. */
void *redimensiona(void *bloque, size_t tamano);
/* free; null accepted. */
void libera(void *bloque);

/* A block of reserva owned by C++ code, freed by libera when its owner goes. */
struct liberador {
  void operator()(void *bloque) const noexcept { libera(bloque); }
};
template <class T>
using bloque_propio = std::unique_ptr<T, liberador>;

/* New text of longitud bytes (uninitialised) and its terminating NUL. */
char *texto_nuevo(size_t longitud);
char *texto_de(std::string_view texto);
char16_t *wtexto_de(std::u16string_view texto);

/* informa_en with the companion's module text. */
inline void informa(const char *condicion, uint32_t linea = __builtin_LINE()) noexcept {
  informa_en(kModuloCompanion, condicion, linea);
}

}  // namespace companion

#endif
