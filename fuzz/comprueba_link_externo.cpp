/* comprueba_link_externo.cpp - the external link finder against a plain model of its rules. */
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/comprobaciones.h"
#include "fuzz/sesion.h"
#include "lenguaweb.h"

namespace {

constexpr size_t kNoEsta = std::string_view::npos;

/* The value of the first " src", else of the first " href"; none when neither is there
 * or the value has no end. */
std::optional<std::string_view> modelo(std::string_view t) {
  size_t p = t.find(" src");
  if (p != kNoEsta) {
    p += 4;
  } else {
    p = t.find(" href");
    if (p == kNoEsta) return std::nullopt;
    p += 5;
  }
  while (p < t.size() && (t[p] == ' ' || t[p] == '\t' || t[p] == '\n' || t[p] == '\r')) ++p;
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
  std::string fallo;
  {
    fuzz_sesion sesion;
    const std::string_view bytes(reinterpret_cast<const char *>(datos), largo);
    const std::string texto(bytes.substr(0, bytes.find('\0')));
    char *link = htmlparser_obtener_cualquier_link_externo(texto.c_str());
    const std::optional<std::string_view> esperado = modelo(texto);
    if (!esperado && link != nullptr)
      fallo = "a link where there is none: " + fuzz_muestra(link);
    else if (esperado && link == nullptr)
      fallo = "no link where there is " + fuzz_muestra(*esperado);
    else if (esperado && *esperado != link)
      fallo = "the link is " + fuzz_muestra(link) + ", not " + fuzz_muestra(*esperado);
    cad_destruye(&link);
    if (fallo.empty()) fallo = fuzz_informe_inesperado(sesion, {});
    if (fallo.empty()) fallo = fuzz_fugas(sesion);
  }
  return fallo;
}
