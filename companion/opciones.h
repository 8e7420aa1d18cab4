/* opciones.h - the choices a host makes for its later page calls, and where texts come from. */
#ifndef COMPANION_OPCIONES_H
#define COMPANION_OPCIONES_H

#include "companion/tipos.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Threads: every choice below belongs to the calling thread. It holds for the later
 * lenguaweb calls that this thread makes, until the thread changes it or ends; other
 * threads keep their own (each thread starts with the defaults). So a host that
 * processes pages on several threads sets the choices on each of them. */

/* How lenguaweb_crea cuts a page into texts. */
typedef enum segmentacion_t {
  /* The default. A body text runs on through the inline tags U, B, I, EM, STRONG, FONT
   * and BR; any other tag ends it. Texts keep their blanks collapsed, and decode the
   * entities &lt; and &gt; to '<' and '>'. */
  SEGMENTACION_CLASICA = 0,
  /* One text per block (a paragraph, a heading, a list item, a cell, a caption, a
   * label, a button, an option, a definition term or description, the content of one
   * PRE): every phrasing element (A, CODE, SPAN, IMG ...) stays inside the text with its
   * tag and end tag. A text begins at its first non-blank character and ends at its
   * last; a literal '<', '>' and '&' of the page stay "&lt;", "&gt;" and "&amp;" in it.
   * Also gives the texts of the attributes a reader sees (title, placeholder,
   * aria-label, TH's abbr, ...) and the link previews' META texts (og:title ...), each with
   * a kind of its own; those of a text's own tags (an A's
   * title, an IMG's alt) come right after the text, and go back into those tags. */
  SEGMENTACION_BLOQUES = 1
} segmentacion_t;

/* Chooses the segmentation of the later lenguaweb_crea calls of this thread. The
 * document remembers it: rebuilding it needs no choice. A value outside the enum is
 * reported and leaves the choice as it was. */
COMPANION_API void opciones_pon_segmentacion(segmentacion_t segmentacion) COMPANION_NOEXCEPT;
COMPANION_API segmentacion_t opciones_dame_segmentacion(void) COMPANION_NOEXCEPT;

/* With CIERTO, the later rebuilds (lenguaweb_reconstruye_fichero_html and
 * lenguaweb_preprocesa_links) of this thread write the page in UTF-8 and make its
 * charset declaration say so (updated, or added when the page had none), for a
 * translation that the page's own encoding cannot hold. FALSO (the default) writes each
 * page in the encoding it was read in. */
COMPANION_API void opciones_pon_salida_utf8(booleano utf8) COMPANION_NOEXCEPT;
COMPANION_API booleano opciones_dame_salida_utf8(void) COMPANION_NOEXCEPT;

/* With CIERTO, the later lenguaweb_crea calls of this thread in SEGMENTACION_BLOQUES keep
 * what the page marks as not to be translated: an element with translate="no" or the
 * class notranslate, and what it holds (up to an element inside it with translate="yes"),
 * gives no text of its own, neither its content nor its attributes; inside a text such an
 * element stays as it stands, for the host to keep unchanged. The document remembers the
 * choice. FALSO (the default) offers every text as before. */
COMPANION_API void opciones_pon_no_traducir(booleano respeta) COMPANION_NOEXCEPT;
COMPANION_API booleano opciones_dame_no_traducir(void) COMPANION_NOEXCEPT;

/* With a BCP 47 tag ("sr-Latn", "ca-valencia"), the later rebuilds
 * (lenguaweb_reconstruye_fichero_html) of this thread that use the block segmentation
 * write it into the page's <html lang> (and xml:lang) in place of the tag of the language
 * they write in, which may name no more than the code page of a language that Windows has
 * no identifier for. NULL (the default) writes that language's tag when it is not the
 * page's. The tag is copied. */
COMPANION_API void opciones_pon_etiqueta_html(const char *etiqueta) COMPANION_NOEXCEPT;
/* The tag chosen, or NULL; valid until the thread chooses again. */
COMPANION_API const char *opciones_dame_etiqueta_html(void) COMPANION_NOEXCEPT;

/* Where a text of a page comes from. Texts are borrowed for the call only. */
typedef struct origen_texto {
  uint32_t indice;       /* the text's index among the document's texts, from 0 */
  uint32_t linea;        /* the line of the page, from 1, on which the text begins */
  const char *elemento;  /* the element that holds the text or the attribute, lower case
                            ("title", "h2", "td", "img", "abbr") */
  const char *atributo;  /* the attribute whose value the text is, lower case ("alt",
                            "title", "content"); null for a body text */
  const char *nota;      /* the note the page leaves its translators on the element of a body
                            text or one around it (its-loc-note), in UTF-8, references read;
                            null when none */
  booleano sin_traducir; /* CIERTO when the page marks the text as not to be translated: the
                            element that holds it, the tag whose attribute it is, or an
                            element around them says translate="no" or has the class
                            notranslate, with no translate="yes" nearer. The block
                            segmentation that keeps such texts (opciones_pon_no_traducir)
                            gives none; the classic one gives them, told so here. */
} origen_texto_t;

/* A host's receptor of text origins; contexto is what the host gave with it. */
typedef void (*origen_receptor_t)(const origen_texto_t *origen, void *contexto);

/* Installs the receptor of this thread's text origins: lenguaweb_crea tells it the
 * origin of every text of the page, once each, in index order, before it returns. Any
 * failure report made about a text is made after that text's origin is told. A null
 * receptor (the default) is told nothing. */
COMPANION_API void opciones_pon_receptor_origenes(origen_receptor_t receptor,
                                                  void *contexto) COMPANION_NOEXCEPT;

/* CIERTO when this thread has a receptor of text origins: what is told only to it need
 * not be worked out otherwise. */
COMPANION_API booleano opciones_hay_receptor_origenes(void) COMPANION_NOEXCEPT;

/* Tells this thread's receptor, if there is one, where a text comes from (for the
 * library; a host has no need to call it). origen is only read. */
COMPANION_API void opciones_informa_origen(const origen_texto_t *origen) COMPANION_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
