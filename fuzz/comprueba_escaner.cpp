/* comprueba_escaner.cpp - both tag scanners walked over arbitrary text, token by token. */
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/comprobaciones.h"
#include "fuzz/sesion.h"
#include "lenguaweb.h"

namespace {

constexpr size_t kNoEsta = std::string::npos;

template <class C>
bool es_blanco(C c) {
  return c == C(' ') || c == C('\t') || c == C('\n') || c == C('\r');
}

template <class C>
bool es_blanco_de_tag(C c) {
  return es_blanco(c) || c == C('\f');
}

template <class C>
bool es_letra(C c) {
  return (c >= C('a') && c <= C('z')) || (c >= C('A') && c <= C('Z'));
}

/* The '>' that ends the start or end tag at inicio, walked through the states of a
 * browser's tokenizer: a quoted attribute value hides a '>'; a quote that never closes
 * ends the tag at the first '>' after it. kNoEsta when no '>' ends it. */
template <class C>
size_t cierre_de_tag(std::basic_string_view<C> t, size_t inicio) {
  enum {
    nombre,
    antes_de_atributo,
    atributo,
    tras_atributo,
    antes_de_valor,
    sin_comillas,
    tras_valor,
    barra
  } estado = nombre;
  size_t i = inicio + 1;
  if (i < t.size() && t[i] == C('/')) ++i;
  for (; i < t.size(); ++i) {
    const C c = t[i];
    switch (estado) {
      case nombre:
        if (c == C('>')) return i;
        if (es_blanco_de_tag(c))
          estado = antes_de_atributo;
        else if (c == C('/'))
          estado = barra;
        break;
      case antes_de_atributo:
        if (c == C('>')) return i;
        if (c == C('/'))
          estado = barra;
        else if (!es_blanco_de_tag(c))
          estado = atributo;
        break;
      case atributo:
        if (c == C('>')) return i;
        if (es_blanco_de_tag(c))
          estado = tras_atributo;
        else if (c == C('/'))
          estado = barra;
        else if (c == C('='))
          estado = antes_de_valor;
        break;
      case tras_atributo:
        if (c == C('>')) return i;
        if (c == C('/'))
          estado = barra;
        else if (c == C('='))
          estado = antes_de_valor;
        else if (!es_blanco_de_tag(c))
          estado = atributo;
        break;
      case antes_de_valor:
        if (c == C('>')) return i;
        if (c == C('"') || c == C('\'')) {
          const size_t cierre = t.find(c, i + 1);
          if (cierre == kNoEsta) return t.find(C('>'), i + 1);
          i = cierre;
          estado = tras_valor;
        } else if (!es_blanco_de_tag(c)) {
          estado = sin_comillas;
        }
        break;
      case sin_comillas:
        if (c == C('>')) return i;
        if (es_blanco_de_tag(c)) estado = antes_de_atributo;
        break;
      case tras_valor:
        if (c == C('>')) return i;
        estado = c == C('/') ? barra : antes_de_atributo;
        if (c != C('/') && !es_blanco_de_tag(c)) --i; /* begins the next attribute */
        break;
      case barra:
        if (c == C('>')) return i;
        estado = antes_de_atributo;
        --i;
        break;
    }
  }
  return kNoEsta;
}

/* Where the token that begins at inicio must end by the token rules; *sin_fin counts a
 * tag or comment that has no end. */
template <class C>
size_t fin_esperado(std::basic_string_view<C> t, size_t inicio, size_t *sin_fin) {
  if (inicio == t.size()) return inicio;
  if (es_blanco(t[inicio])) {
    size_t fin = inicio;
    while (fin < t.size() && es_blanco(t[fin])) ++fin;
    return fin;
  }
  if (t[inicio] != C('<')) return std::min(t.find(C('<'), inicio + 1), t.size());
  static constexpr C kAbre[] = {C('<'), C('!'), C('-'), C('-')},
                     kCierra[] = {C('-'), C('-'), C('>')};
  // The end of a comment is searched from the '<' itself, so "<!-->" is whole.
  const bool comentario = t.substr(inicio, 4) == std::basic_string_view<C>(kAbre, 4);
  const bool con_atributos =
      inicio + 1 < t.size() &&
      (es_letra(t[inicio + 1]) ||
       (t[inicio + 1] == C('/') && inicio + 2 < t.size() && es_letra(t[inicio + 2])));
  const size_t fin = comentario      ? t.find(std::basic_string_view<C>(kCierra, 3), inicio)
                     : con_atributos ? cierre_de_tag(t, inicio)
                                     : t.find(C('>'), inicio + 1);
  if (fin != kNoEsta) return fin + (comentario ? 3 : 1);
  ++sin_fin[comentario];
  return t.size();
}

/* Walks the whole text: each token must be what the rules make of it, its copy its very
 * characters, and the tokens together the text. Records each step (position, kind,
 * result) in *pasos and counts the tags ([0]) and comments ([1]) without an end. */
template <class C, class Lee, class Destruye>
std::string recorre(const std::basic_string<C> &texto, Lee lee, Destruye destruye,
                    std::vector<uint32_t> *pasos, size_t sin_fin[2]) {
  const std::basic_string_view<C> t = texto;
  const std::string forma = sizeof(C) == 1 ? "byte scanner, " : "wide scanner, ";
  std::basic_string<C> unido;
  uint32_t posicion = 0;
  uint16_t tipo = 7; /* neither kind: a leading blank run must keep it */
  for (booleano resultado = CIERTO; resultado == CIERTO;) {
    if (pasos->size() > 3 * t.size()) return forma + "more calls than characters";
    const uint32_t antes = posicion;
    const uint16_t tipo_antes = tipo;
    C *copia = nullptr;
    resultado = lee(texto.c_str(), &posicion, &tipo, &copia);
    pasos->insert(pasos->end(), {posicion, tipo, resultado});
    const std::string en = forma + "token at " + std::to_string(antes) + ": ";
    if (copia == nullptr) return en + "no copy";
    const std::basic_string<C> copiado(copia);
    destruye(&copia);
    if (posicion > t.size() || posicion < antes) return en + "the position went out of place";
    if (copiado != t.substr(antes, posicion - antes)) return en + "the copy is not the token";
    unido += copiado;
    const size_t fin = fin_esperado(t, antes, sin_fin);
    if (posicion != fin)
      return en + "ends at " + std::to_string(posicion) + ", not " + std::to_string(fin);
    if (antes == t.size() ? antes != 0 || tipo != 0 : posicion == antes)
      return en + "read past the end, or did not move";
    if (antes < t.size() && tipo != (es_blanco(t[antes]) ? tipo_antes : t[antes] == C('<')))
      return en + "kind " + std::to_string(tipo);
    if (resultado != (posicion < t.size() ? CIERTO : FALSO)) return en + "wrong result";
  }
  return unido == texto ? "" : forma + "the tokens do not join back to the text";
}

}  // namespace

std::string fuzz_comprueba_escaner(const uint8_t *datos, size_t largo) {
  return fuzz_en_sesion({"(fin_tag) != NULL"}, [&](auto &informes) {
    const std::string texto = fuzz_texto(datos, largo);
    // The same text byte for code unit, which both forms must walk alike; and the bytes
    // taken two by two as UTF-16 code units, surrogates and all.
    std::u16string ancho;
    for (unsigned char c : texto) ancho.push_back(c);
    std::vector<uint32_t> de_bytes, de_anchos, de_unidades;
    size_t bytes[2] = {}, anchos[2] = {}, unidades[2] = {};
    // The byte form reports every tag or comment without an end, the wide form only a
    // comment without one.
    std::string fallo =
        recorre(texto, htmlparser_lee_siguiente_tag, cad_destruye, &de_bytes, bytes);
    if (fallo.empty() && informes.size() != bytes[0] + bytes[1])
      fallo = "byte scanner: " + std::to_string(informes.size()) + " reports for " +
              std::to_string(bytes[0] + bytes[1]) + " tags and comments without an end";
    informes.clear();
    if (fallo.empty())
      fallo = recorre(ancho, htmlparser_lee_siguiente_tag_u, wcad_destruye, &de_anchos, anchos);
    if (fallo.empty() && de_anchos != de_bytes)
      fallo = "the wide scanner walks the widened text otherwise than the byte scanner";
    if (fallo.empty())
      fallo = recorre(fuzz_unidades(datos, largo, 0), htmlparser_lee_siguiente_tag_u, wcad_destruye,
                      &de_unidades, unidades);
    if (fallo.empty() && informes.size() != anchos[1] + unidades[1])
      fallo = "wide scanner: " + std::to_string(informes.size()) + " reports for " +
              std::to_string(anchos[1] + unidades[1]) + " comments without an end";
    return fallo;
  });
}
