/* informe.cpp - delivers failure reports to the host's receptor, or to standard error. */
#include <cstdio>
#include <mutex>

#include "companion/interno.h"

namespace {

void receptor_por_defecto(const char *condicion, const char *modulo, uint32_t linea, void *) {
  std::fprintf(stderr, "lenguaweb: failed condition \"%s\" in %s, line %u\n",
               condicion != nullptr ? condicion : "", modulo != nullptr ? modulo : "",
               static_cast<unsigned>(linea));
}

std::mutex cerrojo;
informa_fallo_receptor_t receptor_actual = receptor_por_defecto;
void *contexto_actual = nullptr;

}  // namespace

extern "C" {

void informa_fallo_interno(const char *condicion, const char *modulo, uint32_t linea) noexcept {
  informa_fallo_receptor_t receptor;
  void *contexto;
  {
    // The receptor runs outside the lock, so that it may itself report.
    std::lock_guard<std::mutex> guarda(cerrojo);
    receptor = receptor_actual;
    contexto = contexto_actual;
  }
  receptor(condicion != nullptr ? condicion : "", modulo != nullptr ? modulo : "", linea, contexto);
}

void informa_fallo_pon_receptor(informa_fallo_receptor_t receptor, void *contexto) noexcept {
  std::lock_guard<std::mutex> guarda(cerrojo);
  receptor_actual = receptor != nullptr ? receptor : receptor_por_defecto;
  contexto_actual = receptor != nullptr ? contexto : nullptr;
}

}  // extern "C"
