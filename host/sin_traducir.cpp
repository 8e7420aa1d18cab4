// sin_traducir.cpp - the parts of a text that its page marks as not to be translated.
#include "sin_traducir.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "htmlparser/reglas_compartidas.h"
#include "privado/ascii.h"
#include "privado/blancos.h"
#include "marcado.h"

namespace {

// Whether a start tag says its element is not translated: translate="no" (any letter
// case) or, without a translate attribute, the class notranslate.
bool no_se_traduce(const TagDeTexto &tag) {
  if (tag.clase != TagDeTexto::Clase::apertura) return false;
  for (const auto &[nombre, valor] : tag.atributos)
    if (nombre == "translate") return en_minusculas(valor) == "no";
  for (const auto &[nombre, valor] : tag.atributos) {
    if (nombre != "class") continue;
    for (size_t i = valor.find("notranslate"); i != std::string::npos;
         i = valor.find("notranslate", i + 1)) {
      const size_t fin = i + std::string_view("notranslate").size();
      if ((i == 0 || es_blanco(valor[i - 1])) && (fin == valor.size() || es_blanco(valor[fin])))
        return true;
    }
  }
  return false;
}

// The attributes that no_se_traduce reads.
bool dice_si_se_traduce(std::string_view nombre) {
  return nombre == "translate" || nombre == "class";
}

}  // namespace

std::vector<std::string_view> sin_traducir_partes(std::string_view texto) {
  std::vector<std::string_view> partes;
  size_t desde = 0, inicio = 0, abiertos = 0;
  std::string nombre;  // of the outer element not to be translated; empty outside one
  for (TagDeTexto tag; marcado_siguiente_tag(texto, &desde, &tag, dice_si_se_traduce);) {
    const size_t en = static_cast<size_t>(tag.escrito.data() - texto.data());
    if (nombre.empty()) {
      if (!no_se_traduce(tag)) continue;
      if (reglas_compartidas::es_elemento_vacio(tag.nombre)) {
        partes.push_back(tag.escrito);
        continue;
      }
      nombre = tag.nombre, inicio = en, abiertos = 1;
    } else if (tag.nombre == nombre && tag.clase == TagDeTexto::Clase::apertura) {
      ++abiertos;
    } else if (tag.nombre == nombre && tag.clase == TagDeTexto::Clase::cierre && --abiertos == 0) {
      partes.push_back(texto.substr(inicio, desde - inicio));
      nombre.clear();
    }
  }
  if (!nombre.empty()) partes.push_back(texto.substr(inicio));
  return partes;
}

std::string sin_traducir_compara(std::string_view origen, std::string_view traduccion) {
  const std::vector<std::string_view> de_origen = sin_traducir_partes(origen);
  if (de_origen.empty()) return {};  // most texts: the translation need not be read
  // How often the translation has each part, spent in the source's order: the first part
  // the translation lacks is named.
  std::unordered_map<std::string_view, size_t> en_traduccion;
  for (std::string_view parte : sin_traducir_partes(traduccion)) ++en_traduccion[parte];
  const auto falta = std::find_if(de_origen.begin(), de_origen.end(), [&](std::string_view p) {
    const auto veces = en_traduccion.find(p);
    if (veces == en_traduccion.end() || veces->second == 0) return true;
    --veces->second;
    return false;
  });
  if (falta == de_origen.end()) return {};
  size_t desde = 0;
  TagDeTexto tag;
  marcado_siguiente_tag(*falta, &desde, &tag);
  return "it changes " + std::string(tag.escrito) + "...</" + tag.nombre +
         ">, which is not to be translated";
}
