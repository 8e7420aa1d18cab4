/* reglas_compartidas.cpp - the command's reading of HTML, as the library's rules read. */
#include "htmlparser/reglas_compartidas.h"

#include <algorithm>

#include "htmlparser/elementos.h"
#include "htmlparser/reglas_html.h"

namespace reglas_compartidas {

namespace {

/* Runs lee over the library's reading of t, with what the reading remembers of t kept
 * in t for the next call. */
template <class Lectura>
auto con_reglas(const texto_html &t, Lectura &&lee) {
  const htmlparser::texto_acotado<char> acotado{t.vista, {t.sin_comilla[0], t.sin_comilla[1]}};
  const auto leido = lee(acotado);
  t.sin_comilla[0] = acotado.sin_comilla[0];
  t.sin_comilla[1] = acotado.sin_comilla[1];
  return leido;
}

}  // namespace

bool tiene_atributos(const texto_html &t, size_t inicio) {
  return con_reglas(t, [&](const auto &a) { return htmlparser::tiene_atributos(a, inicio); });
}

size_t fin_de_nombre_de_tag(const texto_html &t, size_t inicio) {
  return con_reglas(t, [&](const auto &a) { return htmlparser::fin_de_nombre_de_tag(a, inicio); });
}

bool lee_atributo(const texto_html &t, size_t &i, atributo_leido &a) {
  htmlparser::atributo_html leido;
  if (!con_reglas(t,
                  [&](const auto &acotado) { return htmlparser::lee_atributo(acotado, i, leido); }))
    return false;
  a = {leido.nombre, leido.fin_nombre, leido.valor.inicio, leido.valor.fin};
  return true;
}

size_t busca_cierre(const texto_html &t, size_t inicio) {
  return con_reglas(t, [&](const auto &a) { return htmlparser::busca_cierre(a, inicio); });
}

size_t cierre_de_tag_o_comentario(const texto_html &t, size_t inicio) {
  return con_reglas(t, [&](const auto &a) { return htmlparser::lee_fin_de_tag(a, inicio).cierre; });
}

std::string_view nombre_legado_de_tag(std::string_view tras_el_menor) {
  return htmlparser::nombre_legado_de_tag(tras_el_menor);
}

bool nombre_es(std::string_view nombre, std::string_view buscado) {
  return htmlparser::nombre_es(nombre, buscado);
}

bool es_letra_ascii(char c) {
  return htmlparser::es_letra_ascii(c);
}

bool es_elemento_vacio(std::string_view nombre) {
  return htmlparser::es_elemento_vacio(nombre);
}

bool es_elemento_de_frase(std::string_view nombre) {
  return htmlparser::busca_elemento_de_frase(nombre) != nullptr;
}

std::span<const std::string_view> tags_en_linea() {
  return htmlparser::kTagsEnLinea;
}

size_t largo_del_nombre_mas_largo() {
  static const size_t largo = [] {
    size_t n = 0;
    for (const htmlparser::elemento_html &e : htmlparser::lista_de_elementos())
      n = std::max(n, e.nombre.size());
    for (std::string_view tag : htmlparser::kTagsEnLinea) n = std::max(n, tag.size());
    return n;
  }();
  return largo;
}

size_t largo_de_referencia(std::string_view t) {
  return htmlparser::largo_de_referencia(t);
}

}  // namespace reglas_compartidas
