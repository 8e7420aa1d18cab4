// tabla_links.h - a link table that owns its records, as a host's does, for tests and checks.
#ifndef PRUEBAS_TABLA_LINKS_H
#define PRUEBAS_TABLA_LINKS_H

#include "lenguaweb.h"

namespace pruebas {

// The list lives as long as the object; its records are freed with it.
struct TablaLinks {
  lista_reg_t *lista = lista_reg_crea(0);
  TablaLinks() = default;
  TablaLinks(const TablaLinks &) = delete;
  TablaLinks &operator=(const TablaLinks &) = delete;
  ~TablaLinks() {
    for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i) {
      tablalink_t *r = lista_reg_dame(lista, i);
      tablalink_destruye(&r);
    }
    lista_reg_destruye(&lista);
  }
};

}  // namespace pruebas

#endif
