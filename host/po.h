// po.h - PO files of pages: one entry per text, written and read as a stream, with
// libgettextpo reading what the stream reader does not (and telling what is wrong).
#ifndef HOST_PO_H
#define HOST_PO_H

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "lenguaweb.h"

struct EntradaPo {
  std::string contexto;              // msgctxt: the text's identifier, made unique in the page
  std::string texto;                 // msgid: the text in UTF-8
  std::string traduccion;            // msgstr; empty when untranslated
  const char *comentario = nullptr;  // the kind of text, written as an extracted comment
  bool difusa = false;               // marked fuzzy
  uint32_t indice = 0;               // position of the text among the page's texts
};

// The header fields that a merge uses.
struct CabeceraPo {
  std::optional<uint32_t> idioma;  // X-Lenguaweb-Language
};

// The entries of a page, one at a time: one for each text that is not empty or blank
// (those cannot be a PO entry and have nothing to translate: a merge keeps them as they
// are), in page order. textos are the page's texts in the code page of idioma and ids
// their identifiers, as lenguaweb_dame_textos_a_trducir gives them (only read; they
// must outlive the object). An identifier that a page repeats (TITULO, DESCRIPCION,
// PALABRA_CLAVE) gets "#2", "#3" ... from its second text on, counting every text.
struct EntradasDePagina {
  const lista_cad_t *textos = nullptr;
  const lista_cad_t *ids = nullptr;
  uint32_t idioma = 0;
  uint32_t siguiente = 0;
  std::unordered_map<std::string, uint32_t> vistas = {};  // identifiers that may repeat
};

// Fills *entrada with the page's next entry; false after the last.
bool po_siguiente_de_pagina(EntradasDePagina *pagina, EntradaPo *entrada);

// Writes the entries of a page as a UTF-8 PO file at ruta ("-": standard output) with a
// header naming the page and its language; the file is written whole or not at all.
// On failure returns false with the reason, which names the file, in *error.
bool po_graba(const std::string &ruta, const std::string &pagina, uint32_t idioma,
              const lista_cad_t *textos, const lista_cad_t *ids, std::string *error);

// A PO file read entry by entry, never held whole. It reads the form that this command
// writes and that PO editors keep (comments, msgctxt, msgid, msgstr, strings with C
// escapes over several lines); for anything else (plural forms, obsolete or previous
// entries, bytes that are not UTF-8, a syntax error) it answers otra_forma, and the
// caller reads the file with po_lee instead.
struct LectorPo {
  std::FILE *fichero = nullptr;
  std::string ruta;
  char *linea = nullptr;  // the line read ahead, when pendiente
  size_t capacidad = 0;
  size_t largo = 0;
  bool pendiente = false;
  LectorPo() = default;
  LectorPo(const LectorPo &) = delete;
  LectorPo &operator=(const LectorPo &) = delete;
  ~LectorPo();
};

enum class LecturaPo { entrada, fin, otra_forma, fallo };

// Opens ruta and reads its header. fallo, with "<file>: <reason>" in *error, when the
// file cannot be opened, is not in UTF-8 or names an unknown language.
LecturaPo po_abre(const std::string &ruta, LectorPo *lector, CabeceraPo *cabecera,
                  std::string *error);

// Reads the next entry into *entrada: entrada, fin after the last, or otra_forma.
LecturaPo po_lee_entrada(LectorPo *lector, EntradaPo *entrada);

// Reads a whole PO file through libgettextpo: its header and its entries in file order
// (not the header, nor obsolete entries). A file that is not valid PO, not in UTF-8 or
// that names an unknown language is refused: false with "<file>: <reason>" in *error.
// Safe from any thread: libgettextpo, which keeps global state, is entered by one
// thread at a time.
bool po_lee(const std::string &ruta, CabeceraPo *cabecera, std::vector<EntradaPo> *entradas,
            std::string *error);

// Compares the entries of a PO file with those of its page: the same count, and the
// same msgctxt and msgid in the same order. Empty when they match; otherwise a message
// that names the first entry that differs.
std::string po_compara(const std::vector<EntradaPo> &pagina, const std::vector<EntradaPo> &po);

#endif
