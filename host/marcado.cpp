// marcado.cpp - the markup of a text as a browser reads it: which tags a translation may
// carry, and whether a text has anything to translate.
#include "marcado.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <variant>

#include "privado/pila_de_elementos.h"
#include "htmlparser/referencias.h"
#include "htmlparser/reglas_compartidas.h"
#include "privado/ascii.h"
#include "sin_traducir.h"

namespace {

constexpr size_t npos = std::string_view::npos;

using reglas_compartidas::kNoEsta;

// The inline tags that a translation may add or drop when they carry no attribute: the
// library's own list of the tags that stay inside a body text.
bool es_libre(const TagDeTexto &tag) {
  if (tag.clase == TagDeTexto::Clase::comentario) return false;
  if (tag.clase == TagDeTexto::Clase::apertura && !tag.atributos.empty()) return false;
  for (std::string_view nombre : reglas_compartidas::tags_en_linea())
    if (!nombre.starts_with('/') && reglas_compartidas::nombre_es(nombre, tag.nombre)) return true;
  return false;
}

// Drops every attribute whose name came before, keeping the order: the names are sorted
// once, not each looked for among those before it (a tag of many attributes).
void quita_repetidos(std::vector<std::pair<std::string, std::string>> &atributos) {
  if (atributos.size() < 2) return;
  std::vector<uint32_t> orden(atributos.size());
  for (uint32_t k = 0; k < orden.size(); ++k) orden[k] = k;
  std::stable_sort(orden.begin(), orden.end(),
                   [&](uint32_t x, uint32_t y) { return atributos[x].first < atributos[y].first; });
  std::vector<bool> repetido(atributos.size(), false);
  for (size_t k = 1; k < orden.size(); ++k)
    repetido[orden[k]] = atributos[orden[k]].first == atributos[orden[k - 1]].first;
  size_t quedan = 0;
  for (size_t k = 0; k < atributos.size(); ++k) {
    if (repetido[k]) continue;
    if (quedan != k) atributos[quedan] = std::move(atributos[k]);
    ++quedan;
  }
  atributos.resize(quedan);
}

// Reads the start or end tag whose '<' stands at i with the page's own rules: its name,
// then its attributes up to the '>' that ends it. The offset after the '>'; npos when the
// text ends first or a quoted value never closes (no tag, to a browser, but text).
size_t lee_tag_con_nombre(std::string_view t, size_t i, TagDeTexto *tag,
                          bool (*guarda)(std::string_view)) {
  const reglas_compartidas::texto_html vista{t};
  size_t j = reglas_compartidas::fin_de_nombre_de_tag(vista, i);
  const size_t nombre = i + (tag->clase == TagDeTexto::Clase::cierre ? 2 : 1);
  tag->nombre = en_minusculas(t.substr(nombre, j - nombre));
  reglas_compartidas::atributo_leido a;
  while (reglas_compartidas::lee_atributo(vista, j, a)) {
    if (a.fin_valor == kNoEsta) return npos;
    if (tag->clase != TagDeTexto::Clase::apertura) continue;
    std::string atributo = en_minusculas(t.substr(a.nombre, a.fin_nombre - a.nombre));
    if (guarda == nullptr || guarda(atributo))
      tag->atributos.emplace_back(std::move(atributo),
                                  t.substr(a.inicio_valor, a.fin_valor - a.inicio_valor));
  }
  quita_repetidos(tag->atributos);
  return j < t.size() ? j + 1 : npos;
}

// The tag or comment whose '<' stands at i, and the offset after it; npos when none
// opens there. Only the attributes that guarda takes are kept, when it is given.
size_t lee_tag(std::string_view t, size_t i, TagDeTexto *tag,
               bool (*guarda)(std::string_view) = nullptr) {
  *tag = {};
  const std::string_view resto = t.substr(i);
  size_t fin = npos;
  if (reglas_compartidas::tiene_atributos({t}, i)) {
    if (resto[1] == '/') tag->clase = TagDeTexto::Clase::cierre;
    fin = lee_tag_con_nombre(t, i, tag, guarda);
  } else if (resto.starts_with("<!") || resto.starts_with("<?")) {
    // A comment ("<!-->" and "<!--->" are whole ones), a declaration or a bogus comment;
    // one that never ends runs to the end.
    tag->clase = TagDeTexto::Clase::comentario;
    fin = std::min(reglas_compartidas::cierre_de_tag_o_comentario({t}, i) + 1, t.size());
  }
  if (fin != npos) tag->escrito = t.substr(i, fin - i);
  return fin;
}

// What a reading of the tags leaves: the elements still open at the end, the end tags
// that close nothing (both sorted), and the first end tag that closes an element while
// another one inside it is still open.
struct Estructura {
  std::vector<std::string> abiertos, sueltos;
  std::string cruce;
};

Estructura estructura(const std::vector<TagDeTexto> &tags) {
  Estructura e;
  pila_de_elementos<std::monostate> pila;
  for (const TagDeTexto &tag : tags) {
    if (tag.clase == TagDeTexto::Clase::apertura &&
        !reglas_compartidas::es_elemento_vacio(tag.nombre)) {
      pila.abre(tag.nombre, {});
    } else if (tag.clase == TagDeTexto::Clase::cierre) {
      // The innermost open one, named if the end tag closes it with others.
      std::string dentro;
      if (e.cruce.empty() && !pila.abiertos.empty()) dentro = pila.abiertos.back().first;
      const auto cerrado = pila.cierra(tag.nombre);
      if (!cerrado) {
        e.sueltos.push_back(tag.nombre);
        continue;
      }
      if (cerrado->dentro > 0 && e.cruce.empty())
        e.cruce = "it ends <" + tag.nombre + "> before the <" + dentro + "> inside it";
    }
  }
  for (const auto &[nombre, nada] : pila.abiertos) e.abiertos.push_back(nombre);
  std::sort(e.abiertos.begin(), e.abiertos.end());
  std::sort(e.sueltos.begin(), e.sueltos.end());
  return e;
}

// The first name that one sorted list has more often than the other: in una when
// una_de_mas, else in otra; empty when they are equal.
std::pair<std::string, bool> primera_diferencia(const std::vector<std::string> &una,
                                                const std::vector<std::string> &otra) {
  const auto [a, b] = std::mismatch(una.begin(), una.end(), otra.begin(), otra.end());
  if (a == una.end() && b == otra.end()) return {{}, false};
  if (b == otra.end() || (a != una.end() && *a < *b)) return {*a, true};
  return {*b, false};
}

// A tag as the comparison sees it: names in lower case, attributes sorted.
std::string clave(const TagDeTexto &tag) {
  if (tag.clase == TagDeTexto::Clase::comentario) return "!" + std::string(tag.escrito);
  if (tag.clase == TagDeTexto::Clase::cierre) return "/" + tag.nombre;
  auto atributos = tag.atributos;
  std::sort(atributos.begin(), atributos.end());
  std::string r = tag.nombre;
  for (const auto &[nombre, valor] : atributos)
    r.append(1, '\0').append(nombre).append(1, '=').append(valor);
  return r;
}

// The first '<' of texto that begins a start or end tag the text never finishes (no '>',
// or a quote left open), npos when none does: written before the page's own markup, a
// '>' of that markup would finish the tag, attributes and all.
size_t tag_sin_terminar(std::string_view texto) {
  TagDeTexto tag;
  for (size_t i = texto.find('<'); i != npos; i = texto.find('<', i + 1)) {
    const size_t fin = lee_tag(texto, i, &tag);
    if (fin != npos)
      i = fin - 1;
    else if (reglas_compartidas::tiene_atributos({texto}, i))
      return i;
  }
  return npos;
}

}  // namespace

bool marcado_siguiente_tag(std::string_view texto, size_t *desde, TagDeTexto *tag,
                           bool (*guarda)(std::string_view)) {
  for (size_t i = texto.find('<', *desde); i != npos; i = texto.find('<', i + 1)) {
    const size_t fin = lee_tag(texto, i, tag, guarda);
    if (fin != npos) {
      *desde = fin;
      return true;
    }
  }
  *desde = texto.size();
  return false;
}

std::vector<TagDeTexto> marcado_tags(std::string_view texto) {
  std::vector<TagDeTexto> tags;
  size_t desde = 0;
  for (TagDeTexto tag; marcado_siguiente_tag(texto, &desde, &tag);) tags.push_back(std::move(tag));
  return tags;
}

bool marcado_tiene_letras(std::string_view texto) {
  const auto *bytes = reinterpret_cast<const uint8_t *>(texto.data());
  const auto n = static_cast<int32_t>(std::min<size_t>(texto.size(), INT32_MAX));
  TagDeTexto tag;
  for (int32_t i = 0; i < n;) {
    if (texto[i] == '<') {
      const size_t fin = lee_tag(texto, static_cast<size_t>(i), &tag);
      if (fin != npos) {
        i = static_cast<int32_t>(fin);
        continue;
      }
    }
    UChar32 c;
    // A reference stands for its characters, not for the letters of its name.
    if (const htmlparser::referencia_html ref =
            htmlparser::lee_referencia(texto.substr(static_cast<size_t>(i)), false);
        ref.largo > 0) {
      c = static_cast<UChar32>(ref.puntos[0]);
      i += static_cast<int32_t>(ref.largo);
    } else {
      U8_NEXT(bytes, i, n, c);
    }
    if (c >= 0 && u_isalnum(c)) return true;
  }
  return false;
}

std::string marcado_en_caracteres(std::string_view texto) {
  if (texto.find('&') == npos) return std::string(texto);
  size_t i = texto.find_first_of("<&");
  const auto legible = [](char32_t c) {
    return c == 0 || c == '\t' || c == '\n' ||
           (c >= 0x20 && c < 0x7F && c != '<' && c != '>' && c != '&') || c >= 0xA0;
  };
  std::string r(texto.substr(0, i));
  r.reserve(texto.size());
  TagDeTexto tag;
  while (i < texto.size()) {
    const size_t otro = texto.find_first_of("<&", i);
    r.append(texto.substr(i, otro - i));
    if (otro == npos) break;
    i = otro;
    size_t fin = i + 1;
    if (texto[i] == '<') {
      if (const size_t cierre = lee_tag(texto, i, &tag); cierre != npos) fin = cierre;
    } else if (const htmlparser::referencia_html ref =
                   htmlparser::lee_referencia(texto.substr(i), false);
               ref.largo > 0) {
      fin = i + ref.largo;
      if (legible(ref.puntos[0]) && ref.puntos[0] != 0 && legible(ref.puntos[1])) {
        r.append(htmlparser::utf8_de_referencia(ref));
        i = fin;
        continue;
      }
    }
    r.append(texto.substr(i, fin - i));
    i = fin;
  }
  return r;
}

std::string marcado_compara(std::string_view origen, std::string_view traduccion) {
  if (const size_t sin_terminar = tag_sin_terminar(traduccion);
      sin_terminar != npos && tag_sin_terminar(origen) == npos)
    return "it leaves " + std::string(traduccion.substr(sin_terminar, 16)) + " unfinished";
  if (std::string cambio = sin_traducir_compara(origen, traduccion); !cambio.empty()) return cambio;
  const std::vector<TagDeTexto> de_origen = marcado_tags(origen);
  const std::vector<TagDeTexto> de_traduccion = marcado_tags(traduccion);
  // Every tag of the source that is not free, as often as the source has it.
  std::unordered_map<std::string, int> faltan;
  for (const TagDeTexto &tag : de_origen)
    if (!es_libre(tag)) ++faltan[clave(tag)];
  for (const TagDeTexto &tag : de_traduccion)
    if (!es_libre(tag) && --faltan[clave(tag)] < 0) return "it adds " + std::string(tag.escrito);
  for (const TagDeTexto &tag : de_origen)
    if (!es_libre(tag) && faltan[clave(tag)] > 0) return "it lacks " + std::string(tag.escrito);

  const Estructura e_origen = estructura(de_origen);
  const Estructura e_traduccion = estructura(de_traduccion);
  if (e_origen.cruce.empty() && !e_traduccion.cruce.empty()) return e_traduccion.cruce;
  if (const auto [nombre, de_mas] = primera_diferencia(e_traduccion.abiertos, e_origen.abiertos);
      !nombre.empty())
    return de_mas ? "it leaves <" + nombre + "> open"
                  : "it closes <" + nombre + ">, which the source leaves open";
  if (const auto [nombre, de_mas] = primera_diferencia(e_traduccion.sueltos, e_origen.sueltos);
      !nombre.empty())
    return de_mas ? "it has </" + nombre + "> without its start tag"
                  : "it drops </" + nombre + ">, which ends an element begun before the text";
  return {};
}
