/* referencias.h - character references as a browser reads them, over one table made from
 * htmlparser/referencias.tsv (every named reference of HTML and the numeric rules). */
#ifndef HTMLPARSER_REFERENCIAS_H
#define HTMLPARSER_REFERENCIAS_H

#include <cstddef>
#include <string>
#include <string_view>

namespace htmlparser {

/* A reference read at a '&'. */
struct referencia_html {
  size_t largo = 0;        /* bytes from the '&' on; 0 when no reference begins there */
  char32_t puntos[2] = {}; /* the one or two code points it stands for (the second 0) */
  bool con_nombre = false; /* "&name;" rather than "&#...;" */
};

/* The reference that texto begins with, as a browser reads one. A named reference is the
 * longest name of the list that texto begins with after its '&': one with its ';', or a
 * legacy one without it ("&copy", "&nbsp"). In an attribute value (en_atributo) a legacy
 * name that a letter, a digit or '=' follows is no reference, so that "&copy=1" and
 * "&notit" stay as they stand there. A numeric reference is "&#" and decimal digits or
 * "&#x" and hexadecimal digits, with or without its ';'; NUL, a surrogate or a number past
 * U+10FFFF stands for U+FFFD, and 0x80-0x9F for windows-1252's character of that byte. */
referencia_html lee_referencia(std::string_view texto, bool en_atributo);

/* The reference's characters in UTF-8. */
std::string utf8_de_referencia(const referencia_html &referencia);

/* texto (UTF-8, or any encoding that keeps ASCII as ASCII) with each reference read into
 * its characters in UTF-8, as lee_referencia reads it; every other byte as it stands. */
std::string lee_referencias(std::string_view texto, bool en_atributo);

}  // namespace htmlparser

#endif
