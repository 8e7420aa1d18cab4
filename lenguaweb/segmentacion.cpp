/* segmentacion.cpp - cutting a page into verbatim markup pieces and body texts. */
#include "lenguaweb/segmentacion.h"

#include <algorithm>
#include <cctype>
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
  uint32_t posicion = 0;
  uint32_t inicio_trozo = 0;
  uint32_t fin_texto = 0;
  booleano es_trozo = CIERTO;
  elemento_crudo crudo = elemento_crudo::ninguno; /* procesar_texto is crudo == ninguno */
  i_tipo_texto_t tipo_texto = TIPO_TEXTO;
  i_tipo_texto_t tipo_abierto = TIPO_TEXTO;
  entidades_idioma entidades;
  /* Attribute texts of the tags of the current piece, until moved into textos. */
  std::vector<cad_propia> textos_pendientes;
  std::vector<i_tipo_texto_t> tipos_pendientes;
  uint32_t en_linea_como_marcado = 0; /* inline tags read as markup in the open text */
  lista_cad_t *textos;
  lista_num_t *tipos_de_textos;
  lista_cad_t *trozos_html;
  lista_num_t *codigo_en_linea;
  signos_por_texto *signos_crudos;
};

/* Reads the tag at the position; its text, if it gives one, goes to the pending lists.
 * Returns its name (a view into the page). */
std::string_view lenguaweb_lee_tag(pasada &p) {
  const tag_leido tag = lenguaweb_lee_tag_en(p.pagina, p.posicion, p.crudo, true);
  p.posicion = tag.fin;
  texto_de_tag texto;
  if (lenguaweb_texto_de_tag(tag, &texto)) {
    p.textos_pendientes.emplace_back(lenguaweb_normaliza_texto(
        tag.texto.substr(texto.inicio, texto.fin - texto.inicio), p.entidades));
    p.tipos_pendientes.push_back(texto.tipo);
  }
  return tag.nombre;
}

/* Reads one token and returns the state that follows it: CIERTO inside a piece,
 * FALSO inside a body text. */
booleano lenguaweb_lee_elemento(pasada &p) {
  const auto pagina = htmlparser::acotado(p.pagina);
  const char c = p.posicion < p.pagina.size() ? p.pagina[p.posicion] : '\0';
  switch (htmlparser::clase_de_token(c)) {
    case htmlparser::token_html::blancos:
      p.posicion = static_cast<uint32_t>(htmlparser::fin_de_blancos(pagina, p.posicion));
      return p.es_trozo;
    case htmlparser::token_html::tag: {
      const std::string_view nombre = lenguaweb_lee_tag(p);
      p.tipo_texto = TIPO_TEXTO;
      lenguaweb_cambia_elemento_crudo(p.crudo, nombre, true);
      if (p.es_trozo == FALSO) {
        const int en_linea = htmlparser::bit_de_tag_en_linea(nombre);
        if (en_linea >= 0) {
          p.en_linea_como_marcado |= 1u << en_linea;
          return FALSO;
        }
      }
      if (p.es_trozo == CIERTO && htmlparser::nombre_es(nombre, "TITLE"))
        p.tipo_texto = TIPO_TITULO;
      return CIERTO;
    }
    case htmlparser::token_html::texto:
      break;
  }
  p.posicion = static_cast<uint32_t>(htmlparser::fin_de_texto(pagina, p.posicion));
  p.fin_texto = p.posicion;
  return p.crudo == elemento_crudo::ninguno ? FALSO : CIERTO;
}

char *copia_tramo(std::string_view pagina, uint32_t desde, uint32_t hasta) {
  return cad_prefijo(pagina.data() + desde, hasta - desde);
}

void guarda_trozo(pasada &p, uint32_t hasta) {
  char *trozo = copia_tramo(p.pagina, p.inicio_trozo, hasta);
  lista_cad_anade_propia(p.trozos_html, &trozo);
  p.inicio_trozo = hasta;
  for (size_t i = 0; i < p.textos_pendientes.size(); ++i) {
    lista_cad_anade_propia(p.textos, std::move(p.textos_pendientes[i]));
    lista_num_anade(p.tipos_de_textos, static_cast<uint32_t>(p.tipos_pendientes[i]));
    if (p.codigo_en_linea != nullptr) lista_num_anade(p.codigo_en_linea, 0);
  }
  p.textos_pendientes.clear();
  p.tipos_pendientes.clear();
}

}  // namespace

uint32_t lenguaweb_codigo_en_linea(std::string_view texto) {
  using htmlparser::kEntidadMenor;
  uint32_t codigo = 0;
  for (size_t p = texto.find(kEntidadMenor); p != htmlparser::kNoEsta;
       p = texto.find(kEntidadMenor, p + 1)) {
    const size_t nombre = p + kEntidadMenor.size();
    size_t fin = nombre;
    while (fin < texto.size() &&
           (std::isalnum(static_cast<unsigned char>(texto[fin])) || texto[fin] == '/'))
      ++fin;
    const std::string_view resto = texto.substr(fin);
    const bool acaba_nombre = resto.empty() || htmlparser::es_blanco(resto[0]) || resto[0] == '>' ||
                              resto.starts_with(htmlparser::kEntidadMayor) ||
                              resto.starts_with(htmlparser::kEntidadEspacioDuro);
    const int en_linea = htmlparser::bit_de_tag_en_linea(texto.substr(nombre, fin - nombre));
    if (acaba_nombre && en_linea >= 0) codigo |= 1u << en_linea;
  }
  return codigo;
}

void lenguaweb_signos_crudos(std::string_view texto, signos_de_texto &signos, bool *necesarios) {
  signos.clear();
  bool dentro_de_tag = false;
  size_t fin_tag = 0;
  htmlparser::siguiente_de siguiente(texto, '<', '>', '&');
  for (size_t p = 0;; ++p) {
    p = siguiente.desde(p);
    if (p == htmlparser::kNoEsta) break;
    const char c = texto[p];
    if (dentro_de_tag && p >= fin_tag) dentro_de_tag = false;
    if (c == '&') {
      const std::string_view entidad = texto.substr(p, htmlparser::kEntidadMenor.size());
      if (entidad != htmlparser::kEntidadMenor && entidad != htmlparser::kEntidadMayor) continue;
      signos.push_back(false);
      // Decoded inside a tag, it changes where the tag ends when written back.
      *necesarios = *necesarios || dentro_de_tag;
      p += entidad.size() - 1;
    } else if (c == '<') {
      signos.push_back(true);
      if (!dentro_de_tag) {
        fin_tag =
            lenguaweb_lee_tag_en(texto, static_cast<uint32_t>(p), elemento_crudo::ninguno, false)
                .fin;
        dentro_de_tag = true;
      }
    } else {
      signos.push_back(true);
      *necesarios = *necesarios || !dentro_de_tag;  // a bare '>' would be written "&gt;"
    }
  }
}

void lenguaweb_divide_pagina(std::string_view pagina, lista_cad_t *textos,
                             lista_num_t *tipos_de_textos, lista_cad_t *trozos_html,
                             uint32_t idioma, lista_num_t *codigo_en_linea,
                             signos_por_texto *signos_crudos) {
  pasada p;
  signos_de_texto signos; /* one buffer for every text: most need none kept */
  p.pagina = pagina.substr(0, std::min(pagina.find('\0'), pagina.size()));
  p.textos = textos;
  p.tipos_de_textos = tipos_de_textos;
  p.trozos_html = trozos_html;
  p.codigo_en_linea = codigo_en_linea;
  p.signos_crudos = signos_crudos;
  lenguaweb_prepara_entidades(idioma, &p.entidades);
  const uint32_t fin_pagina = static_cast<uint32_t>(p.pagina.size());

  for (;;) {
    uint32_t posicion_anterior = p.posicion;
    const booleano nuevo = lenguaweb_lee_elemento(p);
    const bool al_final = p.posicion >= fin_pagina;
    if (nuevo != p.es_trozo || al_final) {
      if (al_final) posicion_anterior = fin_pagina;
      if (posicion_anterior < p.inicio_trozo)
        informa_en(kModuloLenguaweb, "posicion_anterior >= inicio_trozo");
      if (p.es_trozo == CIERTO) {
        guarda_trozo(p, posicion_anterior);
        p.tipo_abierto = p.tipo_texto;
        p.en_linea_como_marcado = 0;
      } else {
        const std::string_view crudo =
            p.pagina.substr(p.inicio_trozo, p.fin_texto - p.inicio_trozo);
        char *texto = lenguaweb_normaliza_texto(crudo, p.entidades);
        lista_cad_anade_propia(textos, &texto);
        lista_num_anade(tipos_de_textos, static_cast<uint32_t>(p.tipo_abierto));
        if (codigo_en_linea != nullptr) {
          const uint32_t codigo = lenguaweb_codigo_en_linea(crudo);
          lista_num_anade(codigo_en_linea, codigo & ~p.en_linea_como_marcado);
          bool necesarios = (codigo & p.en_linea_como_marcado) != 0;
          lenguaweb_signos_crudos(crudo, signos, &necesarios);
          if (necesarios && signos_crudos != nullptr)
            (*signos_crudos)[lista_cad_num_elems(textos) - 1] = signos;
        }
        p.inicio_trozo = p.fin_texto;
        // The page ends inside the text: what follows its last run is the last piece.
        if (al_final) guarda_trozo(p, fin_pagina);
      }
      p.es_trozo = nuevo;
    }
    if (al_final) break;
  }
}
