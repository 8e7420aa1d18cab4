/* no_traducir.cpp - what a page marks as not to be translated. */
#include "lenguaweb/no_traducir.h"

#include <algorithm>

#include "htmlparser/reglas_html.h"

namespace {

/* Whether the tag holds "translate" in any letter case: most tags do not, and are read no
 * further. */
bool nombra_traduccion(std::string_view tag) {
  constexpr std::string_view kPalabra = "translate";
  const auto fin = std::search(tag.begin(), tag.end(), kPalabra.begin(), kPalabra.end(),
                               [](char a, char b) { return a_minuscula(a) == b; });
  return fin != tag.end();
}

/* Whether a class list holds the class notranslate. */
bool tiene_clase_notranslate(std::string_view clases) {
  size_t i = 0;
  while (i < clases.size()) {
    while (i < clases.size() && htmlparser::es_blanco(clases[i])) ++i;
    size_t fin = i;
    while (fin < clases.size() && !htmlparser::es_blanco(clases[fin])) ++fin;
    if (clases.substr(i, fin - i) == "notranslate") return true;
    i = fin;
  }
  return false;
}

}  // namespace

bool lenguaweb_se_traduce(const estado_de_traduccion &estado) {
  return estado.ultimo() == nullptr || *estado.ultimo();
}

bool lenguaweb_lee_tag_de_traduccion(estado_de_traduccion &estado, std::string_view tag) {
  const bool hasta_aqui = lenguaweb_se_traduce(estado);
  if (tag.size() < 3 || tag[0] != '<') return hasta_aqui;
  const bool cierra = tag[1] == '/';
  if (!cierra && (!htmlparser::es_letra_ascii(tag[1]) || !nombra_traduccion(tag)))
    return hasta_aqui;
  if (cierra && estado.abiertos.empty()) return hasta_aqui;
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(tag);
  const size_t desde = cierra ? 2 : 1;
  const size_t fin_nombre = htmlparser::fin_de_nombre_de_tag(t, 0);
  const std::string nombre = en_minusculas(tag.substr(desde, fin_nombre - desde));
  if (cierra) return estado.cierra(nombre) ? lenguaweb_se_traduce(estado) : hasta_aqui;
  int dice = -1; /* what the tag says: 0 no, 1 yes, -1 nothing */
  bool por_clase = false;
  htmlparser::atributo_html a;
  for (size_t i = fin_nombre; htmlparser::lee_atributo(t, i, a);) {
    if (a.valor.fin == htmlparser::kNoEsta) break;
    const std::string_view nombre_atributo = tag.substr(a.nombre, a.fin_nombre - a.nombre);
    const std::string_view valor =
        a.valor.tras_igual ? tag.substr(a.valor.inicio, a.valor.fin - a.valor.inicio) : "";
    if (dice < 0 && htmlparser::nombre_es(nombre_atributo, "TRANSLATE"))
      dice = htmlparser::nombre_es(valor, "NO") ? 0 : 1;
    else if (htmlparser::nombre_es(nombre_atributo, "CLASS"))
      por_clase = por_clase || tiene_clase_notranslate(valor);
  }
  if (dice < 0 && por_clase) dice = 0;
  if (dice < 0) return hasta_aqui;
  if (!htmlparser::es_elemento_vacio(nombre)) estado.abre(nombre, dice == 1);
  return dice == 1;
}
