/* motor.cpp - the text engine: brace groups kept, plain runs translated through a shared memory. */
#include <algorithm>
#include <functional>
#include <mutex>
#include <new>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "companion/interno.h"
#include "privado/blancos.h"

struct texto_dividido {
  struct Pieza {
    size_t inicio;
    size_t largo;
    bool grupo;
  };
  std::u16string texto;
  std::vector<Pieza> piezas;  // empty when the division failed
  bool ok = false;
};

namespace {

using companion::informa;

struct Hash {
  using is_transparent = void;
  size_t operator()(std::u16string_view v) const { return std::hash<std::u16string_view>{}(v); }
};

struct Memoria {
  std::shared_mutex cerrojo;
  std::unordered_map<std::u16string, std::u16string, Hash, std::equal_to<>> entradas;
};

// Never destroyed, so that a thread still translating while the process exits finds it.
Memoria &memoria() {
  static Memoria *m = new Memoria;
  return *m;
}

char16_t *mensaje_de(std::string_view fallo, size_t posicion) {
  std::string texto(fallo);
  texto += " at position ";
  texto += std::to_string(posicion);
  return companion::wtexto_de(std::u16string(texto.begin(), texto.end()));
}

bool en_blanco(std::u16string_view tramo) {
  return std::all_of(tramo.begin(), tramo.end(), es_blanco<char16_t>);
}

char16_t con_acento(char16_t c) {
  constexpr std::u16string_view kSin = u"aeiouAEIOU";
  constexpr std::u16string_view kCon =
      u"\u00E1\u00E9\u00ED\u00F3\u00FA\u00C1\u00C9\u00CD\u00D3\u00DA";
  const size_t vocal = kSin.find(c);
  return vocal != std::u16string_view::npos ? kCon[vocal] : c;
}

}  // namespace

extern "C" {

texto_dividido_t *motor_divide_texto_llaves(const char16_t *texto, booleano *ok,
                                            char16_t **mensaje) noexcept {
  auto *dividido = new (companion::reserva(sizeof(texto_dividido))) texto_dividido;
  if (texto != nullptr) dividido->texto = texto;
  const std::u16string_view t = dividido->texto;
  auto &piezas = dividido->piezas;

  constexpr size_t kNinguna = std::u16string_view::npos;
  size_t inicio_tramo = 0;
  size_t grupo_abierto = kNinguna;
  const char *fallo = nullptr;
  size_t posicion = 0;
  for (size_t i = 0; i < t.size() && fallo == nullptr; ++i) {
    if (t[i] == u'{') {
      if (grupo_abierto != kNinguna) {
        fallo = "'{' inside a group";
        posicion = i;
      } else {
        if (i > inicio_tramo) piezas.push_back({inicio_tramo, i - inicio_tramo, false});
        grupo_abierto = i;
      }
    } else if (t[i] == u'}') {
      if (grupo_abierto == kNinguna) {
        fallo = "'}' without its '{'";
        posicion = i;
      } else {
        piezas.push_back({grupo_abierto, i + 1 - grupo_abierto, true});
        grupo_abierto = kNinguna;
        inicio_tramo = i + 1;
      }
    }
  }
  if (fallo == nullptr && grupo_abierto != kNinguna) {
    fallo = "'{' without its '}'";
    posicion = grupo_abierto;
  }
  if (fallo == nullptr && inicio_tramo < t.size())
    piezas.push_back({inicio_tramo, t.size() - inicio_tramo, false});
  if (fallo != nullptr) piezas.clear();
  dividido->ok = fallo == nullptr;

  if (ok != nullptr) {
    *ok = dividido->ok ? CIERTO : FALSO;
  } else {
    informa("(ok) != NULL", __LINE__);
  }
  if (mensaje != nullptr) {
    *mensaje = fallo != nullptr ? mensaje_de(fallo, posicion) : nullptr;
  } else {
    informa("(mensaje) != NULL", __LINE__);
  }
  return dividido;
}

char16_t *motor_traduce_texto_dividido(const texto_dividido_t *dividido, const char * /*id*/,
                                       uint32_t /*origen*/, uint32_t /*destino*/,
                                       uint32_t opciones) noexcept {
  if (dividido == nullptr) {
    informa("(dividido) != NULL", __LINE__);
    return companion::wtexto_de(u"");
  }
  if (!dividido->ok) return companion::wtexto_de(dividido->texto);

  const std::u16string_view t = dividido->texto;
  const bool pseudo = (opciones & MOTOR_PSEUDOTRADUCCION) != 0;
  Memoria &m = memoria();
  // Held to the end: the translations found are read in place, not copied.
  std::shared_lock<std::shared_mutex> lectura(m.cerrojo);

  // What each piece becomes (null: the piece itself, or its pseudo-translation), and
  // the length of the whole, so that the result is made once.
  std::vector<const std::u16string *> traducciones(dividido->piezas.size(), nullptr);
  size_t largo = 0;
  for (size_t p = 0; p < dividido->piezas.size(); ++p) {
    const auto &pieza = dividido->piezas[p];
    const std::u16string_view tramo = t.substr(pieza.inicio, pieza.largo);
    if (!pieza.grupo) {
      auto entrada = m.entradas.find(tramo);
      if (entrada != m.entradas.end()) {
        traducciones[p] = &entrada->second;
        largo += entrada->second.size();
        continue;
      }
      if (pseudo && !en_blanco(tramo)) largo += 2;
    }
    largo += tramo.size();
  }

  auto *resultado = static_cast<char16_t *>(companion::reserva((largo + 1) * sizeof(char16_t)));
  char16_t *escribe = resultado;
  for (size_t p = 0; p < dividido->piezas.size(); ++p) {
    const auto &pieza = dividido->piezas[p];
    const std::u16string_view tramo = t.substr(pieza.inicio, pieza.largo);
    if (traducciones[p] != nullptr) {
      escribe = std::copy(traducciones[p]->begin(), traducciones[p]->end(), escribe);
    } else if (!pieza.grupo && pseudo && !en_blanco(tramo)) {
      *escribe++ = u'[';
      for (char16_t c : tramo) *escribe++ = con_acento(c);
      *escribe++ = u']';
    } else {
      escribe = std::copy(tramo.begin(), tramo.end(), escribe);
    }
  }
  *escribe = u'\0';
  return resultado;
}

void motor_destruye_texto_dividido(texto_dividido_t **dividido) noexcept {
  if (dividido == nullptr || *dividido == nullptr) return;
  (*dividido)->~texto_dividido();
  companion::libera(*dividido);
  *dividido = nullptr;
}

void motor_anade_traduccion(const char16_t *origen, const char16_t *destino) noexcept {
  if (origen == nullptr) {
    informa("(origen) != NULL", __LINE__);
    return;
  }
  if (destino == nullptr) {
    informa("(destino) != NULL", __LINE__);
    return;
  }
  Memoria &m = memoria();
  std::unique_lock<std::shared_mutex> escritura(m.cerrojo);
  m.entradas.insert_or_assign(std::u16string(origen), std::u16string(destino));
}

void motor_vacia_memoria(void) noexcept {
  Memoria &m = memoria();
  std::unique_lock<std::shared_mutex> escritura(m.cerrojo);
  m.entradas.clear();
}

}  // extern "C"
