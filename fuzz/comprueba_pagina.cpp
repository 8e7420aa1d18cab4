/* comprueba_pagina.cpp - a page of arbitrary bytes read, rebuilt and preprocessed, checked by
 * its properties. */
#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "fuzz/comprobaciones.h"
#include "fuzz/sesion.h"
#include "htmlparser/reglas_html.h"
#include "lenguaweb/atributos.h"
#include "lenguaweb/documento.h"
#include "lenguaweb/lectura_tags.h"
#include "lenguaweb/normalizacion.h"
#include "tablalink/tablalink.h"
#include "listas.h"

/* What the page target checks, on the page P given by the input as the library reads it
 * (its bytes, or their UTF-8 for a page read through UTF-8; written pages are read back
 * so before they are compared):
 * (a) The pieces of P's document and the raw stretches between them join back to P,
 *     each stretch normalising to its body text and being its origin; the texts after
 *     each piece are those of its IMG and META tags, in order.
 * (b) P rebuilt with its own texts keeps every byte of every piece, but for the values
 *     of the tags that gave texts, where those texts go back, and every text marked to
 *     go back raw stands as P had it.
 * (c) P preprocessed gives P1, which holds as in (a), and link tables with no two records
 *     of one identifier; P1 preprocessed again adds no record and gives P1 itself.
 * (d) No written page gains a tag: (b) and P1 against P, and P1 rebuilt with translations
 *     drawn from the input, its links resolved through the tables of (c), against P1.
 *     Tags are counted by name as a browser's tokenizer reads them (fuzz_cuenta_tags). A
 *     translated body text may add one tag per '<' of it that begins one of the 13 inline
 *     tags, but for those the page showed as code in that text. */

namespace {

constexpr size_t kNoEsta = std::string_view::npos;

/* Western, Japanese, Cyrillic, Simplified Chinese, Greek, Korean and Hebrew code pages. */
constexpr uint32_t kIdiomas[] = {0x0C0A, 0x0409, 0x0411, 0x0419, 0x0804, 0x0408, 0x0412, 0x040D};

constexpr const auto &kEnLinea = htmlparser::kTagsEnLinea;

/* What a written text may hold as entities: '"', '<', '>', '\'', a bare '&' and a no-break
 * space in an attribute value (where they must), and '<', '>', ' ', '&' and a no-break
 * space in a body text (where they may). */
constexpr std::string_view kSignos = "\"<>' &",
                           kEntidades[] = {"&quot;", "&lt;", "&gt;", "&#39;", "&nbsp;", "&amp;"};
constexpr std::string_view kEspacioDuro = "\xC2\xA0";

bool es_cuerpo(uint32_t tipo) {
  return tipo == TIPO_TITULO || tipo == TIPO_TEXTO;
}

/* A tag's name in capitals: after the '<' up to the first blank or '>' (as a browser
 * reads it), or up to the first space or '>' (as segmentation reads it). */
std::string nombre_de_tag(std::string_view tag, bool hasta_un_espacio = false) {
  std::string nombre(tag.substr(1, tag.find_first_of(hasta_un_espacio ? " >" : " \t\n\r>", 1) - 1));
  for (char &c : nombre) c = htmlparser::a_mayuscula(c);
  return nombre;
}

std::string a_utf8(const std::string &texto, uint32_t idioma) {
  char *u = conv_ansi_idioma_a_utf8(texto.c_str(), idioma);
  std::string r(u);
  cad_destruye(&u);
  return r;
}

/* Where the page goes on after the body text that begins at inicio and normalises to
 * texto: the '<' (or the end of the page) before which the raw stretch holds as many
 * '<' and "&lt;" as texto holds '<'. Normalising changes neither count otherwise, so
 * there is one such place at most. kNoEsta when there is none. */
size_t fin_de_texto(std::string_view pagina, size_t inicio, std::string_view texto) {
  const size_t menores = static_cast<size_t>(std::count(texto.begin(), texto.end(), '<'));
  size_t cuenta = 0;
  for (size_t desde = inicio;;) {
    const size_t siguiente = std::min(pagina.find('<', desde + 1), pagina.size());
    if (desde != inicio) ++cuenta; /* the '<' at desde */
    const std::string_view tramo = pagina.substr(desde, siguiente - desde);
    for (size_t e = tramo.find("&lt;"); e != kNoEsta; e = tramo.find("&lt;", e + 4)) ++cuenta;
    if (cuenta == menores) return siguiente;
    if (cuenta > menores || siguiente == pagina.size()) return kNoEsta;
    desde = siguiente;
  }
}

/* The tags of the page that give texts, read as page segmentation reads every tag (the
 * content of XMP, TEXTAREA and PLAINTEXT is text, not tags). */
std::vector<fuzz_tag_con_texto> tags_con_texto(std::string_view pagina) {
  std::vector<fuzz_tag_con_texto> tags;
  elemento_crudo crudo = elemento_crudo::ninguno;
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(pagina);
  for (size_t p = pagina.find('<'); p != kNoEsta; p = pagina.find('<', p)) {
    const tag_leido tag = lenguaweb_lee_tag_en(t, static_cast<uint32_t>(p), crudo, false);
    lenguaweb_cambia_elemento_crudo(crudo, tag.nombre, false);
    texto_de_tag texto;
    if (lenguaweb_texto_de_tag(tag, &texto))
      tags.push_back({p, p + texto.inicio, p + texto.fin, static_cast<uint32_t>(texto.tipo),
                      texto.entre_comillas, texto.comilla});
    p = tag.fin;
    if (crudo == elemento_crudo::plaintext) break;
    if (es_texto_crudo(crudo))
      p = htmlparser::busca_fin_de_elemento(pagina, p, pagina.size(), nombre_de_elemento(crudo));
  }
  return tags;
}

using pruebas::a_vector;

fuzz_documento copia(const lenguaweb_t *l) {
  fuzz_documento d{
      {}, a_vector(l->textos), a_vector(l->tipos_de_textos), a_vector(l->codigo_en_linea)};
  for (size_t k = 0; k < l->trozos.size(); ++k) d.trozos.emplace_back(lenguaweb_trozo(l, k));
  for (const origen_de_texto &o : l->origenes) {
    d.origenes.emplace_back(o.inicio, o.fin);
    d.marcas.push_back(o.marcas);
  }
  d.codificacion = l->pagina.leida_en;
  d.legible = l->pagina.codificacion.origen != CODIFICACION_ILEGIBLE;
  return d;
}

/* A written page as the document's page was read: through UTF-8 when it was. */
std::string como_se_leyo(const lenguaweb_t *l, std::string escrita) {
  const codificacion_pagina_t &c = l->pagina.codificacion;
  if (c.compatible_ascii == CIERTO || c.origen == CODIFICACION_ILEGIBLE) return escrita;
  escrita.erase(0, std::min<size_t>(c.bom, escrita.size()));
  if (l->pagina.byte_suelto >= 0 && !escrita.empty()) escrita.pop_back();
  size_t largo = 0;
  char *utf8 = conv_entre_codificaciones_n(escrita.data(), escrita.size(), c.nombre, "UTF-8",
                                           &largo, nullptr);
  std::string r(utf8 != nullptr ? utf8 : "", utf8 != nullptr ? largo : 0);
  cad_destruye(&utf8);
  return r;
}

/* Markup that a translator might write. */
constexpr std::string_view kFragmentos[] = {"<B>",         "</B>",      "<script>alert(1)</script>",
                                            "<B x-->",     "-->",       "<!--",
                                            "&lt;I&gt;",   "\"><P>",    "<br>",
                                            "<BR/>",       "<i\n>",     "<STRONG a=\">\">",
                                            "<font color", "a > b < c", "{x}",
                                            "&amp;",       "<U",        "</em >"};

/* Tags that a translation may add: its inline tags that the page did not show as code
 * in that text. */
std::map<std::string, long> tags_permitidos(const fuzz_documento &d,
                                            const std::vector<std::string> &traducidos,
                                            uint32_t idioma) {
  std::map<std::string, long> permitidos;
  for (size_t i = 0; i < traducidos.size() && i < d.tipos.size(); ++i) {
    if (!es_cuerpo(d.tipos[i])) continue;
    const std::string t = a_utf8(traducidos[i], idioma);
    // The text of an XMP or PLAINTEXT goes as raw text: what the scanner takes for tags
    // in it is the translation's text.
    if (i < d.marcas.size() && (d.marcas[i] & kTextoSinReferencias) != 0) {
      for (const auto &[nombre, n] : fuzz_cuenta_tags(t)) permitidos[nombre] += n;
      continue;
    }
    for (size_t p = t.find('<'), cierre; p != kNoEsta && (cierre = t.find('>', p)) != kNoEsta;
         p = t.find('<', p + 1)) {
      const std::string nombre = nombre_de_tag(t.substr(p, cierre + 1 - p), true);
      for (size_t n = 0; n < std::size(kEnLinea); ++n)
        if (nombre == kEnLinea[n] && (i >= d.codigo.size() || (d.codigo[i] >> n & 1u) == 0)) {
          ++permitidos[nombre];
          // An element the translation leaves open is closed at the end of the text.
          if (!nombre.starts_with('/') && nombre != "BR") ++permitidos["/" + nombre];
        }
    }
  }
  return permitidos;
}

std::string comprueba(std::string_view bytes, uint32_t idioma) {
  const fuzz_rutas rutas;
  if (!(std::ofstream(rutas.pagina, std::ios::binary) << bytes)) return "cannot write the page";
  const std::string &ruta = rutas.pagina, &ruta_propia = rutas.propia, &ruta_p1 = rutas.p1,
                    &ruta_p2 = rutas.p2, &ruta_traducida = rutas.traducida;

  fuzz_recursos r;
  lenguaweb_t *documento = r.documentos.emplace_back(lenguaweb_crea(ruta.c_str(), idioma));
  const std::string original(documento->pagina.bytes);
  const fuzz_documento d = copia(documento);
  lista_cad_t *ids = nullptr;
  lista_cad_t *textos = r.lista(lenguaweb_dame_textos_a_trducir(documento, &ids));
  if (a_vector(textos) != d.textos || lista_cad_num_elems(r.lista(ids)) != d.textos.size())
    return "the texts to translate are not one per text of the document";
  fuzz_ubicacion u;
  std::string fallo = fuzz_ubica(original, d, idioma, &u);
  if (!fallo.empty()) return "the page: " + fallo;

  std::string propia;
  fallo = fuzz_lee_escrita(lenguaweb_reconstruye_fichero_html(documento, textos, ids, nullptr,
                                                              nullptr, ruta_propia.c_str(), idioma),
                           ruta_propia, &propia);
  propia = como_se_leyo(documento, propia);
  if (fallo.empty()) fallo = fuzz_comprueba_escrita(propia, original, d, u, idioma);
  if (fallo.empty()) fallo = fuzz_gana_tags(original, propia, {});
  if (!fallo.empty()) return "rebuilt with its own texts: " + fallo;

  std::string p1, p2;
  fallo = fuzz_lee_escrita(
      lenguaweb_preprocesa_links(documento, r.tablas[0], r.tablas[1], ruta_p1.c_str(), idioma),
      ruta_p1, &p1);
  if (fallo.empty()) fallo = fuzz_gana_tags(original, como_se_leyo(documento, p1), {});
  for (const lista_reg_t *tabla : r.tablas) {  // a reference must name one record
    std::set<std::string> vistos;
    for (uint32_t i = 0; fallo.empty() && i < lista_reg_num_elems(tabla); ++i)
      if (!vistos.insert(lista_reg_dame(tabla, i)->ID).second)
        fallo = "two links share the identifier " + fuzz_muestra(lista_reg_dame(tabla, i)->ID);
  }
  if (!fallo.empty()) return "preprocessed: " + fallo;
  lenguaweb_t *documento1 = r.documentos.emplace_back(lenguaweb_crea(ruta_p1.c_str(), idioma));
  const fuzz_documento d1 = copia(documento1);
  const std::string p1_leida(documento1->pagina.bytes);
  fuzz_ubicacion u1;
  fallo = fuzz_ubica(p1_leida, d1, idioma, &u1);
  if (!fallo.empty()) return "the preprocessed page: " + fallo;
  const uint32_t registros = lista_reg_num_elems(r.tablas[0]) + lista_reg_num_elems(r.tablas[1]);
  fallo = fuzz_lee_escrita(
      lenguaweb_preprocesa_links(documento1, r.tablas[0], r.tablas[1], ruta_p2.c_str(), idioma),
      ruta_p2, &p2);
  if (fallo.empty() &&
      lista_reg_num_elems(r.tablas[0]) + lista_reg_num_elems(r.tablas[1]) != registros)
    fallo = "a record was added";
  if (fallo.empty() && p2 != p1) {
    const size_t i = std::mismatch(p1.begin(), p1.end(), p2.begin(), p2.end()).second - p2.begin();
    fallo = "the page changed at byte " + std::to_string(i) + ": " + fuzz_muestra(p2, i);
  }
  if (!fallo.empty()) return "preprocessed again: " + fallo;

  const std::vector<std::string> traducidos =
      fuzz_traducciones(original, d1.textos.size(), kFragmentos);
  lista_cad_t *ids1 = nullptr;
  r.lista(lenguaweb_dame_textos_a_trducir(documento1, &ids1));
  r.lista(ids1);
  lista_cad_t *lista_traducidos = r.lista(lista_cad_crea(0));
  for (const std::string &t : traducidos) lista_cad_anade(lista_traducidos, t.c_str());
  std::string traducida;
  fallo = fuzz_lee_escrita(
      lenguaweb_reconstruye_fichero_html(documento1, lista_traducidos, ids1, r.tablas[0],
                                         r.tablas[1], ruta_traducida.c_str(), idioma),
      ruta_traducida, &traducida);
  if (fallo.empty())
    fallo = fuzz_gana_tags(p1_leida, como_se_leyo(documento1, traducida),
                           tags_permitidos(d1, traducidos, idioma));
  return fallo.empty() ? "" : "rebuilt with translations: " + fallo;
}

}  // namespace

std::string fuzz_ubica(std::string_view pagina, const fuzz_documento &d, uint32_t idioma,
                       fuzz_ubicacion *u) {
  if (d.tipos.size() != d.textos.size()) return "not one kind per text";
  if (!d.legible) {
    u->trozo.assign(d.trozos.size(), 0);
    u->tags.assign(d.trozos.size(), {});
    return d.trozos.size() == 1 && d.trozos[0] == pagina && d.textos.empty()
               ? ""
               : "a page that is not text is not one piece without texts";
  }
  if (!d.origenes.empty() &&
      (d.origenes.size() != d.textos.size() || d.marcas.size() != d.textos.size()))
    return "not one origin per text";
  entidades_idioma entidades;
  lenguaweb_prepara_entidades(idioma, &entidades, d.codificacion);
  // A stretch normalised as its text's marks say, its NUL bytes left out.
  const auto normaliza = [&entidades, &d](std::string_view crudo, size_t j) {
    const uint8_t marcas = j < d.marcas.size() ? d.marcas[j] : 0;
    const modo_de_texto modo = (marcas & kTextoSinReferencias) != 0  ? modo_de_texto::crudo
                               : (marcas & kTextoPreformateado) != 0 ? modo_de_texto::preformateado
                                                                     : modo_de_texto::normal;
    std::string sin_nul(crudo);
    sin_nul.erase(std::remove(sin_nul.begin(), sin_nul.end(), '\0'), sin_nul.end());
    char *n = lenguaweb_normaliza_texto(sin_nul, entidades, modo);
    std::string r(n);
    cad_destruye(&n);
    return r;
  };
  // Where a text stands, as its origin says (when the document gives origins).
  const auto origen_es = [&d](size_t j, size_t inicio, size_t fin) {
    return d.origenes.empty() || d.origenes[j] == std::make_pair(inicio, fin);
  };
  const std::vector<fuzz_tag_con_texto> tags = tags_con_texto(pagina);
  u->trozo.assign(d.trozos.size(), 0);
  u->tags.assign(d.trozos.size(), {});
  size_t p = 0, j = 0, t = 0;
  for (size_t k = 0; k < d.trozos.size(); ++k) {
    const std::string en = "piece " + std::to_string(k) + " at byte " + std::to_string(p) + ": ";
    if (pagina.compare(p, d.trozos[k].size(), d.trozos[k]) != 0)
      return en + "not where the page goes on";
    u->trozo[k] = p;
    p += d.trozos[k].size();
    for (; t < tags.size() && tags[t].tag < p; ++t, ++j) {
      const fuzz_tag_con_texto &tag = tags[t];
      const std::string del_tag = en + "the tag at byte " + std::to_string(tag.tag);
      if (tag.tag < u->trozo[k]) return del_tag + " gives a text but stands in a body text";
      if (j >= d.tipos.size() || d.tipos[j] != tag.tipo ||
          normaliza(pagina.substr(tag.inicio_valor, tag.fin_valor - tag.inicio_valor), j) !=
              d.textos[j])
        return del_tag + " does not give the document's text " + std::to_string(j);
      if (!origen_es(j, tag.inicio_valor, tag.fin_valor))
        return del_tag + " is not the origin of text " + std::to_string(j);
      u->tags[k].push_back(tag);
    }
    if (k + 1 == d.trozos.size()) break;
    if (j >= d.tipos.size() || !es_cuerpo(d.tipos[j]))
      return en + "followed by text " + std::to_string(j) + ", which is no body text";
    const bool crudo = j < d.marcas.size() && (d.marcas[j] & kTextoSinReferencias) != 0;
    if (p >= pagina.size() || htmlparser::es_blanco(pagina[p]) || pagina[p] == '\0' ||
        (pagina[p] == '<' && !crudo))
      return en + "body text " + std::to_string(j) + " does not begin at a text run";
    // The end of a text of raw content, whose '<' and entities count for nothing, is the
    // one its origin gives.
    const size_t fin = crudo ? d.origenes[j].second : fin_de_texto(pagina, p, d.textos[j]);
    if (fin == kNoEsta || fin > pagina.size() || !origen_es(j, p, fin) ||
        normaliza(pagina.substr(p, fin - p), j) != d.textos[j])
      return en + "body text " + std::to_string(j) + " " + fuzz_muestra(d.textos[j]) +
             " is not what follows: " + fuzz_muestra(pagina, p);
    p = fin;
    ++j;
  }
  if (j != d.textos.size()) return "text " + std::to_string(j) + " follows the last piece";
  if (t != tags.size())
    return "the tag at byte " + std::to_string(tags[t].tag) + " gives no text of the document";
  return p == pagina.size() ? "" : "bytes from " + std::to_string(p) + " are in no piece";
}

std::string fuzz_comprueba_escrita(std::string_view escrita, std::string_view pagina,
                                   const fuzz_documento &d, const fuzz_ubicacion &u,
                                   uint32_t idioma) {
  const auto crudo = [&d](size_t j) {
    return j < d.marcas.size() && (d.marcas[j] & (kTextoCrudo | kTextoConNul)) != 0;
  };
  size_t c = 0, j = 0;
  for (size_t k = 0; k < d.trozos.size(); ++k) {
    const std::string &trozo = d.trozos[k];
    std::string esperado; /* the piece as it must be written */
    size_t desde = 0;
    for (const fuzz_tag_con_texto &tag : u.tags[k]) {
      const bool queda = crudo(j);
      const std::string texto = a_utf8(j < d.textos.size() ? d.textos[j] : "", idioma);
      ++j;
      if (queda) continue; /* the value stays as the page had it */
      // A value is written in its own quotes (an unquoted one between double quotes).
      const size_t inicio = tag.inicio_valor - u.trozo[k];
      esperado += trozo.substr(desde, inicio - desde) + (tag.entre_comillas ? "" : "\"");
      for (size_t i = 0; i < texto.size(); ++i) {
        const size_t n = kSignos.find(texto[i]);
        if (texto.compare(i, 2, kEspacioDuro) == 0)
          esperado += kEntidades[4], ++i;
        else if (n < 4 || (n == 5 && htmlparser::largo_de_referencia(texto, i) == 0))
          esperado += kEntidades[n];
        else
          esperado += texto[i];
      }
      esperado += tag.entre_comillas ? "" : "\"";
      desde = tag.fin_valor - u.trozo[k];
    }
    esperado += trozo.substr(desde);
    if (escrita.compare(c, esperado.size(), esperado) != 0)
      return "piece " + std::to_string(k) + " is written " + fuzz_muestra(escrita, c) + ", not " +
             fuzz_muestra(esperado);
    c += esperado.size();
    if (k + 1 == d.trozos.size()) break;
    const size_t inicio = c;
    if (crudo(j)) {
      const auto [desde_pagina, hasta] = d.origenes[j];
      const std::string_view propio = pagina.substr(desde_pagina, hasta - desde_pagina);
      if (escrita.compare(c, propio.size(), propio) != 0)
        return "body text " + std::to_string(j) + " is written " + fuzz_muestra(escrita, c) +
               ", not as the page had it: " + fuzz_muestra(propio);
      c += propio.size();
      ++j;
      continue;
    }
    const std::string texto = a_utf8(j < d.textos.size() ? d.textos[j] : "", idioma);
    for (size_t i = 0; i < texto.size(); ++i) {
      const char ch = texto[i];
      const bool duro = texto.compare(i, 2, kEspacioDuro) == 0;
      const size_t n = duro ? 4 : kSignos.find(ch);
      // A character reference of the text is written as it is: its '&' is no sign.
      const bool referencia = n == 5 && htmlparser::largo_de_referencia(texto, i) > 0;
      const std::string_view e = n >= 1 && n != 3 && n < 6 && !referencia ? kEntidades[n] : "";
      if (!e.empty() && escrita.compare(c, e.size(), e) == 0)
        c += e.size(), i += duro;
      else if (c < escrita.size() && escrita[c] == ch)
        ++c;
      else
        return "body text " + std::to_string(j) + " is written " + fuzz_muestra(escrita, inicio) +
               ", not " + fuzz_muestra(texto);
    }
    ++j;
  }
  return c == escrita.size() ? ""
                             : "bytes from " + std::to_string(c) + " written after the last piece";
}

std::map<std::string, long> fuzz_cuenta_tags(std::string_view texto) {
  // What a browser reads as text up to its own end tag holds no tag.
  static constexpr std::string_view kTextoHastaSuFin[] = {
      "SCRIPT", "STYLE", "TITLE", "TEXTAREA", "XMP", "IFRAME", "NOEMBED", "NOFRAMES"};
  std::map<std::string, long> tags;
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(texto);
  for (size_t i = texto.find('<'); i != kNoEsta; i = texto.find('<', i + 1)) {
    if (!htmlparser::empieza_tag(t, i)) continue;
    const htmlparser::fin_de_tag fin = htmlparser::lee_fin_de_tag(t, i);
    const bool es_tag = htmlparser::tiene_atributos(t, i);
    std::string nombre(texto.substr(i + 1, htmlparser::fin_de_nombre_de_tag(t, i) - i - 1));
    for (char &c : nombre) c = htmlparser::a_mayuscula(c);
    i = fin.cierre;
    if (!es_tag) continue;
    ++tags[nombre];
    if (nombre == "PLAINTEXT") break;
    if (std::find(std::begin(kTextoHastaSuFin), std::end(kTextoHastaSuFin), nombre) ==
        std::end(kTextoHastaSuFin))
      continue;
    std::string resto(texto.substr(std::min(i, texto.size())));
    for (char &c : resto) c = htmlparser::a_mayuscula(c);
    const size_t cierre = resto.find("</" + nombre);
    if (cierre == kNoEsta) break;
    i += cierre - 1;
  }
  return tags;
}

std::string fuzz_gana_tags(std::string_view original, std::string_view escrita,
                           const std::map<std::string, long> &permitidos) {
  std::map<std::string, long> puede = fuzz_cuenta_tags(original);
  for (const auto &[nombre, n] : permitidos) puede[nombre] += n;
  for (const auto &[nombre, n] : fuzz_cuenta_tags(escrita))
    if (n > puede[nombre])
      return "gains a tag " + fuzz_muestra(nombre) + ": " + std::to_string(n) + " where " +
             std::to_string(puede[nombre]) + " may stand";
  return "";
}

std::string fuzz_comprueba_pagina(const uint8_t *datos, size_t largo) {
  // The first byte's low bits choose the language; its high bit, the block segmentation.
  const uint32_t idioma = kIdiomas[largo > 0 ? datos[0] % std::size(kIdiomas) : 0];
  const bool bloques = largo > 0 && (datos[0] & 0x80) != 0;
  const std::string_view pagina =
      largo > 0 ? std::string_view(reinterpret_cast<const char *>(datos) + 1, largo - 1) : "";
  return fuzz_en_sesion(kInformesDePaginas, [&](auto &) {
    return bloques ? fuzz_comprueba_bloques(pagina, idioma) : comprueba(pagina, idioma);
  });
}
