/* descompone.cpp - a link split into domain, path and file name, and the identifier joined from
 * them. */
#include <string>
#include <string_view>

#include "tablalink/tablalink.h"
#include "privado/informe.h"

namespace {

/* The one scheme whose host is kept apart; any other link is split as a path. */
constexpr std::string_view kPrefijoHttp = "http://";

const char *o_vacio(const char *texto) {
  return texto != nullptr ? texto : "";
}

/* New text holding the bytes of tramo (which never holds a NUL: it lies inside a text). */
char *texto_de(std::string_view tramo) {
  return cad_prefijo(tramo.data(), static_cast<uint32_t>(tramo.size()));
}

/* Hands texto to the caller's variable, or frees it when the caller gave no address. */
void entrega(char **destino, char *texto) {
  if (destino != nullptr)
    *destino = texto;
  else
    cad_destruye(&texto);
}

}  // namespace

extern "C" {

void tablalink_descompone_enlace(const char *enlace, char **ID, char **dominio, char **ruta,
                                 char **nombre_fichero) {
  // Everything below is a view into enlace: each part is copied once, when it is handed out.
  std::string_view resto = o_vacio(enlace);
  std::string_view dom = "";
  if (resto.size() >= kPrefijoHttp.size() &&
      cad_empieza_por_sin_mayus(resto.data(), kPrefijoHttp.data()) == CIERTO) {
    resto.remove_prefix(kPrefijoHttp.size());
    dom = resto.substr(0, resto.find('/'));
    resto.remove_prefix(dom.size());
  }

  std::string_view camino = "";
  std::string_view nombre = "";
  const bool sin_resto = resto.empty();
  if (sin_resto) {
    camino = "/";
  } else {
    // Last "/" past the first character, and whether a "." follows it; the first
    // character is never looked at.
    size_t barra = 0;
    bool hay_punto = false;
    for (size_t i = resto.size() - 1; i > 0; --i) {
      if (resto[i] == '/') {
        barra = i;
        break;
      }
      if (resto[i] == '.') hay_punto = true;
    }
    if (resto[0] == '/') {
      // An undotted last component of an absolute path is a directory. So is the host of
      // a link of the page's own scheme ("//example.com"), whatever dots it holds: taken
      // for a file name it would come back as "/example.com".
      if (hay_punto && !(barra == 1 && resto[1] == '/' && resto.size() > 2)) {
        camino = resto.substr(0, barra + 1);
        nombre = resto.substr(barra + 1);
      } else {
        camino = resto;
      }
      if (camino.empty() || camino[0] != '/') informa_en(kModuloTablalink, "(*ruta)[0]=='/'");
    } else {
      // A relative link is taken to name a file; an undotted one is reported and its
      // last component is taken as the file name all the same.
      if (!hay_punto) informa_en(kModuloTablalink, "hay_punto == CIERTO");
      if (barra > 0) {
        camino = resto.substr(0, barra + 1);
        nombre = resto.substr(barra + 1);
      } else {
        nombre = resto;
      }
    }
    if (camino.size() > 1 && camino.back() == '/') camino.remove_suffix(1);
  }

  char *texto_dominio = texto_de(dom);
  char *texto_ruta = texto_de(camino);
  char *texto_nombre = texto_de(nombre);
  // A link that names nothing past its host (or nothing at all) is known by its host alone:
  // its root "/" is only the rebuilt form, not a path of the link.
  char *id =
      sin_resto ? texto_de(dom) : tablalink_compone_id(texto_dominio, texto_ruta, texto_nombre);
  entrega(ID, id);
  entrega(dominio, texto_dominio);
  entrega(ruta, texto_ruta);
  entrega(nombre_fichero, texto_nombre);
}

char *tablalink_compone_id(const char *dominio, const char *ruta, const char *nombre_fichero) {
  const std::string_view dom = o_vacio(dominio);
  const std::string_view camino = o_vacio(ruta);
  const std::string_view nombre = o_vacio(nombre_fichero);
  // The root is implied by a host, but without one it keeps "/guia.html" apart from
  // "guia.html". One-character parts count like any other: "a/x.html" is not "x.html".
  const bool con_ruta = !camino.empty() && !(camino == "/" && !dom.empty());
  const bool con_nombre = !nombre.empty();
  // Joined by hand: a preprocessed page joins one identifier per link, and printf would
  // cost more than the rest of splitting it.
  std::string id;
  id.reserve(dom.size() + camino.size() + nombre.size() + 2);
  id.append(dom);
  if (con_ruta) id.append("|").append(camino);
  if (con_nombre) id.append("|").append(nombre);
  return texto_de(id);
}

}  // extern "C"
