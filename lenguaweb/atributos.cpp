/* atributos.cpp - the texts that stand inside tags: IMG ALT and META description and keywords. */
#include "lenguaweb/atributos.h"

#include <string>
#include <string_view>

namespace {

using htmlparser::kNoEsta;

/* Whether the name in texto at [inicio, fin) is nombre, byte for byte. */
bool es_el_nombre(std::string_view texto, size_t inicio, size_t fin, std::string_view nombre) {
  return fin - inicio == nombre.size() && texto.compare(inicio, nombre.size(), nombre) == 0;
}

/* Fills the span and the flags of texto from the value of attribute nombre. */
bool busca_texto(std::string_view tag, const char *nombre, texto_de_tag *texto) {
  htmlparser::valor_html valor;
  if (!lenguaweb_busca_valor(tag, nombre, &valor)) return false;
  texto->inicio = static_cast<uint32_t>(valor.inicio);
  texto->fin = static_cast<uint32_t>(valor.fin);
  texto->entre_comillas = valor.entre_comillas;
  texto->tras_igual = valor.tras_igual;
  texto->comilla = valor.comilla;
  // Read as it always was: between double quotes, or unquoted and followed by a space,
  // with no blank at the '=' and no '>' inside.
  const std::string_view dentro = tag.substr(valor.inicio, valor.fin - valor.inicio);
  texto->forma_de_siempre =
      !valor.blancos_en_igual && dentro.find('>') == kNoEsta &&
      (valor.comilla == '"' ||
       (valor.comilla == 0 && valor.fin < tag.size() && tag[valor.fin] == ' '));
  return true;
}

/* Whether the tag has an attribute of this name, in any letter case. */
bool tiene_atributo(std::string_view tag, std::string_view nombre) {
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(tag);
  size_t i = htmlparser::fin_de_nombre_de_tag(t, 0);
  htmlparser::atributo_html a;
  while (htmlparser::lee_atributo(t, i, a)) {
    if (htmlparser::nombre_es(tag.substr(a.nombre, a.fin_nombre - a.nombre), nombre)) return true;
    if (a.valor.entre_comillas && a.valor.fin == kNoEsta) break;
  }
  return false;
}

}  // namespace

bool lenguaweb_busca_valor(std::string_view texto, const char *nombre,
                           htmlparser::valor_html *valor) {
  std::string mayusculas(nombre != nullptr ? nombre : "");
  if (mayusculas.empty()) return false;
  std::string minusculas = mayusculas;
  for (char &c : mayusculas) c = a_mayuscula(c);
  for (char &c : minusculas) c = a_minuscula(c);

  // The attributes as a browser reads them, after the tag's name.
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(texto);
  size_t i = !texto.empty() && texto[0] == '<' ? htmlparser::fin_de_nombre_de_tag(t, 0) : 0;
  htmlparser::atributo_html a;
  htmlparser::valor_html en_minusculas{};
  bool hay_minusculas = false;
  const htmlparser::valor_html *hallado = nullptr;
  while (htmlparser::lee_atributo(t, i, a)) {
    if (es_el_nombre(texto, a.nombre, a.fin_nombre, mayusculas)) {
      hallado = &a.valor;
      break;
    }
    if (!hay_minusculas && es_el_nombre(texto, a.nombre, a.fin_nombre, minusculas)) {
      en_minusculas = a.valor;
      hay_minusculas = true;
    }
    if (a.valor.entre_comillas && a.valor.fin == kNoEsta) break;
  }
  if (hallado == nullptr && hay_minusculas) hallado = &en_minusculas;
  if (hallado == nullptr || !hallado->tras_igual || hallado->fin == kNoEsta) return false;
  *valor = *hallado;
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

namespace {

/* The content of a META whose attribute clave (NAME or PROPERTY) holds nombre, when the table
 * of translatable attributes has it. With HTTP-EQUIV the content is an order to the browser
 * (a refresh, a policy), not words, whatever else the tag names. */
bool contenido_de_meta(std::string_view tag, std::string_view clave, std::string_view nombre,
                       texto_de_tag *texto) {
  for (const htmlparser::atributo_traducible &a : htmlparser::lista_de_atributos_traducibles())
    if (a.elemento == "META" && a.clave == clave && htmlparser::nombre_es(nombre, a.valor)) {
      if (tiene_atributo(tag, "HTTP-EQUIV") ||
          !busca_texto(tag, std::string(a.nombre).c_str(), texto))
        return false;
      texto->tipo = a.tipo;
      return true;
    }
  return false;
}

}  // namespace

bool lenguaweb_procesa_meta(std::string_view tag, texto_de_tag *texto) {
  htmlparser::valor_html valor;
  if (!lenguaweb_busca_valor(tag, "NAME", &valor)) return false;
  return contenido_de_meta(tag, "NAME", tag.substr(valor.inicio, valor.fin - valor.inicio), texto);
}

bool lenguaweb_procesa_meta_compartida(std::string_view tag, texto_de_tag *texto) {
  htmlparser::valor_html valor;
  if (!lenguaweb_busca_valor(tag, "PROPERTY", &valor) &&
      !lenguaweb_busca_valor(tag, "NAME", &valor))
    return false;
  return contenido_de_meta(tag, "PROPERTY", tag.substr(valor.inicio, valor.fin - valor.inicio),
                           texto);
}

bool lenguaweb_texto_de_tag(const tag_leido &tag, texto_de_tag *texto) {
  // The classic segmentation's reading of names (up to a space).
  if (htmlparser::nombre_es(tag.nombre_legado, "IMG"))
    return lenguaweb_procesa_img(tag.texto, texto);
  if (htmlparser::nombre_es(tag.nombre_legado, "META"))
    return lenguaweb_procesa_meta(tag.texto, texto);
  return false;
}
