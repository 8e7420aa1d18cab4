/* lenguaweb.h - the thirteen exported functions of lenguaweb and the handles they take. */
#ifndef LENGUAWEB_H
#define LENGUAWEB_H

/* Lists, texts, streams and the failure report belong to the companion services:
 * a host makes and frees them with the operations declared there. */
#include "companion/companion.h"

#if defined(_WIN32)
#if defined(LENGUAWEB_CONSTRUYENDO)
#define LENGUAWEB_API __declspec(dllexport)
#else
#define LENGUAWEB_API __declspec(dllimport)
#endif
#else
#define LENGUAWEB_API __attribute__((visibility("default")))
#endif

/* No C++ exception ever leaves an exported function: out of memory aborts the process. */
#ifdef __cplusplus
#define LENGUAWEB_NOEXCEPT noexcept
#else
#define LENGUAWEB_NOEXCEPT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A page document: the page cut into markup pieces and the texts to translate.
 * Nothing changes it between lenguaweb_crea and lenguaweb_destruye, so several
 * threads may read one document at once. */
typedef struct lenguaweb lenguaweb_t;

/* The kind of a text to translate. */
typedef enum i_tipo_texto_t {
  TIPO_TITULO = 0,             /* the page title */
  TIPO_DESCRIPCION = 1,        /* the CONTENT of META NAME="DESCRIPTION" */
  TIPO_PALABRA_CLAVE = 2,      /* the CONTENT of META NAME="KEYWORDS" */
  TIPO_TEXTO = 3,              /* any other body text */
  TIPO_ALTERNATIVO_IMAGEN = 4, /* the ALT of an IMG tag (and, in SEGMENTACION_BLOQUES, of an
                                  AREA tag and an INPUT tag of type image) */
  /* The kinds below come only from SEGMENTACION_BLOQUES (companion/opciones.h). */
  TIPO_TITULO_ELEMENTO = 5,            /* the title attribute of any element */
  TIPO_EJEMPLO_CAMPO = 6,              /* the placeholder of an INPUT or TEXTAREA */
  TIPO_ETIQUETA_ACCESIBLE = 7,         /* the aria-label of any element */
  TIPO_RESUMEN_TABLA = 8,              /* the summary of a TABLE */
  TIPO_ETIQUETA = 9,                   /* the label of an OPTION, OPTGROUP or TRACK */
  TIPO_TEXTO_BOTON = 10,               /* the value of an INPUT of type button, submit or reset */
  TIPO_DESCRIPCION_ACCESIBLE = 11,     /* the aria-description of any element */
  TIPO_ROL_ACCESIBLE = 12,             /* the aria-roledescription of any element */
  TIPO_EJEMPLO_ACCESIBLE = 13,         /* the aria-placeholder of any element */
  TIPO_ABREVIATURA_CELDA = 14,         /* the abbr of a TH */
  TIPO_OG_TITULO = 15,                 /* the CONTENT of META og:title (PROPERTY or NAME) */
  TIPO_OG_DESCRIPCION = 16,            /* ... of og:description */
  TIPO_OG_ALTERNATIVO_IMAGEN = 17,     /* ... of og:image:alt */
  TIPO_OG_NOMBRE_SITIO = 18,           /* ... of og:site_name */
  TIPO_TWITTER_TITULO = 19,            /* ... of twitter:title */
  TIPO_TWITTER_DESCRIPCION = 20,       /* ... of twitter:description */
  TIPO_TWITTER_ALTERNATIVO_IMAGEN = 21 /* ... of twitter:image:alt */
} i_tipo_texto_t;

/* Failures are never results: a broken precondition is reported through the
 * companion's informa_fallo_interno (see informa_fallo_pon_receptor) and the call
 * returns what it can. Everything runs on the caller's thread; the library keeps no
 * state between calls. */

/* --- Page document ------------------------------------------------------------- */

/* Loads the HTML file at nombre_fichero_html, read in its own encoding as a browser
 * finds it (conv_detecta_codificacion: a byte order mark, the charset the page declares,
 * else UTF-8 when its bytes are, else the code page of idioma), and cuts it into pieces
 * and texts, the way opciones_dame_segmentacion says; texts are converted to the code
 * page of idioma (a Windows LANGID). Also
 * writes the texts to "lista_html.txt" in the utilities folder (by default a folder of
 * the process's own, closed to other users). Returns a new document, never null, which
 * the caller frees with lenguaweb_destruye. A file that cannot be read is reported and
 * gives the document of an empty page. */
LENGUAWEB_API lenguaweb_t *lenguaweb_crea(const char *nombre_fichero_html,
                                          uint32_t idioma) LENGUAWEB_NOEXCEPT;

/* Frees the document whose handle's address is given and sets the handle to null. A
 * null address or handle is reported and nothing else happens. */
LENGUAWEB_API void lenguaweb_destruye(lenguaweb_t **lenguaweb) LENGUAWEB_NOEXCEPT;

/* Always 0. */
LENGUAWEB_API uint16_t lenguaweb_version_generacion(void) LENGUAWEB_NOEXCEPT;

/* Returns a new list holding copies of the document's texts, in page order, and
 * stores through IDs a new list of one identifier per text, which names its kind
 * (i_tipo_texto_t): "TITULO", "DESCRIPCION", "PALABRA_CLAVE", "TEXTO_<i>",
 * "ALTERNATIVO_IMAGEN_<i>", and from SEGMENTACION_BLOQUES also "TITULO_ELEMENTO_<i>",
 * "EJEMPLO_CAMPO_<i>", "ETIQUETA_ACCESIBLE_<i>", "RESUMEN_TABLA_<i>", "ETIQUETA_<i>",
 * "TEXTO_BOTON_<i>", "DESCRIPCION_ACCESIBLE_<i>", "ROL_ACCESIBLE_<i>",
 * "EJEMPLO_ACCESIBLE_<i>", "ABREVIATURA_CELDA_<i>", "OG_TITULO_<i>", "OG_DESCRIPCION_<i>",
 * "OG_ALTERNATIVO_IMAGEN_<i>", "OG_NOMBRE_SITIO_<i>", "TWITTER_TITULO_<i>",
 * "TWITTER_DESCRIPCION_<i>" and "TWITTER_ALTERNATIVO_IMAGEN_<i>", i being the text's
 * index. The caller owns both lists, which may outlive the document (the texts share
 * the document's bytes, read-only, through lista_cad_copia). A null document or IDs address is
 * reported: the result is then null (and *IDs null when IDs is given). A text cut at
 * inline tags (SEGMENTACION_CLASICA) has its character references read, "&lt;B&gt;"
 * as "<B>", but one that shows an inline tag both as code and as markup keeps its
 * "&lt;" and "&gt;", so that its translation can tell the two apart; a translation's
 * references are written as they stand. */
LENGUAWEB_API lista_cad_t *lenguaweb_dame_textos_a_trducir(const lenguaweb_t *lenguaweb,
                                                           lista_cad_t **IDs) LENGUAWEB_NOEXCEPT;

/* Writes the page to nombre_fichero_html with every text replaced by the text at the
 * same index of textos_traducidos (in the code page of idioma), and every link
 * reference ("@ID") in A HREF and IMG SRC values turned back into the link of the
 * record of tabla_links_a / tabla_links_img with that ID. IDs is the list that
 * lenguaweb_dame_textos_a_trducir gave; only its count is checked. Every argument
 * stays the caller's and is only read; either table may be null. CIERTO when the
 * whole page was written; the file is written whole or not at all. A list of
 * translations whose count is not the document's count of texts, or that holds a null
 * text, is reported and nothing is written (FALSO). A page whose charset declaration the
 * translations push past the first 1024 bytes, where browsers look for it, gets a META
 * charset (or, in UTF-8 with no room for one, a byte order mark) that browsers find. */
LENGUAWEB_API booleano lenguaweb_reconstruye_fichero_html(
    const lenguaweb_t *lenguaweb, const lista_cad_t *textos_traducidos, const lista_cad_t *IDs,
    const lista_reg_t *tabla_links_a, const lista_reg_t *tabla_links_img,
    const char *nombre_fichero_html, uint32_t idioma) LENGUAWEB_NOEXCEPT;

/* Writes the page to nombre_fichero_html with its own texts, and with every A HREF
 * and IMG SRC value that is not empty, not a reference ("@...") and not a place in
 * the page ("#...") replaced by a link reference. A record is appended to
 * tabla_links_a / tabla_links_img for every target that the table does not hold yet;
 * the caller owns those records (free them with tablalink_destruye). idioma is the
 * value given to lenguaweb_crea. CIERTO when the whole page was written. */
LENGUAWEB_API booleano lenguaweb_preprocesa_links(const lenguaweb_t *lenguaweb,
                                                  lista_reg_t *tabla_links_a,
                                                  lista_reg_t *tabla_links_img,
                                                  const char *nombre_fichero_html,
                                                  uint32_t idioma) LENGUAWEB_NOEXCEPT;

/* --- Link records -------------------------------------------------------------- */

/* Reads one link record from the stream (any saved version, 0 to 3) and returns it,
 * new, never null; the caller frees it with tablalink_destruye or hands it to a link
 * table. A failed stream gives a record of empty texts. */
LENGUAWEB_API tablalink_t *tablalink_lee(flujo_t *flujo) LENGUAWEB_NOEXCEPT;

/* Writes one link record (only read) to the stream, in the newest saved version. */
LENGUAWEB_API void tablalink_graba(const tablalink_t *tablalink, flujo_t *flujo) LENGUAWEB_NOEXCEPT;

/* Frees the record whose handle's address is given and sets the handle to null. */
LENGUAWEB_API void tablalink_destruye(tablalink_t **tablalink) LENGUAWEB_NOEXCEPT;

/* --- Tag scanning -------------------------------------------------------------- */

/* Reads the token of texto at *posicion (a tag or comment, a blank run or a text run),
 * moves *posicion past it and sets *tipo to 1 for a tag, 0 for text (a blank run
 * leaves *tipo as it was). When copia is not null, *copia receives a new text holding
 * the token (the old value is overwritten, not freed). Returns CIERTO while something
 * is left after the token, FALSO at the end of the text. texto is only read. */
LENGUAWEB_API booleano htmlparser_lee_siguiente_tag(const char *texto, uint32_t *posicion,
                                                    uint16_t *tipo,
                                                    char **copia) LENGUAWEB_NOEXCEPT;

/* The same over a wide text; positions count UTF-16 code units. */
LENGUAWEB_API booleano htmlparser_lee_siguiente_tag_u(const char16_t *texto, uint32_t *posicion,
                                                      uint16_t *tipo,
                                                      char16_t **copia) LENGUAWEB_NOEXCEPT;

/* Returns a new text, the value of the first " src" attribute of the tag text, else
 * of its first " href", without a leading "http://", "https://" or "ftp://"; null when
 * there is none or the value has no end. texto is only read. */
LENGUAWEB_API char *htmlparser_obtener_cualquier_link_externo(const char *texto) LENGUAWEB_NOEXCEPT;

/* --- Text-list translation ----------------------------------------------------- */

/* Returns a new list with one text for each text of textos, in order: its translation
 * through the text engine, or the text itself when the engine cannot divide it. IDs
 * (at least as many as textos) gives each text's identifier to the engine; origen,
 * destino and opciones go to the engine unchanged. When mensajes is not null, *mensajes
 * is left null or set to a new list of the engine's messages about the texts it could
 * not divide. The caller owns what is returned; the arguments are only read. */
LENGUAWEB_API lista_wcad_t *lenguatxt_traduce_textos(const lista_wcad_t *textos,
                                                     const lista_cad_t *IDs, uint32_t origen,
                                                     uint32_t destino, uint32_t opciones,
                                                     lista_wcad_t **mensajes) LENGUAWEB_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
