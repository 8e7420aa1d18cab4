/* informe.h - the one way code of the library and the companion reports a broken condition. */
#ifndef PRIVADO_INFORME_H
#define PRIVADO_INFORME_H

/* Internal, never installed. */

#include "companion/informe.h"

/* The module texts that reports carry. Hosts have always received these and match on
 * them: they stay as they are, "LENGUAWEB.DLL" included. */
inline constexpr const char *kModuloCompanion = "companion";
inline constexpr const char *kModuloHtmlparser = "htmlparser (LENGUAWEB.DLL)";
inline constexpr const char *kModuloLenguaweb = "lenguaweb (LENGUAWEB.DLL)";
inline constexpr const char *kModuloTablalink = "tablalink (LENGUAWEB.DLL)";
inline constexpr const char *kModuloLenguatxt = "lenguatxt (LENGUAWEB.DLL)";

/* Reports through informa_fallo_interno that condicion failed in modulo, at the caller's
 * line unless another is given, and returns: the caller goes on. condicion is the source
 * text of the failed test, or "" for a branch that consistent data never reaches. Some
 * condition texts name variables that stand in no code here ("(fin_tag) != NULL",
 * "*procesar_texto == FALSO", "encontrado == CIERTO"): they are the texts hosts have
 * always received and match on, and stay word for word. */
/* (__builtin_LINE in a default argument gives the caller's line, in GCC and clang alike;
 * clang 14 has no std::source_location.) */
inline void informa_en(const char *modulo, const char *condicion,
                       uint32_t linea = __builtin_LINE()) noexcept {
  informa_fallo_interno(condicion, modulo, linea);
}

/* Whether a pointer argument is missing (null); reported as condicion when it is. */
inline bool informa_si_falta(const char *modulo, const void *argumento, const char *condicion,
                             uint32_t linea = __builtin_LINE()) noexcept {
  if (argumento != nullptr) return false;
  informa_en(modulo, condicion, linea);
  return true;
}

#endif
