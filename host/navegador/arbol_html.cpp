// arbol_html.cpp - flattening gumbo's tree of a page and comparing two of them.
#include "arbol_html.h"

#include <gumbo.h>

#include <algorithm>
#include <cctype>

#include "analisis_gumbo.h"
#include "privado/ascii.h"
#include "privado/blancos.h"

namespace navegador {
namespace {

constexpr size_t kNoEsta = std::string::npos;

// The text of the tag an element comes from. gumbo begins it where the token before it
// ended, so a "</>" between them, which a parser ignores, stands at its head.
GumboStringPiece tag_original(const GumboElement &e) {
  GumboStringPiece t = e.original_tag;
  while (t.data != nullptr && t.length > 3 && std::string_view(t.data, 3) == "</>") {
    t.data += 3;
    t.length -= 3;
  }
  return t;
}

class Aplanador {
 public:
  explicit Aplanador(const char *base) : base_(base) {}

  void recorre(const GumboNode *nodo, const std::string &ruta, bool crudo, bool pre) {
    const GumboVector *hijos =
        nodo->type == GUMBO_NODE_DOCUMENT ? &nodo->v.document.children : &nodo->v.element.children;
    size_t elementos = 0;  // place of each element among its element siblings
    for (unsigned i = 0; i < hijos->length; ++i) {
      const auto *hijo = static_cast<const GumboNode *>(hijos->data[i]);
      switch (hijo->type) {
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE: {
          const GumboElement &e = hijo->v.element;
          NodoHtml n{ClaseNodo::elemento,
                     {},
                     arbol_nombre_de_elemento(*hijo),
                     {},
                     {},
                     false,
                     false,
                     kNoEsta,
                     kNoEsta};
          n.ruta = ruta + "/" + n.nombre + "[" + std::to_string(++elementos) + "]";
          if (const GumboStringPiece t = tag_original(e); t.data != nullptr) {
            n.inicio = static_cast<size_t>(t.data - base_);
            n.fin = n.inicio + t.length;
          }
          for (unsigned a = 0; a < e.attributes.length; ++a) {
            const auto *at = static_cast<const GumboAttribute *>(e.attributes.data[a]);
            AtributoHtml atributo{at->name, at->value, kNoEsta, kNoEsta, 0};
            const GumboStringPiece &v = at->original_value;
            if (v.data != nullptr && v.length > 0) {
              const size_t inicio = static_cast<size_t>(v.data - base_);
              if (v.data[0] == '"' || v.data[0] == '\'') atributo.comillas = v.data[0];
              const size_t dentro = atributo.comillas != 0 ? 1 : 0;
              atributo.inicio = inicio + dentro;
              atributo.fin = inicio + v.length - dentro;
            }
            n.atributos.push_back(std::move(atributo));
          }
          const bool hijo_crudo = e.tag == GUMBO_TAG_SCRIPT || e.tag == GUMBO_TAG_STYLE;
          const bool hijo_pre = pre || e.tag == GUMBO_TAG_PRE || e.tag == GUMBO_TAG_TEXTAREA ||
                                e.tag == GUMBO_TAG_LISTING || e.tag == GUMBO_TAG_XMP ||
                                e.tag == GUMBO_TAG_PLAINTEXT;
          const std::string ruta_hijo = n.ruta;
          nodos_.push_back(std::move(n));
          recorre(hijo, ruta_hijo, hijo_crudo, hijo_pre);
          break;
        }
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
        case GUMBO_NODE_COMMENT: {
          const GumboText &t = hijo->v.text;
          NodoHtml n{hijo->type == GUMBO_NODE_COMMENT ? ClaseNodo::comentario : ClaseNodo::texto,
                     ruta,
                     {},
                     {},
                     t.text,
                     crudo,
                     pre,
                     kNoEsta,
                     kNoEsta};
          if (t.original_text.data != nullptr) {
            n.inicio = static_cast<size_t>(t.original_text.data - base_);
            n.fin = n.inicio + t.original_text.length;
          }
          nodos_.push_back(std::move(n));
          break;
        }
        case GUMBO_NODE_DOCUMENT:
          break;
      }
    }
  }

  std::vector<NodoHtml> nodos_;

 private:
  const char *base_;
};

// Whether an attribute only names the page's charset (META charset, or the content of a
// META http-equiv Content-Type): the bytes it names are decoded before the comparison,
// so a page written in another charset that says so shows the same.
bool declara_charset(const NodoHtml &n, const AtributoHtml &a) {
  if (n.nombre != "meta") return false;
  if (a.nombre == "charset") return true;
  if (a.nombre != "content") return false;
  for (const AtributoHtml &b : n.atributos)
    if (b.nombre == "http-equiv" && en_minusculas(b.valor) == "content-type") return true;
  return false;
}

std::string comparable(const NodoHtml &n) {
  switch (n.clase) {
    case ClaseNodo::elemento: {
      std::string r = "<" + n.ruta;
      for (const AtributoHtml &a : n.atributos) {
        if (declara_charset(n, a)) {
          r += " " + a.nombre + "=(charset)";
          continue;
        }
        const bool texto = a.nombre == "alt" || a.nombre == "title" || a.nombre == "content";
        r += " " + a.nombre + "=\"" + (texto ? arbol_colapsa(a.valor) : a.valor) + "\"";
      }
      return r + ">";
    }
    case ClaseNodo::texto:
      return n.ruta + (n.preformateado ? " preformatted" : "") + " text: " + arbol_vista(n);
    case ClaseNodo::comentario:
      // An XML declaration, which names the charset too, reads as a comment.
      if (n.texto.compare(0, 4, "?xml") == 0) return n.ruta + " XML declaration";
      return n.ruta + " comment: " + n.texto;
  }
  return {};
}

std::string recorta(const std::string &s) {
  constexpr size_t kMaximo = 160;
  return a_la_vista(s.size() > kMaximo ? s.substr(0, kMaximo) + "..." : s);
}

}  // namespace

std::vector<NodoHtml> arbol_lee(std::string_view html) {
  const AnalisisGumbo analisis(html);
  Aplanador aplanador(analisis.texto().data());
  aplanador.recorre(analisis.salida().document, "", false, false);
  return std::move(aplanador.nodos_);
}

std::string arbol_colapsa(std::string_view texto) {
  std::string r;
  r.reserve(texto.size());
  bool en_blanco = false;
  for (char c : texto) {
    if (es_blanco_html(c)) {
      if (!en_blanco) r.push_back(' ');
      en_blanco = true;
    } else {
      r.push_back(c);
      en_blanco = false;
    }
  }
  return r;
}

std::string arbol_vista(const NodoHtml &nodo) {
  return nodo.crudo || nodo.preformateado ? nodo.texto : arbol_colapsa(nodo.texto);
}

bool arbol_nodos_iguales(const NodoHtml &a, const NodoHtml &b) {
  return comparable(a) == comparable(b);
}

std::string arbol_describe(const NodoHtml &nodo) {
  return recorta(comparable(nodo));
}

std::string arbol_compara(const std::vector<NodoHtml> &esperado,
                          const std::vector<NodoHtml> &obtenido, size_t *nodo) {
  const size_t n = std::min(esperado.size(), obtenido.size());
  size_t i = 0;
  while (i < n && comparable(esperado[i]) == comparable(obtenido[i])) ++i;
  if (i == n && esperado.size() == obtenido.size()) return {};
  if (nodo != nullptr) *nodo = i;

  std::string r = "first difference at node " + std::to_string(i) + " of " +
                  std::to_string(esperado.size()) + " expected, " +
                  std::to_string(obtenido.size()) + " obtained\n";
  for (size_t k = i >= 2 ? i - 2 : 0; k < i; ++k)
    r += "  same:     " + arbol_describe(esperado[k]) + "\n";
  r += "  expected: " + (i < esperado.size() ? arbol_describe(esperado[i]) : "(nothing)") + "\n";
  r += "  obtained: " + (i < obtenido.size() ? arbol_describe(obtenido[i]) : "(nothing)") + "\n";
  if (i + 1 < esperado.size()) r += "  then expected: " + arbol_describe(esperado[i + 1]) + "\n";
  if (i + 1 < obtenido.size()) r += "  then obtained: " + arbol_describe(obtenido[i + 1]) + "\n";
  // Long texts are cut above: where the two texts part.
  if (i < n && esperado[i].clase == ClaseNodo::texto && obtenido[i].clase == ClaseNodo::texto)
    r += "  the text " + muestra_diferencia(arbol_vista(esperado[i]), arbol_vista(obtenido[i])) +
         "\n";
  return r;
}

std::string arbol_roto(const std::vector<NodoHtml> &arbol, std::string_view texto) {
  for (const NodoHtml &n : arbol) {
    if (n.clase == ClaseNodo::comentario && n.fin == texto.size() && !texto.empty() &&
        texto.back() != '>')
      return "a comment never ends: " + fragmento(texto, n.inicio, 60);
    for (const AtributoHtml &a : n.atributos) {
      if (a.comillas == 0 || a.inicio == kNoEsta) continue;
      const std::string_view v = texto.substr(a.inicio, a.fin - a.inicio);
      const size_t salto = v.find('\n');
      if (salto == std::string_view::npos) continue;
      for (size_t p = v.find('<', salto); p != std::string_view::npos; p = v.find('<', p + 1))
        if (p + 1 < v.size() && (std::isalpha(static_cast<unsigned char>(v[p + 1])) ||
                                 v[p + 1] == '/' || v[p + 1] == '!'))
          return "the quote of " + n.nombre + " " + a.nombre +
                 " closes only past a line end and markup: " + fragmento(v, 0, 60);
    }
  }
  return {};
}

std::string arbol_nombre_de_elemento(const GumboInternalNode &elemento) {
  const GumboElement &e = elemento.v.element;
  if (e.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(e.tag);
  GumboStringPiece original = tag_original(e);
  if (original.data == nullptr) return "?";
  gumbo_tag_from_original_text(&original);
  return en_minusculas(std::string_view(original.data, original.length));
}

size_t primera_diferencia(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  const auto d = std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin());
  const auto en = static_cast<size_t>(d.first - a.begin());
  return en == n && a.size() == b.size() ? std::string_view::npos : en;
}

std::string a_la_vista(std::string_view texto) {
  std::string r;
  r.reserve(texto.size());
  for (size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c == '\n')
      r += "\u23CE";
    else if (c == '\r')
      r += "\u240D";
    else if (c == '\t')
      r += "\u21E5";
    else if (c == '\xC2' && i + 1 < texto.size() && texto[i + 1] == '\xA0')
      r += "\u237D", ++i;
    else
      r.push_back(c);
  }
  return r;
}

std::string fragmento(std::string_view texto, size_t desde, size_t largo) {
  return "\"" + a_la_vista(texto.substr(std::min(desde, texto.size()), largo)) + "\"";
}

std::string muestra_diferencia(std::string_view esperado, std::string_view obtenido) {
  const size_t d = primera_diferencia(esperado, obtenido);
  if (d == std::string_view::npos) return {};
  const size_t desde = d > 40 ? d - 40 : 0;
  return "differs at byte " + std::to_string(d) + ": expected " + fragmento(esperado, desde, 120) +
         ", obtained " + fragmento(obtenido, desde, 120);
}

}  // namespace navegador
