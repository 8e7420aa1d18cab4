/* escaner.cpp - the tag scanner: one token of byte or UTF-16 HTML text per call. */
#include <cstring>

#include "lenguaweb.h"
#include "htmlparser/reglas_html.h"
#include "privado/informe.h"

namespace {

using htmlparser::texto_con_nul;

// What differs between the byte and the wide form; the scanning itself is written once,
// over the character type, on the rules of reading HTML.
struct Bytes {
  using Car = char;
  // A tag without '>' is reported only in the byte form.
  static constexpr bool kInformaTagAbierto = true;
  static constexpr const char *kPosicionFuera = "(*posicion) <= cad_longitud(texto)";
  static Car *prefijo(const Car *p, uint32_t cuenta) { return cad_prefijo(p, cuenta); }
};

struct Anchos {
  using Car = char16_t;
  static constexpr bool kInformaTagAbierto = false;
  static constexpr const char *kPosicionFuera = "(*posicion) <= wcad_longitud(texto)";
  static Car *prefijo(const Car *p, uint32_t cuenta) { return wcad_prefijo(p, cuenta); }
};

// The text last walked on this thread and how far it is known to hold no NUL, so that
// a walk checks every position it is given against the end of its text at the cost of
// its tokens alone: measuring the text before each position would make a walk
// quadratic. Only the pointer is kept; it is never read through unless the same text
// is given again. A walk that starts again at 0 starts the stretch again, so a page
// freed and another made at the same address are not taken for one.
template <class C>
struct tramo_sin_nul {
  const C *texto = nullptr;
  uint32_t hasta = 0; /* texto[0, hasta) holds no NUL */
  /* From where on the text holds no '"' and no '\'', as far as the walk has learnt:
   * one quote that never closes is searched past once, not once per tag after it. */
  size_t sin_comilla[2] = {htmlparser::kNoEsta, htmlparser::kNoEsta};
};
template <class C>
thread_local tramo_sin_nul<C> conocido;

// Moves tramo on to texto's NUL or to posicion, whichever comes first, reading nothing
// past the NUL: posicion lies within the text when tramo.hasta reaches it.
template <class C>
void mide_hasta(tramo_sin_nul<C> &tramo, const C *texto, uint32_t posicion) {
  if (tramo.texto != texto || posicion == 0) tramo = {texto, 0};
  if (tramo.hasta >= posicion) return;
  if constexpr (sizeof(C) == 1) {
    tramo.hasta += static_cast<uint32_t>(strnlen(texto + tramo.hasta, posicion - tramo.hasta));
  } else {
    while (tramo.hasta < posicion && texto[tramo.hasta] != C(0)) ++tramo.hasta;
  }
}

// Moves the position past the tag or comment there.
template <class F>
void salta_tag(const texto_con_nul<typename F::Car> &texto, uint32_t *posicion) {
  const htmlparser::fin_de_tag fin = htmlparser::lee_fin_de_tag(texto, *posicion);
  *posicion = static_cast<uint32_t>(fin.cerrado ? fin.cierre + 1 : fin.cierre);
  // An open comment is reported in both forms.
  if (!fin.cerrado && (fin.comentario || F::kInformaTagAbierto))
    informa_en(kModuloHtmlparser, "(fin_tag) != NULL");
}

template <class F>
booleano lee_siguiente_tag(const typename F::Car *texto, uint32_t *posicion, uint16_t *tipo,
                           typename F::Car **copia) {
  // Every missing argument is reported, not only the first.
  const bool falta_texto = informa_si_falta(kModuloHtmlparser, texto, "(texto) != NULL");
  const bool falta_posicion = informa_si_falta(kModuloHtmlparser, posicion, "(posicion) != NULL");
  const bool falta_tipo = informa_si_falta(kModuloHtmlparser, tipo, "(tipo) != NULL");
  if (falta_texto || falta_posicion || falta_tipo) return FALSO;

  // A position past the end gives what the end of the text gives: an empty text token.
  tramo_sin_nul<typename F::Car> &tramo = conocido<typename F::Car>;
  mide_hasta(tramo, texto, *posicion);
  if (tramo.hasta < *posicion) {
    informa_en(kModuloHtmlparser, F::kPosicionFuera);
    *posicion = tramo.hasta;
  }
  const uint32_t inicio = *posicion;
  const texto_con_nul<typename F::Car> t{texto, {tramo.sin_comilla[0], tramo.sin_comilla[1]}};
  switch (htmlparser::clase_de_token(texto[inicio])) {
    case htmlparser::token_html::blancos:
      // A blank run keeps the kind of the token before it.
      *posicion = static_cast<uint32_t>(htmlparser::fin_de_blancos(t, inicio));
      break;
    case htmlparser::token_html::tag:
      salta_tag<F>(t, posicion);
      tramo.sin_comilla[0] = t.sin_comilla[0];
      tramo.sin_comilla[1] = t.sin_comilla[1];
      *tipo = 1;
      break;
    case htmlparser::token_html::texto:
      *posicion = static_cast<uint32_t>(htmlparser::fin_de_texto(t, inicio));
      *tipo = 0;
      break;
  }
  // What was read holds no NUL, so the next call of the walk is checked for free.
  tramo.hasta = std::max(tramo.hasta, *posicion);
  // Copied whole, however long the token is.
  if (copia != nullptr) *copia = F::prefijo(texto + inicio, *posicion - inicio);
  return texto[*posicion] != 0 ? CIERTO : FALSO;
}

}  // namespace

extern "C" {

booleano htmlparser_lee_siguiente_tag(const char *texto, uint32_t *posicion, uint16_t *tipo,
                                      char **copia) noexcept {
  return lee_siguiente_tag<Bytes>(texto, posicion, tipo, copia);
}

booleano htmlparser_lee_siguiente_tag_u(const char16_t *texto, uint32_t *posicion, uint16_t *tipo,
                                        char16_t **copia) noexcept {
  return lee_siguiente_tag<Anchos>(texto, posicion, tipo, copia);
}

}  // extern "C"
