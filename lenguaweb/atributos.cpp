/* atributos.cpp - the texts that stand inside tags: IMG ALT and META description and keywords. */
#include "lenguaweb/atributos.h"

#include <string>

namespace {

using htmlparser::kNoEsta;

/* Offset of the first place where nombre stands as an attribute name in texto. */
size_t busca_nombre_de_atributo(std::string_view texto, std::string_view nombre) {
  bool entre_comillas = false;
  for (size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c == '"') {
      entre_comillas = !entre_comillas;
    } else if (!entre_comillas && c == nombre[0] && i > 0 && htmlparser::es_blanco(texto[i - 1]) &&
               texto.compare(i, nombre.size(), nombre) == 0) {
      const size_t tras = i + nombre.size();
      if (tras == texto.size() || texto[tras] == '=' || htmlparser::es_blanco(texto[tras]))
        return i;
    }
  }
  return kNoEsta;
}

/* Fills the span and the two flags of texto from the value of attribute nombre. */
bool busca_texto(std::string_view tag, const char *nombre, texto_de_tag *texto) {
  htmlparser::valor_html valor;
  if (!lenguaweb_busca_valor(tag, nombre, &valor)) return false;
  texto->inicio = static_cast<uint32_t>(valor.inicio);
  texto->fin = static_cast<uint32_t>(valor.fin);
  texto->entre_comillas = valor.entre_comillas;
  texto->tras_igual = valor.tras_igual;
  return true;
}

}  // namespace

bool lenguaweb_busca_valor(std::string_view texto, const char *nombre,
                           htmlparser::valor_html *valor) {
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
  const htmlparser::valor_html leido =
      htmlparser::lee_valor(htmlparser::acotado(texto), p + buscado.size());
  if (leido.fin == kNoEsta) return false;
  *valor = leido;
  return true;
}

booleano lenguaweb_busca_atributo(std::string_view texto, const char *nombre, uint32_t *inicio,
                                  uint32_t *fin) {
  htmlparser::valor_html valor;
  if (!lenguaweb_busca_valor(texto, nombre, &valor)) return FALSO;
  *inicio = static_cast<uint32_t>(valor.inicio);
  *fin = static_cast<uint32_t>(valor.fin);
  return CIERTO;
}

booleano lenguaweb_dame_atributo(std::string_view tag, const char *nombre, char **valor) {
  uint32_t inicio = 0, fin = 0;
  if (lenguaweb_busca_atributo(tag, nombre, &inicio, &fin) != CIERTO) {
    *valor = nullptr;
    return FALSO;
  }
  *valor = cad_prefijo(tag.data() + inicio, fin - inicio);
  return CIERTO;
}

bool lenguaweb_procesa_img(std::string_view tag, texto_de_tag *texto) {
  if (!busca_texto(tag, "ALT", texto)) return false;
  texto->tipo = TIPO_ALTERNATIVO_IMAGEN;
  return true;
}

bool lenguaweb_procesa_meta(std::string_view tag, texto_de_tag *texto) {
  htmlparser::valor_html valor;
  if (!lenguaweb_busca_valor(tag, "NAME", &valor)) return false;
  const std::string_view nombre = tag.substr(valor.inicio, valor.fin - valor.inicio);
  i_tipo_texto_t tipo;
  if (htmlparser::nombre_es(nombre, "DESCRIPTION"))
    tipo = TIPO_DESCRIPCION;
  else if (htmlparser::nombre_es(nombre, "KEYWORDS"))
    tipo = TIPO_PALABRA_CLAVE;
  else
    return false;
  if (!busca_texto(tag, "CONTENT", texto)) return false;
  texto->tipo = tipo;
  return true;
}

bool lenguaweb_texto_de_tag(const tag_leido &tag, texto_de_tag *texto) {
  if (htmlparser::nombre_es(tag.nombre, "IMG")) return lenguaweb_procesa_img(tag.texto, texto);
  if (htmlparser::nombre_es(tag.nombre, "META")) return lenguaweb_procesa_meta(tag.texto, texto);
  return false;
}
