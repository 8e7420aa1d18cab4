/* anfitrion_minimo.c - a host written in C11 that walks a short page with the byte scanner:
 * the header and the calls must work from C (the tokens' rules are tested in C++). */
#include <stdio.h>
#include <string.h>

#include "lenguaweb.h"

int main(void) {
  static const char pagina[] = "<p class=x>Hola";
  static const char *const tokens[] = {"<p class=x>", "Hola"};
  uint32_t posicion = 0;
  uint16_t tipo = 0;
  int fallos = 0;
  for (size_t i = 0; i < 2; ++i) {
    char *copia = NULL;
    const booleano resultado = htmlparser_lee_siguiente_tag(pagina, &posicion, &tipo, &copia);
    if (copia == NULL || strcmp(copia, tokens[i]) != 0 || tipo != (i == 0) ||
        resultado != (i == 0 ? CIERTO : FALSO)) {
      fprintf(stderr, "token %u: got \"%s\" kind %u result %u\n", (unsigned)i,
              copia != NULL ? copia : "(null)", (unsigned)tipo, (unsigned)resultado);
      ++fallos;
    }
    cad_destruye(&copia);
  }
  if (posicion != strlen(pagina)) {
    fprintf(stderr, "walk ended at position %u\n", (unsigned)posicion);
    ++fallos;
  }
  return fallos == 0 ? 0 : 1;
}
