/* normalizacion.cpp - every text taken from a page: code page, blanks and entities. */
#include "lenguaweb/normalizacion.h"

#include <array>
#include <cstring>

#include "lenguaweb/lectura_tags.h"

namespace {

struct entidad {
  std::string_view nombre;
  const char *caracter_utf8; /* the character it names */
};

/* Decoded in this order; none of them can form out of the bytes another one leaves. */
constexpr entidad kEntidades[23] = {{"&aacute;", "\xC3\xA1"},
                                    {"&eacute;", "\xC3\xA9"},
                                    {"&iacute;", "\xC3\xAD"},
                                    {"&oacute;", "\xC3\xB3"},
                                    {"&uacute;", "\xC3\xBA"},
                                    {"&agrave;", "\xC3\xA0"},
                                    {"&egrave;", "\xC3\xA8"},
                                    {"&igrave;", "\xC3\xAC"},
                                    {"&ograve;", "\xC3\xB2"},
                                    {"&ugrave;", "\xC3\xB9"},
                                    {"&ntilde;", "\xC3\xB1"},
                                    {"&Aacute;", "\xC3\x81"},
                                    {"&Eacute;", "\xC3\x89"},
                                    {"&Iacute;", "\xC3\x8D"},
                                    {"&Oacute;", "\xC3\x93"},
                                    {"&Uacute;", "\xC3\x9A"},
                                    {"&Ntilde;", "\xC3\x91"},
                                    {"&gt;", ">"},
                                    {"&lt;", "<"},
                                    {"&nbsp;", " "},
                                    {"&copy;", "\xC2\xA9"},
                                    {"&ordf;", "\xC2\xAA"},
                                    {"&ordm;", "\xC2\xBA"}};

/* Spaces left of a run of n blanks once five, four, three and two spaces have each
 * been replaced by one over the whole text: runs never merge, so each run shrinks on
 * its own (39 blanks leave two spaces, not one). */
size_t espacios_que_quedan(size_t n) {
  if (n <= 1) return n;
  for (size_t k : {5u, 4u, 3u, 2u}) n = n / k + n % k;
  return n;
}

/* The bytes that need more than a copy: blanks but the space, and the '&' of an entity.
 * A space needs more only when a blank follows it. */
constexpr std::array<uint8_t, 256> kEspecial = [] {
  std::array<uint8_t, 256> t{};
  t['\t'] = t['\n'] = t['\r'] = t['&'] = 1;
  return t;
}();
constexpr std::array<uint8_t, 256> kBlanco = [] {
  std::array<uint8_t, 256> t{};
  t[' '] = t['\t'] = t['\n'] = t['\r'] = 1;
  return t;
}();

/* The entity of the table that the text begins with, or null. */
const entidad *entidad_en(std::string_view texto) {
  if (texto.size() < 4) return nullptr;
  for (const entidad &e : kEntidades)
    if (e.nombre[1] == texto[1] && texto.starts_with(e.nombre)) return &e;
  return nullptr;
}

}  // namespace

void lenguaweb_prepara_entidades(uint32_t idioma, entidades_idioma *entidades) {
  entidades->idioma = idioma;
  for (size_t i = 0; i < 23; ++i) {
    char *en_idioma = conv_utf8_a_ansi_html(kEntidades[i].caracter_utf8, idioma);
    entidades->reemplazo[i] = en_idioma;
    cad_destruye(&en_idioma);
  }
}

char *lenguaweb_normaliza_texto(std::string_view texto_utf8, const entidades_idioma &entidades) {
  size_t largo = 0;
  char *texto =
      conv_utf8_a_ansi_html_n(texto_utf8.data(), texto_utf8.size(), entidades.idioma, &largo);

  // One pass in place: every step only shortens the text, so the write position never
  // passes the read position.
  bool queda_ampersand = false;
  size_t escrito = 0;
  size_t leido = 0;
  while (leido < largo) {
    // The bytes that stay as they are, a lone space between words among them, move in
    // one block, and only once something before them has shortened the text.
    const size_t inicio = leido;
    // Without branches but the one that ends the stretch; the byte after the last is
    // the text's NUL, which is no blank.
    while (leido < largo) {
      const unsigned char b = static_cast<unsigned char>(texto[leido]);
      const unsigned char siguiente = static_cast<unsigned char>(texto[leido + 1]);
      if ((kEspecial[b] | (static_cast<uint8_t>(b == ' ') & kBlanco[siguiente])) != 0) break;
      ++leido;
    }
    if (escrito != inicio) std::memmove(texto + escrito, texto + inicio, leido - inicio);
    escrito += leido - inicio;
    if (leido == largo) break;
    const unsigned char c = static_cast<unsigned char>(texto[leido]);
    if (c != '&') {
      size_t n = 0;
      while (leido < largo && lenguaweb_es_blanco(texto[leido])) ++leido, ++n;
      for (size_t k = espacios_que_quedan(n); k > 0; --k) texto[escrito++] = ' ';
      continue;
    }
    const entidad *e = entidad_en(std::string_view(texto + leido, largo - leido));
    if (e != nullptr) {
      const std::string &reemplazo = entidades.reemplazo[e - kEntidades];
      std::memcpy(texto + escrito, reemplazo.data(), reemplazo.size());
      escrito += reemplazo.size();
      leido += e->nombre.size();
      queda_ampersand = queda_ampersand || reemplazo.find('&') != std::string::npos;
      continue;
    }
    queda_ampersand = true;
    texto[escrito++] = texto[leido++];
  }
  texto[escrito] = '\0';
  if (queda_ampersand) LENGUAWEB_INFORMA("strchr(texto, '&')==NULL");
  return texto;
}

void lenguaweb_anade_texto(lista_cad_t *textos, lista_num_t *tipos, char **texto,
                           i_tipo_texto_t tipo, uint32_t idioma) {
  entidades_idioma entidades;
  lenguaweb_prepara_entidades(idioma, &entidades);
  char *normalizado = lenguaweb_normaliza_texto(*texto != nullptr ? *texto : "", entidades);
  cad_destruye(texto);
  lista_cad_anade_propia(textos, &normalizado);
  lista_num_anade(tipos, static_cast<uint32_t>(tipo));
}
