/* atributos_visibles.cpp - the texts a reader sees in a tag's attributes, by segmentation. */
#include "lenguaweb/atributos_visibles.h"

#include <string_view>
#include <vector>

namespace {

using htmlparser::nombre_es;

/* The attributes of one tag looked at; a tag with more is read no further. */
constexpr size_t kMaxAtributos = 64;

/* The names of the attributes that give a text on any element ("title", ARIA's). */
const std::vector<std::string_view> &de_cualquier_elemento() {
  static const std::vector<std::string_view> nombres = [] {
    std::vector<std::string_view> r;
    for (const htmlparser::atributo_traducible &a : htmlparser::lista_de_atributos_traducibles())
      if (a.elemento == "*") r.push_back(a.nombre);
    return r;
  }();
  return nombres;
}

/* Whether a name that ends right before blanks and an '=' of the tag text is one of those
 * of any element, letter case ignored: only the '=' are looked at, most tags have one or
 * two. */
bool nombra_de_cualquier_elemento(std::string_view texto) {
  for (size_t igual = texto.find('='); igual != htmlparser::kNoEsta;
       igual = texto.find('=', igual + 1)) {
    size_t fin = igual;
    while (fin > 0 && htmlparser::es_blanco_de_tag(texto[fin - 1])) --fin;
    for (std::string_view nombre : de_cualquier_elemento())
      if (fin >= nombre.size() &&
          nombre_es(texto.substr(fin - nombre.size(), nombre.size()), nombre))
        return true;
  }
  return false;
}

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
  if (nombre_es(tag.nombre, "META"))
    return lenguaweb_procesa_meta(t, &textos[0]) || lenguaweb_procesa_meta_compartida(t, &textos[0])
               ? 1
               : 0;

  const htmlparser::texto_acotado<char> leido = htmlparser::acotado(t);
  // Most tags hold none of the attributes looked for: they are told apart without reading
  // their attributes.
  const bool propios = tag.elemento != nullptr && tag.elemento->atributos_propios;
  if (!propios && !nombra_de_cualquier_elemento(t)) return 0;
  htmlparser::atributo_html atributos[kMaxAtributos];
  size_t n = 0;
  for (size_t i = htmlparser::fin_de_nombre_de_tag(leido, 0);
       n < kMaxAtributos && htmlparser::lee_atributo(leido, i, atributos[n]);) {
    const htmlparser::atributo_html &a = atributos[n++];
    if (a.valor.entre_comillas && a.valor.fin == htmlparser::kNoEsta) break;
  }
  const auto nombre_de = [&](size_t k) {
    return t.substr(atributos[k].nombre, atributos[k].fin_nombre - atributos[k].nombre);
  };
  // The value of the tag's first attribute of a name, "" when it has none or no value.
  const auto valor_de = [&](std::string_view nombre) {
    for (size_t k = 0; k < n; ++k)
      if (nombre_es(nombre_de(k), nombre)) {
        const htmlparser::valor_html &v = atributos[k].valor;
        return v.fin == htmlparser::kNoEsta ? std::string_view()
                                            : t.substr(v.inicio, v.fin - v.inicio);
      }
    return std::string_view();
  };
  // The kind of the text that attribute k gives, or -1.
  const auto tipo_de = [&](size_t k) {
    for (const htmlparser::atributo_traducible &a : htmlparser::lista_de_atributos_traducibles())
      if ((a.elemento == "*" || nombre_es(tag.nombre, a.elemento)) &&
          nombre_es(nombre_de(k), a.nombre) &&
          (a.clave.empty() || nombre_es(valor_de(a.clave), a.valor)))
        return static_cast<int>(a.tipo);
    return -1;
  };

  size_t dados = 0;
  for (size_t k = 0; k < n && dados < kMaxTextosDeTag; ++k) {
    const htmlparser::valor_html &v = atributos[k].valor;
    if (!v.tras_igual || v.fin == htmlparser::kNoEsta ||
        !tiene_visible(t.substr(v.inicio, v.fin - v.inicio)))
      continue;
    const int tipo = tipo_de(k);
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
