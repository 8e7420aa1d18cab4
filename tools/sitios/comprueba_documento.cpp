// comprueba_documento.cpp - the page read as a browser reads it, and the library's document of it.
#include <algorithm>

#include "lenguaweb/documento.h"
#include "listas.h"
#include "modelo.h"
#include "pagina.h"
#include "privado/ascii.h"

namespace sitios {
namespace {

constexpr size_t kNoEsta = std::string::npos;

const char *fuente_de(FuenteCodificacion f) {
  switch (f) {
    case FuenteCodificacion::bom:
      return "byte order mark";
    case FuenteCodificacion::xml:
      return "XML declaration";
    case FuenteCodificacion::meta:
      return "META";
    case FuenteCodificacion::utf8:
      return "valid UTF-8";
    case FuenteCodificacion::idioma:
      return "language";
  }
  return "";
}

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

bool coherente(Pagina &p) {
  const size_t cuerpos =
      static_cast<size_t>(std::count_if(p.tipos.begin(), p.tipos.end(), es_cuerpo));
  if (p.tipos.size() == p.textos.size() && p.trozos.size() == cuerpos + 1) return true;
  p.falla("document", std::to_string(p.textos.size()) + " texts, " +
                          std::to_string(p.tipos.size()) + " kinds, " + std::to_string(cuerpos) +
                          " body texts, " + std::to_string(p.trozos.size()) + " pieces");
  return false;
}

// Pieces and the page's own body texts join back to the page: piece 0 begins it, the
// last ends it, and each other one is the first place after the one before where its
// bytes stand (a body text holds no tag that could begin a piece).
bool ubica_trozos(Pagina &p) {
  p.inicios.assign(p.trozos.size(), 0);
  size_t hasta = 0;
  for (size_t k = 0; k < p.trozos.size(); ++k) {
    const std::string &t = p.trozos[k];
    size_t en = 0;
    if (k > 0 && k + 1 == p.trozos.size())
      en = p.bytes.size() >= t.size() ? p.bytes.size() - t.size() : kNoEsta;
    else if (k > 0)
      en = p.bytes.find(t, hasta + 1);
    if (en == kNoEsta || (k > 0 && en <= hasta) || p.bytes.compare(en, t.size(), t) != 0) {
      p.falla("pieces", "piece " + std::to_string(k) + " is not in the page after byte " +
                            std::to_string(hasta) + ": " + fragmento(t, 0, 80));
      return false;
    }
    p.inicios[k] = en;
    hasta = en + t.size();
  }
  if (hasta == p.bytes.size()) return true;
  p.falla("pieces", "the last piece does not end the page");
  return false;
}

// The ALT and META texts that the parser finds are, piece by piece, the document's
// texts in tags, of the same kinds and in the same order.
bool reparte_valores(Pagina &p) {
  p.valores = valores_a_traducir(p.arbol);
  p.de_trozo.assign(p.trozos.size(), {});
  size_t k = 0;
  for (size_t v = 0; v < p.valores.size(); ++v) {
    const size_t en = p.valores[v].atributo->inicio;
    while (k < p.trozos.size() && en >= p.leida.en(p.fin_de(k))) ++k;
    if (k == p.trozos.size() || en < p.leida.en(p.inicios[k])) {
      p.falla("texts in tags", "a value to translate lies in a body text: " +
                                   arbol_describe(p.arbol[p.valores[v].nodo]));
      return false;
    }
    p.de_trozo[k].push_back(v);
  }
  size_t j = 0;
  for (size_t t = 0; t < p.trozos.size(); ++t) {
    std::vector<uint32_t> del_documento, de_la_pagina;
    for (; j < p.tipos.size() && !es_cuerpo(p.tipos[j]); ++j) del_documento.push_back(p.tipos[j]);
    if (j < p.tipos.size()) ++j;
    for (size_t v : p.de_trozo[t]) de_la_pagina.push_back(p.valores[v].tipo);
    if (del_documento != de_la_pagina) {
      p.falla("texts in tags", "piece " + std::to_string(t) + " gives " +
                                   std::to_string(del_documento.size()) + ", the parser finds " +
                                   std::to_string(de_la_pagina.size()) + ": " +
                                   fragmento(p.trozos[t], 0, 200));
      return false;
    }
  }
  return true;
}

}  // namespace

bool comprueba_documento(Pagina &p, const Documento &doc) {
  p.bytes = lee_fichero(p.camino);
  p.leida = pagina_lee(p.bytes, p.idioma);
  p.r.bytes = p.bytes.size();
  p.r.codificacion =
      p.leida.codificacion.nombre + " (" + fuente_de(p.leida.codificacion.fuente) + ")";
  if (!p.leida.error.empty()) {
    p.falla("reading", p.leida.error);
    return false;
  }
  p.arbol = arbol_lee(p.leida.texto);
  p.r.rota = arbol_roto(p.arbol, p.leida.texto);

  p.textos = pruebas::a_vector(doc.textos);
  p.tipos = pruebas::tipos_de(doc.doc);
  p.trozos.clear();
  for (size_t k = 0; k < doc.doc->trozos.size(); ++k)
    p.trozos.emplace_back(lenguaweb_trozo(doc.doc, k));
  // A page the library reads through UTF-8 (UTF-16) has its pieces in that form: they
  // are placed in it, read as a browser reads it (the same text as the page's own); the
  // page's encoding stays the one it was found in.
  if (doc.doc->pagina.transcodificada) {
    const Codificacion codificacion = p.leida.codificacion;
    p.bytes.assign(doc.doc->pagina.bytes);
    p.leida = pagina_lee(p.bytes, p.idioma);
    p.leida.codificacion = codificacion;
  }
  p.r.textos = p.textos.size();
  p.r.en_tags = static_cast<size_t>(
      std::count_if(p.tipos.begin(), p.tipos.end(), [](uint32_t t) { return !es_cuerpo(t); }));
  return coherente(p) && ubica_trozos(p) && reparte_valores(p);
}

}  // namespace sitios
