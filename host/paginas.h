// paginas.h - the work of each subcommand on one page.
#ifndef HOST_PAGINAS_H
#define HOST_PAGINAS_H

#include <cstdint>
#include <optional>
#include <string>

#include "tabla_links.h"

// Every function here works on one page, may run on any thread at the same time as
// others on other pages, takes its arguments only to read them (but for what it says it
// fills), and returns true when its output was written whole. On failure it returns
// false, stores in *error one line that names the file at fault and the reason, and
// leaves no output file behind (an existing one keeps its old contents). The library's
// failure reports about the page are printed with the page's path as they come.

// Writes the page's texts, read in the code page of idioma, as a PO file at po ("-":
// standard output).
bool paginas_extrae(const std::string &pagina, const std::string &po, uint32_t idioma,
                    std::string *error);

// Writes the page to salida with the translations of the PO file po. The page is read
// in the code page of idioma, or else of the PO file's X-Lenguaweb-Language, or else
// of the default language; the translations go in the code page of destino, or else of
// the page's language. An entry with an empty or fuzzy translation keeps the page's
// text. A PO file whose entries are not those of the page is refused. Link references
// are resolved through tablas when it is not null.
bool paginas_fusiona(const std::string &pagina, const std::string &po, const std::string &salida,
                     std::optional<uint32_t> idioma, std::optional<uint32_t> destino,
                     const TablasLinks *tablas, std::string *error);

// Writes the page with link references to a new temporary file beside salida, whose
// path it stores in *temporal (the caller renames it into place or removes it, see
// escritura.h). Links are looked up in conocidas (only read); the records of targets
// they lack are appended to nuevas, which take them over.
bool paginas_preprocesa(const std::string &pagina, const std::string &salida, uint32_t idioma,
                        const TablasLinks &conocidas, TablasLinks *nuevas, std::string *temporal,
                        std::string *error);

// Writes the page to salida with every text pseudo-translated by the text engine, in
// the code page of destino; the page is read in the code page of idioma.
bool paginas_pseudotraduce(const std::string &pagina, const std::string &salida, uint32_t idioma,
                           uint32_t destino, std::string *error);

#endif
