/* comprueba_escaner.cpp - both tag scanners walked over arbitrary text, token by token. */
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/comprobaciones.h"
#include "htmlparser/reglas_html.h"
#include "lenguaweb.h"

namespace {

/* Where the token that begins at inicio must end, by the token rules the library's readers
 * share: a run of blanks, a text run up to the next '<', or a tag or comment; *sin_fin
 * counts a tag ([0]) or comment ([1]) that has no end. */
template <class C>
size_t fin_esperado(std::basic_string_view<C> t, size_t inicio, size_t *sin_fin) {
  const htmlparser::texto_acotado<C> acotado{t};
  if (inicio == t.size()) return inicio;
  switch (htmlparser::clase_de_token(t[inicio])) {
    case htmlparser::token_html::blancos:
      return htmlparser::fin_de_blancos(acotado, inicio);
    case htmlparser::token_html::texto:
      return htmlparser::fin_de_texto(acotado, inicio);
    case htmlparser::token_html::tag:
      break;
  }
  const htmlparser::fin_de_tag fin = htmlparser::lee_fin_de_tag(acotado, inicio);
  if (fin.cerrado) return fin.cierre + 1;
  ++sin_fin[fin.comentario];
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
    if (antes < t.size() &&
        tipo != (htmlparser::es_blanco(t[antes]) ? tipo_antes : t[antes] == C('<')))
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
