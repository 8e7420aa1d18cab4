// analisis_gumbo.cpp - a page parsed by gumbo, the parse owning every byte it allocated.
#include "analisis_gumbo.h"

#include <gumbo.h>

#include <cstddef>
#include <cstdlib>

namespace navegador {

// Each block gumbo asks for is preceded by its links in a circular list whose head the
// parse holds; freeing unlinks it, so the list is what gumbo has not freed.
struct alignas(std::max_align_t) Enlace {
  Enlace *anterior;
  Enlace *siguiente;
};

struct AnalisisGumbo::Bloques {
  Enlace cabeza{&cabeza, &cabeza};
  GumboOptions opciones = kGumboDefaultOptions;

  static void *reserva(void *datos, size_t largo) {
    auto *cabeza = static_cast<Enlace *>(datos);
    auto *bloque = static_cast<Enlace *>(std::malloc(sizeof(Enlace) + largo));
    if (bloque == nullptr) std::abort();  // gumbo writes through what it is given
    bloque->anterior = cabeza;
    bloque->siguiente = cabeza->siguiente;
    cabeza->siguiente->anterior = bloque;
    cabeza->siguiente = bloque;
    return bloque + 1;
  }
  static void suelta(void *, void *p) {
    if (p == nullptr) return;
    Enlace *bloque = static_cast<Enlace *>(p) - 1;
    bloque->anterior->siguiente = bloque->siguiente;
    bloque->siguiente->anterior = bloque->anterior;
    std::free(bloque);
  }

  Bloques() {
    opciones.allocator = reserva;
    opciones.deallocator = suelta;
    opciones.userdata = &cabeza;
  }
  ~Bloques() {
    while (cabeza.siguiente != &cabeza) suelta(nullptr, cabeza.siguiente + 1);
  }
};

AnalisisGumbo::AnalisisGumbo(std::string_view html)
    : texto_(html),
      bloques_(std::make_unique<Bloques>()),
      salida_(gumbo_parse_with_options(&bloques_->opciones, texto_.data(), texto_.size())) {}

AnalisisGumbo::~AnalisisGumbo() {
  gumbo_destroy_output(&bloques_->opciones, salida_);
}

}  // namespace navegador
