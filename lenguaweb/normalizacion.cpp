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
  for (size_t k : {5u, 4u, 3u, 2u}) n = n / k + n % k;
  return n;
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
  char *utf8 = cad_prefijo(texto_utf8.data(), static_cast<uint32_t>(texto_utf8.size()));
  char *texto = conv_utf8_a_ansi_html(utf8, entidades.idioma);
  cad_destruye(&utf8);

  // One pass in place: every step only shortens the text. Runs of ordinary bytes are
  // found with a table and moved whole.
  static constexpr auto kEspecial = [] {
    std::array<bool, 256> t{};
    t[' '] = t['\t'] = t['\n'] = t['\r'] = t['&'] = t[0] = true;
    return t;
  }();
  bool queda_ampersand = false;
  size_t escrito = 0;
  size_t leido = 0;
  for (;;) {
    const size_t inicio_tramo = leido;
    while (!kEspecial[static_cast<unsigned char>(texto[leido])]) ++leido;
    if (escrito != inicio_tramo)
      std::memmove(texto + escrito, texto + inicio_tramo, leido - inicio_tramo);
    escrito += leido - inicio_tramo;
    const char c = texto[leido];
    if (c == '\0') break;
    if (c != '&') {
      size_t n = 0;
      while (lenguaweb_es_blanco(texto[leido])) ++leido, ++n;
      for (size_t k = espacios_que_quedan(n); k > 0; --k) texto[escrito++] = ' ';
      continue;
    }
    size_t i = 0;
    for (; i < 23; ++i)
      if (std::strncmp(texto + leido, kEntidades[i].nombre.data(), kEntidades[i].nombre.size()) ==
          0)
        break;
    if (i < 23) {
      const std::string &reemplazo = entidades.reemplazo[i];
      std::memcpy(texto + escrito, reemplazo.data(), reemplazo.size());
      escrito += reemplazo.size();
      leido += kEntidades[i].nombre.size();
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
