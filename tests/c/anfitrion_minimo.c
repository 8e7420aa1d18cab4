/* anfitrion_minimo.c - a host written in C11 that walks a page with the byte scanner. */
#include <stdio.h>
#include <string.h>

#include "lenguaweb.h"

struct esperado {
  const char *token;
  uint16_t tipo;
  booleano resultado;
};

int main(void) {
  static const char pagina[] = "<p class=x>Hola <b>mundo</b>\n<!-- a > b -->fin";
  static const struct esperado esperados[] = {
      {"<p class=x>", 1, CIERTO},    {"Hola ", 0, CIERTO}, {"<b>", 1, CIERTO},
      {"mundo", 0, CIERTO},          {"</b>", 1, CIERTO},  {"\n", 1, CIERTO},
      {"<!-- a > b -->", 1, CIERTO}, {"fin", 0, FALSO},
  };
  const size_t cuantos = sizeof esperados / sizeof esperados[0];
  uint32_t posicion = 0;
  uint16_t tipo = 0;
  int fallos = 0;
  size_t i;

  for (i = 0; i < cuantos; ++i) {
    char *copia = NULL;
    booleano resultado = htmlparser_lee_siguiente_tag(pagina, &posicion, &tipo, &copia);
    if (copia == NULL || strcmp(copia, esperados[i].token) != 0 || tipo != esperados[i].tipo ||
        resultado != esperados[i].resultado) {
      fprintf(stderr, "token %u: got \"%s\" kind %u result %u, expected \"%s\" kind %u result %u\n",
              (unsigned)i, copia != NULL ? copia : "(null)", (unsigned)tipo, (unsigned)resultado,
              esperados[i].token, (unsigned)esperados[i].tipo, (unsigned)esperados[i].resultado);
      ++fallos;
    }
    cad_destruye(&copia);
    if (resultado != CIERTO) break;
  }
  if (i + 1 != cuantos || posicion != strlen(pagina)) {
    fprintf(stderr, "walk ended after %u tokens at position %u\n", (unsigned)(i + 1),
            (unsigned)posicion);
    ++fallos;
  }
  return fallos == 0 ? 0 : 1;
}
