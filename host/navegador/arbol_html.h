// arbol_html.h - pages parsed by a real HTML parser (gumbo), flattened for comparison.
#ifndef HOST_ARBOL_HTML_H
#define HOST_ARBOL_HTML_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct GumboInternalNode;

namespace navegador {

// An attribute as the parser reads it. inicio/fin bound the value's bytes in the parsed
// text, quotes excluded; both are npos when the value is not in the text (an attribute
// without '=' or one the parser made up).
struct AtributoHtml {
  std::string nombre;  // lower case
  std::string valor;   // entities decoded
  size_t inicio;
  size_t fin;
  char comillas;  // '"' or '\'' around the value in the text, else 0
};

enum class ClaseNodo { elemento, texto, comentario };

// One node of the parsed tree, in document order. The ruta of an element is the chain of
// element names from the root with each one's place among its element siblings
// ("/html[1]/body[2]/p[3]"); a text or comment carries the ruta of its parent.
struct NodoHtml {
  ClaseNodo clase;
  std::string ruta;
  std::string nombre;  // elements: tag name, lower case
  std::vector<AtributoHtml> atributos;
  std::string texto;   // texts and comments: entities decoded
  bool crudo;          // text of a SCRIPT or STYLE element
  bool preformateado;  // text inside PRE, TEXTAREA, LISTING, XMP or PLAINTEXT
  size_t inicio;       // the node's first byte in the parsed text (npos when made up)
  size_t fin;
};

// Parses html (UTF-8) and returns its nodes in document order. Any bytes parse: nothing
// fails. Works on its own copy, so nothing returned points into html; offsets count
// from its first byte.
std::vector<NodoHtml> arbol_lee(std::string_view html);

// texto with every run of ASCII blanks (space, tab, line feed, carriage return, form
// feed) made one space, as a browser shows it; a no-break space is no blank. Nothing is
// trimmed.
std::string arbol_colapsa(std::string_view texto);

// What a reader sees of a text node: SCRIPT and STYLE contents and preformatted text as
// they stand, every other text with its blanks collapsed.
std::string arbol_vista(const NodoHtml &nodo);

// Compares two trees as a reader sees them: the same elements in the same places, the
// same attributes and values (ALT, TITLE and CONTENT with blanks collapsed, the rest as
// they stand), the same texts as arbol_vista shows them, the same comments. Entities are
// compared as the parser decoded each side. Returns "" when they agree, else the first
// difference with the nodes around it and where the two texts part; *nodo, when given,
// is set to its index (in both trees) when they differ.
std::string arbol_compara(const std::vector<NodoHtml> &esperado,
                          const std::vector<NodoHtml> &obtenido, size_t *nodo = nullptr);

// Whether a reader sees the two nodes alike, as arbol_compara compares them.
bool arbol_nodos_iguales(const NodoHtml &a, const NodoHtml &b);

// Why a page's own markup is broken so that no two readers need agree on it, or "": a
// quoted attribute value that runs over a line end into what reads as markup (a quote
// that never closed where it should), or a comment that never ends.
std::string arbol_roto(const std::vector<NodoHtml> &arbol, std::string_view texto);

// A node written on one line, for messages.
std::string arbol_describe(const NodoHtml &nodo);

// The name of an element of gumbo's tree, in lower case ("?" when the page holds none).
std::string arbol_nombre_de_elemento(const GumboInternalNode &elemento);

// The first byte where a and b differ (the shorter's size when one begins the other,
// npos when equal), and a one-line view of both around it, for messages.
size_t primera_diferencia(std::string_view a, std::string_view b);
std::string muestra_diferencia(std::string_view esperado, std::string_view obtenido);

// A stretch of a text on one line, cut to largo bytes at most, in quotes, its blanks
// made visible (a_la_vista).
std::string fragmento(std::string_view texto, size_t desde, size_t largo);

// texto with line feeds as "⏎", carriage returns as "␍", tabs as "⇥" and no-break spaces
// as "⍽", so that a message on one line shows the blanks that differ.
std::string a_la_vista(std::string_view texto);

}  // namespace navegador

#endif
