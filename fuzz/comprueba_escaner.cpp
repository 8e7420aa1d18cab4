/* comprueba_escaner.cpp - both tag scanners walked over arbitrary text, token by token. */
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/comprobaciones.h"
#include "fuzz/sesion.h"
#include "lenguaweb.h"

namespace {

constexpr size_t kNoEsta = std::string::npos;
constexpr uint16_t kTipoInicial = 7; /* neither kind: a leading blank run must keep it */

struct paso {
  uint32_t posicion;
  uint16_t tipo;
  booleano resultado;
  bool operator==(const paso &) const = default;
};

booleano lee(const char *t, uint32_t *p, uint16_t *k, char **c) {
  return htmlparser_lee_siguiente_tag(t, p, k, c);
}
booleano lee(const char16_t *t, uint32_t *p, uint16_t *k, char16_t **c) {
  return htmlparser_lee_siguiente_tag_u(t, p, k, c);
}
void destruye(char **c) {
  cad_destruye(c);
}
void destruye(char16_t **c) {
  wcad_destruye(c);
}

template <class C>
bool es_blanco(C c) {
  return c == C(' ') || c == C('\t') || c == C('\n') || c == C('\r');
}

/* A tag or comment that has no end. */
enum class abierto { no, tag, comentario };

/* Where the token that begins at inicio must end, by the token rules. */
template <class C>
size_t fin_esperado(std::basic_string_view<C> t, size_t inicio, abierto *sin_fin) {
  *sin_fin = abierto::no;
  if (inicio == t.size()) return inicio;
  const C c = t[inicio];
  if (es_blanco(c)) {
    size_t fin = inicio;
    while (fin < t.size() && es_blanco(t[fin])) ++fin;
    return fin;
  }
  if (c == C('<')) {
    static constexpr C kAbre[] = {C('<'), C('!'), C('-'), C('-')};
    static constexpr C kCierra[] = {C('-'), C('-'), C('>')};
    // The end of a comment is searched from the '<' itself, so "<!-->" is whole.
    const bool comentario = t.substr(inicio, 4) == std::basic_string_view<C>(kAbre, 4);
    const size_t fin = comentario ? t.find(std::basic_string_view<C>(kCierra, 3), inicio)
                                  : t.find(C('>'), inicio + 1);
    if (fin != kNoEsta) return fin + (comentario ? 3 : 1);
    *sin_fin = comentario ? abierto::comentario : abierto::tag;
    return t.size();
  }
  const size_t fin = t.find(C('<'), inicio + 1);
  return fin == kNoEsta ? t.size() : fin;
}

/* Walks the whole text; every token must be what the rules make of it, its copy its
 * very characters, and the tokens together the text. Counts the tags and the comments
 * without an end. */
template <class C>
std::string recorre(const std::basic_string<C> &texto, const char *forma, std::vector<paso> *pasos,
                    size_t *tags_sin_fin, size_t *comentarios_sin_fin) {
  const std::basic_string_view<C> t = texto;
  std::basic_string<C> unido;
  uint32_t posicion = 0;
  uint16_t tipo = kTipoInicial;
  *tags_sin_fin = *comentarios_sin_fin = 0;
  const std::string donde = std::string(forma) + " scanner, ";
  for (size_t llamadas = 0;; ++llamadas) {
    if (llamadas > t.size()) return donde + "more calls than characters";
    const uint32_t antes = posicion;
    const uint16_t tipo_antes = tipo;
    C *copia = nullptr;
    const booleano resultado = lee(texto.c_str(), &posicion, &tipo, &copia);
    pasos->push_back({posicion, tipo, resultado});
    const std::string en = donde + "token at " + std::to_string(antes) + ": ";
    if (copia == nullptr) return en + "no copy";
    const std::basic_string<C> copiado(copia);
    destruye(&copia);
    if (posicion > t.size() || posicion < antes) return en + "the position went out of place";
    if (copiado != t.substr(antes, posicion - antes)) return en + "the copy is not the token";
    unido += copiado;

    abierto sin_fin = abierto::no;
    const size_t fin = fin_esperado(t, antes, &sin_fin);
    if (posicion != fin)
      return en + "ends at " + std::to_string(posicion) + ", not " + std::to_string(fin);
    if (sin_fin == abierto::tag) ++*tags_sin_fin;
    if (sin_fin == abierto::comentario) ++*comentarios_sin_fin;
    if (antes == t.size()) {
      if (antes != 0) return en + "read past the last token";
      if (tipo != 0) return en + "an empty text is not text";
    } else if (posicion == antes) {
      return en + "the position did not move";
    } else if (es_blanco(t[antes])) {
      if (tipo != tipo_antes) return en + "a blank run changed the kind";
    } else if (tipo != (t[antes] == C('<') ? 1 : 0)) {
      return en + "kind " + std::to_string(tipo);
    }
    if (resultado != (posicion < t.size() ? CIERTO : FALSO)) return en + "wrong result";
    if (resultado != CIERTO) break;
  }
  if (unido != texto) return donde + "the tokens do not join back to the text";
  return "";
}

}  // namespace

std::string fuzz_comprueba_escaner(const uint8_t *datos, size_t largo) {
  std::string fallo;
  {
    fuzz_sesion sesion;
    const std::string_view bytes(reinterpret_cast<const char *>(datos), largo);
    const std::string texto(bytes.substr(0, bytes.find('\0')));
    // The same text byte for code unit, so that both forms must walk alike; and the
    // bytes taken two by two as UTF-16 code units, surrogates and all.
    std::u16string ancho;
    for (unsigned char c : texto) ancho.push_back(c);
    std::u16string unidades;
    for (size_t i = 0; i + 1 < largo; i += 2) {
      const char16_t c = static_cast<char16_t>(datos[i] | datos[i + 1] << 8);
      if (c == 0) break;
      unidades.push_back(c);
    }

    std::vector<paso> de_bytes, de_anchos, de_unidades;
    size_t tags = 0, comentarios = 0, tags_anchos = 0, comentarios_anchos = 0;
    fallo = recorre(texto, "byte", &de_bytes, &tags, &comentarios);
    // The byte form reports every tag or comment without an end, the wide form only a
    // comment without one.
    if (fallo.empty() && sesion.informes.size() != tags + comentarios)
      fallo = "byte scanner: " + std::to_string(sesion.informes.size()) + " reports for " +
              std::to_string(tags + comentarios) + " tags without an end";
    if (fallo.empty()) fallo = fuzz_informe_inesperado(sesion, {"(fin_tag) != NULL"});
    sesion.informes.clear();
    if (fallo.empty())
      fallo = recorre(ancho, "wide", &de_anchos, &tags_anchos, &comentarios_anchos);
    if (fallo.empty() && de_anchos != de_bytes)
      fallo = "the wide scanner walks the widened text otherwise than the byte scanner";
    if (fallo.empty()) fallo = recorre(unidades, "wide", &de_unidades, &tags, &comentarios);
    if (fallo.empty() && sesion.informes.size() != comentarios_anchos + comentarios)
      fallo = "wide scanner: " + std::to_string(sesion.informes.size()) + " reports for " +
              std::to_string(comentarios_anchos + comentarios) + " comments without an end";
    if (fallo.empty()) fallo = fuzz_informe_inesperado(sesion, {"(fin_tag) != NULL"});
    if (fallo.empty()) fallo = fuzz_fugas(sesion);
  }
  return fallo;
}
