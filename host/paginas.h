// paginas.h - the work of each subcommand on one page.
#ifndef HOST_PAGINAS_H
#define HOST_PAGINAS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "argumentos.h"
#include "po.h"
#include "tabla_links.h"

// How the work on a page ended.
enum class Resultado {
  hecha,       // the output is written
  aviso,       // the output is written, but not whole: *error says what it lacks (or is
               // empty when that was said already)
  fallida,     // an input was refused or could not be read: no output written
  no_escrita,  // the output could not be written
};

// How a merge went, in PO entries as msgfmt --statistics counts them: those of the
// page, those translated, those left as the source because fuzzy, those refused.
struct CuentasPo {
  uint32_t entradas = 0, traducidas = 0, difusas = 0, rechazadas = 0, con_nul = 0;
};

// "177 of 222 entries translated; 5 fuzzy left as the source (--fuzzy uses them)".
std::string resumen_cuentas(const CuentasPo &cuentas);

// Every function here works on one page, may run on any thread at the same time as
// others on other pages, and takes its arguments only to read them (but for what it
// says it fills). It reads the options of orden: the page's language (-l; else, where
// one is read, the PO file's X-Lenguaweb-Language; else the page's <html lang>; else the
// default), the segmentation, --utf8. Unless the page is done (hecha), it stores in
// *error one line that names the file at fault and the reason; an output that is not
// written leaves no file behind (an existing one keeps its old contents). The library's
// failure reports about the page are printed with the page's path as they come.

// Writes the page's texts as a PO file at po ("-": standard output); its Language is
// that of -t, when given. An existing PO file that holds translations is not replaced
// (but with --force): it is updated as paginas_actualiza updates it, which is said on
// standard error.
Resultado paginas_extrae(const std::string &pagina, const std::string &po, const Orden &orden,
                         std::string *error);

// Describes the page's entries for a site's catalogue (po_une_al_catalogo) into *descritas.
Resultado paginas_describe(const std::string &pagina, const Orden &orden,
                           std::vector<EntradaDescrita> *descritas, std::string *error);

// A site's catalogue read once for the merge of all its pages: its header and entries,
// found by their msgid (and by the msgid with its references read as characters, for a
// catalogue written before msgids held them).
struct CatalogoLeido {
  CabeceraPo cabecera;
  EntradasDePagina entradas;
};

// Reads the PO file at po into *catalogo; false with the reason in *error.
bool paginas_lee_catalogo(const std::string &po, CatalogoLeido *catalogo, std::string *error);

// Writes the page to salida with the translations of the PO file po, each found by its
// text, in any order; entries that the page lacks are left aside. The translations go in
// the code page of -t, else of the PO file's Language, else of the page's language. A
// text without a translation (empty, or fuzzy without --fuzzy) keeps the page's. A
// translation whose tags are not its source text's is refused: it is named with the
// reason, the source text is kept, and the page is an aviso. The counts go to *cuentas.
// A PO file that has none of the page's texts, or whose X-Lenguaweb-Page names another
// page (but with --any-page), is refused. Link references are resolved through tablas when
// it is not null; a reference that they do not resolve, or whose record gives a link that
// would run, stays as it stands, and makes the result an aviso that names it. With a
// catalogue (not null), its entries serve instead of po's, and a page none of whose texts
// it holds is no fault: a page new to the site.
Resultado paginas_fusiona(const std::string &pagina, const std::string &po,
                          const std::string &salida, const Orden &orden, const TablasLinks *tablas,
                          const CatalogoLeido *catalogo, CuentasPo *cuentas, std::string *error);

// Writes to salida the PO file of the page's texts with the translations of its old PO
// file po carried over by msgmerge: a text that changed gets the old translation marked
// fuzzy. The page is cut as the old PO file says unless --segments is given. salida may
// be po: it is replaced whole once written. An old PO file of another page is refused
// as by paginas_fusiona. A text that po does not translate takes the translation of
// --compendium's files; an empty po (a new page) starts from the page's template.
Resultado paginas_actualiza(const std::string &pagina, const std::string &po,
                            const std::string &salida, const Orden &orden, std::string *error);

// Writes the page with link references for salida, into a file that *escritura (a new
// writer) puts in place when the caller ends it with fichero_escritura_termina, or drops
// with fichero_escritura_descarta. Links are looked up in conocidas (only read); the
// records of targets they lack are appended to nuevas, which take them over.
Resultado paginas_preprocesa(const std::string &pagina, const std::string &salida,
                             const Orden &orden, const TablasLinks &conocidas, TablasLinks *nuevas,
                             fichero_escritura_t **escritura, std::string *error);

// Writes the page to salida with every text pseudo-translated by the text engine, in
// the code page of -t (default: the page's language).
Resultado paginas_pseudotraduce(const std::string &pagina, const std::string &salida,
                                const Orden &orden, std::string *error);

#endif
