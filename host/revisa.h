// revisa.h - the check subcommand: a translated page, or a translated folder, against its
// source.
#ifndef HOST_REVISA_H
#define HOST_REVISA_H

#include "argumentos.h"

// Compares orden.pagina (a page or a folder) with orden.traducida (the translated page, or
// the folder of translated pages): one line per finding on standard output, "PAGE:LINE:
// what", in page order; one summary line on standard error. Returns kBien when nothing is
// at fault (a text left untranslated is listed, and is a fault only with --complete),
// kIncompleta when something is, kError when a page cannot be read or the output written.
int revisa_ejecuta(const Orden &orden);

#endif
