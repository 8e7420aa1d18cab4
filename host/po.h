// po.h - PO files of pages: one entry per distinct text, written as a stream and read as
// one, with libgettextpo reading what the stream reader does not (and telling what is wrong).
#ifndef HOST_PO_H
#define HOST_PO_H

#include <cstdint>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "argumentos.h"
#include "companion/opciones.h"
#include "lenguaweb.h"
#include "plegado.h"

// Where a text of a page comes from, as the library tells it (origen_texto_t).
struct OrigenTexto {
  uint32_t linea = 0;         // 0: not known
  std::string_view elemento;  // lower case; empty when not known
  std::string_view atributo;  // empty for a body text
  std::string_view nota;      // the page's note to its translators, as its comment; or empty
  bool sin_traducir = false;  // the page marks it as not to be translated
};

// The origins of a page's texts, filled by po_anota_origen while lenguaweb_crea runs; a
// text the library told nothing about has an empty origin. A page has millions of texts
// and a few dozen names: each name is kept once, and the origins point into them.
struct OrigenesDePagina {
  std::vector<OrigenTexto> textos;          // by the text's index
  std::unordered_set<std::string> nombres;  // of elements and attributes
  // The origin of a text, or null when the library told none.
  const OrigenTexto *de(uint32_t indice) const {
    return indice < textos.size() ? &textos[indice] : nullptr;
  }
};

// A receptor of text origins (origen_receptor_t) whose contexto is an OrigenesDePagina.
void po_anota_origen(const origen_texto_t *origen, void *contexto);

// What an entry's comment says a text comes from: "<h2>", "title of <abbr>"; for a text
// without origin (null, or no element), what its identifier id says, if anything ("" when
// id is null too).
std::string po_procedencia(const OrigenTexto *origen, const char *id);

struct EntradaPo {
  std::string contexto;  // msgctxt; empty when the entry has none
  // Read from a file: it had a msgctxt, an empty one too. gettext takes msgctxt "" for
  // another entry than one with none.
  bool con_contexto = false;
  std::string texto;              // msgid: the text in UTF-8
  std::string traduccion;         // msgstr; empty when untranslated
  bool difusa = false;            // marked fuzzy
  bool encontrada = false;        // a page's entry: the PO file has it
  std::vector<uint32_t> indices;  // a page's entry: the texts of the page it stands for
  // A page's entry whose msgid holds codes for markup (plegado.h): for each of its texts,
  // which of EntradasDePagina::textos is that text in full; and what the codes stand for.
  std::vector<uint32_t> formas;
  std::string codigos;
  std::string del_po;  // a page's entry found in another form: the msgid as the PO file has it
};

// Whether an entry read from a file has an empty msgctxt: gettext reads it as another entry
// than one with none, and it serves a page's text only where the file has none without one.
inline bool po_de_contexto_vacio(const EntradaPo &e) {
  return e.con_contexto && e.contexto.empty();
}

// A text in full among the texts of an entry with codes (an attribute that reads as the
// msgid): EntradaPo::formas holds this for it.
constexpr uint32_t kTextoSinCodigos = UINT32_MAX;

// The entries of a page: one for each distinct text that has a letter or a digit (a text
// without one has nothing to translate, and a merge keeps it as it is), in the order of
// their first text. Identical texts share an entry; only the META keywords, a list of
// terms, get a msgctxt of their own ("keywords"), so that they are translated apart
// from a running text that reads the same.
struct EntradasDePagina {
  std::deque<EntradaPo> entradas;  // never moved: the index points into their texts
  std::unordered_map<std::string_view, uint32_t> indice[2];  // by msgid; [1]: with msgctxt
  uint32_t textos = 0;  // the texts of the page that have an entry
  // Each body text with markup in the form its msgid does not show: in full where the
  // msgid has codes, with codes where it has the markup in full. Never moved.
  std::deque<std::string> otras_formas;
  std::deque<TextoPlegado> plegados;  // beside otras_formas: each text in full, folded
  struct OtraForma {
    uint32_t entrada;  // in entradas
    uint32_t forma;    // in otras_formas
  };
  std::unordered_map<std::string_view, OtraForma> por_otra_forma[2];  // [1]: with msgctxt
  FormaMarcado marcado = FormaMarcado::codigos;
};

// Fills *entradas from a page's texts (in the code page of idioma) and identifiers, as
// lenguaweb_dame_textos_a_trducir gives them (only read); a body text's markup in the
// msgid as marcado says. A text whose origin in sin_traducir (when given) says that the
// page marks it as not to be translated gives no entry.
void po_entradas_de_pagina(const lista_cad_t *textos, const lista_cad_t *ids, uint32_t idioma,
                           FormaMarcado marcado, EntradasDePagina *entradas,
                           const OrigenesDePagina *sin_traducir = nullptr);

// The page's entry that a PO file's entry of another form stands for: its msgid with the
// page's references (as PO files were written before msgids held characters), or with the
// markup in the form the page's msgid does not show. Its translation is then put into
// the page's form: *traduccion is rewritten. Null when none. Valid while *entradas lives.
EntradaPo *po_busca_otra_forma(EntradasDePagina *entradas, std::string_view contexto,
                               std::string_view texto, std::string *traduccion);

// The translation of a page's entry for one of its texts (k, an index into e.indices) with
// the page's own markup of that text: codes unfolded. completo: the text in full.
std::string po_traduccion_completa(const EntradasDePagina &entradas, const EntradaPo &e, size_t k,
                                   std::string *completo);

// "codes" or "full", and back; nullopt for any other name.
const char *po_nombre_marcado(FormaMarcado marcado);
std::optional<FormaMarcado> po_lee_marcado(std::string_view nombre);

// The page's entry with that msgctxt and msgid, or null. Valid while *entradas lives.
EntradaPo *po_busca(EntradasDePagina *entradas, std::string_view contexto, std::string_view texto);
const EntradaPo *po_busca(const EntradasDePagina &entradas, std::string_view contexto,
                          std::string_view texto);

// The msgctxt that a text of a kind gets (lenguaweb_dame_textos_a_trducir's identifier):
// "keywords" for TIPO_PALABRA_CLAVE, empty for every other kind.
const char *po_contexto_de(std::string_view id);

// What a PO file says about its page and its translation.
struct CabeceraPo {
  std::optional<uint32_t> idioma;           // X-Lenguaweb-Language: the page's
  std::optional<uint32_t> traduccion;       // Language: the translation's
  std::string traduccion_nombre;            // Language as written, when it is known
  std::optional<segmentacion_t> segmentos;  // X-Lenguaweb-Segments
  std::optional<FormaMarcado> marcado;      // X-Lenguaweb-Markup
  std::string pagina;                       // X-Lenguaweb-Page; empty when absent
  std::string juego;  // the charset its strings are in, when not UTF-8 (po_lee converts them)
};

// "blocks" or "classic", and back; nullopt for any other name.
const char *po_nombre_segmentos(segmentacion_t segmentacion);
std::optional<segmentacion_t> po_lee_segmentos(std::string_view nombre);

// What a PO file of a page is written with besides its entries.
struct PaginaPo {
  std::string ruta;                    // the page, as the references and the header name it
  uint32_t idioma = 0;                 // the page's language
  std::optional<uint32_t> traduccion;  // the translation's language, when known
  std::string traduccion_nombre{};     // its name for Language; empty: that of traduccion
  segmentacion_t segmentos = SEGMENTACION_BLOQUES;
  FormaMarcado marcado = FormaMarcado::codigos;
  const OrigenesDePagina *origenes = nullptr;  // may be null or short
  const lista_cad_t *ids = nullptr;            // the texts' identifiers (for texts without origin)
};

// Writes the entries as a UTF-8 PO file at ruta ("-": standard output): a header naming
// the page, its language, the translation's and the segmentation; then each entry with an
// extracted comment for each kind of element or attribute its texts come from ("<h2>",
// "title of <abbr>") and a reference to the page and line of each. The file is written
// whole or not at all; on failure returns false with the reason, naming the file, in *error.
bool po_graba(const std::string &ruta, const PaginaPo &pagina, const EntradasDePagina &entradas,
              std::string *error);

// An entry of a site's catalogue as its pages describe it: msgctxt, msgid, the kinds of
// element or attribute its texts come from ("<h2>") and where they stand (" a.html:12").
struct EntradaDescrita {
  std::string contexto, texto;
  std::vector<std::string> procedencias;
  std::string referencias;
};

// The entries of a page described for a catalogue, as po_graba would write them.
std::vector<EntradaDescrita> po_describe_entradas(const PaginaPo &pagina,
                                                  const EntradasDePagina &entradas);

// One entry per msgctxt and msgid of many pages, in the order of their first text, each
// with the comments and references of every page where it stands.
struct CatalogoPo {
  std::deque<EntradaDescrita> entradas;
  std::unordered_map<std::string_view, size_t> indice[2];  // by msgid; [1]: with msgctxt
};

// Joins the entries of one more page to *catalogo (they are taken).
void po_une_al_catalogo(CatalogoPo *catalogo, std::vector<EntradaDescrita> &&de_pagina);

// Writes a catalogue as a template at ruta, with the header of cabecera (whose ruta names
// the folder; an idioma of 0 is left out, each page then read in its own language).
bool po_graba_catalogo(const std::string &ruta, const PaginaPo &cabecera,
                       const CatalogoPo &catalogo, std::string *error);

// Writes entries (msgctxt, msgid, msgstr, fuzzy) as a UTF-8 PO file at ruta, for msgmerge
// to take as a compendium. false with the reason in *error.
bool po_graba_compendio(const std::string &ruta, const std::vector<EntradaPo> &entradas,
                        std::string *error);

// A PO file read entry by entry, never held whole. It reads the form that this command
// and gettext's tools write and that PO editors keep (comments, msgctxt, msgid, msgstr,
// strings with C escapes over several lines; obsolete entries and previous strings are
// skipped); for anything else (plural forms, bytes that are not UTF-8, a syntax error)
// it answers otra_forma, and the caller reads the file with po_lee instead. A UTF-8
// byte order mark before the first line is skipped. An entry whose msgctxt and msgid
// may have come before (by their hash) is otra_forma too, for po_lee to refuse.
struct LectorPo {
  std::FILE *fichero = nullptr;
  std::string ruta;
  char *linea = nullptr;  // the line read ahead, when pendiente
  size_t capacidad = 0;
  size_t largo = 0;
  bool pendiente = false;
  bool primera = true;                // no line read yet
  std::unordered_set<size_t> leidas;  // hashes of the msgctxt and msgid of each entry
  LectorPo() = default;
  LectorPo(const LectorPo &) = delete;
  LectorPo &operator=(const LectorPo &) = delete;
  ~LectorPo();
};

enum class LecturaPo { entrada, fin, otra_forma, fallo };

// Opens ruta and reads its header. fallo, with "<file>: <reason>" in *error, when the
// file cannot be opened, is in a charset iconv does not know or names an unknown language
// or segmentation; otra_forma when it is in a charset other than UTF-8.
LecturaPo po_abre(const std::string &ruta, LectorPo *lector, CabeceraPo *cabecera,
                  std::string *error);

// Reads the next entry into *entrada: entrada, fin after the last, or otra_forma.
LecturaPo po_lee_entrada(LectorPo *lector, EntradaPo *entrada);

// Reads a whole PO file through libgettextpo: its header and its entries in file order
// (not the header, nor obsolete entries), past a UTF-8 byte order mark, their strings in
// UTF-8 whatever charset the header names. A file that is not valid PO (two entries of one
// msgctxt and msgid too), with a string that is not in the charset it names, that holds a
// NUL in a string, or whose header names an unknown language or segmentation is
// refused: false with "<file>: <reason>" in *error. Safe from any thread: libgettextpo,
// which keeps global state, is entered by one thread at a time.
bool po_lee(const std::string &ruta, CabeceraPo *cabecera, std::vector<EntradaPo> *entradas,
            std::string *error);

// The header of a PO file: as po_abre reads it, or through po_lee when the stream reader
// cannot. false with the reason in *error.
bool po_lee_cabecera(const std::string &ruta, CabeceraPo *cabecera, std::string *error);

// A PO file for a reader that takes a UTF-8 byte order mark for a syntax error
// (libgettextpo, msgmerge): when the file at original begins with one, a copy without it
// in the run's utilities folder, removed when the object ends.
struct PoSinMarca {
  std::string original, copia;  // copia: empty when none was made
  std::string bytes;            // the file's bytes, without the mark
  const std::string &ruta() const { return copia.empty() ? original : copia; }
  PoSinMarca() = default;
  PoSinMarca(const PoSinMarca &) = delete;
  PoSinMarca &operator=(const PoSinMarca &) = delete;
  ~PoSinMarca();
};

// Reads the file at ruta into *sin, and makes the copy when it begins with a mark. false
// with the reason in *error when it cannot be read or the copy cannot be written.
bool po_sin_marca(const std::string &ruta, PoSinMarca *sin, std::string *error);

// mensaje with the copy's path, wherever it stands, written as the original's.
std::string po_nombra_original(const PoSinMarca &sin, std::string mensaje);

// A header value (a page's name) on one line and in UTF-8, as a PO file's header and
// references hold it: bytes that are not UTF-8 written \xNN (informes_escapa), control
// characters, which would end the field, '?'.
std::string po_en_una_linea(std::string_view texto);

// msgid for a message: cut at a character after 60 bytes, in quotes.
std::string po_describe(std::string_view texto);

#endif
