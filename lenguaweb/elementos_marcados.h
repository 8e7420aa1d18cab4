/* elementos_marcados.h - the elements open that said something of their content
 * (translate="no", a note to its translators), as a page is walked tag by tag. */
#ifndef LENGUAWEB_ELEMENTOS_MARCADOS_H
#define LENGUAWEB_ELEMENTOS_MARCADOS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

/* Inner last, each with what it said; names in lower case. Only such elements are kept,
 * so the list stays short. An end tag closes the last element of its name and those
 * inside it: the walk down to it pops every element it passes, and an end tag of a name
 * none has costs no walk, so the walks of a page are as long as its start tags in all. */
template <class T>
struct elementos_marcados {
  std::vector<std::pair<std::string, T>> abiertos;
  std::unordered_map<std::string, uint32_t> por_nombre; /* how many of abiertos have each name */

  void abre(std::string nombre, T dice) {
    ++por_nombre[nombre];
    abiertos.emplace_back(std::move(nombre), std::move(dice));
  }
  /* Whether an element of the name was open; it and those inside it are closed now. */
  bool cierra(const std::string &nombre) {
    const auto cuenta = por_nombre.find(nombre);
    if (cuenta == por_nombre.end() || cuenta->second == 0) return false;
    for (;;) {
      const bool es_el = abiertos.back().first == nombre;
      --por_nombre[abiertos.back().first];
      abiertos.pop_back();
      if (es_el) return true;
    }
  }
  size_t profundidad() const { return abiertos.size(); }
  /* Closes the innermost ones until n stay open. */
  void cierra_hasta(size_t n) {
    for (; abiertos.size() > n; abiertos.pop_back()) --por_nombre[abiertos.back().first];
  }
  /* What the innermost said, or nullptr. */
  const T *ultimo() const { return abiertos.empty() ? nullptr : &abiertos.back().second; }
};

#endif
