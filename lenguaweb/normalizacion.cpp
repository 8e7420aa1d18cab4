/* normalizacion.cpp - every text taken from a page: code page, blanks and entities. */
#include "lenguaweb/normalizacion.h"
#include "lenguaweb/origenes.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using htmlparser::kReferenciasClasicas;

/* Spaces left of a run of n blanks once five, four, three and two spaces have each
 * been replaced by one over the whole text: runs never merge, so each run shrinks on
 * its own (39 blanks leave two spaces, not one). Odd as it is, the texts that hosts
 * hold and translate were always normalised so: a text normalised otherwise would no
 * longer match its translation. */
size_t espacios_que_quedan(size_t n) {
  if (n <= 1) return n;
  for (size_t k : {5u, 4u, 3u, 2u}) n = n / k + n % k;
  return n;
}

/* The bytes that need more than a copy: blanks but the space, and the '&' of an entity.
 * A space needs more only when a blank follows it. In preformatted text, only the '&'. */
constexpr std::array<uint8_t, 256> kEspecial = [] {
  std::array<uint8_t, 256> t = htmlparser::kBlancos;
  t[' '] = 0;
  t['&'] = 1;
  return t;
}();
constexpr std::array<uint8_t, 256> kAmpersand = [] {
  std::array<uint8_t, 256> t{};
  t['&'] = 1;
  return t;
}();

/* The place in kReferenciasClasicas of the reference the text begins with, or kNoEsta. */
size_t referencia_en(std::string_view texto) {
  if (texto.size() < 4) return htmlparser::kNoEsta;
  for (size_t k = 0; k < htmlparser::kNumReferenciasClasicas; ++k)
    if (kReferenciasClasicas[k][1] == texto[1] && texto.starts_with(kReferenciasClasicas[k]))
      return k;
  return htmlparser::kNoEsta;
}

bool es_espacio_duro(std::string_view referencia) {
  return htmlparser::lee_referencia(referencia, false).puntos[0] == 0xA0;
}

}  // namespace

void lenguaweb_prepara_entidades(uint32_t idioma, entidades_idioma *entidades,
                                 const char *codificacion) {
  entidades->idioma = idioma;
  entidades->codificacion = codificacion != nullptr ? codificacion : "UTF-8";
  entidades->copia_ascii = std::strcmp(entidades->codificacion, "UTF-8") == 0 &&
                           conv_ascii_sin_cambios(idioma) == CIERTO;
  entidades->espacio_duro =
      cad_propia(conv_utf8_a_ansi_html(htmlparser::kEspacioDuroUtf8.data(), idioma)).get();
  if (entidades->espacio_duro.find('&') != std::string::npos)
    entidades->espacio_duro = htmlparser::kEntidadEspacioDuro;
  for (size_t i = 0; i < htmlparser::kNumReferenciasClasicas; ++i) {
    const std::string_view referencia = kReferenciasClasicas[i];
    entidades->reemplazo[i] =
        es_espacio_duro(referencia)
            ? entidades->espacio_duro
            : cad_propia(conv_utf8_a_ansi_html(htmlparser::utf8_de_referencia(
                                                   htmlparser::lee_referencia(referencia, false))
                                                   .c_str(),
                                               idioma))
                  .get();
  }
}

namespace {

/* Blanks and entities of a text converted to its code page, in place; preformateado
 * keeps every blank. One pass: every step only shortens the text, so the write position
 * never passes the read position. Returns the new length. */
template <bool preformateado>
size_t normaliza_en_sitio(char *texto, size_t largo, const entidades_idioma &entidades,
                          propiedades_de_texto *propiedades, bool signos_como_referencias) {
  constexpr const std::array<uint8_t, 256> &especial = preformateado ? kAmpersand : kEspecial;
  bool queda_ampersand = false;
  size_t escrito = 0;
  size_t leido = 0;
  while (leido < largo) {
    // The bytes that stay as they are, a lone space between words among them, move in
    // one block, and only once something before them has shortened the text.
    const size_t inicio = leido;
    // Each byte is looked at without branches but the one that ends the stretch. The byte
    // after the last is the text's NUL, which is no blank.
    const auto especial_en = [&](size_t i) {
      const unsigned char b = static_cast<unsigned char>(texto[i]);
      const unsigned char siguiente = static_cast<unsigned char>(texto[i + 1]);
      return (especial[b] | (static_cast<uint8_t>(!preformateado && b == ' ') &
                             htmlparser::kBlancos[siguiente])) != 0;
    };
    leido = lenguaweb_fin_de_tramo<preformateado, false>(texto, leido, largo, especial_en);
    if (escrito != inicio) std::memmove(texto + escrito, texto + inicio, leido - inicio);
    escrito += leido - inicio;
    if (leido == largo) break;
    const unsigned char c = static_cast<unsigned char>(texto[leido]);
    if (c != '&') {
      size_t n = 0;
      while (leido < largo && htmlparser::es_blanco(texto[leido])) ++leido, ++n;
      for (size_t k = espacios_que_quedan(n); k > 0; --k) texto[escrito++] = ' ';
      continue;
    }
    const size_t k = referencia_en(std::string_view(texto + leido, largo - leido));
    if (k != htmlparser::kNoEsta && signos_como_referencias &&
        (kReferenciasClasicas[k] == htmlparser::kEntidadMenor ||
         kReferenciasClasicas[k] == htmlparser::kEntidadMayor)) {
      std::memmove(texto + escrito, texto + leido, kReferenciasClasicas[k].size());
      escrito += kReferenciasClasicas[k].size();
      leido += kReferenciasClasicas[k].size();
      continue;
    }
    if (k != htmlparser::kNoEsta) {
      const std::string &reemplazo = entidades.reemplazo[k];
      std::memcpy(texto + escrito, reemplazo.data(), reemplazo.size());
      escrito += reemplazo.size();
      leido += kReferenciasClasicas[k].size();
      if (reemplazo == entidades.espacio_duro) {
        if (propiedades != nullptr) propiedades->espacio_duro = true;
      } else {
        queda_ampersand = queda_ampersand || reemplazo.find('&') != std::string::npos;
      }
      continue;
    }
    queda_ampersand = true;
    texto[escrito++] = texto[leido++];
  }
  texto[escrito] = '\0';
  if (queda_ampersand && propiedades != nullptr)
    propiedades->queda_ampersand = true;
  else if (queda_ampersand)
    informa_en(kModuloLenguaweb, kInformeAmpersand);
  return escrito;
}

}  // namespace

void lenguaweb_convierte_a_pagina(std::string_view texto, const entidades_idioma &entidades,
                                  std::string &destino, size_t *invalidos) {
  texto = texto.substr(0, std::min(texto.find('\0'), texto.size()));
  if (invalidos != nullptr) *invalidos = 0;
  // Nearly every text of a page is ASCII: the converter would only copy it, into an
  // allocation of its own.
  if (entidades.copia_ascii && es_ascii(texto)) {
    destino.assign(texto);
    return;
  }
  size_t largo = 0;
  const cad_propia convertido(conv_codificacion_a_ansi_html_n(
      texto.data(), texto.size(), entidades.codificacion, entidades.idioma, &largo, invalidos));
  destino.assign(convertido.get(), largo);
}

void lenguaweb_normaliza_texto(std::string_view texto, const entidades_idioma &entidades,
                               std::string &destino, modo_de_texto modo,
                               propiedades_de_texto *propiedades, bool signos_como_referencias) {
  size_t invalidos = 0;
  lenguaweb_convierte_a_pagina(texto, entidades, destino, &invalidos);
  // The loops below read the byte after the last, which std::string keeps as a NUL.
  if (modo == modo_de_texto::normal)
    destino.resize(normaliza_en_sitio<false>(destino.data(), destino.size(), entidades, propiedades,
                                             signos_como_referencias));
  else if (modo == modo_de_texto::preformateado)
    destino.resize(normaliza_en_sitio<true>(destino.data(), destino.size(), entidades, propiedades,
                                            signos_como_referencias));
  if (propiedades != nullptr) propiedades->invalidos = invalidos;
}
