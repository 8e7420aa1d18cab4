// comprueba_enlaces.cpp - links moved out into tables and back, against the checker's model.
#include <set>

#include "contenido_vivo.h"
#include "tabla_links.h"
#include "modelo.h"
#include "pagina.h"
#include "tablalink/tablalink.h"

namespace sitios {
namespace {

constexpr size_t kNoEsta = std::string::npos;

struct Tabla : pruebas::TablaLinks {
  uint32_t registros() const { return lista_reg_num_elems(lista); }
};

std::vector<EnlaceEnPagina> enlaces_del_texto(const std::string &texto) {
  return enlaces_de(arbol_lee(texto), texto);
}

}  // namespace

// Preprocessed, the page holds a reference for every link; rebuilt with the tables,
// every link comes back as its record rebuilds it and nothing else changes;
// preprocessed again, nothing changes and no record is added. Measured against the page
// rebuilt with its own texts, so that only what the links change is seen here.
void comprueba_enlaces(Pagina &p, const Documento &doc) {
  const std::string categoria = categoria_de(p.arbol, {}, 0);
  Tabla a, img;
  const std::string pre = p.ruta("pre.html");
  if (lenguaweb_preprocesa_links(doc.doc, a.lista, img.lista, pre.c_str(), p.idioma) != CIERTO)
    p.falla("links", "preprocessing reported a failed write");
  const std::string pre_bytes = lee_fichero(pre);
  const std::vector<EnlaceEnPagina> propios = enlaces_del_texto(p.propia);
  const std::string referencias =
      compara_referencias(propios, enlaces_del_texto(pagina_lee(pre_bytes, p.idioma).texto));
  if (!referencias.empty()) p.falla("link references", referencias, categoria);

  std::set<std::string> distintos[2];
  for (const EnlaceEnPagina &e : propios) {
    if (!enlace_se_traslada(e)) continue;
    ++p.r.enlaces;
    const PartesEnlace partes = enlace_divide(e.valor);
    distintos[e.img].insert(partes.dominio + '\0' + partes.ruta + '\0' + partes.nombre_fichero);
  }
  if (a.registros() != distintos[0].size() || img.registros() != distintos[1].size())
    p.falla("link tables",
            std::to_string(a.registros()) + " A and " + std::to_string(img.registros()) +
                " IMG records for " + std::to_string(distintos[0].size()) + " and " +
                std::to_string(distintos[1].size()) + " distinct targets",
            categoria);

  Documento preprocesada(pre, p.idioma);
  const std::string vuelta = p.ruta("vuelta.html");
  if (lenguaweb_reconstruye_fichero_html(preprocesada.doc, preprocesada.textos, preprocesada.ids,
                                         a.lista, img.lista, vuelta.c_str(), p.idioma) != CIERTO)
    p.falla("links", "the rebuild reported a failed write");
  const std::string diferencia =
      muestra_diferencia(pagina_con_enlaces_reconstruidos(p.propia, propios),
                         pagina_lee(lee_fichero(vuelta), p.idioma).texto);
  if (!diferencia.empty()) p.falla("link round trip", diferencia, categoria);

  const uint32_t registros_a = a.registros(), registros_img = img.registros();
  const std::string otra = p.ruta("pre2.html");
  if (lenguaweb_preprocesa_links(preprocesada.doc, a.lista, img.lista, otra.c_str(), p.idioma) !=
      CIERTO)
    p.falla("links", "preprocessing again reported a failed write");
  const std::string dos = muestra_diferencia(pre_bytes, lee_fichero(otra));
  if (!dos.empty()) p.falla("preprocessing twice", dos, categoria);
  if (a.registros() != registros_a || img.registros() != registros_img)
    p.falla("preprocessing twice", "records were added", categoria);
}

std::vector<EnlaceEnPagina> enlaces_de(const std::vector<NodoHtml> &arbol, std::string_view texto) {
  std::vector<EnlaceEnPagina> enlaces;
  for (const NodoHtml &n : arbol) {
    if (n.clase != ClaseNodo::elemento) continue;
    const bool img = n.nombre.compare(0, 3, "img") == 0;
    if (!img && n.nombre.compare(0, 1, "a") != 0) continue;
    const AtributoHtml *a = atributo(n, img ? "src" : "href");
    if (a == nullptr || a->inicio == kNoEsta) continue;
    enlaces.push_back({a->inicio, a->fin, a->comillas == '"', img,
                       std::string(texto.substr(a->inicio, a->fin - a->inicio)),
                       pruebas::es_enlace_activo(a->valor)});
  }
  return enlaces;
}

bool enlace_se_traslada(const EnlaceEnPagina &enlace) {
  const std::string &valor = enlace.valor;
  return !valor.empty() && valor[0] != '@' && valor[0] != '#' && !enlace.activo &&
         valor.find_first_of("\"'<>") == std::string::npos &&
         valor_escrito(enlace_reconstruye(enlace_divide(valor)), true) == valor;
}

std::string pagina_con_enlaces_reconstruidos(std::string_view texto,
                                             const std::vector<EnlaceEnPagina> &enlaces) {
  std::string r;
  r.reserve(texto.size());
  size_t copiado = 0;
  for (const EnlaceEnPagina &e : enlaces) {
    if (!enlace_se_traslada(e) || e.inicio < copiado) continue;
    r.append(texto.substr(copiado, e.inicio - copiado));
    r += valor_escrito(enlace_reconstruye(enlace_divide(e.valor)), e.entre_comillas);
    copiado = e.fin;
  }
  r.append(texto.substr(copiado));
  return r;
}

std::string compara_referencias(const std::vector<EnlaceEnPagina> &enlaces,
                                const std::vector<EnlaceEnPagina> &enlaces_pre) {
  for (size_t i = 0; i < std::max(enlaces.size(), enlaces_pre.size()); ++i) {
    if (i >= enlaces.size() || i >= enlaces_pre.size())
      return "the page has " + std::to_string(enlaces.size()) + " links, the preprocessed page " +
             std::to_string(enlaces_pre.size());
    const EnlaceEnPagina &e = enlaces[i];
    const std::string esperado =
        enlace_se_traslada(e) ? "@" + enlace_identificador(enlace_divide(e.valor)) : e.valor;
    if (enlaces_pre[i].valor != esperado || enlaces_pre[i].img != e.img)
      return "link " + std::to_string(i) + " " + fragmento(e.valor, 0, 100) + " should become " +
             fragmento(esperado, 0, 100) + ", it is " + fragmento(enlaces_pre[i].valor, 0, 100);
  }
  return {};
}

}  // namespace sitios
