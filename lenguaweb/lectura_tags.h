/* lectura_tags.h - reading a tag as page segmentation reads it, shared with the rebuild. */
#ifndef LENGUAWEB_LECTURA_TAGS_H
#define LENGUAWEB_LECTURA_TAGS_H

#include <string_view>

#include "lenguaweb/documento.h"

/* The element whose content is not text: inside it no body text begins. */
enum class elemento_crudo { ninguno, script, style };

/* One tag or comment of a page or a piece. Views point into the text that was read
 * and stay valid while it does. */
struct tag_leido {
  uint32_t inicio;         /* offset of the '<' */
  uint32_t fin;            /* one past the tag's last byte */
  std::string_view nombre; /* after '<' up to the first space or the closing '>' */
  std::string_view texto;  /* from '<' up to, not including, the closing '>' */
};

/* Reads the tag whose '<' stands at offset inicio of texto, ended as
 * htmlparser::lee_fin_de_tag ends it; with no end it runs to the end of texto,
 * reported as "(fin_tag) != NULL" when informa is set. Inside a SCRIPT or STYLE element
 * a tag never swallows the element's end tag (htmlparser::busca_fin_de_elemento). */
tag_leido lenguaweb_lee_tag_en(std::string_view texto, uint32_t inicio, elemento_crudo crudo,
                               bool informa);

/* Moves crudo on past a tag of this name: SCRIPT and STYLE open their element, their
 * end tags close it; inside one of them the other's tags change nothing. An end tag
 * with no element open is reported as "*procesar_texto == FALSO" when informa is set.
 * Here the name ends at any blank, not only at a space: a "<SCRIPT" followed by a line
 * break is still a script, whose code must never be taken for text. */
void lenguaweb_cambia_elemento_crudo(elemento_crudo &crudo, std::string_view nombre, bool informa);

#endif
