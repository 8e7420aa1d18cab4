/* lectura_tags.cpp - reading a tag as page segmentation reads it, shared with the rebuild. */
#include "lenguaweb/lectura_tags.h"

#include <cstring>

namespace {

char a_mayuscula(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

/* Offset of the first "</" + nombre (letter case ignored) in texto[desde, hasta), or
 * hasta when there is none. */
uint32_t busca_cierre_de(std::string_view texto, uint32_t desde, uint32_t hasta,
                         std::string_view nombre) {
  const uint32_t largo = static_cast<uint32_t>(nombre.size()) + 2;
  uint32_t p = desde;
  while (p + largo <= hasta) {
    const void *menor = std::memchr(texto.data() + p, '<', hasta - p);
    if (menor == nullptr) break;
    p = static_cast<uint32_t>(static_cast<const char *>(menor) - texto.data());
    if (p + largo > hasta) break;
    if (texto[p + 1] == '/' && lenguaweb_nombre_es(texto.substr(p + 2, nombre.size()), nombre))
      return p;
    ++p;
  }
  return hasta;
}

}  // namespace

bool lenguaweb_nombre_es(std::string_view nombre, std::string_view buscado) {
  if (nombre.size() != buscado.size()) return false;
  for (size_t i = 0; i < nombre.size(); ++i)
    if (a_mayuscula(nombre[i]) != a_mayuscula(buscado[i])) return false;
  return true;
}

bool lenguaweb_nombre_empieza_por(std::string_view nombre, std::string_view prefijo) {
  return nombre.size() >= prefijo.size() &&
         lenguaweb_nombre_es(nombre.substr(0, prefijo.size()), prefijo);
}

int lenguaweb_indice_en_linea(std::string_view nombre) {
  // Asked of every tag read inside a text: the length sorts out almost every name.
  const bool cierre = !nombre.empty() && nombre[0] == '/';
  const std::string_view base = cierre ? nombre.substr(1) : nombre;
  const int par = cierre ? 1 : 0;
  switch (base.size()) {
    case 1:
      if (lenguaweb_nombre_es(base, "U")) return 0 + par;
      if (lenguaweb_nombre_es(base, "B")) return 2 + par;
      if (lenguaweb_nombre_es(base, "I")) return 4 + par;
      return -1;
    case 2:
      if (lenguaweb_nombre_es(base, "EM")) return 6 + par;
      if (!cierre && lenguaweb_nombre_es(base, "BR")) return 10;
      return -1;
    case 4:
      return lenguaweb_nombre_es(base, "FONT") ? 11 + par : -1;
    case 6:
      return lenguaweb_nombre_es(base, "STRONG") ? 8 + par : -1;
    default:
      return -1;
  }
}

tag_leido lenguaweb_lee_tag_en(std::string_view texto, uint32_t inicio, elemento_crudo crudo,
                               bool informa) {
  const uint32_t largo = static_cast<uint32_t>(texto.size());
  tag_leido tag{};
  tag.inicio = inicio;

  // cierre: offset of the closing '>', or largo when the tag has none.
  uint32_t cierre = largo;
  if (texto.substr(inicio, 4) == "<!--") {
    size_t fin_comentario = texto.find("-->", inicio);
    if (fin_comentario != std::string_view::npos)
      cierre = static_cast<uint32_t>(fin_comentario) + 2;
  } else {
    const void *mayor = inicio + 1 < largo
                            ? std::memchr(texto.data() + inicio + 1, '>', largo - inicio - 1)
                            : nullptr;
    if (mayor != nullptr)
      cierre = static_cast<uint32_t>(static_cast<const char *>(mayor) - texto.data());
  }

  uint32_t fin_texto = cierre;
  tag.fin = cierre < largo ? cierre + 1 : largo;
  if (crudo != elemento_crudo::ninguno) {
    const uint32_t corte = busca_cierre_de(texto, inicio + 1, cierre,
                                           crudo == elemento_crudo::script ? "SCRIPT" : "STYLE");
    if (corte < cierre) {
      fin_texto = corte;
      tag.fin = corte;
    }
  }
  if (fin_texto == largo && informa) LENGUAWEB_INFORMA("(fin_tag) != NULL");

  tag.texto = texto.substr(inicio, fin_texto - inicio);
  std::string_view resto = tag.texto.substr(1);
  tag.nombre = resto.substr(0, std::min(resto.find(' '), resto.size()));
  return tag;
}

void lenguaweb_cambia_elemento_crudo(elemento_crudo &crudo, std::string_view nombre, bool informa) {
  size_t blanco = 0;
  while (blanco < nombre.size() && !lenguaweb_es_blanco(nombre[blanco])) ++blanco;
  nombre = nombre.substr(0, blanco);

  const bool cierra = !nombre.empty() && nombre[0] == '/';
  const std::string_view base = cierra ? nombre.substr(1) : nombre;
  elemento_crudo este;
  if (lenguaweb_nombre_es(base, "SCRIPT"))
    este = elemento_crudo::script;
  else if (lenguaweb_nombre_es(base, "STYLE"))
    este = elemento_crudo::style;
  else
    return;

  if (!cierra) {
    if (crudo == elemento_crudo::ninguno) crudo = este;
  } else if (crudo == este) {
    crudo = elemento_crudo::ninguno;
  } else if (crudo == elemento_crudo::ninguno && informa) {
    LENGUAWEB_INFORMA("*procesar_texto == FALSO");
  }
}
