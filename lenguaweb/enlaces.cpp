/* enlaces.cpp - link values turned into link references and back, through the host's link tables.
 */
#include "lenguaweb/enlaces.h"

#include <unordered_map>

#include "lenguaweb/reconstruccion.h"
#include "tablalink/tablalink.h"

struct indice_enlaces {
  const lista_reg_t *tabla = nullptr;
  uint32_t indexados = 0;
  std::unordered_map<std::string, uint32_t> por_id;
  std::unordered_map<std::string, uint32_t> por_partes;
};

namespace {

std::string clave_de_partes(std::string_view dominio, std::string_view ruta,
                            std::string_view nombre) {
  std::string clave;
  clave.reserve(dominio.size() + ruta.size() + nombre.size() + 2);
  clave.append(dominio).push_back('\0');
  clave.append(ruta).push_back('\0');
  clave.append(nombre);
  return clave;
}

/* Indexes the records appended since the last look; the first of equal keys stays. */
void pon_al_dia(indice_enlaces &indice, const lista_reg_t *tabla) {
  if (indice.tabla != tabla) {
    indice = indice_enlaces{};
    indice.tabla = tabla;
  }
  const uint32_t n = lista_reg_num_elems(tabla);
  for (; indice.indexados < n; ++indice.indexados) {
    const tablalink_t *registro = lista_reg_dame(tabla, indice.indexados);
    if (registro == nullptr || registro->ID == nullptr || registro->dominio == nullptr ||
        registro->ruta == nullptr || registro->nombre_fichero == nullptr) {
      tablalink_verifica_integridad(registro);
      continue;
    }
    indice.por_id.try_emplace(registro->ID, indice.indexados);
    indice.por_partes.try_emplace(
        clave_de_partes(registro->dominio, registro->ruta, registro->nombre_fichero),
        indice.indexados);
  }
}

std::unique_ptr<indice_enlaces> &indice_de(enlaces_pasada &enlaces, bool es_img) {
  std::unique_ptr<indice_enlaces> &indice = es_img ? enlaces.indice_img : enlaces.indice_a;
  if (!indice) indice = std::make_unique<indice_enlaces>();
  return indice;
}

}  // namespace

enlaces_pasada::enlaces_pasada() = default;
enlaces_pasada::~enlaces_pasada() = default;

char *lenguaweb_registra_link(indice_enlaces &indice, lista_reg_t *tabla, std::string_view valor) {
  std::string enlace(valor);
  char *ID = nullptr, *dominio = nullptr, *ruta = nullptr, *nombre_fichero = nullptr;
  tablalink_descompone_enlace(enlace.c_str(), &ID, &dominio, &ruta, &nombre_fichero);

  pon_al_dia(indice, tabla);
  const auto encontrado = indice.por_partes.find(clave_de_partes(dominio, ruta, nombre_fichero));
  if (encontrado != indice.por_partes.end()) {
    cad_destruye(&ID);
    ID = cad_copia(lista_reg_dame(tabla, encontrado->second)->ID);
  } else {
    // Different parts can join into the same identifier ("x/y.html" and "x|y.html", "a/"
    // and "a"): the new record then takes the first free "~2", "~3" ... after it, or the
    // references of both targets would resolve to the first.
    if (indice.por_id.count(ID) != 0) {
      std::string libre;
      for (unsigned n = 2;; ++n) {
        libre = std::string(ID) + "~" + std::to_string(n);
        if (indice.por_id.count(libre) == 0) break;
      }
      cad_destruye(&ID);
      ID = cad_copia(libre.c_str());
    }
    lista_reg_anade(tabla, tablalink_crea(ID, dominio, ruta, nombre_fichero));
    pon_al_dia(indice, tabla);
  }
  cad_destruye(&dominio);
  cad_destruye(&ruta);
  cad_destruye(&nombre_fichero);
  cad_inserta_delante(&ID, "@");
  return ID;
}

char *lenguaweb_resuelve_link(indice_enlaces &indice, const lista_reg_t *tabla,
                              std::string_view valor) {
  if (tabla != nullptr && !valor.empty()) {
    pon_al_dia(indice, tabla);
    const auto encontrado = indice.por_id.find(std::string(valor.substr(1)));
    if (encontrado != indice.por_id.end())
      return tablalink_dame_enlace(lista_reg_dame(tabla, encontrado->second));
  }
  LENGUAWEB_INFORMA("enlace != NULL");
  return nullptr;
}

bool lenguaweb_trata_link(enlaces_pasada &enlaces, bool es_img, std::string_view valor,
                          std::string *nuevo) {
  if (valor.empty() || valor[0] == '#') return false;
  char *resultado = nullptr;
  if (enlaces.preprocesar_links == CIERTO) {
    if (valor[0] == '@') return false;
    lista_reg_t *tabla = es_img ? enlaces.tabla_img_registro : enlaces.tabla_a_registro;
    if (tabla == nullptr) {
      LENGUAWEB_INFORMA("(tabla_links) != NULL");
      return false;
    }
    resultado = lenguaweb_registra_link(*indice_de(enlaces, es_img), tabla, valor);
  } else {
    if (valor[0] != '@') return false;
    resultado = lenguaweb_resuelve_link(
        *indice_de(enlaces, es_img), es_img ? enlaces.tabla_img_consulta : enlaces.tabla_a_consulta,
        valor);
    if (resultado == nullptr) return false;
  }
  nuevo->assign(resultado);
  cad_destruye(&resultado);
  return true;
}

extern "C" LENGUAWEB_API booleano lenguaweb_preprocesa_links(const lenguaweb_t *lenguaweb,
                                                             lista_reg_t *tabla_links_a,
                                                             lista_reg_t *tabla_links_img,
                                                             const char *nombre_fichero_html,
                                                             uint32_t idioma) {
  if (lenguaweb == nullptr) {
    LENGUAWEB_INFORMA("(lenguaweb) != NULL");
    return FALSO;
  }
  return lenguaweb_graba_fichero_html(lenguaweb, lenguaweb->textos, CIERTO, tabla_links_a, nullptr,
                                      tabla_links_img, nullptr, nombre_fichero_html, idioma);
}
