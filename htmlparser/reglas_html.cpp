/* reglas_html.cpp - the rules of reading HTML that are not templates: names and raw elements. */
#include "htmlparser/reglas_html.h"

namespace htmlparser {

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

namespace {

/* Whether texto at i holds nombre (letter case ignored) followed by what ends an end tag's
 * name: a blank, '/' or '>'. */
bool sigue_nombre(std::string_view texto, size_t i, std::string_view nombre) {
  return i + nombre.size() < texto.size() && nombre_es(texto.substr(i, nombre.size()), nombre) &&
         (es_blanco_html(texto[i + nombre.size()]) || texto[i + nombre.size()] == '/' ||
          texto[i + nombre.size()] == '>');
}

}  // namespace

bool es_fin_de_texto_sin_tags(std::string_view texto, size_t i, std::string_view nombre) {
  return texto.compare(i, 2, "</") == 0 && sigue_nombre(texto, i + 2, nombre);
}

size_t fin_de_texto_sin_tags(std::string_view texto, size_t desde, std::string_view nombre) {
  for (size_t p = texto.find("</", desde); p != kNoEsta; p = texto.find("</", p + 1))
    if (es_fin_de_texto_sin_tags(texto, p, nombre)) return p;
  return texto.size();
}

size_t fin_de_script(std::string_view texto, size_t desde) {
  constexpr std::string_view kScript = "script";
  enum { datos, escapado, doble } estado = datos;
  size_t guiones = 0; /* the '-' read last, in a row */
  for (size_t i = desde; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c == '-') {
      ++guiones;
      continue;
    }
    const size_t guiones_antes = guiones;
    guiones = 0;
    if (c == '>' && guiones_antes >= 2) {
      estado = datos;  // "-->" ends an escaped part, doubly escaped or not
    } else if (c != '<') {
      continue;
    } else if (estado == datos) {
      if (texto.compare(i + 1, 3, "!--") == 0) {
        estado = escapado;
        guiones = 2;  // "<!-->" is a whole escaped part
        i += 3;
      } else if (es_fin_de_texto_sin_tags(texto, i, kScript)) {
        return i;
      }
    } else if (estado == escapado) {
      if (es_fin_de_texto_sin_tags(texto, i, kScript)) return i;
      if (sigue_nombre(texto, i + 1, kScript)) {
        estado = doble;
        i += kScript.size() + 1;  // the blank, '/' or '>' after the name is read with it
      }
    } else if (es_fin_de_texto_sin_tags(texto, i, kScript)) {
      estado = escapado;
      i += kScript.size() + 2;
    }
  }
  return texto.size();
}

std::string_view nombre_de_elemento(std::string_view tag) {
  const size_t inicio = tag.size() > 1 && tag[1] == '/' ? 2 : 1;
  if (inicio >= tag.size() || !es_letra_ascii(tag[inicio])) return {};
  return tag.substr(inicio, fin_de_nombre_de_tag(acotado(tag), 0) - inicio);
}

bool sale_de_extranjero(std::string_view tag) {
  const elemento_html *e = busca_elemento(nombre_de_elemento(tag));
  if (e == nullptr) return false;
  if (tag[1] == '/') return e->cierre_sale_de_extranjero;
  if (!e->apertura_sale_de_extranjero) return false;
  // FONT leaves only with a COLOR, FACE or SIZE attribute: without one it is SVG's or
  // MathML's, and an XMP inside it is markup.
  if (!nombre_es(e->nombre, "FONT")) return true;
  const texto_acotado<char> t = acotado(tag);
  atributo_html a;
  for (size_t i = fin_de_nombre_de_tag(t, 0); lee_atributo(t, i, a);) {
    const std::string_view nombre = tag.substr(a.nombre, a.fin_nombre - a.nombre);
    if (nombre_es(nombre, "COLOR") || nombre_es(nombre, "FACE") || nombre_es(nombre, "SIZE"))
      return true;
  }
  return false;
}

bool se_lee_como_un_tag(std::string_view tag) {
  if (tag.empty() || tag.back() != '>') return false;
  const std::string_view nombre = nombre_de_elemento(tag);
  if (nombre.empty()) return false;
  // The states of a browser's tokenizer between a tag's name and its end, but for the
  // one that tells the others apart only by what they do with a '>': none but a quoted
  // value keeps it from ending the tag.
  enum {
    kFuera,
    kNombre,
    kTrasNombre,
    kAntesDeValor,
    kEntreComillas,
    kSinComillas
  } estado = kFuera;
  char comilla = 0;
  const size_t fin = tag.size() - 1;
  for (size_t i = static_cast<size_t>(nombre.data() - tag.data()) + nombre.size(); i < fin; ++i) {
    const char c = tag[i];
    switch (estado) {
      case kFuera:
        if (c == '>') return false;
        if (!es_blanco_de_tag(c) && c != '/') estado = kNombre;
        break;
      case kNombre:
      case kTrasNombre:
        if (c == '>') return false;
        if (c == '=')
          estado = kAntesDeValor;
        else if (c == '/')
          estado = kFuera;
        else if (es_blanco_de_tag(c))
          estado = kTrasNombre;
        else
          estado = kNombre;
        break;
      case kAntesDeValor:
        if (c == '>') return false;
        if (c == '"' || c == '\'') {
          comilla = c;
          estado = kEntreComillas;
        } else if (!es_blanco_de_tag(c)) {
          estado = kSinComillas;
        }
        break;
      case kEntreComillas:
        if (c == comilla) estado = kFuera;
        break;
      case kSinComillas:
        if (c == '>') return false;
        if (es_blanco_de_tag(c)) estado = kFuera;
        break;
    }
  }
  return estado != kEntreComillas;
}

}  // namespace htmlparser
