/* blancos.h - what a blank is, for the companion's texts and for every reader of a page. */
#ifndef PRIVADO_BLANCOS_H
#define PRIVADO_BLANCOS_H

/* Internal, never installed. */

#include <array>
#include <cstdint>
#include <type_traits>

/* Tab, line feed, carriage return and space. No other character is a blank: not a
 * no-break space, nor any byte above 127. */
inline constexpr std::array<uint8_t, 256> kBlancos = [] {
  std::array<uint8_t, 256> t{};
  t[' '] = t['\t'] = t['\n'] = t['\r'] = 1;
  return t;
}();

template <class C>
constexpr bool es_blanco(C c) {
  const auto u = static_cast<std::make_unsigned_t<C>>(c);
  if constexpr (sizeof(C) == 1)
    return kBlancos[u] != 0;
  else
    return u < kBlancos.size() && kBlancos[u] != 0;
}

/* HTML's blanks, which separate a tag's attributes and the words of a page's encoding
 * declaration: the blanks above and the form feed. */
template <class C>
constexpr bool es_blanco_html(C c) {
  return es_blanco(c) || c == C('\f');
}

#endif
