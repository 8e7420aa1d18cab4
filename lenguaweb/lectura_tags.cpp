/* lectura_tags.cpp - reading a tag as page segmentation reads it, shared with the rebuild. */
#include "lenguaweb/lectura_tags.h"

#include <algorithm>

#include "privado/informe.h"

namespace {

/* The start of a CDATA section, which inside SVG and MathML holds characters up to "]]>". */
constexpr std::string_view kInicioCdata = "<![CDATA[";

using htmlparser::nombre_es;

/* Whether a start tag ends in "/>" for a browser: a '/' before its '>' that is no part of
 * an unquoted value. */
bool se_cierra_solo(const tag_leido &tag) {
  const std::string_view t = tag.texto;
  if (tag.cortado || t.size() < 2 || t.back() != '/' || tag.fin == tag.inicio + t.size())
    return false;
  const htmlparser::texto_acotado<char> leido = htmlparser::acotado(t);
  htmlparser::atributo_html a;
  bool en_valor = false;
  for (size_t i = htmlparser::fin_de_nombre_de_tag(leido, 0);
       htmlparser::lee_atributo(leido, i, a);)
    en_valor = a.valor.tras_igual && !a.valor.entre_comillas && a.valor.fin == t.size();
  return !en_valor;
}

/* Where the content of a code element (crudo) that begins at desde ends for a browser in
 * HTML: at the '<' of its end tag, or at the end of texto. */
size_t fin_de_codigo(std::string_view texto, size_t desde, elemento_crudo crudo) {
  return crudo == elemento_crudo::script ? htmlparser::fin_de_script(texto, desde)
                                         : htmlparser::fin_de_texto_sin_tags(
                                               texto, desde, htmlparser::nombre_de_elemento(crudo));
}

/* Whether the end tag that ends an XMP begun at desde for a reader of text ("</xmp") stands
 * where a tag begins for the reading here, which takes that XMP's content for markup: no
 * tag, comment, CDATA section or element read as text (SCRIPT, TEXTAREA ...) begun before
 * it holds it. An XMP with no end tag is text to the page's end to that reader. Another
 * XMP start tag inside answers no too: each would scan to the same end again, and a page
 * of them would cost the square of its length. */
bool fin_de_xmp_entre_tags(std::string_view texto, size_t desde) {
  const size_t fin_xmp = htmlparser::fin_de_texto_sin_tags(
      texto, desde, htmlparser::nombre_de_elemento(elemento_crudo::xmp));
  const htmlparser::texto_acotado<char> pagina = htmlparser::acotado(texto);
  for (size_t p = texto.find('<', desde); p < fin_xmp; p = texto.find('<', p)) {
    size_t fin;
    const bool cierre_sin_letra =
        texto.compare(p, 2, "</") == 0 &&
        (p + 2 >= texto.size() || !htmlparser::es_letra_ascii(texto[p + 2]));
    if (texto.compare(p, kInicioCdata.size(), kInicioCdata) == 0) {
      // A section where SVG or MathML is open, a comment elsewhere: the longer holds more.
      fin = texto.find("]]>", p + kInicioCdata.size());
    } else if (texto.compare(p, 2, "<!") == 0 || texto.compare(p, 2, "<?") == 0 ||
               cierre_sin_letra) {
      fin = htmlparser::lee_fin_de_tag(pagina, p).cierre;
    } else if (!htmlparser::empieza_tag(pagina, p)) {
      ++p;
      continue;
    } else {
      const tag_leido dentro =
          lenguaweb_lee_tag_en(pagina, static_cast<uint32_t>(p), elemento_crudo::ninguno, false);
      fin = dentro.fin;
      const elemento_crudo suyo = dentro.elemento != nullptr && !dentro.cierra
                                      ? dentro.elemento->crudo
                                      : elemento_crudo::ninguno;
      if (suyo == elemento_crudo::xmp) return false;
      // PLAINTEXT is markup here too; the rest is read as text to its end tag.
      if (suyo != elemento_crudo::ninguno && suyo != elemento_crudo::plaintext && !dentro.cortado)
        fin = fin_de_codigo(texto, dentro.fin, suyo);
    }
    if (fin == htmlparser::kNoEsta || fin > fin_xmp) return false;
    p = std::max(fin, p + 1);
  }
  return true;
}

/* The place of an element's name in lectura_html::kNombres, or -1. */
int nombre_extranjero(std::string_view nombre) {
  for (size_t k = 0; k < std::size(lectura_html::kNombres); ++k)
    if (nombre_es(nombre, lectura_html::kNombres[k])) return static_cast<int>(k);
  return -1;
}

/* Whether a start tag of the name at place k, read inside SVG (mathml false) or MathML,
 * opens an HTML integration point: SVG's FOREIGNOBJECT, DESC and TITLE (places 2 to 4),
 * MathML's MI, MO, MN, MS and MTEXT (5 to 9), and its ANNOTATION-XML (10) of an HTML
 * encoding. */
bool abre_integracion(const tag_leido &tag, int k, bool mathml) {
  if (k >= lectura_html::kMglyph) return false;
  if (!mathml || k < lectura_html::kAnotacion)
    return mathml ? k >= lectura_html::kMi && k <= lectura_html::kMtext : k >= 2 && k <= 4;
  // A browser keeps the first attribute of a name, its letter case ignored.
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(tag.texto);
  htmlparser::atributo_html a;
  for (size_t i = htmlparser::fin_de_nombre_de_tag(t, 0); htmlparser::lee_atributo(t, i, a);) {
    if (!nombre_es(tag.texto.substr(a.nombre, a.fin_nombre - a.nombre), "ENCODING")) continue;
    if (a.valor.fin == htmlparser::kNoEsta) return false;
    const std::string_view valor = tag.texto.substr(a.valor.inicio, a.valor.fin - a.valor.inicio);
    return nombre_es(valor, "text/html") || nombre_es(valor, "application/xhtml+xml");
  }
  return false;
}

/* Fills the tag's names and element from its text. */
void pon_nombres(tag_leido &tag) {
  tag.cierra = tag.texto.size() > 1 && tag.texto[1] == '/';
  const size_t desde = tag.cierra ? 2 : 1;
  const size_t fin = htmlparser::fin_de_nombre_de_tag(htmlparser::acotado(tag.texto), 0);
  tag.nombre = tag.texto.substr(desde, fin - desde);
  tag.nombre_legado = htmlparser::nombre_legado_de_tag(tag.texto.substr(1));
  tag.elemento = htmlparser::busca_elemento(tag.nombre);
}

/* Moves the SVG and MathML elements open past a start or end tag read outside raw
 * elements. */
void sigue_extranjeros(lectura_html &lectura, const tag_leido &tag) {
  // Inside TITLE, which only HTML has, nothing is a tag but its own end tag, which closes
  // no SVG or MathML element.
  if (tag.cortado || lectura.crudo == elemento_crudo::titulo) return;
  auto &abiertos = lectura.abiertos;
  // In plain HTML only an SVG or MATH start tag changes anything here: most tags of a page
  // stop at this test.
  if (abiertos.empty() && (tag.cierra || !(nombre_es(tag.nombre, lectura_html::kNombres[0]) ||
                                           nombre_es(tag.nombre, lectura_html::kNombres[1]))))
    return;
  // Off an integration point, a start tag that HTML alone has ("<p>", "<b>") closes every
  // SVG and MathML element up to the nearest integration point, or all of them. The end
  // tags "</p>" and "</br>" do so only for newer readers: the reading stays inside, where
  // a text's '<' is escaped, which is safe in raw text too.
  if (!lectura.en_html() && !tag.cierra && htmlparser::sale_de_extranjero(tag.texto))
    while (!lectura.en_html()) {
      --lectura.por_nombre[abiertos.back().nombre];
      abiertos.pop_back();
    }
  const int k = nombre_extranjero(tag.nombre);
  // An end tag of a name that no table here knows, read where SVG or MathML is what it
  // closes first (off an integration point, or at one with no HTML open inside): a browser
  // ignores it unless an element of its name is open, but older readers (gumbo among them)
  // take it to close the nearest HTML element of any name they do not know, and every SVG
  // and MathML element inside that one: readers may stand apart from here on. "</>" and
  // "</1>" are no end tags to any reader (nothing, and a comment).
  if (tag.cierra && k < 0 && tag.elemento == nullptr && !abiertos.empty() && !tag.nombre.empty() &&
      htmlparser::es_letra_ascii(tag.nombre[0]) &&
      (!abiertos.back().integracion || abiertos.back().html_dentro == 0))
    lectura.lectores_discrepan = true;
  if (k < 0) return;
  if (tag.cierra) {
    // An end tag closes the nearest element of its name and what it holds; inside an
    // integration point only that point's own end tag is followed. Each element walked
    // past is closed, so the walks of a page are as long as its start tags in all.
    if (lectura.por_nombre[k] == 0 || (abiertos.back().integracion && abiertos.back().nombre != k))
      return;
    // Older readers (gumbo among them) ignore an end tag here that holds anything between
    // its name and its '>' ("</svg >", "</math x>") and stay inside, where an XMP after it
    // is markup, not raw text. Where readers differ the reading stays inside SVG or MathML,
    // whose texts are escaped, which is safe in raw text too: such a tag closes no SVG or
    // MATH, MGLYPH or MALIGNMARK. It does close an integration point, which leaves the
    // reading inside.
    const bool solo_su_nombre = !tag.cortado &&
                                tag.texto.size() == 2 + lectura_html::kNombres[k].size() &&
                                tag.fin == tag.inicio + tag.texto.size() + 1;
    if ((k <= 1 || k >= lectura_html::kMglyph) && !solo_su_nombre) return;
    // A browser ignores an end tag that would close an integration point while an HTML
    // element is open inside it, and what the count of them misses ("<b></i>") keeps one
    // open: past any point closed here that held HTML, readers may stand apart.
    for (bool cerrado = false; !cerrado;) {
      const lectura_html::extranjero &e = abiertos.back();
      if (e.integracion && e.html_visto) lectura.lectores_discrepan = true;
      cerrado = e.nombre == k;
      --lectura.por_nombre[e.nombre];
      abiertos.pop_back();
    }
    return;
  }
  if (se_cierra_solo(tag)) return;
  const bool raiz = k <= 1;
  lectura_html::extranjero nuevo{static_cast<uint8_t>(k), k == 1, false};
  if (!lectura.en_html()) {
    // Every element of these names is followed inside SVG or MathML, an integration point
    // or not: its end tag closes it, not one of its name further out.
    nuevo.mathml = abiertos.back().mathml;
    nuevo.integracion = abre_integracion(tag, k, nuevo.mathml);
  } else if (k >= lectura_html::kMglyph) {
    // Inside MathML's MI ... MTEXT, where HTML is read, MGLYPH and MALIGNMARK are MathML
    // elements: what they hold is read as MathML (an XMP there is markup, not raw text).
    if (abiertos.empty() || abiertos.back().nombre < lectura_html::kMi ||
        abiertos.back().nombre > lectura_html::kMtext)
      return;
    nuevo.mathml = true;
  } else if (!raiz) {
    return;
  }
  abiertos.push_back(nuevo);
  ++lectura.por_nombre[k];
}

}  // namespace

tag_leido lenguaweb_lee_tag_en(const htmlparser::texto_acotado<char> &texto, uint32_t inicio,
                               elemento_crudo crudo, bool informa) {
  const std::string_view vista = texto.vista;
  const htmlparser::fin_de_tag fin = htmlparser::lee_fin_de_tag(texto, inicio);
  tag_leido tag{};
  tag.inicio = inicio;
  tag.fin = static_cast<uint32_t>(fin.cerrado ? fin.cierre + 1 : fin.cierre);
  // Inside a raw element or TITLE a browser reads no tag, and so no quote of one, but the
  // element's own end tag: a "</title" inside one of its quoted values ends nothing.
  const std::string_view elemento = htmlparser::nombre_de_elemento(crudo);
  const bool fin_propio = crudo != elemento_crudo::ninguno && crudo != elemento_crudo::plaintext &&
                          htmlparser::es_fin_de_texto_sin_tags(vista, inicio, elemento);
  tag.sin_cerrar = crudo == elemento_crudo::ninguno || fin_propio ? fin.sin_cerrar : 0;
  size_t fin_texto = fin.cierre;
  if (crudo != elemento_crudo::ninguno && !fin_propio) {
    const size_t corte = htmlparser::busca_fin_de_elemento(vista, inicio + 1, fin.cierre, elemento);
    if (corte < fin.cierre) {
      fin_texto = tag.fin = static_cast<uint32_t>(corte);
      tag.cortado = true;
    }
  }
  if (fin_texto == vista.size() && informa) informa_en(kModuloLenguaweb, "(fin_tag) != NULL");

  tag.texto = vista.substr(inicio, fin_texto - inicio);
  pon_nombres(tag);
  return tag;
}

void lenguaweb_cambia_elemento_crudo(elemento_crudo &crudo, const tag_leido &tag, bool informa) {
  // A tag cut at the end of the raw element or TITLE it began in is none: it opens nothing.
  if (tag.cortado) return;
  if (tag.elemento == nullptr || tag.elemento->crudo == elemento_crudo::ninguno) return;
  const elemento_crudo este = tag.elemento->crudo;
  if (!tag.cierra) {
    // Inside TITLE a SCRIPT or STYLE still opens, so that the page's code never becomes
    // title text, in a TITLE never closed too: lenguaweb_sigue_tras_tag keeps what follows
    // it up to "</title" as the page has it.
    if (crudo == elemento_crudo::ninguno ||
        (crudo == elemento_crudo::titulo &&
         (este == elemento_crudo::script || este == elemento_crudo::style)))
      crudo = este;
  } else if (crudo == este && este != elemento_crudo::plaintext) {
    crudo = elemento_crudo::ninguno;
  } else if (crudo == elemento_crudo::ninguno && informa &&
             (este == elemento_crudo::script || este == elemento_crudo::style)) {
    informa_en(kModuloLenguaweb, "*procesar_texto == FALSO");
  }
}

contexto_de_lectura lenguaweb_contexto_de(const lectura_html &lectura) {
  contexto_de_lectura contexto;
  contexto.crudo = lectura.crudo;
  contexto.en_select = lectura.en_select;
  contexto.lectores_discrepan = lectura.lectores_discrepan;
  if (!lectura.abiertos.empty()) {
    const lectura_html::extranjero &cima = lectura.abiertos.back();
    contexto.extranjero = cima.nombre;
    contexto.mathml = cima.mathml;
    contexto.integracion = cima.integracion;
    contexto.html_dentro = cima.html_dentro;
    contexto.html_visto = cima.html_visto;
  }
  return contexto;
}

lectura_html lenguaweb_lectura_en(const contexto_de_lectura &contexto) {
  lectura_html lectura;
  lectura.crudo = contexto.crudo;
  lectura.en_select = contexto.en_select;
  lectura.lectores_discrepan = contexto.lectores_discrepan;
  if (contexto.extranjero == contexto_de_lectura::kEnHtml) return lectura;
  const auto abre = [&lectura](uint8_t nombre, bool mathml, bool integracion) {
    lectura.abiertos.push_back({nombre, mathml, integracion});
    ++lectura.por_nombre[nombre];
  };
  constexpr uint8_t kSvg = 0, kMath = 1;
  static_assert(lectura_html::kNombres[kSvg] == "SVG" && lectura_html::kNombres[kMath] == "MATH");
  if (contexto.extranjero > kMath) abre(contexto.mathml ? kMath : kSvg, contexto.mathml, false);
  abre(contexto.extranjero, contexto.mathml, contexto.integracion);
  lectura.abiertos.back().html_dentro = contexto.html_dentro;
  lectura.abiertos.back().html_visto = contexto.html_visto;
  return lectura;
}

uint32_t lenguaweb_sigue_tras_tag(lectura_html &lectura, const tag_leido &leido,
                                  std::string_view texto, bool informa) {
  // A browser reads a '<' that begins no tag as a character, and a later '<' may begin
  // the tag: "<<script>" and "<)<script>" open a SCRIPT, whose content is never a text,
  // "<<svg>" an SVG element, and "<<!--" a comment, which ends at its own "-->". The tag
  // is read again from that '<', and followed from there.
  tag_leido tag = leido;
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(tag.texto);
  size_t menor = 0;
  while (menor != htmlparser::kNoEsta && !htmlparser::empieza_tag(t, menor))
    menor = tag.texto.find('<', menor + 1);
  if (menor != 0 && menor != htmlparser::kNoEsta)
    tag = lenguaweb_lee_tag_en(texto, leido.inicio + static_cast<uint32_t>(menor), lectura.crudo,
                               false);
  const bool era_codigo = es_codigo(lectura.crudo);
  const bool en_titulo = lectura.crudo == elemento_crudo::titulo;
  const bool en_html = lectura.en_html(); /* where the tag's element stands */
  // Where the element a browser adds to is SVG's or MathML's (an integration point too)
  // "<![CDATA[" begins characters that end at the first "]]>", '>' and '<' among them:
  // the section stays as the page has it, no text of it is offered.
  if (!lectura.abiertos.empty() && lectura.abiertos.back().html_dentro == 0 &&
      se_leen_tags(lectura.crudo) && tag.texto.starts_with(kInicioCdata)) {
    const size_t fin = texto.find("]]>", tag.inicio + kInicioCdata.size());
    return static_cast<uint32_t>(fin == htmlparser::kNoEsta ? texto.size() : fin + 3);
  }
  if (se_leen_tags(lectura.crudo)) {
    const size_t profundidad = lectura.abiertos.size();
    const bool en_punto = profundidad > 0 && lectura.abiertos.back().integracion;
    sigue_extranjeros(lectura, tag);
    // An HTML element opened or closed inside an integration point. The start tags that
    // a browser ignores inside BODY open nothing.
    static constexpr std::string_view kIgnorados[] = {
        "BODY", "CAPTION", "COL", "COLGROUP", "FRAME", "FRAMESET", "HEAD",
        "HTML", "TBODY",   "TD",  "TFOOT",    "TH",    "THEAD",    "TR"};
    if (en_punto && lectura.abiertos.size() == profundidad && !tag.cortado && !tag.nombre.empty() &&
        htmlparser::es_letra_ascii(tag.nombre[0]) && lectura.crudo != elemento_crudo::titulo) {
      uint32_t &dentro = lectura.abiertos.back().html_dentro;
      if (!tag.cierra && (tag.elemento == nullptr || !tag.elemento->vacio) &&
          std::ranges::none_of(kIgnorados,
                               [&](std::string_view n) { return nombre_es(tag.nombre, n); })) {
        ++dentro;
        lectura.abiertos.back().html_visto = true;
      } else if (tag.cierra && dentro > 0)
        --dentro;
    }
  }
  // Inside SVG or MathML XMP, PLAINTEXT, TEXTAREA and TITLE are ordinary elements, whose
  // content is markup (SVG's TITLE is an HTML integration point); inside a SELECT an XMP
  // or PLAINTEXT start tag is ignored, and what follows is markup too.
  const elemento_crudo crudo =
      tag.elemento != nullptr ? tag.elemento->crudo : elemento_crudo::ninguno;
  if (se_leen_tags(lectura.crudo) && !tag.cortado && en_html && nombre_es(tag.nombre, "SELECT"))
    lectura.en_select = !tag.cierra;
  const bool en_marcado = crudo == elemento_crudo::xmp || crudo == elemento_crudo::plaintext;
  // Where readers may stand apart, an XMP start tag read in HTML opens text to some and
  // markup to others (as it is read here). When a tag, comment or code of that markup
  // holds the XMP's end tag, what one reader reads as text after it the other reads inside
  // that tag: nothing from there to the page's end is offered.
  if (en_html && crudo == elemento_crudo::xmp && !lectura.xmp_crudo() && !tag.cierra &&
      !tag.cortado && se_leen_tags(lectura.crudo) && !fin_de_xmp_entre_tags(texto, tag.fin))
    return static_cast<uint32_t>(texto.size());
  if ((en_html && (lectura.xmp_crudo() || !en_marcado)) || tag.cierra ||
      (!en_marcado && crudo != elemento_crudo::textarea && crudo != elemento_crudo::titulo))
    lenguaweb_cambia_elemento_crudo(lectura.crudo, tag, informa);
  if (era_codigo || !es_codigo(lectura.crudo)) return tag.fin;
  if (!lectura.en_html()) {
    // Inside SVG or MathML a browser reads this element's content as markup: its end tag
    // is the first one that no comment or other tag holds. All of it stays code here.
    // Older readers (gumbo among them) ignore an end tag there that holds anything between
    // its name and its '>' ("</script >", "</script/>") and go on reading the element, so
    // only "</script>" ends it here: what stands after such a tag is code to them. A
    // start tag of its name opens another such element inside it, which the next of those
    // end tags closes; written "<script/>" it closes at once for newer readers only, and is
    // counted too. A CDATA section runs to its "]]>".
    const htmlparser::texto_acotado<char> pagina = htmlparser::acotado(texto);
    const std::string_view nombre = htmlparser::nombre_de_elemento(lectura.crudo);
    size_t p = texto.find('<', tag.fin);
    uint32_t dentro = 0;
    for (; p != htmlparser::kNoEsta; p = texto.find('<', p)) {
      const size_t tras = p + 2 + nombre.size();
      if (texto.compare(p, 2, "</") == 0 &&
          htmlparser::nombre_es(texto.substr(p + 2, nombre.size()), nombre) &&
          (tras == texto.size() || texto[tras] == '>')) {
        if (dentro-- == 0) break;
        p = tras;
        continue;
      }
      if (texto.compare(p, kInicioCdata.size(), kInicioCdata) == 0) {
        const size_t fin_cdata = texto.find("]]>", p + kInicioCdata.size());
        p = fin_cdata == htmlparser::kNoEsta ? texto.size() : fin_cdata + 3;
        continue;
      }
      if (!htmlparser::empieza_tag(pagina, p)) {
        ++p;
        continue;
      }
      const tag_leido dentro_de_el =
          lenguaweb_lee_tag_en(pagina, static_cast<uint32_t>(p), elemento_crudo::ninguno, false);
      if (!dentro_de_el.cierra && dentro_de_el.elemento != nullptr &&
          dentro_de_el.elemento->crudo == lectura.crudo)
        ++dentro;
      p = dentro_de_el.fin;
    }
    return static_cast<uint32_t>(std::min(p, texto.size()));
  }
  if (en_titulo) {
    // A SCRIPT or STYLE opened inside TITLE (only HTML's is read as text) is title text to
    // a browser, which ends it all at "</title", its own end tag included: what follows
    // the tag up to there is kept as the page has it, and the TITLE's end tag is read next.
    lectura.crudo = elemento_crudo::titulo;
    return static_cast<uint32_t>(htmlparser::fin_de_texto_sin_tags(
        texto, tag.fin, htmlparser::nombre_de_elemento(elemento_crudo::titulo)));
  }
  const size_t fin = fin_de_codigo(texto, tag.fin, lectura.crudo);
  if (lectura.crudo == elemento_crudo::noscript) {
    // A reader that runs no script reads NOSCRIPT's content as markup: a tag begun there
    // whose quoted value runs past the end tag holds what follows up to its own end, which
    // must stay as it is too. Reading goes on after that tag, the NOSCRIPT closed. So
    // does an element read as text begun there (SCRIPT, STYLE, XMP, TEXTAREA, TITLE ...)
    // and not ended before "</noscript": to that reader it runs on to its own end tag
    // (PLAINTEXT to the page's end), where reading goes on as after its start tag; one
    // ended before it hides what it holds from this scan. A
    // SELECT, SVG or MATH begun there may stay open to that reader (lectores_discrepan).
    const htmlparser::texto_acotado<char> pagina = htmlparser::acotado(texto);
    for (size_t p = texto.find('<', tag.fin); p < fin; p = texto.find('<', p + 1)) {
      // A comment, or what that reader takes for one ("<!x", "<?x", "</1"), runs to its
      // own end whatever stands inside it: a '<' there begins no tag.
      const bool cierre_sin_letra =
          texto.compare(p, 2, "</") == 0 &&
          (p + 2 >= texto.size() || !htmlparser::es_letra_ascii(texto[p + 2]));
      if (texto.compare(p, 2, "<!") == 0 || texto.compare(p, 2, "<?") == 0 || cierre_sin_letra) {
        const size_t fin_comentario = htmlparser::lee_fin_de_tag(pagina, p).cierre;
        if (fin_comentario > fin) {
          lectura.crudo = elemento_crudo::ninguno;
          return static_cast<uint32_t>(std::min(fin_comentario + 1, texto.size()));
        }
        p = fin_comentario;
        continue;
      }
      if (!htmlparser::tiene_atributos(pagina, p)) continue;
      const std::string_view nombre = htmlparser::nombre_de_elemento(texto.substr(p, fin - p));
      const bool abre = texto[p + 1] != '/';
      if (abre &&
          (nombre_es(nombre, "SELECT") || nombre_es(nombre, "SVG") || nombre_es(nombre, "MATH")))
        lectura.lectores_discrepan = true;
      char sin_cerrar = 0;
      const size_t cierre = htmlparser::busca_cierre(pagina, p, &sin_cerrar);
      if (sin_cerrar != 0 && lectura.comilla_en_noscript == 0) {
        lectura.comilla_en_noscript = sin_cerrar;
        lectura.comilla_en_noscript_desde = static_cast<uint32_t>(std::min(cierre, texto.size()));
      }
      const htmlparser::elemento_html *elemento =
          abre ? htmlparser::busca_elemento(nombre) : nullptr;
      if (elemento != nullptr && elemento->crudo != elemento_crudo::ninguno &&
          elemento->crudo != elemento_crudo::noscript) {
        const size_t fin_codigo =
            cierre >= texto.size() || elemento->crudo == elemento_crudo::plaintext
                ? texto.size()
                : fin_de_codigo(texto, cierre + 1, elemento->crudo);
        if (fin_codigo > fin) {
          lectura.crudo = elemento->crudo;
          return static_cast<uint32_t>(fin_codigo);
        }
        p = fin_codigo;
        continue;
      }
      if (cierre > fin) {
        lectura.crudo = elemento_crudo::ninguno;
        return static_cast<uint32_t>(std::min(cierre + 1, texto.size()));
      }
      p = cierre;
    }
  }
  return static_cast<uint32_t>(fin);
}

bool lenguaweb_texto_sigue_por_tag(const tag_leido &tag, bool en_extranjero,
                                   segmentacion_t segmentacion) {
  // A translation without such a tag would let a browser read as markup what follows it
  // (an open quote, a cut tag), or read in SVG what the page reads as HTML.
  if (tag.sin_cerrar != 0 || tag.cortado ||
      (en_extranjero && htmlparser::sale_de_extranjero(tag.texto)))
    return false;
  if (segmentacion == SEGMENTACION_CLASICA) return lenguaweb_bit_en_linea_legado(tag) >= 0;
  const bool sin_fin = tag.fin == tag.inicio + tag.texto.size(); /* no '>': nothing to a browser */
  return !sin_fin && tag.elemento != nullptr && tag.elemento->frase >= 0;
}

bool lenguaweb_nombra_elemento(const tag_leido &tag, elemento_crudo antes, bool en_extranjero,
                               segmentacion_t segmentacion) {
  if (!se_leen_tags(antes) || tag.cierra || tag.texto.size() < 2 ||
      !htmlparser::es_letra_ascii(tag.texto[1]))
    return false;
  if (tag.elemento != nullptr && tag.elemento->vacio) return false;
  return !lenguaweb_texto_sigue_por_tag(tag, en_extranjero, segmentacion);
}

int lenguaweb_bit_en_linea_legado(const tag_leido &tag) {
  // Both names end where the tag's text does: of the same length, they are the same bytes.
  if (tag.nombre_legado.size() != tag.nombre.size() + (tag.cierra ? 1 : 0))
    return htmlparser::bit_de_tag_en_linea(tag.nombre_legado);
  if (tag.elemento == nullptr) return -1;
  return tag.cierra ? tag.elemento->bit_fin_en_linea : tag.elemento->bit_en_linea;
}

void lenguaweb_cambia_preformateado(uint32_t &profundidad, const tag_leido &tag) {
  if (tag.elemento == nullptr || !tag.elemento->preformateado) return;
  if (!tag.cierra)
    ++profundidad;
  else if (profundidad > 0)
    --profundidad;
}
