/* link_externo.cpp - finds the src or href link of a tag text. */
#include <cstring>
#include <initializer_list>

#include "lenguaweb.h"
#include "htmlparser/reglas_html.h"
#include "privado/informe.h"

namespace {

// Start of the value of the first " src" attribute, else of the first " href"; null when
// neither name is in the text.
const char *inicio_del_atributo(const char *texto) {
  if (const char *src = std::strstr(texto, " src")) return src + 4;
  if (const char *href = std::strstr(texto, " href")) return href + 5;
  return nullptr;
}

// An unquoted value with neither a space nor a '>' after it ends before the first "13"
// or, failing that, "10": the two-digit texts, not a carriage return and a line feed.
// Odd as it is, hosts have always received links cut so and stored pages and link
// tables hold them: it stays.
const char *fin_por_cifras(const char *valor) {
  if (const char *fin = std::strstr(valor, "13")) return fin;
  return std::strstr(valor, "10");
}

}  // namespace

extern "C" char *htmlparser_obtener_cualquier_link_externo(const char *texto) noexcept {
  if (texto == nullptr) {
    informa_en(kModuloHtmlparser, "(texto) != NULL");
    return nullptr;
  }
  const char *atributo = inicio_del_atributo(texto);
  if (atributo == nullptr) return nullptr;

  // This finder keeps the reading hosts have always had from it, not a browser's: blanks
  // may stand before the '=', not after it; only a double quote opens a quoted value; an
  // unquoted value runs to the next space, else to the next '>'.
  const htmlparser::texto_con_nul<char> resto{atributo};
  size_t i = htmlparser::fin_de_blancos(resto, 0);
  if (resto.en(i) == '=') ++i;
  const char *inicio = atributo + i;
  const char *fin;
  if (resto.en(i) == '"') {
    fin = std::strchr(++inicio, '"');
  } else {
    fin = std::strchr(inicio, ' ');
    if (fin == nullptr) fin = std::strchr(inicio, '>');
    if (fin == nullptr) fin = fin_por_cifras(inicio);
  }
  if (fin == nullptr) return nullptr;

  // Copied whole, however long the value is.
  char *link = cad_prefijo(inicio, static_cast<uint32_t>(fin - inicio));
  // Each test looks at what the one before left, so "http://ftp://x" loses both.
  for (const char *protocolo : {"http://", "https://", "ftp://"})
    if (cad_empieza_por(link, protocolo) == CIERTO) cad_quita_prefijo(&link, protocolo);
  return link;
}
