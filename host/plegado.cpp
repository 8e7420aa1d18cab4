// plegado.cpp - a body text's markup folded into short codes for its msgid, and back.
#include "plegado.h"

#include <algorithm>
#include <string>

#include "privado/pila_de_elementos.h"
#include "htmlparser/reglas_compartidas.h"
#include "marcado.h"
#include "sin_traducir.h"

namespace {

constexpr size_t npos = std::string_view::npos;

// A stretch of the text: words, one tag, or an element not to be translated.
// Kept small, and without the tag's name: a text of many thousand tags has one each.
struct Pieza {
  enum class Clase : uint8_t { texto, tag, sin_traducir } clase;
  TagDeTexto::Clase de_tag = TagDeTexto::Clase::comentario;
  bool escrita = false;  // a tag that an earlier tag of its code wrote the code for
  uint32_t codigo = 0;   // the code it is part of
  size_t inicio, fin;
  size_t pareja = npos;  // a tag's: the tag that closes or opens its element here
};

// The stretches of texto, in order, each start tag paired with the end tag that closes its
// element, as a browser nests them: an end tag closes the innermost open element of its
// name, and those inside it stay without a pair. A comment, a void element's tag and an
// end tag that closes nothing have none.
std::vector<Pieza> piezas_de(std::string_view texto) {
  std::vector<Pieza> piezas;
  pila_de_elementos<size_t> abiertas;
  const std::vector<std::string_view> partes = sin_traducir_partes(texto);
  size_t parte = 0;
  const auto inicio_de = [&](std::string_view v) {
    return static_cast<size_t>(v.data() - texto.data());
  };
  const auto palabras = [&](size_t desde, size_t hasta) {
    if (hasta > desde)
      piezas.push_back({.clase = Pieza::Clase::texto, .inicio = desde, .fin = hasta});
  };
  size_t i = 0;
  TagDeTexto tag;
  while (i < texto.size()) {
    const size_t en_parte = parte < partes.size() ? inicio_de(partes[parte]) : npos;
    size_t tras = i;
    const bool hay_tag = marcado_siguiente_tag(texto, &tras, &tag);
    const size_t en_tag = hay_tag ? inicio_de(tag.escrito) : npos;
    if (en_parte != npos && en_parte <= en_tag) {
      palabras(i, en_parte);
      i = en_parte + partes[parte++].size();
      piezas.push_back({.clase = Pieza::Clase::sin_traducir, .inicio = en_parte, .fin = i});
      continue;
    }
    if (!hay_tag) break;
    palabras(i, en_tag);
    const size_t k = piezas.size();
    piezas.push_back(
        {.clase = Pieza::Clase::tag, .de_tag = tag.clase, .inicio = en_tag, .fin = tras});
    if (tag.clase == TagDeTexto::Clase::apertura &&
        !reglas_compartidas::es_elemento_vacio(tag.nombre)) {
      abiertas.abre(std::move(tag.nombre), k);
    } else if (tag.clase == TagDeTexto::Clase::cierre) {
      if (const auto cerrada = abiertas.cierra(tag.nombre)) {
        piezas[cerrada->dato].pareja = k;
        piezas[k].pareja = cerrada->dato;
      }
    }
    i = tras;
  }
  palabras(i, texto.size());
  return piezas;
}

bool es_apertura_con_pareja(const Pieza &p) {
  return p.clase == Pieza::Clase::tag && p.de_tag == TagDeTexto::Clase::apertura &&
         p.pareja != npos;
}

bool sin_pareja(const Pieza &p) {
  return p.clase == Pieza::Clase::tag && p.pareja == npos;
}

void anade_codigo(std::string &r, bool par, bool cierre, uint32_t n) {
  r.append(cierre ? "</" : "<").append(par ? "g" : "x").append(std::to_string(n));
  r.append(par ? ">" : "/>");
}

// The code at i of texto ("<g1>", "</g1>", "<x1/>"): its number, whether it is a pair's
// and an end, and its length; a number of 0 when none stands there.
struct CodigoLeido {
  uint32_t n = 0;
  bool par = false, cierre = false;
  size_t largo = 0;
};

CodigoLeido lee_codigo(std::string_view texto, size_t i) {
  CodigoLeido c;
  size_t j = i + 1;
  c.cierre = j < texto.size() && texto[j] == '/';
  if (c.cierre) ++j;
  if (j >= texto.size() || (texto[j] != 'g' && texto[j] != 'x')) return {};
  c.par = texto[j++] == 'g';
  if (c.cierre && !c.par) return {};
  uint64_t n = 0;
  const size_t cifras = j;
  while (j < texto.size() && texto[j] >= '0' && texto[j] <= '9' && j - cifras < 9)
    n = n * 10 + static_cast<uint64_t>(texto[j++] - '0');
  if (j == cifras || texto[cifras] == '0') return {};
  const std::string_view fin = c.par ? ">" : "/>";
  if (texto.substr(j, fin.size()) != fin) return {};
  c.n = static_cast<uint32_t>(n);
  c.largo = j + fin.size() - i;
  return c;
}

// A tag of a run as a translator may want to know it: its name and the attributes that
// say where it leads or what it shows.
void describe_tag(std::string &r, const TagDeTexto &tag) {
  if (tag.clase == TagDeTexto::Clase::comentario) {
    r.append(tag.escrito.starts_with("<!--") ? "<!--…-->" : tag.escrito);
    return;
  }
  r.append(tag.clase == TagDeTexto::Clase::cierre ? "</" : "<").append(tag.nombre);
  for (const auto &[nombre, valor] : tag.atributos)
    if (nombre == "href" || nombre == "src" || nombre == "title" || nombre == "alt")
      r.append(" ").append(nombre).append("=\"").append(valor).append("\"");
  r.append(">");
}

}  // namespace

TextoPlegado plegado_pliega(std::string_view texto) {
  TextoPlegado r;
  if (texto.find('<') == npos) {
    r.texto = texto;
    return r;
  }
  std::vector<Pieza> piezas = piezas_de(texto);
  r.texto.reserve(texto.size());
  const auto bytes = [&](size_t desde, size_t hasta) {
    return texto.substr(piezas[desde].inicio, piezas[hasta].fin - piezas[desde].inicio);
  };
  for (size_t k = 0; k < piezas.size(); ++k) {
    Pieza &p = piezas[k];
    if (p.clase == Pieza::Clase::texto) {
      r.texto.append(texto.substr(p.inicio, p.fin - p.inicio));
      continue;
    }
    if (p.escrita) continue;
    if (p.codigo != 0) {  // the innermost end tag of a pair
      anade_codigo(r.texto, true, true, p.codigo);
      continue;
    }
    const uint32_t n = static_cast<uint32_t>(r.codigos.size() + 1);
    p.codigo = n;
    size_t ultima = k;
    if (es_apertura_con_pareja(p)) {
      // The start tags right after it whose end tags stand right before its own, nested
      // each in the one before.
      size_t cierre = p.pareja;
      while (ultima + 1 < piezas.size() && es_apertura_con_pareja(piezas[ultima + 1]) &&
             piezas[ultima + 1].inicio == piezas[ultima].fin &&
             piezas[piezas[ultima + 1].pareja].fin == piezas[cierre].inicio) {
        cierre = piezas[++ultima].pareja;
        piezas[ultima].escrita = piezas[cierre].escrita = true;
      }
      // The innermost end tag writes the code, the others are in it.
      piezas[p.pareja].escrita = true;
      piezas[cierre].escrita = false;
      piezas[cierre].codigo = n;
      r.codigos.push_back(
          {.par = true, .apertura = bytes(k, ultima), .cierre = bytes(cierre, p.pareja)});
    } else {
      // An element not to be translated alone; else the tags without a pair right after it.
      while (p.clase == Pieza::Clase::tag && ultima + 1 < piezas.size() &&
             sin_pareja(piezas[ultima + 1]) && piezas[ultima + 1].inicio == piezas[ultima].fin)
        piezas[++ultima].escrita = true;
      r.codigos.push_back({.par = false,
                           .apertura = bytes(k, ultima),
                           .cierre = {},
                           .sin_traducir = p.clase == Pieza::Clase::sin_traducir});
    }
    anade_codigo(r.texto, r.codigos.back().par, false, n);
  }
  return r;
}

std::string plegado_despliega(const TextoPlegado &plegado, std::string_view traduccion) {
  std::string r;
  r.reserve(traduccion.size());
  size_t copiado = 0;
  for (size_t i = traduccion.find('<'); i != npos; i = traduccion.find('<', i + 1)) {
    const CodigoLeido c = lee_codigo(traduccion, i);
    if (c.n == 0 || c.n > plegado.codigos.size() || plegado.codigos[c.n - 1].par != c.par) continue;
    const CodigoPlegado &codigo = plegado.codigos[c.n - 1];
    r.append(traduccion.substr(copiado, i - copiado));
    r.append(c.cierre ? codigo.cierre : codigo.apertura);
    copiado = i + c.largo;
    i = copiado - 1;
  }
  r.append(traduccion.substr(copiado));
  return r;
}

std::string plegado_repliega(const TextoPlegado &plegado, std::string_view completa) {
  // The translation folded as the page's text is, each of its codes then taken for the
  // first code of the page's that stands for the same tags, or written out again.
  const TextoPlegado propio = plegado_pliega(completa);
  if (propio.codigos.empty()) return propio.texto;
  const auto clave = [](const CodigoPlegado &c) {
    return std::string(c.par            ? "g"
                       : c.sin_traducir ? "n"
                                        : "x")
        .append(c.apertura)
        .append(1, '\0')
        .append(c.cierre);
  };
  std::unordered_map<std::string, std::vector<uint32_t>> por_tags;
  for (uint32_t n = plegado.codigos.size(); n >= 1; --n)
    por_tags[clave(plegado.codigos[n - 1])].push_back(n);  // the first code last
  std::vector<uint32_t> de_la_pagina(propio.codigos.size() + 1, 0);
  for (uint32_t k = 1; k <= propio.codigos.size(); ++k) {
    const auto libres = por_tags.find(clave(propio.codigos[k - 1]));
    if (libres == por_tags.end() || libres->second.empty()) continue;
    de_la_pagina[k] = libres->second.back();
    libres->second.pop_back();
  }
  std::string r;
  r.reserve(propio.texto.size());
  size_t copiado = 0;
  for (size_t i = propio.texto.find('<'); i != npos; i = propio.texto.find('<', i + 1)) {
    const CodigoLeido c = lee_codigo(propio.texto, i);
    if (c.n == 0 || c.n > propio.codigos.size() || propio.codigos[c.n - 1].par != c.par) continue;
    r.append(propio.texto.substr(copiado, i - copiado));
    const CodigoPlegado &suyo = propio.codigos[c.n - 1];
    if (de_la_pagina[c.n] != 0)
      anade_codigo(r, c.par, c.cierre, de_la_pagina[c.n]);
    else
      r.append(c.cierre ? suyo.cierre : suyo.apertura);
    copiado = i + c.largo;
    i = copiado - 1;
  }
  r.append(propio.texto.substr(copiado));
  return r;
}

std::string plegado_describe(const TextoPlegado &plegado) {
  std::string r;
  for (uint32_t n = 1; n <= plegado.codigos.size(); ++n) {
    const CodigoPlegado &c = plegado.codigos[n - 1];
    r.append(n == 1 ? "Codes: " : "; ");
    anade_codigo(r, c.par, false, n);
    r.append(" = ");
    if (c.sin_traducir) {
      r.append(c.apertura).append(" (not to be translated)");
      continue;
    }
    size_t desde = 0;
    TagDeTexto tag;
    while (marcado_siguiente_tag(c.apertura, &desde, &tag)) describe_tag(r, tag);
  }
  return r;
}

std::string plegado_nombra_codigo(const TextoPlegado &plegado, std::string motivo) {
  constexpr std::string_view kFalta = "it lacks ";
  if (!motivo.starts_with(kFalta)) return motivo;
  const std::string_view tag = std::string_view(motivo).substr(kFalta.size());
  for (uint32_t n = 1; n <= plegado.codigos.size(); ++n) {
    const CodigoPlegado &c = plegado.codigos[n - 1];
    const bool en_cierre = c.cierre.find(tag) != npos;
    if (c.apertura.find(tag) == npos && !en_cierre) continue;
    std::string codigo;
    anade_codigo(codigo, c.par, en_cierre, n);
    return motivo + " (in " + codigo + ")";
  }
  return motivo;
}
