// ronda.cpp - the fixture's round trips through the library: a page's texts, and the page
// written back (kept apart so that only the tests that link the library link it).
#include "comun/entorno_pruebas.h"
#include "comun/listas.h"

namespace pruebas {

std::vector<std::string> Entorno::textos_de(const std::string &pagina, uint32_t idioma) {
  lenguaweb_t *doc = lenguaweb_crea(escribe("textos.html", pagina).c_str(), idioma);
  lista_cad_t *ids = nullptr;
  lista_cad_t *textos = lenguaweb_dame_textos_a_trducir(doc, &ids);
  std::vector<std::string> r = a_vector(textos);
  lista_cad_destruye(&textos);
  lista_cad_destruye(&ids);
  lenguaweb_destruye(&doc);
  return r;
}

std::string Entorno::reconstruye(const std::string &pagina, uint32_t idioma, const Ronda &ronda) {
  lenguaweb_t *doc = lenguaweb_crea(escribe("origen.html", pagina).c_str(), idioma);
  lista_cad_t *ids = nullptr;
  lista_cad_t *textos = lenguaweb_dame_textos_a_trducir(doc, &ids);
  lista_cad_t *traduccion =
      ronda.traducidos.empty() ? lista_cad_copia(textos) : a_lista(ronda.traducidos);
  const std::string destino = ruta("destino.html");
  EXPECT_EQ(
      lenguaweb_reconstruye_fichero_html(doc, traduccion, ids, ronda.a, ronda.img, destino.c_str(),
                                         ronda.destino != 0 ? ronda.destino : idioma),
      CIERTO);
  lista_cad_destruye(&traduccion);
  lista_cad_destruye(&textos);
  lista_cad_destruye(&ids);
  lenguaweb_destruye(&doc);
  return lee(destino);
}

}  // namespace pruebas
