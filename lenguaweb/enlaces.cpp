/* enlaces.cpp - link values turned into link references and back, through the host's link tables.
 */
#include "lenguaweb/enlaces.h"

#include <unordered_map>

#include "lenguaweb/enlace_activo.h"
#include "lenguaweb/escape.h"
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
  const std::string enlace(valor);
  char *partes[4] = {};
  tablalink_descompone_enlace(enlace.c_str(), &partes[0], &partes[1], &partes[2], &partes[3]);
  cad_propia ID(partes[0]);
  const cad_propia dominio(partes[1]), ruta(partes[2]), nombre_fichero(partes[3]);

  // The record's parts keep no more than the splitting reads: a link that they would give
  // back with other bytes (a query or a place after an undotted last component, a host
  // without its "/", the scheme in capitals, a character the rebuild writes as a
  // reference) stays in the page.
  const cad_propia rehecho(tablalink_une_enlace(dominio.get(), ruta.get(), nombre_fichero.get()));
  std::string escrito;
  lenguaweb_escribe_valor(escrito, rehecho.get(), true, 0);
  if (escrito != valor) return nullptr;

  pon_al_dia(indice, tabla);
  const auto encontrado =
      indice.por_partes.find(clave_de_partes(dominio.get(), ruta.get(), nombre_fichero.get()));
  if (encontrado != indice.por_partes.end()) {
    ID.reset(cad_copia(lista_reg_dame(tabla, encontrado->second)->ID));
    // A reference resolves to the first record of its identifier: when a table holds
    // another target's record under it first, this one cannot be named.
    if (indice.por_id.at(ID.get()) != encontrado->second) return nullptr;
  } else {
    // Different parts can join into the same identifier ("x/y.html" and "x|y.html", "a/"
    // and "a"): the new record then takes the first free "~2", "~3" ... after it, or the
    // references of both targets would resolve to the first.
    if (indice.por_id.count(ID.get()) != 0) {
      std::string libre;
      for (unsigned n = 2;; ++n) {
        libre = std::string(ID.get()) + "~" + std::to_string(n);
        if (indice.por_id.count(libre) == 0) break;
      }
      ID.reset(cad_copia(libre.c_str()));
    }
    lista_reg_anade(tabla,
                    tablalink_crea(ID.get(), dominio.get(), ruta.get(), nombre_fichero.get()));
    pon_al_dia(indice, tabla);
  }
  char *referencia = ID.release();
  cad_inserta_delante(&referencia, "@");
  return referencia;
}

char *lenguaweb_resuelve_link(indice_enlaces &indice, const lista_reg_t *tabla,
                              std::string_view valor) {
  if (tabla != nullptr && !valor.empty()) {
    pon_al_dia(indice, tabla);
    const auto encontrado = indice.por_id.find(std::string(valor.substr(1)));
    if (encontrado != indice.por_id.end())
      return tablalink_dame_enlace(lista_reg_dame(tabla, encontrado->second));
  }
  informa_en(kModuloLenguaweb, "enlace != NULL");
  return nullptr;
}

bool lenguaweb_trata_link(enlaces_pasada &enlaces, bool es_img, std::string_view valor,
                          bool entre_comillas, std::string *nuevo) {
  if (valor.empty() || valor[0] == '#') return false;
  cad_propia resultado;
  if (enlaces.preprocesar_links == CIERTO) {
    // What a table could not give back as the page had it stays in the page: an active
    // link, and a link or reference that holds a character that would end or change the
    // value (its own bytes are written back, for the page to be read again alike), or a
    // NUL, which would end the record's texts and lose the rest of the value.
    constexpr std::string_view kNoVanEnReferencia("\"'<>\0", 5);
    if (valor[0] == '@' || valor.find_first_of(kNoVanEnReferencia) != std::string_view::npos ||
        lenguaweb_es_enlace_activo(valor))
      return false;
    lista_reg_t *tabla = es_img ? enlaces.tabla_img_registro : enlaces.tabla_a_registro;
    if (informa_si_falta(kModuloLenguaweb, tabla, "(tabla_links) != NULL")) return false;
    resultado.reset(lenguaweb_registra_link(*indice_de(enlaces, es_img), tabla, valor));
    if (!resultado) return false;
    const std::string_view referencia(resultado.get());
    if (referencia.find_first_of(kNoVanEnReferencia) != std::string_view::npos) return false;
    const std::string comilla(entre_comillas ? 0 : 1,
                              lenguaweb_comilla_de_valor(enlaces.comilla_vedada));
    nuevo->assign(comilla).append(referencia).append(comilla);
    return true;
  }
  if (valor[0] != '@') return false;
  resultado.reset(lenguaweb_resuelve_link(
      *indice_de(enlaces, es_img), es_img ? enlaces.tabla_img_consulta : enlaces.tabla_a_consulta,
      valor));
  if (!resultado) return false;
  const std::string_view enlace(resultado.get());
  if (lenguaweb_es_enlace_activo(enlace)) {
    informa_en(kModuloLenguaweb, "!lenguaweb_es_enlace_activo(enlace)");
    return false;
  }
  nuevo->clear();
  lenguaweb_escribe_valor(*nuevo, enlace, entre_comillas, enlaces.comilla_vedada);
  return true;
}
