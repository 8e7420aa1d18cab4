// pseudo.h - pseudo-translation of a page's texts through the text engine, markup kept whole.
#ifndef HOST_PSEUDO_H
#define HOST_PSEUDO_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lenguaweb.h"

// A text whose markup stands as brace groups: "{0}", "{1}" ... each the group of the
// piece at that index of piezas, which point into the text protected.
struct TextoProtegido {
  std::string texto;
  std::vector<std::string_view> piezas;
};

// Turns into brace groups what the engine must not touch: the inline tags that the
// library keeps as markup (<B>, </B>, <FONT ...>, <BR> ...; every phrasing tag, <A ...>,
// <CODE> ..., when the calling thread cuts pages by blocks), character references
// (&amp;, &#225;, &#x41;) and every literal '{' and '}'; pieces that follow one another
// make one group. texto is UTF-8, only read, and must outlive the result.
TextoProtegido pseudo_protege(std::string_view texto);

// Puts the pieces back in the place of their groups; any other text stays as it is.
std::string pseudo_restaura(std::string_view texto, const std::vector<std::string_view> &piezas);

// Pseudo-translates the texts of a page (in the code page of origen; ids are their
// identifiers, only read) with lenguatxt_traduce_textos, in place: each text becomes its
// translation in the code page of destino, and one that comes back unchanged stays as it
// is. The engine's messages about texts it could not divide are appended to *mensajes
// (UTF-8). A text whose place in intocables is true goes out as it is, only converted.
void pseudo_traduce(lista_cad_t *textos, const lista_cad_t *ids, uint32_t origen, uint32_t destino,
                    std::vector<std::string> *mensajes, const std::vector<bool> &intocables = {});

#endif
