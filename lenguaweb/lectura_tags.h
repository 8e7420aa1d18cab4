/* lectura_tags.h - reading a tag as page segmentation reads it, shared with the rebuild. */
#ifndef LENGUAWEB_LECTURA_TAGS_H
#define LENGUAWEB_LECTURA_TAGS_H

#include <array>
#include <iterator>
#include <string_view>
#include <vector>

#include "htmlparser/reglas_html.h"
#include "lenguaweb/documento.h"

/* The element whose content is not read as markup (htmlparser::elemento_crudo), by the
 * element table's raw kind of its start tag. */
using htmlparser::elemento_crudo;

/* Whether the content of the element is read as markup by segmentation (ninguno, TITLE). */
constexpr bool se_leen_tags(elemento_crudo crudo) {
  return crudo == elemento_crudo::ninguno || crudo == elemento_crudo::titulo;
}

/* Whether the content of the element is a text (XMP, TEXTAREA, PLAINTEXT). */
constexpr bool es_texto_crudo(elemento_crudo crudo) {
  return crudo == elemento_crudo::xmp || crudo == elemento_crudo::textarea ||
         crudo == elemento_crudo::plaintext;
}

/* Whether the content of the element is code, skipped whole (lenguaweb_sigue_tras_tag). */
constexpr bool es_codigo(elemento_crudo crudo) {
  return !se_leen_tags(crudo) && !es_texto_crudo(crudo);
}

/* One tag or comment of a page or a piece. Views point into the text that was read
 * and stay valid while it does. */
struct tag_leido {
  uint32_t inicio;         /* offset of the '<' */
  uint32_t fin;            /* one past the tag's last byte */
  std::string_view nombre; /* the name as the tokenizer ends it (htmlparser::fin_de_nombre_de_tag),
                              without an end tag's '/' */
  bool cierra;             /* an end tag, "</" */
  const htmlparser::elemento_html *elemento; /* its element's record, or null */
  std::string_view nombre_legado; /* htmlparser::nombre_legado_de_tag: after '<' up to the first
                                     space or the closing '>' */
  std::string_view texto;         /* from '<' up to, not including, the closing '>' */
  char sin_cerrar;                /* the quote of a value that never closes, outside raw elements
                                     (htmlparser::fin_de_tag), or 0 */
  bool cortado;                   /* cut short at the end tag of the element it stands in: no
                                     whole tag for a browser, so never part of a text */
};

/* Reads the tag whose '<' stands at offset inicio of texto, ended as
 * htmlparser::lee_fin_de_tag ends it; with no end it runs to the end of texto,
 * reported as "(fin_tag) != NULL" when informa is set. Inside a raw element a tag never
 * swallows the element's end tag (htmlparser::busca_fin_de_elemento); that end tag itself
 * is read whole, as a browser reads it (htmlparser::es_fin_de_texto_sin_tags). texto keeps what
 * the reading learns of it, for the next tag read from it. */
tag_leido lenguaweb_lee_tag_en(const htmlparser::texto_acotado<char> &texto, uint32_t inicio,
                               elemento_crudo crudo, bool informa);
inline tag_leido lenguaweb_lee_tag_en(std::string_view texto, uint32_t inicio, elemento_crudo crudo,
                                      bool informa) {
  return lenguaweb_lee_tag_en(htmlparser::acotado(texto), inicio, crudo, informa);
}

/* Moves crudo on past a tag: each element of elemento_crudo opens with its start tag and
 * closes with its end tag (nothing closes PLAINTEXT); inside one of them the others' tags
 * change nothing, but a SCRIPT or STYLE inside TITLE. An end tag with no element open is
 * reported as "*procesar_texto == FALSO" when informa is set (for SCRIPT and STYLE, as
 * always). The name ends as the tokenizer ends it: a "<SCRIPT" followed by a line break or a
 * '/' is still a script, whose code must never be taken for text. */
void lenguaweb_cambia_elemento_crudo(elemento_crudo &crudo, const tag_leido &tag, bool informa);

/* Where a reader of a page stands: the raw element open, and the SVG and MathML elements
 * open around it, with the HTML integration points among them (SVG's FOREIGNOBJECT, DESC
 * and TITLE; MathML's MI, MO, MN, MS, MTEXT, and ANNOTATION-XML of an HTML encoding).
 * Inside SVG or MathML, but at those points, XMP, PLAINTEXT, TEXTAREA and TITLE are
 * ordinary elements whose content is markup. Where a browser's reading is uncertain here,
 * the reader stays inside SVG or MathML: an ordinary XMP writes its text with every '<'
 * escaped, which is safe in raw text too. */
struct lectura_html {
  /* The names an open element here may have: SVG, MATH, the integration points, and the
   * two MathML elements that stay MathML inside MI ... MTEXT (kMglyph on). */
  static constexpr std::string_view kNombres[] = {
      "SVG", "MATH", "FOREIGNOBJECT", "DESC",           "TITLE",  "MI",        "MO",
      "MN",  "MS",   "MTEXT",         "ANNOTATION-XML", "MGLYPH", "MALIGNMARK"};
  static constexpr uint8_t kMi = 5, kMtext = 9, kAnotacion = 10, kMglyph = 11;
  struct extranjero {
    uint8_t nombre; /* its place in kNombres */
    bool mathml;
    bool integracion;
    /* Of an integration point: the HTML elements open inside it, as their start and end
     * tags count them. At none it is the element a browser adds to, and a CDATA section
     * begins there; inside one of them "<![CDATA[" is a comment. */
    uint32_t html_dentro = 0;
    /* Of an integration point: an HTML element opened inside it (lectores_discrepan). */
    bool html_visto = false;
  };
  elemento_crudo crudo = elemento_crudo::ninguno;
  /* A SELECT is open: an XMP or PLAINTEXT start tag there is ignored by a browser, and
   * what follows it is markup (newer readers open them: their texts, escaped as markup,
   * are safe in raw text too). Only "</select>" ends it here. */
  bool en_select = false;
  /* Readers may stand in different elements from here on: a NOSCRIPT's content, as a
   * reader that runs no script reads it (markup), opened a SELECT, SVG or MATH, which may
   * stay open past its end tag to that reader; or an integration point ended where HTML
   * elements had opened inside it, which a browser's end tag leaves open while any of them
   * is (they are counted, not known). From here on XMP and PLAINTEXT are read as markup,
   * whose texts are escaped, which is safe in raw text too, unless a tag or comment of
   * that markup holds the XMP's end tag: then nothing after it is offered. */
  bool lectores_discrepan = false;
  /* The quote of the first tag begun inside a NOSCRIPT whose quoted value never closes,
   * and where the reading went on after that tag: a reader that reads NOSCRIPT's content
   * as markup reads the rest of the page inside that value, so nothing written from there
   * on may bring that quote (lenguaweb_anota_comilla). 0 when there is none. */
  char comilla_en_noscript = 0;
  uint32_t comilla_en_noscript_desde = 0;
  /* Whether an XMP or PLAINTEXT start tag read in HTML opens raw text to every reader. */
  bool xmp_crudo() const { return !en_select && !lectores_discrepan; }
  std::vector<extranjero> abiertos;
  /* How many of abiertos have each name: an end tag of a name none has costs nothing. */
  std::array<uint32_t, std::size(kNombres)> por_nombre{};

  bool en_html() const { return abiertos.empty() || abiertos.back().integracion; }
};

/* Where the reading stands (contexto_de_lectura). */
contexto_de_lectura lenguaweb_contexto_de(const lectura_html &lectura);

/* A reading that begins where contexto says: inside its raw element or TITLE, and inside
 * its SVG or MathML element, below which it knows only the root (SVG or MATH) an
 * integration point stands in. */
lectura_html lenguaweb_lectura_en(const contexto_de_lectura &contexto);

/* Moves the reading past the tag read from texto (lenguaweb_lee_tag_en) and returns where
 * reading goes on: past the tag, or, when the tag opened an element whose content is code,
 * at the end tag that closes it for a browser (htmlparser::fin_de_script,
 * htmlparser::fin_de_texto_sin_tags), or at the end of texto. Reports as
 * lenguaweb_cambia_elemento_crudo does when informa is set. */
uint32_t lenguaweb_sigue_tras_tag(lectura_html &lectura, const tag_leido &tag,
                                  std::string_view texto, bool informa);

/* Whether a body text runs on through the tag (read where the page's tags are read;
 * en_extranjero: inside SVG or MathML before it): through an inline tag in the classic
 * segmentation, read by its name up to a space, and through a phrasing tag in the block
 * segmentation; never through a tag whose quote stays open or that is cut short, nor, cut
 * by blocks, one that the page ends before its '>', nor one that takes the reading out of
 * SVG or MathML. The one rule of both segmentations and of the origins they record. */
bool lenguaweb_texto_sigue_por_tag(const tag_leido &tag, bool en_extranjero,
                                   segmentacion_t segmentacion);

/* Whether a tag, read where the page's tags are read (antes: the raw element open before
 * it), is the start tag of the element that the texts after it are told to come from: a
 * start tag that holds content and that no text runs on through (lenguaweb_texto_sigue_por_tag),
 * so "<B\tclass=y>" names its element in the classic segmentation. Segmentation records it. */
bool lenguaweb_nombra_elemento(const tag_leido &tag, elemento_crudo antes, bool en_extranjero,
                               segmentacion_t segmentacion);

/* The bit of the tag as an inline tag of the classic segmentation reads it, by its name up
 * to a space (htmlparser::bit_de_tag_en_linea of nombre_legado); -1 for any other tag.
 * Where that name is the tokenizer's, the element already found gives it. */
int lenguaweb_bit_en_linea_legado(const tag_leido &tag);

/* Moves the depth of preformatted elements (PRE, LISTING) on past a tag. An end tag at depth 0
 * changes nothing. */
void lenguaweb_cambia_preformateado(uint32_t &profundidad, const tag_leido &tag);

#endif
