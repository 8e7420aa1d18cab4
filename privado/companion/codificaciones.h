/* codificaciones.h - the encodings of the Encoding standard as the companion reads them. */
#ifndef COMPANION_CODIFICACIONES_H
#define COMPANION_CODIFICACIONES_H

/* Internal to the companion, never installed. */

namespace companion {

struct Codificacion {
  const char *nombre;    /* the standard's name */
  const char *icu;       /* the ICU converter that reads it as browsers do; null for
                            "replacement" and x-user-defined, which are never read */
  bool compatible_ascii; /* 0x00-0x7F are ASCII and never stand inside another character */
  const char *etiquetas; /* the labels that name it, lower case, separated by spaces */
};

/* The encoding of that name (exactly as the standard spells it), or null. */
const Codificacion *codificacion_por_nombre(const char *nombre);

}  // namespace companion

#endif
