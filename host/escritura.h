// escritura.h - the command's own files written whole or not at all: a temporary renamed into
// place.
#ifndef HOST_ESCRITURA_H
#define HOST_ESCRITURA_H

#include <string>

// Creates a new, empty temporary file in the folder of destino (named after it, hidden)
// with the permission bits that a new destino would get (or those of an existing one),
// and stores its path in *temporal. On failure returns false and stores in *error
// "cannot write '<destino>': <the system's reason>"; nothing is left behind.
bool escritura_crea_temporal(const std::string &destino, std::string *temporal, std::string *error);

// Renames temporal over destino. On failure removes temporal, returns false and stores
// the reason in *error, as above.
bool escritura_coloca(const std::string &temporal, const std::string &destino, std::string *error);

// Removes a temporary file that is not to be used; a missing one is no failure.
void escritura_descarta(const std::string &temporal);

#endif
