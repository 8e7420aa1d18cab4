/* listas.cpp - ordered lists of texts, wide texts, numbers and link records. */
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "companion/interno.h"
#include "privado/propiedad.h"

// Each list is a contiguous array behind its handle: appending is amortised O(1) and
// reaching an element O(1). The handle itself is one counted block.
// Texts made together (lista_cad_crea_copias, lista_cad_crea_de_bloques) stand side by
// side in blocks. An element that points into one of its list's blocks is not freed alone:
// the list lets go of the block when the last of its elements there is replaced or
// dropped, so that a host that replaces every text in turn does not keep them all. A copy
// of a list (lista_cad_copia) shares its blocks instead of copying their texts: the texts
// are never written once in a block, and a block goes with the last list that holds it.
struct bloque_de_textos {
  std::shared_ptr<char> bloque;
  size_t largo = 0;
  uint32_t vivas = 0; /* elements of this list that point into it */
  const char *inicio() const { return bloque.get(); }
};
// The elements stand in the companion's blocks, as the texts do: a page's lists run to
// millions of elements, and the companion asks for large pages for a large block.
template <class T>
using elementos_de = std::vector<T, asignador_contado<T>>;
struct lista_cad {
  elementos_de<char *> elementos;
  std::vector<bloque_de_textos> bloques; /* by address, ascending */
};
struct lista_wcad {
  elementos_de<char16_t *> elementos;
};
struct lista_num {
  elementos_de<uint32_t> elementos;
};
struct lista_reg {
  elementos_de<tablalink_t *> elementos;
};

namespace {

using companion::informa;

template <class Lista>
Lista *crea(uint32_t n) {
  void *bloque = companion::reserva(sizeof(Lista));
  auto *lista = new (bloque) Lista;
  lista->elementos.resize(n);
  return lista;
}

// A new empty list with room for n elements, which the caller appends in order: a page's
// lists run to millions, not written twice.
lista_cad *crea_con_sitio(size_t n) {
  auto *lista = crea<lista_cad>(0);
  lista->elementos.reserve(n);
  return lista;
}

constexpr size_t kNingunBloque = SIZE_MAX;

// The first of bloques (by address) that begins past texto.
auto tras(const std::vector<bloque_de_textos> &bloques, const char *texto) {
  return std::upper_bound(bloques.begin(), bloques.end(), texto,
                          [](const char *t, const bloque_de_textos &e) {
                            return std::less<const char *>()(t, e.inicio());
                          });
}

// Where among bloques the block that texto stands in is, or kNingunBloque. desde is where
// the last search ended: texts one after another mostly share a block.
size_t bloque_de(const std::vector<bloque_de_textos> &bloques, const char *texto,
                 size_t desde = kNingunBloque) {
  const std::less<const char *> antes;
  const auto dentro = [&](size_t b) {
    return !antes(texto, bloques[b].inicio()) &&
           antes(texto, bloques[b].inicio() + bloques[b].largo);
  };
  if (desde != kNingunBloque && dentro(desde)) return desde;
  const auto b = tras(bloques, texto);
  if (b == bloques.begin()) return kNingunBloque;
  const auto indice = static_cast<size_t>(b - bloques.begin()) - 1;
  return dentro(indice) ? indice : kNingunBloque;
}

// Adds a block to the list, in its place by address, holding vivas of its elements.
void anade_bloque(lista_cad &lista, std::shared_ptr<char> bloque, size_t largo, uint32_t vivas) {
  const auto sitio = tras(lista.bloques, bloque.get());
  lista.bloques.insert(sitio, bloque_de_textos{std::move(bloque), largo, vivas});
}

// Lets go of the text of element indice, which the list owns (nothing for numbers and
// records): freed, or one fewer in its block.
void suelta_elemento(lista_cad &lista, size_t indice) {
  char *texto = lista.elementos[indice];
  if (texto == nullptr) return;
  if (const size_t b = bloque_de(lista.bloques, texto); b != kNingunBloque) {
    // A block let go is dropped from the list: memory freed there may come back as a text
    // of the host's, which must not be taken for one of the block's.
    if (--lista.bloques[b].vivas == 0)
      lista.bloques.erase(lista.bloques.begin() + static_cast<long>(b));
    return;
  }
  companion::libera(texto);
}
void suelta_elemento(lista_wcad &lista, size_t indice) {
  companion::libera(lista.elementos[indice]);
}
void suelta_elemento(lista_num &, size_t) {}
void suelta_elemento(lista_reg &, size_t) {}

// Lets go of every element: the blocks all go at the end, so a text in one needs no count.
void suelta_todos(lista_cad &lista) {
  size_t b = kNingunBloque;
  for (char *texto : lista.elementos) {
    if (texto == nullptr) continue;
    b = bloque_de(lista.bloques, texto, b);
    if (b == kNingunBloque) companion::libera(texto);
  }
  lista.bloques.clear();
}
template <class Lista>
void suelta_todos(Lista &lista) {
  for (size_t i = 0; i < lista.elementos.size(); ++i) suelta_elemento(lista, i);
}

template <class Lista>
void destruye(Lista **lista) {
  if (lista == nullptr || *lista == nullptr) return;
  suelta_todos(**lista);
  (*lista)->~Lista();
  companion::libera(*lista);
  *lista = nullptr;
}

template <class Lista>
bool existe(const Lista *lista, uint32_t linea) {
  if (lista != nullptr) return true;
  informa("(lista) != NULL", linea);
  return false;
}

template <class Lista>
bool indice_valido(const Lista *lista, uint32_t indice, uint32_t linea) {
  if (!existe(lista, linea)) return false;
  if (indice < lista->elementos.size()) return true;
  informa("(indice) < num_elems", linea);
  return false;
}

template <class Lista>
uint32_t num_elems(const Lista *lista, uint32_t linea) {
  if (!existe(lista, linea)) return 0;
  return static_cast<uint32_t>(lista->elementos.size());
}

// Appends *texto and leaves the variable null. On a null list the text is freed: the
// caller gave it away either way.
template <class Lista, class Texto>
void anade_propia(Lista *lista, Texto **texto, uint32_t linea) {
  if (texto == nullptr) {
    informa("(texto) != NULL", linea);
    return;
  }
  if (existe(lista, linea))
    lista->elementos.push_back(*texto);
  else
    companion::libera(*texto);
  *texto = nullptr;
}

template <class Lista, class Texto>
void pon_propia(Lista *lista, uint32_t indice, Texto **texto, uint32_t linea) {
  if (texto == nullptr) {
    informa("(texto) != NULL", linea);
    return;
  }
  if (indice_valido(lista, indice, linea)) {
    Texto *&elemento = lista->elementos[indice];
    if (elemento != *texto) suelta_elemento(*lista, indice);
    elemento = *texto;
  } else {
    companion::libera(*texto);
  }
  *texto = nullptr;
}

template <class Lista, class Copia>
void concatena(Lista *destino, const Lista *origen, Copia copia, uint32_t linea) {
  if (!existe(destino, linea) || !existe(origen, linea)) return;
  // destino may be origen: only the elements present at the start are copied.
  const size_t n = origen->elementos.size();
  destino->elementos.reserve(destino->elementos.size() + n);
  for (size_t i = 0; i < n; ++i) destino->elementos.push_back(copia(origen->elementos[i]));
}

template <class Lista>
void reduce(Lista *lista, uint32_t n, uint32_t linea) {
  if (!existe(lista, linea) || n >= lista->elementos.size()) return;
  for (size_t i = n; i < lista->elementos.size(); ++i) suelta_elemento(*lista, i);
  lista->elementos.resize(n);
}

// Element indice, borrowed; null (or 0) for an index out of range, reported.
template <class Lista>
auto dame(const Lista *lista, uint32_t indice, uint32_t linea) {
  using Elemento = typename decltype(lista->elementos)::value_type;
  return indice_valido(lista, indice, linea) ? lista->elementos[indice] : Elemento{};
}

// A new list of copies of textos[0..n), side by side in a run of blocks of their own
// (bloque_de_textos_tras): a host that replaces every text in turn keeps at most one large
// block of originals.
lista_cad *crea_copias(const char *const *textos, size_t n) {
  size_t tope = kPrimerBloqueDeTextos;  // of the next block
  auto *lista = crea_con_sitio(n);
  std::vector<size_t> largos;  // of the next block's texts, NUL included; 0 for a null one
  for (size_t primero = 0; primero < n;) {
    // The texts that fill the next block: at least one, however long.
    size_t largo = 0;
    largos.clear();
    for (size_t i = primero; i < n; ++i) {
      const size_t con_nul = textos[i] != nullptr ? std::strlen(textos[i]) + 1 : 0;
      if (largo > 0 && largo + con_nul > tope) break;
      largo += con_nul;
      largos.push_back(con_nul);
    }
    if (largo > 0) {
      std::shared_ptr<char> bloque(static_cast<char *>(companion::reserva(largo)),
                                   companion::liberador{});
      char *copia = bloque.get();
      uint32_t vivas = 0;
      for (size_t k = 0; k < largos.size(); ++k) {
        lista->elementos.push_back(largos[k] == 0 ? nullptr : copia);
        if (largos[k] == 0) continue;
        std::memcpy(copia, textos[primero + k], largos[k]);
        copia += largos[k];
        ++vivas;
      }
      anade_bloque(*lista, std::move(bloque), largo, vivas);
    } else {
      lista->elementos.resize(lista->elementos.size() + largos.size());
    }
    tope = bloque_de_textos_tras(tope);
    primero += largos.size();
  }
  return lista;
}

char *copia_texto(const char *texto) {
  return texto != nullptr ? companion::texto_de(texto) : nullptr;
}

// A new list of the same texts as origen: those that stand in its blocks shared with it,
// the others (a host's own) copied one by one.
lista_cad *copia_lista(const lista_cad &origen) {
  const size_t n = origen.elementos.size();
  auto *lista = crea_con_sitio(n);
  std::vector<uint32_t> vivas(origen.bloques.size());
  size_t b = kNingunBloque;
  for (size_t i = 0; i < n; ++i) {
    char *texto = origen.elementos[i];
    if (texto != nullptr) b = bloque_de(origen.bloques, texto, b);
    if (texto != nullptr && b != kNingunBloque) ++vivas[b];
    lista->elementos.push_back(texto == nullptr || b != kNingunBloque ? texto
                                                                      : companion::texto_de(texto));
  }
  // Already in order by address, as origen's.
  for (size_t k = 0; k < vivas.size(); ++k)
    if (vivas[k] > 0)
      lista->bloques.push_back({origen.bloques[k].bloque, origen.bloques[k].largo, vivas[k]});
  return lista;
}

}  // namespace

extern "C" {

// What every kind of list has, kind by kind.
// clang-format off
lista_cad_t *lista_cad_crea(uint32_t n) noexcept { return crea<lista_cad>(n); }
lista_wcad_t *lista_wcad_crea(uint32_t n) noexcept { return crea<lista_wcad>(n); }
lista_num_t *lista_num_crea(uint32_t n) noexcept { return crea<lista_num>(n); }
lista_reg_t *lista_reg_crea(uint32_t n) noexcept { return crea<lista_reg>(n); }

void lista_cad_destruye(lista_cad_t **lista) noexcept { destruye(lista); }
void lista_wcad_destruye(lista_wcad_t **lista) noexcept { destruye(lista); }
void lista_num_destruye(lista_num_t **lista) noexcept { destruye(lista); }
void lista_reg_destruye(lista_reg_t **lista) noexcept { destruye(lista); }

uint32_t lista_cad_num_elems(const lista_cad_t *lista) noexcept { return num_elems(lista, __LINE__); }
uint32_t lista_wcad_num_elems(const lista_wcad_t *lista) noexcept { return num_elems(lista, __LINE__); }
uint32_t lista_num_num_elems(const lista_num_t *lista) noexcept { return num_elems(lista, __LINE__); }
uint32_t lista_reg_num_elems(const lista_reg_t *lista) noexcept { return num_elems(lista, __LINE__); }

const char *lista_cad_dame(const lista_cad_t *lista, uint32_t indice) noexcept {
  return dame(lista, indice, __LINE__);
}
const char16_t *lista_wcad_dame(const lista_wcad_t *lista, uint32_t indice) noexcept {
  return dame(lista, indice, __LINE__);
}
uint32_t lista_num_dame(const lista_num_t *lista, uint32_t indice) noexcept {
  return dame(lista, indice, __LINE__);
}
tablalink_t *lista_reg_dame(const lista_reg_t *lista, uint32_t indice) noexcept {
  return dame(lista, indice, __LINE__);
}
// clang-format on

// Texts and wide texts: taken over, copied and replaced.

char *lista_cad_dame_copia(const lista_cad_t *lista, uint32_t indice) noexcept {
  return copia_texto(dame(lista, indice, __LINE__));
}

void lista_cad_anade_propia(lista_cad_t *lista, char **texto) noexcept {
  anade_propia(lista, texto, __LINE__);
}

void lista_wcad_anade_propia(lista_wcad_t *lista, char16_t **texto) noexcept {
  anade_propia(lista, texto, __LINE__);
}

void lista_cad_anade(lista_cad_t *lista, const char *texto) noexcept {
  if (existe(lista, __LINE__))
    lista->elementos.push_back(texto != nullptr ? companion::texto_de(texto) : nullptr);
}

void lista_wcad_anade(lista_wcad_t *lista, const char16_t *texto) noexcept {
  if (existe(lista, __LINE__))
    lista->elementos.push_back(texto != nullptr ? companion::wtexto_de(texto) : nullptr);
}

void lista_cad_pon_propia(lista_cad_t *lista, uint32_t indice, char **texto) noexcept {
  pon_propia(lista, indice, texto, __LINE__);
}

void lista_wcad_pon_propia(lista_wcad_t *lista, uint32_t indice, char16_t **texto) noexcept {
  pon_propia(lista, indice, texto, __LINE__);
}

lista_cad_t *lista_cad_crea_copias(const char *const *textos, uint32_t n) noexcept {
  if (n > 0 && textos == nullptr) {
    companion::informa("(textos) != NULL");
    return nullptr;
  }
  return crea_copias(textos, n);
}

lista_cad_t *lista_cad_crea_de_bloques(const char *const *textos, uint32_t n, char **bloques,
                                       const size_t *largos, uint32_t num_bloques) noexcept {
  if ((n > 0 && textos == nullptr) ||
      (num_bloques > 0 && (bloques == nullptr || largos == nullptr))) {
    companion::informa("(textos) != NULL && (bloques) != NULL && (largos) != NULL");
    return nullptr;
  }
  // Checked before any block is taken over: the list holds them unowned until then.
  auto *lista = crea_con_sitio(n);
  bool validos = true;
  for (uint32_t b = 0; b < num_bloques; ++b) {
    validos = validos && bloques[b] != nullptr;
    if (bloques[b] != nullptr)
      anade_bloque(*lista, std::shared_ptr<char>(std::shared_ptr<char>(), bloques[b]), largos[b],
                   0);
  }
  // A block that ends in a NUL holds whole every text that begins in it: each text is
  // then checked by where it begins alone, not read again. A block is read only once it
  // is known not to overlap the one before.
  for (size_t b = 0; validos && b < lista->bloques.size(); ++b) {
    const bloque_de_textos &bloque = lista->bloques[b];
    validos =
        (b == 0 || !std::less<const char *>()(bloque.inicio(), lista->bloques[b - 1].inicio() +
                                                                   lista->bloques[b - 1].largo)) &&
        (bloque.largo == 0 || bloque.inicio()[bloque.largo - 1] == '\0');
  }
  size_t b = kNingunBloque;
  for (uint32_t i = 0; validos && i < n; ++i) {
    lista->elementos.push_back(nullptr);
    if (textos[i] == nullptr) continue;
    b = bloque_de(lista->bloques, textos[i], b);
    validos = b != kNingunBloque;
    if (!validos) break;
    lista->elementos.back() = const_cast<char *>(textos[i]);
    ++lista->bloques[b].vivas;
  }
  if (!validos) {
    companion::informa("each text stands whole in one of the blocks, which do not overlap");
    lista->elementos.clear();
    lista->bloques.clear();
    destruye(&lista);
    return nullptr;
  }
  for (bloque_de_textos &bloque : lista->bloques)
    bloque.bloque = std::shared_ptr<char>(bloque.bloque.get(), companion::liberador{});
  std::fill_n(bloques, num_bloques, nullptr);
  // A block that no text stands in is freed now.
  std::erase_if(lista->bloques, [](const bloque_de_textos &e) { return e.vivas == 0; });
  return lista;
}

lista_cad_t *lista_cad_copia(const lista_cad_t *lista) noexcept {
  if (!existe(lista, __LINE__)) return crea<lista_cad>(0);
  return copia_lista(*lista);
}

// Texts and numbers: joined and cut.

void lista_cad_concatena(lista_cad_t *destino, const lista_cad_t *origen) noexcept {
  concatena(destino, origen, copia_texto, __LINE__);
}

void lista_num_concatena(lista_num_t *destino, const lista_num_t *origen) noexcept {
  concatena(
      destino, origen, [](uint32_t numero) { return numero; }, __LINE__);
}

void lista_cad_reduce(lista_cad_t *lista, uint32_t n) noexcept {
  reduce(lista, n, __LINE__);
}

void lista_num_reduce(lista_num_t *lista, uint32_t n) noexcept {
  reduce(lista, n, __LINE__);
}

// Numbers and records: appended and set as they are.

void lista_num_anade(lista_num_t *lista, uint32_t numero) noexcept {
  if (existe(lista, __LINE__)) lista->elementos.push_back(numero);
}

void lista_reg_anade(lista_reg_t *lista, tablalink_t *registro) noexcept {
  if (existe(lista, __LINE__)) lista->elementos.push_back(registro);
}

void lista_reg_pon(lista_reg_t *lista, uint32_t indice, tablalink_t *registro) noexcept {
  if (indice_valido(lista, indice, __LINE__)) lista->elementos[indice] = registro;
}

}  // extern "C"
