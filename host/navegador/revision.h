// revision.h - a translated page against its source, as a reader sees both: the same
// elements and attributes but for the texts, every text translated or listed, no markup
// shown as text.
#ifndef HOST_REVISION_H
#define HOST_REVISION_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One thing the check found, at a line of the translated page (1 for the page as a whole).
struct Hallazgo {
  size_t linea = 1;
  bool sin_traducir = false;  // a text left as the source has it; else a fault
  std::string texto;
};

// Compares the translated page with its source, both as raw bytes, each decoded as a
// browser decodes it (a page that declares no encoding and is not UTF-8 in the code page
// of its language, idioma_origen or idioma_traducida). Elements are paired by parent,
// name and attributes, so that a translation may reorder the tags within a text. Not
// faults: the texts and the attributes a reader reads as texts (alt, title, placeholder,
// the ARIA labels, a META description ...), what a merge writes (the root's lang, xml:lang
// and dir, the charset declaration, og:locale and content-language), and a link whose
// source value is a link table's reference ("@..."). A text is left untranslated when a
// block (an element that is no phrasing element, with the phrasing elements inside it)
// reads the same in both and holds a letter, outside what the page marks as not to be
// translated. The findings come in the translated page's order. Thread-safe.
std::vector<Hallazgo> revision_compara(std::string_view origen, std::string_view traducida,
                                       uint32_t idioma_origen, uint32_t idioma_traducida);

#endif
