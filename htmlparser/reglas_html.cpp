/* reglas_html.cpp - the rules of reading HTML that are not templates: names and raw elements. */
#include "htmlparser/reglas_html.h"

namespace htmlparser {

namespace {

char a_mayuscula(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool nombre_es(std::string_view nombre, std::string_view buscado) {
  if (nombre.size() != buscado.size()) return false;
  for (size_t i = 0; i < nombre.size(); ++i)
    if (a_mayuscula(nombre[i]) != a_mayuscula(buscado[i])) return false;
  return true;
}

bool nombre_empieza_por(std::string_view nombre, std::string_view prefijo) {
  return nombre.size() >= prefijo.size() && nombre_es(nombre.substr(0, prefijo.size()), prefijo);
}

int bit_de_tag_en_linea(std::string_view nombre) {
  // Asked of every tag read inside a text: the length sorts out almost every name.
  for (size_t bit = 0; bit < kTagsEnLinea.size(); ++bit)
    if (nombre_es(nombre, kTagsEnLinea[bit])) return static_cast<int>(bit);
  return -1;
}

size_t busca_fin_de_elemento(std::string_view texto, size_t desde, size_t hasta,
                             std::string_view nombre) {
  const size_t largo = nombre.size() + 2;
  for (size_t p = desde; p + largo <= hasta; ++p) {
    const void *menor = std::memchr(texto.data() + p, '<', hasta - p);
    if (menor == nullptr) break;
    p = static_cast<size_t>(static_cast<const char *>(menor) - texto.data());
    if (p + largo > hasta) break;
    if (texto[p + 1] == '/' && nombre_es(texto.substr(p + 2, nombre.size()), nombre)) return p;
  }
  return hasta;
}

}  // namespace htmlparser
