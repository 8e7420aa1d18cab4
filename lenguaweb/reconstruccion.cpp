/* reconstruccion.cpp - writing a page document back to an HTML file, texts and links in place. */
#include "lenguaweb/reconstruccion.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "lenguaweb/atributos.h"
#include "lenguaweb/escape.h"
#include "lenguaweb/lectura_tags.h"

namespace {

bool es_ascii(std::string_view texto) {
  // No early exit: the loop vectorises.
  unsigned char todos = 0;
  for (char c : texto) todos |= static_cast<unsigned char>(c);
  return todos < 0x80;
}

/* A span of the piece and what is written in its place. */
struct sustitucion {
  uint32_t inicio;
  uint32_t fin;
  std::string nuevo;
};

/* Whether the value found at inicio in a tag was given with '=' (NAME=value or
 * NAME="value"). A name without '=' has no value: what the finder takes for one (the
 * empty span after NAME in ALT = "x", or the rest of the tag after a NAME followed by a
 * line break) is never written into, or the attribute's name would change. */
bool valor_tras_igual(std::string_view tag, uint32_t inicio) {
  if (inicio > 0 && tag[inicio - 1] == '"') --inicio;
  return inicio > 0 && tag[inicio - 1] == '=';
}

/* The value of attribute nombre in the tag, if it stands there, as a replacement of
 * the link it holds. */
void trata_link_de_tag(std::string_view trozo, const tag_leido &tag, const char *nombre,
                       bool es_img, enlaces_pasada &enlaces, std::vector<sustitucion> &cambios) {
  // The tag with its closing '>', so that an unquoted link at the end of the tag
  // (<A HREF=page.htm>) ends at that '>'.
  const std::string_view entero = trozo.substr(tag.inicio, tag.fin - tag.inicio);
  uint32_t inicio = 0, fin = 0;
  if (lenguaweb_busca_atributo(entero, nombre, &inicio, &fin) != CIERTO || fin <= inicio ||
      !valor_tras_igual(entero, inicio))
    return;
  std::string nuevo;
  if (!lenguaweb_trata_link(enlaces, es_img, tag.texto.substr(inicio, fin - inicio), &nuevo))
    return;
  const bool entre_comillas = inicio > 0 && tag.texto[inicio - 1] == '"';
  sustitucion cambio{tag.inicio + inicio, tag.inicio + fin, {}};
  // A reference made of the page's own bytes goes back as it is; a link from a table is
  // escaped, so that no record can add markup to the page.
  if (enlaces.preprocesar_links == CIERTO)
    cambio.nuevo = std::move(nuevo);
  else
    lenguaweb_escribe_enlace(cambio.nuevo, nuevo, entre_comillas);
  cambios.push_back(std::move(cambio));
}

}  // namespace

void lenguaweb_escribe_trozo(std::string &salida, std::string_view trozo, enlaces_pasada &enlaces,
                             const texto_para_atributo *textos, size_t num_textos,
                             uint32_t idioma) {
  // Rebuilding, only a reference ("@...") or an attribute text changes a piece: most
  // pieces go out as they are without reading their tags.
  if (enlaces.preprocesar_links != CIERTO && num_textos == 0 &&
      std::memchr(trozo.data(), '@', trozo.size()) == nullptr) {
    salida.append(trozo);
    return;
  }
  std::vector<sustitucion> cambios;
  size_t siguiente_texto = 0;
  elemento_crudo crudo = elemento_crudo::ninguno;
  for (uint32_t posicion = 0; posicion < trozo.size();) {
    const void *menor = std::memchr(trozo.data() + posicion, '<', trozo.size() - posicion);
    if (menor == nullptr) break;
    const tag_leido tag = lenguaweb_lee_tag_en(
        trozo, static_cast<uint32_t>(static_cast<const char *>(menor) - trozo.data()), crudo,
        false);
    posicion = tag.fin;
    lenguaweb_cambia_elemento_crudo(crudo, tag.nombre, false);

    const size_t antes = cambios.size();
    if (lenguaweb_nombre_empieza_por(tag.nombre, "A"))
      trata_link_de_tag(trozo, tag, "HREF", false, enlaces, cambios);
    if (lenguaweb_nombre_empieza_por(tag.nombre, "IMG"))
      trata_link_de_tag(trozo, tag, "SRC", true, enlaces, cambios);

    texto_de_tag texto;
    if (siguiente_texto < num_textos && lenguaweb_texto_de_tag(tag, &texto) &&
        texto.tipo == textos[siguiente_texto].tipo) {
      // The text is this tag's, written or not.
      if (valor_tras_igual(tag.texto, texto.inicio)) {
        char *utf8 = conv_ansi_idioma_a_utf8(textos[siguiente_texto].texto, idioma);
        sustitucion cambio{tag.inicio + texto.inicio, tag.inicio + texto.fin, {}};
        lenguaweb_escribe_valor(cambio.nuevo, utf8, texto.entre_comillas, true);
        cad_destruye(&utf8);
        cambios.push_back(std::move(cambio));
      }
      ++siguiente_texto;
    }
    // Spans of one tag are found attribute by attribute; the page is written left to right.
    std::sort(cambios.begin() + static_cast<std::ptrdiff_t>(antes), cambios.end(),
              [](const sustitucion &a, const sustitucion &b) { return a.inicio < b.inicio; });
  }
  for (; siguiente_texto < num_textos; ++siguiente_texto) LENGUAWEB_INFORMA("encontrado == CIERTO");

  uint32_t copiado = 0;
  for (const sustitucion &cambio : cambios) {
    if (cambio.inicio < copiado) continue; /* two attributes never share a value */
    salida.append(trozo.substr(copiado, cambio.inicio - copiado));
    salida.append(cambio.nuevo);
    copiado = cambio.fin;
  }
  salida.append(trozo.substr(copiado));
}

booleano lenguaweb_graba_fichero_html(const lenguaweb_t *lenguaweb,
                                      const lista_cad_t *textos_traducidos,
                                      booleano preprocesar_links, lista_reg_t *tabla_a_registro,
                                      const lista_reg_t *tabla_a_consulta,
                                      lista_reg_t *tabla_img_registro,
                                      const lista_reg_t *tabla_img_consulta,
                                      const char *nombre_fichero_html, uint32_t idioma) {
  if (lenguaweb == nullptr) {
    LENGUAWEB_INFORMA("(lenguaweb) != NULL");
    return FALSO;
  }
  if (nombre_fichero_html == nullptr) {
    LENGUAWEB_INFORMA("(nombre_fichero_html) != NULL");
    return FALSO;
  }
  const uint32_t num_textos = lista_cad_num_elems(lenguaweb->textos);
  const uint32_t num_tipos = lista_num_num_elems(lenguaweb->tipos_de_textos);
  const uint32_t num_traducidos = lista_cad_num_elems(textos_traducidos);
  if (num_tipos != num_textos)
    LENGUAWEB_INFORMA(
        "arr_NumElemsEnum(lenguaweb->tipos_de_textos, i_tipo_texto_t) == "
        "arr_NumElemsCADENA(lenguaweb->textos)");
  if (num_traducidos != num_textos)
    LENGUAWEB_INFORMA(
        "arr_NumElemsCADENA(textos_traducidos) == arr_NumElemsCADENA(lenguaweb->textos)");

  enlaces_pasada enlaces;
  enlaces.preprocesar_links = preprocesar_links;
  enlaces.tabla_a_registro = tabla_a_registro;
  enlaces.tabla_a_consulta = tabla_a_consulta;
  enlaces.tabla_img_registro = tabla_img_registro;
  enlaces.tabla_img_consulta = tabla_img_consulta;

  const uint32_t nT = std::min(num_traducidos, num_tipos);
  const uint32_t nP = lista_cad_num_elems(lenguaweb->trozos_html);
  // The page goes out a quarter of a megabyte at a time as it is made, so that it is never held in
  // memory whole; the file replaces the old one only once every byte is written.
  fichero_escritura_t *fichero = fichero_escritura_abre(nombre_fichero_html);
  if (fichero == nullptr) return FALSO;
  constexpr size_t kTamanoTramo = 256 << 10;
  std::string pagina;
  pagina.reserve(kTamanoTramo + (kTamanoTramo >> 2));
  const auto vacia = [&]() {
    fichero_escritura_anade(fichero, pagina.data(), pagina.size());
    pagina.clear();
  };
  std::vector<texto_para_atributo> atributos;
  // Most texts are ASCII: in most code pages they need no conversion, nor a copy.
  const bool ascii_sin_cambios = conv_ascii_sin_cambios(idioma) == CIERTO;
  uint32_t j = 0;
  for (uint32_t i = 0; i < nP; ++i) {
    atributos.clear();
    const char *texto_cuerpo = nullptr;
    uint32_t codigo = 0;
    const std::vector<bool> *signos = nullptr;
    for (; texto_cuerpo == nullptr && j < nT; ++j) {
      const uint32_t tipo = lista_num_dame(lenguaweb->tipos_de_textos, j);
      const char *texto = lista_cad_dame(textos_traducidos, j);
      switch (tipo) {
        case TIPO_TITULO:
        case TIPO_TEXTO:
          texto_cuerpo = texto != nullptr ? texto : "";
          if (j < lista_num_num_elems(lenguaweb->codigo_en_linea))
            codigo = lista_num_dame(lenguaweb->codigo_en_linea, j);
          if (lenguaweb->signos_crudos != nullptr) {
            const auto propios = lenguaweb->signos_crudos->find(j);
            if (propios != lenguaweb->signos_crudos->end() &&
                std::strcmp(texto_cuerpo, lista_cad_dame(lenguaweb->textos, j)) == 0)
              signos = &propios->second;
          }
          break;
        case TIPO_DESCRIPCION:
        case TIPO_PALABRA_CLAVE:
        case TIPO_ALTERNATIVO_IMAGEN:
          if (preprocesar_links != CIERTO)
            atributos.push_back({static_cast<i_tipo_texto_t>(tipo), texto != nullptr ? texto : ""});
          break;
        default:
          LENGUAWEB_INFORMA("");
          break;
      }
    }
    const char *trozo = lista_cad_dame(lenguaweb->trozos_html, i);
    lenguaweb_escribe_trozo(pagina, trozo != nullptr ? trozo : "", enlaces, atributos.data(),
                            atributos.size(), idioma);
    if (texto_cuerpo != nullptr) {
      // Preprocessing writes texts that will be read again: spaces that entities left
      // must stay entities, or a second pass would collapse them.
      const std::string_view texto(texto_cuerpo);
      if (ascii_sin_cambios && es_ascii(texto)) {
        lenguaweb_escribe_texto(pagina, texto, codigo, signos, preprocesar_links == CIERTO);
      } else {
        size_t largo = 0;
        char *utf8 = conv_ansi_idioma_a_utf8_n(texto_cuerpo, idioma, &largo);
        lenguaweb_escribe_texto(pagina, std::string_view(utf8, largo), codigo, signos,
                                preprocesar_links == CIERTO);
        cad_destruye(&utf8);
      }
    }
    if (pagina.size() >= kTamanoTramo) vacia();
  }
  vacia();
  return fichero_escritura_termina(&fichero);
}

extern "C" LENGUAWEB_API booleano lenguaweb_reconstruye_fichero_html(
    const lenguaweb_t *lenguaweb, const lista_cad_t *textos_traducidos, const lista_cad_t *IDs,
    const lista_reg_t *tabla_links_a, const lista_reg_t *tabla_links_img,
    const char *nombre_fichero_html, uint32_t idioma) {
  if (lenguaweb == nullptr) {
    LENGUAWEB_INFORMA("(lenguaweb) != NULL");
    return FALSO;
  }
  if (textos_traducidos == nullptr) {
    LENGUAWEB_INFORMA("(textos_traducidos) != NULL");
    return FALSO;
  }
  if (lista_cad_num_elems(textos_traducidos) != (IDs != nullptr ? lista_cad_num_elems(IDs) : 0))
    LENGUAWEB_INFORMA("arr_NumElemsCADENA(textos_traducidos) == arr_NumElemsCADENA(IDs)");
  return lenguaweb_graba_fichero_html(lenguaweb, textos_traducidos, FALSO, nullptr, tabla_links_a,
                                      nullptr, tabla_links_img, nombre_fichero_html, idioma);
}
