/* comprueba_link_externo.cpp - the external link finder against a plain model of its rules. */
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/comprobaciones.h"
#include "lenguaweb.h"

namespace {

constexpr size_t kNoEsta = std::string_view::npos;

/* The value of the first " src", else of the first " href"; none when neither is there
 * or the value has no end. */
std::optional<std::string_view> modelo(std::string_view t) {
  const size_t src = t.find(" src");
  size_t p = src != kNoEsta ? src + 4 : t.find(" href");
  if (p == kNoEsta) return std::nullopt;
  if (src == kNoEsta) p += 5;
  p = std::min(t.find_first_not_of(" \t\n\r", p), t.size());
  if (p < t.size() && t[p] == '=') ++p;
  size_t fin = kNoEsta;
  if (p < t.size() && t[p] == '"') {
    fin = t.find('"', ++p);
  } else {
    // The first of these that occurs at all ends the value, however far it stands.
    for (std::string_view final : {" ", ">", "13", "10"})
      if ((fin = t.find(final, p)) != kNoEsta) break;
  }
  if (fin == kNoEsta) return std::nullopt;
  std::string_view valor = t.substr(p, fin - p);
  for (std::string_view prefijo : {"http://", "https://", "ftp://"})
    if (valor.starts_with(prefijo)) valor.remove_prefix(prefijo.size());
  return valor;
}

}  // namespace

std::string fuzz_comprueba_link_externo(const uint8_t *datos, size_t largo) {
  return fuzz_en_sesion({}, [&](auto &) {
    const std::string texto = fuzz_texto(datos, largo);
    char *link = htmlparser_obtener_cualquier_link_externo(texto.c_str());
    const std::string visto = link != nullptr ? fuzz_muestra(link) : "none";
    const std::optional<std::string_view> esperado = modelo(texto);
    const bool igual = esperado ? link != nullptr && *esperado == link : link == nullptr;
    cad_destruye(&link);
    return igual
               ? ""
               : "the link is " + visto + ", not " + (esperado ? fuzz_muestra(*esperado) : "none");
  });
}
