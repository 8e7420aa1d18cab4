// listas.cpp - companion lists to and from std::vector, and whole files to and from std::string,
// for tests, fuzz checks and tools.
#include "listas.h"

#include <fstream>
#include <iterator>

namespace pruebas {

std::vector<std::string> a_vector(const lista_cad_t *lista) {
  std::vector<std::string> v;
  for (uint32_t i = 0; i < lista_cad_num_elems(lista); ++i) {
    const char *t = lista_cad_dame(lista, i);
    v.emplace_back(t != nullptr ? t : "");
  }
  return v;
}

std::vector<uint32_t> a_vector(const lista_num_t *lista) {
  std::vector<uint32_t> v;
  for (uint32_t i = 0; i < lista_num_num_elems(lista); ++i) v.push_back(lista_num_dame(lista, i));
  return v;
}

std::vector<std::u16string> a_vector(const lista_wcad_t *lista) {
  std::vector<std::u16string> v;
  for (uint32_t i = 0; i < lista_wcad_num_elems(lista); ++i) {
    const char16_t *t = lista_wcad_dame(lista, i);
    v.emplace_back(t != nullptr ? t : u"");
  }
  return v;
}

lista_cad_t *a_lista(const std::vector<std::string> &textos) {
  lista_cad_t *lista = lista_cad_crea(0);
  for (const auto &t : textos) lista_cad_anade(lista, t.c_str());
  return lista;
}

lista_wcad_t *a_lista(const std::vector<std::u16string> &textos) {
  lista_wcad_t *lista = lista_wcad_crea(0);
  for (const auto &t : textos) lista_wcad_anade(lista, t.c_str());
  return lista;
}

std::string lee_fichero(const std::string &ruta) {
  std::ifstream entrada(ruta, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(entrada), {});
}

bool escribe_fichero(const std::string &ruta, std::string_view bytes) {
  std::ofstream salida(ruta, std::ios::binary);
  return static_cast<bool>(salida.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

}  // namespace pruebas
