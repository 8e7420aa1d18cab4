// paginas.h - the work of each subcommand on one page.
#ifndef HOST_PAGINAS_H
#define HOST_PAGINAS_H

#include <cstdint>
#include <optional>
#include <string>

#include "tabla_links.h"

// How the work on a page ended.
enum class Resultado {
  hecha,       // the output is written
  aviso,       // the output is written, but not whole: *error says what it lacks
  fallida,     // an input was refused or could not be read: no output written
  no_escrita,  // the output could not be written
};

// Every function here works on one page, may run on any thread at the same time as
// others on other pages, and takes its arguments only to read them (but for what it
// says it fills). Unless the page is done (hecha), it stores in *error one line that
// names the file at fault and the reason; an output that is not written leaves no file
// behind (an existing one keeps its old contents). The library's failure reports about
// the page are printed with the page's path as they come.

// Writes the page's texts, read in the code page of idioma, as a PO file at po ("-":
// standard output).
Resultado paginas_extrae(const std::string &pagina, const std::string &po, uint32_t idioma,
                         std::string *error);

// Writes the page to salida with the translations of the PO file po. The page is read
// in the code page of idioma, or else of the PO file's X-Lenguaweb-Language, or else
// of the default language; the translations go in the code page of destino, or else of
// the page's language. An entry with an empty or fuzzy translation keeps the page's
// text. A PO file whose entries are not those of the page is refused. Link references
// are resolved through tablas when it is not null; a reference that they do not resolve
// stays as it stands, and makes the result an aviso that names it.
Resultado paginas_fusiona(const std::string &pagina, const std::string &po,
                          const std::string &salida, std::optional<uint32_t> idioma,
                          std::optional<uint32_t> destino, const TablasLinks *tablas,
                          std::string *error);

// Writes the page with link references for salida, into a file that *escritura (a new
// writer) puts in place when the caller ends it with fichero_escritura_termina, or drops
// with fichero_escritura_descarta. Links are looked up in conocidas (only read); the
// records of targets they lack are appended to nuevas, which take them over.
Resultado paginas_preprocesa(const std::string &pagina, const std::string &salida, uint32_t idioma,
                             const TablasLinks &conocidas, TablasLinks *nuevas,
                             fichero_escritura_t **escritura, std::string *error);

// Writes the page to salida with every text pseudo-translated by the text engine, in
// the code page of destino; the page is read in the code page of idioma.
Resultado paginas_pseudotraduce(const std::string &pagina, const std::string &salida,
                                uint32_t idioma, uint32_t destino, std::string *error);

#endif
