/* comprobaciones.h - the properties each fuzz target checks on one input, shared with the
 * regression tests. */
#ifndef FUZZ_COMPROBACIONES_H
#define FUZZ_COMPROBACIONES_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

/* Every check takes arbitrary bytes (only read, any length) and returns "" when every
 * property held, or a description of the first one that did not. A crash, a leak that
 * the sanitizers see, a companion block left alive or a failure report that the input
 * cannot explain is a failure too. A check takes over the failure report receptor while
 * it runs and may set the utilities folder to a private folder of the process. */
std::string fuzz_comprueba_escaner(const uint8_t *datos, size_t largo);
std::string fuzz_comprueba_link_externo(const uint8_t *datos, size_t largo);
std::string fuzz_comprueba_pagina(const uint8_t *datos, size_t largo);

/* The checks of a page cut by blocks (comprueba_bloques.cpp), run by fuzz_comprueba_pagina
 * when its first byte's high bit is set. "" when every property holds. */
std::string fuzz_comprueba_bloques(std::string_view pagina, uint32_t idioma);
std::string fuzz_comprueba_enlace(const uint8_t *datos, size_t largo);
std::string fuzz_comprueba_registros(const uint8_t *datos, size_t largo);
std::string fuzz_comprueba_division(const uint8_t *datos, size_t largo);
std::string fuzz_comprueba_hostil(const uint8_t *datos, size_t largo);

/* The targets by the name of their folders under fuzz/semillas and fuzz/regresiones. */
struct fuzz_objetivo {
  const char *nombre;
  std::string (*comprueba)(const uint8_t *datos, size_t largo);
};
inline constexpr fuzz_objetivo kFuzzObjetivos[] = {
    {"escaner", fuzz_comprueba_escaner},     {"link_externo", fuzz_comprueba_link_externo},
    {"pagina", fuzz_comprueba_pagina},       {"enlace", fuzz_comprueba_enlace},
    {"registros", fuzz_comprueba_registros}, {"division", fuzz_comprueba_division},
    {"hostil", fuzz_comprueba_hostil},
};

/* The parts of the page check, for its own tests. A page document's lists, copied
 * (codigo: the inline tags the page showed as code, per text); a tag of the page that
 * gives a text, with where its '<' and its value stand in the page; where a document's
 * pieces stand in its page, with the tags of each piece that give its attribute texts. */
struct fuzz_documento {
  std::vector<std::string> trozos, textos;
  std::vector<uint32_t> tipos, codigo;
  /* Per text, when known: its stretch of the page and its marks (marca_de_texto). */
  std::vector<std::pair<size_t, size_t>> origenes{};
  std::vector<uint8_t> marcas{};
  const char *codificacion = "UTF-8"; /* the encoding of the page's bytes */
  bool legible = true;                /* false: the page is not text, kept whole as one piece */
};
struct fuzz_tag_con_texto {
  size_t tag, inicio_valor, fin_valor;
  uint32_t tipo;
  bool entre_comillas;
  char comilla;
};
struct fuzz_ubicacion {
  std::vector<size_t> trozo;
  std::vector<std::vector<fuzz_tag_con_texto>> tags;
};

/* "" when the pieces and the raw stretches between them join back to the page, each
 * stretch normalising (for idioma, as its marks say) to its body text, and the texts after
 * each piece are those of its tags, read as page segmentation reads them, in order, each
 * text's origin (when the document gives origins) its stretch or value; fills *u. */
std::string fuzz_ubica(std::string_view pagina, const fuzz_documento &d, uint32_t idioma,
                       fuzz_ubicacion *u);

/* "" when escrita is the document written with its own texts (in the code page of
 * idioma): every piece byte for byte but for the values (after an '=') of its tags that
 * gave texts, each its text in its own quotes (an unquoted one between double quotes)
 * with '"', '\'', '<', '>', a bare '&' and a no-break space as entities; each body text
 * after its piece, its '<', '>', '&', spaces and no-break spaces as they are or as
 * entities; but a text marked to go back raw stands as the page had it (pagina, the
 * page's bytes). */
std::string fuzz_comprueba_escrita(std::string_view escrita, std::string_view pagina,
                                   const fuzz_documento &d, const fuzz_ubicacion &u,
                                   uint32_t idioma);

/* The start and end tags of a text by name in capitals, read as a browser's tokenizer
 * reads them: a '<' followed by a letter, or by '/' and a letter; the name up to a blank,
 * '/' or '>'. Comments (and what they hold) and other markup are left out, and so is
 * what a browser reads as text up to its own end tag (SCRIPT, TITLE, XMP ...). */
std::map<std::string, long> fuzz_cuenta_tags(std::string_view texto);

/* "" unless escrita holds more tags of some name than original plus permitidos of it. */
std::string fuzz_gana_tags(std::string_view original, std::string_view escrita,
                           const std::map<std::string, long> &permitidos);

#endif
