// comprueba_propios.cpp - rebuilt through the library with its own texts, the page shows the same.
#include "pagina.h"

namespace sitios {

void comprueba_propios(Pagina &p, const Documento &doc) {
  const std::string salida = p.ruta("propia.html");
  if (lenguaweb_reconstruye_fichero_html(doc.doc, doc.textos, doc.ids, nullptr, nullptr,
                                         salida.c_str(), p.idioma) != CIERTO)
    p.falla("own texts", "the rebuild reported a failed write");
  const std::string escrita = lee_fichero(salida);
  p.propia = pagina_lee(escrita, p.idioma).texto;
  std::string categoria;
  Ejemplos ejemplos;
  const std::string diferencia =
      lecturas_compara(p.bytes, escrita, p.idioma, &categoria, &ejemplos);
  if (!diferencia.empty()) p.falla("own texts", diferencia, categoria, std::move(ejemplos));
}

}  // namespace sitios
