// mezcla.h - GNU gettext's msgmerge, run on a page's old PO file and its new template.
#ifndef HOST_MEZCLA_H
#define HOST_MEZCLA_H

#include <string>
#include <vector>

// Writes to salida ("-": standard output) the PO file that msgmerge makes of the old PO
// file viejo and the template plantilla (both only read): every entry of the template,
// with the translation of the same text in viejo, or, for a text that changed, the
// translation of the nearest one marked fuzzy (its old msgid kept as a previous string).
// A text that viejo does not translate takes the translation of the compendia (PO files,
// only read, as msgmerge's --compendium takes them). The output is written whole or not at all. On
// failure (msgmerge missing, or refusing viejo) returns false with the reason in *error. Safe from
// any thread.
bool mezcla_ejecuta_msgmerge(const std::string &viejo, const std::string &plantilla,
                             const std::vector<std::string> &compendios, const std::string &salida,
                             std::string *error);

#endif
