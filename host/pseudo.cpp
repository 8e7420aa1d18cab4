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
  // Pieces that follow one another make one group: a text of a thousand references is
  // one group, not a thousand for the engine to keep.
  size_t tras_grupo = std::string::npos;
  const auto grupo = [&r, &tras_grupo](std::string_view pieza) {
    if (tras_grupo == r.texto.size()) {
      r.piezas.back() =
          std::string_view(r.piezas.back().data(), r.piezas.back().size() + pieza.size());
      return;
    }
    r.texto += '{';
    r.texto += std::to_string(r.piezas.size());
    r.texto += '}';
    r.piezas.emplace_back(pieza);
    tras_grupo = r.texto.size();
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

std::string pseudo_restaura(std::string_view texto, const std::vector<std::string_view> &piezas) {
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

namespace {

// The engine's pseudo-translation of a protected text (UTF-8), given to it in slices that
// end after a group: the engine translates each run between two groups on its own, so the
// slices come back as the whole would, and what the engine holds at once is one slice's.
std::string traduce_por_tramos(const std::string &protegido, const char *id, uint32_t origen,
                               uint32_t destino, std::vector<std::string> *mensajes) {
  constexpr size_t kTramo = size_t{1} << 16;
  std::string r;
  for (size_t desde = 0; desde < protegido.size();) {
    size_t hasta = protegido.size();
    if (hasta - desde > kTramo) {
      const size_t llave = protegido.find('}', desde + kTramo);
      hasta = llave == std::string::npos ? protegido.size() : llave + 1;
    }
    const std::string tramo = protegido.substr(desde, hasta - desde);
    desde = hasta;
    char16_t *ancho = conv_utf8_a_wcad(tramo.c_str());
    lista_wcad_t *uno = lista_wcad_crea(0);
    lista_wcad_anade_propia(uno, &ancho);
    lista_cad_t *ids = lista_cad_crea(0);
    if (id != nullptr) lista_cad_anade(ids, id);
    lista_wcad_t *avisos = nullptr;
    lista_wcad_t *traducido = lenguatxt_traduce_textos(uno, id != nullptr ? ids : nullptr, origen,
                                                       destino, MOTOR_PSEUDOTRADUCCION, &avisos);
    lista_wcad_destruye(&uno);
    lista_cad_destruye(&ids);
    for (uint32_t k = 0; avisos != nullptr && k < lista_wcad_num_elems(avisos); ++k) {
      char *aviso = conv_wcad_a_utf8(lista_wcad_dame(avisos, k));
      mensajes->emplace_back(aviso);
      cad_destruye(&aviso);
    }
    lista_wcad_destruye(&avisos);
    if (lista_wcad_num_elems(traducido) == 1) {
      char *utf8 = conv_wcad_a_utf8(lista_wcad_dame(traducido, 0));
      r += utf8;
      cad_destruye(&utf8);
    } else {
      r += tramo;
    }
    lista_wcad_destruye(&traducido);
  }
  return r;
}

}  // namespace

lista_cad_t *pseudo_traduce(const lista_cad_t *textos, const lista_cad_t *ids, uint32_t origen,
                            uint32_t destino, std::vector<std::string> *mensajes) {
  const uint32_t n = lista_cad_num_elems(textos);
  const uint32_t num_ids = ids != nullptr ? lista_cad_num_elems(ids) : 0;
  lista_cad_t *resultado = lista_cad_crea(0);
  // One text at a time through the engine: what a text takes on its way (its groups, its
  // wide copies) is freed before the next, so a page's texts are never held twice over.
  for (uint32_t i = 0; i < n; ++i) {
    // The pieces point into original, freed once they are back in their place.
    char *original = conv_ansi_idioma_a_utf8(lista_cad_dame(textos, i), origen);
    TextoProtegido protegido = pseudo_protege(original);
    std::string traducido = traduce_por_tramos(
        protegido.texto, i < num_ids ? lista_cad_dame(ids, i) : nullptr, origen, destino, mensajes);
    protegido.texto = std::string();
    const std::string restaurado = pseudo_restaura(traducido, protegido.piezas);
    traducido = std::string();
    cad_destruye(&original);
    char *texto = conv_utf8_a_ansi_html(restaurado.c_str(), destino);
    lista_cad_anade_propia(resultado, &texto);
  }
  return resultado;
}
