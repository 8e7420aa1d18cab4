/* comprueba_pagina.cpp - a page of arbitrary bytes read, rebuilt and preprocessed in either
 * segmentation, checked by its properties. */
#include <algorithm>
#include <random>
#include <set>

#include "fuzz/comprobaciones.h"
#include "htmlparser/reglas_html.h"
#include "lenguaweb/documento.h"
#include "lenguaweb/normalizacion.h"
#include "lenguaweb/segmentacion_bloques.h"
#include "tablalink/tablalink.h"
#include "listas.h"
#include "tabla_links.h"

/* What the page target checks, on the page P given by the input as the library reads it
 * (its bytes, or their UTF-8 for a page read through UTF-8; written pages are read back
 * so before they are compared), cut, and with what it marks as not to be translated kept
 * or not, as the input's first byte says:
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
 *     by blocks, per '<' of the translations, a phrasing tag or one its body texts held.
 * (e) A page read through its charset declaration gives written pages read in the same
 *     encoding, which may gain one META for it; a page of ASCII alone that declares
 *     nothing gives written pages of ASCII alone, or declared UTF-8 by one META. */

namespace {

constexpr size_t kNoEsta = std::string_view::npos;
using pruebas::a_vector;

std::vector<std::string> textos_de(const lenguaweb_t *documento) {
  return {documento->textos.textos.begin(), documento->textos.textos.end()};
}
using pruebas::tipos_de;

/* Western, Japanese, Cyrillic, Simplified Chinese, Greek, Korean and Hebrew code pages. */
constexpr uint32_t kIdiomas[] = {0x0C0A, 0x0409, 0x0411, 0x0419, 0x0804, 0x0408, 0x0412, 0x040D};

/* Markup that a translator might write. */
// clang-format off
constexpr std::string_view kFragmentos[] = {
    "<B>", "</B>", "<script>alert(1)</script>", "<B x-->", "-->", "<!--", "&lt;I&gt;", "\"><P>",
    "<br>", "<BR/>", "<i\n>", "<span\n>", "<STRONG a=\">\">", "<font color", "a > b < c", "{x}",
    "&amp;", "<U", "</em >", "<a href=\"x\">", "</a>", "<div>", "<img src=x onerror=y>"};
// clang-format on

bool es_cuerpo(uint32_t tipo) {
  return tipo == TIPO_TITULO || tipo == TIPO_TEXTO;
}

std::string en_mayusculas(std::string_view nombre) {
  std::string r(nombre);
  for (char &c : r) c = htmlparser::a_mayuscula(c);
  return r;
}

/* Binary data is guessed from the share of control bytes, which a page written otherwise
 * (a reference as its character, a link as its reference) can move across the guess's
 * edge: two readings of which only one took the page for binary data read it otherwise,
 * and are not compared. */
bool binaria_en_una(const lenguaweb_t *a, const lenguaweb_t *b) {
  return (a->pagina.codificacion.origen == CODIFICACION_ILEGIBLE) !=
         (b->pagina.codificacion.origen == CODIFICACION_ILEGIBLE);
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
  // Each stretch between tags is read on its own: "&a<B>mp;" shows "&amp;" to no reader.
  std::string r;
  for (size_t i = 0; i < texto.size();) {
    const size_t menor = std::min(texto.find('<', i), texto.size());
    std::string tramo(texto.substr(i, menor - i));
    for (const auto &[referencia, caracter] : kEscritas)
      for (size_t a = tramo.find(referencia); a != kNoEsta; a = tramo.find(referencia, a + 1))
        tramo.replace(a, referencia.size(), 1, caracter);
    r += tramo;
    i = menor == texto.size() ? menor : std::min(texto.find('>', menor), texto.size() - 1) + 1;
  }
  return r;
}

/* A page read through its charset declaration is read in the same encoding once written,
 * which may take one META that names it among the first bytes that a browser reads; the
 * tags that the page may gain with it. */
bool sin_nombre(const lenguaweb_t *d) {
  const codificacion_pagina_t &c = d->pagina.codificacion;
  return c.origen == CODIFICACION_POR_UTF8 && d->pagina.num_declaraciones == 0 && c.bom == 0;
}
bool solo_ascii(std::string_view t) {
  return std::all_of(t.begin(), t.end(), [](char c) { return (c & 0x80) == 0; });
}
std::string nombra_su_codificacion(const lenguaweb_t *d, std::string_view escrita) {
  const codificacion_pagina_t &c = d->pagina.codificacion;
  codificacion_pagina_t leida{};
  if (sin_nombre(d) && solo_ascii(d->pagina.bytes) && !solo_ascii(escrita)) {
    conv_detecta_codificacion(escrita.data(), escrita.size(), d->idioma, &leida);
    return leida.origen == CODIFICACION_DECLARADA && std::string_view(leida.nombre) == "UTF-8"
               ? ""
               : "a page of ASCII that declares nothing is written with other bytes and no "
                 "declaration of UTF-8";
  }
  if (c.origen != CODIFICACION_DECLARADA) return "";
  conv_detecta_codificacion(escrita.data(), escrita.size(), d->idioma, &leida);
  return leida.origen <= CODIFICACION_DECLARADA && std::string_view(leida.nombre) == c.nombre
             ? ""
             : "is read in " + std::string(leida.nombre) + ", not in the " + c.nombre +
                   " it declares";
}
std::map<std::string, long> con_declaracion(const lenguaweb_t *d,
                                            std::map<std::string, long> puede = {}) {
  if (d->pagina.codificacion.origen == CODIFICACION_DECLARADA || sin_nombre(d)) ++puede["META"];
  return puede;
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

/* One translation per text: a stretch of the page, a fragment, or both, picked by a
 * generator seeded with the page, so that an input always gives the same translations. */
std::vector<std::string> traducciones(std::string_view pagina, size_t cuantas) {
  std::mt19937_64 siguiente(std::hash<std::string_view>()(pagina));
  std::vector<std::string> textos(cuantas);
  for (std::string &t : textos) {
    const uint64_t r = siguiente();
    if (r % 3 != 1 && !pagina.empty())
      t = pagina.substr(siguiente() % pagina.size(), siguiente() % 48);
    if (r % 3 != 0) t += kFragmentos[siguiente() % std::size(kFragmentos)];
  }
  return textos;
}

/* Tags that the translations may add. Cut as before: each inline tag that a '<' of a body
 * text's translation begins, but for those the page showed as code in that text (and the
 * end tag of an element it leaves open, closed at the end of the text); cut by blocks,
 * per '<' of all the translations, a phrasing tag or one that a body text held. Either
 * way, the text of an XMP or PLAINTEXT goes as raw text: what looks like a tag in it is
 * the translation's. */
std::map<std::string, long> permitidos(const lenguaweb_t *d,
                                       const std::vector<std::string> &traducidos, bool bloques) {
  const std::vector<uint32_t> tipos = tipos_de(d);
  long menores = 0;
  for (const std::string &t : traducidos) menores += std::ranges::count(t, '<');
  std::map<std::string, long> puede;
  for (const auto &e : htmlparser::lista_de_elementos())
    if (bloques && e.frase >= 0)
      puede[std::string(e.nombre)] = puede["/" + std::string(e.nombre)] = menores;
  const auto suma = [&puede](std::string_view texto, long veces) {
    for (const auto &[nombre, n] : fuzz_cuenta_tags(texto)) puede[nombre] += n * veces;
  };
  for (size_t j = 0; j < tipos.size() && j < traducidos.size(); ++j) {
    const registro_de_texto &o = d->registros[j];
    if (!es_cuerpo(tipos[j])) continue;
    const bool crudo = (o.marcas & kTextoSinReferencias) != 0;
    if (bloques) {
      if (crudo) suma(traducidos[j], 1);
      suma(d->pagina.bytes.substr(o.inicio, o.fin - o.inicio), menores);
      continue;
    }
    char *utf8 = conv_ansi_idioma_a_utf8(traducidos[j].c_str(), d->idioma);
    const std::string t(utf8);
    cad_destruye(&utf8);
    if (crudo) suma(t, 1);
    for (size_t p = t.find('<'); !crudo && p != kNoEsta && t.find('>', p) != kNoEsta;
         p = t.find('<', p + 1)) {
      // A tag's name ends at a blank, a '/' or its '>' ("<i\n>" is an I, as the writer reads it).
      const std::string nombre =
          en_mayusculas(t.substr(p + 1, t.find_first_of(" \t\n\f\r/>", p + 2) - p - 1));
      for (size_t n = 0; n < std::size(htmlparser::kTagsEnLinea); ++n)
        if (nombre == htmlparser::kTagsEnLinea[n] && (o.codigo_en_linea >> n & 1u) == 0) {
          ++puede[nombre];
          if (!nombre.starts_with('/') && nombre != "BR") ++puede["/" + nombre];
        }
    }
  }
  return puede;
}

/* What a check makes, freed however it ends: documents, lists of texts, link tables. */
struct ronda {
  uint32_t idioma;
  bool bloques;
  bool respeta; /* what the page marks as not to be translated is kept, as the command keeps it */
  std::vector<lenguaweb_t *> documentos = {};
  std::vector<lista_cad_t *> listas = {};
  pruebas::TablaLinks a = {}, img = {};
  ~ronda() {
    for (lenguaweb_t *&d : documentos) lenguaweb_destruye(&d);
    for (lista_cad_t *&l : listas) lista_cad_destruye(&l);
  }
  lista_cad_t *lista(lista_cad_t *l) { return listas.emplace_back(l); }
  static std::string ruta(const char *nombre) { return fuzz_carpeta() + "/" + nombre; }
  // A document made in the segmentation of the input (the option is read by lenguaweb_crea).
  lenguaweb_t *lee(const char *nombre) {
    opciones_pon_segmentacion(bloques ? SEGMENTACION_BLOQUES : SEGMENTACION_CLASICA);
    opciones_pon_no_traducir(respeta ? CIERTO : FALSO);
    lenguaweb_t *d = documentos.emplace_back(lenguaweb_crea(ruta(nombre).c_str(), idioma));
    opciones_pon_segmentacion(SEGMENTACION_CLASICA);
    opciones_pon_no_traducir(FALSO);
    return d;
  }
  // The file nombre, preprocessed from d into it, or rebuilt from d with textos.
  std::string escribe(lenguaweb_t *d, const char *nombre, std::string *pagina,
                      const lista_cad_t *textos = nullptr, const lista_cad_t *ids = nullptr,
                      bool con_tablas = false) {
    const booleano escrito =
        textos == nullptr
            ? lenguaweb_preprocesa_links(d, a.lista, img.lista, ruta(nombre).c_str(), idioma)
            : lenguaweb_reconstruye_fichero_html(d, textos, ids, con_tablas ? a.lista : nullptr,
                                                 con_tablas ? img.lista : nullptr,
                                                 ruta(nombre).c_str(), idioma);
    *pagina = pruebas::lee_fichero(ruta(nombre));
    return escrito == CIERTO ? "" : "the page is not written whole";
  }
  uint32_t registros() const {
    return lista_reg_num_elems(a.lista) + lista_reg_num_elems(img.lista);
  }
};

std::string difiere(std::string_view escrita, std::string_view esperada) {
  const size_t i = std::ranges::mismatch(escrita, esperada).in1 - escrita.begin();
  return "differs at byte " + std::to_string(i) + ": " + fuzz_muestra(escrita, i);
}

std::string comprueba(std::string_view bytes, uint32_t idioma, bool bloques, bool respeta) {
  if (!pruebas::escribe_fichero(ronda::ruta("pagina.html"), bytes)) return "cannot write the page";
  ronda r{idioma, bloques, respeta};
  lenguaweb_t *documento = r.lee("pagina.html");
  const std::string original(documento->pagina.bytes);
  const std::vector<std::string> textos_del_documento = textos_de(documento);
  lista_cad_t *ids = nullptr;
  lista_cad_t *textos = r.lista(lenguaweb_dame_textos_a_trducir(documento, &ids));
  if (a_vector(textos) != textos_del_documento ||
      lista_cad_num_elems(r.lista(ids)) != textos_del_documento.size())
    return "the texts to translate are not one per text of the document";
  std::string fallo = fuzz_une(documento);
  if (!fallo.empty()) return "the page: " + fallo;

  std::string propia;
  fallo = r.escribe(documento, "propia.html", &propia, textos, ids);
  if (fallo.empty() && bloques && propia != bytes) fallo = difiere(propia, bytes);
  if (fallo.empty() && !bloques) {
    const lenguaweb_t *releida = r.lee("propia.html");
    const std::vector<std::string> releidos = textos_de(releida);
    const bool comparable = !binaria_en_una(releida, documento);
    if (comparable && tipos_de(releida) != tipos_de(documento))
      fallo = "read again, its texts are not of the page's kinds";
    for (size_t j = 0; fallo.empty() && comparable && j < releidos.size(); ++j)
      if (lo_que_se_ve(releidos[j]) != lo_que_se_ve(textos_del_documento[j]))
        fallo = "read again, text " + std::to_string(j) + " " + fuzz_muestra(releidos[j]) +
                " is not the page's " + fuzz_muestra(textos_del_documento[j]);
  }
  if (fallo.empty()) fallo = nombra_su_codificacion(documento, propia);
  if (fallo.empty())
    fallo = fuzz_gana_tags(original, como_se_leyo(documento, propia), con_declaracion(documento));
  if (!fallo.empty()) return "rebuilt with its own texts: " + fallo;

  std::string p1, p2;
  fallo = r.escribe(documento, "p1.html", &p1);
  if (fallo.empty()) fallo = nombra_su_codificacion(documento, p1);
  if (fallo.empty())
    fallo = fuzz_gana_tags(original, como_se_leyo(documento, p1), con_declaracion(documento));
  for (const lista_reg_t *tabla : {r.a.lista, r.img.lista}) {  // a reference names one record
    std::set<std::string> vistos;
    for (uint32_t i = 0; fallo.empty() && i < lista_reg_num_elems(tabla); ++i)
      if (!vistos.insert(lista_reg_dame(tabla, i)->ID).second)
        fallo = "two links share the identifier " + fuzz_muestra(lista_reg_dame(tabla, i)->ID);
  }
  if (!fallo.empty()) return "preprocessed: " + fallo;
  lenguaweb_t *documento1 = r.lee("p1.html");
  const std::string p1_leida(documento1->pagina.bytes);
  fallo = fuzz_une(documento1);
  if (!fallo.empty()) return "the preprocessed page: " + fallo;
  const uint32_t registros = r.registros();
  fallo = r.escribe(documento1, "p2.html", &p2);
  const bool binaria = binaria_en_una(documento, documento1);
  if (fallo.empty() && !binaria && r.registros() != registros) fallo = "a record was added";
  if (fallo.empty() && !binaria && p2 != p1) fallo = difiere(p2, p1);
  if (!fallo.empty()) return "preprocessed again: " + fallo;

  const std::vector<std::string> traducidos =
      traducciones(original, lenguaweb_num_textos(documento1));
  lista_cad_t *ids1 = nullptr;
  r.lista(lenguaweb_dame_textos_a_trducir(documento1, &ids1));
  std::string traducida;
  fallo = r.escribe(documento1, "traducida.html", &traducida, r.lista(pruebas::a_lista(traducidos)),
                    r.lista(ids1), true);
  if (fallo.empty()) fallo = nombra_su_codificacion(documento1, traducida);
  if (fallo.empty())
    fallo =
        fuzz_gana_tags(p1_leida, como_se_leyo(documento1, traducida),
                       con_declaracion(documento1, permitidos(documento1, traducidos, bloques)));
  return fallo.empty() ? "" : "rebuilt with translations: " + fallo;
}

}  // namespace

std::string fuzz_une(const lenguaweb_t *d) {
  const std::string_view pagina = d->pagina.bytes;
  const std::vector<std::string> textos = textos_de(d);
  const std::vector<uint32_t> tipos = tipos_de(d);
  if (tipos.size() != textos.size() || d->registros.size() != textos.size())
    return "not one kind and one origin per text";
  if (d->pagina.codificacion.origen == CODIFICACION_ILEGIBLE)
    return d->trozos.size() == 1 && textos.empty() && lenguaweb_trozo(d, 0) == pagina
               ? ""
               : "a page that is not text is not one piece without texts";
  const bool bloques = d->segmentacion == SEGMENTACION_BLOQUES;
  entidades_idioma entidades;
  lenguaweb_prepara_entidades(d->idioma, &entidades, d->pagina.leida_en);
  referencias_de_bloque referencias;
  // Whether text j is the stretch as the segmentation reads it (nothing is read of a
  // block's raw text, markup-free text or NUL; a classic text leaves NUL bytes out).
  const auto normaliza_a = [&](size_t j, std::string_view crudo, uint8_t marcas) {
    const bool pre = (marcas & kTextoPreformateado) != 0;
    std::string sin_nul(crudo);
    std::erase(sin_nul, '\0');
    std::string n;
    if (!bloques)
      lenguaweb_normaliza_texto(sin_nul, entidades, n,
                                (marcas & kTextoSinReferencias) != 0
                                    ? modo_de_texto::crudo
                                    : (pre ? modo_de_texto::preformateado : modo_de_texto::normal),
                                nullptr, (marcas & kTextoSignosComoReferencias) != 0);
    else if ((marcas & (kTextoSinReferencias | kTextoSinMarcado | kTextoComoLaPagina)) != 0)
      return true;
    else
      lenguaweb_normaliza_bloque(crudo, entidades, referencias,
                                 pre ? lectura_de_bloque::preformateado : lectura_de_bloque::texto,
                                 n);
    return textos[j] == n;
  };
  size_t p = d->trozos.empty() ? 0 : d->trozos[0].inicio, k = 0;
  uint32_t cuerpo_inicio = 0, cuerpo_fin = 0;
  for (size_t j = 0; j <= textos.size(); ++j) {
    const std::string texto = j < textos.size() ? "text " + std::to_string(j) : "";
    if (j < textos.size() && !es_cuerpo(tipos[j])) {
      // An attribute text of a piece, or in blocks of the body text before it.
      const registro_de_texto &o = d->registros[j];
      if (bloques && o.inicio >= cuerpo_inicio && o.fin <= cuerpo_fin) continue;
      if (k >= d->trozos.size() || o.inicio < d->trozos[k].inicio || o.fin > d->trozos[k].fin)
        return "attribute " + texto + " lies in no piece";
      // The rebuild writes a translation into the recorded value as the record says it
      // stands: between the quotes it names, or after an '='.
      const bool comillas = (o.valor & kValorEntreComillas) != 0;
      if (comillas && (o.inicio == 0 || o.fin >= pagina.size() ||
                       (pagina[o.inicio - 1] != '"' && pagina[o.inicio - 1] != '\'') ||
                       pagina[o.fin] != pagina[o.inicio - 1]))
        return "attribute " + texto + " is not between the quotes its record names";
      const size_t antes =
          o.inicio == 0 ? kNoEsta : pagina.find_last_not_of(" \t\n\f\r", o.inicio - 1);
      if (!comillas && (o.valor & kValorTrasIgual) != 0 &&
          (antes == kNoEsta || pagina[antes] != '='))
        return "attribute " + texto + " does not follow an '='";
      if (!bloques && !normaliza_a(j, pagina.substr(o.inicio, o.fin - o.inicio), 0))
        return "attribute " + texto + " is not its value normalised";
      continue;
    }
    if (k >= d->trozos.size() || d->trozos[k].inicio != p)
      return "piece " + std::to_string(k) + " is not where the page goes on";
    p = d->trozos[k++].fin;
    if (j == textos.size()) break;
    const registro_de_texto &o = d->registros[j];
    if (o.inicio != p || o.fin <= o.inicio || o.fin > pagina.size())
      return "body " + texto + " is not where the page goes on";
    const std::string_view crudo = pagina.substr(o.inicio, o.fin - o.inicio);
    // A body text begins at a text run (in blocks it also ends at one): its blanks stay
    // in the pieces.
    if (htmlparser::es_blanco(crudo.front()) ||
        (bloques ? htmlparser::es_blanco(crudo.back())
                 : crudo.front() == '\0' ||
                       (crudo.front() == '<' &&
                        (o.marcas & (kTextoSinReferencias | kTextoSinMarcado)) == 0)))
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
  long extranjeros = 0; /* SVG and MathML elements open: a TITLE there holds markup */
  long puntos = 0;      /* HTML integration points open inside them, where HTML is read */
  /* The points open outside each SVG or MathML element opened inside a point: inside it a
   * TITLE is SVG's again, and its end tag goes back to the point. */
  std::vector<long> puntos_fuera;
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(texto);
  for (size_t i = texto.find('<'); i != kNoEsta; i = texto.find('<', i + 1)) {
    if (!htmlparser::empieza_tag(t, i)) continue;
    const htmlparser::fin_de_tag fin = htmlparser::lee_fin_de_tag(t, i);
    const bool es_tag = htmlparser::tiene_atributos(t, i);
    const std::string nombre =
        en_mayusculas(texto.substr(i + 1, htmlparser::fin_de_nombre_de_tag(t, i) - i - 1));
    const std::string_view tag = texto.substr(i, fin.cierre + 1 - i);
    i = fin.cierre;
    if (!es_tag) continue;
    ++tags[nombre];
    // A start tag that HTML alone has ("<p>", "<head>") ends them all, but where an
    // integration point (SVG's TITLE, DESC, FOREIGNOBJECT; MathML's MI ... MTEXT) holds HTML.
    static constexpr std::string_view kPuntos[] = {"TITLE", "DESC", "FOREIGNOBJECT", "MI", "MO",
                                                   "MN",    "MS",   "MTEXT"};
    const bool punto =
        std::find(std::begin(kPuntos), std::end(kPuntos),
                  std::string_view(nombre).substr(nombre[0] == '/')) != std::end(kPuntos);
    // A TITLE that an integration point holds is HTML's, its text read up to "</title".
    const bool titulo_extranjero = nombre == "TITLE" && extranjeros > 0 && puntos == 0;
    if (extranjeros > 0 && punto) puntos = std::max(0L, puntos + (nombre[0] == '/' ? -1 : 1));
    if (extranjeros > 0 && puntos == 0 && nombre[0] != '/' && htmlparser::sale_de_extranjero(tag))
      extranjeros = 0;
    if (extranjeros == 0) {
      puntos = 0;
      puntos_fuera.clear();
    }
    if (nombre == "SVG" || nombre == "MATH") {
      if (extranjeros > 0) puntos_fuera.push_back(std::exchange(puntos, 0));
      ++extranjeros;
    }
    // Only "</svg>" and "</math>" end them: with more before the '>' an older reader stays.
    if ((nombre == "/SVG" || nombre == "/MATH") && extranjeros > 0 &&
        tag.size() == nombre.size() + 2) {
      --extranjeros;
      if (!puntos_fuera.empty()) {
        puntos = puntos_fuera.back();
        puntos_fuera.pop_back();
      }
    }
    if (titulo_extranjero) continue;
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
  // The first byte's low bits choose the language; its high bit, the block segmentation;
  // the next, whether what the page marks as not to be translated is kept.
  const uint32_t idioma = kIdiomas[largo > 0 ? datos[0] % std::size(kIdiomas) : 0];
  const bool bloques = largo > 0 && (datos[0] & 0x80) != 0;
  const bool respeta = largo > 0 && (datos[0] & 0x40) != 0;
  const std::string_view pagina =
      largo > 0 ? std::string_view(reinterpret_cast<const char *>(datos) + 1, largo - 1) : "";
  return fuzz_en_sesion(kInformesDePaginas, [&](auto &) {
    const std::string fallo = comprueba(pagina, idioma, bloques, respeta);
    if (fallo.empty()) return fallo;
    return (bloques ? "cut by blocks: " : "") +
           std::string(respeta ? "keeping what is not to be translated: " : "") + fallo;
  });
}
