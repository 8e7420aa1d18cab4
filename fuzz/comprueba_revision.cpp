/* comprueba_revision.cpp - the command's check of a translated page against its source. */
#include <algorithm>
#include <string>
#include <string_view>

#include "comprobaciones.h"
#include "revision.h"

/* The input: a page up to its first NUL, then another (the page itself when there is no
 * NUL). The page checked against itself shows no fault, only texts left untranslated;
 * checked against the other, every finding stands at a line the other page has. */
std::string fuzz_comprueba_revision(const uint8_t *datos, size_t largo) {
  const std::string_view bytes(reinterpret_cast<const char *>(datos), largo);
  const size_t nul = bytes.find('\0');
  const std::string_view pagina = bytes.substr(0, nul);
  const std::string_view otra = nul == std::string_view::npos ? pagina : bytes.substr(nul + 1);
  for (const Hallazgo &h : revision_compara(pagina, pagina, 0x0409, 0x0409))
    if (!h.sin_traducir)
      return "the page against itself: line " + std::to_string(h.linea) + ": " + h.texto;
  const size_t lineas = 1 + static_cast<size_t>(std::count(otra.begin(), otra.end(), '\n'));
  for (const Hallazgo &h : revision_compara(pagina, otra, 0x0409, 0x0419))
    if (h.linea < 1 || h.linea > lineas)
      return "a finding at line " + std::to_string(h.linea) + " of a page of " +
             std::to_string(lineas) + ": " + h.texto;
  return "";
}
