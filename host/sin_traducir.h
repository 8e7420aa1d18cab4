// sin_traducir.h - the parts of a text that its page marks as not to be translated: an
// element with translate="no" or the class notranslate, start tag to end tag.
#ifndef HOST_SIN_TRADUCIR_H
#define HOST_SIN_TRADUCIR_H

#include <string_view>
#include <vector>

// The outermost such elements of texto, in order, each from its start tag through the end
// tag that closes it (to the end of texto when none does; a void element is its tag). The
// views point into texto.
std::vector<std::string_view> sin_traducir_partes(std::string_view texto);

// Empty when every part of origen not to be translated stands in traduccion as often and
// unchanged; else the reason, naming the first part that does not.
std::string sin_traducir_compara(std::string_view origen, std::string_view traduccion);

#endif
