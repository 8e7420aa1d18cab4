// pseudo.cpp - pseudo-translation of a page's texts through the text engine, markup kept whole.
#include "pseudo.h"

#include <algorithm>
#include <array>

#include "htmlparser/reglas_compartidas.h"
#include "privado/ascii.h"
#include "privado/propiedad.h"
#include "sin_traducir.h"

namespace {

// The tags that stay markup inside a text when the library writes it back, by the name
// that stands between the '<' and the first space or the '>'.
bool es_tag_en_linea(std::string_view nombre) {
  for (std::string_view n : reglas_compartidas::tags_en_linea()) {
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

// Protects texto as pseudo_protege does, handing the result to tramo in slices: once the
// protected text passes corte bytes, it is cut after the group that ends it (before the
// next character, which could still join that group), and the next slice numbers its
// groups from 0 again. The engine translates each run between groups on its own, so the
// slices translate as the whole would.
template <class Tramo>
void protege_por_tramos(std::string_view texto, size_t corte, Tramo &&tramo) {
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
  const auto caracter = [&](char c) {
    if (tras_grupo == r.texto.size() && r.texto.size() > corte) {
      tramo(r);
      r.texto.clear();
      r.piezas.clear();
      tras_grupo = std::string::npos;
    }
    r.texto += c;
  };
  const bool bloques = opciones_dame_segmentacion() == SEGMENTACION_BLOQUES;
  size_t proximo_mayor = 0;  // the first '>' at or after the last one looked for
  const reglas_compartidas::texto_html t{texto};
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
    // A stray '<' (before no letter, '/', '!' or '?') begins no tag: a character.
    if (c == '<' && i + 1 < texto.size() &&
        (reglas_compartidas::es_letra_ascii(texto[i + 1]) || texto[i + 1] == '/' ||
         texto[i + 1] == '!' || texto[i + 1] == '?')) {
      if (proximo_mayor != std::string_view::npos && proximo_mayor <= i)
        proximo_mayor = texto.find('>', i + 1);
      if (proximo_mayor != std::string_view::npos) {
        // Whether the tag may be grouped is told from its name, read no further than the
        // longest name there is; only a tag that may be is read to its end. Read to its end
        // from each '<', a run that no name ends ("<a<a<a...") or tags that a far '>' ends
        // ("<x <x <x...") would take time with the square of their length.
        const size_t largo = reglas_compartidas::largo_del_nombre_mas_largo();
        const std::string_view tras = texto.substr(i + 1, largo + 2);
        // The name as the classic segmentation reads it: up to a space, or the tag's end,
        // which a name of letters reaches at its first '>' (no quote stands before it).
        const std::string_view legado =
            reglas_compartidas::nombre_legado_de_tag(tras.substr(0, tras.find('>')));
        const bool en_linea = legado.size() < tras.size() && es_tag_en_linea(legado);
        // A phrasing tag too when this thread cuts pages by blocks: their texts hold them
        // as markup.
        const reglas_compartidas::texto_html corto{texto.substr(0, i + 3 + largo)};
        const size_t fin_nombre = reglas_compartidas::fin_de_nombre_de_tag(corto, i);
        const size_t desde = texto[i + 1] == '/' ? i + 2 : i + 1;
        const bool de_frase =
            bloques && reglas_compartidas::tiene_atributos(t, i) &&
            reglas_compartidas::es_elemento_de_frase(texto.substr(desde, fin_nombre - desde));
        if (en_linea || de_frase) {
          // The tag ends as the library reads it: a '>' inside a quoted value does not end
          // it.
          const size_t cierre = reglas_compartidas::busca_cierre(t, i);
          if (cierre < texto.size()) {
            grupo(texto.substr(i, cierre + 1 - i));
            i = cierre;
            continue;
          }
        }
      }
    } else if (c == '&') {
      if (const size_t largo = reglas_compartidas::largo_de_referencia(texto.substr(i));
          largo > 0) {
        grupo(texto.substr(i, largo));
        i += largo - 1;
        continue;
      }
    }
    caracter(c);
  }
  tramo(r);
}

}  // namespace

TextoProtegido pseudo_protege(std::string_view texto) {
  TextoProtegido r;
  protege_por_tramos(texto, std::string::npos,
                     [&r](TextoProtegido &entero) { r = std::move(entero); });
  return r;
}

namespace {

// Hands to anade, in order, the stretches of texto with each group's piece in its place.
template <class Anade>
void restaura_en(std::string_view texto, const std::vector<std::string_view> &piezas,
                 Anade &&anade) {
  size_t hecho = 0;  // texto before it is handed over
  for (size_t i = texto.find('{'); i != std::string_view::npos; i = texto.find('{', i + 1)) {
    size_t j = i + 1, indice = 0;
    while (j < texto.size() && es_cifra(texto[j]) && indice <= piezas.size())
      indice = indice * 10 + static_cast<size_t>(texto[j++] - '0');
    if (j > i + 1 && j < texto.size() && texto[j] == '}' && indice < piezas.size()) {
      anade(texto.substr(hecho, i - hecho));
      anade(piezas[indice]);
      hecho = j + 1;
      i = j;
    }
  }
  anade(texto.substr(hecho));
}

}  // namespace

std::string pseudo_restaura(std::string_view texto, const std::vector<std::string_view> &piezas) {
  std::string r;
  r.reserve(texto.size());
  restaura_en(texto, piezas, [&r](std::string_view parte) { r += parte; });
  return r;
}

namespace {

// A text's translation as it is made, in the code page of destino: nothing is held while
// it is the page's own text (propio), so that a text that comes back unchanged
// (references and markup alone) needs no second copy.
struct Traduccion {
  std::string_view propio;
  uint32_t destino = 0;
  size_t igual = 0;  // bytes made, all equal to the start of propio
  bool cambia = false;
  std::string texto;  // the translation, once it differs from propio
};

// Appends UTF-8 to the translation, converted a stretch at a time (cut between two
// characters, each converted on its own) so that a long piece is never copied whole.
void traduccion_anade(Traduccion &t, std::string_view utf8) {
  constexpr size_t kTrozo = size_t{1} << 16;
  while (!utf8.empty()) {
    size_t largo = std::min(utf8.size(), kTrozo);
    while (largo < utf8.size() && largo > 0 &&
           (static_cast<unsigned char>(utf8[largo]) & 0xC0) == 0x80)
      --largo;
    if (largo == 0) largo = std::min(utf8.size(), kTrozo);
    size_t convertido = 0;
    const cad_propia hecho(conv_utf8_a_ansi_html_n(utf8.data(), largo, t.destino, &convertido));
    const std::string_view h(hecho.get(), convertido);
    utf8.remove_prefix(largo);
    if (!t.cambia && t.propio.substr(t.igual).starts_with(h)) {
      t.igual += h.size();
      continue;
    }
    if (!t.cambia) t.texto.assign(t.propio.substr(0, t.igual));
    t.cambia = true;
    t.texto += h;
  }
}

// The engine's pseudo-translation of one protected slice (UTF-8), its groups restored,
// appended to the translation.
void traduce_tramo(const TextoProtegido &tramo, const char *id, uint32_t origen,
                   std::vector<std::string> *mensajes, Traduccion &traduccion) {
  char16_t *ancho = conv_utf8_a_wcad(tramo.texto.c_str());
  lista_wcad_t *uno = lista_wcad_crea(0);
  lista_wcad_anade_propia(uno, &ancho);
  lista_cad_t *ids = lista_cad_crea(0);
  if (id != nullptr) lista_cad_anade(ids, id);
  lista_wcad_t *avisos = nullptr;
  lista_wcad_t *traducido =
      lenguatxt_traduce_textos(uno, id != nullptr ? ids : nullptr, origen, traduccion.destino,
                               MOTOR_PSEUDOTRADUCCION, &avisos);
  lista_wcad_destruye(&uno);
  lista_cad_destruye(&ids);
  for (uint32_t k = 0; avisos != nullptr && k < lista_wcad_num_elems(avisos); ++k) {
    char *aviso = conv_wcad_a_utf8(lista_wcad_dame(avisos, k));
    mensajes->emplace_back(aviso);
    cad_destruye(&aviso);
  }
  lista_wcad_destruye(&avisos);
  const auto anade = [&traduccion](std::string_view parte) { traduccion_anade(traduccion, parte); };
  if (lista_wcad_num_elems(traducido) == 1) {
    const cad_propia utf8(conv_wcad_a_utf8(lista_wcad_dame(traducido, 0)));
    restaura_en(utf8.get(), tramo.piezas, anade);
  } else {
    restaura_en(tramo.texto, tramo.piezas, anade);
  }
  lista_wcad_destruye(&traducido);
}

}  // namespace

void pseudo_traduce(lista_cad_t *textos, const lista_cad_t *ids, uint32_t origen, uint32_t destino,
                    std::vector<std::string> *mensajes, const std::vector<bool> &intocables) {
  // About the size of the slices that go through the engine: what a text takes on its way
  // (its groups, its wide copies, the engine's own) is one slice's, not the text's.
  constexpr size_t kTramo = size_t{1} << 16;
  const uint32_t n = lista_cad_num_elems(textos);
  const uint32_t num_ids = ids != nullptr ? lista_cad_num_elems(ids) : 0;
  const bool ascii_directo = conv_ascii_sin_cambios(origen) == CIERTO;
  const bool misma_pagina = conv_pagina_de_codigos(origen) == conv_pagina_de_codigos(destino);
  for (uint32_t i = 0; i < n; ++i) {
    if (i < intocables.size() && intocables[i]) {
      if (misma_pagina) continue;
      const cad_propia utf8(conv_ansi_idioma_a_utf8(lista_cad_dame(textos, i), origen));
      char *texto = conv_utf8_a_ansi_html(utf8.get(), destino);
      lista_cad_pon_propia(textos, i, &texto);
      continue;
    }
    Traduccion traduccion;
    traduccion.propio = lista_cad_dame(textos, i);
    traduccion.destino = destino;
    // An ASCII text is its own UTF-8 in such a code page: no copy of it is made.
    cad_propia convertido;
    std::string_view original = traduccion.propio;
    if (!ascii_directo || !es_ascii(original)) {
      size_t largo = 0;
      convertido.reset(conv_ansi_idioma_a_utf8_n(original.data(), origen, &largo));
      original = std::string_view(convertido.get(), largo);
    }
    const char *id = i < num_ids ? lista_cad_dame(ids, i) : nullptr;
    protege_por_tramos(original, kTramo, [&](const TextoProtegido &tramo) {
      traduce_tramo(tramo, id, origen, mensajes, traduccion);
    });
    convertido.reset();
    if (!traduccion.cambia && traduccion.igual == traduccion.propio.size()) continue;
    if (!traduccion.cambia) traduccion.texto.assign(traduccion.propio.substr(0, traduccion.igual));
    // The page's text goes before its translation is copied into the list.
    char *vacio = cad_copia("");
    lista_cad_pon_propia(textos, i, &vacio);
    char *texto =
        cad_prefijo(traduccion.texto.data(), static_cast<uint32_t>(traduccion.texto.size()));
    traduccion.texto = std::string();
    lista_cad_pon_propia(textos, i, &texto);
  }
}
