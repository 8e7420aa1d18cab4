/* normalizacion.h - every text taken from a page: code page, blanks and entities. */
#ifndef LENGUAWEB_NORMALIZACION_H
#define LENGUAWEB_NORMALIZACION_H

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "htmlparser/reglas_html.h"
#include "lenguaweb/documento.h"

/* What each decoded reference (htmlparser::kReferenciasClasicas, at the same place) becomes in the
 * code page of one language, and the encoding that the page's stretches are in: made
 * once per page, not once per text. */
struct entidades_idioma {
  uint32_t idioma;
  const char *codificacion = "UTF-8";
  std::array<std::string, htmlparser::kNumReferenciasClasicas> reemplazo;
  std::string espacio_duro; /* what a no-break space becomes */
  /* The page is UTF-8 and the code page keeps ASCII as it is (conv_ascii_sin_cambios):
   * an ASCII stretch is copied, not converted. */
  bool copia_ascii = false;
};

/* Eight bytes at a time, whether any of texto[0..8) may need more than a copy from a
 * normaliser: a byte below 0x20 (which holds every blank but the space), an '&', a space
 * before a byte up to 0x20 and, con_signos, a '<' or '>'; preformateado, only the '&'
 * and the signs. Reads texto[8] too (a text's NUL at its end). It may say so of bytes
 * that need nothing (other control bytes), never the other way: the caller then looks
 * at each byte. Each test marks the bytes below n in the high bit of their own lane,
 * without carries between lanes. */
template <bool preformateado, bool con_signos>
bool lenguaweb_palabra_especial(const char *texto) {
  constexpr uint64_t kUnos = 0x0101010101010101u;
  constexpr uint64_t kAltos = 0x80 * kUnos;
  constexpr uint64_t kBajos = 0x7F * kUnos;
  const auto menores = [](uint64_t x, uint64_t n) {
    return ~(((x & kBajos) + (0x80 - n) * kUnos) | x) & kAltos;
  };
  const auto iguales = [&](uint64_t x, uint64_t c) { return menores(x ^ (c * kUnos), 1); };
  uint64_t palabra;
  std::memcpy(&palabra, texto, sizeof palabra);
  uint64_t especiales = iguales(palabra, '&');
  if constexpr (con_signos) especiales |= iguales(palabra, '<') | iguales(palabra, '>');
  if constexpr (!preformateado) {
    uint64_t siguientes;
    std::memcpy(&siguientes, texto + 1, sizeof siguientes);
    especiales |= menores(palabra, 0x20) | (iguales(palabra, ' ') & menores(siguientes, 0x21));
  }
  return especiales != 0;
}

/* The end of the stretch of texto[0..largo) that begins at i and that a normaliser copies as
 * it stands: the first byte from i for which especial_en(offset) holds, or largo. Words of
 * eight bytes that lenguaweb_palabra_especial clears are passed over whole; the bytes of
 * any other are looked at one by one. */
template <bool preformateado, bool con_signos, class Especial>
size_t lenguaweb_fin_de_tramo(const char *texto, size_t i, size_t largo, Especial especial_en) {
  for (;;) {
    while (i + 8 <= largo && !lenguaweb_palabra_especial<preformateado, con_signos>(texto + i))
      i += 8;
    const size_t tope = std::min(i + 8, largo);
    while (i < tope && !especial_en(i)) ++i;
    if (i < tope || i == largo) return i;
  }
}

/* Fills the table for idioma and a page in codificacion (static; "UTF-8" when null).
 * Each entity becomes its character in the language's code page: for Western pages
 * exactly the Windows-1252 byte (0xE1 for "&aacute;", 0xA0 for a no-break space),
 * elsewhere the code page's own byte(s), or a character reference where the code page
 * lacks the character, so that no entity turns into another letter; a no-break space
 * that the code page lacks stays "&nbsp;". */
void lenguaweb_prepara_entidades(uint32_t idioma, entidades_idioma *entidades,
                                 const char *codificacion = "UTF-8");

/* How a text's blanks and entities are read. */
enum class modo_de_texto {
  normal,        /* blanks collapsed, entities decoded */
  preformateado, /* every blank kept, entities decoded (PRE, LISTING, TEXTAREA) */
  crudo          /* kept as it stands: raw text (XMP, PLAINTEXT) */
};

/* What normalising found in a text. */
struct propiedades_de_texto {
  bool espacio_duro = false;    /* it held a no-break space as an entity or reference */
  size_t invalidos = 0;         /* byte sequences not valid in the page's encoding */
  bool queda_ampersand = false; /* an '&' is left that is no no-break space's */
};

/* Into destino (what it held replaced): the stretch of the page (in the table's encoding;
 * a NUL in it ends it) converted to the code page of the table's language, the bytes not
 * valid in that encoding counted in *invalidos when it is not null. A caller that keeps
 * destino from one text to the next makes no allocation for most texts. */
void lenguaweb_convierte_a_pagina(std::string_view texto, const entidades_idioma &entidades,
                                  std::string &destino, size_t *invalidos = nullptr);

/* Into destino (what it held replaced): the stretch converted as
 * lenguaweb_convierte_a_pagina converts it; then, in every modo but crudo
 * (which leaves the converted text as it is), the entities of the table decoded, and in
 * modo normal also blanks made spaces and each run of them shortened as if five, then
 * four, three and two spaces had each been replaced by one over the whole text. An '&'
 * left afterwards but that of a no-break space is reported as kInformeAmpersand (never
 * in modo crudo), or told through propiedades when it is not null (the caller reports
 * it); the text is written all the same. What was found goes through propiedades when
 * it is not null. With signos_como_referencias, "&lt;" and "&gt;" stay as they stand
 * (kTextoSignosComoReferencias). */
void lenguaweb_normaliza_texto(std::string_view texto, const entidades_idioma &entidades,
                               std::string &destino, modo_de_texto modo = modo_de_texto::normal,
                               propiedades_de_texto *propiedades = nullptr,
                               bool signos_como_referencias = false);

#endif
