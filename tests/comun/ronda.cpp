// ronda.cpp - the fixture's round trips through the library: a page's texts, and the page
// written back (kept apart so that only the tests that link the library link it).
#include "comun/entorno_pruebas.h"
#include "comun/listas.h"

namespace pruebas {

std::vector<std::string> Entorno::textos_de(const std::string &pagina, uint32_t idioma) {
  return a_vector(PaginaConTextos(escribe("textos.html", pagina), idioma).textos);
}

std::string Entorno::reconstruye(const std::string &pagina, uint32_t idioma, const Ronda &ronda) {
  const PaginaConTextos p(escribe("origen.html", pagina), idioma);
  lista_cad_t *traduccion =
      ronda.traducidos.empty() ? lista_cad_copia(p.textos) : a_lista(ronda.traducidos);
  const std::string destino = ruta("destino.html");
  EXPECT_EQ(lenguaweb_reconstruye_fichero_html(p.doc, traduccion, p.ids, ronda.a, ronda.img,
                                               destino.c_str(),
                                               ronda.destino != 0 ? ronda.destino : idioma),
            CIERTO);
  lista_cad_destruye(&traduccion);
  return lee(destino);
}

std::string Entorno::preprocesa(const std::string &pagina, uint32_t idioma, lista_reg_t *a,
                                lista_reg_t *img) {
  lenguaweb_t *doc = lenguaweb_crea(escribe("origen.html", pagina).c_str(), idioma);
  EXPECT_EQ(lenguaweb_preprocesa_links(doc, a, img, ruta("pre.html").c_str(), idioma), CIERTO);
  lenguaweb_destruye(&doc);
  return lee(ruta("pre.html"));
}

}  // namespace pruebas
