// abiertos.h - the elements a text's tags leave open, as a browser closes them: an end tag
// closes the innermost open element of its name and those inside it.
#ifndef HOST_ABIERTOS_H
#define HOST_ABIERTOS_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Open elements, inner last, each with what its reader keeps of it; names as the tags read
// them (lower case). An end tag of a name none has looks at none, and the walk down to the
// one it closes drops all it passes, so the walks of a text are as long as its start tags.
template <class T>
class ElementosAbiertos {
 public:
  struct Cerrado {
    T dato;         // the closed element's
    size_t dentro;  // elements inside it that closed with it
  };

  void abre(const std::string &nombre, T dato) {
    ++de_nombre_[nombre];
    pila_.emplace_back(nombre, std::move(dato));
  }

  // Closes the innermost open element of the name, and those inside it; nullopt when none
  // of the name is open.
  std::optional<Cerrado> cierra(const std::string &nombre) {
    const auto cuantos = de_nombre_.find(nombre);
    if (cuantos == de_nombre_.end() || cuantos->second == 0) return std::nullopt;
    for (size_t dentro = 0;; ++dentro) {
      auto [abierto, dato] = std::move(pila_.back());
      pila_.pop_back();
      --de_nombre_[abierto];
      if (abierto == nombre) return Cerrado{std::move(dato), dentro};
    }
  }

  const std::vector<std::pair<std::string, T>> &pila() const { return pila_; }

 private:
  std::vector<std::pair<std::string, T>> pila_;
  std::unordered_map<std::string, uint32_t> de_nombre_;
};

#endif
