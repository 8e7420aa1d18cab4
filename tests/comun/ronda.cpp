// ronda.cpp - the fixture's round trips through the library: a page's texts, and the page
// written back (kept apart so that only the tests that link the library link it).
#include "comun/entorno_pruebas.h"
#include "comun/listas.h"

namespace pruebas {
namespace {

// A page's document, and the texts and identifiers that a host is given for it.
struct Pagina {
  lenguaweb_t *doc;
  lista_cad_t *ids = nullptr, *textos;
  Pagina(const std::string &ruta, uint32_t idioma)
      : doc(lenguaweb_crea(ruta.c_str(), idioma)),
        textos(lenguaweb_dame_textos_a_trducir(doc, &ids)) {}
  ~Pagina() {
    lista_cad_destruye(&textos);
    lista_cad_destruye(&ids);
    lenguaweb_destruye(&doc);
  }
};

}  // namespace

std::vector<std::string> Entorno::textos_de(const std::string &pagina, uint32_t idioma) {
  return a_vector(Pagina(escribe("textos.html", pagina), idioma).textos);
}

std::string Entorno::reconstruye(const std::string &pagina, uint32_t idioma, const Ronda &ronda) {
  const Pagina p(escribe("origen.html", pagina), idioma);
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

}  // namespace pruebas
