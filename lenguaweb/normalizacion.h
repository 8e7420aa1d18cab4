/* normalizacion.h - every text taken from a page: code page, blanks and entities. */
#ifndef LENGUAWEB_NORMALIZACION_H
#define LENGUAWEB_NORMALIZACION_H

#include <array>
#include <string>
#include <string_view>

#include "htmlparser/reglas_html.h"
#include "lenguaweb/documento.h"

/* What each decoded entity (htmlparser::kEntidades, at the same place) becomes in the
 * code page of one language: made once per page, not once per text. */
struct entidades_idioma {
  uint32_t idioma;
  std::array<std::string, htmlparser::kNumEntidades> reemplazo;
};

/* Fills the table for idioma. Each entity becomes its character in the language's
 * code page: for Western pages exactly the Windows-1252 byte (0xE1 for "&aacute;"),
 * elsewhere the code page's own byte(s), or a character reference where the code page
 * lacks the character, so that no entity turns into another letter. */
void lenguaweb_prepara_entidades(uint32_t idioma, entidades_idioma *entidades);

/* New text: the UTF-8 stretch of the page converted to the code page of the table's
 * language, line breaks and tabs made spaces, runs of spaces collapsed (five, then
 * four, three and two spaces into one, each step over the whole text), and the
 * entities of the table decoded. An '&' left afterwards is reported as
 * "strchr(texto, '&')==NULL"; the text is returned all the same. */
char *lenguaweb_normaliza_texto(std::string_view texto_utf8, const entidades_idioma &entidades);

/* Takes over *texto (a UTF-8 text from the page; the variable is left null), normalises
 * it for idioma and appends it to textos, and tipo to tipos. */
void lenguaweb_anade_texto(lista_cad_t *textos, lista_num_t *tipos, char **texto,
                           i_tipo_texto_t tipo, uint32_t idioma);

#endif
