// contenido_vivo.cpp - what a browser's parser (gumbo) reads in a written page that its source
// lacks.
#include "contenido_vivo.h"

#include <gumbo.h>

#include <algorithm>
#include <set>
#include <span>

#include "analisis_gumbo.h"
#include "arbol_html.h"
#include "companion/codificacion.h"
#include "htmlparser/elementos.h"
#include "lenguaweb.h"
#include "privado/ascii.h"
#include "privado/blancos.h"
#include "listas.h"
#include "tabla_links.h"
#include "tablalink/tablalink.h"

namespace pruebas {
namespace {

constexpr std::string_view kEnLinea[] = {"b", "i", "u", "em", "strong", "font", "br"};
// Values that a browser shows and never follows or runs (the attributes whose texts are
// offered, by either segmentation): a translation may say anything.
// clang-format off
constexpr std::string_view kSoloSeMuestran[] = {
    "alt", "title", "aria-label", "aria-description", "aria-roledescription", "aria-placeholder",
    "label", "placeholder", "summary", "abbr", "value"};
// Values that the library writes besides those: the META's content and the links.
constexpr std::string_view kRellenados[] = {"content", "href", "src"};
// clang-format on
// The elements that a parser keeps in its list of active formatting elements.
constexpr std::string_view kDeFormato[] = {"a",    "b", "big",   "code",   "em",     "font", "i",
                                           "nobr", "s", "small", "strike", "strong", "tt",   "u"};

bool esta_en(std::string_view x, std::span<const std::string_view> lista) {
  return std::ranges::find(lista, x) != lista.end();
}

const GumboVector &hijos_de(const GumboNode *nodo) {
  return nodo->type == GUMBO_NODE_DOCUMENT ? nodo->v.document.children : nodo->v.element.children;
}

bool es_elemento(const GumboNode *nodo) {
  return nodo->type == GUMBO_NODE_ELEMENT || nodo->type == GUMBO_NODE_TEMPLATE;
}

// A page as the checks read it: its elements, its active link values, and every text,
// comment and attribute value with the place where it stands.
struct Lectura {
  std::set<std::string> elementos;
  std::set<std::string> activos;
  std::set<std::string> codigo;  // each SCRIPT's and STYLE's name and text
  std::vector<std::pair<std::string, std::string>> textos;  // place, content
  bool extranjero = false;                                  // it holds SVG or MathML
  std::map<std::string, std::vector<std::string>> raices;   // HTML and BODY: their attributes
  // Formatting elements inside three of their like (same name and attributes): there a
  // parser forgets the outermost one's formatting (the "Noah's Ark" rule), and gumbo then
  // ignores an end tag that a browser reads as closing it, so what follows stays deeper.
  size_t arca = 0;
  std::vector<std::string> formato;  // the formatting elements around the node walked

  explicit Lectura(std::string_view html) {
    // A browser's decoder takes a UTF-8 byte order mark for the encoding and drops it;
    // gumbo would read it as a character, which begins the body before the page's HEAD.
    if (html.starts_with("\xEF\xBB\xBF")) html.remove_prefix(3);
    const navegador::AnalisisGumbo analisis(html);
    recorre(analisis.salida().document, "");
  }

  // lugar_fuera: the count of the element's siblings, for an inline element, whose
  // children are counted among them.
  void recorre(const GumboNode *nodo, const std::string &ruta, size_t *lugar_fuera = nullptr) {
    size_t propio = 0;  // among the siblings that are not inline elements
    size_t &lugar = lugar_fuera != nullptr ? *lugar_fuera : propio;
    for (unsigned i = 0; i < hijos_de(nodo).length; ++i) {
      const auto *hijo = static_cast<const GumboNode *>(hijos_de(nodo).data[i]);
      if (!es_elemento(hijo)) {
        if (hijo->type != GUMBO_NODE_DOCUMENT)
          textos.emplace_back(ruta + (hijo->type == GUMBO_NODE_COMMENT ? " comment" : " text"),
                              hijo->v.text.text);
        continue;
      }
      const GumboElement &e = hijo->v.element;
      const std::string nombre = navegador::arbol_nombre_de_elemento(*hijo);
      extranjero = extranjero || e.tag_namespace != GUMBO_NAMESPACE_HTML;
      // Inline elements are no place of their own: a translation may bring them, close
      // them or leave them open as its text did, and a browser's rebuilding of formatting
      // elements moves the text after them in and out of them. Cut by blocks, the same
      // holds for every element that a text runs through.
      const bool en_linea =
          esta_en(nombre, kEnLinea) || (opciones_dame_segmentacion() == SEGMENTACION_BLOQUES &&
                                        htmlparser::busca_elemento_de_frase(nombre) != nullptr);
      // Nor is a META that only names the charset: the writer adds one where a page's
      // declaration would be out of a browser's reach, or the page declares none.
      const bool declaracion =
          nombre == "meta" && e.attributes.length == 1 &&
          en_minusculas(static_cast<const GumboAttribute *>(e.attributes.data[0])->name) ==
              "charset";
      const std::string aqui = en_linea || declaracion
                                   ? ruta
                                   : ruta + "/" + nombre + "[" + std::to_string(++lugar) + "]";
      std::vector<std::string> atributos;
      for (unsigned a = 0; a < e.attributes.length; ++a) {
        const auto *at = static_cast<const GumboAttribute *>(e.attributes.data[a]);
        // Attribute names as HTML reads them: a parser adjusts their case inside SVG and
        // MathML, where a translation that drops an inline tag may move what follows.
        const std::string nombre_at = en_minusculas(at->name);
        const std::string clave = nombre_at + "=";
        atributos.push_back(clave +
                            (esta_en(at->name, kRellenados) || esta_en(at->name, kSoloSeMuestran)
                                 ? "*"
                                 : at->value));
        if (!esta_en(at->name, kSoloSeMuestran) && es_enlace_activo(at->value))
          activos.insert(clave + at->value);
        textos.emplace_back(aqui + " @" + nombre_at, at->value);
      }
      std::ranges::sort(atributos);
      std::string elemento = nombre;
      for (const std::string &a : atributos) elemento += " " + a;
      elementos.insert(elemento);
      if (nombre == "html" || nombre == "body") raices[elemento] = atributos;
      const bool de_formato = esta_en(nombre, kDeFormato);
      if (de_formato) {
        arca += std::ranges::count(formato, elemento) >= 3;
        formato.push_back(elemento);
      }
      if (nombre == "script" || nombre == "style") {
        std::string dentro = nombre + ">";
        for (unsigned k = 0; k < e.children.length; ++k)
          if (const auto *n = static_cast<const GumboNode *>(e.children.data[k]); !es_elemento(n))
            dentro += n->v.text.text;
        codigo.insert(dentro);
      }
      recorre(hijo, aqui, en_linea ? &lugar : nullptr);
      if (de_formato) formato.pop_back();
    }
  }

  // The places where marcador stands, once per time it stands there.
  std::vector<std::string> lugares(const std::string &marcador) const {
    std::vector<std::string> r;
    for (const auto &[lugar, contenido] : textos)
      for (size_t p = contenido.find(marcador); p != std::string::npos;
           p = contenido.find(marcador, p + 1))
        r.push_back(lugar);
    return r;
  }
};

struct Tabla : TablaLinks {
  // The link that record i rebuilds into becomes enlace.
  void pon_enlace(uint32_t i, const std::string &enlace) {
    if (i >= lista_reg_num_elems(lista)) return;
    tablalink_t *viejo = lista_reg_dame(lista, i);
    lista_reg_pon(lista, i, tablalink_crea(viejo->ID, "", "", enlace.c_str()));
    tablalink_destruye(&viejo);
  }
  std::string enlace_activo() const {
    for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i) {
      char *enlace = tablalink_dame_enlace(lista_reg_dame(lista, i));
      const std::string e(enlace);
      cad_destruye(&enlace);
      if (es_enlace_activo(e)) return e;
    }
    return "";
  }
};

// The page d rebuilt with traducidos (their own identifiers) into ruta.
std::string reconstruye(const PaginaConTextos &d, const std::vector<std::string> &traducidos,
                        const Tabla &a, const Tabla &img, const std::string &ruta,
                        uint32_t idioma) {
  lista_cad_t *lista = a_lista(traducidos), *ids = a_lista(traducidos);
  lenguaweb_reconstruye_fichero_html(d.doc, lista, ids, a.lista, img.lista, ruta.c_str(), idioma);
  for (lista_cad_t **l : {&lista, &ids}) lista_cad_destruye(l);
  return lee_fichero(ruta);
}

// Whether a translation may leave the element open as its text did: cut as before, an
// inline element; by blocks, any that a text runs through and that holds something.
bool puede_quedar_abierto(const std::string &nombre) {
  if (opciones_dame_segmentacion() != SEGMENTACION_BLOQUES)
    return nombre != "br" && esta_en(nombre, kEnLinea);
  const htmlparser::elemento_html *e = htmlparser::busca_elemento_de_frase(nombre);
  return e != nullptr && !e->vacio;
}

// The start tags of the elements that a text opens and leaves open, in order and as the
// text wrote them ("<em>" for "s<em>*"): a translation that writes them so writes the page's
// own tags, which it may leave open.
std::string en_linea_abiertos(std::string_view texto) {
  std::vector<std::pair<std::string, std::string_view>> abiertos;  // name, start tag
  for (size_t i = texto.find('<'); i != std::string_view::npos; i = texto.find('<', i + 1)) {
    const bool cierra = texto.substr(i + 1, 1) == "/";
    size_t fin = i + 1 + cierra;
    while (fin < texto.size() && a_minuscula(texto[fin]) >= 'a' && a_minuscula(texto[fin]) <= 'z')
      ++fin;
    const std::string nombre = en_minusculas(texto.substr(i + 1 + cierra, fin - i - 1 - cierra));
    const size_t mayor = texto.find('>', fin);
    if (!puede_quedar_abierto(nombre) || mayor == std::string_view::npos) continue;
    const auto k = std::ranges::find(abiertos.rbegin(), abiertos.rend(), nombre,
                                     &std::pair<std::string, std::string_view>::first);
    if (!cierra)
      abiertos.emplace_back(nombre, texto.substr(i, mayor + 1 - i));
    else if (k != abiertos.rend())
      abiertos.erase(std::prev(k.base()), abiertos.end());
  }
  std::string r;
  for (const auto &[nombre, tag] : abiertos) r += tag;
  return r;
}

// Whether e, an HTML or BODY element of escrita, has only attributes that one of fuente's
// elements of its name has: a browser moves the attributes of every <html> and <body> tag
// onto the one element, as the tags stand in or out of SVG or MathML (which an inline tag
// of a text may end), so holding fewer of them brings nothing.
bool raiz_con_menos(const std::string &e, const Lectura &escrita, const Lectura &fuente) {
  const auto suyos = escrita.raices.find(e);
  if (suyos == escrita.raices.end()) return false;
  const std::string nombre = e.substr(0, e.find(' '));
  for (const auto &[otro, de_otro] : fuente.raices)
    if (otro.substr(0, otro.find(' ')) == nombre && std::ranges::includes(de_otro, suyos->second))
      return true;
  return false;
}

// "" when escrita, a page written from the page fuente, parsed by gumbo as a browser
// parses it, holds nothing that neither fuente nor a translator's allowed markup put
// there; else what it holds:
//  - an element that is neither one of fuente's (its name and every attribute with its
//    value, but for the values that translations and link tables fill: alt, content,
//    href and src) nor an inline element without attributes (b, i, u, em, strong, font,
//    br), nor a META charset that names the encoding fuente declares (UTF-8, when it
//    declares none and reads as UTF-8);
//  - an attribute value that a browser runs as a link (javascript:, vbscript:, data:,
//    after blanks and control characters are read as a URL parser reads them) that
//    fuente does not hold in an attribute of the same name;
//  - a SCRIPT or STYLE element whose text fuente's do not hold.
std::string contenido_ajeno(std::string_view fuente, std::string_view escrita) {
  const Lectura antes(fuente), despues(escrita);
  // A META that names the charset fuente declares: the writer adds it where translations push the
  // page's own declaration out of the first bytes, where browsers look for it; and one of UTF-8
  // where a translation brings more than ASCII to a page that declares nothing.
  codificacion_pagina_t leida{};
  conv_detecta_codificacion(fuente.data(), fuente.size(), 0, &leida);
  const std::string declaracion = leida.origen == CODIFICACION_DECLARADA
                                      ? std::string("meta charset=") + leida.nombre
                                  : leida.origen == CODIFICACION_POR_UTF8 ? "meta charset=UTF-8"
                                                                          : "";
  for (const std::string &e : despues.elementos)
    if (!antes.elementos.contains(e) && !esta_en(e, kEnLinea) && e != declaracion &&
        !raiz_con_menos(e, despues, antes))
      return "a new element <" + e + ">";
  for (const std::string &a : despues.activos)
    if (!antes.activos.contains(a)) return "a new active link " + a;
  for (const std::string &c : despues.codigo)
    if (!antes.codigo.contains(c)) return "new code in <" + c;
  return "";
}

// "" when every marker of marcadores that stands in referencia stands in escrita exactly
// once, in the same place: the same elements around it that are not inline, each by name
// and place among its siblings, as a text or as the same attribute; else the first that
// does not. In a page that holds SVG or MathML only the kind of place counts (a text, a
// comment, the same attribute): there an inline tag that a translation may bring (B, I,
// BR ...) ends the foreign element for a browser, and what followed it moves out. So too
// where a translation's own tags nest a formatting element in three of its like.
std::string marcador_movido(std::string_view referencia, std::string_view escrita,
                            const std::vector<std::string> &marcadores) {
  const Lectura antes(referencia), despues(escrita);
  const bool solo_la_clase = antes.extranjero || despues.arca > antes.arca;
  for (const std::string &m : marcadores) {
    const std::vector<std::string> donde = antes.lugares(m), ahora = despues.lugares(m);
    if (donde.empty() || donde == ahora) continue;
    const auto clase = [](const std::string &lugar) { return lugar.substr(lugar.rfind(' ')); };
    if (solo_la_clase && ahora.size() == 1 && clase(ahora[0]) == clase(donde[0])) continue;
    return m + " stands at " + (ahora.empty() ? "no place" : ahora[0]) + " (" +
           std::to_string(ahora.size()) + " times), not at " + donde[0];
  }
  return "";
}

}  // namespace

std::string lo_que_se_lee(std::string_view html) {
  std::string r;
  for (const auto &[lugar, contenido] : Lectura(html).textos)
    if (!lugar.ends_with(" comment")) r += contenido + "\n";
  return r;
}

bool es_enlace_activo(std::string_view enlace) {
  std::string leido;
  for (char c : enlace)
    if (c != '\t' && c != '\n' && c != '\r' &&
        !(leido.empty() && static_cast<unsigned char>(c) <= 0x20))
      leido.push_back(a_minuscula(c));
  return leido.starts_with("javascript:") || leido.starts_with("vbscript:") ||
         leido.starts_with("data:");
}

std::string ronda_hostil(const std::string &carpeta, const EntradaHostil &e, SalidaHostil *s) {
  const std::string ruta = carpeta + "/hostil.html", ruta_pre = carpeta + "/hostil_pre.html",
                    ruta_escrita = carpeta + "/hostil_escrita.html";
  escribe_fichero(ruta, e.pagina);
  const PaginaConTextos original(ruta, e.idioma);
  s->textos = a_vector(original.textos);
  Tabla a, img;
  if (!e.ids_previos.empty()) {
    Tabla a0, img0;
    lenguaweb_preprocesa_links(original.doc, a0.lista, img0.lista, ruta_pre.c_str(), e.idioma);
    for (uint32_t k = 0; k < lista_reg_num_elems(a0.lista); ++k) {
      const tablalink_t *r = lista_reg_dame(a0.lista, k);
      const std::string id =
          k < e.ids_previos.size() && !e.ids_previos[k].empty() ? e.ids_previos[k] : r->ID;
      lista_reg_anade(a.lista, tablalink_crea(id.c_str(), r->dominio, r->ruta, r->nombre_fichero));
    }
  }
  lenguaweb_preprocesa_links(original.doc, a.lista, img.lista, ruta_pre.c_str(), e.idioma);
  s->preprocesada = lee_fichero(ruta_pre);
  std::string fallo = contenido_ajeno(e.pagina, s->preprocesada);
  if (!fallo.empty()) return "preprocessed: " + fallo;
  for (const Tabla *t : {&a, &img})
    if (const std::string activo = t->enlace_activo(); !activo.empty())
      return "a table holds the active link " + activo;

  const PaginaConTextos preprocesado(ruta_pre, e.idioma);
  const std::vector<std::string> textos = a_vector(preprocesado.textos);
  // Markers that nothing of the input spells: one more '[' while any of it holds them.
  std::string entrada = e.pagina;
  for (const auto *m : {&e.traducciones, &e.enlaces_a, &e.enlaces_img})
    for (const auto &[k, valor] : *m) entrada += "\n" + valor;
  for (const std::string &id : e.ids_previos) entrada += "\n" + id;
  std::string abre = "[[";
  while (entrada.find(abre) != std::string::npos) abre += '[';
  // A browser drops blank text where a page's markup is wrong (before <html>, after </head>)
  // and so drops the elements that other text would open: the reference keeps a blank
  // translation as it is, so that the markers are weighed on the same tree.
  // abiertos: a translated text's marker followed by the inline elements that its text
  // left open, which a translation may leave open too.
  std::vector<std::string> marcadores, traducidos, otros, abiertos;
  for (size_t j = 0; j < textos.size(); ++j) {
    const std::string marcador = abre + std::to_string(j) + "]]";
    const auto t = e.traducciones.find(static_cast<uint32_t>(j));
    const bool traducido = t != e.traducciones.end();
    const bool blanca = traducido && std::ranges::all_of(t->second, es_blanco_html<char>);
    marcadores.push_back(blanca ? t->second : marcador);
    traducidos.push_back(traducido ? t->second : marcador);
    if (!traducido) otros.push_back(marcador);
    abiertos.push_back(!traducido || blanca ? marcadores.back()
                                            : marcador + en_linea_abiertos(textos[j]));
  }
  s->referencia = reconstruye(preprocesado, marcadores, a, img, ruta_escrita, e.idioma);
  const std::string referencia_abierta =
      abiertos == marcadores ? s->referencia
                             : reconstruye(preprocesado, abiertos, a, img, ruta_escrita, e.idioma);
  for (const auto &[k, enlace] : e.enlaces_a) a.pon_enlace(k, enlace);
  for (const auto &[k, enlace] : e.enlaces_img) img.pon_enlace(k, enlace);
  s->escrita = reconstruye(preprocesado, traducidos, a, img, ruta_escrita, e.idioma);
  fallo = contenido_ajeno(s->preprocesada, s->escrita);
  // The page's own end tag of an element that a translation left open, as its text did,
  // closes what follows as it did in the page: the markers stand as they do with it.
  if (fallo.empty() && !marcador_movido(s->referencia, s->escrita, otros).empty())
    fallo = marcador_movido(referencia_abierta, s->escrita, otros);
  return fallo.empty() ? "" : "rebuilt: " + fallo;
}

}  // namespace pruebas
