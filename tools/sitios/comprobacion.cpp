// comprobacion.cpp - one page through every check, and the reader's comparison they share.
#include "comprobacion.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <iterator>

#include "modelo.h"
#include "pagina.h"

namespace sitios {
namespace {

// Reports made on this thread while a page is checked.
thread_local std::vector<std::pair<std::string, std::string>> *informes_del_hilo = nullptr;

void recibe_informe(const char *condicion, const char *modulo, uint32_t, void *) {
  if (informes_del_hilo != nullptr)
    informes_del_hilo->emplace_back(condicion != nullptr ? condicion : "",
                                    modulo != nullptr ? modulo : "");
}

std::string sin_nbsp(std::string_view texto) {
  std::string r;
  r.reserve(texto.size());
  for (size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] == '\xC2' && i + 1 < texto.size() && texto[i + 1] == '\xA0') {
      r.push_back(' ');
      ++i;
    } else {
      r.push_back(texto[i]);
    }
  }
  return r;
}

}  // namespace

// The kind of fault that two texts that differ show: blanks of preformatted text
// collapsed, a no-break space made a space, or characters that are not ASCII changed.
std::string categoria_textos(std::string_view esperado, std::string_view obtenido, bool pre) {
  const std::string e = arbol_colapsa(esperado), o = arbol_colapsa(obtenido);
  if (pre && e == o) return "PRE blanks";
  if (arbol_colapsa(sin_nbsp(esperado)) == o) return "nbsp";
  const size_t d = primera_diferencia(e, o);
  const auto no_ascii = [d](std::string_view s) {
    return d < s.size() && static_cast<unsigned char>(s[d]) >= 0x80;
  };
  if (no_ascii(e) || no_ascii(o)) return "charset";
  return {};
}

namespace {

bool mayor_entre_comillas(const std::vector<NodoHtml> &arbol) {
  for (const NodoHtml &n : arbol)
    for (const AtributoHtml &a : n.atributos)
      if (a.comillas != 0 && a.valor.find('>') != std::string::npos) return true;
  return false;
}

}  // namespace

std::string categoria_de(const std::vector<NodoHtml> &ea, const std::vector<NodoHtml> &eb,
                         size_t i) {
  if (i < ea.size() && i < eb.size() && ea[i].clase == eb[i].clase) {
    const NodoHtml &e = ea[i], &o = eb[i];
    std::string c;
    if (e.clase == ClaseNodo::texto) {
      c = categoria_textos(e.texto, o.texto, e.preformateado);
    } else if (e.clase == ClaseNodo::elemento && e.atributos.size() == o.atributos.size()) {
      for (size_t k = 0; k < e.atributos.size() && c.empty(); ++k)
        if (e.atributos[k].valor != o.atributos[k].valor)
          c = categoria_textos(e.atributos[k].valor, o.atributos[k].valor, false);
    }
    if (!c.empty()) return c;
  }
  return mayor_entre_comillas(ea) ? "quoted '>'" : "other";
}

std::string lee_fichero(const std::string &camino) {
  std::ifstream f(camino, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool es_cuerpo(uint32_t tipo) {
  return tipo == TIPO_TITULO || tipo == TIPO_TEXTO;
}

const AtributoHtml *atributo(const NodoHtml &n, std::string_view nombre) {
  for (const AtributoHtml &a : n.atributos)
    if (a.nombre == nombre) return &a;
  return nullptr;
}

Documento::Documento(const std::string &camino, uint32_t idioma)
    : doc(lenguaweb_crea(camino.c_str(), idioma)),
      textos(lenguaweb_dame_textos_a_trducir(doc, &ids)) {}

Documento::~Documento() {
  lista_cad_destruye(&textos);
  lista_cad_destruye(&ids);
  lenguaweb_destruye(&doc);
}

std::string lecturas_compara(std::string_view original, std::string_view escrita, uint32_t idioma,
                             std::string *categoria, Ejemplos *ejemplos) {
  const PaginaLeida a = pagina_lee(original, idioma), b = pagina_lee(escrita, idioma);
  const std::vector<NodoHtml> ea = arbol_lee(a.texto), eb = arbol_lee(b.texto);
  size_t nodo = 0;
  std::string diferencia = arbol_compara(ea, eb, &nodo);
  if (!diferencia.empty() && a.codificacion.nombre != b.codificacion.nombre)
    diferencia = "read as " + b.codificacion.nombre + ", the original as " + a.codificacion.nombre +
                 "\n" + diferencia;
  if (b.reemplazos > a.reemplazos)
    diferencia = std::to_string(b.reemplazos - a.reemplazos) + " more bytes invalid in " +
                 b.codificacion.nombre + "\n" + diferencia;
  if (!b.error.empty()) diferencia = b.error + "\n" + diferencia;
  if (!diferencia.empty())
    *categoria = b.reemplazos > a.reemplazos || !b.error.empty()
                     ? "charset"
                     : categorias_de(ea, eb, nodo, ejemplos);
  return diferencia;
}

std::string categorias_de(const std::vector<NodoHtml> &ea, const std::vector<NodoHtml> &eb,
                          size_t i, Ejemplos *ejemplos) {
  std::set<std::string> vistas;
  // While both pages have the same nodes, every pair that differs names its kind; once
  // they part, the first pair alone.
  for (; i < std::min(ea.size(), eb.size()); ++i) {
    if (arbol_nodos_iguales(ea[i], eb[i])) continue;
    const std::string categoria = categoria_de(ea, eb, i);
    if (vistas.insert(categoria).second && ejemplos != nullptr) {
      const bool textos = ea[i].clase == ClaseNodo::texto && eb[i].clase == ClaseNodo::texto;
      (*ejemplos)[categoria] =
          textos ? "the text " + muestra_diferencia(arbol_vista(ea[i]), arbol_vista(eb[i]))
                 : "expected " + arbol_describe(ea[i]) + ", obtained " + arbol_describe(eb[i]);
    }
    if (ea[i].clase != eb[i].clase || ea[i].ruta != eb[i].ruta || ea.size() != eb.size()) break;
  }
  if (vistas.empty()) vistas.insert(categoria_de(ea, eb, i));
  std::string r;
  for (const std::string &c : vistas) r += (r.empty() ? "" : "+") + c;
  return r;
}

void comprobacion_instala_receptor() {
  informa_fallo_pon_receptor(recibe_informe, nullptr);
}

ResultadoPagina pagina_comprueba(const std::string &camino, uint32_t idioma,
                                 const std::string &carpeta, const Opciones &opciones) {
  ResultadoPagina r;
  r.camino = camino;
  r.idioma = idioma;
  std::vector<std::pair<std::string, std::string>> informes;
  informes_del_hilo = &informes;
  {
    Pagina p{.camino = camino, .idioma = idioma, .carpeta = carpeta, .opciones = opciones, .r = r};
    Documento doc(camino, idioma);
    if (comprueba_documento(p, doc)) {
      comprueba_propios(p, doc);
      comprueba_marcas(p, doc);
      comprueba_enlaces(p, doc);
    }
    if (!opciones.orden.empty()) comprueba_orden(p);
  }
  informes_del_hilo = nullptr;
  // A text that keeps an entity, and a relative link whose last part holds no '.', are
  // reported by design; anything else is a fault.
  for (const auto &[condicion, modulo] : informes) {
    if (condicion == "strchr(texto, '&')==NULL" || condicion == "hay_punto == CIERTO")
      ++r.informes[condicion];
    else
      r.fallos.push_back({"report", "other", "\"" + condicion + "\" (" + modulo + ")", {}});
  }
  return r;
}

}  // namespace sitios
