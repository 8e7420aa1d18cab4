// listas_a_vector.h - companion lists read into std::vector, for tests, fuzz checks and tools.
#ifndef PRUEBAS_LISTAS_A_VECTOR_H
#define PRUEBAS_LISTAS_A_VECTOR_H

#include <cstdint>
#include <string>
#include <vector>

#include "lenguaweb.h"

namespace pruebas {

// Copies of the elements; a null element reads as an empty text. The list stays the
// caller's.
inline std::vector<std::string> a_vector(const lista_cad_t *lista) {
  std::vector<std::string> v;
  for (uint32_t i = 0; i < lista_cad_num_elems(lista); ++i) {
    const char *t = lista_cad_dame(lista, i);
    v.emplace_back(t != nullptr ? t : "");
  }
  return v;
}

inline std::vector<uint32_t> a_vector(const lista_num_t *lista) {
  std::vector<uint32_t> v;
  for (uint32_t i = 0; i < lista_num_num_elems(lista); ++i) v.push_back(lista_num_dame(lista, i));
  return v;
}

inline std::vector<std::u16string> a_vector(const lista_wcad_t *lista) {
  std::vector<std::u16string> v;
  for (uint32_t i = 0; i < lista_wcad_num_elems(lista); ++i) {
    const char16_t *t = lista_wcad_dame(lista, i);
    v.emplace_back(t != nullptr ? t : u"");
  }
  return v;
}

}  // namespace pruebas

#endif
