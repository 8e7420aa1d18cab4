// po.h - PO files of pages: one entry per text, read and written through libgettextpo.
#ifndef HOST_PO_H
#define HOST_PO_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lenguaweb.h"

struct EntradaPo {
  std::string contexto;    // msgctxt: the text's identifier, made unique in the page
  std::string texto;       // msgid: the text in UTF-8
  std::string traduccion;  // msgstr; empty when untranslated
  std::string comentario;  // the kind of text, written as an extracted comment
  bool difusa = false;     // marked fuzzy
  uint32_t indice = 0;     // position of the text among the page's texts
};

struct DocumentoPo {
  std::string pagina;              // X-Lenguaweb-Page
  std::optional<uint32_t> idioma;  // X-Lenguaweb-Language
  std::vector<EntradaPo> entradas;
};

// The entries of a page: one for each text that is not empty or blank (those cannot be
// a PO entry and have nothing to translate: a merge keeps them as they are), in page
// order. textos are the page's texts in the code page of idioma and ids their
// identifiers, as lenguaweb_dame_textos_a_trducir gives them (only read). An
// identifier that a page repeats (TITULO, DESCRIPCION, PALABRA_CLAVE) gets "#2", "#3"
// ... from its second text on, counting every text of the page.
std::vector<EntradaPo> po_entradas_de_pagina(const lista_cad_t *textos, const lista_cad_t *ids,
                                             uint32_t idioma);

// Writes the entries of a page as a UTF-8 PO file at ruta ("-": standard output) with
// a header naming the page and its language; the file is written whole through a
// temporary file or not at all. On failure returns false with "<file>: <reason>" in
// *error.
bool po_graba(const std::string &ruta, const std::string &pagina, uint32_t idioma,
              const std::vector<EntradaPo> &entradas, std::string *error);

// Reads a PO file: its header fields and its entries in file order (not the header,
// nor obsolete entries); a file whose charset is not UTF-8 (or ASCII) is refused. On
// failure returns false with "<file>: <reason>" in *error. Safe from any thread:
// libgettextpo, which keeps global state, is entered by one thread at a time.
bool po_lee(const std::string &ruta, DocumentoPo *documento, std::string *error);

// Compares the entries of a PO file with those of its page: the same count, and the
// same msgctxt and msgid in the same order. Empty when they match; otherwise a message
// that names the first entry that differs.
std::string po_compara(const std::vector<EntradaPo> &pagina, const std::vector<EntradaPo> &po);

#endif
