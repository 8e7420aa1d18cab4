/* anfitrion.c - a minimal host: lists a page's texts and writes them back in brackets. */
#include <stdio.h>

#include "lenguaweb.h"

int main(int argc, char **argv) {
  const uint32_t ingles = 0x0409; /* English (United States): code page 1252 */
  if (argc != 3) {
    fprintf(stderr, "usage: %s PAGE.html OUT.html\n", argv[0]);
    return 2;
  }

  /* The document and both lists are ours until we free them. */
  lenguaweb_t *pagina = lenguaweb_crea(argv[1], ingles);
  lista_cad_t *ids = NULL;
  lista_cad_t *textos = lenguaweb_dame_textos_a_trducir(pagina, &ids);

  /* "Translate" every text in place: the list keeps order and count. */
  for (uint32_t i = 0; i < lista_cad_num_elems(textos); ++i) {
    /* Texts come in the language's code page; the terminal wants UTF-8. */
    char *utf8 = conv_ansi_idioma_a_utf8(lista_cad_dame(textos, i), ingles);
    printf("%s\t%s\n", lista_cad_dame(ids, i), utf8);
    cad_destruye(&utf8);
    char *traducido = lista_cad_dame_copia(textos, i);
    cad_inserta_delante(&traducido, "[");
    cad_une(&traducido, "]");
    lista_cad_pon_propia(textos, i, &traducido);
  }

  booleano escrita =
      lenguaweb_reconstruye_fichero_html(pagina, textos, ids, NULL, NULL, argv[2], ingles);

  lista_cad_destruye(&textos);
  lista_cad_destruye(&ids);
  lenguaweb_destruye(&pagina);
  return escrita == CIERTO ? 0 : 1;
}
