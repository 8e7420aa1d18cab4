/* identificadores.cpp - the texts handed out to translate and the identifiers of what each is. */
#include "lenguaweb/identificadores.h"

#include <charconv>
#include <iterator>
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

/* What each kind is called, by kind; a numbered kind's identifier ends in its text's
 * index. */
struct nombre_de_tipo {
  const char *nombre;
  bool numerado;
};
constexpr nombre_de_tipo kNombresDeTipos[] = {{"TITULO", false},
                                              {"DESCRIPCION", false},
                                              {"PALABRA_CLAVE", false},
                                              {"TEXTO_", true},
                                              {"ALTERNATIVO_IMAGEN_", true},
                                              {"TITULO_ELEMENTO_", true},
                                              {"EJEMPLO_CAMPO_", true},
                                              {"ETIQUETA_ACCESIBLE_", true},
                                              {"RESUMEN_TABLA_", true},
                                              {"ETIQUETA_", true},
                                              {"TEXTO_BOTON_", true},
                                              {"DESCRIPCION_ACCESIBLE_", true},
                                              {"ROL_ACCESIBLE_", true},
                                              {"EJEMPLO_ACCESIBLE_", true},
                                              {"ABREVIATURA_CELDA_", true},
                                              {"OG_TITULO_", true},
                                              {"OG_DESCRIPCION_", true},
                                              {"OG_ALTERNATIVO_IMAGEN_", true},
                                              {"OG_NOMBRE_SITIO_", true},
                                              {"TWITTER_TITULO_", true},
                                              {"TWITTER_DESCRIPCION_", true},
                                              {"TWITTER_ALTERNATIVO_IMAGEN_", true}};
static_assert(std::size(kNombresDeTipos) == TIPO_TWITTER_ALTERNATIVO_IMAGEN + 1,
              "one name per kind");

}  // namespace

lista_cad_t *lenguaweb_crea_ids(const lenguaweb_t *documento) {
  const auto n = static_cast<uint32_t>(documento->registros.size());
  lista_cad_t *ids = lista_cad_crea(n);
  for (uint32_t i = 0; i < n; ++i) {
    const auto tipo = static_cast<uint32_t>(documento->registros[i].tipo);
    char *id;
    if (tipo >= std::size(kNombresDeTipos)) {
      informa_en(kModuloLenguaweb, "");
      id = cad_copia("");
    } else if (kNombresDeTipos[tipo].numerado) {
      id = identificador_numerado(kNombresDeTipos[tipo].nombre, i);
    } else {
      id = cad_copia(kNombresDeTipos[tipo].nombre);
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
  *IDs = lenguaweb_crea_ids(lenguaweb);
  const uint32_t n = lenguaweb_num_textos(lenguaweb);
  lista_cad_t *textos = lista_cad_crea(n);
  for (uint32_t i = 0; i < n; ++i) {
    char *copia = cad_copia(lenguaweb_texto(lenguaweb, i));
    lista_cad_pon_propia(textos, i, &copia);
  }
  return textos;
}
