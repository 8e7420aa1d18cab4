// comprueba_marcas.cpp - a numbered marker for each text lands where the text stood.
#include <algorithm>

#include "modelo.h"
#include "pagina.h"

namespace sitios {
namespace {

constexpr size_t kNoEsta = std::string::npos;

// Numbered markers that stand for the texts: the first bracket pair that the
// language's code page holds and that the page does not use.
struct Marcas {
  std::string abre, cierra;
  std::string de(size_t i) const { return abre + std::to_string(i) + cierra; }
};

// text as the library writes it after a trip through the language's code page.
std::string ida_y_vuelta(const std::string &texto, uint32_t idioma) {
  char *en_idioma = conv_utf8_a_ansi_html(texto.c_str(), idioma);
  char *de_vuelta = conv_ansi_idioma_a_utf8(en_idioma, idioma);
  std::string r = de_vuelta;
  cad_destruye(&en_idioma);
  cad_destruye(&de_vuelta);
  return r;
}

bool elige_marcas(const Pagina &p, Marcas *marcas) {
  static const Marcas kPosibles[] = {
      {"\u27E6", "\u27E7"}, {"\u3010", "\u3011"}, {"\u00AB", "\u00BB"}, {"{{", "}}"},
      {"[[", "]]"},         {"~[", "]~"},         {"`{", "}`"}};
  for (const Marcas &m : kPosibles) {
    const auto usa = [&m](std::string_view s) {
      return s.find(m.abre) != kNoEsta || s.find(m.cierra) != kNoEsta;
    };
    bool usada = usa(p.leida.texto);
    for (const NodoHtml &n : p.arbol) {
      usada = usada || usa(n.texto);
      for (const AtributoHtml &a : n.atributos) usada = usada || usa(a.valor);
    }
    // A marker must also stand in the page's own encoding as itself: one that the page's
    // charset lacks is written as a character reference, which a reader sees the same
    // but which is no longer the marker in the page's text.
    std::string en_pagina, error;
    const bool cabe =
        codificacion_escribe(m.de(0), p.leida.codificacion.nombre, &en_pagina, &error) &&
        en_pagina.find("&#") == kNoEsta;
    if (!usada && cabe && ida_y_vuelta(m.de(0), p.idioma) == m.de(0)) {
      *marcas = m;
      return true;
    }
  }
  return false;
}

// The tags in the page's text [desde, hasta), one after the other.
std::string tags_de(const std::string &t, size_t desde, size_t hasta) {
  std::string tags;
  for (size_t q = t.find('<', desde); q < hasta; q = t.find('<', q + 1)) {
    const size_t cierre = t.find('>', q);
    tags.append(t, q, cierre == kNoEsta ? kNoEsta : cierre + 1 - q);
    if (cierre == kNoEsta) break;
    q = cierre;
  }
  return tags;
}

// The parsed page with each value that gave a text made its marker, the text node in
// which each body text begins made its marker (the blanks of the pieces around it
// kept), and the other text nodes of the body text gone.
std::vector<NodoHtml> arbol_con(const Pagina &p, const Marcas &marcas) {
  struct Tramo {
    size_t inicio, fin, texto;
  };
  std::vector<NodoHtml> arbol = p.arbol;
  std::vector<Tramo> tramos;
  for (size_t k = 0, j = 0; k < p.trozos.size(); ++k) {
    for (size_t v : p.de_trozo[k])
      for (AtributoHtml &a : arbol[p.valores[v].nodo].atributos)
        if (a.nombre == p.valores[v].atributo->nombre) a.valor = marcas.de(j++);
    if (k + 1 < p.trozos.size())
      tramos.push_back({p.leida.en(p.fin_de(k)), p.leida.en(p.inicios[k + 1]), j++});
  }
  // A node's bytes outside the body texts: blanks of the pieces, and the tags that the
  // parser passed over in between (a line feed after </BODY>).
  const std::string &texto = p.leida.texto;
  const auto fuera = [&texto](size_t desde, size_t hasta) {
    std::string blancos;
    for (size_t q = desde; q < hasta; ++q)
      if (texto[q] == '<')
        q = std::min(hasta, texto.find('>', q));
      else
        blancos += texto[q];
    return blancos;
  };
  std::vector<NodoHtml> esperado;
  for (NodoHtml &n : arbol) {
    auto b = std::upper_bound(tramos.begin(), tramos.end(), n.inicio,
                              [](size_t q, const Tramo &t) { return q < t.fin; });
    if (n.clase != ClaseNodo::texto || n.crudo || n.inicio == kNoEsta || b == tramos.end() ||
        b->inicio >= n.fin) {
      esperado.push_back(std::move(n));
      continue;
    }
    std::string nuevo;
    size_t q = n.inicio;
    for (; b != tramos.end() && b->inicio < n.fin; ++b) {
      if (q < b->inicio) nuevo += fuera(q, b->inicio);
      if (b->inicio >= n.inicio) nuevo += marcas.de(b->texto);
      q = std::max(q, std::min(b->fin, n.fin));
    }
    nuevo += fuera(q, n.fin);
    n.texto = nuevo;
    if (!nuevo.empty()) esperado.push_back(std::move(n));
  }
  return esperado;
}

}  // namespace

// Rebuilt with a numbered marker for each text, each body marker followed by the inline
// tags of its text as a translator keeps them: the page is its pieces with the markers
// in place, and the parser finds each marker where its text stood.
void comprueba_marcas(Pagina &p, const Documento &doc) {
  Marcas marcas;
  if (!elige_marcas(p, &marcas)) {
    p.falla("markers", "no marker fits the page and its language");
    return;
  }
  std::vector<std::string> en_idioma;
  std::string esperada;
  const std::string &texto = p.leida.texto;
  for (size_t k = 0, j = 0; k < p.trozos.size(); ++k) {
    // The piece, each value that gave a text made that text's marker.
    size_t desde = p.leida.en(p.inicios[k]);
    for (size_t v : p.de_trozo[k]) {
      const AtributoHtml &a = *p.valores[v].atributo;
      const size_t fuera = a.comillas != 0 ? 1 : 0;
      esperada.append(texto, desde, a.inicio - fuera - desde);
      esperada += "\"" + marcas.de(j) + "\"";
      en_idioma.push_back(marcas.de(j++));
      desde = a.fin + fuera;
    }
    esperada.append(texto, desde, p.leida.en(p.fin_de(k)) - desde);
    if (k + 1 == p.trozos.size()) break;
    const std::string marcador =
        marcas.de(j++) + tags_de(texto, p.leida.en(p.fin_de(k)), p.leida.en(p.inicios[k + 1]));
    esperada += ida_y_vuelta(marcador, p.idioma);
    en_idioma.push_back(marcador);
  }
  lista_cad_t *traducidos = lista_cad_crea(0);
  for (const std::string &m : en_idioma) {
    char *t = conv_utf8_a_ansi_html(m.c_str(), p.idioma);
    lista_cad_anade_propia(traducidos, &t);
  }
  const std::string salida = p.ruta("marcas.html");
  const booleano escrita = lenguaweb_reconstruye_fichero_html(doc.doc, traducidos, doc.ids, nullptr,
                                                              nullptr, salida.c_str(), p.idioma);
  lista_cad_destruye(&traducidos);
  if (escrita != CIERTO) p.falla("markers", "the rebuild reported a failed write");
  const PaginaLeida marcada = pagina_lee(lee_fichero(salida), p.idioma);
  const std::string bytes = muestra_diferencia(esperada, marcada.texto);
  if (!bytes.empty()) {
    std::string categoria = categoria_textos(esperada, marcada.texto, false);
    if (marcada.reemplazos > p.leida.reemplazos || categoria.empty())
      categoria =
          marcada.reemplazos > p.leida.reemplazos ? "charset" : categoria_de(p.arbol, {}, 0);
    p.falla("markers in the bytes", bytes, categoria);
  }
  size_t nodo = 0;
  const std::vector<NodoHtml> con_marcas = arbol_con(p, marcas);
  const std::vector<NodoHtml> leido = arbol_lee(marcada.texto);
  const std::string arbol = arbol_compara(con_marcas, leido, &nodo);
  Ejemplos ejemplos;
  if (!arbol.empty())
    p.falla("markers for the parser", arbol,
            marcada.reemplazos > p.leida.reemplazos
                ? "charset"
                : categorias_de(con_marcas, leido, nodo, &ejemplos),
            std::move(ejemplos));
}

}  // namespace sitios
