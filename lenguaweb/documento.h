/* documento.h - the page document record and what every file of the module shares. */
#ifndef LENGUAWEB_DOCUMENTO_H
#define LENGUAWEB_DOCUMENTO_H

#include <string_view>
#include <utility>
#include <vector>

#include "htmlparser/elementos.h"
#include "lenguaweb.h"
#include "privado/informe.h"
#include "privado/propiedad.h"

/* Where a reading of the page stands, as much as a reading that begins there needs
 * (lenguaweb_contexto_de, lenguaweb_lectura_en): the raw element or TITLE open, and the
 * innermost SVG or MathML element open, by its place in lectura_html::kNombres. */
struct contexto_de_lectura {
  static constexpr uint8_t kEnHtml = UINT8_MAX; /* no SVG or MathML element open */
  htmlparser::elemento_crudo crudo = htmlparser::elemento_crudo::ninguno;
  uint8_t extranjero = kEnHtml;
  bool mathml = false;
  bool integracion = false;        /* an HTML integration point */
  uint32_t html_dentro = 0;        /* lectura_html::extranjero::html_dentro */
  bool html_visto = false;         /* lectura_html::extranjero::html_visto */
  bool en_select = false;          /* inside a SELECT (lectura_html::en_select) */
  bool lectores_discrepan = false; /* lectura_html::lectores_discrepan */
  bool operator==(const contexto_de_lectura &) const = default;
};

/* A markup piece: a stretch of the page's bytes, [inicio, fin). */
struct tramo_de_pagina {
  uint32_t inicio;
  uint32_t fin;
};

/* Where segmentation's reading stood at the first byte of piece trozo, which is where the
 * rebuild's reading of it begins, for a piece that does not begin in plain HTML. */
struct contexto_de_trozo {
  uint32_t trozo;
  contexto_de_lectura contexto;
};

/* How a text stands in its page and how it goes back (bits of registro_de_texto::marcas). */
enum marca_de_texto : uint8_t {
  /* Given back unchanged, the text is written as the page's own bytes: its normalised
   * form would not show what the page showed (the page is not UTF-8; a byte is not valid
   * in it; it holds a no-break space or a NUL; it is preformatted; a '<' or '>' written
   * back by the general rule would change; it holds a character reference, the page's
   * or one for a character the language's code page lacks; an attribute value stood
   * otherwise than between double quotes or unquoted before a space). */
  kTextoCrudo = 1,
  /* Always written as the page's own bytes, whatever the host gives back: it holds a NUL,
   * which no text handed to a host can, or (cut by the classic segmentation) it is made of
   * HTML blanks alone, a form feed among them, which a browser shows as nothing: before
   * the page's first element a text there would open BODY, and a stray "</p>" after it a
   * P element, where the page had none. */
  kTextoComoLaPagina = 2,
  /* In PRE, LISTING or TEXTAREA: its blanks are kept. */
  kTextoPreformateado = 4,
  /* In TEXTAREA: no tag of it is markup; a translation's '<' is written "&lt;". */
  kTextoSinMarcado = 8,
  /* In XMP or PLAINTEXT, raw text: no character reference counts, none is written. */
  kTextoSinReferencias = 16,
  /* In PLAINTEXT, which nothing ends. */
  kTextoHastaElFinal = 32,
  /* A text cut at inline tags that shows one of them both as code ("&lt;B&gt;") and as
   * markup: its "&lt;" and "&gt;" stay references, for decoded they would read as the
   * markup, and a translation's references are written as they stand. */
  kTextoSignosComoReferencias = 64,
  /* Begun inside SVG or MathML, off their HTML integration points: a tag that leaves SVG
   * or MathML there (htmlparser::sale_de_extranjero) decides how all that follows is
   * read, so a translation keeps each of the page's and adds none. */
  kTextoEnExtranjero = 128,
};

/* How an attribute text's value stands in its tag (bits of registro_de_texto::valor): the
 * rebuild writes a translation into the value's own span as these say. */
enum marca_de_valor : uint8_t {
  /* An '=' stood before it; a value without one is never written into. */
  kValorTrasIgual = 1,
  /* It stood between quotes. */
  kValorEntreComillas = 2,
};

/* A report about one text, made while the page is read and held back until the text's
 * origin is told (origenes.h). */
struct informe_aplazado {
  uint32_t posicion;     /* where the text's origin begins */
  const char *condicion; /* static */
  uint32_t linea;
};

/* One text as segmentation found it, which the rebuild and the origins read back: where
 * it stands in the page (a body text's raw stretch, an attribute text's value), its kind,
 * its marks and the inline tags it shows as code. */
struct registro_de_texto {
  uint32_t inicio;
  uint32_t fin;
  uint8_t marcas = 0;
  uint8_t valor = 0; /* an attribute text's value: bits of marca_de_valor */
  i_tipo_texto_t tipo = TIPO_TEXTO;
  /* The offset of the '<' of the start tag of the element the text is told to come from
   * (lenguaweb_nombra_elemento; its own tag for an attribute text), UINT32_MAX when none. */
  uint32_t elemento = UINT32_MAX;
  /* The inline tags (bit i for the i-th inline name, htmlparser::kTagsEnLinea) that the
   * page showed inside the body text as code ("&lt;B&gt;") and never as markup, so that
   * writing the text back keeps showing them instead of making them live. */
  uint32_t codigo_en_linea = 0;
};

/* A text read before the piece or text it goes after is known (an attribute text of a
 * tag), held until then. */
struct texto_pendiente {
  std::string texto;
  registro_de_texto registro;
};

template <class T>
using vector_contado = std::vector<T, asignador_contado<T>>;

/* For each '<' and '>' of a body text, in order: whether it is written as the character
 * itself rather than its entity (marcado_permitido.h). */
using signos_de_texto = vector_contado<bool>;

/* The page as the document keeps it, once: the loaded file, or for a page read through
 * UTF-8 (UTF-16, ISO-2022-JP) its UTF-8 form. Pieces and texts are spans of bytes. */
struct pagina_de_documento {
  propio<fichero_memoria_t, fichero_memoria_destruye> fichero;
  cad_propia transcodificada;
  std::string_view bytes; /* into fichero or transcodificada, valid while the document lives */
  codificacion_pagina_t codificacion{};
  /* The encoding that bytes are in: "UTF-8", or the page's own when it is read on its
   * own bytes. Static, from the companion. */
  const char *leida_en = "UTF-8";
  bool xhtml = false; /* an XML declaration or the XHTML namespace: written as XML */
  /* Where bytes name the page's charset among their first 1024 (at most two). */
  tramo_bytes_t declaraciones[2] = {};
  uint32_t num_declaraciones = 0;
  int byte_suelto = -1; /* the odd last byte of a UTF-16 page, written back after it */
};

/* The document's texts, in the code page of its language, each ending in a NUL. A page has
 * hundreds of thousands of them: they stand side by side in blocks of a quarter of a
 * megabyte rather than in an allocation each, which would cost more than most texts. */
struct textos_de_documento {
  struct bloque {
    bloque_contado datos;
    size_t capacidad = 0, usados = 0;
  };
  /* The blocks being filled while the page is cut; then lista holds them
   * (lenguaweb_cierra_textos), and the texts handed out share them (lista_cad_copia). */
  vector_contado<bloque> bloques;
  vector_contado<const char *> textos; /* into the blocks, in order */
  lista_cad_propia lista;
};

/* The page document, made by lenguaweb_crea and freed by lenguaweb_destruye, both in the
 * companion's counted memory. Invariants once lenguaweb_crea returns: textos.textos and
 * registros have one entry per text, each appended by lenguaweb_anade_texto; pieces and body
 * texts alternate from piece 0, one more piece than body texts, and joined with the
 * stretches of the body texts they give back the page's bytes; the attribute texts of
 * piece k come in textos right before the body text that follows piece k, and in
 * SEGMENTACION_BLOQUES those of a body text's own tags right after it. */
struct lenguaweb {
  textos_de_documento textos; /* texts to translate, in the code page of the language */
  uint32_t idioma = 0;
  segmentacion_t segmentacion = SEGMENTACION_CLASICA; /* chosen when the document was made */
  bool no_traducir = false; /* translate="no" kept (opciones_pon_no_traducir), idem */
  pagina_de_documento pagina;
  vector_contado<tramo_de_pagina> trozos; /* the page's markup pieces, as spans */
  /* The readings that pieces begin in, by piece, ascending; a piece not named here begins
   * in plain HTML (lenguaweb_contexto_supuesto), as most do, so that most pieces keep only
   * their span. */
  vector_contado<contexto_de_trozo> contextos;
  /* The first piece whose reading has readers standing apart (lectores_discrepan), which
   * then holds for every piece after it: a page with inline SVG before its body names no
   * piece for that alone. UINT32_MAX when there is none. */
  uint32_t discrepan_desde = UINT32_MAX;
  vector_contado<registro_de_texto> registros;         /* one per text, in the order of textos */
  vector_contado<informe_aplazado> informes_aplazados; /* while lenguaweb_crea runs */
  /* The first tag with a value whose quote never closes ends at comilla_abierta_desde:
   * a browser reads the rest of the page inside that value, so nothing written from there
   * on may bring that quote (comilla_abierta, 0 when there is none). */
  uint32_t comilla_abierta_desde = UINT32_MAX;
  char comilla_abierta = 0;
};

/* Remembers the first tag of the page whose quote never closes (lenguaweb::comilla_abierta). */
inline void lenguaweb_anota_comilla(lenguaweb_t *documento, char sin_cerrar, uint32_t fin_del_tag) {
  if (sin_cerrar == 0 || documento->comilla_abierta != 0) return;
  documento->comilla_abierta = sin_cerrar;
  documento->comilla_abierta_desde = fin_del_tag;
}

/* The quote that nothing written at offset posicion of the page may bring, or 0. */
inline char lenguaweb_comilla_vedada(const lenguaweb_t *documento, uint32_t posicion) {
  return posicion >= documento->comilla_abierta_desde ? documento->comilla_abierta : 0;
}

/* New empty document (no page, no texts) for idioma, freed by lenguaweb_destruye. */
lenguaweb_t *lenguaweb_documento_vacio(uint32_t idioma);

/* Keeps a copy of texto among textos, after the others. */
void lenguaweb_guarda_texto(textos_de_documento &textos, std::string_view texto);
/* Hands the texts' blocks to textos.lista, once the last text is kept. */
void lenguaweb_cierra_textos(textos_de_documento &textos);

/* Appends a copy of texto and its record: the one way a text enters the document. */
inline void lenguaweb_anade_texto(lenguaweb_t *documento, std::string_view texto,
                                  const registro_de_texto &registro) {
  lenguaweb_guarda_texto(documento->textos, texto);
  documento->registros.push_back(registro);
}

/* A pending text enters the document. */
inline void lenguaweb_anade_texto(lenguaweb_t *documento, const texto_pendiente &pendiente) {
  lenguaweb_anade_texto(documento, pendiente.texto, pendiente.registro);
}

/* How many texts the document holds. */
inline uint32_t lenguaweb_num_textos(const lenguaweb_t *documento) {
  return static_cast<uint32_t>(documento->textos.textos.size());
}

/* Text i of the document, valid while the document lives. */
inline const char *lenguaweb_texto(const lenguaweb_t *documento, uint32_t i) {
  return documento->textos.textos[i];
}

/* The reading that piece k begins in when contextos does not name it. */
inline contexto_de_lectura lenguaweb_contexto_supuesto(const lenguaweb_t *documento, uint32_t k) {
  contexto_de_lectura contexto;
  contexto.lectores_discrepan = k >= documento->discrepan_desde;
  return contexto;
}

/* Appends the piece [inicio, fin) of the page, whose reading begins in contexto. */
inline void lenguaweb_anade_trozo(lenguaweb_t *documento, uint32_t inicio, uint32_t fin,
                                  const contexto_de_lectura &contexto = {}) {
  const auto k = static_cast<uint32_t>(documento->trozos.size());
  if (contexto.lectores_discrepan && documento->discrepan_desde == UINT32_MAX)
    documento->discrepan_desde = k;
  if (contexto != lenguaweb_contexto_supuesto(documento, k))
    documento->contextos.push_back({k, contexto});
  documento->trozos.push_back({inicio, fin});
}

/* Takes the last piece off the document; gives its span and its reading through the
 * arguments. */
inline void lenguaweb_quita_ultimo_trozo(lenguaweb_t *documento, tramo_de_pagina *tramo,
                                         contexto_de_lectura *contexto) {
  *tramo = documento->trozos.back();
  documento->trozos.pop_back();
  const auto k = static_cast<uint32_t>(documento->trozos.size());
  *contexto = lenguaweb_contexto_supuesto(documento, k);
  if (!documento->contextos.empty() && documento->contextos.back().trozo == k) {
    *contexto = documento->contextos.back().contexto;
    documento->contextos.pop_back();
  }
  if (documento->discrepan_desde == k) documento->discrepan_desde = UINT32_MAX;
}

/* The bytes of piece k, valid while the document lives. */
inline std::string_view lenguaweb_trozo(const lenguaweb_t *documento, size_t k) {
  const tramo_de_pagina &t = documento->trozos[k];
  return documento->pagina.bytes.substr(t.inicio, t.fin - t.inicio);
}

#endif
