// pseudo.cpp - pseudo-translation of a page's texts through the text engine, markup kept whole.
#include "pseudo.h"

#include <array>

#include "htmlparser/reglas_html.h"
#include "sin_traducir.h"

namespace {

// The tags that stay markup inside a text when the library writes it back, by the name
// that stands between the '<' and the first space or the '>'.
bool es_tag_en_linea(std::string_view nombre) {
  static constexpr const auto &kNombres = htmlparser::kTagsEnLinea;
  for (std::string_view n : kNombres) {
    if (n.size() != nombre.size()) continue;
    bool igual = true;
    for (size_t i = 0; i < n.size() && igual; ++i)
      igual = n[i] == static_cast<char>(std::toupper(static_cast<unsigned char>(nombre[i])));
    if (igual) return true;
  }
  return false;
}

bool es_cifra(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

TextoProtegido pseudo_protege(std::string_view texto) {
  TextoProtegido r;
  r.texto.reserve(texto.size());
  const auto grupo = [&r](std::string_view pieza) {
    r.texto += '{';
    r.texto += std::to_string(r.piezas.size());
    r.texto += '}';
    r.piezas.emplace_back(pieza);
  };
  const bool bloques = opciones_dame_segmentacion() == SEGMENTACION_BLOQUES;
  size_t proximo_mayor = 0;  // the first '>' at or after the last one looked for
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(texto);
  // What the page marks as not to be translated goes to the engine as one group.
  const std::vector<std::string_view> sin_traducir = sin_traducir_partes(texto);
  size_t proxima_parte = 0;
  for (size_t i = 0; i < texto.size(); ++i) {
    while (proxima_parte < sin_traducir.size() &&
           sin_traducir[proxima_parte].data() < texto.data() + i)
      ++proxima_parte;
    if (proxima_parte < sin_traducir.size() &&
        sin_traducir[proxima_parte].data() == texto.data() + i) {
      grupo(sin_traducir[proxima_parte]);
      i += sin_traducir[proxima_parte++].size() - 1;
      continue;
    }
    const char c = texto[i];
    if (c == '{' || c == '}') {
      grupo(texto.substr(i, 1));
      continue;
    }
    if (c == '<') {
      if (proximo_mayor != std::string_view::npos && proximo_mayor <= i)
        proximo_mayor = texto.find('>', i + 1);
      if (proximo_mayor != std::string_view::npos) {
        // The tag ends as the library reads it: a '>' inside a quoted value does not end it.
        const size_t cierre = htmlparser::busca_cierre(t, i);
        std::string_view nombre = htmlparser::nombre_de_tag(texto.substr(i + 1, cierre - i - 1));
        // A phrasing tag too when this thread cuts pages by blocks: their texts hold them
        // as markup.
        const size_t fin_nombre = htmlparser::fin_de_nombre_de_tag(t, i);
        const size_t desde = i + 1 < texto.size() && texto[i + 1] == '/' ? i + 2 : i + 1;
        const bool de_frase =
            bloques && htmlparser::tiene_atributos(t, i) &&
            htmlparser::busca_elemento_de_frase(texto.substr(desde, fin_nombre - desde)) != nullptr;
        if (cierre < texto.size() && (es_tag_en_linea(nombre) || de_frase)) {
          grupo(texto.substr(i, cierre + 1 - i));
          i = cierre;
          continue;
        }
      }
    } else if (c == '&') {
      if (const size_t largo = htmlparser::largo_de_referencia(texto.substr(i)); largo > 0) {
        grupo(texto.substr(i, largo));
        i += largo - 1;
        continue;
      }
    }
    r.texto += c;
  }
  return r;
}

std::string pseudo_restaura(std::string_view texto, const std::vector<std::string> &piezas) {
  std::string r;
  r.reserve(texto.size());
  for (size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] == '{') {
      size_t j = i + 1, indice = 0;
      while (j < texto.size() && es_cifra(texto[j]) && indice <= piezas.size())
        indice = indice * 10 + static_cast<size_t>(texto[j++] - '0');
      if (j > i + 1 && j < texto.size() && texto[j] == '}' && indice < piezas.size()) {
        r += piezas[indice];
        i = j;
        continue;
      }
    }
    r += texto[i];
  }
  return r;
}

lista_cad_t *pseudo_traduce(const lista_cad_t *textos, const lista_cad_t *ids, uint32_t origen,
                            uint32_t destino, std::vector<std::string> *mensajes) {
  const uint32_t n = lista_cad_num_elems(textos);
  std::vector<std::vector<std::string>> piezas(n);
  lista_wcad_t *anchos = lista_wcad_crea(0);
  for (uint32_t i = 0; i < n; ++i) {
    char *utf8 = conv_ansi_idioma_a_utf8(lista_cad_dame(textos, i), origen);
    TextoProtegido protegido = pseudo_protege(utf8);
    cad_destruye(&utf8);
    char16_t *ancho = conv_utf8_a_wcad(protegido.texto.c_str());
    lista_wcad_anade_propia(anchos, &ancho);
    piezas[i] = std::move(protegido.piezas);
  }

  lista_wcad_t *avisos = nullptr;
  lista_wcad_t *traducidos =
      lenguatxt_traduce_textos(anchos, ids, origen, destino, MOTOR_PSEUDOTRADUCCION, &avisos);
  lista_wcad_destruye(&anchos);
  for (uint32_t i = 0; avisos != nullptr && i < lista_wcad_num_elems(avisos); ++i) {
    char *aviso = conv_wcad_a_utf8(lista_wcad_dame(avisos, i));
    mensajes->emplace_back(aviso);
    cad_destruye(&aviso);
  }
  lista_wcad_destruye(&avisos);

  lista_cad_t *resultado = lista_cad_crea(0);
  for (uint32_t i = 0; i < n && i < lista_wcad_num_elems(traducidos); ++i) {
    char *utf8 = conv_wcad_a_utf8(lista_wcad_dame(traducidos, i));
    const std::string restaurado = pseudo_restaura(utf8, piezas[i]);
    cad_destruye(&utf8);
    char *texto = conv_utf8_a_ansi_html(restaurado.c_str(), destino);
    lista_cad_anade_propia(resultado, &texto);
  }
  lista_wcad_destruye(&traducidos);
  return resultado;
}
