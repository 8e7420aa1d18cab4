/* pagina.h - the parts of the page check, for its own tests. */
#ifndef FUZZ_PAGINA_H
#define FUZZ_PAGINA_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

/* Copies of a page document's lists. */
struct fuzz_documento {
  std::vector<std::string> trozos;
  std::vector<std::string> textos;
  std::vector<uint32_t> tipos;
  std::vector<uint32_t> codigo; /* inline tags the page showed as code, per text */
};

/* A tag of the page that gives a text: where its '<' and its value stand in the page. */
struct fuzz_tag_con_texto {
  size_t tag;
  size_t inicio_valor;
  size_t fin_valor;
  uint32_t tipo;
  bool entre_comillas;
};

/* Where a document's pieces stand in its page, and the tags of each piece that give
 * its attribute texts, in order. */
struct fuzz_ubicacion {
  std::vector<size_t> trozo;
  std::vector<std::vector<fuzz_tag_con_texto>> tags;
};

/* Checks that the pieces and the raw stretches between them join back to the page, each
 * stretch normalising (for idioma) to its body text, and that the texts after each
 * piece are those of its tags, read as page segmentation reads them, in order; fills
 * *u. "" when all holds. */
std::string fuzz_ubica(std::string_view pagina, const fuzz_documento &d, uint32_t idioma,
                       fuzz_ubicacion *u);

/* Checks that escrita is the document written with textos (one per text, in the code
 * page of idioma): every piece byte for byte, but for the values (those after an '=')
 * of its tags that gave texts when con_atributos, each of which holds its text between
 * double quotes with '"', '<' and '>' as entities; and each body text after its piece,
 * its '<', '>' and spaces written as they are or as "&lt;", "&gt;" and "&nbsp;",
 * nothing else changed. "" when all holds. */
std::string fuzz_comprueba_escrita(std::string_view escrita, const fuzz_documento &d,
                                   const fuzz_ubicacion &u, const std::vector<std::string> &textos,
                                   uint32_t idioma, bool con_atributos);

/* The tags of a page as the byte tag scanner reads them, counted by name (up to the
 * first blank or '>') in capitals, comments left out; the spans of the comments go to *comentarios
 * when given. */
std::map<std::string, long> fuzz_cuenta_tags(
    std::string_view pagina, std::vector<std::pair<size_t, size_t>> *comentarios = nullptr);

/* "" unless escrita holds more tags of some name than original plus permitidos of it. */
std::string fuzz_gana_tags(std::string_view original, std::string_view escrita,
                           const std::map<std::string, long> &permitidos);

#endif
