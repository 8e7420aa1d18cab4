/* atributos.cpp - the texts that stand inside tags: IMG ALT and META description and keywords. */
#include "lenguaweb/atributos.h"

#include <cstring>
#include <string>

namespace {

constexpr size_t kNoEsta = std::string_view::npos;

/* Offset of the first place where nombre stands as an attribute name in texto. */
size_t busca_nombre_de_atributo(std::string_view texto, std::string_view nombre) {
  bool entre_comillas = false;
  for (size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c == '"') {
      entre_comillas = !entre_comillas;
    } else if (!entre_comillas && c == nombre[0] && i > 0 && lenguaweb_es_blanco(texto[i - 1]) &&
               texto.compare(i, nombre.size(), nombre) == 0) {
      const size_t tras = i + nombre.size();
      if (tras == texto.size() || texto[tras] == '=' || lenguaweb_es_blanco(texto[tras])) return i;
    }
  }
  return kNoEsta;
}

bool busca_valor(std::string_view texto, const char *nombre, uint32_t *inicio, uint32_t *fin,
                 bool *entre_comillas) {
  std::string buscado(nombre != nullptr ? nombre : "");
  if (buscado.empty()) return false;
  for (char &c : buscado)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  size_t p = busca_nombre_de_atributo(texto, buscado);
  if (p == kNoEsta) {
    for (char &c : buscado)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    p = busca_nombre_de_atributo(texto, buscado);
    if (p == kNoEsta) return false;
  }
  p += buscado.size();
  if (p < texto.size() && texto[p] == '=') ++p;
  size_t final;
  bool comillas = p < texto.size() && texto[p] == '"';
  if (comillas) {
    ++p;
    final = texto.find('"', p);
  } else {
    final = texto.find(' ', p);
    if (final == kNoEsta) final = texto.find('>', p);
  }
  if (final == kNoEsta) return false;
  *inicio = static_cast<uint32_t>(p);
  *fin = static_cast<uint32_t>(final);
  if (entre_comillas != nullptr) *entre_comillas = comillas;
  return true;
}

}  // namespace

booleano lenguaweb_busca_atributo(std::string_view texto, const char *nombre, uint32_t *inicio,
                                  uint32_t *fin) {
  return busca_valor(texto, nombre, inicio, fin, nullptr) ? CIERTO : FALSO;
}

booleano lenguaweb_dame_atributo(std::string_view tag, const char *nombre, char **valor) {
  uint32_t inicio = 0, fin = 0;
  if (!busca_valor(tag, nombre, &inicio, &fin, nullptr)) {
    *valor = nullptr;
    return FALSO;
  }
  *valor = cad_prefijo(tag.data() + inicio, fin - inicio);
  return CIERTO;
}

bool lenguaweb_procesa_img(std::string_view tag, texto_de_tag *texto) {
  if (!busca_valor(tag, "ALT", &texto->inicio, &texto->fin, &texto->entre_comillas)) return false;
  texto->tipo = TIPO_ALTERNATIVO_IMAGEN;
  return true;
}

bool lenguaweb_procesa_meta(std::string_view tag, texto_de_tag *texto) {
  uint32_t inicio = 0, fin = 0;
  if (!busca_valor(tag, "NAME", &inicio, &fin, nullptr)) return false;
  const std::string_view nombre = tag.substr(inicio, fin - inicio);
  i_tipo_texto_t tipo;
  if (lenguaweb_nombre_es(nombre, "DESCRIPTION"))
    tipo = TIPO_DESCRIPCION;
  else if (lenguaweb_nombre_es(nombre, "KEYWORDS"))
    tipo = TIPO_PALABRA_CLAVE;
  else
    return false;
  if (!busca_valor(tag, "CONTENT", &texto->inicio, &texto->fin, &texto->entre_comillas))
    return false;
  texto->tipo = tipo;
  return true;
}

bool lenguaweb_texto_de_tag(const tag_leido &tag, texto_de_tag *texto) {
  if (lenguaweb_nombre_es(tag.nombre, "IMG")) return lenguaweb_procesa_img(tag.texto, texto);
  if (lenguaweb_nombre_es(tag.nombre, "META")) return lenguaweb_procesa_meta(tag.texto, texto);
  return false;
}
