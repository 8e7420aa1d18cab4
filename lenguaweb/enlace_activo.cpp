/* enlace_activo.cpp - whether a link runs code when a browser follows it. */
#include "lenguaweb/enlace_activo.h"

#include <algorithm>
#include <string>

#include "htmlparser/referencias.h"

bool lenguaweb_es_enlace_activo(std::string_view enlace) {
  static constexpr std::string_view kActivos[] = {"javascript", "vbscript", "data"};
  constexpr size_t kMasLargo = 10; /* "javascript" */
  // The scheme as a browser reads it, one character at a time: character references read
  // as in any attribute value; tabs and line breaks dropped anywhere; blanks and control
  // characters dropped before the first character. Any other character ends the search:
  // no scheme holds it.
  std::string esquema;
  // 1 when the scheme is one of kActivos, 0 when it is another, -1 to read on.
  const auto lee = [&](char32_t c) {
    if (c == '\t' || c == '\n' || c == '\r' || (esquema.empty() && c <= 0x20)) return -1;
    if (c == ':')
      return std::find(std::begin(kActivos), std::end(kActivos), esquema) != std::end(kActivos) ? 1
                                                                                                : 0;
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return 0;
    esquema.push_back(static_cast<char>(c | 0x20));
    return -1;
  };
  for (size_t i = 0; i < enlace.size() && esquema.size() <= kMasLargo;) {
    const htmlparser::referencia_html ref = enlace[i] == '&'
                                                ? htmlparser::lee_referencia(enlace.substr(i), true)
                                                : htmlparser::referencia_html{};
    if (ref.largo == 0) {
      if (const int r = lee(static_cast<unsigned char>(enlace[i++])); r >= 0) return r == 1;
      continue;
    }
    i += ref.largo;
    for (const char32_t c : ref.puntos)
      if (c != 0)
        if (const int r = lee(c); r >= 0) return r == 1;
  }
  return false;
}
