/* reconstruccion.cpp - writing a page document back to an HTML file, texts and links in place. */
#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "lenguaweb/atributos.h"
#include "lenguaweb/atributos_visibles.h"
#include "lenguaweb/documento.h"
#include "lenguaweb/enlaces.h"
#include "lenguaweb/escape.h"
#include "lenguaweb/marcado_permitido.h"
#include "lenguaweb/lectura_tags.h"
#include "lenguaweb/no_traducir.h"

namespace {

/* The texts a rebuild writes, one per text of the document: a host's list, or the
 * document's own (propios) when there is no list. */
struct textos_dados {
  const lista_cad_t *lista = nullptr;
  const lenguaweb_t *propios = nullptr;
  uint32_t num() const {
    return lista != nullptr ? lista_cad_num_elems(lista) : lenguaweb_num_textos(propios);
  }
  const char *dame(uint32_t i) const {
    return lista != nullptr ? lista_cad_dame(lista, i) : lenguaweb_texto(propios, i);
  }
};

bool es_utf8(const char *codificacion) {
  return std::strcmp(codificacion, "UTF-8") == 0;
}

/* How one rebuild writes its page. The page's bytes are in pagina_en; the page is put
 * together in montada_en (ASCII-compatible, so that markup and escaping work on its
 * bytes) and written in salida_en, converted a chunk at a time when the two differ
 * (UTF-16 and ISO-2022-JP). Texts come in the code page of idioma and are converted once
 * into montada_en. */
struct escritura {
  const lenguaweb_t *documento;
  uint32_t idioma;
  bool preprocesar;
  const char *pagina_en;
  const char *salida_en;
  const char *montada_en;
  bool convierte_trozos;         /* pagina_en differs from montada_en */
  bool mismo_idioma;             /* texts in the document's code page: its own can be told */
  bool ascii_sin_cambios;        /* ASCII texts need no conversion into UTF-8 */
  bool espacio_de_un_byte;       /* the code page of idioma writes a no-break space as 0xA0 */
  std::string_view espacio_duro; /* how a translation's no-break space is written */
  /* The page written in UTF-8 where it was not: its charset declarations name UTF-8, or
   * one is added at inserta_en. */
  bool declara_utf8 = false;
  size_t inserta_en = htmlparser::kNoEsta;
  /* The BCP 47 tag written into <html lang> (and xml:lang): the rebuild's language when
   * the block segmentation writes a page in another language than it was read in. */
  std::string idioma_html;
  size_t html_en = htmlparser::kNoEsta; /* where the page's HTML start tag stands */
  /* Where the METAs of the head that name the page's language stand (og:locale, an
   * http-equiv content-language): they name the new one too. */
  std::vector<std::pair<size_t, char>> metas_de_idioma; /* place, and declara_idioma's form */
  /* The pieces written are the page's bytes (not a translation's): an attribute text goes
   * back where its origin says, past values that gave none (not to be translated). */
  bool de_pagina = true;
  /* The direction written with it: the new language's when it is right to left; left to
   * right when it is not and the page's language is, or the tag says the page is. */
  bool derecha_a_izquierda = false;
  bool pagina_derecha_a_izquierda = false;
  /* The buffer the page is put together in, and what writes it out and empties it: a
   * piece or a text written into it may have it emptied on the way, when nothing is
   * converted as it goes out (a conversion is made between whole pieces) and no quote is
   * to be kept out of what follows (lenguaweb_veda_comilla reads a text back whole). */
  std::string *de_pagina_en = nullptr;
  const std::function<void()> *vacia = nullptr;
};

/* What the page's buffer grows to before it is written out. */
constexpr size_t kTamanoTramo = 256 << 10;

/* Writes the page's buffer out when it has grown to a stretch, if e lets salida be. */
void vacia_si_llena(std::string &salida, const escritura &e) {
  if (e.vacia != nullptr && &salida == e.de_pagina_en && salida.size() >= kTamanoTramo)
    (*e.vacia)();
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
  uint32_t indice;   /* among the document's texts */
};

/* The texts that go with one piece: the attribute texts of its tags and the body text
 * that follows it, all borrowed from the document and the translated list. */
struct textos_de_trozo {
  std::vector<texto_para_atributo> atributos;
  const char *cuerpo = nullptr; /* null when no body text follows the piece */
  const char *propio = nullptr; /* the document's own text that cuerpo stands for */
  uint32_t indice = 0;          /* the body text's index among the document's texts */
  uint32_t codigo = 0;          /* the inline tags the page showed in it as code */
  /* The attribute texts of the body text's own tags, in the page's order (the block
   * segmentation gives them right after it). */
  std::vector<texto_para_atributo> del_cuerpo;
};

/* Whether text indice, as given, is the document's own: the host gave it back unchanged. */
bool es_propio(const escritura &e, uint32_t indice, const char *texto) {
  if (!e.mismo_idioma || indice >= lenguaweb_num_textos(e.documento)) return false;
  // A list of the document's own texts shares their bytes (lista_cad_copia).
  const char *propio = lenguaweb_texto(e.documento, indice);
  return texto == propio || std::strcmp(texto, propio) == 0;
}

/* Whether text indice goes out as the page's own bytes: it holds a NUL, or it came back
 * unchanged and its normalised form would not show what the page showed, or would not
 * read back as itself (a pair of spaces, which only a long run of blanks leaves, reads
 * back as one). */
bool sale_crudo(const escritura &e, uint32_t indice, const char *texto) {
  const uint8_t marcas = e.documento->registros[indice].marcas;
  return (marcas & kTextoComoLaPagina) != 0 ||
         (((marcas & kTextoCrudo) != 0 || std::strstr(texto, "  ") != nullptr) &&
          es_propio(e, indice, texto));
}

/* Appends bytes of the page to salida, in the encoding the page is put together in; a
 * stretch at a time into the page's buffer, when it may be emptied on the way. */
void anade_de_pagina(std::string &salida, std::string_view bytes, const escritura &e) {
  if (!e.convierte_trozos) {
    while (bytes.size() > kTamanoTramo && e.vacia != nullptr && &salida == e.de_pagina_en) {
      salida.append(bytes.substr(0, kTamanoTramo));
      bytes.remove_prefix(kTamanoTramo);
      vacia_si_llena(salida, e);
    }
    salida.append(bytes);
    return;
  }
  size_t largo = 0;
  const cad_propia convertido(conv_entre_codificaciones_n(bytes.data(), bytes.size(), e.pagina_en,
                                                          e.montada_en, &largo, nullptr));
  if (convertido) salida.append(convertido.get(), largo);
}

/* A text in the code page of idioma, converted into the encoding the page is put together
 * in; a translation escaped first (lenguaweb_escapa_traduccion) unless raw text takes it
 * as it is. The result is texto itself when nothing changes it (no copy of a long text is
 * made), else held in guarda. */
std::string_view convierte_texto(const escritura &e, const char *texto, uint32_t indice,
                                 bool sin_referencias, std::string &guarda) {
  std::string_view t(texto);
  std::string escapado;
  if (!sin_referencias &&
      (t.find('&') != std::string_view::npos ||
       (e.espacio_de_un_byte && t.find('\xA0') != std::string_view::npos)) &&
      !es_propio(e, indice, texto)) {
    lenguaweb_escapa_traduccion(escapado, t, e.espacio_de_un_byte, e.espacio_duro);
    t = escapado;
  }
  if (es_utf8(e.montada_en) && e.ascii_sin_cambios && es_ascii(t)) {
    if (t.data() == texto) return t;
    guarda = std::move(escapado);
    return guarda;
  }
  size_t largo = 0;
  // The escaped text ends in a NUL of its own: no copy is made to give it one.
  const char *fuente = t.data() == texto ? texto : escapado.c_str();
  const cad_propia convertido(
      es_utf8(e.montada_en)
          ? conv_ansi_idioma_a_utf8_n(fuente, e.idioma, &largo)
          : conv_ansi_idioma_a_codificacion_n(fuente, e.idioma, e.montada_en, &largo));
  guarda.assign(convertido.get(), largo);
  return guarda;
}

/* The value of attribute nombre in the tag, if it stands there after an '=', as a
 * replacement of the link it holds. A name without '=' has no value, and is never written
 * into, or the attribute's name would change. */
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

/* Where the page's first HTML start tag stands, or kNoEsta. */
/* Whether a META tag names the page's language, and how its CONTENT writes one: '_' for
 * og:locale (es_ES, as Open Graph writes it), '-' for http-equiv content-language (a
 * BCP 47 tag); 0 for any other META. */
char declara_idioma(std::string_view tag) {
  htmlparser::valor_html valor;
  for (const char *nombre : {"PROPERTY", "NAME"})
    if (lenguaweb_busca_valor(tag, nombre, &valor) &&
        htmlparser::nombre_es(tag.substr(valor.inicio, valor.fin - valor.inicio), "og:locale"))
      return '_';
  if (lenguaweb_busca_valor(tag, "HTTP-EQUIV", &valor) &&
      htmlparser::nombre_es(tag.substr(valor.inicio, valor.fin - valor.inicio), "content-language"))
    return '-';
  return 0;
}

/* A BCP 47 tag as Open Graph names a locale: the language and the region, if any, joined
 * by '_' ("sr-Latn-RS" is "sr_RS"). */
std::string local_de_open_graph(std::string_view etiqueta) {
  const size_t fin = std::min(etiqueta.find('-'), etiqueta.size());
  std::string local(etiqueta.substr(0, fin));
  for (size_t i = fin; i < etiqueta.size();) {
    const size_t j = std::min(etiqueta.find('-', i + 1), etiqueta.size());
    const std::string_view parte = etiqueta.substr(i + 1, j - i - 1);
    const bool region = (parte.size() == 2 && std::isalpha(static_cast<unsigned char>(parte[0]))) ||
                        (parte.size() == 3 && std::isdigit(static_cast<unsigned char>(parte[0])));
    if (region) return local.append("_").append(parte);
    i = j;
  }
  return local;
}

void busca_idioma_declarado(std::string_view pagina, size_t *html_en,
                            std::vector<std::pair<size_t, char>> *metas) {
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(pagina);
  lectura_html lectura;
  for (size_t p = pagina.find('<'); p != htmlparser::kNoEsta; p = pagina.find('<', p)) {
    const tag_leido tag = lenguaweb_lee_tag_en(t, static_cast<uint32_t>(p), lectura.crudo, false);
    const uint32_t sigue = lenguaweb_sigue_tras_tag(lectura, tag, pagina, false);
    // The names as this library has always read them here (up to a space).
    if (lectura.crudo == elemento_crudo::ninguno && tag.texto[1] != '/') {
      if (htmlparser::nombre_es(tag.nombre_legado, "BODY")) return;
      if (*html_en == htmlparser::kNoEsta && htmlparser::nombre_es(tag.nombre_legado, "HTML"))
        *html_en = p;
      if (const char forma =
              htmlparser::nombre_es(tag.nombre_legado, "META") ? declara_idioma(tag.texto) : 0)
        metas->emplace_back(p, forma);
    }
    p = std::max<size_t>(sigue, p + 1);
  }
}

/* Where a META that names the page's charset can go, from desde (past a byte order mark),
 * among the tags that begin before hasta: after the HEAD start tag when only blanks, an XML
 * declaration, a DOCTYPE, comments and the HTML start tag stand before it (kNoEsta
 * otherwise: after anything else a browser may have begun the body and ignore that HEAD,
 * and a META there would be one of the body's elements); or else after an XML declaration,
 * a DOCTYPE and comments that begin the page. Tags are read in the whole of pagina, so that
 * one that runs past hasta is read to its real end; none is looked past whose quote stays
 * open, as a browser reads on inside it. */
size_t tras_head(std::string_view pagina, size_t desde, size_t hasta = htmlparser::kNoEsta) {
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(pagina);
  for (size_t p = htmlparser::fin_de_blancos(t, desde);
       p < hasta && p < pagina.size() && pagina[p] == '<'; p = htmlparser::fin_de_blancos(t, p)) {
    const tag_leido tag =
        lenguaweb_lee_tag_en(t, static_cast<uint32_t>(p), elemento_crudo::ninguno, false);
    if (tag.sin_cerrar != 0 || tag.cierra) return htmlparser::kNoEsta;
    if (htmlparser::nombre_es(tag.nombre, "HEAD")) return tag.fin;
    if (!htmlparser::empieza_por(t, p, "<!") && !htmlparser::empieza_por(t, p, "<?") &&
        !htmlparser::nombre_es(tag.nombre, "HTML"))
      return htmlparser::kNoEsta;
    p = tag.fin;
  }
  return htmlparser::kNoEsta;
}
size_t al_principio(std::string_view pagina, size_t desde, size_t hasta = htmlparser::kNoEsta) {
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(pagina);
  size_t inicio = desde;
  for (;;) {
    inicio = htmlparser::fin_de_blancos(t, inicio);
    if (inicio >= hasta) return htmlparser::kNoEsta;
    if (!htmlparser::empieza_por(t, inicio, "<?") && !htmlparser::empieza_por(t, inicio, "<!"))
      return inicio;
    const tag_leido tag =
        lenguaweb_lee_tag_en(t, static_cast<uint32_t>(inicio), elemento_crudo::ninguno, false);
    if (tag.sin_cerrar != 0) return htmlparser::kNoEsta;
    inicio = tag.fin;
  }
}

/* In XHTML, past the root's start tag when the root is HTML and stands at principio (where
 * al_principio found the page's first element): a META there is a child of the root, and
 * the page stays XML. */
size_t tras_raiz(std::string_view pagina, size_t principio) {
  if (principio >= pagina.size() || pagina[principio] != '<') return htmlparser::kNoEsta;
  const tag_leido tag =
      lenguaweb_lee_tag_en(htmlparser::acotado(pagina), static_cast<uint32_t>(principio),
                           elemento_crudo::ninguno, false);
  return tag.sin_cerrar == 0 && !tag.cierra && htmlparser::nombre_es(tag.nombre, "HTML")
             ? tag.fin
             : htmlparser::kNoEsta;
}

/* Where a page written in UTF-8 that names no charset gets its META. */
size_t donde_declarar(std::string_view pagina, size_t desde) {
  const size_t head = tras_head(pagina, desde);
  return head != htmlparser::kNoEsta ? head : al_principio(pagina, desde);
}

/* The bytes a browser's prescan reads for a charset declaration. */
constexpr size_t kPrescan = 1024;

/* A page read through its charset declaration, or written in UTF-8 where it was not, is
 * read in the same encoding again only while a declaration stands in the first bytes
 * that the prescan reads: translations and links written before it can push it out.
 * Given the written page's first bytes (saliente, as they go out; salida, as put
 * together), puts a declaration into salida where it fits: after the HEAD start tag,
 * else before the first element; a UTF-8 page with no such place gets a byte order mark.
 * XHTML in UTF-8 gets the mark before the first element, XHTML in another encoding a META
 * right inside its HTML root first.
 * True when salida changed. Positions are counted in salida, which is the bytes that go
 * out but in a stateful encoding (ISO-2022-JP), whose runs are about as long. */
bool declara_al_principio(std::string &salida, std::string_view saliente, const escritura &e) {
  if (salida.empty()) return false;
  codificacion_pagina_t leida{};
  conv_detecta_codificacion(saliente.data(), std::min(saliente.size(), kPrescan), e.idioma, &leida);
  if (leida.origen <= CODIFICACION_DECLARADA && std::strcmp(leida.nombre, e.salida_en) == 0)
    return false;
  const std::string meta =
      std::string("<meta charset=\"") + e.salida_en + (e.documento->pagina.xhtml ? "\" />" : "\">");
  constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";
  const size_t desde = std::string_view(salida).starts_with(kMarcaUtf8) ? kMarcaUtf8.size() : 0;
  const auto pon = [&](size_t en) {
    if (en == htmlparser::kNoEsta || en + meta.size() > kPrescan) return false;
    salida.insert(en, meta);
    return true;
  };
  const bool marca = es_utf8(e.salida_en) && desde == 0;
  if (pon(tras_head(salida, desde, kPrescan))) return true;
  // Before the root element an XHTML page would no longer be XML: a byte order mark for
  // UTF-8, else inside its HTML root. Where neither can be, the page's letters come first.
  const bool xhtml = e.documento->pagina.xhtml;
  if (!(xhtml && marca)) {
    const size_t principio = al_principio(salida, desde, kPrescan);
    if (principio != htmlparser::kNoEsta && xhtml && pon(tras_raiz(salida, principio))) return true;
    if (pon(principio)) return true;
  }
  if (marca) salida.insert(0, kMarcaUtf8);
  return marca;
}

/* Writes texto into the value of attribute nombre (found as lenguaweb_busca_valor finds
 * it) of an HTML tag; a tag without that value gets ` escrito="texto"` after its name
 * when escrito is given. */
void pon_valor_html(const tag_leido &tag, const char *nombre, const char *escrito,
                    std::string_view texto, char vedada, std::vector<sustitucion> &cambios) {
  htmlparser::valor_html valor;
  if (lenguaweb_busca_valor(tag.texto, nombre, &valor)) {
    sustitucion cambio{tag.inicio + static_cast<uint32_t>(valor.inicio),
                       tag.inicio + static_cast<uint32_t>(valor.fin),
                       {}};
    lenguaweb_escribe_valor(cambio.nuevo, texto, valor.entre_comillas, vedada);
    cambios.push_back(std::move(cambio));
  } else if (escrito != nullptr) {
    const uint32_t en = tag.inicio + static_cast<uint32_t>(htmlparser::fin_de_nombre_de_tag(
                                         htmlparser::acotado(tag.texto), 0));
    const char comilla = lenguaweb_comilla_de_valor(vedada);
    cambios.push_back(
        {en, en, " " + std::string(escrito) + "=" + comilla + std::string(texto) + comilla});
  }
}

/* Writes dir="rtl" into an HTML tag for a right-to-left language, and dir="ltr" for a
 * left-to-right one when the page was right to left (its language, or its dir); a tag
 * that needs no direction is left as it is. */
void pon_direccion_html(const tag_leido &tag, bool derecha_a_izquierda, bool pagina_rtl,
                        char vedada, std::vector<sustitucion> &cambios) {
  htmlparser::valor_html valor;
  if (!derecha_a_izquierda && lenguaweb_busca_valor(tag.texto, "DIR", &valor))
    pagina_rtl = pagina_rtl || htmlparser::nombre_es(
                                   tag.texto.substr(valor.inicio, valor.fin - valor.inicio), "RTL");
  if (derecha_a_izquierda || pagina_rtl)
    pon_valor_html(tag, "DIR", "dir", derecha_a_izquierda ? "rtl" : "ltr", vedada, cambios);
}

/* Writes etiqueta into the lang value of an HTML tag, and into its xml:lang value when it
 * has one; a tag without lang gets one after its name. */
void pon_idioma_html(const tag_leido &tag, const std::string &etiqueta, char vedada,
                     std::vector<sustitucion> &cambios) {
  pon_valor_html(tag, "LANG", "lang", etiqueta, vedada, cambios);
  pon_valor_html(tag, "XML:LANG", nullptr, etiqueta, vedada, cambios);
}

/* Appends to salida the piece (which stands at desde in the page) with its link values
 * treated and the attribute texts, in order, each written into the next tag of the piece
 * that gives a text of its kind (read as page segmentation reads it); in a page written
 * in UTF-8 where it was not, its charset declarations name UTF-8. A text for which no
 * such tag is left is reported as "encontrado == CIERTO" and skipped. A body text
 * (de_cuerpo) is read as the block segmentation reads one: a '<' that begins no tag is
 * text. contexto is where the reading of the piece begins: a page's piece begins where
 * segmentation's reading of it did. */
void escribe_trozo(std::string &salida, std::string_view trozo, uint32_t desde,
                   enlaces_pasada &enlaces, const std::vector<texto_para_atributo> &textos,
                   const escritura &e, bool de_cuerpo = false,
                   const contexto_de_lectura &contexto = {}) {
  const pagina_de_documento &pagina = e.documento->pagina;
  /* The changes of the charset declarations, which may stand anywhere in the piece, and
   * those of the tags read and not yet written, which stand before the next tag. */
  std::vector<sustitucion> declaraciones, cambios;
  if (e.declara_utf8) {
    for (uint32_t k = 0; k < pagina.num_declaraciones; ++k) {
      const tramo_bytes_t d = pagina.declaraciones[k];
      if (d.inicio >= desde && d.fin <= desde + trozo.size())
        declaraciones.push_back({d.inicio - desde, d.fin - desde, "UTF-8"});
    }
    if (e.inserta_en >= desde && e.inserta_en <= desde + trozo.size()) {
      const uint32_t en = static_cast<uint32_t>(e.inserta_en - desde);
      declaraciones.push_back(
          {en, en, pagina.xhtml ? "<meta charset=\"UTF-8\" />" : "<meta charset=\"UTF-8\">"});
    }
    std::stable_sort(
        declaraciones.begin(), declaraciones.end(),
        [](const sustitucion &a, const sustitucion &b) { return a.inicio < b.inicio; });
  }
  // Rebuilding, only a reference ("@...") or an attribute text changes a piece: most
  // pieces go out as they are without reading their tags.
  const auto en_el_trozo = [&](size_t p) { return p >= desde && p < desde + trozo.size(); };
  const bool tiene_html = en_el_trozo(e.html_en) ||
                          std::any_of(e.metas_de_idioma.begin(), e.metas_de_idioma.end(),
                                      [&](const auto &meta) { return en_el_trozo(meta.first); });
  if (enlaces.preprocesar_links != CIERTO && textos.empty() && declaraciones.empty() &&
      !tiene_html && std::memchr(trozo.data(), '@', trozo.size()) == nullptr) {
    anade_de_pagina(salida, trozo, e);
    return;
  }
  // The piece is written left to right as its tags are read, each change once every
  // change before it is known: the declarations before limite and the changes of the
  // tags read (all before limite), in place order, a declaration first at one place.
  uint32_t copiado = 0;
  size_t siguiente_declaracion = 0;
  std::vector<sustitucion> lote;
  const auto escribe_hasta = [&](uint32_t limite) {
    lote.clear();
    for (; siguiente_declaracion < declaraciones.size() &&
           declaraciones[siguiente_declaracion].inicio < limite;
         ++siguiente_declaracion)
      lote.push_back(std::move(declaraciones[siguiente_declaracion]));
    if (lote.empty() && cambios.empty()) return;
    for (sustitucion &cambio : cambios) lote.push_back(std::move(cambio));
    cambios.clear();
    std::stable_sort(lote.begin(), lote.end(), [](const sustitucion &a, const sustitucion &b) {
      return a.inicio < b.inicio;
    });
    for (const sustitucion &cambio : lote) {
      if (cambio.inicio < copiado) continue; /* two attributes never share a value */
      anade_de_pagina(salida, trozo.substr(copiado, cambio.inicio - copiado), e);
      salida.append(cambio.nuevo);
      copiado = cambio.fin;
      vacia_si_llena(salida, e);
    }
  };
  size_t siguiente_texto = 0;
  estado_de_traduccion traduccion;
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(trozo);
  lectura_html lectura = lenguaweb_lectura_en(contexto);
  for (uint32_t posicion = 0; posicion < trozo.size();) {
    const void *menor = std::memchr(trozo.data() + posicion, '<', trozo.size() - posicion);
    if (menor == nullptr) break;
    const uint32_t en = static_cast<uint32_t>(static_cast<const char *>(menor) - trozo.data());
    if (de_cuerpo && !htmlparser::empieza_tag(t, en)) {
      posicion = en + 1;
      continue;
    }
    escribe_hasta(en);
    const tag_leido tag = lenguaweb_lee_tag_en(t, en, lectura.crudo, false);
    posicion = lenguaweb_sigue_tras_tag(lectura, tag, trozo, false);
    // The quote the page leaves open, for every value written from here on; a page that
    // was not read (its texts unknown) shows it only here.
    if (enlaces.comilla_vedada == 0) enlaces.comilla_vedada = tag.sin_cerrar;

    // Links are found in tags whose names begin so, as they always were.
    if (htmlparser::nombre_empieza_por(tag.nombre_legado, "A"))
      trata_link_de_tag(trozo, tag, "HREF", false, enlaces, cambios);
    if (htmlparser::nombre_empieza_por(tag.nombre_legado, "IMG"))
      trata_link_de_tag(trozo, tag, "SRC", true, enlaces, cambios);

    if (tiene_html && desde + tag.inicio == e.html_en) {
      pon_idioma_html(tag, e.idioma_html, enlaces.comilla_vedada, cambios);
      pon_direccion_html(tag, e.derecha_a_izquierda, e.pagina_derecha_a_izquierda,
                         enlaces.comilla_vedada, cambios);
    } else if (tiene_html) {
      const auto meta = std::lower_bound(e.metas_de_idioma.begin(), e.metas_de_idioma.end(),
                                         std::pair<size_t, char>{desde + tag.inicio, 0});
      if (meta != e.metas_de_idioma.end() && meta->first == desde + tag.inicio)
        pon_valor_html(tag, "CONTENT", nullptr,
                       meta->second == '_' ? local_de_open_graph(e.idioma_html) : e.idioma_html,
                       enlaces.comilla_vedada, cambios);
    }

    // A value that goes back as the page had it stays; a value without '=' is never
    // written into.
    const auto escribe_valor = [&](const texto_para_atributo &a, uint32_t inicio, uint32_t fin,
                                   bool entre_comillas) {
      if (sale_crudo(e, a.indice, a.texto)) return;
      sustitucion cambio{inicio, fin, {}};
      std::string convertido;
      lenguaweb_escribe_valor(cambio.nuevo,
                              convierte_texto(e, a.texto, a.indice, false, convertido),
                              entre_comillas, enlaces.comilla_vedada);
      cambios.push_back(std::move(cambio));
    };
    if (e.de_pagina) {
      // The page's own tags: each text goes into the value its record names.
      for (; siguiente_texto < textos.size(); ++siguiente_texto) {
        const texto_para_atributo &a = textos[siguiente_texto];
        const registro_de_texto &r = e.documento->registros[a.indice];
        // An empty value that the page's end cuts short stands at the tag's very end.
        if (r.inicio > desde + tag.fin) break;
        if (r.inicio < desde + tag.inicio || r.fin > desde + tag.fin) {
          informa_en(kModuloLenguaweb, "encontrado == CIERTO");
          continue;
        }
        if ((r.valor & kValorTrasIgual) != 0)
          escribe_valor(a, r.inicio - desde, r.fin - desde, (r.valor & kValorEntreComillas) != 0);
      }
      continue;
    }
    // A translation's tags: each text goes into the next tag that gives one of its kind;
    // a tag not to be translated gave no text.
    const bool se_traduce =
        !e.documento->no_traducir || lenguaweb_lee_tag_de_traduccion(traduccion, tag.texto);
    texto_de_tag textos_del_tag[kMaxTextosDeTag];
    const size_t num_del_tag =
        se_traduce && siguiente_texto < textos.size()
            ? lenguaweb_textos_de_tag(tag, e.documento->segmentacion, textos_del_tag)
            : 0;
    for (size_t k = 0; k < num_del_tag; ++k) {
      const texto_de_tag &texto = textos_del_tag[k];
      if (siguiente_texto >= textos.size() || texto.tipo != textos[siguiente_texto].tipo) continue;
      if (texto.tras_igual)
        escribe_valor(textos[siguiente_texto], tag.inicio + texto.inicio, tag.inicio + texto.fin,
                      texto.entre_comillas);
      ++siguiente_texto;
    }
  }
  for (; siguiente_texto < textos.size(); ++siguiente_texto)
    informa_en(kModuloLenguaweb, "encontrado == CIERTO");

  escribe_hasta(UINT32_MAX);
  anade_de_pagina(salida, trozo.substr(copiado), e);
}

/* Takes the texts of the next piece into textos: from *siguiente on, the attribute texts
 * (skipped while preprocessing, which writes no attribute text) up to and including the
 * body text that ends them, or up to num_textos. A kind outside the eleven is reported. */
void toma_textos_de_trozo(const lenguaweb_t *documento, const textos_dados &traducidos,
                          uint32_t num_textos, bool preprocesar, uint32_t *siguiente,
                          textos_de_trozo *textos) {
  textos->atributos.clear();
  textos->del_cuerpo.clear();
  textos->cuerpo = nullptr;
  textos->propio = nullptr;
  textos->codigo = 0;
  for (; textos->cuerpo == nullptr && *siguiente < num_textos; ++*siguiente) {
    const uint32_t indice = *siguiente;
    const registro_de_texto &registro = documento->registros[indice];
    const char *texto = traducidos.dame(indice);
    switch (registro.tipo) {
      case TIPO_TITULO:
      case TIPO_TEXTO:
        textos->cuerpo = texto != nullptr ? texto : "";
        textos->propio = lenguaweb_texto(documento, indice);
        textos->indice = indice;
        textos->codigo = registro.codigo_en_linea;
        break;
      case TIPO_DESCRIPCION:
      case TIPO_PALABRA_CLAVE:
      case TIPO_ALTERNATIVO_IMAGEN:
      case TIPO_TITULO_ELEMENTO:
      case TIPO_EJEMPLO_CAMPO:
      case TIPO_ETIQUETA_ACCESIBLE:
      case TIPO_RESUMEN_TABLA:
      case TIPO_ETIQUETA:
      case TIPO_TEXTO_BOTON:
      case TIPO_DESCRIPCION_ACCESIBLE:
      case TIPO_ROL_ACCESIBLE:
      case TIPO_EJEMPLO_ACCESIBLE:
      case TIPO_ABREVIATURA_CELDA:
      case TIPO_OG_TITULO:
      case TIPO_OG_DESCRIPCION:
      case TIPO_OG_ALTERNATIVO_IMAGEN:
      case TIPO_OG_NOMBRE_SITIO:
      case TIPO_TWITTER_TITULO:
      case TIPO_TWITTER_DESCRIPCION:
      case TIPO_TWITTER_ALTERNATIVO_IMAGEN:
        if (!preprocesar)
          textos->atributos.push_back({registro.tipo, texto != nullptr ? texto : "", indice});
        break;
      default:
        informa_en(kModuloLenguaweb, "");
        break;
    }
  }
  // The attribute texts that stand inside the body text follow it.
  if (textos->cuerpo == nullptr || documento->segmentacion != SEGMENTACION_BLOQUES) return;
  const registro_de_texto &cuerpo = documento->registros[textos->indice];
  for (; *siguiente < num_textos; ++*siguiente) {
    const uint32_t indice = *siguiente;
    const registro_de_texto &origen = documento->registros[indice];
    if (origen.tipo == TIPO_TITULO || origen.tipo == TIPO_TEXTO || origen.inicio < cuerpo.inicio ||
        origen.inicio >= cuerpo.fin)
      break;
    const char *texto = traducidos.dame(indice);
    if (!preprocesar)
      textos->del_cuerpo.push_back({origen.tipo, texto != nullptr ? texto : "", indice});
  }
}

/* The attribute texts of a body text's tags, in the order of the tags of escrito (the
 * text as written, in the encoding the page is put together in), for a translation:
 * the k-th use of a tag of the page's text (fuente, in the same encoding) takes the texts
 * of the k-th tag of the page's text of the same form (lenguaweb_forma_de_tag). */
std::vector<texto_para_atributo> atributos_de_escrito(std::string_view fuente,
                                                      std::string_view escrito,
                                                      const textos_de_trozo &textos,
                                                      segmentacion_t segmentacion,
                                                      bool no_traducir) {
  std::vector<texto_para_atributo> en_orden;
  if (textos.del_cuerpo.empty()) return en_orden;
  // Each tag's texts by the tag's form, in the page's order; and a cursor per form.
  struct de_forma {
    std::vector<std::pair<size_t, size_t>> grupos; /* [first, last) of del_cuerpo */
    size_t usados = 0;
  };
  std::unordered_map<std::string, de_forma> formas;
  const auto recorre = [&](std::string_view texto, auto &&con_tag) {
    const htmlparser::texto_acotado<char> t = htmlparser::acotado(texto);
    // A text begins where everything is translated; what it marks as not gave no text.
    estado_de_traduccion traduccion;
    for (size_t i = texto.find('<'); i != htmlparser::kNoEsta; i = texto.find('<', i)) {
      if (!htmlparser::empieza_tag(t, i)) {
        ++i;
        continue;
      }
      const tag_leido tag =
          lenguaweb_lee_tag_en(t, static_cast<uint32_t>(i), elemento_crudo::ninguno, false);
      texto_de_tag del_tag[kMaxTextosDeTag];
      const bool se_traduce =
          !no_traducir || lenguaweb_lee_tag_de_traduccion(traduccion, tag.texto);
      const size_t n = se_traduce ? lenguaweb_textos_de_tag(tag, segmentacion, del_tag) : 0;
      if (n > 0) con_tag(texto.substr(tag.inicio, tag.fin - tag.inicio), del_tag, n);
      i = std::max<size_t>(tag.fin, i + 1);
    }
  };
  size_t siguiente = 0;
  recorre(fuente, [&](std::string_view tag, const texto_de_tag *, size_t n) {
    const size_t hasta = std::min(siguiente + n, textos.del_cuerpo.size());
    formas[lenguaweb_forma_de_tag(tag)].grupos.emplace_back(siguiente, hasta);
    siguiente = hasta;
  });
  recorre(escrito, [&](std::string_view tag, const texto_de_tag *del_tag, size_t n) {
    const auto forma = formas.find(lenguaweb_forma_de_tag(tag));
    if (forma == formas.end() || forma->second.usados == forma->second.grupos.size()) return;
    const auto [primero, ultimo] = forma->second.grupos[forma->second.usados++];
    // In the order the written tag gives its texts, each kind at most once in a tag.
    for (size_t k = 0; k < n; ++k)
      for (size_t j = primero; j < ultimo; ++j)
        if (textos.del_cuerpo[j].tipo == del_tag[k].tipo) en_orden.push_back(textos.del_cuerpo[j]);
  });
  return en_orden;
}

/* For each '<' and '>' of the page's raw body text, in order: whether the page had the
 * character itself rather than "&lt;" or "&gt;". A text whose reading decoded those
 * references needs them, to tell which of its tags a translation may use. */
void signos_de_pagina(std::string_view crudo, signos_de_texto &signos) {
  htmlparser::siguiente_de siguiente(crudo, '<', '>', '&');
  for (size_t p = 0;; ++p) {
    p = siguiente.desde(p);
    if (p == htmlparser::kNoEsta) return;
    if (crudo[p] != '&') {
      signos.push_back(true);
    } else if (crudo.compare(p, htmlparser::kEntidadMenor.size(), htmlparser::kEntidadMenor) == 0 ||
               crudo.compare(p, htmlparser::kEntidadMayor.size(), htmlparser::kEntidadMayor) == 0) {
      signos.push_back(false);
      p += htmlparser::kEntidadMenor.size() - 1;
    }
  }
}

/* Appends the body text: the page's own bytes when it goes back so, else converted from
 * the code page of idioma and escaped as its element asks; its tags are checked against
 * the document's own text, which is read only when it holds a tag. Preprocessing, and a
 * rebuild given a text back unchanged, write the document's own text into a page that may
 * be read again, in a form that reads back the same: a pair of spaces, which only a long
 * run of blanks leaves, would read back as one, so a text that holds one goes out as the
 * page's own bytes (an entity would read back as a no-break space). Preformatted text
 * keeps its blanks anyway. */
void escribe_cuerpo(std::string &pagina, const textos_de_trozo &textos, const escritura &dada,
                    enlaces_pasada &enlaces) {
  const registro_de_texto &origen = dada.documento->registros[textos.indice];
  // A text from which a quote is kept out is read back whole once written: the page's
  // buffer is not emptied while it is.
  escritura sin_vaciar{};
  if (dada.vacia != nullptr && lenguaweb_comilla_vedada(dada.documento, origen.inicio) != 0) {
    sin_vaciar = dada;
    sin_vaciar.vacia = nullptr;
  }
  const escritura &e = sin_vaciar.documento != nullptr ? sin_vaciar : dada;
  if (e.documento->segmentacion == SEGMENTACION_BLOQUES &&
      (origen.marcas & (kTextoSinReferencias | kTextoSinMarcado)) == 0) {
    // A text of blocks holds its phrasing tags: its links are treated as a piece's.
    const std::string_view crudo =
        e.documento->pagina.bytes.substr(origen.inicio, origen.fin - origen.inicio);
    if (sale_crudo(e, textos.indice, textos.cuerpo)) {
      escribe_trozo(pagina, crudo, origen.inicio, enlaces, textos.del_cuerpo, e, true);
      return;
    }
    // The page's own text, in the encoding the page is put together in: the page's bytes
    // themselves when that is theirs.
    std::string convertida, escrito;
    std::string_view fuente = crudo;
    if (e.convierte_trozos) {
      anade_de_pagina(convertida, crudo, e);
      fuente = convertida;
    }
    // Every tag of the page's text was markup there; a translation may use those (a
    // link's "&" stays as the page had it) and the inline tags without attributes.
    texto_de_origen de_origen;
    de_origen.texto = fuente;
    de_origen.solo_en_linea = false;
    de_origen.en_extranjero = (origen.marcas & kTextoEnExtranjero) != 0;
    // A text whose tags give no attribute text and hold no link reference goes out as it
    // is written (escribe_trozo would copy it as it stands), into the page's buffer, which
    // may be emptied on the way.
    const bool directo = !e.preprocesar && textos.del_cuerpo.empty() && e.metas_de_idioma.empty() &&
                         fuente.find('@') == std::string_view::npos;
    {
      std::string convertido;  // freed before the text written is read again
      const std::string_view traduccion =
          convierte_texto(e, textos.cuerpo, textos.indice, true, convertido);
      if (directo && traduccion.find('@') == std::string_view::npos) {
        const std::function<void()> vacia = [&pagina, &e]() { vacia_si_llena(pagina, e); };
        lenguaweb_escribe_texto(pagina, traduccion, de_origen, false, &vacia);
        return;
      }
      lenguaweb_escribe_texto(escrito, traduccion, de_origen);
    }
    escritura montada = e;
    montada.convierte_trozos = false;
    montada.declara_utf8 = false;
    montada.html_en = htmlparser::kNoEsta;
    montada.de_pagina = false;
    escribe_trozo(pagina, escrito, 0, enlaces,
                  atributos_de_escrito(fuente, escrito, textos, e.documento->segmentacion,
                                       e.documento->no_traducir),
                  montada, true);
    return;
  }
  const bool preformateado = (origen.marcas & kTextoPreformateado) != 0;
  if (sale_crudo(e, textos.indice, textos.cuerpo) ||
      (!preformateado && std::strstr(textos.cuerpo, "  ") != nullptr &&
       (e.preprocesar || es_propio(e, textos.indice, textos.cuerpo)))) {
    anade_de_pagina(pagina,
                    e.documento->pagina.bytes.substr(origen.inicio, origen.fin - origen.inicio), e);
    return;
  }
  const bool sin_referencias = (origen.marcas & kTextoSinReferencias) != 0;
  std::string convertido;
  const std::string_view texto =
      convierte_texto(e, textos.cuerpo, textos.indice, sin_referencias, convertido);
  if (sin_referencias) {
    lenguaweb_escribe_texto_crudo(pagina, texto,
                                  (origen.marcas & kTextoHastaElFinal) != 0 ? "" : "XMP");
    return;
  }
  texto_de_origen de_origen;
  de_origen.codigo = textos.codigo;
  de_origen.en_extranjero = (origen.marcas & kTextoEnExtranjero) != 0;
  std::string propio, crudo;
  signos_de_texto signos;
  if (textos.propio != nullptr && std::strchr(textos.propio, '<') != nullptr) {
    de_origen.es_la_traduccion =
        textos.cuerpo == textos.propio || std::strcmp(textos.cuerpo, textos.propio) == 0;
    if (!de_origen.es_la_traduccion) {
      de_origen.texto = convierte_texto(e, textos.propio, textos.indice, false, propio);
      anade_de_pagina(
          crudo, e.documento->pagina.bytes.substr(origen.inicio, origen.fin - origen.inicio), e);
      de_origen.crudo = crudo;
      // A text that keeps the page's "&lt;" and "&gt;" as references has a '<' or '>'
      // only where the page had one.
      if ((origen.marcas & (kTextoCrudo | kTextoSignosComoReferencias)) == kTextoCrudo) {
        signos_de_pagina(
            e.documento->pagina.bytes.substr(origen.inicio, origen.fin - origen.inicio), signos);
        de_origen.signos = &signos;
      }
    }
  }
  lenguaweb_escribe_texto(pagina, texto, de_origen, e.preprocesar && !preformateado);
}

/* Whether translation t of text i goes out with more than ASCII in UTF-8: a no-break space
 * goes out as a reference, but into raw text. */
bool sale_mas_que_ascii(const escritura &e, uint32_t i, const char *t) {
  size_t largo = 0;
  const cad_propia utf8(conv_ansi_idioma_a_utf8_n(t, e.idioma, &largo));
  if (!utf8) return true;
  const bool crudo = i < e.documento->registros.size() &&
                     (e.documento->registros[i].marcas & kTextoSinReferencias) != 0;
  const std::string_view u(utf8.get(), largo);
  for (size_t k = 0; k < u.size(); ++k) {
    if ((u[k] & 0x80) == 0) continue;
    if (crudo ||
        u.compare(k, htmlparser::kEspacioDuroUtf8.size(), htmlparser::kEspacioDuroUtf8) != 0)
      return true;
    ++k;
  }
  return false;
}

/* Whether the page declares no encoding: it was read as UTF-8, every byte being valid. */
bool sin_nombre(const escritura &e) {
  const pagina_de_documento &pagina = e.documento->pagina;
  return pagina.codificacion.origen == CODIFICACION_POR_UTF8 && pagina.num_declaraciones == 0 &&
         pagina.codificacion.bom == 0;
}

/* Whether some text of traducidos may go out with more than ASCII. */
bool alguno_sale_mas_que_ascii(const escritura &e, const textos_dados &traducidos) {
  for (uint32_t i = 0; i < traducidos.num(); ++i) {
    const char *t = traducidos.dame(i);
    if (t != nullptr && !es_ascii(t) && sale_mas_que_ascii(e, i, t)) return true;
  }
  return false;
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

/* How this rebuild of the document writes, for texts in the code page of idioma. */
escritura prepara_escritura(const lenguaweb_t *documento, uint32_t idioma, bool preprocesar) {
  const pagina_de_documento &pagina = documento->pagina;
  escritura e{};
  e.documento = documento;
  e.idioma = idioma;
  e.preprocesar = preprocesar;
  e.pagina_en = pagina.leida_en;
  e.salida_en = pagina.codificacion.nombre;
  const bool ilegible = pagina.codificacion.origen == CODIFICACION_ILEGIBLE;
  if (opciones_dame_salida_utf8() == CIERTO && !ilegible && !es_utf8(e.salida_en)) {
    e.salida_en = "UTF-8";
    e.declara_utf8 = true;
  }
  const bool ascii = pagina.codificacion.compatible_ascii == CIERTO || e.declara_utf8;
  e.montada_en = ilegible ? e.pagina_en : ascii ? e.salida_en : "UTF-8";
  e.convierte_trozos = !ilegible && std::strcmp(e.pagina_en, e.montada_en) != 0;
  e.mismo_idioma = conv_pagina_de_codigos(idioma) == conv_pagina_de_codigos(documento->idioma);
  e.ascii_sin_cambios = conv_ascii_sin_cambios(idioma) == CIERTO;
  const cad_propia espacio(conv_utf8_a_ansi_html(htmlparser::kEspacioDuroUtf8.data(), idioma));
  e.espacio_de_un_byte = std::string_view(espacio.get()) == "\xA0";
  e.espacio_duro =
      pagina.xhtml ? htmlparser::kReferenciaEspacioDuro : htmlparser::kEntidadEspacioDuro;
  if (e.declara_utf8 && pagina.num_declaraciones == 0)
    e.inserta_en = donde_declarar(pagina.bytes, 0);
  if (documento->segmentacion == SEGMENTACION_BLOQUES && !preprocesar) {
    const char *dada = opciones_dame_etiqueta_html();
    if (dada != nullptr && *dada != '\0') {
      e.idioma_html = dada;
    } else if ((idioma & 0xFFFF) != (documento->idioma & 0xFFFF)) {
      const cad_propia etiqueta(conv_etiqueta_de_idioma(idioma));
      if (etiqueta) e.idioma_html = etiqueta.get();
    }
    if (!e.idioma_html.empty()) {
      busca_idioma_declarado(pagina.bytes, &e.html_en, &e.metas_de_idioma);
      e.derecha_a_izquierda = conv_etiqueta_derecha_a_izquierda(e.idioma_html.c_str()) == CIERTO;
      const cad_propia propia(conv_etiqueta_de_idioma(documento->idioma));
      e.pagina_derecha_a_izquierda = conv_etiqueta_derecha_a_izquierda(propia.get()) == CIERTO;
    }
  }
  return e;
}

/* The walk shared by the rebuild and link preprocessing. For each piece, in order: its
 * A HREF and IMG SRC values treated (lenguaweb_trata_link), then, when not
 * preprocessing, the piece's translated attribute texts written into the tags they
 * came from; the piece is written, then its body text with those of its own tags. The page goes out
 * in its own encoding (or in UTF-8, as the calling thread chose), with its byte order mark. The
 * walk stops at the shorter of the document's kinds and textos_traducidos. CIERTO when the whole
 * page was written to nombre_fichero_html; a failed write leaves no half-written file. */
booleano graba_fichero_html(const lenguaweb_t *documento, const textos_dados &traducidos,
                            enlaces_pasada &enlaces, const char *nombre_fichero_html,
                            uint32_t idioma) {
  if (informa_si_falta(kModuloLenguaweb, nombre_fichero_html, "(nombre_fichero_html) != NULL"))
    return FALSO;
  const uint32_t num_textos = lenguaweb_num_textos(documento);
  const auto num_tipos = static_cast<uint32_t>(documento->registros.size());
  const uint32_t num_traducidos = traducidos.num();
  if (num_tipos != num_textos) informa_en(kModuloLenguaweb, kTiposSinTexto);
  if (num_traducidos != num_textos) informa_en(kModuloLenguaweb, kTraducidosSinTexto);
  if (conv_idioma_conocido(idioma) != CIERTO)
    informa_en(kModuloLenguaweb, "conv_idioma_conocido(idioma) == CIERTO");

  // The page goes out a quarter of a megabyte at a time as it is made, so that it is
  // never held in memory whole; the file replaces the old one only once every byte is
  // written.
  fichero_escritura_t *fichero = fichero_escritura_abre(nombre_fichero_html);
  if (fichero == nullptr) return FALSO;
  const bool preprocesar = enlaces.preprocesar_links == CIERTO;
  escritura e = prepara_escritura(documento, idioma, preprocesar);
  const pagina_de_documento &pagina = documento->pagina;
  std::string salida;
  salida.reserve(kTamanoTramo + (kTamanoTramo >> 2));
  const bool transcodifica = std::strcmp(e.montada_en, e.salida_en) != 0;
  // The first bytes that go out are checked once for the declaration that names them.
  // A page of ASCII alone that declares none, which every reader reads alike, needs one
  // once it is written with other bytes: a reader that takes an undeclared page for its
  // locale's code page (Firefox over HTTP does) would read them as other characters. That
  // is known when the whole page is in the first stretch; else from the texts, any of
  // which may bring them.
  const bool sin_declarar = sin_nombre(e);
  bool por_nombrar = e.declara_utf8 || pagina.codificacion.origen == CODIFICACION_DECLARADA ||
                     (sin_declarar && opciones_dame_salida_utf8() == CIERTO);
  bool ascii_sin_nombre = !por_nombrar && sin_declarar && es_ascii(pagina.bytes);
  bool ultima = false;
  const std::function<void()> vacia = [&]() {
    for (;;) {
      size_t largo = salida.size();
      cad_propia convertida;
      if (transcodifica) {
        convertida.reset(conv_entre_codificaciones_n(salida.data(), salida.size(), e.montada_en,
                                                     e.salida_en, &largo, nullptr));
        if (!convertida) largo = 0;
      }
      const std::string_view saliente(transcodifica ? convertida.get() : salida.data(), largo);
      if (std::exchange(ascii_sin_nombre, false) &&
          (!es_ascii(saliente) || (!ultima && alguno_sale_mas_que_ascii(e, traducidos))))
        por_nombrar = true;
      if (std::exchange(por_nombrar, false) && declara_al_principio(salida, saliente, e)) continue;
      fichero_escritura_anade(fichero, saliente.data(), saliente.size());
      break;
    }
    salida.clear();
  };
  // Converted, the page goes out between whole pieces and texts: a cut inside one could
  // split a character, or a run of a stateful encoding.
  if (!transcodifica) {
    e.de_pagina_en = &salida;
    e.vacia = &vacia;
  }
  // A mark that the page's bytes do not hold: UTF-16's, or UTF-8's for a UTF-16 page
  // written in UTF-8.
  if (pagina.codificacion.bom > 0 && transcodifica && std::strncmp(e.salida_en, "UTF-16", 6) == 0) {
    fichero_escritura_anade(fichero,
                            std::strcmp(e.salida_en, "UTF-16BE") == 0 ? "\xFE\xFF" : "\xFF\xFE", 2);
  } else if (pagina.codificacion.bom > 0 && !es_utf8(pagina.codificacion.nombre) &&
             es_utf8(e.salida_en)) {
    salida.append("\xEF\xBB\xBF");
  }

  const uint32_t textos_a_escribir = std::min(num_traducidos, num_tipos);
  const uint32_t num_trozos = static_cast<uint32_t>(documento->trozos.size());
  uint32_t siguiente_texto = 0;
  textos_de_trozo textos;
  const contexto_de_trozo *contexto = documento->contextos.data();
  const contexto_de_trozo *const sin_contextos = contexto + documento->contextos.size();
  for (uint32_t trozo = 0; trozo < num_trozos; ++trozo) {
    toma_textos_de_trozo(documento, traducidos, textos_a_escribir, preprocesar, &siguiente_texto,
                         &textos);
    const bool propio = contexto != sin_contextos && contexto->trozo == trozo;
    escribe_trozo(salida, lenguaweb_trozo(documento, trozo), documento->trozos[trozo].inicio,
                  enlaces, textos.atributos, e, false,
                  propio ? contexto->contexto : lenguaweb_contexto_supuesto(documento, trozo));
    if (propio) ++contexto;
    if (textos.cuerpo != nullptr) {
      const size_t desde = salida.size();
      escribe_cuerpo(salida, textos, e, enlaces);
      lenguaweb_veda_comilla(
          salida, desde,
          lenguaweb_comilla_vedada(e.documento, e.documento->registros[textos.indice].inicio));
    }
    if (salida.size() >= kTamanoTramo) vacia();
  }
  ultima = true;
  vacia();
  if (pagina.byte_suelto >= 0 && std::strcmp(e.salida_en, pagina.codificacion.nombre) == 0) {
    const char suelto = static_cast<char>(pagina.byte_suelto);
    fichero_escritura_anade(fichero, &suelto, 1);
  }
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
  // A list that does not give every text its translation is refused before anything is
  // written: a missing text would leave its place empty.
  const uint32_t num_textos = lenguaweb_num_textos(lenguaweb);
  if (lista_cad_num_elems(textos_traducidos) != num_textos) {
    informa_en(kModuloLenguaweb, kTraducidosSinTexto);
    return FALSO;
  }
  for (uint32_t i = 0; i < num_textos; ++i)
    if (lista_cad_dame(textos_traducidos, i) == nullptr) {
      informa_en(kModuloLenguaweb, "lista_cad_dame(textos_traducidos, i) != NULL");
      return FALSO;
    }
  if (lista_cad_num_elems(textos_traducidos) != (IDs != nullptr ? lista_cad_num_elems(IDs) : 0))
    informa_en(kModuloLenguaweb, kTraducidosSinId);
  enlaces_pasada enlaces;
  enlaces.tabla_a_consulta = tabla_links_a;
  enlaces.tabla_img_consulta = tabla_links_img;
  enlaces.comilla_vedada = lenguaweb->comilla_abierta;
  return graba_fichero_html(lenguaweb, {.lista = textos_traducidos}, enlaces, nombre_fichero_html,
                            idioma);
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
  enlaces.comilla_vedada = lenguaweb->comilla_abierta;
  return graba_fichero_html(lenguaweb, {.propios = lenguaweb}, enlaces, nombre_fichero_html,
                            idioma);
}

}  // extern "C"
