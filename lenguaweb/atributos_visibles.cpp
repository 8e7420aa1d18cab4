/* atributos_visibles.cpp - the texts a reader sees in a tag's attributes, by segmentation. */
#include "lenguaweb/atributos_visibles.h"

#include <string_view>

namespace {

using htmlparser::nombre_es;

/* The attributes of one tag looked at; a tag with more is read no further. */
constexpr size_t kMaxAtributos = 64;

/* The kind of the text that attribute nombre of element gives, or -1; tipo_input is the
 * type of an INPUT. */
int tipo_de_atributo(std::string_view elemento, std::string_view nombre,
                     std::string_view tipo_input) {
  const bool input = nombre_es(elemento, "INPUT");
  if (nombre_es(nombre, "TITLE")) return TIPO_TITULO_ELEMENTO;
  if (nombre_es(nombre, "ARIA-LABEL")) return TIPO_ETIQUETA_ACCESIBLE;
  if (nombre_es(nombre, "ARIA-DESCRIPTION")) return TIPO_DESCRIPCION_ACCESIBLE;
  if (nombre_es(nombre, "ARIA-ROLEDESCRIPTION")) return TIPO_ROL_ACCESIBLE;
  if (nombre_es(nombre, "ARIA-PLACEHOLDER")) return TIPO_EJEMPLO_ACCESIBLE;
  if (nombre_es(nombre, "ABBR") && nombre_es(elemento, "TH")) return TIPO_ABREVIATURA_CELDA;
  if (nombre_es(nombre, "ALT") && (nombre_es(elemento, "IMG") || nombre_es(elemento, "AREA") ||
                                   (input && nombre_es(tipo_input, "IMAGE"))))
    return TIPO_ALTERNATIVO_IMAGEN;
  if (nombre_es(nombre, "PLACEHOLDER") && (input || nombre_es(elemento, "TEXTAREA")))
    return TIPO_EJEMPLO_CAMPO;
  if (nombre_es(nombre, "SUMMARY") && nombre_es(elemento, "TABLE")) return TIPO_RESUMEN_TABLA;
  if (nombre_es(nombre, "LABEL") &&
      (nombre_es(elemento, "OPTION") || nombre_es(elemento, "OPTGROUP") ||
       nombre_es(elemento, "TRACK")))
    return TIPO_ETIQUETA;
  if (nombre_es(nombre, "VALUE") && input &&
      (nombre_es(tipo_input, "BUTTON") || nombre_es(tipo_input, "SUBMIT") ||
       nombre_es(tipo_input, "RESET")))
    return TIPO_TEXTO_BOTON;
  return -1;
}

/* Whether a name that ends right before blanks and an '=' of the tag text is "title" or
 * one of the ARIA attributes read, letter case ignored: only the '=' are looked at, most
 * tags have one or two. */
bool nombra_titulo_o_etiqueta(std::string_view texto) {
  for (size_t igual = texto.find('='); igual != htmlparser::kNoEsta;
       igual = texto.find('=', igual + 1)) {
    size_t fin = igual;
    while (fin > 0 && htmlparser::es_blanco_de_tag(texto[fin - 1])) --fin;
    for (std::string_view nombre :
         {"title", "aria-label", "aria-description", "aria-roledescription", "aria-placeholder"})
      if (fin >= nombre.size() &&
          nombre_es(texto.substr(fin - nombre.size(), nombre.size()), nombre))
        return true;
  }
  return false;
}

/* Elements that give a text by an attribute other than title and ARIA's. */
constexpr std::string_view kConTextosPropios[] = {
    "IMG", "AREA", "INPUT", "TEXTAREA", "TABLE", "OPTION", "OPTGROUP", "TRACK", "TH"};

bool tiene_visible(std::string_view valor) {
  for (char c : valor)
    if (!htmlparser::es_blanco(c)) return true;
  return false;
}

}  // namespace

size_t lenguaweb_textos_de_tag(const tag_leido &tag, segmentacion_t segmentacion,
                               texto_de_tag textos[kMaxTextosDeTag]) {
  if (segmentacion != SEGMENTACION_BLOQUES) return lenguaweb_texto_de_tag(tag, &textos[0]) ? 1 : 0;
  const std::string_view t = tag.texto;
  if (t.size() < 2 || !htmlparser::es_letra_ascii(t[1])) return 0; /* no end tag, comment ... */
  if (t.find('=') == htmlparser::kNoEsta) return 0;                /* most tags: no value at all */
  if (nombre_es(tag.nombre_legado, "META"))
    return lenguaweb_procesa_meta(t, &textos[0]) || lenguaweb_procesa_meta_compartida(t, &textos[0])
               ? 1
               : 0;

  const htmlparser::texto_acotado<char> leido = htmlparser::acotado(t);
  const size_t fin_nombre = htmlparser::fin_de_nombre_de_tag(leido, 0);
  const std::string_view elemento = t.substr(1, fin_nombre - 1);
  // Most tags hold none of the attributes looked for: they are told apart without reading
  // their attributes.
  bool propios = false;
  for (std::string_view e : kConTextosPropios) propios = propios || nombre_es(elemento, e);
  if (!propios && !nombra_titulo_o_etiqueta(t)) return 0;
  htmlparser::atributo_html atributos[kMaxAtributos];
  size_t n = 0;
  for (size_t i = fin_nombre;
       n < kMaxAtributos && htmlparser::lee_atributo(leido, i, atributos[n]);) {
    const htmlparser::atributo_html &a = atributos[n++];
    if (a.valor.entre_comillas && a.valor.fin == htmlparser::kNoEsta) break;
  }
  const auto nombre_de = [&](size_t k) {
    return t.substr(atributos[k].nombre, atributos[k].fin_nombre - atributos[k].nombre);
  };
  std::string_view tipo_input;
  if (nombre_es(elemento, "INPUT"))
    for (size_t k = 0; k < n; ++k)
      if (nombre_es(nombre_de(k), "TYPE")) {
        const htmlparser::valor_html &v = atributos[k].valor;
        if (v.fin != htmlparser::kNoEsta) tipo_input = t.substr(v.inicio, v.fin - v.inicio);
        break;
      }

  size_t dados = 0;
  for (size_t k = 0; k < n && dados < kMaxTextosDeTag; ++k) {
    const htmlparser::valor_html &v = atributos[k].valor;
    if (!v.tras_igual || v.fin == htmlparser::kNoEsta ||
        !tiene_visible(t.substr(v.inicio, v.fin - v.inicio)))
      continue;
    const int tipo = tipo_de_atributo(elemento, nombre_de(k), tipo_input);
    if (tipo < 0) continue;
    bool repetido = false;
    for (size_t j = 0; j < k && !repetido; ++j) repetido = nombre_es(nombre_de(j), nombre_de(k));
    if (repetido) continue;
    texto_de_tag &texto = textos[dados++];
    texto.tipo = static_cast<i_tipo_texto_t>(tipo);
    texto.inicio = static_cast<uint32_t>(v.inicio);
    texto.fin = static_cast<uint32_t>(v.fin);
    texto.entre_comillas = v.entre_comillas;
    texto.tras_igual = v.tras_igual;
    texto.comilla = v.comilla;
    texto.forma_de_siempre = false;
  }
  return dados;
}
