// mezcla.h - GNU gettext's msgmerge, run on a page's old PO file and its new template.
#ifndef HOST_MEZCLA_H
#define HOST_MEZCLA_H

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Writes to salida ("-": standard output) the PO file that msgmerge makes of the old PO
// file viejo and the template plantilla (both only read): every entry of the template,
// with the translation of the same text in viejo, or, for a text that changed, the
// translation of the nearest one marked fuzzy (its old msgid kept as a previous string).
// A text that viejo does not translate takes the translation of the compendia (PO files,
// only read, as msgmerge's --compendium takes them). The output is written whole or not at all. On
// failure (msgmerge missing, or refusing viejo) returns false with the reason in *error. Safe from
// any thread.
// The header keeps viejo's, but for the fields of campos (name, value), set or added: what
// the template says of how the page was read outranks what the old file said.
using CamposDeCabecera = std::vector<std::pair<std::string, std::string>>;
bool mezcla_ejecuta_msgmerge(const std::string &viejo, const std::string &plantilla,
                             const std::vector<std::string> &compendios, const std::string &salida,
                             const CamposDeCabecera &campos, std::string *error);

// update's work: writes a page's (or a catalogue's) new template with graba, which takes
// the path to write it to, in the run's utilities folder; runs msgmerge on viejo (empty:
// the template itself, for a page that has no PO file yet) and it, with the compendia,
// into salida; removes the template. false with the reason in *error.
bool mezcla_actualiza(const std::string &viejo,
                      const std::function<bool(const std::string &, std::string *)> &graba,
                      const std::vector<std::string> &compendios, const std::string &salida,
                      const CamposDeCabecera &campos, std::string *error);

#endif
