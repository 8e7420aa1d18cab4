// catalogo.cpp - one PO file for a whole folder of pages.
#include "catalogo.h"

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "carpetas.h"
#include "conservacion.h"
#include "informes.h"
#include "mezcla.h"
#include "paginas.h"
#include "po.h"

namespace fs = std::filesystem;

namespace {

bool termina_en(const std::string &texto, const std::string &fin) {
  return texto.size() >= fin.size() &&
         texto.compare(texto.size() - fin.size(), fin.size(), fin) == 0;
}

int falla(const std::string &linea) {
  informes_escribe("lenguaweb: " + linea);
  return kError;
}

// The folder as a catalogue's header and references name it: without a trailing '/'.
std::string nombre_de_carpeta(const std::string &carpeta) {
  std::string nombre = carpeta;
  while (nombre.size() > 1 && nombre.back() == '/') nombre.pop_back();
  return nombre;
}

}  // namespace

bool catalogo_es(const Orden &orden) {
  std::error_code ec;
  if (!fs::is_directory(orden.pagina, ec)) return false;
  if (orden.subcomando == Subcomando::extract)
    return (termina_en(orden.salida, ".pot") || termina_en(orden.salida, ".po")) &&
           !fs::is_directory(orden.salida, ec);
  if (orden.subcomando == Subcomando::merge || orden.subcomando == Subcomando::update)
    return !orden.po.empty() && !fs::is_directory(orden.po, ec);
  return false;
}

int catalogo_escribe(const Orden &orden) {
  const std::string carpeta = nombre_de_carpeta(orden.pagina);
  const bool actualiza = orden.subcomando == Subcomando::update;
  std::string viejo = actualiza ? orden.po : std::string();
  std::string motivo;
  if (orden.salida.empty() || orden.salida == "-")
    return falla(carpeta + " is a folder: -o must name the catalogue or the output folder");
  if (!actualiza) {
    // Writing onto a catalogue that holds translations updates it, as for a page.
    switch (conservacion_antes_de_extraer(orden.salida, carpeta, orden.forzar, &motivo)) {
      case AntesDeExtraer::rechaza:
        return falla(motivo);
      case AntesDeExtraer::actualiza:
        viejo = orden.salida;
        break;
      case AntesDeExtraer::escribe:
        break;
    }
  }
  // The old catalogue says how its pages were read, unless the command line does.
  Orden leer = orden;
  if (!viejo.empty()) {
    CabeceraPo cabecera;
    if (!po_lee_cabecera(viejo, &cabecera, &motivo)) return falla(motivo);
    if (!orden.cualquier_pagina && !conservacion_es_de_pagina(cabecera, viejo, carpeta, &motivo))
      return falla(motivo);
    if (!leer.idioma) leer.idioma = cabecera.idioma;
    if (!leer.segmentacion) leer.segmentacion = cabecera.segmentos;
    if (!leer.marcado) leer.marcado = cabecera.marcado;
  }

  std::vector<fs::path> relativas;
  std::vector<std::string> ilegibles;
  if (!carpetas_busca_paginas(carpeta, fs::path(), &relativas, &ilegibles, &motivo))
    return falla(motivo);
  for (const std::string &m : ilegibles) falla(m);
  std::vector<std::string> paginas;
  for (const fs::path &relativa : relativas)
    paginas.push_back((fs::path(carpeta) / relativa).string());
  if (const std::string choque = carpetas_choques(paginas, {orden.salida}, std::string())[0];
      !choque.empty())
    return falla(choque);

  // Each page's entries join the catalogue as soon as those of the pages before it have:
  // in the order of the pages, with only the pages done out of turn held apart.
  std::vector<std::vector<EntradaDescrita>> de_cada(paginas.size());
  std::vector<bool> hecha(paginas.size(), false);
  std::mutex cerrojo;
  size_t siguiente = 0, textos = 0;
  CatalogoPo catalogo;
  const size_t fallidas = carpetas_reparte(paginas.size(), orden.trabajos, [&](size_t i) {
    std::string porque;
    std::vector<EntradaDescrita> descritas;
    const bool bien = paginas_describe(paginas[i], leer, &descritas, &porque) == Resultado::hecha;
    if (!bien && !porque.empty()) falla(porque);
    std::lock_guard<std::mutex> guarda(cerrojo);
    de_cada[i] = std::move(descritas);
    hecha[i] = true;
    for (; siguiente < paginas.size() && hecha[siguiente]; ++siguiente) {
      textos += de_cada[siguiente].size();
      po_une_al_catalogo(&catalogo, std::move(de_cada[siguiente]));
      std::vector<EntradaDescrita>().swap(de_cada[siguiente]);
    }
    return bien;
  });

  const PaginaPo cabecera{.ruta = carpeta,
                          .idioma = leer.idioma.value_or(0),
                          .traduccion = viejo.empty() ? orden.destino : std::nullopt,
                          .traduccion_nombre = viejo.empty() ? orden.destino_nombre : std::string(),
                          .segmentos = leer.segmentacion.value_or(SEGMENTACION_BLOQUES),
                          .marcado = leer.marcado.value_or(FormaMarcado::codigos)};
  const auto graba = [&](const std::string &ruta, std::string *porque) {
    return po_graba_catalogo(ruta, cabecera, catalogo, porque);
  };
  const bool escrito =
      viejo.empty()
          ? graba(orden.salida, &motivo)
          : mezcla_actualiza(viejo, graba, orden.compendios, orden.salida,
                             {{"X-Lenguaweb-Segments", po_nombre_segmentos(cabecera.segmentos)},
                              {"X-Lenguaweb-Markup", po_nombre_marcado(cabecera.marcado)}},
                             &motivo);
  if (!escrito) return falla(motivo);
  std::string linea = std::to_string(paginas.size()) +
                      (paginas.size() == 1 ? " page of " : " pages of ") + carpeta + ": " +
                      std::to_string(catalogo.entradas.size()) + " entries in " + orden.salida +
                      " (" + std::to_string(textos) + " in the pages one by one)";
  if (fallidas > 0) linea += ", " + std::to_string(fallidas) + " failed";
  if (!ilegibles.empty())
    linea += "; " + std::to_string(ilegibles.size()) +
             (ilegibles.size() == 1 ? " folder could not be read" : " folders could not be read");
  informes_escribe(linea);
  return fallidas + ilegibles.size() > 0 ? kIncompleta : kBien;
}
