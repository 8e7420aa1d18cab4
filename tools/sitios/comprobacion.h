// comprobacion.h - one page through the library's main road, the command and the link round trip.
#ifndef SITIOS_COMPROBACION_H
#define SITIOS_COMPROBACION_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "arbol_html.h"

namespace sitios {

// A page is read as the command's check reads it.
using namespace navegador;

// Each kind of fault that a difference shows, with the first pair of nodes that shows
// it, on one line.
using Ejemplos = std::map<std::string, std::string>;

// One check that a page failed: the check's name, the kinds of fault that its
// differences show ("PRE blanks", "nbsp", "charset", "quoted '>'", "other", joined with
// '+'), the first difference, and an example of each kind where the check has them.
struct Fallo {
  std::string comprobacion;
  std::string categoria;
  std::string detalle;
  Ejemplos ejemplos{};
};

// What one page gave and every check it failed.
struct ResultadoPagina {
  std::string camino;
  uint32_t idioma = 0;
  std::string codificacion;  // as a browser decodes the page, and where that came from
  size_t bytes = 0;
  size_t textos = 0;                       // texts to translate
  size_t en_tags = 0;                      // of them, ALT and META texts
  size_t enlaces = 0;                      // A HREF and IMG SRC values moved out and back
  std::map<std::string, size_t> informes;  // expected library reports, by condition
  std::vector<Fallo> fallos;
  std::string rota;  // why the page's own markup is broken: listed, its failures not counted
};

// How the checks run: the lenguaweb command (its path; "" leaves the command's checks
// out) and the segmentation it is asked for ("" its default; else passed on as
// --segmentacion).
struct Opciones {
  std::string orden;
  std::string segmentacion;
};

// Runs every check on the page at camino read in the language idioma, writing its
// intermediate pages in the folder carpeta (which must exist; files there are
// overwritten). The library's reports on this thread are caught while it runs (see
// comprobacion_instala_receptor). Never throws for a bad page: failures are results.
ResultadoPagina pagina_comprueba(const std::string &camino, uint32_t idioma,
                                 const std::string &carpeta, const Opciones &opciones);

// Makes the library's failure reports reach pagina_comprueba on the thread that made
// them. Call once, before any page.
void comprobacion_instala_receptor();

// "" when the two pages (their bytes, each decoded as a browser decodes it, a page
// without a declaration in the language idioma) show a reader the same, else the first
// difference; *categoria gets the kinds of fault it shows, and *ejemplos, when given,
// an example of each.
std::string lecturas_compara(std::string_view original, std::string_view escrita, uint32_t idioma,
                             std::string *categoria, Ejemplos *ejemplos = nullptr);

// A link value of the page that the library treats, as the parser finds it.
struct EnlaceEnPagina {
  size_t inicio;  // the value's bytes, quotes excluded
  size_t fin;
  bool entre_comillas;  // between double quotes
  bool img;             // IMG SRC, else the HREF of a tag whose name begins with A
  std::string valor;    // the bytes as they stand, entities not decoded
  bool activo;          // a browser runs it (javascript:, vbscript:, data:)
};

// Every A HREF (any tag whose name begins with A) and IMG SRC value of the parsed page
// whose bytes stand in texto, in page order.
std::vector<EnlaceEnPagina> enlaces_de(const std::vector<NodoHtml> &arbol, std::string_view texto);

// Whether the library moves the link out into a link table: not empty, not a reference
// ("@...") nor a place in the page ("#..."), holding no quote, '<' or '>', not active, and
// written back byte for byte by its record.
bool enlace_se_traslada(const EnlaceEnPagina &enlace);

// The page texto with every link that is moved out written back as its record rebuilds
// it; everything else as it stands.
std::string pagina_con_enlaces_reconstruidos(std::string_view texto,
                                             const std::vector<EnlaceEnPagina> &enlaces);

// "" when the references of the preprocessed page (its links, enlaces_pre, in page
// order) are those of the page's own links (enlaces): "@" and the identifier of each
// link that is moved out, every other value as it was; else the first that is not.
std::string compara_referencias(const std::vector<EnlaceEnPagina> &enlaces,
                                const std::vector<EnlaceEnPagina> &enlaces_pre);

}  // namespace sitios

#endif
