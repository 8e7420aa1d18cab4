// principal.cpp - the lenguaweb command: runs a subcommand on one page or on a folder of pages.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "argumentos.h"
#include "carpetas.h"
#include "escritura.h"
#include "informes.h"
#include "paginas.h"
#include "tabla_links.h"

namespace fs = std::filesystem;

namespace {

constexpr int kBien = 0;
constexpr int kAlgunaPaginaFallo = 1;
constexpr int kError = 2;

// One page of the run and what its work left.
struct Pagina {
  std::string entrada, salida, po;
  std::string conflicto;  // why the page cannot be done, known before it is read
  std::string temporal;   // links: the written page, until the table is saved
  TablasLinks nuevas;     // links: records of targets the table lacked
  bool hecha = false;
};

// Every lenguaweb_crea rewrites "lista_html.txt" in the utilities folder: each run gets
// a folder of its own, removed at the end.
struct CarpetaUtilidades {
  std::string ruta;
  ~CarpetaUtilidades() {
    if (ruta.empty()) return;
    utilidades_pon_carpeta(nullptr);
    std::error_code ec;
    fs::remove_all(ruta, ec);
  }
};

int error(const std::string &linea) {
  informes_escribe("lenguaweb: " + linea);
  return kError;
}

bool crea_carpeta_utilidades(CarpetaUtilidades *carpeta, std::string *motivo) {
  std::error_code ec;
  std::string plantilla = (fs::temp_directory_path(ec) / "lenguaweb-XXXXXX").string();
  if (ec || ::mkdtemp(plantilla.data()) == nullptr) {
    *motivo = "cannot create a temporary folder: " +
              (ec ? ec.message() : std::system_category().message(errno));
    return false;
  }
  carpeta->ruta = plantilla;
  utilidades_pon_carpeta(plantilla.c_str());
  return true;
}

bool misma_ruta(const fs::path &a, const fs::path &b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

// The output of a single page: -o, a file in the folder that -o names, or (extract)
// the page's own path with ".po".
std::string salida_de_pagina(const Orden &orden) {
  const bool extrae = orden.subcomando == Subcomando::extract;
  if (orden.salida.empty()) return carpetas_ruta_po(orden.pagina).string();
  std::error_code ec;
  if (orden.salida == "-" || !fs::is_directory(orden.salida, ec)) return orden.salida;
  const fs::path nombre = fs::path(orden.pagina).filename();
  return (fs::path(orden.salida) / (extrae ? carpetas_ruta_po(nombre) : nombre)).string();
}

// Fills lote with the pages of a folder and their outputs; false after printing why not.
bool lote_de_carpeta(const Orden &orden, std::vector<Pagina> *lote) {
  const fs::path carpeta = orden.pagina, salida = orden.salida;
  const bool extrae = orden.subcomando == Subcomando::extract;
  if (orden.salida.empty() || orden.salida == "-") {
    error(orden.pagina + " is a folder: -o must name the output folder");
    return false;
  }
  std::error_code ec;
  if (!extrae && misma_ruta(carpeta, salida)) {
    error(orden.salida +
          ": the output folder is the folder of the pages, which it would overwrite");
    return false;
  }
  if (orden.subcomando == Subcomando::merge && !fs::is_directory(orden.po, ec)) {
    error(orden.po + ": a folder of pages needs a folder of PO files");
    return false;
  }
  fs::create_directories(salida, ec);
  if (ec || !fs::is_directory(salida, ec)) {
    error("cannot create the folder '" + orden.salida +
          "': " + (ec ? ec.message() : std::string("a file stands there")));
    return false;
  }
  std::vector<fs::path> relativas;
  std::string motivo;
  if (!carpetas_busca_paginas(carpeta, misma_ruta(carpeta, salida) ? fs::path() : salida,
                              &relativas, &motivo)) {
    error(motivo);
    return false;
  }
  std::unordered_map<std::string, std::string> duenos;  // PO file -> its page
  for (const fs::path &relativa : relativas) {
    Pagina p;
    p.entrada = (carpeta / relativa).string();
    p.salida = (salida / (extrae ? carpetas_ruta_po(relativa) : relativa)).string();
    // a.htm and a.html would share a.po.
    if (const auto [dueno, nuevo] = duenos.try_emplace(carpetas_ruta_po(relativa), p.entrada);
        !nuevo && (extrae || orden.subcomando == Subcomando::merge))
      p.conflicto = p.entrada + ": its PO file would be " + carpetas_ruta_po(relativa).string() +
                    ", which is that of " + dueno->second;
    if (orden.subcomando == Subcomando::merge)
      p.po = (fs::path(orden.po) / carpetas_ruta_po(relativa)).string();
    lote->push_back(std::move(p));
  }
  return true;
}

// Adds the new records of the pages done, in page order, to tablas; a record whose ID
// the tables already hold (another page found the same target) is dropped.
void une_nuevas(std::vector<Pagina> &lote, TablasLinks *tablas) {
  std::unordered_set<std::string> ids;
  for (const lista_reg_t *lista : {tablas->a, tablas->img})
    for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i)
      ids.insert(tablas_campos(lista_reg_dame(lista, i)).id);
  for (Pagina &p : lote) {
    if (!p.hecha) continue;
    for (auto [nuevas, destino] :
         {std::pair{p.nuevas.a, tablas->a}, std::pair{p.nuevas.img, tablas->img}}) {
      for (uint32_t i = 0; i < lista_reg_num_elems(nuevas); ++i) {
        tablalink_t *registro = lista_reg_dame(nuevas, i);
        if (ids.insert(tablas_campos(registro).id).second) {
          lista_reg_anade(destino, registro);
          lista_reg_pon(nuevas, i, nullptr);
        }
      }
    }
  }
}

int ejecuta(const Orden &orden) {
  if (orden.subcomando == Subcomando::links && !orden.lista.empty()) {
    std::string motivo;
    return tablas_lista(orden.lista, stdout, &motivo) ? kBien : error(motivo);
  }
  std::error_code ec;
  const bool es_carpeta = fs::is_directory(orden.pagina, ec);
  std::vector<Pagina> lote;
  if (es_carpeta) {
    if (!lote_de_carpeta(orden, &lote)) return kError;
  } else {
    Pagina p;
    p.entrada = orden.pagina;
    p.salida = salida_de_pagina(orden);
    p.po = orden.po;
    if (orden.subcomando == Subcomando::merge && fs::is_directory(orden.po, ec))
      p.po = (fs::path(orden.po) / carpetas_ruta_po(fs::path(orden.pagina).filename())).string();
    lote.push_back(std::move(p));
  }

  TablasLinks tablas;
  const bool con_tabla = !orden.tabla.empty();
  if (con_tabla) {
    std::string motivo;
    if (orden.subcomando == Subcomando::merge && !fs::exists(orden.tabla, ec))
      return error("cannot read '" + orden.tabla +
                   "': " + std::make_error_code(std::errc::no_such_file_or_directory).message());
    if (!tablas_carga(orden.tabla, &tablas, &motivo)) return error(motivo);
  }

  const uint32_t idioma = orden.idioma.value_or(kIdiomaPorDefecto);
  const uint32_t destino = orden.destino.value_or(idioma);
  if (orden.subcomando == Subcomando::links)
    for (Pagina &p : lote) p.nuevas = tablas_crea();

  const size_t fallidas = carpetas_reparte(lote.size(), orden.trabajos, [&](size_t i) {
    Pagina &p = lote[i];
    std::string motivo = p.conflicto;
    bool bien = motivo.empty() && (p.salida == "-" || carpetas_prepara(p.salida, &motivo));
    if (bien) switch (orden.subcomando) {
        case Subcomando::extract:
          bien = paginas_extrae(p.entrada, p.salida, idioma, &motivo);
          break;
        case Subcomando::merge:
          bien = paginas_fusiona(p.entrada, p.po, p.salida, orden.idioma, orden.destino,
                                 con_tabla ? &tablas : nullptr, &motivo);
          break;
        case Subcomando::links:
          bien = paginas_preprocesa(p.entrada, p.salida, idioma, tablas, &p.nuevas, &p.temporal,
                                    &motivo);
          break;
        case Subcomando::pseudo:
          bien = paginas_pseudotraduce(p.entrada, p.salida, idioma, destino, &motivo);
          break;
      }
    if (!bien) error(motivo);
    p.hecha = bien;
    return bien;
  });

  size_t no_colocadas = 0;
  int estado = kBien;
  if (orden.subcomando == Subcomando::links) {
    // The table is saved before any page that refers to its records is put in place,
    // and not at all when no page was done.
    une_nuevas(lote, &tablas);
    std::string motivo;
    const bool guardada = fallidas < lote.size() && tablas_graba(orden.tabla, tablas, &motivo);
    if (!guardada && !motivo.empty()) estado = error(motivo);
    for (Pagina &p : lote) {
      if (!guardada) {
        escritura_descarta(p.temporal);
      } else if (p.hecha && !escritura_coloca(p.temporal, p.salida, &motivo)) {
        error(motivo);
        p.hecha = false;
        ++no_colocadas;
      }
      tablas_destruye(&p.nuevas);
    }
  }
  if (con_tabla) tablas_destruye(&tablas);

  const size_t malas = fallidas + no_colocadas;
  if (estado == kBien && es_carpeta) {
    std::printf("%zu page%s of %s: %zu written under %s", lote.size(), lote.size() == 1 ? "" : "s",
                orden.pagina.c_str(), lote.size() - malas, orden.salida.c_str());
    if (malas > 0) std::printf(", %zu failed", malas);
    std::printf("\n");
    std::fflush(stdout);
  }
  if (estado != kBien) return estado;
  if (malas == 0) return kBien;
  return es_carpeta ? kAlgunaPaginaFallo : kError;
}

}  // namespace

int main(int argc, char **argv) {
  Orden orden;
  if (const int estado = argumentos_lee(argc, argv, &orden); estado >= 0) return estado;
  informes_instala(orden.detallado);
  CarpetaUtilidades utilidades;
  std::string motivo;
  if (!crea_carpeta_utilidades(&utilidades, &motivo)) return error(motivo);
  return ejecuta(orden);
}
