// revision.cpp - a translated page against its source, as a reader sees both.
#include "revision.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>

#include "arbol_html.h"
#include "htmlparser/elementos.h"
#include "htmlparser/reglas_compartidas.h"
#include "lectura_navegador.h"
#include "privado/ascii.h"
#include "privado/blancos.h"

namespace {

using navegador::AtributoHtml;
using navegador::ClaseNodo;
using navegador::NodoHtml;

constexpr size_t kNada = std::string::npos;

// A parsed page with each node's children, the line it begins on and whether it lies in
// what the page marks as not to be translated; index nodos.size() is the document.
struct Arbol {
  std::vector<NodoHtml> nodos;
  std::vector<std::vector<size_t>> hijos;
  std::vector<size_t> lineas, lugares;  // lugares: the byte where the node (or the last
                                        // one placed before it) begins
  std::vector<char> intocable;
  std::vector<size_t> padres;
  size_t documento() const { return nodos.size(); }
};

const AtributoHtml *atributo(const NodoHtml &e, std::string_view nombre) {
  for (const AtributoHtml &a : e.atributos)
    if (a.nombre == nombre) return &a;
  return nullptr;
}

// translate="no", or the class notranslate without a translate attribute: nullopt when
// the element says neither, so that it inherits its parent's.
std::optional<bool> no_se_traduce(const NodoHtml &e) {
  if (const AtributoHtml *t = atributo(e, "translate")) {
    const std::string v = en_minusculas(t->valor);
    if (v == "no") return true;
    if (v == "yes" || v.empty()) return false;
  }
  if (const AtributoHtml *c = atributo(e, "class")) {
    const std::string_view v = c->valor;
    for (size_t i = v.find("notranslate"); i != kNada; i = v.find("notranslate", i + 1)) {
      const size_t fin = i + 11;
      if ((i == 0 || es_blanco(v[i - 1])) && (fin == v.size() || es_blanco(v[fin]))) return true;
    }
  }
  return std::nullopt;
}

Arbol arbol_de(std::string_view bytes, uint32_t idioma) {
  Arbol a;
  const navegador::PaginaLeida leida = navegador::pagina_lee(bytes, idioma);
  a.nodos = navegador::arbol_lee(leida.texto);
  const size_t n = a.nodos.size();
  a.hijos.resize(n + 1);
  a.lineas.assign(n + 1, 1);
  a.lugares.assign(n + 1, 0);
  a.intocable.assign(n + 1, 0);
  a.padres.assign(n + 1, n);
  std::vector<size_t> saltos;
  for (size_t i = 0; i < leida.texto.size(); ++i)
    if (leida.texto[i] == '\n') saltos.push_back(i);
  std::vector<size_t> abiertos;  // the elements that hold the next node, outermost first
  size_t linea = 1, lugar = 0;
  for (size_t k = 0; k < n; ++k) {
    const NodoHtml &nodo = a.nodos[k];
    const std::string_view ruta = nodo.ruta;
    const std::string_view padre =
        nodo.clase == ClaseNodo::elemento ? ruta.substr(0, ruta.rfind('/')) : ruta;
    while (!abiertos.empty() && a.nodos[abiertos.back()].ruta != padre) abiertos.pop_back();
    const size_t p = abiertos.empty() ? a.documento() : abiertos.back();
    a.hijos[p].push_back(k);
    a.padres[k] = p;
    if (nodo.inicio != kNada) lugar = nodo.inicio;
    a.lugares[k] = lugar;
    if (nodo.inicio != kNada)
      linea = 1 + static_cast<size_t>(std::upper_bound(saltos.begin(), saltos.end(), nodo.inicio) -
                                      saltos.begin());
    a.lineas[k] = linea;
    a.intocable[k] = a.intocable[p];
    if (nodo.clase == ClaseNodo::elemento) {
      if (const std::optional<bool> no = no_se_traduce(nodo)) a.intocable[k] = *no;
      abiertos.push_back(k);
    }
  }
  return a;
}

// What the check makes of an attribute.
enum class Trato {
  estructura,  // the same in both pages
  texto,       // a text for a reader: translated, or listed when it is not
  escrito,     // written by a merge: not compared
  enlace,      // the same, unless the source holds a link table's reference
};

bool meta_dice(const NodoHtml &e, std::string_view atributo_meta,
               std::initializer_list<std::string_view> valores) {
  const AtributoHtml *a = atributo(e, atributo_meta);
  if (a == nullptr) return false;
  const std::string v = en_minusculas(a->valor);
  return std::find(valores.begin(), valores.end(), v) != valores.end();
}

// Whether the attribute is one whose value a reader sees as text (htmlparser/atributos.tsv).
// A META says what its content is by its name or by its property, whichever it has.
bool es_texto_de_lector(const NodoHtml &e, std::string_view nombre) {
  for (const htmlparser::atributo_traducible &a : htmlparser::lista_de_atributos_traducibles()) {
    if ((a.elemento != "*" && !reglas_compartidas::nombre_es(a.elemento, e.nombre)) ||
        !reglas_compartidas::nombre_es(a.nombre, nombre))
      continue;
    if (a.clave.empty()) return true;
    const std::string clave = en_minusculas(a.clave);
    if (meta_dice(e, clave, {a.valor}) ||
        (e.nombre == "meta" && meta_dice(e, clave == "name" ? "property" : "name", {a.valor})))
      return true;
  }
  return false;
}

Trato trato_de(const NodoHtml &e, std::string_view nombre) {
  const std::string &el = e.nombre;
  if (el == "html" && (nombre == "lang" || nombre == "xml:lang" || nombre == "dir"))
    return Trato::escrito;
  if (el == "meta") {
    if (nombre == "charset") return Trato::escrito;
    if (nombre != "content") return Trato::estructura;
    if (meta_dice(e, "http-equiv", {"content-type", "content-language"}) ||
        meta_dice(e, "property", {"og:locale"}))
      return Trato::escrito;
    return es_texto_de_lector(e, nombre) ? Trato::texto : Trato::estructura;
  }
  if (es_texto_de_lector(e, nombre)) return Trato::texto;
  if (nombre == "href" || nombre == "src") return Trato::enlace;
  return Trato::estructura;
}

// A META that only declares the charset: a merge in UTF-8 may add one.
bool declara_charset(const NodoHtml &e) {
  return e.nombre == "meta" &&
         (atributo(e, "charset") != nullptr || meta_dice(e, "http-equiv", {"content-type"}));
}

std::string corta(std::string_view s, size_t largo) {
  if (s.size() <= largo) return std::string(s);
  size_t fin = largo;
  while (fin > 0 && (static_cast<unsigned char>(s[fin]) & 0xC0) == 0x80) --fin;
  return std::string(s.substr(0, fin)) + "...";
}

std::string entre_comillas(std::string_view s, size_t largo = 70) {
  return "\"" + navegador::a_la_vista(corta(s, largo)) + "\"";
}

// "<a href="x.html">": the element with its first attributes that are no texts.
std::string describe(const NodoHtml &e) {
  std::string r = "<" + e.nombre;
  size_t dados = 0;
  for (const AtributoHtml &a : e.atributos) {
    const Trato t = trato_de(e, a.nombre);
    if (t != Trato::estructura && t != Trato::enlace) continue;
    if (++dados > 2) {
      r += " ...";
      break;
    }
    r += " " + a.nombre + "=" + entre_comillas(a.valor, 40);
  }
  return r + ">";
}

// The key that pairs an element with its translation: its name and every attribute that is
// not a text, in name order.
std::string clave_de(const NodoHtml &e) {
  std::vector<std::pair<std::string_view, std::string_view>> partes;
  for (const AtributoHtml &a : e.atributos) {
    const Trato t = trato_de(e, a.nombre);
    if (t == Trato::estructura || t == Trato::enlace) partes.emplace_back(a.nombre, a.valor);
  }
  std::sort(partes.begin(), partes.end());
  std::string r = e.nombre;
  for (const auto &[nombre, valor] : partes) {
    r += '\0';
    r += nombre;
    r += '=';
    r += valor;
  }
  return r;
}

// What a text holds that would be markup in a page: '<' and a name, '/' or '!', or a
// character reference; each with its kind ("<", "</", "<!", "&"), which is what is
// counted: a translation may change the words of the markup that its source shows.
std::vector<std::pair<std::string_view, std::string_view>> marcas_de(std::string_view t) {
  std::vector<std::pair<std::string_view, std::string_view>> r;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '<' && i + 1 < t.size()) {
      size_t fin = i + 1;
      if (t[fin] == '/' || t[fin] == '!') ++fin;
      const size_t nombre = fin;
      while (fin < t.size() && (reglas_compartidas::es_letra_ascii(t[fin]) ||
                                (fin > nombre && t[fin] >= '0' && t[fin] <= '9')))
        ++fin;
      if (fin > nombre || t[i + 1] == '!')
        r.emplace_back(t.substr(i, nombre - i), t.substr(i, fin - i));
    } else if (t[i] == '&') {
      size_t fin = i + 1;
      if (fin < t.size() && t[fin] == '#') ++fin;
      while (fin < t.size() && fin - i < 32 &&
             (reglas_compartidas::es_letra_ascii(t[fin]) || (t[fin] >= '0' && t[fin] <= '9')))
        ++fin;
      if (fin < t.size() && t[fin] == ';' && fin > i + 1 + (t[i + 1] == '#'))
        r.emplace_back(t.substr(i, 1), t.substr(i, fin + 1 - i));
    }
  }
  return r;
}

bool tiene_letra(std::string_view t) {
  for (int32_t i = 0, n = static_cast<int32_t>(t.size()); i < n;) {
    UChar32 c;
    U8_NEXT(reinterpret_cast<const uint8_t *>(t.data()), i, n, c);
    if (c >= 0 && u_isalpha(c)) return true;
  }
  return false;
}

std::string_view sin_blancos_al_borde(std::string_view t) {
  while (!t.empty() && es_blanco(t.front())) t.remove_prefix(1);
  while (!t.empty() && es_blanco(t.back())) t.remove_suffix(1);
  return t;
}

bool es_de_frase(const NodoHtml &e) {
  return e.clase == ClaseNodo::elemento && reglas_compartidas::es_elemento_de_frase(e.nombre);
}

class Revision {
 public:
  Revision(const Arbol &origen, const Arbol &traducida) : o_(origen), t_(traducida) {}

  std::vector<Hallazgo> hallazgos() {
    // Pairs of elements left to compare, as a list rather than by recursion: a page may
    // nest elements deeper than a stack goes.
    std::vector<std::pair<size_t, size_t>> pendientes = {{o_.documento(), t_.documento()}};
    while (!pendientes.empty()) {
      const auto [a, b] = pendientes.back();
      pendientes.pop_back();
      if (a != o_.documento()) {
        compara_atributos(a, b);
        compara_bloque(a, b);
      }
      empareja_hijos(a, b, &pendientes);
    }
    std::vector<size_t> orden(hallazgos_.size());
    for (size_t i = 0; i < orden.size(); ++i) orden[i] = i;
    std::stable_sort(orden.begin(), orden.end(),
                     [this](size_t x, size_t y) { return lugares_[x] < lugares_[y]; });
    std::vector<Hallazgo> r;
    r.reserve(orden.size());
    for (size_t i : orden) r.push_back(std::move(hallazgos_[i]));
    return r;
  }

 private:
  // A finding at node b of the translated page.
  void anota(size_t b, std::string texto, bool sin_traducir = false) {
    hallazgos_.push_back(
        {.linea = t_.lineas[b], .sin_traducir = sin_traducir, .texto = std::move(texto)});
    lugares_.push_back(t_.lugares[b]);
  }
  size_t linea_o(size_t a) const { return a == o_.documento() ? 1 : o_.lineas[a]; }

  std::vector<size_t> elementos_hijos(const Arbol &arbol, size_t k) const {
    std::vector<size_t> r;
    for (size_t h : arbol.hijos[k])
      if (arbol.nodos[h].clase == ClaseNodo::elemento && !declara_charset(arbol.nodos[h]))
        r.push_back(h);
    return r;
  }

  // Pairs the child elements of a and b: the same key first, in order, then the same
  // name; the rest is lacking or added.
  void empareja_hijos(size_t a, size_t b, std::vector<std::pair<size_t, size_t>> *pendientes) {
    const std::vector<size_t> ea = elementos_hijos(o_, a), eb = elementos_hijos(t_, b);
    std::vector<size_t> pareja(ea.size(), kNada);
    std::vector<char> tomado(eb.size(), 0);
    for (const bool por_clave : {true, false}) {
      std::unordered_map<std::string, std::vector<size_t>> libres;  // reversed: back() is first
      for (size_t j = eb.size(); j-- > 0;)
        if (!tomado[j])
          libres[por_clave ? clave_de(t_.nodos[eb[j]]) : t_.nodos[eb[j]].nombre].push_back(j);
      for (size_t i = 0; i < ea.size(); ++i) {
        if (pareja[i] != kNada) continue;
        const auto it = libres.find(por_clave ? clave_de(o_.nodos[ea[i]]) : o_.nodos[ea[i]].nombre);
        if (it == libres.end() || it->second.empty()) continue;
        pareja[i] = it->second.back();
        tomado[pareja[i]] = 1;
        it->second.pop_back();
      }
    }
    for (size_t i = ea.size(); i-- > 0;) {
      if (pareja[i] != kNada) {
        pendientes->push_back({ea[i], eb[pareja[i]]});
        continue;
      }
      anota(b, "lacks " + describe(o_.nodos[ea[i]]) + ", which the source has (line " +
                   std::to_string(linea_o(ea[i])) + ")");
    }
    for (size_t j = 0; j < eb.size(); ++j)
      if (!tomado[j])
        anota(eb[j], "adds " + describe(t_.nodos[eb[j]]) + ", which the source lacks");
  }

  void compara_atributos(size_t a, size_t b) {
    const NodoHtml &x = o_.nodos[a], &y = t_.nodos[b];
    for (const AtributoHtml &at : x.atributos) {
      const Trato trato = trato_de(x, at.nombre);
      const AtributoHtml *otro = atributo(y, at.nombre);
      if (trato == Trato::escrito) continue;
      if (otro == nullptr) {
        anota(b, describe(y) + " lacks " + at.nombre + "=" + entre_comillas(at.valor) +
                     ", which the source has");
      } else if (trato == Trato::texto) {
        const std::string visto = navegador::arbol_colapsa(at.valor);
        const std::string_view v = sin_blancos_al_borde(visto);
        if (!o_.intocable[a] && tiene_letra(v) && visto == navegador::arbol_colapsa(otro->valor))
          anota(b, "untranslated " + at.nombre + " of " + describe(y) + ": " + entre_comillas(v),
                true);
      } else if (at.valor != otro->valor &&
                 !(trato == Trato::enlace && at.valor.starts_with('@'))) {
        anota(b, describe(y) + ": " + at.nombre + " is " + entre_comillas(otro->valor) +
                     ", the source's " + entre_comillas(at.valor));
      }
    }
    for (const AtributoHtml &at : y.atributos)
      if (trato_de(y, at.nombre) != Trato::escrito && atributo(x, at.nombre) == nullptr)
        anota(b, describe(y) + ": " + at.nombre + "=" + entre_comillas(at.valor) +
                     ", which the source lacks");
  }

  // What a reader reads of a block: its texts and those of the phrasing elements in it
  // (in what is not to be translated, todo: of every element in it but those inside that
  // are to be translated, which are read apart), in order; raw texts (SCRIPT, STYLE) apart.
  static void lee_bloque(const Arbol &arbol, size_t k, bool todo, std::string *texto,
                         std::string *crudo) {
    std::vector<size_t> pila(arbol.hijos[k].rbegin(), arbol.hijos[k].rend());
    while (!pila.empty()) {
      const size_t h = pila.back();
      pila.pop_back();
      const NodoHtml &n = arbol.nodos[h];
      if (n.clase == ClaseNodo::texto) {
        *(n.crudo ? crudo : texto) += navegador::arbol_vista(n);
      } else if (n.clase == ClaseNodo::elemento && (todo ? arbol.intocable[h] : es_de_frase(n))) {
        pila.insert(pila.end(), arbol.hijos[h].rbegin(), arbol.hijos[h].rend());
      }
    }
  }

  void compara_bloque(size_t a, size_t b) {
    const NodoHtml &y = t_.nodos[b];
    // What the page marks as not to be translated reads the same, all of it at once.
    if (o_.intocable[a]) {
      if (o_.intocable[o_.padres[a]]) return;
      std::string ta, tb, ca, cb;
      lee_bloque(o_, a, true, &ta, &ca);
      lee_bloque(t_, b, true, &tb, &cb);
      if (ta != tb)
        anota(b, describe(y) + " is not to be translated, but its text " +
                     navegador::muestra_diferencia(ta, tb));
      return;
    }
    // A phrasing element is read with its block, but one to be translated inside what is
    // not: that is a block of its own.
    if (es_de_frase(o_.nodos[a]) && !o_.intocable[o_.padres[a]]) return;
    std::string ta, tb, ca, cb;
    lee_bloque(o_, a, false, &ta, &ca);
    lee_bloque(t_, b, false, &tb, &cb);
    if (ca != cb)
      anota(b, "the code of " + describe(y) +
                   " differs from the source's: " + navegador::muestra_diferencia(ca, cb));
    const std::string_view va = sin_blancos_al_borde(ta), vb = sin_blancos_al_borde(tb);
    if (va == vb) {
      if (tiene_letra(va)) anota(b, "untranslated: " + entre_comillas(va), true);
      return;
    }
    // Markup that a reader sees as text, where the source shows none such.
    std::map<std::string_view, size_t> propias;
    for (const auto &[clase, marca] : marcas_de(va)) ++propias[clase];
    for (const auto &[clase, marca] : marcas_de(vb))
      if (auto it = propias.find(clase); it != propias.end() && it->second > 0) {
        --it->second;
      } else {
        anota(b, "shows markup as text: " + entre_comillas(marca) + " in " + entre_comillas(vb));
        break;
      }
  }

  const Arbol &o_, &t_;
  std::vector<Hallazgo> hallazgos_;
  std::vector<size_t> lugares_;  // of each finding
};

}  // namespace

std::vector<Hallazgo> revision_compara(std::string_view origen, std::string_view traducida,
                                       uint32_t idioma_origen, uint32_t idioma_traducida) {
  const Arbol o = arbol_de(origen, idioma_origen), t = arbol_de(traducida, idioma_traducida);
  return Revision(o, t).hallazgos();
}
