// comprobacion.cpp - one page through the library's main road and link round trip, checked.
#include "comprobacion.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "lenguaweb.h"
#include "lenguaweb/documento.h"
#include "modelo.h"
#include "tablalink/tablalink.h"
#include "tests/comun/listas_a_vector.h"

namespace sitios {
namespace {

constexpr size_t kNoEsta = std::string::npos;

// Reports made on this thread while a page is checked.
thread_local std::vector<std::pair<std::string, std::string>> *informes_del_hilo = nullptr;

void recibe_informe(const char *condicion, const char *modulo, uint32_t, void *) {
  if (informes_del_hilo != nullptr)
    informes_del_hilo->emplace_back(condicion != nullptr ? condicion : "",
                                    modulo != nullptr ? modulo : "");
}

std::string lee_fichero(const std::string &camino) {
  std::ifstream f(camino, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

using pruebas::a_vector;

bool es_cuerpo(uint32_t tipo) {
  return tipo == TIPO_TITULO || tipo == TIPO_TEXTO;
}

std::string en_minusculas(std::string s) {
  for (char &c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

const AtributoHtml *atributo(const NodoHtml &n, std::string_view nombre) {
  for (const AtributoHtml &a : n.atributos)
    if (a.nombre == nombre) return &a;
  return nullptr;
}

// A link table that owns its records, as a host's does.
struct Tabla {
  lista_reg_t *lista = lista_reg_crea(0);
  Tabla() = default;
  Tabla(const Tabla &) = delete;
  Tabla &operator=(const Tabla &) = delete;
  ~Tabla() {
    for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i) {
      tablalink_t *r = lista_reg_dame(lista, i);
      tablalink_destruye(&r);
    }
    lista_reg_destruye(&lista);
  }
  uint32_t registros() const { return lista_reg_num_elems(lista); }
};

// A page document with its texts and identifiers, freed however the checks end.
struct Documento {
  lenguaweb_t *doc = nullptr;
  lista_cad_t *ids = nullptr;  // before textos, which fills it
  lista_cad_t *textos = nullptr;
  Documento(const std::string &camino, uint32_t idioma)
      : doc(lenguaweb_crea(camino.c_str(), idioma)),
        textos(lenguaweb_dame_textos_a_trducir(doc, &ids)) {}
  Documento(const Documento &) = delete;
  Documento &operator=(const Documento &) = delete;
  ~Documento() {
    lista_cad_destruye(&textos);
    lista_cad_destruye(&ids);
    lenguaweb_destruye(&doc);
  }
};

// A value of the page that gives a text to translate: IMG ALT, or the CONTENT of a
// META whose NAME is DESCRIPTION or KEYWORDS.
struct ValorATraducir {
  uint32_t tipo;
  size_t nodo;  // its element in the parsed page
  const AtributoHtml *atributo;
};

std::vector<ValorATraducir> valores_a_traducir(const std::vector<NodoHtml> &arbol) {
  std::vector<ValorATraducir> valores;
  for (size_t i = 0; i < arbol.size(); ++i) {
    const NodoHtml &n = arbol[i];
    if (n.clase != ClaseNodo::elemento) continue;
    const AtributoHtml *valor = nullptr;
    uint32_t tipo = TIPO_ALTERNATIVO_IMAGEN;
    if (n.nombre == "img") {
      valor = atributo(n, "alt");
    } else if (n.nombre == "meta") {
      const AtributoHtml *nombre = atributo(n, "name");
      const std::string clase = nombre != nullptr ? en_minusculas(nombre->valor) : "";
      if (clase != "description" && clase != "keywords") continue;
      tipo = clase == "description" ? TIPO_DESCRIPCION : TIPO_PALABRA_CLAVE;
      valor = atributo(n, "content");
    }
    if (valor != nullptr && valor->inicio != kNoEsta) valores.push_back({tipo, i, valor});
  }
  return valores;
}

// The tree comparison cuts long texts: for the first pair of text nodes that differ,
// where their texts part.
std::string donde_difieren_los_textos(const std::vector<NodoHtml> &esperado,
                                      const std::vector<NodoHtml> &obtenido) {
  for (size_t i = 0; i < std::min(esperado.size(), obtenido.size()); ++i) {
    const NodoHtml &e = esperado[i], &o = obtenido[i];
    if (e.clase != o.clase || e.ruta != o.ruta) return {};
    if (e.clase != ClaseNodo::texto) continue;
    const std::string a = e.crudo ? e.texto : arbol_colapsa(e.texto);
    const std::string b = o.crudo ? o.texto : arbol_colapsa(o.texto);
    if (a != b) return "  the text " + muestra_diferencia(a, b) + "\n";
  }
  return {};
}

// "" when the parser reads both pages alike, else the first difference.
std::string compara_arboles(const std::vector<NodoHtml> &esperado,
                            const std::vector<NodoHtml> &obtenido) {
  const std::string diferencia = arbol_compara(esperado, obtenido);
  return diferencia.empty() ? diferencia
                            : diferencia + donde_difieren_los_textos(esperado, obtenido);
}

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

bool elige_marcas(const std::string &texto, const std::vector<NodoHtml> &arbol, uint32_t idioma,
                  Marcas *marcas) {
  static const Marcas kPosibles[] = {
      {"\u27E6", "\u27E7"}, {"\u3010", "\u3011"}, {"\u00AB", "\u00BB"}, {"{{", "}}"},
      {"[[", "]]"},         {"~[", "]~"},         {"`{", "}`"}};
  for (const Marcas &m : kPosibles) {
    const auto usa = [&m](std::string_view s) {
      return s.find(m.abre) != kNoEsta || s.find(m.cierra) != kNoEsta;
    };
    bool usada = usa(texto);
    for (const NodoHtml &n : arbol) {
      usada = usada || usa(n.texto);
      for (const AtributoHtml &a : n.atributos) usada = usada || usa(a.valor);
    }
    if (!usada && ida_y_vuelta(m.de(0), idioma) == m.de(0)) {
      *marcas = m;
      return true;
    }
  }
  return false;
}

// Everything checked on one page, step by step; each step adds its failures and says
// whether the later ones can go on.
class Comprobador {
 public:
  Comprobador(const std::string &camino, uint32_t idioma, const std::string &carpeta,
              ResultadoPagina &r)
      : camino_(camino), idioma_(idioma), carpeta_(carpeta), r_(r) {}

  void ejecuta() {
    bytes_ = lee_fichero(camino_);
    leida_ = pagina_descodifica(bytes_);
    r_.bytes = bytes_.size();
    r_.utf8 = leida_.utf8;
    arbol_ = arbol_lee(leida_.texto);

    Documento doc(camino_, idioma_);
    textos_ = a_vector(doc.textos);
    tipos_ = a_vector(doc.doc->tipos_de_textos);
    trozos_ = a_vector(doc.doc->trozos_html);
    r_.textos = textos_.size();
    r_.en_tags = static_cast<size_t>(
        std::count_if(tipos_.begin(), tipos_.end(), [](uint32_t t) { return !es_cuerpo(t); }));
    if (!documento_coherente() || !ubica_trozos() || !reparte_valores()) return;
    propios(doc);
    marcas(doc);
    enlaces(doc);
  }

 private:
  void falla(const std::string &que, const std::string &diferencia) {
    r_.fallos.push_back(que + ": " + diferencia);
  }
  std::string ruta(const char *nombre) const { return carpeta_ + "/" + nombre; }
  size_t fin_de(size_t k) const { return inicios_[k] + trozos_[k].size(); }

  bool documento_coherente() {
    const size_t cuerpos =
        static_cast<size_t>(std::count_if(tipos_.begin(), tipos_.end(), es_cuerpo));
    if (tipos_.size() != textos_.size() || trozos_.size() != cuerpos + 1) {
      falla("document", std::to_string(textos_.size()) + " texts, " +
                            std::to_string(tipos_.size()) + " kinds, " + std::to_string(cuerpos) +
                            " body texts, " + std::to_string(trozos_.size()) + " pieces");
      return false;
    }
    return true;
  }

  // Pieces and the page's own body texts join back to the page: piece 0 begins it, the
  // last ends it, and each other one is the first place after the one before where its
  // bytes stand (a body text holds no tag that could begin a piece).
  bool ubica_trozos() {
    inicios_.assign(trozos_.size(), 0);
    size_t p = 0;
    for (size_t k = 0; k < trozos_.size(); ++k) {
      const std::string &t = trozos_[k];
      size_t en = 0;
      if (k > 0 && k + 1 == trozos_.size())
        en = bytes_.size() >= t.size() ? bytes_.size() - t.size() : kNoEsta;
      else if (k > 0)
        en = bytes_.find(t, p + 1);
      if (en == kNoEsta || (k > 0 && en <= p) || bytes_.compare(en, t.size(), t) != 0) {
        falla("pieces", "piece " + std::to_string(k) + " is not in the page after byte " +
                            std::to_string(p) + ": " + fragmento(t, 0, 80));
        return false;
      }
      inicios_[k] = en;
      p = en + t.size();
    }
    if (p != bytes_.size()) {
      falla("pieces", "the last piece does not end the page");
      return false;
    }
    return true;
  }

  // The ALT and META texts that the parser finds are, piece by piece, the document's
  // texts in tags, of the same kinds and in the same order.
  bool reparte_valores() {
    valores_ = valores_a_traducir(arbol_);
    de_trozo_.assign(trozos_.size(), {});
    size_t k = 0;
    for (size_t v = 0; v < valores_.size(); ++v) {
      const size_t en = valores_[v].atributo->inicio;
      while (k < trozos_.size() && en >= leida_.en(fin_de(k))) ++k;
      if (k == trozos_.size() || en < leida_.en(inicios_[k])) {
        falla("texts in tags", "a value to translate lies in a body text: " +
                                   arbol_describe(arbol_[valores_[v].nodo]));
        return false;
      }
      de_trozo_[k].push_back(v);
    }
    size_t j = 0;
    for (size_t t = 0; t < trozos_.size(); ++t) {
      std::vector<uint32_t> del_documento, de_la_pagina;
      for (; j < tipos_.size() && !es_cuerpo(tipos_[j]); ++j) del_documento.push_back(tipos_[j]);
      if (j < tipos_.size()) ++j;
      for (size_t v : de_trozo_[t]) de_la_pagina.push_back(valores_[v].tipo);
      if (del_documento != de_la_pagina) {
        falla("texts in tags", "piece " + std::to_string(t) + " gives " +
                                   std::to_string(del_documento.size()) + ", the parser finds " +
                                   std::to_string(de_la_pagina.size()) + ": " +
                                   fragmento(trozos_[t], 0, 200));
        return false;
      }
    }
    return true;
  }

  // Rebuilt with its own texts, the page reads the same to the parser.
  void propios(const Documento &doc) {
    const std::string salida = ruta("propia.html");
    if (lenguaweb_reconstruye_fichero_html(doc.doc, doc.textos, doc.ids, nullptr, nullptr,
                                           salida.c_str(), idioma_) != CIERTO)
      falla("own texts", "the rebuild reported a failed write");
    propia_ = pagina_descodifica(lee_fichero(salida)).texto;
    const std::string diferencia = compara_arboles(arbol_, arbol_lee(propia_));
    if (!diferencia.empty()) falla("own texts", diferencia);
  }

  // Rebuilt with a numbered marker for each text, each body marker followed by the
  // inline tags of its text as a translator keeps them: the page is its pieces with the
  // markers in place, and the parser finds each marker where its text stood.
  void marcas(const Documento &doc) {
    Marcas marcas;
    if (!elige_marcas(leida_.texto, arbol_, idioma_, &marcas)) {
      falla("markers", "no marker fits the page and its language");
      return;
    }
    std::vector<std::string> en_idioma;
    std::string esperada;
    for (size_t k = 0, j = 0; k < trozos_.size(); ++k) {
      // The piece, each value that gave a text made that text's marker.
      size_t desde = leida_.en(inicios_[k]);
      for (size_t v : de_trozo_[k]) {
        const AtributoHtml &a = *valores_[v].atributo;
        const size_t fuera = a.comillas != 0 ? 1 : 0;
        esperada.append(leida_.texto, desde, a.inicio - fuera - desde);
        esperada += "\"" + marcas.de(j) + "\"";
        en_idioma.push_back(marcas.de(j++));
        desde = a.fin + fuera;
      }
      esperada.append(leida_.texto, desde, leida_.en(fin_de(k)) - desde);
      if (k + 1 == trozos_.size()) break;
      const std::string marcador =
          marcas.de(j++) + tags_de(leida_.en(fin_de(k)), leida_.en(inicios_[k + 1]));
      esperada += ida_y_vuelta(marcador, idioma_);
      en_idioma.push_back(marcador);
    }
    lista_cad_t *traducidos = lista_cad_crea(0);
    for (const std::string &m : en_idioma) {
      char *t = conv_utf8_a_ansi_html(m.c_str(), idioma_);
      lista_cad_anade_propia(traducidos, &t);
    }
    const std::string salida = ruta("marcas.html");
    const booleano escrita = lenguaweb_reconstruye_fichero_html(
        doc.doc, traducidos, doc.ids, nullptr, nullptr, salida.c_str(), idioma_);
    lista_cad_destruye(&traducidos);
    if (escrita != CIERTO) falla("markers", "the rebuild reported a failed write");
    const std::string marcada = pagina_descodifica(lee_fichero(salida)).texto;
    const std::string bytes = muestra_diferencia(esperada, marcada);
    if (!bytes.empty()) falla("markers in the bytes", bytes);
    const std::string arbol = compara_arboles(arbol_con(marcas), arbol_lee(marcada));
    if (!arbol.empty()) falla("markers for the parser", arbol);
  }

  // The tags in the page's text [desde, hasta), one after the other.
  std::string tags_de(size_t desde, size_t hasta) const {
    std::string tags;
    const std::string &t = leida_.texto;
    for (size_t p = t.find('<', desde); p < hasta; p = t.find('<', p + 1)) {
      const size_t cierre = t.find('>', p);
      tags.append(t, p, cierre == kNoEsta ? kNoEsta : cierre + 1 - p);
      if (cierre == kNoEsta) break;
      p = cierre;
    }
    return tags;
  }

  // The parsed page with each value that gave a text made its marker, the text node in
  // which each body text begins made its marker (the blanks of the pieces around it
  // kept), and the other text nodes of the body text gone.
  std::vector<NodoHtml> arbol_con(const Marcas &marcas) const {
    struct Tramo {
      size_t inicio, fin, texto;
    };
    std::vector<NodoHtml> arbol = arbol_;
    std::vector<Tramo> tramos;
    for (size_t k = 0, j = 0; k < trozos_.size(); ++k) {
      for (size_t v : de_trozo_[k])
        for (AtributoHtml &a : arbol[valores_[v].nodo].atributos)
          if (a.nombre == valores_[v].atributo->nombre) a.valor = marcas.de(j++);
      if (k + 1 < trozos_.size())
        tramos.push_back({leida_.en(fin_de(k)), leida_.en(inicios_[k + 1]), j++});
    }
    // A node's bytes outside the body texts: blanks of the pieces, and the tags that the
    // parser passed over in between (a line feed after </BODY>).
    const auto fuera = [this](size_t desde, size_t hasta) {
      std::string blancos;
      for (size_t q = desde; q < hasta; ++q)
        if (leida_.texto[q] == '<')
          q = std::min(hasta, leida_.texto.find('>', q));
        else
          blancos += leida_.texto[q];
      return blancos;
    };
    std::vector<NodoHtml> esperado;
    for (NodoHtml &n : arbol) {
      auto b = std::upper_bound(tramos.begin(), tramos.end(), n.inicio,
                                [](size_t p, const Tramo &t) { return p < t.fin; });
      if (n.clase != ClaseNodo::texto || n.crudo || n.inicio == kNoEsta || b == tramos.end() ||
          b->inicio >= n.fin) {
        esperado.push_back(std::move(n));
        continue;
      }
      std::string texto;
      size_t p = n.inicio;
      for (; b != tramos.end() && b->inicio < n.fin; ++b) {
        if (p < b->inicio) texto += fuera(p, b->inicio);
        if (b->inicio >= n.inicio) texto += marcas.de(b->texto);
        p = std::max(p, std::min(b->fin, n.fin));
      }
      texto += fuera(p, n.fin);
      n.texto = texto;
      if (!texto.empty()) esperado.push_back(std::move(n));
    }
    return esperado;
  }

  // Preprocessed, the page holds a reference for every link; rebuilt with the tables,
  // every link comes back as its record rebuilds it and nothing else changes;
  // preprocessed again, nothing changes and no record is added.
  void enlaces(const Documento &doc) {
    Tabla a, img;
    const std::string pre = ruta("pre.html");
    if (lenguaweb_preprocesa_links(doc.doc, a.lista, img.lista, pre.c_str(), idioma_) != CIERTO)
      falla("links", "preprocessing reported a failed write");
    const std::string pre_bytes = lee_fichero(pre);
    const std::vector<EnlaceEnPagina> propios = enlaces_de(arbol_lee(propia_), propia_);
    const std::string pre_texto = pagina_descodifica(pre_bytes).texto;
    const std::string referencias =
        compara_referencias(propios, enlaces_de(arbol_lee(pre_texto), pre_texto));
    if (!referencias.empty()) falla("link references", referencias);

    std::set<std::string> distintos[2];
    for (const EnlaceEnPagina &e : propios) {
      if (!enlace_se_traslada(e.valor)) continue;
      ++r_.enlaces;
      const PartesEnlace p = enlace_divide(e.valor);
      distintos[e.img].insert(p.dominio + '\0' + p.ruta + '\0' + p.nombre_fichero);
    }
    if (a.registros() != distintos[0].size() || img.registros() != distintos[1].size())
      falla("link tables", std::to_string(a.registros()) + " A and " +
                               std::to_string(img.registros()) + " IMG records for " +
                               std::to_string(distintos[0].size()) + " and " +
                               std::to_string(distintos[1].size()) + " distinct targets");

    Documento preprocesada(pre, idioma_);
    const std::string vuelta = ruta("vuelta.html");
    if (lenguaweb_reconstruye_fichero_html(preprocesada.doc, preprocesada.textos, preprocesada.ids,
                                           a.lista, img.lista, vuelta.c_str(), idioma_) != CIERTO)
      falla("links", "the rebuild reported a failed write");
    const std::string diferencia =
        muestra_diferencia(pagina_con_enlaces_reconstruidos(propia_, propios),
                           pagina_descodifica(lee_fichero(vuelta)).texto);
    if (!diferencia.empty()) falla("link round trip", diferencia);

    const uint32_t registros_a = a.registros(), registros_img = img.registros();
    const std::string otra = ruta("pre2.html");
    if (lenguaweb_preprocesa_links(preprocesada.doc, a.lista, img.lista, otra.c_str(), idioma_) !=
        CIERTO)
      falla("links", "preprocessing again reported a failed write");
    const std::string dos = muestra_diferencia(pre_bytes, lee_fichero(otra));
    if (!dos.empty()) falla("preprocessing twice", dos);
    if (a.registros() != registros_a || img.registros() != registros_img)
      falla("preprocessing twice", "records were added");
  }

  const std::string &camino_;
  uint32_t idioma_;
  const std::string &carpeta_;
  ResultadoPagina &r_;

  std::string bytes_;
  PaginaLeida leida_;
  std::vector<NodoHtml> arbol_;
  std::vector<std::string> textos_, trozos_;
  std::vector<uint32_t> tipos_;
  std::vector<size_t> inicios_;  // where each piece begins in the page's bytes
  std::vector<ValorATraducir> valores_;
  std::vector<std::vector<size_t>> de_trozo_;  // the values in each piece
  std::string propia_;                         // rebuilt with its own texts, decoded
};

}  // namespace

void comprobacion_instala_receptor() {
  informa_fallo_pon_receptor(recibe_informe, nullptr);
}

ResultadoPagina pagina_comprueba(const std::string &camino, uint32_t idioma,
                                 const std::string &carpeta) {
  ResultadoPagina r;
  r.camino = camino;
  r.idioma = idioma;
  std::vector<std::pair<std::string, std::string>> informes;
  informes_del_hilo = &informes;
  Comprobador(camino, idioma, carpeta, r).ejecuta();
  informes_del_hilo = nullptr;
  // A text that keeps an entity, and a relative link whose last part holds no '.', are
  // reported by design; anything else is a fault.
  for (const auto &[condicion, modulo] : informes) {
    if (condicion == "strchr(texto, '&')==NULL" || condicion == "hay_punto == CIERTO")
      ++r.informes[condicion];
    else
      r.fallos.push_back("report: \"" + condicion + "\" (" + modulo + ")");
  }
  return r;
}

std::vector<EnlaceEnPagina> enlaces_de(const std::vector<NodoHtml> &arbol, std::string_view texto) {
  std::vector<EnlaceEnPagina> enlaces;
  for (const NodoHtml &n : arbol) {
    if (n.clase != ClaseNodo::elemento) continue;
    const bool img = n.nombre.compare(0, 3, "img") == 0;
    if (!img && n.nombre.compare(0, 1, "a") != 0) continue;
    const AtributoHtml *a = atributo(n, img ? "src" : "href");
    if (a == nullptr || a->inicio == kNoEsta) continue;
    enlaces.push_back({a->inicio, a->fin, a->comillas == '"', img,
                       std::string(texto.substr(a->inicio, a->fin - a->inicio))});
  }
  return enlaces;
}

bool enlace_se_traslada(std::string_view valor) {
  return !valor.empty() && valor[0] != '@' && valor[0] != '#';
}

std::string pagina_con_enlaces_reconstruidos(std::string_view texto,
                                             const std::vector<EnlaceEnPagina> &enlaces) {
  std::string r;
  r.reserve(texto.size());
  size_t copiado = 0;
  for (const EnlaceEnPagina &e : enlaces) {
    if (!enlace_se_traslada(e.valor) || e.inicio < copiado) continue;
    r.append(texto.substr(copiado, e.inicio - copiado));
    r += valor_escrito(enlace_reconstruye(enlace_divide(e.valor)), e.entre_comillas);
    copiado = e.fin;
  }
  r.append(texto.substr(copiado));
  return r;
}

std::string compara_referencias(const std::vector<EnlaceEnPagina> &enlaces,
                                const std::vector<EnlaceEnPagina> &enlaces_pre) {
  for (size_t i = 0; i < std::max(enlaces.size(), enlaces_pre.size()); ++i) {
    if (i >= enlaces.size() || i >= enlaces_pre.size())
      return "the page has " + std::to_string(enlaces.size()) + " links, the preprocessed page " +
             std::to_string(enlaces_pre.size());
    const EnlaceEnPagina &e = enlaces[i];
    const std::string esperado =
        enlace_se_traslada(e.valor) ? "@" + enlace_identificador(enlace_divide(e.valor)) : e.valor;
    if (enlaces_pre[i].valor != esperado || enlaces_pre[i].img != e.img)
      return "link " + std::to_string(i) + " " + fragmento(e.valor, 0, 100) + " should become " +
             fragmento(esperado, 0, 100) + ", it is " + fragmento(enlaces_pre[i].valor, 0, 100);
  }
  return {};
}

}  // namespace sitios
