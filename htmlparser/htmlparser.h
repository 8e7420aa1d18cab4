/* htmlparser.h - the tag scanner's internal readers, shared with the link finder. */
#ifndef HTMLPARSER_HTMLPARSER_H
#define HTMLPARSER_HTMLPARSER_H

#include "lenguaweb.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Each reader takes a text and the address of a position inside it (at most at its
 * terminating NUL) and moves the position past one token, as htmlparser/reglas_html.h
 * reads tokens; none allocates.
 * salta_tag: from a '<' past the '>' that closes the tag (for "<!--", the '>' of the
 * first "-->" from the '<' on); with no end, to the end of the text, reported.
 * salta_blancos: past tabs, line feeds, carriage returns and spaces.
 * salta_texto: to the next '<' after the position, or the end of the text. */
void htmlparser_salta_tag(const char *texto, uint32_t *posicion);
void htmlparser_salta_blancos(const char *texto, uint32_t *posicion);
void htmlparser_salta_texto(const char *texto, uint32_t *posicion);
void htmlparser_salta_tag_u(const char16_t *texto, uint32_t *posicion);
void htmlparser_salta_blancos_u(const char16_t *texto, uint32_t *posicion);
void htmlparser_salta_texto_u(const char16_t *texto, uint32_t *posicion);

#ifdef __cplusplus
}
#endif

#endif
