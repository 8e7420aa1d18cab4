// catalogo.h - one PO file for a whole folder of pages: each text once, with every page
// and line where it stands, one translation serving them all.
#ifndef HOST_CATALOGO_H
#define HOST_CATALOGO_H

#include "argumentos.h"

// Whether the run takes a folder of pages with one PO file: extract with an -o that ends
// in ".po" or ".pot", merge and update with a PO file (not a folder of them).
bool catalogo_es(const Orden &orden);

// extract or update of a folder's catalogue: every page read (on -j threads), their
// entries joined in the order of the pages and written to -o, a template for extract
// (an existing catalogue that holds translations is updated instead, but with --force),
// msgmerge's work on the old catalogue for update. Returns the exit status, having
// written one summary line and a line for each page that failed on standard error.
int catalogo_escribe(const Orden &orden);

#endif
