// pagina.h - what the checks of one page share: its bytes, its reading, the library's document.
#ifndef SITIOS_PAGINA_H
#define SITIOS_PAGINA_H

#include <cstdint>
#include <string>
#include <vector>

#include "arbol_html.h"
#include "comprobacion.h"
#include "lectura_navegador.h"
#include "lenguaweb.h"

namespace sitios {

// A page document with its texts and identifiers, freed however the checks end.
struct Documento {
  lenguaweb_t *doc = nullptr;
  lista_cad_t *ids = nullptr;  // before textos, which fills it
  lista_cad_t *textos = nullptr;
  Documento(const std::string &camino, uint32_t idioma);
  Documento(const Documento &) = delete;
  Documento &operator=(const Documento &) = delete;
  ~Documento();
};

// A value of the page that gives a text to translate: IMG ALT, or the CONTENT of a
// META whose NAME is DESCRIPTION or KEYWORDS.
struct ValorATraducir {
  uint32_t tipo;
  size_t nodo;  // its element in the parsed page
  const AtributoHtml *atributo;
};

// One page under check. Each check reads what the document check found and adds its
// failures to r.
struct Pagina {
  std::string camino;
  uint32_t idioma;
  std::string carpeta;  // where intermediate pages are written
  Opciones opciones;
  ResultadoPagina &r;

  std::string bytes{};
  PaginaLeida leida{};
  std::vector<NodoHtml> arbol{};
  std::vector<std::string> textos{}, trozos{};
  std::vector<uint32_t> tipos{};
  std::vector<size_t> inicios{};  // where each piece begins in the page's bytes
  std::vector<ValorATraducir> valores{};
  std::vector<std::vector<size_t>> de_trozo{};  // the values in each piece
  std::string propia{};                         // rebuilt with its own texts, decoded

  void falla(const std::string &que, const std::string &diferencia,
             const std::string &categoria = "other", Ejemplos ejemplos = {}) {
    r.fallos.push_back({que, categoria, diferencia, std::move(ejemplos)});
  }
  std::string ruta(const char *nombre) const { return carpeta + "/" + nombre; }
  size_t fin_de(size_t k) const { return inicios[k] + trozos[k].size(); }
};

// The whole file, "" when it cannot be read.
std::string lee_fichero(const std::string &camino);

// Whether a kind of text is a body text (the title counts as one).
bool es_cuerpo(uint32_t tipo);

const AtributoHtml *atributo(const NodoHtml &n, std::string_view nombre);

// The kind of fault that two texts that differ show ("PRE blanks" when pre and only
// their blanks differ, "nbsp", "charset" when they part at a character that is not
// ASCII), or "" for none of these.
std::string categoria_textos(std::string_view esperado, std::string_view obtenido, bool pre);

// The kind of fault that the first difference of two parsed pages shows, at node i of
// both: as categoria_textos for two texts or two values of an attribute; else "quoted '>'"
// when the expected page has a '>' inside a quoted attribute value; else "other".
std::string categoria_de(const std::vector<NodoHtml> &esperado,
                         const std::vector<NodoHtml> &obtenido, size_t i);

// The kinds of fault of every pair of nodes that differ from node i on, while the two
// pages keep the same nodes, joined with '+' ("nbsp+PRE blanks"); *ejemplos, when
// given, gets the first pair of each kind.
std::string categorias_de(const std::vector<NodoHtml> &esperado,
                          const std::vector<NodoHtml> &obtenido, size_t i,
                          Ejemplos *ejemplos = nullptr);

// The checks, one per file, in the order they run. comprueba_documento reads the page
// and the document and says whether the others can go on; comprueba_propios leaves the
// page rebuilt with its own texts in p.propia for comprueba_enlaces.
bool comprueba_documento(Pagina &p, const Documento &doc);
void comprueba_propios(Pagina &p, const Documento &doc);
void comprueba_marcas(Pagina &p, const Documento &doc);
void comprueba_enlaces(Pagina &p, const Documento &doc);
void comprueba_orden(Pagina &p);

}  // namespace sitios

#endif
