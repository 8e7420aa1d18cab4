/* escaner.cpp - the tag scanner: one token of byte or UTF-16 HTML text per call. */
#include <cstring>

#include "htmlparser/htmlparser.h"

namespace {

// What differs between the byte and the wide form; the scanning itself is written once,
// over the character type. Every search stops at the terminating NUL, so a call never
// reads past the end of the text and never measures the whole text beforehand.
struct Bytes {
  using Car = char;
  // A tag without '>' is reported only in the byte form.
  static constexpr bool kInformaTagAbierto = true;

  // Characters from p up to the first c or the NUL, whichever comes first.
  static uint32_t hasta(const Car *p, Car c) {
    const Car conjunto[2] = {c, '\0'};
    return static_cast<uint32_t>(std::strcspn(p, conjunto));
  }
  static uint32_t blancos(const Car *p) { return static_cast<uint32_t>(std::strspn(p, " \t\n\r")); }
  static Car *prefijo(const Car *p, uint32_t cuenta) { return cad_prefijo(p, cuenta); }
};

struct Anchos {
  using Car = char16_t;
  static constexpr bool kInformaTagAbierto = false;

  static uint32_t hasta(const Car *p, Car c) {
    uint32_t n = 0;
    while (p[n] != u'\0' && p[n] != c) ++n;
    return n;
  }
  static uint32_t blancos(const Car *p) {
    uint32_t n = 0;
    while (p[n] == u' ' || p[n] == u'\t' || p[n] == u'\n' || p[n] == u'\r') ++n;
    return n;
  }
  static Car *prefijo(const Car *p, uint32_t cuenta) { return wcad_prefijo(p, cuenta); }
};

// Compared in place, character by character: a prefix test that measured the rest of the
// text would make a walk over a page quadratic. The && stops at the first character that
// differs, so nothing past the NUL is read.
template <class C>
bool empieza_comentario(const C *p) {
  return p[0] == C('<') && p[1] == C('!') && p[2] == C('-') && p[3] == C('-');
}

template <class C>
bool es_blanco(C c) {
  return c == C(' ') || c == C('\t') || c == C('\n') || c == C('\r');
}

// The readers may be called on their own, so each checks its own arguments.
template <class F>
bool argumentos_validos(const typename F::Car *texto, const uint32_t *posicion) {
  bool validos = true;
  if (texto == nullptr) {
    informa_fallo_interno("(texto) != NULL", HTMLPARSER_MODULO, __LINE__);
    validos = false;
  }
  if (posicion == nullptr) {
    informa_fallo_interno("(posicion) != NULL", HTMLPARSER_MODULO, __LINE__);
    validos = false;
  }
  return validos;
}

template <class F>
void salta_blancos(const typename F::Car *texto, uint32_t *posicion) {
  if (!argumentos_validos<F>(texto, posicion)) return;
  *posicion += F::blancos(texto + *posicion);
}

// A text run always moves at least one character (unless at the NUL), so a caller that
// calls this reader at a '<' still makes progress.
template <class F>
void salta_texto(const typename F::Car *texto, uint32_t *posicion) {
  if (!argumentos_validos<F>(texto, posicion)) return;
  const typename F::Car *p = texto + *posicion;
  if (*p == 0) return;
  *posicion += 1 + F::hasta(p + 1, '<');
}

// Position of the end of the first "-->" from p on, or of the NUL when there is none;
// found tells which. Each character is looked at a bounded number of times.
template <class F>
uint32_t fin_comentario(const typename F::Car *p, bool *encontrado) {
  uint32_t i = 0;
  for (;;) {
    i += F::hasta(p + i, '-');
    if (p[i] == 0) {
      *encontrado = false;
      return i;
    }
    if (p[i + 1] == '-' && p[i + 2] == '>') {
      *encontrado = true;
      return i + 3;
    }
    ++i;
  }
}

template <class F>
void salta_tag(const typename F::Car *texto, uint32_t *posicion) {
  if (!argumentos_validos<F>(texto, posicion)) return;
  const typename F::Car *p = texto + *posicion;
  if (empieza_comentario(p)) {
    // The search starts at the '<' itself, so "<!-->" is a whole comment.
    bool cerrado = false;
    *posicion += fin_comentario<F>(p, &cerrado);
    if (!cerrado) informa_fallo_interno("(fin_tag) != NULL", HTMLPARSER_MODULO, __LINE__);
    return;
  }
  if (*p == 0) {
    if (F::kInformaTagAbierto)
      informa_fallo_interno("(fin_tag) != NULL", HTMLPARSER_MODULO, __LINE__);
    return;
  }
  // Quotes are not looked at: the first '>' closes the tag.
  uint32_t hasta_cierre = 1 + F::hasta(p + 1, '>');
  if (p[hasta_cierre] == '>') {
    *posicion += hasta_cierre + 1;
    return;
  }
  *posicion += hasta_cierre;
  if (F::kInformaTagAbierto)
    informa_fallo_interno("(fin_tag) != NULL", HTMLPARSER_MODULO, __LINE__);
}

template <class F>
booleano lee_siguiente_tag(const typename F::Car *texto, uint32_t *posicion, uint16_t *tipo,
                           typename F::Car **copia) {
  bool validos = argumentos_validos<F>(texto, posicion);
  if (tipo == nullptr) {
    informa_fallo_interno("(tipo) != NULL", HTMLPARSER_MODULO, __LINE__);
    validos = false;
  }
  if (!validos) return FALSO;

  const uint32_t inicio = *posicion;
  const typename F::Car c = texto[inicio];
  if (es_blanco(c)) {
    // A blank run keeps the kind of the token before it.
    salta_blancos<F>(texto, posicion);
  } else if (c == '<') {
    salta_tag<F>(texto, posicion);
    *tipo = 1;
  } else {
    salta_texto<F>(texto, posicion);
    *tipo = 0;
  }
  // Copied whole, however long the token is.
  if (copia != nullptr) *copia = F::prefijo(texto + inicio, *posicion - inicio);
  return texto[*posicion] != 0 ? CIERTO : FALSO;
}

}  // namespace

extern "C" {

booleano htmlparser_lee_siguiente_tag(const char *texto, uint32_t *posicion, uint16_t *tipo,
                                      char **copia) {
  return lee_siguiente_tag<Bytes>(texto, posicion, tipo, copia);
}

booleano htmlparser_lee_siguiente_tag_u(const char16_t *texto, uint32_t *posicion, uint16_t *tipo,
                                        char16_t **copia) {
  return lee_siguiente_tag<Anchos>(texto, posicion, tipo, copia);
}

void htmlparser_salta_tag(const char *texto, uint32_t *posicion) {
  salta_tag<Bytes>(texto, posicion);
}
void htmlparser_salta_blancos(const char *texto, uint32_t *posicion) {
  salta_blancos<Bytes>(texto, posicion);
}
void htmlparser_salta_texto(const char *texto, uint32_t *posicion) {
  salta_texto<Bytes>(texto, posicion);
}
void htmlparser_salta_tag_u(const char16_t *texto, uint32_t *posicion) {
  salta_tag<Anchos>(texto, posicion);
}
void htmlparser_salta_blancos_u(const char16_t *texto, uint32_t *posicion) {
  salta_blancos<Anchos>(texto, posicion);
}
void htmlparser_salta_texto_u(const char16_t *texto, uint32_t *posicion) {
  salta_texto<Anchos>(texto, posicion);
}

}  // extern "C"
