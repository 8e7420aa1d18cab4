/* reconstruccion.cpp - writing a page document back to an HTML file, texts and links in place. */
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "lenguaweb/atributos.h"
#include "lenguaweb/documento.h"
#include "lenguaweb/enlaces.h"
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

/* An attribute text waiting for its tag in the piece being written. */
struct texto_para_atributo {
  i_tipo_texto_t tipo;
  const char *texto; /* borrowed, in the code page of the walk's language */
};

/* The texts that go with one piece: the attribute texts of its tags and the body text
 * that follows it, all borrowed from the document and the translated list. */
struct textos_de_trozo {
  std::vector<texto_para_atributo> atributos;
  const char *cuerpo = nullptr; /* null when no body text follows the piece */
  const char *propio = nullptr; /* the document's own text that cuerpo stands for */
  uint32_t codigo = 0;          /* the inline tags the page showed in it as code */
  const signos_de_texto *signos = nullptr;
};

/* The value of attribute nombre in the tag, if it stands there after an '=', as a
 * replacement of the link it holds. A name without '=' has no value: what the finder
 * takes for one (the empty span after HREF in HREF = "x", or the rest of the tag after
 * a HREF followed by a line break) is never written into, or the attribute's name would
 * change. */
void trata_link_de_tag(std::string_view trozo, const tag_leido &tag, const char *nombre,
                       bool es_img, enlaces_pasada &enlaces, std::vector<sustitucion> &cambios) {
  // The tag with its closing '>', so that an unquoted link at the end of the tag
  // (<A HREF=page.htm>) ends at that '>'.
  const std::string_view entero = trozo.substr(tag.inicio, tag.fin - tag.inicio);
  htmlparser::valor_html valor;
  if (!lenguaweb_busca_valor(entero, nombre, &valor) || valor.fin <= valor.inicio ||
      !valor.tras_igual)
    return;
  sustitucion cambio{tag.inicio + static_cast<uint32_t>(valor.inicio),
                     tag.inicio + static_cast<uint32_t>(valor.fin),
                     {}};
  if (lenguaweb_trata_link(enlaces, es_img, entero.substr(valor.inicio, valor.fin - valor.inicio),
                           valor.entre_comillas, &cambio.nuevo))
    cambios.push_back(std::move(cambio));
}

/* Appends to salida the piece with its link values treated and the attribute texts,
 * in order, each written into the next tag of the piece that gives a text of its kind
 * (read as page segmentation reads it). A text for which no such tag is left is
 * reported as "encontrado == CIERTO" and skipped. */
void escribe_trozo(std::string &salida, std::string_view trozo, enlaces_pasada &enlaces,
                   const std::vector<texto_para_atributo> &textos, uint32_t idioma) {
  // Rebuilding, only a reference ("@...") or an attribute text changes a piece: most
  // pieces go out as they are without reading their tags.
  if (enlaces.preprocesar_links != CIERTO && textos.empty() &&
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
    if (htmlparser::nombre_empieza_por(tag.nombre, "A"))
      trata_link_de_tag(trozo, tag, "HREF", false, enlaces, cambios);
    if (htmlparser::nombre_empieza_por(tag.nombre, "IMG"))
      trata_link_de_tag(trozo, tag, "SRC", true, enlaces, cambios);

    texto_de_tag texto;
    if (siguiente_texto < textos.size() && lenguaweb_texto_de_tag(tag, &texto) &&
        texto.tipo == textos[siguiente_texto].tipo) {
      // The text is this tag's, written or not: a value without '=' is never written into.
      if (texto.tras_igual) {
        const cad_propia utf8(conv_ansi_idioma_a_utf8(textos[siguiente_texto].texto, idioma));
        sustitucion cambio{tag.inicio + texto.inicio, tag.inicio + texto.fin, {}};
        lenguaweb_escribe_valor(cambio.nuevo, utf8.get(), texto.entre_comillas);
        cambios.push_back(std::move(cambio));
      }
      ++siguiente_texto;
    }
    // Spans of one tag are found attribute by attribute; the page is written left to right.
    std::sort(cambios.begin() + static_cast<std::ptrdiff_t>(antes), cambios.end(),
              [](const sustitucion &a, const sustitucion &b) { return a.inicio < b.inicio; });
  }
  for (; siguiente_texto < textos.size(); ++siguiente_texto)
    informa_en(kModuloLenguaweb, "encontrado == CIERTO");

  uint32_t copiado = 0;
  for (const sustitucion &cambio : cambios) {
    if (cambio.inicio < copiado) continue; /* two attributes never share a value */
    salida.append(trozo.substr(copiado, cambio.inicio - copiado));
    salida.append(cambio.nuevo);
    copiado = cambio.fin;
  }
  salida.append(trozo.substr(copiado));
}

/* Takes the texts of the next piece into textos: from *siguiente on, the attribute texts
 * (skipped while preprocessing, which writes no attribute text) up to and including the
 * body text that ends them, or up to num_textos. A kind outside the five is reported. */
void toma_textos_de_trozo(const lenguaweb_t *documento, const lista_cad_t *traducidos,
                          uint32_t num_textos, bool preprocesar, uint32_t *siguiente,
                          textos_de_trozo *textos) {
  textos->atributos.clear();
  textos->cuerpo = nullptr;
  textos->propio = nullptr;
  textos->codigo = 0;
  textos->signos = nullptr;
  for (; textos->cuerpo == nullptr && *siguiente < num_textos; ++*siguiente) {
    const uint32_t indice = *siguiente;
    const uint32_t tipo = lista_num_dame(documento->tipos_de_textos, indice);
    const char *texto = lista_cad_dame(traducidos, indice);
    switch (tipo) {
      case TIPO_TITULO:
      case TIPO_TEXTO: {
        textos->cuerpo = texto != nullptr ? texto : "";
        textos->propio = lista_cad_dame(documento->textos, indice);
        if (indice < lista_num_num_elems(documento->codigo_en_linea))
          textos->codigo = lista_num_dame(documento->codigo_en_linea, indice);
        const auto signos = documento->signos_crudos.find(indice);
        if (signos != documento->signos_crudos.end()) textos->signos = &signos->second;
        break;
      }
      case TIPO_DESCRIPCION:
      case TIPO_PALABRA_CLAVE:
      case TIPO_ALTERNATIVO_IMAGEN:
        if (!preprocesar)
          textos->atributos.push_back(
              {static_cast<i_tipo_texto_t>(tipo), texto != nullptr ? texto : ""});
        break;
      default:
        informa_en(kModuloLenguaweb, "");
        break;
    }
  }
}

/* A text of the code page of idioma in UTF-8: the text itself when the conversion would
 * not change it (most texts are ASCII, and in most code pages they need no conversion,
 * nor a copy), else a conversion kept in *utf8. */
std::string_view en_utf8(const char *texto, uint32_t idioma, bool ascii_sin_cambios,
                         cad_propia *utf8) {
  const std::string_view vista(texto);
  if (ascii_sin_cambios && es_ascii(vista)) return vista;
  size_t largo = 0;
  utf8->reset(conv_ansi_idioma_a_utf8_n(texto, idioma, &largo));
  return std::string_view(utf8->get(), largo);
}

/* Appends the body text, in the code page of idioma, as UTF-8 and escaped. Its tags are
 * checked against the document's own text, which is read only when it holds a tag or
 * keeps its signs. Preprocessing writes texts that will be read again: spaces that
 * entities left must stay entities, or a second pass would collapse them. */
void escribe_cuerpo(std::string &pagina, const textos_de_trozo &textos, uint32_t idioma,
                    bool ascii_sin_cambios, bool preprocesar) {
  texto_de_origen origen;
  origen.codigo = textos.codigo;
  origen.signos = textos.signos;
  cad_propia propio_utf8, utf8;
  if (textos.propio != nullptr &&
      (textos.signos != nullptr || std::strchr(textos.propio, '<') != nullptr)) {
    origen.es_la_traduccion =
        textos.cuerpo == textos.propio || std::strcmp(textos.cuerpo, textos.propio) == 0;
    if (!origen.es_la_traduccion)
      origen.texto = en_utf8(textos.propio, idioma, ascii_sin_cambios, &propio_utf8);
  }
  lenguaweb_escribe_texto(pagina, en_utf8(textos.cuerpo, idioma, ascii_sin_cambios, &utf8), origen,
                          preprocesar);
}

/* The condition texts of the count checks name arrays and macros that stand nowhere in
 * this code: they are the texts that hosts have always received for these faults and
 * match on, so they stay word for word. */
constexpr const char *kTiposSinTexto =
    "arr_NumElemsEnum(lenguaweb->tipos_de_textos, i_tipo_texto_t) == "
    "arr_NumElemsCADENA(lenguaweb->textos)";
constexpr const char *kTraducidosSinTexto =
    "arr_NumElemsCADENA(textos_traducidos) == arr_NumElemsCADENA(lenguaweb->textos)";
constexpr const char *kTraducidosSinId =
    "arr_NumElemsCADENA(textos_traducidos) == arr_NumElemsCADENA(IDs)";

/* The walk shared by the rebuild and link preprocessing. For each piece, in order: its
 * A HREF and IMG SRC values treated (lenguaweb_trata_link), then, when not
 * preprocessing, the piece's translated attribute texts written into the tags they
 * came from; the piece is written, then its body text, converted from the code page
 * of idioma to UTF-8 and escaped. The walk stops at the shorter of the document's
 * kinds and textos_traducidos. CIERTO when the whole page was written to
 * nombre_fichero_html; a failed write leaves no half-written file. */
booleano graba_fichero_html(const lenguaweb_t *documento, const lista_cad_t *traducidos,
                            enlaces_pasada &enlaces, const char *nombre_fichero_html,
                            uint32_t idioma) {
  if (informa_si_falta(kModuloLenguaweb, nombre_fichero_html, "(nombre_fichero_html) != NULL"))
    return FALSO;
  const uint32_t num_textos = lista_cad_num_elems(documento->textos);
  const uint32_t num_tipos = lista_num_num_elems(documento->tipos_de_textos);
  const uint32_t num_traducidos = lista_cad_num_elems(traducidos);
  if (num_tipos != num_textos) informa_en(kModuloLenguaweb, kTiposSinTexto);
  if (num_traducidos != num_textos) informa_en(kModuloLenguaweb, kTraducidosSinTexto);

  // The page goes out a quarter of a megabyte at a time as it is made, so that it is
  // never held in memory whole; the file replaces the old one only once every byte is
  // written.
  fichero_escritura_t *fichero = fichero_escritura_abre(nombre_fichero_html);
  if (fichero == nullptr) return FALSO;
  constexpr size_t kTamanoTramo = 256 << 10;
  std::string pagina;
  pagina.reserve(kTamanoTramo + (kTamanoTramo >> 2));
  const auto vacia = [&]() {
    fichero_escritura_anade(fichero, pagina.data(), pagina.size());
    pagina.clear();
  };

  const bool preprocesar = enlaces.preprocesar_links == CIERTO;
  const bool ascii_sin_cambios = conv_ascii_sin_cambios(idioma) == CIERTO;
  const uint32_t textos_a_escribir = std::min(num_traducidos, num_tipos);
  const uint32_t num_trozos = lista_cad_num_elems(documento->trozos_html);
  uint32_t siguiente_texto = 0;
  textos_de_trozo textos;
  for (uint32_t trozo = 0; trozo < num_trozos; ++trozo) {
    toma_textos_de_trozo(documento, traducidos, textos_a_escribir, preprocesar, &siguiente_texto,
                         &textos);
    const char *marcado = lista_cad_dame(documento->trozos_html, trozo);
    escribe_trozo(pagina, marcado != nullptr ? marcado : "", enlaces, textos.atributos, idioma);
    if (textos.cuerpo != nullptr)
      escribe_cuerpo(pagina, textos, idioma, ascii_sin_cambios, preprocesar);
    if (pagina.size() >= kTamanoTramo) vacia();
  }
  vacia();
  return fichero_escritura_termina(&fichero);
}

}  // namespace

extern "C" {

LENGUAWEB_API booleano lenguaweb_reconstruye_fichero_html(
    const lenguaweb_t *lenguaweb, const lista_cad_t *textos_traducidos, const lista_cad_t *IDs,
    const lista_reg_t *tabla_links_a, const lista_reg_t *tabla_links_img,
    const char *nombre_fichero_html, uint32_t idioma) noexcept {
  if (informa_si_falta(kModuloLenguaweb, lenguaweb, "(lenguaweb) != NULL")) return FALSO;
  if (informa_si_falta(kModuloLenguaweb, textos_traducidos, "(textos_traducidos) != NULL"))
    return FALSO;
  if (lista_cad_num_elems(textos_traducidos) != (IDs != nullptr ? lista_cad_num_elems(IDs) : 0))
    informa_en(kModuloLenguaweb, kTraducidosSinId);
  enlaces_pasada enlaces;
  enlaces.tabla_a_consulta = tabla_links_a;
  enlaces.tabla_img_consulta = tabla_links_img;
  return graba_fichero_html(lenguaweb, textos_traducidos, enlaces, nombre_fichero_html, idioma);
}

LENGUAWEB_API booleano lenguaweb_preprocesa_links(const lenguaweb_t *lenguaweb,
                                                  lista_reg_t *tabla_links_a,
                                                  lista_reg_t *tabla_links_img,
                                                  const char *nombre_fichero_html,
                                                  uint32_t idioma) noexcept {
  if (informa_si_falta(kModuloLenguaweb, lenguaweb, "(lenguaweb) != NULL")) return FALSO;
  enlaces_pasada enlaces;
  enlaces.preprocesar_links = CIERTO;
  enlaces.tabla_a_registro = tabla_links_a;
  enlaces.tabla_img_registro = tabla_links_img;
  return graba_fichero_html(lenguaweb, lenguaweb->textos, enlaces, nombre_fichero_html, idioma);
}

}  // extern "C"
