// modelo.cpp - what a page should look like after each step, worked out apart from the library.
#include "modelo.h"
#include "privado/ascii.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace sitios {
namespace {

bool empieza_sin_mayusculas(std::string_view s, std::string_view prefijo) {
  return s.size() >= prefijo.size() &&
         std::equal(prefijo.begin(), prefijo.end(), s.begin(),
                    [](char a, char b) { return a == a_minuscula(b); });
}

}  // namespace

PartesEnlace enlace_divide(std::string_view enlace) {
  PartesEnlace partes;
  std::string_view resto = enlace;
  constexpr std::string_view kHttp = "http://";
  if (empieza_sin_mayusculas(enlace, kHttp)) {
    resto.remove_prefix(kHttp.size());
    const size_t barra = resto.find('/');
    partes.dominio.assign(resto.substr(0, barra));
    resto.remove_prefix(partes.dominio.size());
  }
  if (resto.empty()) {
    partes.ruta = "/";
    return partes;
  }
  // The last '/' that is not the first character splits path from last component.
  const size_t ultima = resto.size() > 1 ? resto.find_last_of('/') : std::string_view::npos;
  const size_t p = ultima != std::string_view::npos && ultima > 0 ? ultima : 0;
  const bool hay_punto = resto.find('.', p + 1) != std::string_view::npos;
  if (resto[0] == '/' && !hay_punto) {
    partes.ruta.assign(resto);
  } else if (resto[0] != '/' && p == 0) {
    partes.nombre_fichero.assign(resto);
  } else {
    partes.ruta.assign(resto.substr(0, p + 1));
    partes.nombre_fichero.assign(resto.substr(p + 1));
  }
  if (partes.ruta.size() > 1 && partes.ruta.back() == '/') partes.ruta.pop_back();
  return partes;
}

std::string enlace_identificador(const PartesEnlace &partes) {
  std::string id = partes.dominio;
  const bool raiz_con_dominio = partes.ruta == "/" && !partes.dominio.empty();
  if (!partes.ruta.empty() && !raiz_con_dominio) id += "|" + partes.ruta;
  if (!partes.nombre_fichero.empty()) id += "|" + partes.nombre_fichero;
  return id;
}

std::string enlace_reconstruye(const PartesEnlace &partes) {
  std::string enlace = partes.dominio.empty() ? "" : "http://" + partes.dominio;
  enlace += partes.ruta;
  if (!partes.ruta.empty() && partes.ruta != "/") enlace += "/";
  return enlace + partes.nombre_fichero;
}

std::string valor_escrito(std::string_view valor, bool entre_comillas) {
  // "&name;", "&#digits;" or "&#xhex;" at i.
  const auto referencia = [valor](size_t i) {
    const std::string_view resto = valor.substr(i + 1);
    const bool numero = resto.starts_with('#');
    const bool hex = numero && resto.size() > 1 && (resto[1] == 'x' || resto[1] == 'X');
    const size_t desde = hex ? 2 : numero ? 1 : 0;
    size_t n = desde;
    while (n < resto.size() && (hex      ? std::isxdigit(static_cast<unsigned char>(resto[n]))
                                : numero ? std::isdigit(static_cast<unsigned char>(resto[n]))
                                         : std::isalnum(static_cast<unsigned char>(resto[n]))))
      ++n;
    const bool empieza =
        n > desde && (numero || std::isalpha(static_cast<unsigned char>(resto[desde])));
    return empieza && n < resto.size() && resto[n] == ';';
  };
  std::string r = entre_comillas ? "" : "\"";
  for (size_t i = 0; i < valor.size(); ++i) {
    const char c = valor[i];
    if (c == '"')
      r += "&quot;";
    else if (c == '\'')
      r += "&#39;";
    else if (c == '<')
      r += "&lt;";
    else if (c == '>')
      r += "&gt;";
    else if (c == '&' && !referencia(i))
      r += "&amp;";
    else if (valor.substr(i, 2) == "\xC2\xA0")
      r += "&nbsp;", ++i;
    else
      r.push_back(c);
  }
  return entre_comillas ? r : r + "\"";
}

}  // namespace sitios
