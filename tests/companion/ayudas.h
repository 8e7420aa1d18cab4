// ayudas.h - what the companion's tests share: their headers, and texts handed back as strings.
#ifndef PRUEBAS_COMPANION_AYUDAS_H
#define PRUEBAS_COMPANION_AYUDAS_H

#include <atomic>
#include <functional>
#include <string_view>
#include <thread>
#include <tuple>

#include "comun/entorno_pruebas.h"

// The text as a string ("<null>" for none), freed through the variable, which must end null.
inline std::string toma(char *texto) {
  std::string r = texto != nullptr ? texto : "<null>";
  cad_destruye(&texto);
  EXPECT_EQ(texto, nullptr);
  return r;
}
inline std::u16string toma(char16_t *texto) {
  std::u16string r = texto != nullptr ? texto : u"<null>";
  wcad_destruye(&texto);
  EXPECT_EQ(texto, nullptr);
  return r;
}

#endif
