// listas.h - companion lists to and from std::vector, and whole files to and from std::string,
// for tests, fuzz checks and tools.
#ifndef PRUEBAS_LISTAS_H
#define PRUEBAS_LISTAS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lenguaweb.h"

namespace pruebas {

// Copies of the elements; a null element reads as an empty text. The list stays the
// caller's. Nothing fails.
std::vector<std::string> a_vector(const lista_cad_t *lista);
std::vector<uint32_t> a_vector(const lista_num_t *lista);
std::vector<std::u16string> a_vector(const lista_wcad_t *lista);

// The kind of each text of a page document (lenguaweb/documento.h), in order.
template <class Documento>
std::vector<uint32_t> tipos_de(const Documento *documento) {
  std::vector<uint32_t> tipos;
  for (const auto &registro : documento->registros) tipos.push_back(registro.tipo);
  return tipos;
}

// New companion lists holding copies of the texts; they belong to the caller.
lista_cad_t *a_lista(const std::vector<std::string> &textos);
lista_wcad_t *a_lista(const std::vector<std::u16string> &textos);

// A page read by lenguaweb_crea, with the texts and identifiers that a host is given for
// it; all freed with it.
struct PaginaConTextos {
  lenguaweb_t *doc;
  lista_cad_t *ids = nullptr, *textos;
  PaginaConTextos(const std::string &ruta, uint32_t idioma)
      : doc(lenguaweb_crea(ruta.c_str(), idioma)),
        textos(lenguaweb_dame_textos_a_trducir(doc, &ids)) {}
  PaginaConTextos(const PaginaConTextos &) = delete;
  ~PaginaConTextos() {
    lista_cad_destruye(&textos);
    lista_cad_destruye(&ids);
    lenguaweb_destruye(&doc);
  }
};

// The bytes of the file at ruta ("" when it cannot be read); bytes written to the file at
// ruta (false when they could not be).
std::string lee_fichero(const std::string &ruta);
bool escribe_fichero(const std::string &ruta, std::string_view bytes);

}  // namespace pruebas

#endif
