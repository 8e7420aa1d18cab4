/* link_externo.cpp - finds the src or href link of a tag text. */
#include <cstring>
#include <initializer_list>

#include "htmlparser/htmlparser.h"

namespace {

// Start of the value of the first " src" attribute, else of the first " href"; null when
// neither name is in the text.
const char *inicio_del_atributo(const char *texto) {
  if (const char *src = std::strstr(texto, " src")) return src + 4;
  if (const char *href = std::strstr(texto, " href")) return href + 5;
  return nullptr;
}

// End of an unquoted value: the first occurrence of the first of these texts that occurs
// at all. The order is one of priority, not of nearness: a space further on wins over
// a nearer '>'.
const char *fin_sin_comillas(const char *valor) {
  if (const char *fin = std::strchr(valor, ' ')) return fin;
  if (const char *fin = std::strchr(valor, '>')) return fin;
  if (const char *fin = std::strstr(valor, "13")) return fin;
  return std::strstr(valor, "10");
}

}  // namespace

extern "C" char *htmlparser_obtener_cualquier_link_externo(const char *texto) {
  if (texto == nullptr) {
    informa_fallo_interno("(texto) != NULL", HTMLPARSER_MODULO, __LINE__);
    return nullptr;
  }
  const char *atributo = inicio_del_atributo(texto);
  if (atributo == nullptr) return nullptr;

  uint32_t desplazamiento = 0;
  htmlparser_salta_blancos(atributo, &desplazamiento);
  const char *valor = atributo + desplazamiento;
  // No blanks are skipped after the '='.
  if (*valor == '=') ++valor;

  const char *fin = nullptr;
  if (*valor == '"') {
    ++valor;
    fin = std::strchr(valor, '"');
  } else {
    fin = fin_sin_comillas(valor);
  }
  if (fin == nullptr) return nullptr;

  // Copied whole, however long the value is.
  char *link = cad_prefijo(valor, static_cast<uint32_t>(fin - valor));
  // Each test looks at what the one before left, so "http://ftp://x" loses both.
  for (const char *protocolo : {"http://", "https://", "ftp://"})
    if (cad_empieza_por(link, protocolo) == CIERTO) cad_quita_prefijo(&link, protocolo);
  return link;
}
