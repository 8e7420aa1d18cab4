/* lectura_tags.cpp - reading a tag as page segmentation reads it, shared with the rebuild. */
#include "lenguaweb/lectura_tags.h"

#include "privado/informe.h"

namespace {

/* The name up to its first blank, without the '/' of an end tag, and whether it had one. */
std::string_view base_del_nombre(std::string_view nombre, bool *cierra) {
  size_t blanco = 0;
  while (blanco < nombre.size() && !htmlparser::es_blanco(nombre[blanco])) ++blanco;
  nombre = nombre.substr(0, blanco);
  *cierra = !nombre.empty() && nombre[0] == '/';
  return *cierra ? nombre.substr(1) : nombre;
}

/* Whether the name may be one of the elements these functions follow (XMP, PRE, STYLE,
 * SCRIPT, LISTING, TEXTAREA, PLAINTEXT): told by its length and first letter, so that
 * the other tags of a page, nearly all of them, cost no comparison of names. */
bool puede_ser_seguido(std::string_view base) {
  if (base.size() < 3 || base.size() > 9) return false;
  switch (htmlparser::a_mayuscula(base[0])) {
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
                                      elemento_crudo::plaintext, elemento_crudo::titulo};

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
        (crudo == elemento_crudo::titulo && !es_texto_crudo(este) && este != crudo))
      crudo = este;
  } else if (crudo == este && este != elemento_crudo::plaintext) {
    crudo = elemento_crudo::ninguno;
  } else if (crudo == elemento_crudo::ninguno && informa &&
             (este == elemento_crudo::script || este == elemento_crudo::style)) {
    informa_en(kModuloLenguaweb, "*procesar_texto == FALSO");
  }
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
