/* comprueba_pagina.cpp - a page of arbitrary bytes read, rebuilt and preprocessed, checked by
 * its properties. */
#include <cstdio>
#include <fstream>
#include <sstream>

#include "fuzz/comprobaciones.h"
#include "fuzz/pagina.h"
#include "fuzz/sesion.h"
#include "lenguaweb/atributos.h"
#include "lenguaweb/documento.h"
#include "lenguaweb/lectura_tags.h"
#include "lenguaweb/normalizacion.h"
#include "tablalink/tablalink.h"

/* What the page target checks, on the page P given by the input:
 *
 * (a) The pieces of P's document and the raw stretches between them join back to P (up
 *     to its first NUL), each stretch normalising to its body text; the texts that
 *     follow each piece are those of its IMG and META tags, in order.
 * (b) P rebuilt with the document's own texts keeps every byte of every piece, but for
 *     the values (after an '=') of the tags that gave texts, where those texts are
 *     written back.
 * (c) P preprocessed gives P1, whose link tables hold no two records of one identifier
 *     (a reference must name one target); P1 preprocessed again with the same tables
 *     adds no record, writes P1's pieces and texts as P1's document holds them, and
 *     gives P1 itself.
 * (d) No written page gains a tag: the rebuild of (b) and the preprocessed P1 against
 *     P, and P1's document rebuilt with translations drawn from the input (and its
 *     links resolved through the tables of (c)) against P1.
 *
 * What "gains a tag" means. Tags are what the byte tag scanner reads as tags (a
 * comment is not a tag), counted by name: the bytes after '<' up to the first blank or
 * '>', letter case ignored (a link value after a tab is no part of the name). A written
 * page gains a tag when it holds more tags of a name than its original, beyond two
 * allowances for a translation:
 *  - a translated body text may hold any of the 13 inline tags as markup, except those
 *    that the page showed as code in that text ("&lt;B&gt;"); each '<' of a translation
 *    that begins an inline tag allowed there allows one tag of its name;
 *  - the scanner reads a comment opened inside a SCRIPT or STYLE element through the
 *    element's end tag, over the body texts that follow it, whereas segmentation ends
 *    the element there; an inline tag of a translation can end such a comment early
 *    ("<B x-->"), so the tags inside a comment that runs past the end of its piece
 *    count as tags of the original, those inside the comments it holds included.
 * A page may lose tags (a "-->" written as "--&gt;" lengthens such a comment); that is
 * not looked at. */

namespace {

constexpr size_t kNoEsta = std::string_view::npos;

/* Languages picked by the first byte of the input: Western, Japanese, Cyrillic, Simplified
 * Chinese, Greek, Korean and Hebrew code pages. */
constexpr uint32_t kIdiomas[] = {0x0C0A, 0x0409, 0x0411, 0x0419, 0x0804, 0x0408, 0x0412, 0x040D};

constexpr std::string_view kEnLinea[] = {"U",   "/U",     "B",       "/B", "I",    "/I",   "EM",
                                         "/EM", "STRONG", "/STRONG", "BR", "FONT", "/FONT"};

bool es_cuerpo(uint32_t tipo) {
  return tipo == TIPO_TITULO || tipo == TIPO_TEXTO;
}

bool es_blanco(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

char mayuscula(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

/* A tag's name, in capitals: after the '<' up to the first blank or '>' (as a browser
 * reads it: the value of an attribute after a tab is not part of it), or up to the
 * first space or '>' (as segmentation reads it, to tell an inline tag). */
std::string nombre_de_tag(std::string_view tag, bool hasta_un_espacio = false) {
  std::string nombre(tag.substr(1, tag.find_first_of(hasta_un_espacio ? " >" : " \t\n\r>", 1) - 1));
  for (char &c : nombre) c = mayuscula(c);
  return nombre;
}

std::string a_utf8(const std::string &texto, uint32_t idioma) {
  char *u = conv_ansi_idioma_a_utf8(texto.c_str(), idioma);
  std::string r(u);
  cad_destruye(&u);
  return r;
}

std::string como_valor(std::string_view valor) {
  std::string r;
  for (char c : valor)
    r += c == '"' ? "&quot;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  return r;
}

/* Where the page goes on after the body text that begins at inicio and normalises to
 * texto: the '<' (or the end of the page) before which the raw stretch holds as many
 * '<' and "&lt;" as texto holds '<'. Normalising changes neither count otherwise, so
 * there is one such place at most. kNoEsta when there is none. */
size_t fin_de_texto(std::string_view pagina, size_t inicio, std::string_view texto) {
  size_t menores = 0;
  for (char c : texto) menores += c == '<';
  size_t cuenta = 0;
  for (size_t desde = inicio;;) {
    size_t siguiente = pagina.find('<', desde + 1);
    if (siguiente == kNoEsta) siguiente = pagina.size();
    if (desde != inicio) ++cuenta; /* the '<' at desde */
    const std::string_view tramo = pagina.substr(desde, siguiente - desde);
    for (size_t e = tramo.find("&lt;"); e != kNoEsta; e = tramo.find("&lt;", e + 4)) ++cuenta;
    if (cuenta == menores) return siguiente;
    if (cuenta > menores || siguiente == pagina.size()) return kNoEsta;
    desde = siguiente;
  }
}

/* The tags of the page that give texts, read as page segmentation reads every tag. */
std::vector<fuzz_tag_con_texto> tags_con_texto(std::string_view pagina) {
  std::vector<fuzz_tag_con_texto> tags;
  elemento_crudo crudo = elemento_crudo::ninguno;
  for (size_t p = pagina.find('<'); p != kNoEsta; p = pagina.find('<', p)) {
    const tag_leido tag = lenguaweb_lee_tag_en(pagina, static_cast<uint32_t>(p), crudo, false);
    lenguaweb_cambia_elemento_crudo(crudo, tag.nombre, false);
    texto_de_tag texto;
    if (lenguaweb_texto_de_tag(tag, &texto))
      tags.push_back({p, p + texto.inicio, p + texto.fin, static_cast<uint32_t>(texto.tipo),
                      texto.entre_comillas});
    p = tag.fin;
  }
  return tags;
}

/* --- Library objects freed however a check ends ------------------------------------ */

struct recursos {
  std::vector<lenguaweb_t *> documentos;
  std::vector<lista_cad_t *> listas;
  lista_reg_t *tabla_a = lista_reg_crea(0);
  lista_reg_t *tabla_img = lista_reg_crea(0);

  lenguaweb_t *documento(const std::string &ruta, uint32_t idioma) {
    documentos.push_back(lenguaweb_crea(ruta.c_str(), idioma));
    return documentos.back();
  }
  lista_cad_t *lista(lista_cad_t *l) {
    listas.push_back(l);
    return l;
  }
  ~recursos() {
    for (lenguaweb_t *&d : documentos) lenguaweb_destruye(&d);
    for (lista_cad_t *&l : listas) lista_cad_destruye(&l);
    for (lista_reg_t **tabla : {&tabla_a, &tabla_img}) {
      for (uint32_t i = 0; i < lista_reg_num_elems(*tabla); ++i) {
        tablalink_t *registro = lista_reg_dame(*tabla, i);
        tablalink_destruye(&registro);
      }
      lista_reg_destruye(tabla);
    }
  }
};

std::vector<std::string> a_vector(const lista_cad_t *lista) {
  std::vector<std::string> v;
  for (uint32_t i = 0; i < lista_cad_num_elems(lista); ++i) {
    const char *t = lista_cad_dame(lista, i);
    v.emplace_back(t != nullptr ? t : "");
  }
  return v;
}

std::vector<uint32_t> a_vector(const lista_num_t *lista) {
  std::vector<uint32_t> v;
  for (uint32_t i = 0; i < lista_num_num_elems(lista); ++i) v.push_back(lista_num_dame(lista, i));
  return v;
}

fuzz_documento copia_documento(const lenguaweb_t *documento) {
  return {a_vector(documento->trozos_html), a_vector(documento->textos),
          a_vector(documento->tipos_de_textos), a_vector(documento->codigo_en_linea)};
}

std::string escribe_fichero(const std::string &ruta, std::string_view bytes) {
  std::ofstream salida(ruta, std::ios::binary | std::ios::trunc);
  salida.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return salida.good() ? "" : "cannot write " + ruta;
}

std::string lee_fichero(const std::string &ruta) {
  std::ifstream entrada(ruta, std::ios::binary);
  std::ostringstream todo;
  todo << entrada.rdbuf();
  return todo.str();
}

/* --- Translations drawn from the input -------------------------------------------- */

uint64_t siguiente(uint64_t &estado) {
  uint64_t z = (estado += 0x9E3779B97F4A7C15u);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

/* One text per text of the document: stretches of the page, pieces of markup that a
 * translator might write, or both, picked by a generator seeded with the page. */
std::vector<std::string> traducciones(std::string_view pagina, size_t cuantas) {
  static constexpr std::string_view kFragmentos[] = {
      "<B>",         "</B>",      "<script>alert(1)</script>",
      "<B x-->",     "-->",       "<!--",
      "&lt;I&gt;",   "\"><P>",    "<br>",
      "<BR/>",       "<i\n>",     "<STRONG a=\">\">",
      "<font color", "a > b < c", "{x}",
      "&amp;",       "<U",        "</em >"};
  uint64_t estado = 0xCBF29CE484222325u;
  for (unsigned char c : pagina) estado = (estado ^ c) * 0x100000001B3u;
  std::vector<std::string> textos;
  for (size_t i = 0; i < cuantas; ++i) {
    const uint64_t r = siguiente(estado);
    std::string t;
    if (r % 3 != 1 && !pagina.empty()) {
      const size_t desde = siguiente(estado) % pagina.size();
      t = pagina.substr(desde, siguiente(estado) % 48);
    }
    if (r % 3 != 0) t += kFragmentos[siguiente(estado) % std::size(kFragmentos)];
    textos.push_back(t);
  }
  return textos;
}

/* --- The checks ------------------------------------------------------------------- */

/* Writes the page through one of the two exported writers and reads the file back. */
std::string lee_escrita(booleano escrito, const std::string &ruta, const char *que,
                        std::string *pagina) {
  if (escrito != CIERTO) return std::string(que) + " did not write the whole page";
  *pagina = lee_fichero(ruta);
  return "";
}

/* A reference names one record: no two link targets of a table share an identifier. */
std::string identificadores_unicos(const lista_reg_t *tabla) {
  std::map<std::string, const tablalink_t *> por_id;
  for (uint32_t i = 0; i < lista_reg_num_elems(tabla); ++i) {
    const tablalink_t *r = lista_reg_dame(tabla, i);
    const auto [otro, nuevo] = por_id.try_emplace(r->ID, r);
    if (!nuevo)
      return "the links " + fuzz_muestra(r->ruta) + " " + fuzz_muestra(r->nombre_fichero) +
             " and " + fuzz_muestra(otro->second->ruta) + " " +
             fuzz_muestra(otro->second->nombre_fichero) + " share the identifier " +
             fuzz_muestra(r->ID);
  }
  return "";
}

/* Tags that a translation may add: its inline tags that the page did not show as code
 * in that text, and those inside the comments that run past the end of their piece. */
std::map<std::string, long> tags_permitidos(std::string_view original, const fuzz_documento &d,
                                            const fuzz_ubicacion &u,
                                            const std::vector<std::string> &traducidos,
                                            uint32_t idioma) {
  std::map<std::string, long> permitidos;
  for (size_t i = 0; i < traducidos.size() && i < d.tipos.size(); ++i) {
    if (!es_cuerpo(d.tipos[i])) continue;
    const std::string t = a_utf8(traducidos[i], idioma);
    for (size_t p = t.find('<'); p != kNoEsta; p = t.find('<', p + 1)) {
      const size_t cierre = t.find('>', p + 1);
      if (cierre == kNoEsta) break;
      const std::string nombre = nombre_de_tag(t.substr(p, cierre + 1 - p), true);
      for (size_t n = 0; n < std::size(kEnLinea); ++n)
        if (nombre == kEnLinea[n] && (i >= d.codigo.size() || (d.codigo[i] >> n & 1u) == 0))
          ++permitidos[nombre];
    }
  }
  std::vector<std::pair<size_t, size_t>> comentarios;
  fuzz_cuenta_tags(original, &comentarios);
  size_t k = 0; /* the piece where the comment begins; comments come in page order */
  for (const auto &[inicio, fin] : comentarios) {
    while (k + 1 < u.trozo.size() && u.trozo[k + 1] <= inicio) ++k;
    if (fin <= u.trozo[k] + d.trozos[k].size()) continue;
    // Once the comment has ended early, the scanner goes on over the page's own bytes,
    // where it may meet (and end) any of the comments inside: every tag inside counts.
    const std::string_view dentro = original.substr(inicio + 4, fin - inicio - 4);
    for (size_t p = dentro.find('<'); p != kNoEsta; p = dentro.find('<', p)) {
      if (dentro.compare(p, 4, "<!--") == 0) {
        p += 4;
        continue;
      }
      const size_t cierre = dentro.find('>', p + 1);
      const size_t fin_tag = cierre == kNoEsta ? dentro.size() : cierre + 1;
      ++permitidos[nombre_de_tag(dentro.substr(p, fin_tag - p))];
      p = fin_tag;
    }
  }
  return permitidos;
}

std::string comprueba(std::string_view bytes, uint32_t idioma) {
  const std::string &carpeta = fuzz_carpeta();
  utilidades_pon_carpeta(carpeta.c_str());
  const std::string ruta = carpeta + "/pagina.html";
  const std::string ruta_propia = carpeta + "/propia.html";
  const std::string ruta_p1 = carpeta + "/preprocesada.html";
  const std::string ruta_p2 = carpeta + "/preprocesada2.html";
  const std::string ruta_traducida = carpeta + "/traducida.html";
  std::string fallo = escribe_fichero(ruta, bytes);
  if (!fallo.empty()) return fallo;
  const std::string_view original = bytes.substr(0, bytes.find('\0'));

  recursos r;
  lenguaweb_t *documento = r.documento(ruta, idioma);
  const fuzz_documento d = copia_documento(documento);
  lista_cad_t *ids = nullptr;
  lista_cad_t *textos = r.lista(lenguaweb_dame_textos_a_trducir(documento, &ids));
  r.lista(ids);
  if (a_vector(textos) != d.textos || lista_cad_num_elems(ids) != d.textos.size() ||
      d.tipos.size() != d.textos.size())
    return "the texts to translate are not one per text of the document";
  fuzz_ubicacion u;
  if (!(fallo = fuzz_ubica(original, d, idioma, &u)).empty()) return "the page: " + fallo;

  std::string propia;
  fallo = lee_escrita(lenguaweb_reconstruye_fichero_html(documento, textos, ids, nullptr, nullptr,
                                                         ruta_propia.c_str(), idioma),
                      ruta_propia, "the rebuild with its own texts", &propia);
  if (fallo.empty()) fallo = fuzz_comprueba_escrita(propia, d, u, d.textos, idioma, true);
  if (fallo.empty()) fallo = fuzz_gana_tags(original, propia, {});
  if (!fallo.empty()) return "rebuilt with its own texts: " + fallo;

  std::string p1;
  fallo = lee_escrita(
      lenguaweb_preprocesa_links(documento, r.tabla_a, r.tabla_img, ruta_p1.c_str(), idioma),
      ruta_p1, "preprocessing", &p1);
  if (fallo.empty()) fallo = fuzz_gana_tags(original, p1, {});
  if (fallo.empty()) fallo = identificadores_unicos(r.tabla_a);
  if (fallo.empty()) fallo = identificadores_unicos(r.tabla_img);
  if (!fallo.empty()) return "preprocessed: " + fallo;
  lenguaweb_t *documento1 = r.documento(ruta_p1, idioma);
  const fuzz_documento d1 = copia_documento(documento1);
  fuzz_ubicacion u1;
  if (!(fallo = fuzz_ubica(p1, d1, idioma, &u1)).empty()) return "the preprocessed page: " + fallo;
  const uint32_t registros_a = lista_reg_num_elems(r.tabla_a);
  const uint32_t registros_img = lista_reg_num_elems(r.tabla_img);
  std::string p2;
  fallo = lee_escrita(
      lenguaweb_preprocesa_links(documento1, r.tabla_a, r.tabla_img, ruta_p2.c_str(), idioma),
      ruta_p2, "preprocessing again", &p2);
  if (fallo.empty() && (lista_reg_num_elems(r.tabla_a) != registros_a ||
                        lista_reg_num_elems(r.tabla_img) != registros_img))
    fallo = "a record was added";
  if (fallo.empty()) fallo = fuzz_comprueba_escrita(p2, d1, u1, d1.textos, idioma, false);
  if (fallo.empty() && p2 != p1) {
    size_t i = 0;
    while (i < p1.size() && i < p2.size() && p1[i] == p2[i]) ++i;
    fallo = "the page changed at byte " + std::to_string(i) + ": " + fuzz_muestra(p2, i);
  }
  if (!fallo.empty()) return "preprocessed again: " + fallo;

  const std::vector<std::string> traducidos = traducciones(original, d1.textos.size());
  lista_cad_t *ids1 = nullptr;
  r.lista(lenguaweb_dame_textos_a_trducir(documento1, &ids1));
  r.lista(ids1);
  lista_cad_t *lista_traducidos = r.lista(lista_cad_crea(0));
  for (const std::string &t : traducidos) lista_cad_anade(lista_traducidos, t.c_str());
  std::string traducida;
  fallo =
      lee_escrita(lenguaweb_reconstruye_fichero_html(documento1, lista_traducidos, ids1, r.tabla_a,
                                                     r.tabla_img, ruta_traducida.c_str(), idioma),
                  ruta_traducida, "the rebuild with translations", &traducida);
  if (fallo.empty())
    fallo = fuzz_gana_tags(p1, traducida, tags_permitidos(p1, d1, u1, traducidos, idioma));
  if (!fallo.empty()) return "rebuilt with translations: " + fallo;
  return "";
}

}  // namespace

std::string fuzz_ubica(std::string_view pagina, const fuzz_documento &d, uint32_t idioma,
                       fuzz_ubicacion *u) {
  size_t cuerpos = 0;
  for (uint32_t tipo : d.tipos) cuerpos += es_cuerpo(tipo);
  if (d.tipos.size() != d.textos.size() || d.trozos.size() != cuerpos + 1)
    return std::to_string(d.trozos.size()) + " pieces for " + std::to_string(cuerpos) +
           " body texts";
  entidades_idioma entidades;
  lenguaweb_prepara_entidades(idioma, &entidades);
  const auto normaliza = [&entidades](std::string_view crudo) {
    char *n = lenguaweb_normaliza_texto(crudo, entidades);
    std::string r(n);
    cad_destruye(&n);
    return r;
  };
  const std::vector<fuzz_tag_con_texto> tags = tags_con_texto(pagina);
  u->trozo.assign(d.trozos.size(), 0);
  u->tags.assign(d.trozos.size(), {});
  size_t p = 0, j = 0, t = 0;
  for (size_t k = 0; k < d.trozos.size(); ++k) {
    const std::string &trozo = d.trozos[k];
    const std::string en = "piece " + std::to_string(k) + " at byte " + std::to_string(p) + ": ";
    if (pagina.compare(p, trozo.size(), trozo) != 0) return en + "not where the page goes on";
    u->trozo[k] = p;
    p += trozo.size();
    for (; t < tags.size() && tags[t].tag < p; ++t, ++j) {
      const fuzz_tag_con_texto &tag = tags[t];
      const std::string del_tag = "the tag at byte " + std::to_string(tag.tag);
      if (tag.tag < u->trozo[k]) return del_tag + " gives a text but stands in a body text";
      if (j >= d.tipos.size() || d.tipos[j] != tag.tipo)
        return en + del_tag + " gives a text of kind " + std::to_string(tag.tipo) +
               " that is not the document's text " + std::to_string(j);
      if (normaliza(pagina.substr(tag.inicio_valor, tag.fin_valor - tag.inicio_valor)) !=
          d.textos[j])
        return en + del_tag + " gives another text than " + fuzz_muestra(d.textos[j]);
      u->tags[k].push_back(tag);
    }
    if (k + 1 == d.trozos.size()) break;
    if (j >= d.tipos.size() || !es_cuerpo(d.tipos[j]))
      return en + "followed by text " + std::to_string(j) + ", which is no body text";
    if (p >= pagina.size() || es_blanco(pagina[p]) || pagina[p] == '<')
      return en + "body text " + std::to_string(j) + " does not begin at a text run";
    const size_t fin = fin_de_texto(pagina, p, d.textos[j]);
    if (fin == kNoEsta || normaliza(pagina.substr(p, fin - p)) != d.textos[j])
      return en + "body text " + std::to_string(j) + " " + fuzz_muestra(d.textos[j]) +
             " is not what follows: " + fuzz_muestra(pagina, p);
    p = fin;
    ++j;
  }
  if (j != d.textos.size()) return "text " + std::to_string(j) + " follows the last piece";
  if (t != tags.size())
    return "the tag at byte " + std::to_string(tags[t].tag) + " gives no text of the document";
  if (p != pagina.size()) return "bytes from " + std::to_string(p) + " are in no piece";
  return "";
}

std::string fuzz_comprueba_escrita(std::string_view escrita, const fuzz_documento &d,
                                   const fuzz_ubicacion &u, const std::vector<std::string> &textos,
                                   uint32_t idioma, bool con_atributos) {
  size_t c = 0, j = 0;
  const auto difiere = [&](size_t k, std::string_view esperado) {
    return "piece " + std::to_string(k) + " is written " + fuzz_muestra(escrita, c) + ", not " +
           fuzz_muestra(esperado);
  };
  for (size_t k = 0; k < d.trozos.size(); ++k) {
    const std::string &trozo = d.trozos[k];
    size_t desde = 0;
    for (const fuzz_tag_con_texto &tag : u.tags[k]) {
      const std::string texto = j < textos.size() ? textos[j] : "";
      ++j;
      if (!con_atributos) continue;
      const size_t inicio = tag.inicio_valor - u.trozo[k];
      // A name without '=' has no value to write into (ALT = "x", or ALT and a line
      // break): the finder's span there is no value of the tag.
      const size_t antes = tag.entre_comillas ? inicio - 1 : inicio;
      if (antes == 0 || trozo[antes - 1] != '=') continue;
      std::string esperado = trozo.substr(desde, inicio - desde);
      const std::string comillas = tag.entre_comillas ? "" : "\"";
      esperado += comillas + como_valor(a_utf8(texto, idioma)) + comillas;
      if (escrita.compare(c, esperado.size(), esperado) != 0) return difiere(k, esperado);
      c += esperado.size();
      desde = tag.fin_valor - u.trozo[k];
    }
    const std::string_view resto = std::string_view(trozo).substr(desde);
    if (escrita.compare(c, resto.size(), resto) != 0) return difiere(k, resto);
    c += resto.size();
    if (k + 1 == d.trozos.size()) break;
    const std::string texto = a_utf8(j < textos.size() ? textos[j] : "", idioma);
    const size_t inicio = c;
    for (char ch : texto) {
      if (ch == '<' && escrita.compare(c, 4, "&lt;") == 0)
        c += 4;
      else if (ch == '>' && escrita.compare(c, 4, "&gt;") == 0)
        c += 4;
      else if (ch == ' ' && escrita.compare(c, 6, "&nbsp;") == 0)
        c += 6;
      else if (c < escrita.size() && escrita[c] == ch)
        ++c;
      else
        return "body text " + std::to_string(j) + " is written " + fuzz_muestra(escrita, inicio) +
               ", not " + fuzz_muestra(texto);
    }
    ++j;
  }
  if (c != escrita.size())
    return "bytes from " + std::to_string(c) + " written after the last piece";
  return "";
}

std::map<std::string, long> fuzz_cuenta_tags(std::string_view pagina,
                                             std::vector<std::pair<size_t, size_t>> *comentarios) {
  std::map<std::string, long> tags;
  const std::string texto(pagina.substr(0, pagina.find('\0')));
  uint32_t posicion = 0;
  uint16_t tipo = 0;
  for (;;) {
    const uint32_t antes = posicion;
    const booleano resultado =
        htmlparser_lee_siguiente_tag(texto.c_str(), &posicion, &tipo, nullptr);
    const std::string_view token = std::string_view(texto).substr(antes, posicion - antes);
    if (token.starts_with("<!--")) {
      if (comentarios != nullptr) comentarios->emplace_back(antes, posicion);
    } else if (token.starts_with("<")) {
      ++tags[nombre_de_tag(token)];
    }
    if (resultado != CIERTO || posicion <= antes) break;
  }
  return tags;
}

std::string fuzz_gana_tags(std::string_view original, std::string_view escrita,
                           const std::map<std::string, long> &permitidos) {
  const std::map<std::string, long> antes = fuzz_cuenta_tags(original);
  for (const auto &[nombre, n] : fuzz_cuenta_tags(escrita)) {
    const auto a = antes.find(nombre);
    const auto p = permitidos.find(nombre);
    const long tenia = (a != antes.end() ? a->second : 0) + (p != permitidos.end() ? p->second : 0);
    if (n > tenia)
      return "gains a tag " + fuzz_muestra(nombre) + ": " + std::to_string(n) +
             " where the page had " + std::to_string(a != antes.end() ? a->second : 0) +
             (p != permitidos.end() ? " and translations may bring " + std::to_string(p->second)
                                    : "");
  }
  return "";
}

std::string fuzz_comprueba_pagina(const uint8_t *datos, size_t largo) {
  const uint32_t idioma = largo > 0 ? kIdiomas[datos[0] % std::size(kIdiomas)] : kIdiomas[0];
  const std::string_view pagina =
      largo > 0 ? std::string_view(reinterpret_cast<const char *>(datos) + 1, largo - 1) : "";
  std::string fallo;
  {
    fuzz_sesion sesion;
    fallo = comprueba(pagina, idioma);
    utilidades_pon_carpeta(nullptr);
    // The reports that arbitrary pages bring about: tags and comments without an end,
    // stray end tags of scripts, entities outside the table, relative links to no
    // file, and references that no record resolves.
    if (fallo.empty())
      fallo = fuzz_informe_inesperado(
          sesion, {"(fin_tag) != NULL", "*procesar_texto == FALSO", "strchr(texto, '&')==NULL",
                   "hay_punto == CIERTO", "enlace != NULL"});
    if (fallo.empty()) fallo = fuzz_fugas(sesion);
  }
  return fallo;
}
