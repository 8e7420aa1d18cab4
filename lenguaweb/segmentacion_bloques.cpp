/* segmentacion_bloques.cpp - cutting a page into one text per block, phrasing markup inside. */
#include "lenguaweb/segmentacion_bloques.h"
#include "lenguaweb/origenes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <vector>

#include "htmlparser/reglas_html.h"
#include "lenguaweb/atributos_visibles.h"
#include "lenguaweb/lectura_tags.h"
#include "lenguaweb/no_traducir.h"

namespace {

using htmlparser::kNoEsta;

/* A phrasing element opened inside the text being read (or before it, from its first
 * tag on). */
struct abierto {
  size_t elemento; /* its place among the phrasing elements (htmlparser::elemento_html::frase) */
  uint32_t inicio; /* offset of its start tag */
};

/* The state of one pass over a page. */
struct pasada {
  lenguaweb_t *documento;
  std::string_view pagina;
  htmlparser::texto_acotado<char> t{};
  entidades_idioma entidades;
  referencias_de_bloque referencias;
  std::string normalizado; /* the text being kept: its room serves the next */
  lectura_html lectura;
  uint32_t preformateado = 0;
  i_tipo_texto_t tipo_texto = TIPO_TEXTO; /* TIPO_TITULO right after a TITLE start tag */
  uint32_t inicio_trozo = 0;
  /* Where the reading stood at inicio_trozo, and at fin_texto. */
  contexto_de_lectura contexto_trozo, contexto_fin;
  bool en_texto = false;
  uint32_t inicio_texto = 0;
  uint32_t fin_texto = 0;         /* past the text's last character or the last tag it took */
  bool se_alarga = true;          /* the end tags read after fin_texto may still join the text */
  uint32_t candidato = kNoEsta32; /* in a piece: the phrasing start tag a text would begin at */
  size_t pendientes_al_candidato = 0;
  bool preformateado_abierto = false;
  bool extranjero_abierto = false; /* the open text begun inside SVG or MathML */
  i_tipo_texto_t tipo_abierto = TIPO_TEXTO;
  std::vector<abierto> abiertos;
  /* How many of abiertos each phrasing element has: an end tag of one not open is known
   * at once, without a walk over all that are. */
  std::array<uint32_t, htmlparser::kNumElementosDeFrase> abiertos_de{};
  std::vector<texto_pendiente> pendientes;
  /* In a text: the phrasing tags read after fin_texto. Their attribute texts are taken
   * only if the text ends before them, which few do. */
  std::vector<uint32_t> tras_el_fin;
  /* The attribute texts of the tags read in the open text (or before it, from its first
   * tag on); those of tags inside it when it ends follow it. */
  std::vector<texto_pendiente> del_texto;
  /* The start tag of the element the next text comes from (lenguaweb_nombra_elemento). */
  uint32_t elemento = UINT32_MAX;
  /* What the page marks as not to be translated, when the document keeps it. */
  bool respeta = false;
  estado_de_traduccion traduccion;
  /* While a text is open: the fewest elements traduccion has held since it began. Those
   * below stand from before the text and hold it; those above opened inside it. */
  size_t traduccion_del_texto = 0;

  static constexpr uint32_t kNoEsta32 = UINT32_MAX;
};

void vacia_abiertos(pasada &p) {
  p.abiertos.clear();
  p.abiertos_de.fill(0);
}

void abre_elemento(pasada &p, const htmlparser::elemento_html *frase, uint32_t inicio) {
  const size_t elemento = static_cast<size_t>(frase->frase);
  p.abiertos.push_back({elemento, inicio});
  ++p.abiertos_de[elemento];
}

/* Whether the open text holds what stands here, which is not to be translated: it does
 * when the element that says so stands inside what the text has been in, that is when the
 * innermost element to be translated around it (if any) is no shallower than the text has
 * been. Otherwise an element from before the text says so, and the text has ended. */
bool texto_lo_contiene(const pasada &p) {
  const auto &abiertos = p.traduccion.abiertos;
  size_t traducido = abiertos.size(); /* past the innermost element to be translated, or 0 */
  while (traducido > 0 && !abiertos[traducido - 1].second) --traducido;
  return traducido >= p.traduccion_del_texto;
}

/* The pending attribute texts go to the document's texts, in order. */
void vuelca_pendientes(pasada &p) {
  for (const texto_pendiente &a : p.pendientes) lenguaweb_anade_texto(p.documento, a);
  p.pendientes.clear();
}

void guarda_trozo(pasada &p, uint32_t hasta) {
  lenguaweb_anade_trozo(p.documento, p.inicio_trozo, hasta, p.contexto_trozo);
  p.inicio_trozo = hasta;
  vuelca_pendientes(p);
}

/* Starts a body text at inicio: the piece before it is stored. */
void abre_texto(pasada &p, uint32_t inicio) {
  if (p.candidato != pasada::kNoEsta32) {
    inicio = p.candidato;
    // The tags from the candidate on are the text's: their attributes follow it.
    p.del_texto.assign(std::make_move_iterator(p.pendientes.begin() +
                                               static_cast<ptrdiff_t>(p.pendientes_al_candidato)),
                       std::make_move_iterator(p.pendientes.end()));
    p.pendientes.resize(p.pendientes_al_candidato);
  } else {
    vacia_abiertos(p);
    p.del_texto.clear();
  }
  p.candidato = pasada::kNoEsta32;
  guarda_trozo(p, inicio);
  p.en_texto = true;
  p.inicio_texto = inicio;
  p.tipo_abierto = p.tipo_texto;
  p.preformateado_abierto = p.preformateado > 0;
  p.extranjero_abierto = !p.lectura.en_html();
}

/* The attribute texts of a tag go to destino (the pending list, or the open text's). */
void toma_atributos(pasada &p, const tag_leido &tag, std::vector<texto_pendiente> &destino) {
  texto_de_tag textos[kMaxTextosDeTag];
  const size_t n = lenguaweb_textos_de_tag(tag, SEGMENTACION_BLOQUES, textos);
  for (size_t k = 0; k < n; ++k) {
    const uint32_t inicio = tag.inicio + textos[k].inicio, fin = tag.inicio + textos[k].fin;
    texto_pendiente &a = destino.emplace_back();
    lenguaweb_normaliza_bloque(p.pagina.substr(inicio, fin - inicio), p.entidades, p.referencias,
                               lectura_de_bloque::valor, a.texto);
    a.registro = {.inicio = inicio,
                  .fin = fin,
                  .marcas = kTextoCrudo,
                  .valor = lenguaweb_marcas_de_valor(textos[k]),
                  .tipo = textos[k].tipo,
                  .elemento = tag.inicio};
  }
}

/* The phrasing tags after the end of a text that ends are the next piece's. */
void toma_tras_el_fin(pasada &p) {
  for (uint32_t inicio : p.tras_el_fin)
    toma_atributos(p, lenguaweb_lee_tag_en(p.t, inicio, elemento_crudo::ninguno, false),
                   p.pendientes);
  p.tras_el_fin.clear();
}

/* The attribute texts of the tags inside the text that ends at fin_texto go to the
 * pending list, in order; those of tags after its end are taken with the next piece's. */
void toma_del_texto(pasada &p) {
  for (texto_pendiente &a : p.del_texto)
    if (a.registro.inicio < p.fin_texto) p.pendientes.push_back(std::move(a));
  p.del_texto.clear();
}

/* Where the tag at i of texto ends (one past its '>', or the end of texto). */
size_t fin_de_tag_en(std::string_view texto, size_t i) {
  const htmlparser::fin_de_tag fin = htmlparser::lee_fin_de_tag(htmlparser::acotado(texto), i);
  return fin.cerrado ? fin.cierre + 1 : fin.cierre;
}

/* Whether a reader sees a character of the stretch outside its tags: one that is no blank
 * (a form feed is one to a browser), no NUL and no no-break space (as a reference, or as
 * UTF-8 in a UTF-8 page). */
bool se_ve(std::string_view crudo, bool utf8) {
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(crudo);
  for (size_t i = 0; i < crudo.size();) {
    const char c = crudo[i];
    if (es_blanco_html(c) || c == '\0') {
      ++i;
    } else if (c == '<' && htmlparser::empieza_tag(t, i)) {
      i = fin_de_tag_en(crudo, i);
    } else if (utf8 && crudo.substr(i, 2) == htmlparser::kEspacioDuroUtf8) {
      i += 2;
    } else if (c == '&') {
      const htmlparser::referencia_html ref = htmlparser::lee_referencia(crudo.substr(i), true);
      if (ref.puntos[0] != 0xA0) return true;
      i += ref.largo;
    } else {
      return true;
    }
  }
  return false;
}

/* Ends the open body text at fin_texto; the next piece begins there. A text that shows
 * nothing is no text: its stretch joins the pieces around it. */
void cierra_texto(pasada &p) {
  lenguaweb_t &d = *p.documento;
  std::string_view crudo = p.pagina.substr(p.inicio_texto, p.fin_texto - p.inicio_texto);
  if (!se_ve(crudo, std::strcmp(p.entidades.codificacion, "UTF-8") == 0)) {
    tramo_de_pagina ultimo{};
    lenguaweb_quita_ultimo_trozo(&d, &ultimo, &p.contexto_trozo);
    p.inicio_trozo = ultimo.inicio;
    // Its tags are the piece's now: their attribute texts come before those read after.
    toma_del_texto(p);
    toma_tras_el_fin(p);
    p.en_texto = false;
    vacia_abiertos(p);
    p.candidato = pasada::kNoEsta32;
    return;
  }
  const bool pre = p.preformateado_abierto;
  uint8_t marcas = kTextoCrudo | (pre ? kTextoPreformateado : 0) |
                   (p.extranjero_abierto || !p.lectura.en_html() ? kTextoEnExtranjero : 0);
  // A NUL is nothing a host can be handed: the text goes without it, and always goes back
  // as the page had it.
  std::string sin_nul;
  if (crudo.find('\0') != kNoEsta) {
    lenguaweb_aplaza_informe(p.documento, p.inicio_texto, kInformeNul);
    for (char c : crudo)
      if (c != '\0') sin_nul.push_back(c);
    crudo = sin_nul;
    marcas |= kTextoComoLaPagina;
  }
  lenguaweb_normaliza_bloque(crudo, p.entidades, p.referencias,
                             pre ? lectura_de_bloque::preformateado : lectura_de_bloque::texto,
                             p.normalizado);
  lenguaweb_anade_texto(&d, p.normalizado,
                        {.inicio = p.inicio_texto,
                         .fin = p.fin_texto,
                         .marcas = marcas,
                         .tipo = p.tipo_abierto,
                         .elemento = p.elemento});
  // The attribute texts of the text's own tags follow it, in the page's order.
  toma_del_texto(p);
  vuelca_pendientes(p);
  toma_tras_el_fin(p);
  p.inicio_trozo = p.fin_texto;
  p.contexto_trozo = p.contexto_fin;
  p.en_texto = false;
  vacia_abiertos(p);
  p.candidato = pasada::kNoEsta32;
}

/* The content of XMP, TEXTAREA or PLAINTEXT from the position up to its end tag (or the
 * end of the page): one text when it shows a character, read as the other segmentation
 * reads it. Returns where the content ends. */
uint32_t lee_contenido_crudo(pasada &p, uint32_t posicion) {
  const size_t fin =
      p.lectura.crudo == elemento_crudo::plaintext
          ? p.pagina.size()
          : htmlparser::busca_fin_de_elemento(p.pagina, posicion, p.pagina.size(),
                                              htmlparser::nombre_de_elemento(p.lectura.crudo));
  if (p.respeta && !lenguaweb_se_traduce(p.traduccion)) return static_cast<uint32_t>(fin);
  size_t inicio = htmlparser::fin_de_blancos(p.t, posicion);
  size_t ultimo = fin;
  while (ultimo > inicio && htmlparser::es_blanco(p.pagina[ultimo - 1])) --ultimo;
  if (ultimo > inicio) {
    const bool sin_referencias = p.lectura.crudo != elemento_crudo::textarea;
    guarda_trozo(p, static_cast<uint32_t>(inicio));
    const modo_de_texto modo =
        sin_referencias ? modo_de_texto::crudo : modo_de_texto::preformateado;
    propiedades_de_texto propiedades;
    lenguaweb_normaliza_texto(p.pagina.substr(inicio, ultimo - inicio), p.entidades, p.normalizado,
                              modo, &propiedades);
    if (propiedades.queda_ampersand)
      lenguaweb_aplaza_informe(p.documento, static_cast<uint32_t>(inicio), kInformeAmpersand);
    uint8_t marcas = kTextoCrudo | kTextoPreformateado;
    if (sin_referencias)
      marcas |= kTextoSinReferencias;
    else
      marcas |= kTextoSinMarcado;
    if (p.lectura.crudo == elemento_crudo::plaintext) marcas |= kTextoHastaElFinal;
    lenguaweb_anade_texto(p.documento, p.normalizado,
                          {.inicio = static_cast<uint32_t>(inicio),
                           .fin = static_cast<uint32_t>(ultimo),
                           .marcas = marcas,
                           .elemento = p.elemento,
                           .codigo_en_linea = (1u << htmlparser::kNumTagsEnLinea) - 1});
    p.inicio_trozo = static_cast<uint32_t>(ultimo);
    p.contexto_trozo = lenguaweb_contexto_de(p.lectura);
  }
  return static_cast<uint32_t>(fin);
}

/* One tag read at the position; returns the position after it. */
uint32_t lee_tag(pasada &p, uint32_t posicion) {
  const tag_leido tag = lenguaweb_lee_tag_en(p.t, posicion, p.lectura.crudo, true);
  lenguaweb_anota_comilla(p.documento, tag.sin_cerrar, tag.fin);
  const elemento_crudo antes = p.lectura.crudo;
  const bool en_extranjero = !p.lectura.en_html();
  const uint32_t sigue = lenguaweb_sigue_tras_tag(p.lectura, tag, p.pagina, true);
  lenguaweb_anota_comilla(p.documento, p.lectura.comilla_en_noscript,
                          p.lectura.comilla_en_noscript_desde);
  lenguaweb_cambia_preformateado(p.preformateado, tag);
  const bool cierra = tag.cierra;
  // A tag not to be translated gives no attribute text.
  const bool se_traduce = !p.respeta || !se_leen_tags(antes) ||
                          lenguaweb_lee_tag_de_traduccion(p.traduccion, tag.texto);
  if (p.en_texto)
    p.traduccion_del_texto = std::min(p.traduccion_del_texto, p.traduccion.profundidad());
  const auto toma = [&](std::vector<texto_pendiente> &destino) {
    if (se_traduce) toma_atributos(p, tag, destino);
  };
  const htmlparser::elemento_html *frase =
      se_leen_tags(antes) && lenguaweb_texto_sigue_por_tag(tag, en_extranjero, SEGMENTACION_BLOQUES)
          ? tag.elemento
          : nullptr;

  if (frase == nullptr) {
    // Any other tag ends the text, and belongs to the next piece.
    if (p.en_texto) cierra_texto(p);
    if (lenguaweb_nombra_elemento(tag, antes, en_extranjero, SEGMENTACION_BLOQUES))
      p.elemento = tag.inicio;
    p.candidato = pasada::kNoEsta32;
    vacia_abiertos(p);
    if (se_leen_tags(antes))
      p.tipo_texto =
          !cierra && htmlparser::nombre_es(tag.nombre, "TITLE") ? TIPO_TITULO : TIPO_TEXTO;
    if (se_leen_tags(antes)) toma(p.pendientes); /* no code */
    return sigue;
  }

  if (!p.en_texto) {
    if (cierra) {
      p.candidato = pasada::kNoEsta32;  // it closes what the piece opened: no text began
      vacia_abiertos(p);
    } else {
      if (p.candidato == pasada::kNoEsta32) {
        p.candidato = posicion;
        p.pendientes_al_candidato = p.pendientes.size();
      }
      if (!frase->vacio) abre_elemento(p, frase, posicion);
    }
    toma(p.pendientes);
    return tag.fin;
  }

  // Inside a text: the tag is the text's when a character follows it; after the last
  // character, an end tag that closes an element opened before it, or a void tag right
  // after it, joins the text at once.
  toma(p.del_texto);
  if (cierra) {
    // The walk down to the element it closes pops every element it passes.
    const size_t elemento = static_cast<size_t>(frase->frase);
    size_t k = p.abiertos_de[elemento] == 0 ? 0 : p.abiertos.size();
    while (k > 0 && p.abiertos[k - 1].elemento != elemento) --k;
    if (k > 0) {
      const bool antes_del_fin = p.abiertos[k - 1].inicio < p.fin_texto;
      for (size_t j = k - 1; j < p.abiertos.size(); ++j) --p.abiertos_de[p.abiertos[j].elemento];
      p.abiertos.resize(k - 1);
      if (p.se_alarga && antes_del_fin) {
        p.fin_texto = tag.fin;
        p.contexto_fin = lenguaweb_contexto_de(p.lectura);
        p.tras_el_fin.clear();
        return tag.fin;
      }
    }
    p.se_alarga = false;
  } else if (frase->vacio) {
    if (posicion == p.fin_texto && p.se_alarga) {
      p.fin_texto = tag.fin;
      p.contexto_fin = lenguaweb_contexto_de(p.lectura);
      return tag.fin;
    }
  } else {
    abre_elemento(p, frase, posicion);
    p.se_alarga = false;
  }
  if (se_traduce) p.tras_el_fin.push_back(posicion);
  return tag.fin;
}

}  // namespace

void lenguaweb_divide_bloques(lenguaweb_t *documento, uint32_t desde) {
  pasada p;
  p.documento = documento;
  p.pagina = documento->pagina.bytes;
  p.t = htmlparser::acotado(p.pagina);
  lenguaweb_prepara_entidades(documento->idioma, &p.entidades, documento->pagina.leida_en);
  p.respeta = documento->no_traducir;
  const uint32_t fin_pagina = static_cast<uint32_t>(p.pagina.size());
  uint32_t posicion = desde;

  while (posicion < fin_pagina) {
    const char c = p.pagina[posicion];
    if (es_blanco_html(c) || c == '\0') {
      ++posicion;
      while (posicion < fin_pagina &&
             (htmlparser::es_blanco(p.pagina[posicion]) || p.pagina[posicion] == '\0'))
        ++posicion;
      continue;
    }
    if (es_texto_crudo(p.lectura.crudo)) {
      posicion = lee_contenido_crudo(p, posicion);
      if (posicion < fin_pagina) posicion = lee_tag(p, posicion);
      continue;
    }
    if (c == '<' && htmlparser::empieza_tag(p.t, posicion)) {
      posicion = lee_tag(p, posicion);
      continue;
    }
    // A run of characters: up to the next '<' that begins a tag. Inside SCRIPT and STYLE
    // it is code, never text.
    size_t fin = posicion;
    do {
      fin = htmlparser::fin_de_texto(p.t, fin);
    } while (fin < fin_pagina && !htmlparser::empieza_tag(p.t, fin));
    // Characters not to be translated begin no text: they stay in the piece. Those of an
    // element from before the open text end it; those of one inside it are the text's.
    const bool se_leen = se_leen_tags(p.lectura.crudo);
    const bool fuera = p.respeta && !lenguaweb_se_traduce(p.traduccion);
    if (se_leen && p.en_texto && fuera && !texto_lo_contiene(p)) cierra_texto(p);
    if (se_leen && (p.en_texto || !fuera)) {
      if (!p.en_texto) {
        abre_texto(p, posicion);
        p.traduccion_del_texto = p.traduccion.profundidad();
      }
      size_t ultimo = fin;
      while (htmlparser::es_blanco(p.pagina[ultimo - 1]) || p.pagina[ultimo - 1] == '\0') --ultimo;
      p.fin_texto = static_cast<uint32_t>(ultimo);
      p.contexto_fin = lenguaweb_contexto_de(p.lectura);
      p.se_alarga = true;
      p.tras_el_fin.clear();
    }
    posicion = static_cast<uint32_t>(fin);
  }
  if (p.en_texto) cierra_texto(p);
  guarda_trozo(p, fin_pagina);
}

namespace {

/* What the reference ref (read as lee_referencia read it) becomes in the text: its
 * character in the code page, or "" to keep it as it stands. */
std::string_view decodifica(const htmlparser::referencia_html &ref,
                            const entidades_idioma &entidades, referencias_de_bloque &r) {
  const char32_t c = ref.puntos[0];
  // '<', '>' and '&' stay references, as do controls.
  if (c == '<' || c == '>' || c == '&' || c < 0x20 || (c >= 0x7F && c < 0xA0)) return {};
  if (c == 0xA0 && ref.puntos[1] == 0) return entidades.espacio_duro;
  const uint64_t clave = (uint64_t{c} << 32) | ref.puntos[1];
  auto hallado = r.vistas.find(clave);
  if (hallado == r.vistas.end()) {
    std::string en_pagina =
        cad_propia(
            conv_utf8_a_ansi_html(htmlparser::utf8_de_referencia(ref).c_str(), entidades.idioma))
            .get();
    if (en_pagina.find('&') != std::string::npos) en_pagina.clear();
    hallado = r.vistas.emplace(clave, std::move(en_pagina)).first;
  }
  return hallado->second;
}

}  // namespace

void lenguaweb_normaliza_bloque(std::string_view texto, const entidades_idioma &entidades,
                                referencias_de_bloque &referencias, lectura_de_bloque lectura,
                                std::string &salida) {
  lenguaweb_convierte_a_pagina(texto, entidades, referencias.convertido);
  const std::string_view s = referencias.convertido;
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(s);
  salida.clear();
  salida.reserve(s.size() + 16);
  const bool preformateado = lectura == lectura_de_bloque::preformateado;
  // s is a string's whole text: s[s.size()] is its NUL, which is no blank.
  const auto especial_en = [&](size_t i) {
    const char c = s[i];
    return c == '<' || c == '>' || c == '&' ||
           (!preformateado && htmlparser::es_blanco(c) &&
            (c != ' ' || htmlparser::es_blanco(s[i + 1])));
  };
  for (size_t i = 0; i < s.size();) {
    if (!especial_en(i)) {
      // A run of what is copied as it stands, a lone space between words among it.
      const size_t fin =
          preformateado ? lenguaweb_fin_de_tramo<true, true>(s.data(), i, s.size(), especial_en)
                        : lenguaweb_fin_de_tramo<false, true>(s.data(), i, s.size(), especial_en);
      salida.append(s.substr(i, fin - i));
      i = fin;
      continue;
    }
    const char c = s[i];
    if (htmlparser::es_blanco(c)) {
      i = htmlparser::fin_de_blancos(t, i);
      salida.push_back(' ');
    } else if (c == '<') {
      if (lectura != lectura_de_bloque::valor && htmlparser::empieza_tag(t, i)) {
        const size_t fin = fin_de_tag_en(s, i);
        salida.append(s.substr(i, fin - i));
        i = fin;
      } else {
        salida.append(htmlparser::kEntidadMenor);
        ++i;
      }
    } else if (c == '>') {
      salida.append(htmlparser::kEntidadMayor);
      ++i;
    } else {
      const htmlparser::referencia_html ref = htmlparser::lee_referencia(s.substr(i), true);
      if (ref.largo == 0) {
        salida.append(htmlparser::kEntidadAmpersand);
        ++i;
        continue;
      }
      const std::string_view decodificado = decodifica(ref, entidades, referencias);
      salida.append(decodificado.empty() ? s.substr(i, ref.largo) : decodificado);
      i += ref.largo;
    }
  }
  // A value's blanks at its ends are nothing a reader sees: they go back with the page's
  // own value, and a translation takes the value's place without them.
  size_t desde = 0, hasta = salida.size();
  if (lectura == lectura_de_bloque::valor) {
    while (desde < hasta && salida[desde] == ' ') ++desde;
    while (hasta > desde && salida[hasta - 1] == ' ') --hasta;
  }
  salida.resize(hasta);
  salida.erase(0, desde);
}
