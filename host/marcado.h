// marcado.h - the markup of a text as a browser reads it: which tags a translation may
// carry, and whether a text has anything to translate.
#ifndef HOST_MARCADO_H
#define HOST_MARCADO_H

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One tag, end tag or comment of a text.
struct TagDeTexto {
  enum class Clase { apertura, cierre, comentario } clase = Clase::apertura;
  std::string nombre;  // lower case; empty for a comment
  // Names in lower case, values without their quotes, the first of each name only (as a
  // browser keeps them), in the tag's order. An end tag's attributes are not kept.
  std::vector<std::pair<std::string, std::string>> atributos;
  std::string_view escrito;  // the tag as it stands in its text
};

// The next tag of texto from *desde on into *tag, *desde moved past it; false when no
// tag is left. The views point into texto. When guarda is given, only the attributes whose
// name it takes are kept: a reader that asks about one or two names does not hold every
// attribute of a tag of thousands.
bool marcado_siguiente_tag(std::string_view texto, size_t *desde, TagDeTexto *tag,
                           bool (*guarda)(std::string_view) = nullptr);

// The tags of texto in order. A '<' that does not open a tag (a blank or a digit after
// it, a tag with no closing '>') is text, as it is to a browser. The views point into
// texto, which must outlive the result.
std::vector<TagDeTexto> marcado_tags(std::string_view texto);

// Whether texto (UTF-8) holds a letter or a digit outside its tags and comments, character
// references read as the characters they stand for. A text without one has nothing to translate.
bool marcado_tiene_letras(std::string_view texto);

// texto (UTF-8) with the character references of its text read as the characters they
// stand for, as a reader sees them; its tags and comments as they stand. A reference to
// '<', '>' or '&' stays, for its character would read as markup, and so does one to a
// control character other than a tab or a line feed, which a PO editor would not show.
// texto itself when it has no '&'.
std::string marcado_en_caracteres(std::string_view texto);

// Whether a translation carries the markup of its source text: the same tags (tag and
// attribute names in any letter case, values exact, attributes in any order), each
// element closed (or left open) as it was; the inline tags B, I, U, EM, STRONG, FONT and
// BR without attributes may be added or dropped, as whole elements. Empty when it does;
// otherwise the reason, naming the first tag at fault ("it adds <b onclick=x>"). What the
// source marks as not to be translated (sin_traducir_partes) must stand in it unchanged.
std::string marcado_compara(std::string_view origen, std::string_view traduccion);

#endif
