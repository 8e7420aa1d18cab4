/* comprueba_pagina.cpp - a page of arbitrary bytes read, rebuilt and preprocessed in either
 * segmentation, checked by its properties. */
#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "fuzz/comprobaciones.h"
#include "fuzz/sesion.h"
#include "htmlparser/reglas_html.h"
#include "lenguaweb/documento.h"
#include "lenguaweb/normalizacion.h"
#include "lenguaweb/segmentacion_bloques.h"
#include "tablalink/tablalink.h"
#include "listas.h"

/* What the page target checks, on the page P given by the input as the library reads it
 * (its bytes, or their UTF-8 for a page read through UTF-8; written pages are read back
 * so before they are compared), cut as the input's first byte says:
 * (a) fuzz_une: the pieces of P's document and the stretches of its body texts join back
 *     to P, each stretch normalising to its text.
 * (b) P rebuilt with its own texts is P byte for byte when cut by blocks; cut as before,
 *     read again it gives the same texts of the same kinds, as a reader sees them.
 * (c) P preprocessed gives P1, which holds as in (a), and link tables with no two records
 *     of one identifier; P1 preprocessed again adds no record and gives P1 itself.
 * (d) No written page gains a tag: (b) and P1 against P, and P1 rebuilt with translations
 *     drawn from the input, its links resolved through the tables of (c), against P1.
 *     Tags are counted by name as a browser's tokenizer reads them (fuzz_cuenta_tags).
 *     A translated body text may add, cut as before, one tag per '<' of it that begins
 *     one of the 13 inline tags but for those the page showed as code in that text; cut
 *     by blocks, per '<' of the translations, a phrasing tag or one its body texts held. */

namespace {

constexpr size_t kNoEsta = std::string_view::npos;
using pruebas::a_vector;

/* Western, Japanese, Cyrillic, Simplified Chinese, Greek, Korean and Hebrew code pages. */
constexpr uint32_t kIdiomas[] = {0x0C0A, 0x0409, 0x0411, 0x0419, 0x0804, 0x0408, 0x0412, 0x040D};

constexpr const auto &kEnLinea = htmlparser::kTagsEnLinea;

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

/* Binary data is guessed from the share of control bytes, which a page written otherwise
 * (a reference as its character, a link as its reference) can move across the guess's
 * edge: two readings of which only one took the page for binary data read it otherwise,
 * and are not compared. */
bool binaria_en_una(const lenguaweb_t *a, const lenguaweb_t *b) {
  return (a->pagina.codificacion.origen == CODIFICACION_ILEGIBLE) !=
         (b->pagina.codificacion.origen == CODIFICACION_ILEGIBLE);
}

std::string a_utf8(const std::string &texto, uint32_t idioma) {
  char *u = conv_ansi_idioma_a_utf8(texto.c_str(), idioma);
  std::string r(u);
  cad_destruye(&u);
  return r;
}

/* What a reader sees of a text: all but its tags (a tag never closed runs to its end),
 * with the references a writer may write for '&', '"', '\'', '<' and '>' made those
 * characters. A tag's blanks may be written otherwise, and those characters as their
 * references, which changes nothing a reader sees. */
std::string lo_que_se_ve(std::string_view texto) {
  static constexpr std::pair<std::string_view, char> kEscritas[] = {
      {htmlparser::kEntidadAmpersand, '&'},
      {htmlparser::kEntidadComillas, '"'},
      {htmlparser::kEntidadApostrofo, '\''},
      {htmlparser::kEntidadMenor, '<'},
      {htmlparser::kEntidadMayor, '>'}};
  std::string r;
  for (size_t i = 0; i < texto.size();) {
    const size_t menor = std::min(texto.find('<', i), texto.size());
    r.append(texto.substr(i, menor - i));
    i = menor == texto.size() ? menor : std::min(texto.find('>', menor), texto.size() - 1) + 1;
  }
  for (const auto &[referencia, caracter] : kEscritas)
    for (size_t a = r.find(referencia); a != kNoEsta; a = r.find(referencia, a + 1))
      r.replace(a, referencia.size(), 1, caracter);
  return r;
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
constexpr std::string_view kFragmentos[] = {"<B>",
                                            "</B>",
                                            "<script>alert(1)</script>",
                                            "<B x-->",
                                            "-->",
                                            "<!--",
                                            "&lt;I&gt;",
                                            "\"><P>",
                                            "<br>",
                                            "<BR/>",
                                            "<i\n>",
                                            "<span\n>",
                                            "<STRONG a=\">\">",
                                            "<font color",
                                            "a > b < c",
                                            "{x}",
                                            "&amp;",
                                            "<U",
                                            "</em >",
                                            "<a href=\"x\">",
                                            "</a>",
                                            "<div>",
                                            "<img src=x onerror=y>"};

/* Tags that a translation may add: its inline tags that the page did not show as code
 * in that text. */
std::map<std::string, long> tags_permitidos(const lenguaweb_t *d,
                                            const std::vector<std::string> &traducidos) {
  const std::vector<uint32_t> tipos = a_vector(d->tipos_de_textos),
                              codigo = a_vector(d->codigo_en_linea);
  std::map<std::string, long> permitidos;
  for (size_t i = 0; i < traducidos.size() && i < tipos.size(); ++i) {
    if (!es_cuerpo(tipos[i])) continue;
    const std::string t = a_utf8(traducidos[i], d->idioma);
    // The text of an XMP or PLAINTEXT goes as raw text: what the scanner takes for tags
    // in it is the translation's text.
    if ((d->origenes[i].marcas & kTextoSinReferencias) != 0) {
      for (const auto &[nombre, n] : fuzz_cuenta_tags(t)) permitidos[nombre] += n;
      continue;
    }
    for (size_t p = t.find('<'), cierre; p != kNoEsta && (cierre = t.find('>', p)) != kNoEsta;
         p = t.find('<', p + 1)) {
      const std::string nombre = nombre_de_tag(t.substr(p, cierre + 1 - p), true);
      for (size_t n = 0; n < std::size(kEnLinea); ++n)
        if (nombre == kEnLinea[n] && (codigo[i] >> n & 1u) == 0) {
          ++permitidos[nombre];
          // An element the translation leaves open is closed at the end of the text.
          if (!nombre.starts_with('/') && nombre != "BR") ++permitidos["/" + nombre];
        }
    }
  }
  return permitidos;
}

/* Tags that a translation cut by blocks may add: phrasing tags, and the tags its body
 * texts held, each at most once per '<' of the translations. */
std::map<std::string, long> permitidos_en_bloques(const lenguaweb_t *d,
                                                  const std::vector<std::string> &traducidos) {
  long menores = 0;
  for (const std::string &t : traducidos)
    menores += static_cast<long>(std::count(t.begin(), t.end(), '<'));
  std::map<std::string, long> puede;
  for (const auto &e : htmlparser::kElementosDeFrase) {
    puede[std::string(e.nombre)] += menores;
    puede["/" + std::string(e.nombre)] += menores;
  }
  for (size_t j = 0; j < d->origenes.size(); ++j) {
    const origen_de_texto &o = d->origenes[j];
    if (!es_cuerpo(lista_num_dame(d->tipos_de_textos, static_cast<uint32_t>(j)))) continue;
    // Raw text (XMP, PLAINTEXT) goes as it is: what looks like a tag in it is the translation's.
    if ((o.marcas & kTextoSinReferencias) != 0 && j < traducidos.size())
      for (const auto &[nombre, n] : fuzz_cuenta_tags(traducidos[j])) puede[nombre] += n;
    for (const auto &[nombre, n] :
         fuzz_cuenta_tags(d->pagina.bytes.substr(o.inicio, o.fin - o.inicio)))
      puede[nombre] += n * menores;
  }
  return puede;
}

std::string comprueba(std::string_view bytes, uint32_t idioma, bool bloques) {
  const fuzz_rutas rutas;
  if (!(std::ofstream(rutas.pagina, std::ios::binary) << bytes)) return "cannot write the page";
  const std::string &ruta = rutas.pagina, &ruta_propia = rutas.propia, &ruta_p1 = rutas.p1,
                    &ruta_p2 = rutas.p2, &ruta_traducida = rutas.traducida;

  fuzz_recursos r;
  // A document made in the segmentation of the input (the option is read by lenguaweb_crea).
  const auto lee = [&r, idioma, bloques](const std::string &de) {
    opciones_pon_segmentacion(bloques ? SEGMENTACION_BLOQUES : SEGMENTACION_CLASICA);
    lenguaweb_t *d = r.documentos.emplace_back(lenguaweb_crea(de.c_str(), idioma));
    opciones_pon_segmentacion(SEGMENTACION_CLASICA);
    return d;
  };
  lenguaweb_t *documento = lee(ruta);
  const std::string original(documento->pagina.bytes);
  const std::vector<std::string> textos_del_documento = a_vector(documento->textos);
  lista_cad_t *ids = nullptr;
  lista_cad_t *textos = r.lista(lenguaweb_dame_textos_a_trducir(documento, &ids));
  if (a_vector(textos) != textos_del_documento ||
      lista_cad_num_elems(r.lista(ids)) != textos_del_documento.size())
    return "the texts to translate are not one per text of the document";
  std::string fallo = fuzz_une(documento);
  if (!fallo.empty()) return "the page: " + fallo;

  std::string propia;
  fallo = fuzz_lee_escrita(lenguaweb_reconstruye_fichero_html(documento, textos, ids, nullptr,
                                                              nullptr, ruta_propia.c_str(), idioma),
                           ruta_propia, &propia);
  if (fallo.empty() && bloques && propia != bytes) {
    const size_t i = std::mismatch(propia.begin(), propia.end(), bytes.begin(), bytes.end()).first -
                     propia.begin();
    fallo = "differs at byte " + std::to_string(i) + ": " + fuzz_muestra(propia, i);
  }
  if (fallo.empty() && !bloques) {
    const lenguaweb_t *releida = lee(ruta_propia);
    const std::vector<std::string> textos_releidos = a_vector(releida->textos);
    const bool binaria = binaria_en_una(releida, documento);
    if (!binaria && a_vector(releida->tipos_de_textos) != a_vector(documento->tipos_de_textos))
      fallo = "read again, its texts are not of the page's kinds";
    for (size_t j = 0; fallo.empty() && !binaria && j < textos_releidos.size(); ++j)
      if (lo_que_se_ve(textos_releidos[j]) != lo_que_se_ve(textos_del_documento[j]))
        fallo = "read again, text " + std::to_string(j) + " " + fuzz_muestra(textos_releidos[j]) +
                " is not the page's " + fuzz_muestra(textos_del_documento[j]);
  }
  if (fallo.empty()) fallo = fuzz_gana_tags(original, como_se_leyo(documento, propia), {});
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
  lenguaweb_t *documento1 = lee(ruta_p1);
  const std::string p1_leida(documento1->pagina.bytes);
  fallo = fuzz_une(documento1);
  if (!fallo.empty()) return "the preprocessed page: " + fallo;
  const uint32_t registros = lista_reg_num_elems(r.tablas[0]) + lista_reg_num_elems(r.tablas[1]);
  fallo = fuzz_lee_escrita(
      lenguaweb_preprocesa_links(documento1, r.tablas[0], r.tablas[1], ruta_p2.c_str(), idioma),
      ruta_p2, &p2);
  const bool binaria = binaria_en_una(documento, documento1);
  if (fallo.empty() && !binaria &&
      lista_reg_num_elems(r.tablas[0]) + lista_reg_num_elems(r.tablas[1]) != registros)
    fallo = "a record was added";
  if (fallo.empty() && !binaria && p2 != p1) {
    const size_t i = std::mismatch(p1.begin(), p1.end(), p2.begin(), p2.end()).second - p2.begin();
    fallo = "the page changed at byte " + std::to_string(i) + ": " + fuzz_muestra(p2, i);
  }
  if (!fallo.empty()) return "preprocessed again: " + fallo;

  const std::vector<std::string> traducidos =
      fuzz_traducciones(original, lista_cad_num_elems(documento1->textos), kFragmentos);
  lista_cad_t *ids1 = nullptr;
  r.lista(lenguaweb_dame_textos_a_trducir(documento1, &ids1));
  r.lista(ids1);
  lista_cad_t *lista_traducidos = r.lista(pruebas::a_lista(traducidos));
  std::string traducida;
  fallo = fuzz_lee_escrita(
      lenguaweb_reconstruye_fichero_html(documento1, lista_traducidos, ids1, r.tablas[0],
                                         r.tablas[1], ruta_traducida.c_str(), idioma),
      ruta_traducida, &traducida);
  if (fallo.empty())
    fallo = fuzz_gana_tags(p1_leida, como_se_leyo(documento1, traducida),
                           bloques ? permitidos_en_bloques(documento1, traducidos)
                                   : tags_permitidos(documento1, traducidos));
  return fallo.empty() ? "" : "rebuilt with translations: " + fallo;
}

}  // namespace

std::string fuzz_une(const lenguaweb_t *d) {
  const std::string_view pagina = d->pagina.bytes;
  const std::vector<std::string> textos = a_vector(d->textos);
  const std::vector<uint32_t> tipos = a_vector(d->tipos_de_textos);
  if (tipos.size() != textos.size() || d->origenes.size() != textos.size())
    return "not one kind and one origin per text";
  if (d->pagina.codificacion.origen == CODIFICACION_ILEGIBLE)
    return d->trozos.size() == 1 && textos.empty() && lenguaweb_trozo(d, 0) == pagina
               ? ""
               : "a page that is not text is not one piece without texts";
  const bool bloques = d->segmentacion == SEGMENTACION_BLOQUES;
  entidades_idioma entidades;
  lenguaweb_prepara_entidades(d->idioma, &entidades, d->pagina.leida_en);
  referencias_de_bloque referencias;
  // A stretch as the segmentation reads it into a text; nullptr where nothing is read.
  const auto normaliza = [&](std::string_view crudo, uint8_t marcas) -> char * {
    if (bloques)
      return (marcas & (kTextoSinReferencias | kTextoSinMarcado | kTextoConNul)) != 0
                 ? nullptr
                 : lenguaweb_normaliza_bloque(crudo, entidades, referencias,
                                              (marcas & kTextoPreformateado) != 0
                                                  ? lectura_de_bloque::preformateado
                                                  : lectura_de_bloque::texto);
    std::string sin_nul(crudo);  // the NUL bytes of a classic text are left out
    sin_nul.erase(std::remove(sin_nul.begin(), sin_nul.end(), '\0'), sin_nul.end());
    return lenguaweb_normaliza_texto(sin_nul, entidades,
                                     (marcas & kTextoSinReferencias) != 0 ? modo_de_texto::crudo
                                     : (marcas & kTextoPreformateado) != 0
                                         ? modo_de_texto::preformateado
                                         : modo_de_texto::normal);
  };
  const auto normaliza_a = [&](size_t j, std::string_view crudo, uint8_t marcas) {
    char *n = normaliza(crudo, marcas);
    const bool igual = n == nullptr || textos[j] == n;
    cad_destruye(&n);
    return igual;
  };
  size_t p = d->trozos.empty() ? 0 : d->trozos[0].inicio, k = 0;
  uint32_t cuerpo_inicio = 0, cuerpo_fin = 0;
  for (size_t j = 0; j <= textos.size(); ++j) {
    const std::string texto = j < textos.size() ? "text " + std::to_string(j) : "";
    if (j < textos.size() && !es_cuerpo(tipos[j])) {
      // An attribute text of a piece, or in blocks of the body text before it.
      const origen_de_texto &o = d->origenes[j];
      if (bloques && o.inicio >= cuerpo_inicio && o.fin <= cuerpo_fin) continue;
      if (k >= d->trozos.size() || o.inicio < d->trozos[k].inicio || o.fin > d->trozos[k].fin)
        return "attribute " + texto + " lies in no piece";
      if (!bloques && !normaliza_a(j, pagina.substr(o.inicio, o.fin - o.inicio), 0))
        return "attribute " + texto + " is not its value normalised";
      continue;
    }
    if (k >= d->trozos.size() || d->trozos[k].inicio != p)
      return "piece " + std::to_string(k) + " is not where the page goes on";
    p = d->trozos[k++].fin;
    if (j == textos.size()) break;
    const origen_de_texto &o = d->origenes[j];
    if (o.inicio != p || o.fin <= o.inicio || o.fin > pagina.size())
      return "body " + texto + " is not where the page goes on";
    const std::string_view crudo = pagina.substr(o.inicio, o.fin - o.inicio);
    // A body text begins at a text run (in blocks it also ends at one): its blanks stay
    // in the pieces.
    if (htmlparser::es_blanco(crudo.front()) ||
        (bloques ? htmlparser::es_blanco(crudo.back())
                 : crudo.front() == '\0' ||
                       (crudo.front() == '<' && (o.marcas & kTextoSinReferencias) == 0)))
      return "body " + texto + " does not begin or end at a text run: " + fuzz_muestra(crudo);
    if (!normaliza_a(j, crudo, o.marcas)) return "body " + texto + " is not its stretch normalised";
    p = o.fin;
    cuerpo_inicio = o.inicio;
    cuerpo_fin = o.fin;
  }
  if (k != d->trozos.size() || p != pagina.size()) return "the pieces do not reach the end";
  return "";
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
    // Only the element's own end tag ends it ("</SCRIPTX" does not), as a browser reads it.
    if (i >= texto.size()) break;
    const size_t cierre = nombre == "SCRIPT"
                              ? htmlparser::fin_de_script(texto, i + 1)
                              : htmlparser::fin_de_texto_sin_tags(texto, i + 1, nombre);
    if (cierre >= texto.size()) break;
    i = cierre - 1;
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
    const std::string fallo = comprueba(pagina, idioma, bloques);
    return fallo.empty() || !bloques ? fallo : "cut by blocks: " + fallo;
  });
}
