/* ascii.h - the letter case of ASCII letters, for names and labels that HTML and the
 * companion compare without it. */
#ifndef PRIVADO_ASCII_H
#define PRIVADO_ASCII_H

/* Internal, never installed. */

#include <string>
#include <string_view>

/* Only 'A'-'Z' and 'a'-'z' change; any other byte, UTF-8 ones included, stays. */
constexpr char a_minuscula(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char a_mayuscula(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

/* Whether every byte of texto is ASCII. No early exit: the loop vectorises, and a text is
 * read whole anyway. */
inline bool es_ascii(std::string_view texto) {
  unsigned char todos = 0;
  for (char c : texto) todos |= static_cast<unsigned char>(c);
  return todos < 0x80;
}

inline std::string en_minusculas(std::string_view texto) {
  std::string r(texto);
  for (char &c : r) c = a_minuscula(c);
  return r;
}

#endif
