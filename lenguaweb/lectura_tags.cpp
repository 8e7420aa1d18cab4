/* lectura_tags.cpp - reading a tag as page segmentation reads it, shared with the rebuild. */
#include "lenguaweb/lectura_tags.h"

#include <algorithm>

#include "lenguaweb/atributos.h"
#include "privado/informe.h"

namespace {

using htmlparser::nombre_es;

/* The name up to its first blank or '/' after it (as in "<script/>"), without the '/' of
 * an end tag, and whether it had one. */
std::string_view base_del_nombre(std::string_view nombre, bool *cierra) {
  *cierra = !nombre.empty() && nombre[0] == '/';
  if (*cierra) nombre.remove_prefix(1);
  size_t fin = 0;
  while (fin < nombre.size() && !htmlparser::es_blanco_de_tag(nombre[fin]) && nombre[fin] != '/')
    ++fin;
  return nombre.substr(0, fin);
}

/* Whether the name may be one of the elements these functions follow (XMP, PRE, STYLE,
 * SCRIPT, LISTING, TEXTAREA, PLAINTEXT, TITLE, IFRAME, NOEMBED, NOFRAMES, NOSCRIPT): told
 * by its length and first letter, so that the other tags of a page, nearly all of them,
 * cost no comparison of names. */
bool puede_ser_seguido(std::string_view base) {
  if (base.size() < 3 || base.size() > 9) return false;
  switch (htmlparser::a_mayuscula(base[0])) {
    case 'I':
    case 'N':
    case 'L':
    case 'P':
    case 'S':
    case 'T':
    case 'X':
      return true;
    default:
      return false;
  }
}

constexpr elemento_crudo kCrudos[] = {elemento_crudo::script,    elemento_crudo::style,
                                      elemento_crudo::xmp,       elemento_crudo::textarea,
                                      elemento_crudo::plaintext, elemento_crudo::titulo,
                                      elemento_crudo::iframe,    elemento_crudo::noembed,
                                      elemento_crudo::noframes,  elemento_crudo::noscript};

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

/* Whether a start tag named nombre, read inside SVG (mathml false) or MathML, opens an
 * HTML integration point. */
bool abre_integracion(const tag_leido &tag, std::string_view nombre, bool mathml) {
  constexpr std::string_view kDeSvg[] = {"FOREIGNOBJECT", "DESC", "TITLE"};
  constexpr std::string_view kDeMathml[] = {"MI", "MO", "MN", "MS", "MTEXT"};
  if (!mathml) return std::ranges::any_of(kDeSvg, [&](auto n) { return nombre_es(nombre, n); });
  if (std::ranges::any_of(kDeMathml, [&](auto n) { return nombre_es(nombre, n); })) return true;
  htmlparser::valor_html codificacion;
  if (!nombre_es(nombre, "ANNOTATION-XML") ||
      !(lenguaweb_busca_valor(tag.texto, "ENCODING", &codificacion) ||
        lenguaweb_busca_valor(tag.texto, "encoding", &codificacion)))
    return false;
  const std::string_view valor =
      tag.texto.substr(codificacion.inicio, codificacion.fin - codificacion.inicio);
  return nombre_es(valor, "text/html") || nombre_es(valor, "application/xhtml+xml");
}

/* Moves the SVG and MathML elements open past a start or end tag read outside raw
 * elements. */
void sigue_extranjeros(lectura_html &lectura, const tag_leido &tag) {
  const std::string_view nombre = htmlparser::nombre_de_elemento(tag.texto);
  if (nombre.empty() || tag.cortado) return;
  auto &abiertos = lectura.abiertos;
  const bool raiz = nombre_es(nombre, "SVG") || nombre_es(nombre, "MATH");
  if (tag.texto[1] == '/') {
    // An end tag closes the nearest element of its name and what it holds; inside an
    // integration point only that point's own end tag is followed.
    size_t k = abiertos.size();
    while (k > 0 && !nombre_es(abiertos[k - 1].nombre, nombre) &&
           !(abiertos[k - 1].integracion && k == abiertos.size()))
      --k;
    if (k > 0 && nombre_es(abiertos[k - 1].nombre, nombre)) abiertos.resize(k - 1);
    return;
  }
  // Inside TITLE no start tag opens anything; end tags still close (SVG's TITLE among them).
  if (se_cierra_solo(tag) || lectura.crudo == elemento_crudo::titulo) return;
  if (lectura.en_html()) {
    if (raiz) abiertos.push_back({nombre, nombre_es(nombre, "MATH"), false});
  } else if (abre_integracion(tag, nombre, abiertos.back().mathml)) {
    abiertos.push_back({nombre, abiertos.back().mathml, true});
  } else if (raiz) {
    abiertos.push_back({nombre, abiertos.back().mathml, false});
  }
}

}  // namespace

std::string_view nombre_de_elemento(elemento_crudo crudo) {
  switch (crudo) {
    case elemento_crudo::script:
      return "SCRIPT";
    case elemento_crudo::style:
      return "STYLE";
    case elemento_crudo::xmp:
      return "XMP";
    case elemento_crudo::textarea:
      return "TEXTAREA";
    case elemento_crudo::plaintext:
      return "PLAINTEXT";
    case elemento_crudo::titulo:
      return "TITLE";
    case elemento_crudo::iframe:
      return "IFRAME";
    case elemento_crudo::noembed:
      return "NOEMBED";
    case elemento_crudo::noframes:
      return "NOFRAMES";
    case elemento_crudo::noscript:
      return "NOSCRIPT";
    case elemento_crudo::ninguno:
      break;
  }
  return "";
}

tag_leido lenguaweb_lee_tag_en(const htmlparser::texto_acotado<char> &texto, uint32_t inicio,
                               elemento_crudo crudo, bool informa) {
  const std::string_view vista = texto.vista;
  const htmlparser::fin_de_tag fin = htmlparser::lee_fin_de_tag(texto, inicio);
  tag_leido tag{};
  tag.inicio = inicio;
  tag.fin = static_cast<uint32_t>(fin.cerrado ? fin.cierre + 1 : fin.cierre);
  // Inside a raw element or TITLE a browser reads no tag, and so no quote of one.
  tag.sin_cerrar = crudo == elemento_crudo::ninguno ? fin.sin_cerrar : 0;
  size_t fin_texto = fin.cierre;
  if (crudo != elemento_crudo::ninguno) {
    const size_t corte =
        htmlparser::busca_fin_de_elemento(vista, inicio + 1, fin.cierre, nombre_de_elemento(crudo));
    if (corte < fin.cierre) {
      fin_texto = tag.fin = static_cast<uint32_t>(corte);
      tag.cortado = true;
    }
  }
  if (fin_texto == vista.size() && informa) informa_en(kModuloLenguaweb, "(fin_tag) != NULL");

  tag.texto = vista.substr(inicio, fin_texto - inicio);
  tag.nombre = htmlparser::nombre_de_tag(tag.texto.substr(1));
  return tag;
}

void lenguaweb_cambia_elemento_crudo(elemento_crudo &crudo, std::string_view nombre, bool informa) {
  bool cierra = false;
  const std::string_view base = base_del_nombre(nombre, &cierra);
  if (!puede_ser_seguido(base)) return;
  elemento_crudo este = elemento_crudo::ninguno;
  for (elemento_crudo e : kCrudos)
    if (htmlparser::nombre_es(base, nombre_de_elemento(e))) este = e;
  if (este == elemento_crudo::ninguno) return;

  if (!cierra) {
    // Inside TITLE a SCRIPT or STYLE still opens: a browser runs one in the TITLE of SVG,
    // and a TITLE never closed must not make the page's code its text.
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

uint32_t lenguaweb_sigue_tras_tag(lectura_html &lectura, const tag_leido &tag,
                                  std::string_view texto, bool informa) {
  const bool era_codigo = es_codigo(lectura.crudo);
  if (se_leen_tags(lectura.crudo)) sigue_extranjeros(lectura, tag);
  bool cierra = false;
  const std::string_view base = base_del_nombre(tag.nombre, &cierra);
  // Inside SVG or MathML XMP and PLAINTEXT are ordinary elements.
  if (lectura.en_html() || cierra || !(nombre_es(base, "XMP") || nombre_es(base, "PLAINTEXT")))
    lenguaweb_cambia_elemento_crudo(lectura.crudo, tag.nombre, informa);
  if (era_codigo || !es_codigo(lectura.crudo)) return tag.fin;
  const size_t fin =
      lectura.crudo == elemento_crudo::script
          ? htmlparser::fin_de_script(texto, tag.fin)
          : htmlparser::fin_de_texto_sin_tags(texto, tag.fin, nombre_de_elemento(lectura.crudo));
  return static_cast<uint32_t>(fin);
}

void lenguaweb_cambia_preformateado(uint32_t &profundidad, std::string_view nombre) {
  bool cierra = false;
  const std::string_view base = base_del_nombre(nombre, &cierra);
  if (!puede_ser_seguido(base)) return;
  if (!htmlparser::nombre_es(base, "PRE") && !htmlparser::nombre_es(base, "LISTING")) return;
  if (!cierra)
    ++profundidad;
  else if (profundidad > 0)
    --profundidad;
}
