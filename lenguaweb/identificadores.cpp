/* identificadores.cpp - the texts handed out to translate and the identifiers of what each is. */
#include "lenguaweb/identificadores.h"

#include <charconv>
#include <string_view>

namespace {

/* prefijo and the index in decimal, as "TEXTO_%lu" writes it: a page has hundreds of
 * thousands of texts, and formatting each through printf would cost more than all the
 * rest of handing them out. */
char *identificador_numerado(std::string_view prefijo, uint32_t indice) {
  char buffer[32];
  prefijo.copy(buffer, prefijo.size());
  char *fin = std::to_chars(buffer + prefijo.size(), buffer + sizeof buffer - 1, indice).ptr;
  *fin = 0;
  return cad_copia(buffer);
}

}  // namespace

lista_cad_t *lenguaweb_crea_ids(const lista_num_t *tipos_de_textos) {
  const uint32_t n = lista_num_num_elems(tipos_de_textos);
  lista_cad_t *ids = lista_cad_crea(n);
  for (uint32_t i = 0; i < n; ++i) {
    char *id;
    switch (lista_num_dame(tipos_de_textos, i)) {
      case TIPO_TITULO:
        id = cad_copia("TITULO");
        break;
      case TIPO_DESCRIPCION:
        id = cad_copia("DESCRIPCION");
        break;
      case TIPO_PALABRA_CLAVE:
        id = cad_copia("PALABRA_CLAVE");
        break;
      case TIPO_TEXTO:
        id = identificador_numerado("TEXTO_", i);
        break;
      case TIPO_ALTERNATIVO_IMAGEN:
        id = identificador_numerado("ALTERNATIVO_IMAGEN_", i);
        break;
      case TIPO_TITULO_ELEMENTO:
        id = identificador_numerado("TITULO_ELEMENTO_", i);
        break;
      case TIPO_EJEMPLO_CAMPO:
        id = identificador_numerado("EJEMPLO_CAMPO_", i);
        break;
      case TIPO_ETIQUETA_ACCESIBLE:
        id = identificador_numerado("ETIQUETA_ACCESIBLE_", i);
        break;
      case TIPO_RESUMEN_TABLA:
        id = identificador_numerado("RESUMEN_TABLA_", i);
        break;
      case TIPO_ETIQUETA:
        id = identificador_numerado("ETIQUETA_", i);
        break;
      case TIPO_TEXTO_BOTON:
        id = identificador_numerado("TEXTO_BOTON_", i);
        break;
      default:
        informa_en(kModuloLenguaweb, "");
        id = cad_copia("");
        break;
    }
    lista_cad_pon_propia(ids, i, &id);
  }
  return ids;
}

// The export keeps its name as it has always been spelt ("trducir"): hosts link against it.
extern "C" LENGUAWEB_API lista_cad_t *lenguaweb_dame_textos_a_trducir(const lenguaweb_t *lenguaweb,
                                                                      lista_cad_t **IDs) noexcept {
  if (informa_si_falta(kModuloLenguaweb, IDs, "(IDs) != NULL")) return nullptr;
  if (lenguaweb == nullptr) {
    informa_en(kModuloLenguaweb, "(lenguaweb) != NULL");
    *IDs = nullptr;
    return nullptr;
  }
  *IDs = lenguaweb_crea_ids(lenguaweb->tipos_de_textos);
  return lista_cad_copia(lenguaweb->textos);
}
