/* segmentacion.cpp - cutting a page into verbatim markup pieces and body texts. */
#include "lenguaweb/segmentacion.h"
#include "lenguaweb/origenes.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "htmlparser/reglas_html.h"
#include "lenguaweb/atributos.h"
#include "lenguaweb/lectura_tags.h"
#include "lenguaweb/normalizacion.h"
#include "privado/informe.h"
#include "privado/propiedad.h"

namespace {

/* The state of one pass over a page. */
struct pasada {
  std::string_view pagina;
  htmlparser::texto_acotado<char> t{};
  uint32_t posicion = 0;
  uint32_t inicio_trozo = 0;
  uint32_t fin_texto = 0;
  /* Where the reading stood at inicio_trozo, and at fin_texto. */
  contexto_de_lectura contexto_trozo, contexto_fin;
  booleano es_trozo = CIERTO;
  lectura_html lectura;       /* procesar_texto is se_leen_tags(lectura.crudo) */
  uint32_t preformateado = 0; /* PRE and LISTING open */
  i_tipo_texto_t tipo_texto = TIPO_TEXTO;
  i_tipo_texto_t tipo_abierto = TIPO_TEXTO;
  uint8_t marcas_abiertas = 0; /* how the open text is read (kTextoPreformateado ...) */
  entidades_idioma entidades;
  /* Every text is written back from the page's bytes when unchanged: the page is not
   * UTF-8. */
  bool todo_crudo = false;
  bool hay_nul = false; /* the page holds a NUL somewhere */
  size_t invalidos = 0; /* byte sequences of its texts not valid in its encoding */
  /* Attribute texts of the tags of the current piece, until the piece is kept. */
  std::vector<texto_pendiente> pendientes;
  texto_pendiente cuerpo; /* the body text being kept: its text's room serves the next */
  uint32_t en_linea_como_marcado = 0; /* inline tags read as markup in the open text */
  /* The start tag of the element the next text comes from (lenguaweb_nombra_elemento),
   * and that of the open text. */
  uint32_t elemento = UINT32_MAX;
  uint32_t elemento_abierto = UINT32_MAX;
  lenguaweb_t *documento;
};

modo_de_texto modo_de(uint8_t marcas) {
  return (marcas & kTextoSinReferencias) != 0  ? modo_de_texto::crudo
         : (marcas & kTextoPreformateado) != 0 ? modo_de_texto::preformateado
                                               : modo_de_texto::normal;
}

/* How a text that begins now is read, by the elements open around it. */
uint8_t marcas_de_contexto(const pasada &p) {
  const uint8_t extranjero = p.lectura.en_html() ? 0 : kTextoEnExtranjero;
  switch (p.lectura.crudo) {
    case elemento_crudo::xmp:
      return kTextoPreformateado | kTextoSinReferencias | extranjero;
    case elemento_crudo::plaintext:
      return kTextoPreformateado | kTextoSinReferencias | kTextoHastaElFinal | extranjero;
    case elemento_crudo::textarea:
      return kTextoPreformateado | kTextoSinMarcado | extranjero;
    default:
      return (p.preformateado > 0 ? kTextoPreformateado : 0) | extranjero;
  }
}

/* Whether a tag of the stretch holds a '&'. Normalising reads a reference there as the
 * character it names too, and in an attribute's name, where a browser reads none, that
 * makes another name. */
bool referencia_en_tag(std::string_view crudo) {
  if (crudo.find('&') == std::string_view::npos) return false;
  const auto t = htmlparser::acotado(crudo);
  for (size_t i = crudo.find('<'); i != std::string_view::npos; i = crudo.find('<', i + 1)) {
    if (!htmlparser::empieza_tag(t, i)) continue;
    const size_t fin = std::min(htmlparser::busca_cierre(t, i), crudo.size());
    if (crudo.substr(i, fin - i).find('&') != std::string_view::npos) return true;
    i = fin;
    if (i == crudo.size()) break;
  }
  return false;
}

/* The normalised text of the stretch [inicio, fin) of the page, read as marcas say, goes
 * to destino, and its span and marks, with those that its stretch adds, to its record. A
 * stretch that holds a NUL is reported and normalised without its NULs. */
void normaliza(pasada &p, uint32_t inicio, uint32_t fin, uint8_t marcas, texto_pendiente &destino) {
  std::string_view crudo = p.pagina.substr(inicio, fin - inicio);
  std::string sin_nul;
  if (p.hay_nul && crudo.find('\0') != std::string_view::npos) {
    // A text that holds a NUL byte: it is handed out without them and always written
    // back as the page had it.
    lenguaweb_aplaza_informe(p.documento, inicio, kInformeNul);
    sin_nul.assign(crudo);
    sin_nul.erase(std::remove(sin_nul.begin(), sin_nul.end(), '\0'), sin_nul.end());
    crudo = sin_nul;
    marcas |= kTextoComoLaPagina | kTextoCrudo;
  }
  propiedades_de_texto propiedades;
  lenguaweb_normaliza_texto(crudo, p.entidades, destino.texto, modo_de(marcas), &propiedades,
                            (marcas & kTextoSignosComoReferencias) != 0);
  const std::string_view normalizado = destino.texto;
  if (propiedades.queda_ampersand) lenguaweb_aplaza_informe(p.documento, inicio, kInformeAmpersand);
  p.invalidos += propiedades.invalidos;
  // A character reference in the text (one of the page's, or one for a character that
  // the language's code page lacks) would go back as a reference, and a line break or a
  // tab inside a tag of the text as a space (a value changed), a reference inside a tag
  // as its character (a name changed): given back unchanged, the text keeps the page's
  // bytes, whose letters also tell a reader the page's encoding.
  if (p.todo_crudo || propiedades.espacio_duro || propiedades.invalidos > 0 ||
      (marcas & kTextoPreformateado) != 0 || normalizado.find("&#") != std::string_view::npos ||
      (crudo.find('<') != std::string_view::npos &&
       (crudo.find_first_of("\t\n\f\r") != std::string_view::npos || referencia_en_tag(crudo))))
    marcas |= kTextoCrudo;
  destino.registro.inicio = inicio;
  destino.registro.fin = fin;
  destino.registro.marcas = marcas;
}

/* Reads the tag at the position; its text, if it gives one, goes to the pending lists.
 * Returns the tag (views into the page). */
tag_leido lenguaweb_lee_tag(pasada &p) {
  const tag_leido tag = lenguaweb_lee_tag_en(p.t, p.posicion, p.lectura.crudo, true);
  lenguaweb_anota_comilla(p.documento, tag.sin_cerrar, tag.fin);
  p.posicion = tag.fin;
  texto_de_tag texto;
  if (lenguaweb_texto_de_tag(tag, &texto)) {
    texto_pendiente &pendiente = p.pendientes.emplace_back();
    pendiente.registro.tipo = texto.tipo;
    pendiente.registro.valor = lenguaweb_marcas_de_valor(texto);
    pendiente.registro.elemento = tag.inicio;
    normaliza(p, tag.inicio + texto.inicio, tag.inicio + texto.fin,
              texto.forma_de_siempre ? 0 : kTextoCrudo, pendiente);
  }
  return tag;
}

/* Whether the page at the position begins the end tag of the raw element open. */
bool en_fin_de_elemento(const pasada &p) {
  const std::string_view nombre = htmlparser::nombre_de_elemento(p.lectura.crudo);
  return p.pagina.size() - p.posicion >= nombre.size() + 2 && p.pagina[p.posicion] == '<' &&
         p.pagina[p.posicion + 1] == '/' &&
         htmlparser::nombre_es(p.pagina.substr(p.posicion + 2, nombre.size()), nombre);
}

/* Reads one token and returns the state that follows it: CIERTO inside a piece,
 * FALSO inside a body text. */
booleano lenguaweb_lee_elemento(pasada &p) {
  const char c = p.posicion < p.pagina.size() ? p.pagina[p.posicion] : '\0';
  htmlparser::token_html token = htmlparser::clase_de_token(c);
  // The content of XMP, TEXTAREA and PLAINTEXT is text up to the element's end tag.
  if (es_texto_crudo(p.lectura.crudo) && token == htmlparser::token_html::tag &&
      !en_fin_de_elemento(p))
    token = htmlparser::token_html::texto;
  // A NUL is nothing a reader sees: it begins no text, as blanks do not, in raw text too.
  if (c == '\0' && p.posicion < p.pagina.size()) {
    while (p.posicion < p.pagina.size() &&
           (p.pagina[p.posicion] == '\0' || htmlparser::es_blanco(p.pagina[p.posicion])))
      ++p.posicion;
    return p.es_trozo;
  }
  switch (token) {
    case htmlparser::token_html::blancos:
      p.posicion = static_cast<uint32_t>(htmlparser::fin_de_blancos(p.t, p.posicion));
      return p.es_trozo;
    case htmlparser::token_html::tag: {
      const tag_leido tag = lenguaweb_lee_tag(p);
      // This segmentation's texts run through the tags it has always known, by their
      // names up to a space.
      const std::string_view nombre = tag.nombre_legado;
      p.tipo_texto = TIPO_TEXTO;
      const elemento_crudo antes = p.lectura.crudo;
      const bool en_extranjero = !p.lectura.en_html();
      p.posicion = lenguaweb_sigue_tras_tag(p.lectura, tag, p.pagina, true);
      lenguaweb_anota_comilla(p.documento, p.lectura.comilla_en_noscript,
                              p.lectura.comilla_en_noscript_desde);
      if (lenguaweb_nombra_elemento(tag, antes, en_extranjero, SEGMENTACION_CLASICA))
        p.elemento = tag.inicio;
      lenguaweb_cambia_preformateado(p.preformateado, tag);
      if (p.es_trozo == FALSO &&
          lenguaweb_texto_sigue_por_tag(tag, en_extranjero, SEGMENTACION_CLASICA)) {
        p.en_linea_como_marcado |= 1u << lenguaweb_bit_en_linea_legado(tag);
        return FALSO;
      }
      if (p.es_trozo == CIERTO && htmlparser::nombre_es(nombre, "TITLE"))
        p.tipo_texto = TIPO_TITULO;
      return CIERTO;
    }
    case htmlparser::token_html::texto:
      break;
  }
  if (p.lectura.crudo == elemento_crudo::plaintext)
    p.posicion = static_cast<uint32_t>(p.pagina.size());
  else if (es_texto_crudo(p.lectura.crudo))
    p.posicion = static_cast<uint32_t>(htmlparser::busca_fin_de_elemento(
        p.pagina, p.posicion, p.pagina.size(), htmlparser::nombre_de_elemento(p.lectura.crudo)));
  else
    p.posicion = static_cast<uint32_t>(htmlparser::fin_de_texto(p.t, p.posicion));
  p.fin_texto = p.posicion;
  p.contexto_fin = lenguaweb_contexto_de(p.lectura);
  return se_leen_tags(p.lectura.crudo) || es_texto_crudo(p.lectura.crudo) ? FALSO : CIERTO;
}

void guarda_trozo(pasada &p, uint32_t hasta) {
  lenguaweb_t &d = *p.documento;
  lenguaweb_anade_trozo(&d, p.inicio_trozo, hasta, p.contexto_trozo);
  p.inicio_trozo = hasta;
  for (const texto_pendiente &pendiente : p.pendientes) lenguaweb_anade_texto(&d, pendiente);
  p.pendientes.clear();
}

/* The body text open ends at fin_texto. */
void guarda_texto(pasada &p) {
  lenguaweb_t &d = *p.documento;
  const std::string_view crudo = p.pagina.substr(p.inicio_trozo, p.fin_texto - p.inicio_trozo);
  uint8_t marcas = p.marcas_abiertas;
  texto_pendiente &texto = p.cuerpo;
  registro_de_texto &registro = texto.registro;
  registro = {.inicio = p.inicio_trozo,
              .fin = p.fin_texto,
              .tipo = p.tipo_abierto,
              .elemento = p.elemento_abierto};
  if ((marcas & kTextoSinMarcado) != 0) {
    registro.codigo_en_linea = (1u << htmlparser::kNumTagsEnLinea) - 1; /* none is markup */
  } else if ((marcas & kTextoSinReferencias) == 0) {
    const uint32_t mostrado = lenguaweb_codigo_en_linea(crudo);
    registro.codigo_en_linea = mostrado & ~p.en_linea_como_marcado;
    if ((mostrado & p.en_linea_como_marcado) != 0)
      marcas |= kTextoSignosComoReferencias | kTextoCrudo;
    else if (lenguaweb_signos_cambian(crudo))
      marcas |= kTextoCrudo;
  }
  if (!crudo.empty() && std::ranges::all_of(crudo, [](char c) { return es_blanco_html(c); }))
    marcas |= kTextoComoLaPagina | kTextoCrudo;
  normaliza(p, p.inicio_trozo, p.fin_texto, marcas, texto);
  lenguaweb_anade_texto(&d, texto);
  p.inicio_trozo = p.fin_texto;
  p.contexto_trozo = p.contexto_fin;
}

}  // namespace

uint32_t lenguaweb_codigo_en_linea(std::string_view texto) {
  using htmlparser::kEntidadMenor;
  uint32_t codigo = 0;
  for (size_t p = texto.find(kEntidadMenor); p != htmlparser::kNoEsta;
       p = texto.find(kEntidadMenor, p + 1)) {
    const size_t nombre = p + kEntidadMenor.size();
    size_t fin = nombre;
    if (fin < texto.size() && texto[fin] == '/') ++fin;
    while (fin < texto.size() && std::isalnum(static_cast<unsigned char>(texto[fin]))) ++fin;
    // A name ends as a translation's free tag is read: "&lt;br/&gt;" shows a BR too.
    const std::string_view resto = texto.substr(fin);
    const bool acaba_nombre = resto.empty() || htmlparser::es_blanco(resto[0]) || resto[0] == '>' ||
                              resto[0] == '/' || resto.starts_with(htmlparser::kEntidadMayor) ||
                              resto.starts_with(htmlparser::kEntidadEspacioDuro);
    const int en_linea = htmlparser::bit_de_tag_en_linea(texto.substr(nombre, fin - nombre));
    if (acaba_nombre && en_linea >= 0) codigo |= 1u << en_linea;
  }
  return codigo;
}

bool lenguaweb_signos_cambian(std::string_view texto) {
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(texto);
  bool dentro_de_tag = false;
  size_t fin_tag = 0;
  htmlparser::siguiente_de siguiente(texto, '<', '>', '&');
  for (size_t p = 0;; ++p) {
    p = siguiente.desde(p);
    if (p == htmlparser::kNoEsta) return false;
    const char c = texto[p];
    if (dentro_de_tag && p >= fin_tag) dentro_de_tag = false;
    if (c == '&') {
      const std::string_view entidad = texto.substr(p, htmlparser::kEntidadMenor.size());
      if (entidad != htmlparser::kEntidadMenor && entidad != htmlparser::kEntidadMayor) continue;
      // Decoded inside a tag, it changes where the tag ends when written back.
      if (dentro_de_tag) return true;
      p += entidad.size() - 1;
    } else if (c == '<') {
      if (!dentro_de_tag) {
        // Only where the tag ends counts here, not what it is.
        const htmlparser::fin_de_tag fin = htmlparser::lee_fin_de_tag(t, p);
        fin_tag = fin.cerrado ? fin.cierre + 1 : fin.cierre;
        // A quote that kept the tag open past a '>': written back, the tag would end there.
        if (texto.find('>', p) + 1 < fin_tag) return true;
        dentro_de_tag = true;
      }
    } else if (!dentro_de_tag) {
      return true;  // a bare '>' would be written "&gt;"
    }
  }
}

void lenguaweb_divide_pagina(lenguaweb_t *documento, uint32_t desde) {
  pasada p;
  p.documento = documento;
  p.pagina = documento->pagina.bytes;
  p.t = htmlparser::acotado(p.pagina);
  p.posicion = desde;
  p.todo_crudo = documento->pagina.codificacion.nombre != nullptr &&
                 std::strcmp(documento->pagina.codificacion.nombre, "UTF-8") != 0;
  p.hay_nul = std::memchr(p.pagina.data(), '\0', p.pagina.size()) != nullptr;
  lenguaweb_prepara_entidades(documento->idioma, &p.entidades, documento->pagina.leida_en);
  const uint32_t fin_pagina = static_cast<uint32_t>(p.pagina.size());

  for (;;) {
    uint32_t posicion_anterior = p.posicion;
    const booleano nuevo = lenguaweb_lee_elemento(p);
    const bool al_final = p.posicion >= fin_pagina;
    // A run that reaches the end of the page stays in the piece, but the content of a raw
    // text element (PLAINTEXT, or an XMP or TEXTAREA never closed), which is a text.
    const bool texto_al_final = al_final && nuevo == FALSO && p.es_trozo == CIERTO &&
                                es_texto_crudo(p.lectura.crudo) && posicion_anterior < fin_pagina;
    if (nuevo != p.es_trozo || al_final) {
      if (al_final && !texto_al_final) posicion_anterior = fin_pagina;
      if (posicion_anterior < p.inicio_trozo)
        informa_en(kModuloLenguaweb, "posicion_anterior >= inicio_trozo");
      if (p.es_trozo == CIERTO) {
        guarda_trozo(p, posicion_anterior);
        p.tipo_abierto = p.tipo_texto;
        p.marcas_abiertas = marcas_de_contexto(p);
        p.en_linea_como_marcado = 0;
        p.elemento_abierto = p.elemento;
      }
      if (p.es_trozo == FALSO || texto_al_final) {
        guarda_texto(p);
        // The page ends inside the text: what follows its last run is the last piece.
        if (al_final) guarda_trozo(p, fin_pagina);
      }
      p.es_trozo = nuevo;
    }
    if (al_final) break;
  }
  if (p.invalidos > 0)
    informa_en(kModuloLenguaweb, ("the page's texts hold " + std::to_string(p.invalidos) +
                                  " byte sequences not valid in " + p.entidades.codificacion)
                                     .c_str());
}
