/* pila_de_elementos.h - the elements a reader keeps open as it walks tags, each with what it
 * keeps of it, closed as a browser closes them. The library keeps those that said something
 * of their content (translate="no", a note to its translators); the command, a text's
 * elements, to pair its tags and to check a translation's. */
#ifndef PRIVADO_PILA_DE_ELEMENTOS_H
#define PRIVADO_PILA_DE_ELEMENTOS_H

/* Internal, never installed. */

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

/* Inner last; names as the caller compares them (lower case). An end tag closes the last
 * element of its name and those inside it: the walk down to it pops every element it
 * passes, and an end tag of a name none has costs no walk, so the walks of a page are as
 * long as its start tags in all. */
template <class T>
struct pila_de_elementos {
  std::vector<std::pair<std::string, T>> abiertos;
  std::unordered_map<std::string, uint32_t> por_nombre; /* how many of abiertos have each name */

  struct cerrado {
    T dato;        /* the closed element's */
    size_t dentro; /* elements inside it that closed with it */
  };

  void abre(std::string nombre, T dato) {
    ++por_nombre[nombre];
    abiertos.emplace_back(std::move(nombre), std::move(dato));
  }
  /* Closes the innermost open element of the name, and those inside it; nullopt when none
   * of the name is open. */
  std::optional<cerrado> cierra(const std::string &nombre) {
    const auto cuenta = por_nombre.find(nombre);
    if (cuenta == por_nombre.end() || cuenta->second == 0) return std::nullopt;
    for (size_t dentro = 0;; ++dentro) {
      auto [abierto, dato] = std::move(abiertos.back());
      abiertos.pop_back();
      --por_nombre[abierto];
      if (abierto == nombre) return cerrado{std::move(dato), dentro};
    }
  }
  size_t profundidad() const { return abiertos.size(); }
  /* Closes the innermost ones until n stay open. */
  void cierra_hasta(size_t n) {
    for (; abiertos.size() > n; abiertos.pop_back()) --por_nombre[abiertos.back().first];
  }
  /* What the innermost keeps, or nullptr. */
  const T *ultimo() const { return abiertos.empty() ? nullptr : &abiertos.back().second; }
};

#endif
