/* enlace_activo.h - whether a link runs code when a browser follows it. */
#ifndef LENGUAWEB_ENLACE_ACTIVO_H
#define LENGUAWEB_ENLACE_ACTIVO_H

#include <string_view>

/* Whether a browser that follows the link would run it: after its character references
 * are decoded, the blanks and control characters at its ends dropped and tabs and line
 * breaks anywhere dropped, as a browser reads a URL, its scheme is "javascript",
 * "vbscript" or "data" (letter case ignored). Such a link never moves between a page and
 * a link table. */
bool lenguaweb_es_enlace_activo(std::string_view enlace);

#endif
