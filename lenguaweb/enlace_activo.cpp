/* enlace_activo.cpp - whether a link runs code when a browser follows it. */
#include "lenguaweb/enlace_activo.h"

#include <algorithm>
#include <string>
#include <utility>

#include "htmlparser/reglas_html.h"

bool lenguaweb_es_enlace_activo(std::string_view enlace) {
  static constexpr std::string_view kActivos[] = {"javascript", "vbscript", "data"};
  constexpr size_t kMasLargo = 10; /* "javascript" */
  // The scheme as a browser reads it, one character at a time: character references
  // decoded (a number with or without its ';'; of the named ones only these three give
  // a character that can be part of these schemes or be dropped); tabs and line breaks
  // dropped anywhere; blanks and control characters dropped before the first character.
  // Any other character (an '&' that is no reference among them) ends the search: no
  // scheme holds it.
  static constexpr std::pair<std::string_view, char> kNombradas[] = {
      {"&colon;", ':'}, {"&Tab;", '\t'}, {"&NewLine;", '\n'}};
  std::string esquema;
  for (size_t i = 0; i < enlace.size() && esquema.size() <= kMasLargo;) {
    uint32_t c = static_cast<unsigned char>(enlace[i++]);
    if (c == '&' && i < enlace.size() && enlace[i] == '#') {
      const bool hex = i + 1 < enlace.size() && (enlace[i + 1] == 'x' || enlace[i + 1] == 'X');
      size_t p = i + (hex ? 2 : 1);
      uint32_t numero = 0;
      const size_t inicio = p;
      for (; p < enlace.size(); ++p) {
        const char d = htmlparser::a_mayuscula(enlace[p]);
        const uint32_t cifra = d >= '0' && d <= '9'          ? d - '0'
                               : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                             : 99u;
        if (cifra == 99u) break;
        numero = std::min<uint32_t>(numero * (hex ? 16 : 10) + cifra, 0x110000);
      }
      if (p > inicio) {
        c = numero == 0 ? 0xFFFD : numero;
        i = p < enlace.size() && enlace[p] == ';' ? p + 1 : p;
      }
    } else if (c == '&') {
      for (const auto &[nombre, caracter] : kNombradas)
        if (enlace.substr(i - 1, nombre.size()) == nombre) {
          c = static_cast<unsigned char>(caracter);
          i += nombre.size() - 1;
          break;
        }
    }
    if (c == '\t' || c == '\n' || c == '\r' || (esquema.empty() && c <= 0x20)) continue;
    if (c == ':') {
      for (std::string_view activo : kActivos)
        if (esquema == activo) return true;
      return false;
    }
    const bool letra = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letra) return false;
    esquema.push_back(static_cast<char>(c | 0x20));
  }
  return false;
}
