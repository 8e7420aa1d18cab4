/* identificadores.cpp - the texts handed out to translate and the identifiers of what each is. */
#include "lenguaweb/identificadores.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

namespace {

/* The decimal digits of an index that goes up by one, as "TEXTO_%lu" writes it: a page has
 * hundreds of thousands of texts, and a division per digit of each would cost more than
 * the rest of handing them out. */
class indice_decimal {
 public:
  std::string_view cifras() const { return {cifras_, largo_}; }
  void siguiente() {
    size_t k = largo_;
    while (k > 0 && cifras_[k - 1] == '9') cifras_[--k] = '0';
    if (k > 0) {
      ++cifras_[k - 1];
    } else {
      std::memmove(cifras_ + 1, cifras_, largo_++);
      cifras_[0] = '1';
    }
  }

 private:
  char cifras_[10] = {'0'};  // up to UINT32_MAX
  size_t largo_ = 1;
};

/* What each kind is called, by kind; a numbered kind's identifier ends in its text's
 * index. */
struct nombre_de_tipo {
  std::string_view nombre;
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
  // The identifiers are written side by side into one block of their exact size, which
  // the list takes over as it is.
  const auto n = static_cast<uint32_t>(documento->registros.size());
  const auto nombre = [&](uint32_t i) -> const nombre_de_tipo * {
    const auto tipo = static_cast<uint32_t>(documento->registros[i].tipo);
    return tipo < std::size(kNombresDeTipos) ? &kNombresDeTipos[tipo] : nullptr;
  };
  size_t largo = 0;
  indice_decimal indice;
  for (uint32_t i = 0; i < n; ++i, indice.siguiente()) {
    const nombre_de_tipo *t = nombre(i);
    largo += t == nullptr ? 1 : t->nombre.size() + 1 + (t->numerado ? indice.cifras().size() : 0);
  }
  char *ids = static_cast<char *>(mem_reserva_sin_ceros(std::max<size_t>(largo, 1)));
  vector_contado<const char *> punteros;
  punteros.reserve(n);
  char *cursor = ids;
  indice = {};
  for (uint32_t i = 0; i < n; ++i, indice.siguiente()) {
    punteros.push_back(cursor);
    if (const nombre_de_tipo *t = nombre(i); t != nullptr) {
      cursor = std::copy(t->nombre.begin(), t->nombre.end(), cursor);
      if (t->numerado) cursor = std::copy(indice.cifras().begin(), indice.cifras().end(), cursor);
    } else {
      informa_en(kModuloLenguaweb, "");
    }
    *cursor++ = '\0';
  }
  lista_cad_t *lista = lista_cad_crea_de_bloques(punteros.data(), n, &ids, &largo, 1);
  mem_libera(&ids, largo);  // null once the list holds it
  return lista;
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
  // The document's texts are not written again: the list shares their blocks.
  if (lenguaweb->textos.lista != nullptr) return lista_cad_copia(lenguaweb->textos.lista.get());
  return lista_cad_crea_copias(lenguaweb->textos.textos.data(), lenguaweb_num_textos(lenguaweb));
}
