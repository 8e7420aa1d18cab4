// paginas.cpp - the work of each subcommand on one page.
#include "paginas.h"

#include <vector>

#include "argumentos.h"
#include "escritura.h"
#include "informes.h"
#include "po.h"
#include "pseudo.h"

namespace {

// A page document with its texts and their identifiers, freed at the end of the scope.
struct PaginaCargada {
  lenguaweb_t *documento = nullptr;
  lista_cad_t *textos = nullptr;
  lista_cad_t *ids = nullptr;
  PaginaCargada() = default;
  PaginaCargada(const PaginaCargada &) = delete;
  PaginaCargada &operator=(const PaginaCargada &) = delete;
  ~PaginaCargada() {
    lista_cad_destruye(&textos);
    lista_cad_destruye(&ids);
    if (documento != nullptr) lenguaweb_destruye(&documento);
  }
};

// The library reads the page itself and tells of a file it cannot read only through
// the companion's report, which the page's scope holds back.
bool carga(const std::string &pagina, uint32_t idioma, PaginaCargada *cargada, std::string *error) {
  cargada->documento = lenguaweb_crea(pagina.c_str(), idioma);
  if (informes_hay_fallos()) {
    *error = informes_toma_fallos();
    return false;
  }
  cargada->textos = lenguaweb_dame_textos_a_trducir(cargada->documento, &cargada->ids);
  return true;
}

// A written page is a success; a failed write has its reason in the companion's report.
bool escrita(booleano resultado, const std::string &salida, std::string *error) {
  if (resultado == CIERTO) return true;
  *error = informes_toma_fallos();
  if (error->empty()) *error = "cannot write '" + salida + "'";
  return false;
}

// Moves the records from index desde on of una to otra.
void traspasa(lista_reg_t *una, uint32_t desde, lista_reg_t *otra) {
  for (uint32_t i = desde; i < lista_reg_num_elems(una); ++i)
    lista_reg_anade(otra, lista_reg_dame(una, i));
}

lista_reg_t *copia_punteros(const lista_reg_t *lista) {
  lista_reg_t *copia = lista_reg_crea(0);
  for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i)
    lista_reg_anade(copia, lista_reg_dame(lista, i));
  return copia;
}

}  // namespace

bool paginas_extrae(const std::string &pagina, const std::string &po, uint32_t idioma,
                    std::string *error) {
  AmbitoInformes ambito(pagina);
  PaginaCargada cargada;
  if (!carga(pagina, idioma, &cargada, error)) return false;
  return po_graba(po, pagina, idioma, po_entradas_de_pagina(cargada.textos, cargada.ids, idioma),
                  error);
}

bool paginas_fusiona(const std::string &pagina, const std::string &po, const std::string &salida,
                     std::optional<uint32_t> idioma, std::optional<uint32_t> destino,
                     const TablasLinks *tablas, std::string *error) {
  AmbitoInformes ambito(pagina);
  DocumentoPo documento;
  if (!po_lee(po, &documento, error)) return false;
  const uint32_t origen = idioma.value_or(documento.idioma.value_or(kIdiomaPorDefecto));
  const uint32_t llegada = destino.value_or(origen);

  PaginaCargada cargada;
  if (!carga(pagina, origen, &cargada, error)) return false;
  const std::vector<EntradaPo> propias = po_entradas_de_pagina(cargada.textos, cargada.ids, origen);
  if (const std::string diferencia = po_compara(propias, documento.entradas); !diferencia.empty()) {
    *error = po + ": not the PO file of " + pagina + ": " + diferencia;
    return false;
  }

  // Texts without an entry (blank ones) or without a usable translation stay as the
  // page has them, converted only when the translation's code page is another.
  const uint32_t n = lista_cad_num_elems(cargada.textos);
  lista_cad_t *traducidos = lista_cad_crea(0);
  size_t k = 0;
  for (uint32_t i = 0; i < n; ++i) {
    const EntradaPo *propia = k < propias.size() && propias[k].indice == i ? &propias[k] : nullptr;
    const EntradaPo *del_po = propia != nullptr ? &documento.entradas[k++] : nullptr;
    char *texto;
    if (del_po != nullptr && !del_po->traduccion.empty() && !del_po->difusa)
      texto = conv_utf8_a_ansi_html(del_po->traduccion.c_str(), llegada);
    else if (propia != nullptr && llegada != origen)
      texto = conv_utf8_a_ansi_html(propia->texto.c_str(), llegada);
    else
      texto = cad_copia(lista_cad_dame(cargada.textos, i));
    lista_cad_anade_propia(traducidos, &texto);
  }
  const booleano resultado = lenguaweb_reconstruye_fichero_html(
      cargada.documento, traducidos, cargada.ids, tablas != nullptr ? tablas->a : nullptr,
      tablas != nullptr ? tablas->img : nullptr, salida.c_str(), llegada);
  lista_cad_destruye(&traducidos);
  return escrita(resultado, salida, error);
}

bool paginas_preprocesa(const std::string &pagina, const std::string &salida, uint32_t idioma,
                        const TablasLinks &conocidas, TablasLinks *nuevas, std::string *temporal,
                        std::string *error) {
  AmbitoInformes ambito(pagina);
  PaginaCargada cargada;
  if (!carga(pagina, idioma, &cargada, error)) return false;
  if (!escritura_crea_temporal(salida, temporal, error)) return false;

  // Each page gets lists of its own over the shared records, so that pages on other
  // threads never change a list that this one reads.
  lista_reg_t *a = copia_punteros(conocidas.a);
  lista_reg_t *img = copia_punteros(conocidas.img);
  const booleano resultado =
      lenguaweb_preprocesa_links(cargada.documento, a, img, temporal->c_str(), idioma);
  traspasa(a, lista_reg_num_elems(conocidas.a), nuevas->a);
  traspasa(img, lista_reg_num_elems(conocidas.img), nuevas->img);
  lista_reg_destruye(&a);
  lista_reg_destruye(&img);
  if (escrita(resultado, salida, error)) return true;
  escritura_descarta(*temporal);
  temporal->clear();
  return false;
}

bool paginas_pseudotraduce(const std::string &pagina, const std::string &salida, uint32_t idioma,
                           uint32_t destino, std::string *error) {
  AmbitoInformes ambito(pagina);
  PaginaCargada cargada;
  if (!carga(pagina, idioma, &cargada, error)) return false;
  std::vector<std::string> mensajes;
  lista_cad_t *traducidos = pseudo_traduce(cargada.textos, cargada.ids, idioma, destino, &mensajes);
  for (const std::string &m : mensajes) informes_escribe(pagina + ": " + m + " (text engine)");
  const booleano resultado = lenguaweb_reconstruye_fichero_html(
      cargada.documento, traducidos, cargada.ids, nullptr, nullptr, salida.c_str(), destino);
  lista_cad_destruye(&traducidos);
  return escrita(resultado, salida, error);
}
