/* lectura_tags.cpp - reading a tag as page segmentation reads it, shared with the rebuild. */
#include "lenguaweb/lectura_tags.h"

#include "htmlparser/reglas_html.h"
#include "privado/informe.h"

tag_leido lenguaweb_lee_tag_en(std::string_view texto, uint32_t inicio, elemento_crudo crudo,
                               bool informa) {
  const htmlparser::fin_de_tag fin = htmlparser::lee_fin_de_tag(htmlparser::acotado(texto), inicio);
  tag_leido tag{};
  tag.inicio = inicio;
  tag.fin = static_cast<uint32_t>(fin.cerrado ? fin.cierre + 1 : fin.cierre);
  size_t fin_texto = fin.cierre;
  if (crudo != elemento_crudo::ninguno) {
    const size_t corte = htmlparser::busca_fin_de_elemento(
        texto, inicio + 1, fin.cierre, crudo == elemento_crudo::script ? "SCRIPT" : "STYLE");
    if (corte < fin.cierre) fin_texto = tag.fin = static_cast<uint32_t>(corte);
  }
  if (fin_texto == texto.size() && informa) informa_en(kModuloLenguaweb, "(fin_tag) != NULL");

  tag.texto = texto.substr(inicio, fin_texto - inicio);
  tag.nombre = htmlparser::nombre_de_tag(tag.texto.substr(1));
  return tag;
}

void lenguaweb_cambia_elemento_crudo(elemento_crudo &crudo, std::string_view nombre, bool informa) {
  size_t blanco = 0;
  while (blanco < nombre.size() && !htmlparser::es_blanco(nombre[blanco])) ++blanco;
  nombre = nombre.substr(0, blanco);

  const bool cierra = !nombre.empty() && nombre[0] == '/';
  const std::string_view base = cierra ? nombre.substr(1) : nombre;
  elemento_crudo este;
  if (htmlparser::nombre_es(base, "SCRIPT"))
    este = elemento_crudo::script;
  else if (htmlparser::nombre_es(base, "STYLE"))
    este = elemento_crudo::style;
  else
    return;

  if (!cierra) {
    if (crudo == elemento_crudo::ninguno) crudo = este;
  } else if (crudo == este) {
    crudo = elemento_crudo::ninguno;
  } else if (crudo == elemento_crudo::ninguno && informa) {
    informa_en(kModuloLenguaweb, "*procesar_texto == FALSO");
  }
}
