// principal.cpp - the lenguaweb command: runs a subcommand on one page or on a folder of pages.
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "argumentos.h"
#include "carpetas.h"
#include "catalogo.h"
#include "conservacion.h"
#include "informes.h"
#include "paginas.h"
#include "po.h"
#include "revisa.h"
#include "salida.h"
#include "sitio.h"
#include "tabla_links.h"

namespace fs = std::filesystem;

namespace {

// One page of the run and what its work left.
struct Pagina {
  std::string entrada, salida, po;
  std::string conflicto;                     // why the page cannot be done, known before it is read
  fichero_escritura_t *escritura = nullptr;  // links: the written page, until the table is saved
  TablasLinks nuevas;                        // links: records of targets the table lacked
  Resultado resultado = Resultado::fallida;
  CuentasPo cuentas;    // merge: the page's entries
  bool sin_po = false;  // a folder's page without a PO file: merge copies it, update starts it
};

// What a run keeps on disk until it ends besides the writers' temporary files (the
// companion knows those): removed as well when a signal ends the run.
struct Restos {
  std::mutex cerrojo;
  std::string utilidades;     // the run's utilities folder
  std::string cerrojo_tabla;  // the lock file of a link table, while this run holds it
};

// Never destroyed: the signal watcher may need it until the process is gone.
Restos &restos() {
  static Restos *r = new Restos;
  return *r;
}

// Every lenguaweb_crea rewrites "lista_html.txt" in the utilities folder: each run gets
// a folder of its own, removed at the end.
struct CarpetaUtilidades {
  std::string ruta;
  ~CarpetaUtilidades() {
    if (ruta.empty()) return;
    utilidades_pon_carpeta(nullptr);
    {
      std::lock_guard<std::mutex> guarda(restos().cerrojo);
      restos().utilidades.clear();
    }
    std::error_code ec;
    fs::remove_all(ruta, ec);
  }
};

// A table's lock, known to the signal watcher while it is held.
struct CerrojoAnotado {
  CerrojoTabla cerrojo;
  ~CerrojoAnotado() {
    std::lock_guard<std::mutex> guarda(restos().cerrojo);
    restos().cerrojo_tabla.clear();  // before the lock goes: another run's file may take its path
  }
};

// The signals that end a process are blocked in every thread and taken here: the run's
// temporary files, utilities folder and table lock are removed, and the process ends by
// the same signal, as it would have without the watcher.
void vigila_senales(sigset_t senales) {
  int senal = 0;
  if (::sigwait(&senales, &senal) != 0) return;
  fichero_temporales_borra();
  {
    std::lock_guard<std::mutex> guarda(restos().cerrojo);
    std::error_code ec;
    if (!restos().utilidades.empty()) fs::remove_all(restos().utilidades, ec);
    if (!restos().cerrojo_tabla.empty()) ::unlink(restos().cerrojo_tabla.c_str());
    std::signal(senal, SIG_DFL);
    ::pthread_sigmask(SIG_UNBLOCK, &senales, nullptr);
    std::raise(senal);
  }
}

int error(const std::string &linea) {
  informes_escribe("lenguaweb: " + linea);
  return kError;
}

bool crea_carpeta_utilidades(CarpetaUtilidades *carpeta, std::string *motivo) {
  std::error_code ec;
  std::string plantilla = (fs::temp_directory_path(ec) / "lenguaweb-XXXXXX").string();
  std::lock_guard<std::mutex> guarda(restos().cerrojo);
  if (ec || ::mkdtemp(plantilla.data()) == nullptr) {
    *motivo = "cannot create a temporary folder: " +
              (ec ? ec.message() : std::system_category().message(errno));
    return false;
  }
  carpeta->ruta = plantilla;
  restos().utilidades = plantilla;
  utilidades_pon_carpeta(plantilla.c_str());
  return true;
}

// Whether the subcommand writes PO files rather than pages.
bool da_po(const Orden &orden) {
  return orden.subcomando == Subcomando::extract || orden.subcomando == Subcomando::update;
}

// Whether the subcommand reads a PO file (or a folder of them) for each page.
bool lee_po(const Orden &orden) {
  return orden.subcomando == Subcomando::merge || orden.subcomando == Subcomando::update;
}

// The file that the subcommand writes for a page at relativa: extract a template, update
// a PO file, the others a page.
fs::path salida_para(const Orden &orden, const fs::path &relativa) {
  if (orden.subcomando == Subcomando::extract) return conservacion_ruta_plantilla(relativa);
  return orden.subcomando == Subcomando::update ? carpetas_ruta_po(relativa) : relativa;
}

// The output of a single page: -o, a file in the folder that -o names, or (extract)
// the page's own path with ".pot".
std::string salida_de_pagina(const Orden &orden) {
  if (orden.salida.empty()) return conservacion_ruta_plantilla(orden.pagina).string();
  std::error_code ec;
  if (orden.salida == "-" || !fs::is_directory(orden.salida, ec)) return orden.salida;
  return (fs::path(orden.salida) / salida_para(orden, fs::path(orden.pagina).filename())).string();
}

// Fills lote with the pages of a folder and their outputs, and ilegibles with the
// subfolders that cannot be read; false after printing why not.
bool lote_de_carpeta(const Orden &orden, std::vector<Pagina> *lote,
                     std::vector<std::string> *ilegibles) {
  const fs::path carpeta = orden.pagina, salida = orden.salida;
  const bool extrae = da_po(orden);
  if (orden.salida.empty() || orden.salida == "-") {
    error(orden.pagina + " is a folder: -o must name the output folder");
    return false;
  }
  std::error_code ec;
  if (!extrae && fs::equivalent(carpeta, salida, ec)) {
    error(orden.salida +
          ": the output folder is the folder of the pages, which it would overwrite");
    return false;
  }
  const bool catalogo = catalogo_es(orden);
  if (lee_po(orden) && !catalogo && !fs::is_directory(orden.po, ec)) {
    error(orden.po + ": a folder of pages needs a folder of PO files, or one PO file for all");
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
  if (!carpetas_busca_paginas(carpeta, fs::equivalent(carpeta, salida, ec) ? fs::path() : salida,
                              &relativas, ilegibles, &motivo)) {
    error(motivo);
    return false;
  }
  std::unordered_map<std::string, std::string> duenos;  // PO file -> its page
  for (const fs::path &relativa : relativas) {
    Pagina p;
    p.entrada = (carpeta / relativa).string();
    p.salida = (salida / salida_para(orden, relativa)).string();
    // a.htm and a.html would share a.po.
    const fs::path propio = orden.subcomando == Subcomando::extract
                                ? conservacion_ruta_plantilla(relativa)
                                : carpetas_ruta_po(relativa);
    if (const auto [dueno, nuevo] = duenos.try_emplace(propio, p.entrada);
        !nuevo && (extrae || lee_po(orden)))
      p.conflicto = p.entrada + ": its PO file would be " + propio.string() +
                    ", which is that of " + dueno->second;
    if (lee_po(orden) && catalogo) {
      p.po = orden.po;
    } else if (lee_po(orden)) {
      p.po = (fs::path(orden.po) / carpetas_ruta_po(relativa)).string();
      p.sin_po = !fs::exists(p.po, ec);
    }
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
    if (p.resultado != Resultado::hecha) continue;
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

// Saves the table with the records of the pages done, and only then puts those pages in
// place; false when the table cannot be saved (then no page is put in place).
bool guarda_tabla_y_coloca(const Orden &orden, std::vector<Pagina> &lote, TablasLinks *tablas) {
  une_nuevas(lote, tablas);
  bool guardada = true;
  std::string motivo;
  if (std::any_of(lote.begin(), lote.end(),
                  [](const Pagina &p) { return p.resultado == Resultado::hecha; })) {
    guardada = tablas_graba(orden.tabla, *tablas, &motivo);
    if (!guardada) error(motivo);
  }
  for (Pagina &p : lote) {
    if (p.escritura != nullptr && !guardada) {
      fichero_escritura_descarta(&p.escritura);
      p.resultado = Resultado::no_escrita;
    } else if (p.escritura != nullptr) {
      AmbitoInformes ambito(p.salida);
      if (fichero_escritura_termina(&p.escritura) != CIERTO) {
        const std::string fallo = informes_toma_fallos();
        error(fallo.empty() ? "cannot write '" + p.salida + "'" : fallo);
        p.resultado = Resultado::no_escrita;
      }
    }
    tablas_destruye(&p.nuevas);
  }
  return guardada;
}

// Runs the subcommand on one page; the page's outcome in p.resultado.
void trabaja(const Orden &orden, const TablasLinks *tablas, const CatalogoLeido *catalogo,
             Pagina &p) {
  std::string motivo = p.conflicto;
  if (!motivo.empty() || (p.salida != "-" && !carpetas_prepara(p.salida, &motivo))) {
    p.resultado = Resultado::fallida;
  } else {
    switch (orden.subcomando) {
      case Subcomando::extract:
        p.resultado = paginas_extrae(p.entrada, p.salida, orden, &motivo);
        break;
      case Subcomando::merge:
        if (p.sin_po) {
          p.resultado = sitio_copia_pagina(p.entrada, p.salida, &motivo) ? Resultado::hecha
                                                                         : Resultado::no_escrita;
          break;
        }
        p.resultado = paginas_fusiona(p.entrada, p.po, p.salida, orden, tablas, catalogo,
                                      &p.cuentas, &motivo);
        break;
      case Subcomando::update:
        // A new page starts from its template, and from the compendia when there are some.
        if (p.sin_po && orden.compendios.empty()) {
          p.resultado = paginas_extrae(p.entrada, p.salida, orden, &motivo);
          break;
        }
        p.resultado = paginas_actualiza(p.entrada, p.sin_po ? "" : p.po, p.salida, orden, &motivo);
        break;
      case Subcomando::links:
        p.resultado = paginas_preprocesa(p.entrada, p.salida, orden, *tablas, &p.nuevas,
                                         &p.escritura, &motivo);
        break;
      case Subcomando::pseudo:
        p.resultado = paginas_pseudotraduce(p.entrada, p.salida, orden, &motivo);
        break;
      case Subcomando::check:  // runs on its own, before any page (revisa.h)
        break;
    }
  }
  if (p.resultado != Resultado::hecha && !motivo.empty()) error(motivo);
}

// "4 pages of sitio: 3 written under fuera, 1 failed" on standard error, with the
// entries that a merge translated.
void resume(const Orden &orden, size_t paginas, size_t escritas, size_t incompletas,
            size_t fallidas, size_t ilegibles, const CuentasPo &cuentas, const std::string &mas) {
  std::string linea = std::to_string(paginas) + (paginas == 1 ? " page of " : " pages of ") +
                      orden.pagina + ": " + std::to_string(escritas) + " written under " +
                      orden.salida;
  if (incompletas > 0) linea += ", " + std::to_string(incompletas) + " of them incomplete";
  if (fallidas > 0) linea += ", " + std::to_string(fallidas) + " failed";
  if (ilegibles > 0)
    linea += "; " + std::to_string(ilegibles) +
             (ilegibles == 1 ? " folder could not be read" : " folders could not be read");
  if (orden.subcomando == Subcomando::merge) linea += "; " + resumen_cuentas(cuentas);
  informes_escribe(linea + mas);
}

// "a, b and 3 more": a sample of names for a summary line.
std::string nombres(const std::vector<std::string> &lista) {
  constexpr size_t kMuestra = 5;
  std::string r;
  for (size_t i = 0; i < lista.size() && i < kMuestra; ++i) r += (i == 0 ? "" : ", ") + lista[i];
  if (lista.size() > kMuestra) r += " and " + std::to_string(lista.size() - kMuestra) + " more";
  return r;
}

// The other files of a folder that a merge puts in place beside its pages, and how
// many of them could not be (each named on standard error).
struct Recursos {
  size_t puestos = 0, fallidos = 0;
};

Recursos copia_recursos(const Orden &orden) {
  std::vector<std::string> fallos;
  // The output folder, when it lies inside the pages' folder, is not copied into itself.
  const size_t puestos = sitio_copia_recursos(orden.pagina, orden.salida, orden.salida, &fallos);
  for (const std::string &f : fallos) error(f);
  return {.puestos = puestos, .fallidos = fallos.size()};
}

// What a folder's run did besides its pages, for the end of its summary: the pages that
// a merge copied for want of a PO file and the other files it put in place; the PO files
// that an update started from their pages and those it kept whose pages are gone.
std::string lo_demas_del_sitio(const Orden &orden, const std::vector<Pagina> &lote,
                               const Recursos &recursos) {
  if (orden.subcomando != Subcomando::merge && orden.subcomando != Subcomando::update) return {};
  std::vector<std::string> sin_po;
  std::unordered_set<std::string> propios;
  for (const Pagina &p : lote) {
    if (p.sin_po && p.resultado == Resultado::hecha)
      sin_po.push_back(orden.subcomando == Subcomando::merge ? p.entrada : p.salida);
    propios.insert(fs::path(p.po).lexically_relative(orden.po).string());
  }
  std::string mas;
  if (!sin_po.empty())
    mas += "; " + std::to_string(sin_po.size()) +
           (orden.subcomando == Subcomando::merge
                ? (sin_po.size() == 1 ? " page without a PO file copied as it is: "
                                      : " pages without a PO file copied as they are: ")
                : (sin_po.size() == 1 ? " new page's PO file started from the page: "
                                      : " new pages' PO files started from the pages: ")) +
           nombres(sin_po);
  if (orden.subcomando == Subcomando::update) {
    std::vector<std::string> huerfanos;
    for (const fs::path &po : sitio_po_sin_pagina(orden.po, propios))
      huerfanos.push_back((fs::path(orden.po) / po).string());
    if (!huerfanos.empty())
      mas += "; " + std::to_string(huerfanos.size()) +
             (huerfanos.size() == 1 ? " PO file kept whose page is gone: "
                                    : " PO files kept whose pages are gone: ") +
             nombres(huerfanos);
  } else if (!orden.solo_paginas) {
    mas += "; " + std::to_string(recursos.puestos) +
           (recursos.puestos == 1 ? " other file" : " other files") + " linked or copied";
    if (recursos.fallidos > 0) mas += ", " + std::to_string(recursos.fallidos) + " failed";
  }
  return mas;
}

int lista_tabla(const Orden &orden) {
  Salida salida;
  std::string motivo;
  if (!salida_abre(&salida, "-", &motivo) || !tablas_lista(orden.lista, &salida, &motivo) ||
      !salida_termina(&salida, &motivo))
    return error(motivo);
  return kBien;
}

int ejecuta(const Orden &orden) {
  if (orden.subcomando == Subcomando::links && !orden.lista.empty()) return lista_tabla(orden);
  std::error_code ec;
  const bool es_carpeta = fs::is_directory(orden.pagina, ec);
  const bool catalogo = es_carpeta && catalogo_es(orden);
  if (catalogo && orden.subcomando != Subcomando::merge) return catalogo_escribe(orden);
  // A merge's catalogue is read once, for every page.
  CatalogoLeido leido;
  if (catalogo) {
    std::string motivo;
    if (!paginas_lee_catalogo(orden.po, &leido, &motivo)) return error(motivo);
    std::string carpeta = orden.pagina;
    while (carpeta.size() > 1 && carpeta.back() == '/') carpeta.pop_back();
    if (!orden.cualquier_pagina &&
        !conservacion_es_de_pagina(leido.cabecera, orden.po, carpeta, &motivo))
      return error(motivo);
  }
  std::vector<Pagina> lote;
  std::vector<std::string> ilegibles;
  if (es_carpeta) {
    if (!lote_de_carpeta(orden, &lote, &ilegibles)) return kError;
  } else {
    Pagina p;
    p.entrada = orden.pagina;
    p.salida = salida_de_pagina(orden);
    p.po = orden.po;
    if (lee_po(orden) && fs::is_directory(orden.po, ec))
      p.po = (fs::path(orden.po) / carpetas_ruta_po(fs::path(orden.pagina).filename())).string();
    lote.push_back(std::move(p));
  }
  // No output overwrites a file that the run reads, its own input or another page's.
  std::vector<std::string> entradas = {orden.tabla}, salidas;
  for (const Pagina &p : lote) {
    // update may write over its old PO file, as msgmerge -U does: it is replaced whole.
    entradas.insert(entradas.end(),
                    {p.entrada, orden.subcomando == Subcomando::update ? std::string() : p.po});
    salidas.push_back(p.salida);
  }
  const std::vector<std::string> choques =
      carpetas_choques(entradas, salidas, es_carpeta ? orden.salida : std::string());
  for (size_t i = 0; i < lote.size(); ++i)
    if (lote[i].conflicto.empty()) lote[i].conflicto = choques[i];
  if (!es_carpeta && !lote[0].conflicto.empty()) return error(lote[0].conflicto);
  for (const std::string &motivo : ilegibles) error(motivo);

  // A run that adds records holds the table's lock from reading it to saving it.
  const bool enlaces = orden.subcomando == Subcomando::links;
  CerrojoAnotado cerrojo;
  TablasLinks tablas;
  const bool con_tabla = !orden.tabla.empty();
  if (con_tabla) {
    std::string motivo;
    if (enlaces) {
      if (!tablas_bloquea(orden.tabla, &cerrojo.cerrojo, &motivo)) return error(motivo);
      std::lock_guard<std::mutex> guarda(restos().cerrojo);
      restos().cerrojo_tabla = cerrojo.cerrojo.ruta;
    }
    if (orden.subcomando == Subcomando::merge && !fs::exists(orden.tabla, ec))
      return error("cannot read '" + orden.tabla +
                   "': " + std::make_error_code(std::errc::no_such_file_or_directory).message());
    if (!tablas_carga(orden.tabla, &tablas, &motivo)) return error(motivo);
  }
  if (enlaces)
    for (Pagina &p : lote) p.nuevas = tablas_crea();

  carpetas_reparte(lote.size(), orden.trabajos, [&](size_t i) {
    trabaja(orden, con_tabla ? &tablas : nullptr, catalogo ? &leido : nullptr, lote[i]);
    return lote[i].resultado == Resultado::hecha;
  });
  bool escritura_fallida = enlaces && !guarda_tabla_y_coloca(orden, lote, &tablas);
  if (con_tabla) tablas_destruye(&tablas);
  Recursos recursos;
  if (es_carpeta && orden.subcomando == Subcomando::merge && !orden.solo_paginas) {
    recursos = copia_recursos(orden);
    escritura_fallida |= recursos.fallidos > 0;  // an output not written, as a page's
  }

  size_t escritas = 0, incompletas = 0, fallidas = 0;
  for (const Pagina &p : lote) {
    escritas += p.resultado == Resultado::hecha || p.resultado == Resultado::aviso;
    incompletas += p.resultado == Resultado::aviso;
    fallidas += p.resultado == Resultado::fallida || p.resultado == Resultado::no_escrita;
    escritura_fallida |= p.resultado == Resultado::no_escrita;
  }
  CuentasPo total;
  for (const Pagina &p : lote) {
    if (p.resultado != Resultado::hecha && p.resultado != Resultado::aviso) continue;
    if (orden.subcomando == Subcomando::merge && (orden.detallado || !es_carpeta))
      informes_escribe(p.entrada + ": " + resumen_cuentas(p.cuentas));
    total.entradas += p.cuentas.entradas;
    total.traducidas += p.cuentas.traducidas;
    total.difusas += p.cuentas.difusas;
    total.rechazadas += p.cuentas.rechazadas;
    total.con_nul += p.cuentas.con_nul;
  }
  if (es_carpeta)
    resume(orden, lote.size(), escritas, incompletas, fallidas, ilegibles.size(), total,
           lo_demas_del_sitio(orden, lote, recursos));
  if (escritura_fallida || (!es_carpeta && fallidas > 0)) return kError;
  return incompletas + fallidas + ilegibles.size() > 0 ? kIncompleta : kBien;
}

}  // namespace

int main(int argc, char **argv) {
  salida_reserva_descriptores();
  // A file past the size limit is a failed write (EFBIG) like any other.
  std::signal(SIGXFSZ, SIG_IGN);
  sigset_t senales;
  sigemptyset(&senales);
  // Every signal that ends a process and may come from outside. A write to a closed pipe
  // blocks SIGPIPE in its own thread and fails with EPIPE instead.
  for (int senal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2, SIGVTALRM,
                    SIGPROF, SIGXCPU})
    sigaddset(&senales, senal);
  // Before any other thread: every thread made later inherits the mask.
  ::pthread_sigmask(SIG_BLOCK, &senales, nullptr);
  std::thread(vigila_senales, senales).detach();

  informes_instala(false);  // the command line's own output may fail and be reported
  Orden orden;
  if (const int estado = argumentos_lee(argc, argv, &orden); estado >= 0) return estado;
  informes_instala(orden.detallado);
  if (orden.subcomando == Subcomando::check) return revisa_ejecuta(orden);
  CarpetaUtilidades utilidades;
  std::string motivo;
  if (!crea_carpeta_utilidades(&utilidades, &motivo)) return error(motivo);
  // Each compendium is read once: msgmerge takes a copy without a byte order mark, for
  // every page.
  std::vector<PoSinMarca> compendios(orden.compendios.size());
  for (size_t i = 0; i < compendios.size(); ++i) {
    if (!po_sin_marca(orden.compendios[i], &compendios[i], &motivo)) return error(motivo);
    compendios[i].bytes = std::string();
    orden.compendios[i] = compendios[i].ruta();
  }
  return ejecuta(orden);
}
