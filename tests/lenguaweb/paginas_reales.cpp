// paginas_reales.cpp - real and generated pages rebuilt, then read back by a real HTML parser.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "comun/entorno_pruebas.h"

#ifndef LENGUAWEB_PRUEBAS_GUMBO

TEST(PaginasReales, SinAnalizadorHtml) {
  GTEST_SKIP() << "built without gumbo (pruebas_arbol)";
}

#else

#include "comun/arbol_html.h"
#include "lenguaweb/documento.h"

namespace {

using pruebas::a_vector;
using pruebas::arbol_compara;
using pruebas::arbol_describe;
using pruebas::arbol_lee;
using pruebas::AtributoHtml;
using pruebas::ClaseNodo;
using pruebas::NodoHtml;
using Textos = std::vector<std::string>;

constexpr uint32_t kIngles = 0x0409;
constexpr uint32_t kEspanol = 0x0C0A;
constexpr uint32_t kJapones = 0x0411;
constexpr uint32_t kRuso = 0x0419;
constexpr uint32_t kChino = 0x0804;
constexpr size_t kNoEsta = std::string::npos;

bool es_cuerpo(uint32_t tipo) {
  return tipo == TIPO_TITULO || tipo == TIPO_TEXTO;
}

std::string fragmento(std::string_view s, size_t desde, size_t largo = 70) {
  std::string r(s.substr(std::min(desde, s.size()), largo));
  for (char &c : r)
    if (c == '\n' || c == '\r') c = ' ';
  return "\"" + r + "\"";
}

// A value in a tag that the page gives to translate, as the parser finds it in the page.
struct ValorEnTag {
  uint32_t tipo;  // the kind of text it should give
  size_t inicio;  // the value's bytes in the page, quotes excluded
  size_t fin;
  char comillas;  // '"', '\'' or 0
  size_t nodo;    // its element in the parsed page
  std::string atributo;
};

std::vector<ValorEnTag> valores_a_traducir(const std::vector<NodoHtml> &arbol) {
  std::vector<ValorEnTag> valores;
  for (size_t i = 0; i < arbol.size(); ++i) {
    const NodoHtml &n = arbol[i];
    if (n.clase != ClaseNodo::elemento || (n.nombre != "img" && n.nombre != "meta")) continue;
    const bool img = n.nombre == "img";
    const auto atributo = [&](const char *nombre) -> const AtributoHtml * {
      for (const AtributoHtml &a : n.atributos)
        if (a.nombre == nombre) return &a;
      return nullptr;
    };
    uint32_t tipo = TIPO_ALTERNATIVO_IMAGEN;
    const AtributoHtml *valor = atributo(img ? "alt" : "content");
    if (!img) {
      const AtributoHtml *nombre = atributo("name");
      std::string clase = nombre != nullptr ? nombre->valor : "";
      for (char &c : clase) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (clase == "description")
        tipo = TIPO_DESCRIPCION;
      else if (clase == "keywords")
        tipo = TIPO_PALABRA_CLAVE;
      else
        continue;
    }
    if (valor == nullptr || valor->inicio == kNoEsta) continue;
    valores.push_back({tipo, valor->inicio, valor->fin, valor->comillas, i, valor->nombre});
  }
  return valores;
}

// The markers that stand for the texts: the first bracket pair that the language's code
// page holds and that the page does not use.
struct Marcas {
  std::string abre, cierra;
  std::string de(size_t i) const { return abre + std::to_string(i) + cierra; }
};

// A body text as the rebuild writes it into the page: a '<' stays markup only where it
// begins an inline tag that the page did not show as code in that text (bit i of codigo
// for the i-th inline name), and so does that tag's '>'; every other '<' and '>' becomes
// an entity.
std::string como_cuerpo(std::string_view t, uint32_t codigo, const std::vector<bool> *signos) {
  std::string r;
  size_t k = 0;  // '<' and '>' met, for a text written exactly as the page had them
  for (size_t i = 0; i < t.size(); ++i) {
    if (signos != nullptr) {
      const bool crudo = (t[i] == '<' || t[i] == '>') && k < signos->size() && (*signos)[k];
      if (t[i] == '<' || t[i] == '>') ++k;
      r += crudo         ? std::string(1, t[i])
           : t[i] == '<' ? "&lt;"
           : t[i] == '>' ? "&gt;"
                         : std::string(1, t[i]);
      continue;
    }
    const size_t cierre = t[i] == '<' ? t.find('>', i) : kNoEsta;
    std::string_view nombre = cierre != kNoEsta ? t.substr(i + 1, cierre - i - 1) : "";
    nombre = nombre.substr(0, nombre.find(' '));
    static const std::string_view kEnLinea[] = {
        "U", "/U", "B", "/B", "I", "/I", "EM", "/EM", "STRONG", "/STRONG", "BR", "FONT", "/FONT"};
    const auto es = std::find_if(std::begin(kEnLinea), std::end(kEnLinea), [&](std::string_view n) {
      return n.size() == nombre.size() &&
             std::equal(n.begin(), n.end(), nombre.begin(), [](char a, char b) {
               return a == std::toupper(static_cast<unsigned char>(b));
             });
    });
    const bool en_linea =
        es != std::end(kEnLinea) && (codigo & (1u << (es - std::begin(kEnLinea)))) == 0;
    if (en_linea) {
      r.append(t.substr(i, cierre + 1 - i));
      i = cierre;
    } else {
      r += t[i] == '<' ? "&lt;" : t[i] == '>' ? "&gt;" : std::string(1, t[i]);
    }
  }
  return r;
}

// A value as the rebuild writes it between its double quotes.
std::string como_valor(std::string_view t) {
  std::string r;
  for (char c : t)
    r += c == '"' ? "&quot;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  return r;
}

class PaginasReales : public pruebas::Entorno {
 protected:
  // Every check below, for the page in the file at camino read in the language idioma.
  void comprueba_pagina(const std::string &camino, uint32_t idioma) {
    original_ = lee(camino);
    struct Recursos {  // freed however the checks end
      lenguaweb_t *doc = nullptr;
      lista_cad_t *ids = nullptr, *textos = nullptr, *traducidos = nullptr;
      ~Recursos() {
        lista_cad_destruye(&traducidos);
        lista_cad_destruye(&textos);
        lista_cad_destruye(&ids);
        lenguaweb_destruye(&doc);
      }
    } r;
    r.doc = lenguaweb_crea(camino.c_str(), idioma);
    r.textos = lenguaweb_dame_textos_a_trducir(r.doc, &r.ids);
    textos_ = a_vector(r.textos);
    tipos_ = a_vector(r.doc->tipos_de_textos);
    codigo_ = a_vector(r.doc->codigo_en_linea);
    ASSERT_EQ(codigo_.size(), textos_.size());
    trozos_ = a_vector(r.doc->trozos_html);
    arbol_ = arbol_lee(original_);
    ASSERT_EQ(textos_.size(), tipos_.size());
    const size_t cuerpos =
        static_cast<size_t>(std::count_if(tipos_.begin(), tipos_.end(), es_cuerpo));
    ASSERT_EQ(trozos_.size(), cuerpos + 1) << "pieces and body texts must alternate";
    ASSERT_NO_FATAL_FAILURE(ubica_trozos());
    ASSERT_NO_FATAL_FAILURE(reparte_valores());

    // With its own texts: the same page for the parser, and every piece byte for byte.
    const std::string propia = ruta("propia.html");
    EXPECT_EQ(lenguaweb_reconstruye_fichero_html(r.doc, r.textos, r.ids, nullptr, nullptr,
                                                 propia.c_str(), idioma),
              CIERTO);
    const std::string reconstruida = lee(propia);
    EXPECT_EQ(arbol_compara(arbol_, arbol_lee(reconstruida)), "")
        << "rebuilt with its own texts, the page reads differently";
    Textos escritos;
    for (size_t i = 0; i < textos_.size(); ++i) {
      char *u = conv_ansi_idioma_a_utf8(textos_[i].c_str(), idioma);
      const std::vector<bool> *signos = nullptr;
      if (r.doc->signos_crudos != nullptr && r.doc->signos_crudos->count(static_cast<uint32_t>(i)))
        signos = &r.doc->signos_crudos->at(static_cast<uint32_t>(i));
      escritos.push_back(es_cuerpo(tipos_[i]) ? como_cuerpo(u, codigo_[i], signos) : como_valor(u));
      cad_destruye(&u);
    }
    compara_bytes(pagina_con(escritos), reconstruida, "rebuilt with its own texts");

    // With a marker for each text, carrying the inline tags of a body text as a
    // translator keeps them.
    const Marcas marcas = elige_marcas(idioma);
    Textos marcadores, en_idioma;
    for (size_t i = 0, k = 0; i < textos_.size(); ++i) {
      marcadores.push_back(marcas.de(i));
      if (es_cuerpo(tipos_[i])) marcadores.back() += tags_de(fin_de(k), inicios_[k + 1]), ++k;
      char *m = conv_utf8_a_ansi_html(marcadores.back().c_str(), idioma);
      en_idioma.emplace_back(m);
      cad_destruye(&m);
    }
    r.traducidos = pruebas::a_lista(en_idioma);
    const std::string con_marcas = ruta("marcas.html");
    EXPECT_EQ(lenguaweb_reconstruye_fichero_html(r.doc, r.traducidos, r.ids, nullptr, nullptr,
                                                 con_marcas.c_str(), idioma),
              CIERTO);
    const std::string marcada = lee(con_marcas);
    compara_bytes(pagina_con(marcadores), marcada, "rebuilt with markers");
    EXPECT_EQ(arbol_compara(arbol_con(marcas), arbol_lee(marcada)), "")
        << "the markers are not where their texts stood";

    for (const auto &informe : informes())
      EXPECT_EQ(informe.condicion, "strchr(texto, '&')==NULL") << "unexpected report";
    std::printf("[  figures ] %zu bytes, %zu pieces, %zu texts (%zu in tags), rebuilt %zu bytes\n",
                original_.size(), trozos_.size(), textos_.size(), textos_.size() - cuerpos,
                reconstruida.size());
  }

  size_t fin_de(size_t trozo) const { return inicios_[trozo] + trozos_[trozo].size(); }

  // The tags in the page's bytes [desde, hasta), one after the other.
  std::string tags_de(size_t desde, size_t hasta) const {
    std::string tags;
    for (size_t p = original_.find('<', desde); p < hasta; p = original_.find('<', p + 1))
      tags += original_.substr(p, original_.find('>', p) + 1 - p);
    return tags;
  }

  // Pieces and the body texts between them give back the page: piece 0 begins it, the
  // last piece ends it, and each other piece is the first place after the one before
  // where its bytes stand (a body text holds no tag that could begin a piece).
  void ubica_trozos() {
    inicios_.assign(trozos_.size(), 0);
    size_t p = 0;
    for (size_t k = 0; k < trozos_.size(); ++k) {
      const std::string &t = trozos_[k];
      size_t en = 0;
      if (k + 1 == trozos_.size() && k > 0)
        en = original_.size() >= t.size() ? original_.size() - t.size() : kNoEsta;
      else if (k > 0)
        en = original_.find(t, p + 1);
      ASSERT_TRUE(en != kNoEsta && (k == 0 || en > p) && original_.compare(en, t.size(), t) == 0)
          << "piece " << k << " is not in the page after byte " << p << ": " << fragmento(t, 0);
      inicios_[k] = en;
      p = en + t.size();
    }
    ASSERT_EQ(p, original_.size()) << "the last piece must end the page";
  }

  // The values the parser finds in IMG ALT and META description and keywords must be the
  // attribute texts of the document, piece by piece, in order and of the same kind.
  void reparte_valores() {
    valores_ = valores_a_traducir(arbol_);
    de_trozo_.assign(trozos_.size(), {});
    size_t k = 0;
    for (size_t v = 0; v < valores_.size(); ++v) {
      while (k < trozos_.size() && valores_[v].inicio >= fin_de(k)) ++k;
      ASSERT_TRUE(k < trozos_.size() && valores_[v].inicio >= inicios_[k])
          << "a value to translate lies in a body text: "
          << arbol_describe(arbol_[valores_[v].nodo]);
      de_trozo_[k].push_back(v);
    }
    size_t j = 0;
    for (size_t t = 0; t < trozos_.size(); ++t) {
      std::vector<uint32_t> del_documento, de_la_pagina;
      for (; j < tipos_.size() && !es_cuerpo(tipos_[j]); ++j) del_documento.push_back(tipos_[j]);
      if (j < tipos_.size()) ++j;
      for (size_t v : de_trozo_[t]) de_la_pagina.push_back(valores_[v].tipo);
      ASSERT_EQ(del_documento, de_la_pagina)
          << "texts in the tags of piece " << t << ": " << fragmento(trozos_[t], 0, 200);
    }
  }

  // The page with text i written as escritos[i]: the pieces byte for byte, each body text
  // after its piece and each value in its place, between double quotes.
  std::string pagina_con(const Textos &escritos) const {
    std::string pagina;
    size_t j = 0;
    for (size_t k = 0; k < trozos_.size(); ++k) {
      size_t desde = 0;
      for (size_t v : de_trozo_[k]) {
        const ValorEnTag &valor = valores_[v];
        const size_t fuera = valor.comillas != 0 ? 1 : 0;
        pagina.append(trozos_[k], desde, valor.inicio - fuera - inicios_[k] - desde);
        pagina += "\"" + escritos[j++] + "\"";
        desde = valor.fin + fuera - inicios_[k];
      }
      pagina.append(trozos_[k], desde);
      if (k + 1 < trozos_.size()) pagina += escritos[j++];
    }
    return pagina;
  }

  static void compara_bytes(const std::string &esperada, const std::string &obtenida,
                            const char *que) {
    if (esperada == obtenida) return;
    size_t d = 0;
    while (d < esperada.size() && d < obtenida.size() && esperada[d] == obtenida[d]) ++d;
    const size_t desde = d > 30 ? d - 30 : 0;
    ADD_FAILURE() << que << ", the page differs at byte " << d << ": expected "
                  << fragmento(esperada, desde, 100) << ", obtained "
                  << fragmento(obtenida, desde, 100);
  }

  Marcas elige_marcas(uint32_t idioma) const {
    static const Marcas kPosibles[] = {
        {"\u27E6", "\u27E7"}, {"\u3010", "\u3011"}, {"\u00AB", "\u00BB"}, {"{{", "}}"}};
    for (const Marcas &m : kPosibles) {
      const std::string prueba = m.de(0);
      char *en_pagina = conv_utf8_a_ansi_html(prueba.c_str(), idioma);
      char *de_vuelta = conv_ansi_idioma_a_utf8(en_pagina, idioma);
      const bool cabe = prueba == de_vuelta && std::strchr(en_pagina, '&') == nullptr;
      cad_destruye(&en_pagina);
      cad_destruye(&de_vuelta);
      const auto usa = [&m](const std::string &s) {
        return s.find(m.abre) != kNoEsta || s.find(m.cierra) != kNoEsta;
      };
      bool usada = usa(original_);
      for (const NodoHtml &n : arbol_) {
        usada = usada || usa(n.texto);
        for (const AtributoHtml &a : n.atributos) usada = usada || usa(a.valor);
      }
      if (cabe && !usada) return m;
    }
    ADD_FAILURE() << "no marker fits";
    return kPosibles[3];
  }

  // The page's tree with each value that gave a text made that text's marker, the text
  // node in which each body text began made its marker (blanks before it kept), and the
  // other text nodes of the body text gone.
  std::vector<NodoHtml> arbol_con(const Marcas &marcas) const {
    std::vector<NodoHtml> arbol = arbol_;
    size_t j = 0;
    struct Tramo {  // a body text: its bytes in the page and its index
      size_t inicio, fin, texto;
    };
    std::vector<Tramo> tramos;
    for (size_t k = 0; k < trozos_.size(); ++k) {
      for (size_t v : de_trozo_[k])
        for (AtributoHtml &a : arbol[valores_[v].nodo].atributos)
          if (a.nombre == valores_[v].atributo) a.valor = marcas.de(j++);
      if (k + 1 < trozos_.size()) tramos.push_back({fin_de(k), inicios_[k + 1], j++});
    }
    // Bytes of a node outside the body texts are blanks of a piece, with the tags that
    // the parser passed over in between (a last line feed after </BODY>).
    const auto fuera = [this](size_t desde, size_t hasta) {
      std::string blancos;
      for (size_t q = desde; q < hasta; ++q)
        if (original_[q] == '<')
          q = std::min(hasta, original_.find('>', q));
        else
          blancos += original_[q];
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
      EXPECT_EQ(texto.find('&'), kNoEsta) << "a text crosses a piece: " << arbol_describe(n);
      n.texto = texto;
      if (!texto.empty()) esperado.push_back(std::move(n));
    }
    return esperado;
  }

  std::string original_;
  Textos textos_, trozos_;
  std::vector<uint32_t> tipos_;
  std::vector<uint32_t> codigo_;  // inline tags each text showed as code
  std::vector<NodoHtml> arbol_;
  std::vector<size_t> inicios_;                 // where each piece begins in the page
  std::vector<ValorEnTag> valores_;             // values to translate, in page order
  std::vector<std::vector<size_t> > de_trozo_;  // the values in each piece
};

// Pages made from a seed, in the styles of the real ones: upper or lower case, line ends
// of either kind, texts with inline tags, entities, blank runs and letters of several
// scripts, META and IMG texts, scripts, styles, comments, tables, lists and code.
class Generador {
 public:
  explicit Generador(uint32_t semilla) : azar_(semilla) {
    mayusculas_ = entre(0, 2);  // 0 lower, 1 upper, 2 either, tag by tag
    fin_de_linea_ = entre(0, 3) == 0 ? "\r\n" : "\n";
  }

  std::string pagina() {
    std::string p =
        entre(0, 1) ? "<!DOCTYPE html>" : "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">";
    p += fin_de_linea_ + abre("html") + abre("head") + fin_de_linea_;
    p += entre(0, 1) ? abre("meta", " charset=\"utf-8\"")
                     : abre("meta", atributo(" http-equiv", "\"Content-Type\"") +
                                        atributo(" content", "\"text/html; charset=UTF-8\""));
    p += abre("meta", atributo(" name", "\"viewport\"") +
                          atributo(" content", "\"width=device-width, initial-scale=1\""));
    p += fin_de_linea_ + abre("title") + frase(entre(1, 6)) + cierra("title") + fin_de_linea_;
    for (const char *nombre : {"description", "keywords", "generator"})
      if (entre(0, 3) != 0)
        p += abre("meta", atributo(" name", std::string("\"") + nombre + "\"") +
                              atributo(" content", "\"" + frase(entre(0, 8), true) + "\"")) +
             fin_de_linea_;
    p += abre("style") + "p > a { color: red; } /* <b> */" + cierra("style");
    p += abre("script") + guion() + cierra("script") + fin_de_linea_;
    p += cierra("head") + abre("body", atributo(" bgcolor", "\"#FFFFFF\"")) + fin_de_linea_;
    for (size_t n = entre(20, 60); n > 0; --n) p += bloque() + fin_de_linea_;
    if (entre(0, 3) != 0) p += cierra("body") + cierra("html") + fin_de_linea_;
    return p;
  }

 private:
  size_t entre(size_t a, size_t b) { return std::uniform_int_distribution<size_t>(a, b)(azar_); }
  template <size_t N>
  const char *uno(const char *const (&v)[N]) {
    return v[entre(0, N - 1)];
  }

  std::string caso(std::string_view nombre) {
    std::string r(nombre);
    if (mayusculas_ == 1 || (mayusculas_ == 2 && entre(0, 1)))
      for (char &c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
  }
  std::string atributo(std::string_view nombre, const std::string &valor) {
    return caso(nombre) + "=" + valor;
  }
  std::string abre(std::string_view nombre, const std::string &atributos = "") {
    return "<" + caso(nombre) + atributos + ">";
  }
  std::string cierra(std::string_view nombre) { return "</" + caso(nombre) + ">"; }

  std::string blancos() {
    static const char *const kBlancos[] = {" ", " ", " ", "  ", "\n", "\n      ", "\t", " \r\n "};
    return uno(kBlancos);
  }
  // A word; in a tag, none with a '>' of its own (it would close the tag).
  std::string palabra(bool en_tag = false) {
    static constexpr std::string_view kPalabras =
        "casa|p\xC3\xA1gina|ni\xC3\xB1o|&aacute;rbol|caf&eacute;|Espa&ntilde;a|&copy;|"
        "&nbsp;|R&amp;D|&quot;cita&quot;|a&nbsp;&nbsp;b|1 &lt; 2|x &gt; y|&hellip;|"
        "&#8364;|&#x263A;|\xE2\x82\xAC|\xE2\x80\x94|\xE2\x86\x92|\xC3\xBC"
        "ber|>|&|"
        "&lt;vector&gt;|&lt;/div&gt;|\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82|"
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E|\xED\x95\x9C\xEA\xB5\xAD|text|the|of";
    static const std::vector<std::string_view> kLista = [] {
      std::vector<std::string_view> l;
      for (size_t p = 0, q; p <= kPalabras.size(); p = q + 1) {
        q = std::min(kPalabras.find('|', p), kPalabras.size());
        l.push_back(kPalabras.substr(p, q - p));
      }
      return l;
    }();
    std::string_view p;
    do p = kLista[entre(0, kLista.size() - 1)];
    while (en_tag && p.find('>') != std::string_view::npos);
    return std::string(p);
  }
  std::string frase(size_t palabras, bool en_tag = false) {
    std::string f;
    for (size_t i = 0; i < palabras; ++i) f += (i > 0 ? blancos() : "") + palabra(en_tag);
    return f;
  }
  // Words with inline and other phrase tags between them.
  std::string texto() {
    std::string t = palabra();
    for (size_t n = entre(0, 8); n > 0; --n) {
      t += blancos();
      switch (entre(0, 9)) {
        case 0:
          t += abre("b") + frase(entre(1, 3)) + cierra("b");
          break;
        case 1: {
          const char *tag = entre(0, 1) ? "i" : "em";
          t += abre(tag) + palabra() + cierra(tag);
          break;
        }
        case 2:
          t += abre("strong") + palabra() + cierra("strong") + palabra();
          break;
        case 3:
          t += abre("font", atributo(" color", "red")) + frase(2) + cierra("font");
          break;
        case 4:
          t += abre("br") + palabra();
          break;
        case 5:
          t += abre("a", atributo(" href", "\"a.html?x=1&amp;y=2\"")) + frase(2) + cierra("a");
          break;
        case 6:
          t += abre("code") + palabra() + cierra("code");
          break;
        case 7:
          t += abre("u") + palabra() + cierra("u");
          break;
        default:
          t += palabra();
          break;
      }
    }
    return t;
  }
  std::string imagen() {
    switch (entre(0, 5)) {
      case 0:
        return abre("img", atributo(" src", "\"i.png\"") +
                               atributo(" alt", "\"" + frase(entre(1, 4), true) + "\""));
      case 1:
        return abre("img", atributo(" alt", "\"" + frase(2, true) + "\"") +
                               atributo(" src", "i.png") + atributo(" width", "10"));
      case 2:
        return abre("img", atributo(" src", "\"SALTO.GIF\"") + atributo(" alt", "\"Jump\""));
      case 3:
        return abre("img", atributo(" alt", "Logo") + atributo(" src", "a.gif"));
      case 4:
        return abre("img", atributo(" src", "\"x.png\"") + atributo(" alt", "\"\""));
      default:
        return abre("img", atributo(" src", "\"y.png\""));
    }
  }
  std::string guion() {
    return fin_de_linea_ + "if (a < b && c > d) { s = '</div>'; }" + fin_de_linea_ +
           "for (i = 0; i<n; i++) t += \"<p>\";" + fin_de_linea_;
  }
  std::string bloque() {
    switch (entre(0, 12)) {
      case 0:
        return abre("h2") + texto() + cierra("h2");
      case 1:
        return abre("p") + texto() + (entre(0, 1) ? cierra("p") : "");
      case 2: {
        std::string l = abre("ul");
        for (size_t n = entre(1, 4); n > 0; --n)
          l += abre("li") + texto() + (entre(0, 1) ? cierra("li") : "");
        return l + cierra("ul");
      }
      case 3: {
        std::string t = abre("table", atributo(" border", "1"));
        for (size_t n = entre(1, 3); n > 0; --n)
          t += abre("tr") + abre("td") + texto() + cierra("td") + abre("td") + "&nbsp;" +
               cierra("td") + cierra("tr");
        return t + cierra("table");
      }
      case 4:
        return abre("pre") + "int main() {" + fin_de_linea_ +
               "    if (a &lt; b &amp;&amp; c) return 1;" + fin_de_linea_ + "}" + cierra("pre");
      case 5:
        return abre("p") + imagen() + blancos() + texto() + cierra("p");
      case 6:
        return "<!-- " + palabra() + " <p> -->";
      case 7:
        return abre("script") + guion() + cierra("script");
      case 8:
        return abre("div", atributo(" class", "\"nota\"")) + abre("blockquote") + texto() +
               cierra("blockquote") + cierra("div");
      case 9:
        return abre("dl") + abre("dt") + texto() + abre("dd") + texto() + cierra("dl");
      case 10:
        return abre("form") + abre("textarea") + frase(3) + cierra("textarea") + cierra("form");
      case 11:
        return abre("hr") + abre("a", atributo(" name", "\"ancla\"")) + cierra("a");
      default:
        return imagen();
    }
  }

  std::mt19937 azar_;
  size_t mayusculas_;
  std::string fin_de_linea_;
};

TEST_F(PaginasReales, PaginasGeneradas) {
  const uint32_t idiomas[] = {kIngles, kEspanol, kRuso, kJapones, kChino};
  for (uint32_t semilla = 1; semilla <= 15; ++semilla) {
    const uint32_t idioma = idiomas[semilla % 5];
    SCOPED_TRACE("seed " + std::to_string(semilla) + ", language " + std::to_string(idioma));
    comprueba_pagina(escribe("generada.html", Generador(semilla).pagina()), idioma);
    olvida_informes();
  }
}

// The text handed out holds "<B>" for the page's "&lt;B&gt;"; written back, it must keep
// showing the tag as code, not become a live one.
TEST_F(PaginasReales, CodigoQueMuestraTagsEnLineaSigueSiendoTexto) {
  comprueba_pagina(escribe("codigo.html", "<P>&lt;B&gt;bold&lt;/B&gt; and &lt;br&gt;</P>\n"),
                   kIngles);
}

struct PaginaReal {
  const char *fichero;
  uint32_t idioma;
};

void PrintTo(const PaginaReal &pagina, std::ostream *salida) {
  *salida << pagina.fichero;
}

class PaginasRealesDe : public PaginasReales, public ::testing::WithParamInterface<PaginaReal> {};

TEST_P(PaginasRealesDe, SeReconstruyeYLasMarcasCaenEnSuSitio) {
  comprueba_pagina(pruebas::dato(GetParam().fichero), GetParam().idioma);
}

INSTANTIATE_TEST_SUITE_P(Datos, PaginasRealesDe,
                         ::testing::Values(PaginaReal{"xfig_introduction.html", kIngles},
                                           PaginaReal{"ncurses_curs_getstr.3x.html", kIngles},
                                           PaginaReal{"python_bisect.html", kIngles},
                                           PaginaReal{"libffi_the_basics.html", kIngles},
                                           PaginaReal{"apache_es_ssi.html", kEspanol},
                                           PaginaReal{"apache_es_cgi.html", kEspanol},
                                           PaginaReal{"apache_ja_custom_error.html", kJapones},
                                           PaginaReal{"apache_zh_cn_handler.html", kChino},
                                           PaginaReal{"apache_ru_getting_started.html", kRuso}),
                         [](const ::testing::TestParamInfo<PaginaReal> &dato) {
                           std::string nombre = dato.param.fichero;
                           nombre = nombre.substr(0, nombre.find(".html"));
                           for (char &c : nombre)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return nombre;
                         });

}  // namespace

#endif
