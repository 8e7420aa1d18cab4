// paginas.cpp - the work of each subcommand on one page.
#include "paginas.h"

#include <sys/stat.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstring>
#include <unordered_set>
#include <utility>
#include <vector>

#include "conservacion.h"
#include "idiomas.h"
#include "informes.h"
#include "marcado.h"
#include "mezcla.h"
#include "plegado.h"
#include "po.h"
#include "pseudo.h"

namespace {

#if defined(__GLIBC__)
// A block of 128 KB or more (a page, a long text, a text's translation) is mapped apart
// and goes back to the system once freed. glibc would otherwise raise that bound each
// time such a block is freed and keep the next ones in its heap, where they stay resident
// among the small blocks of a page's texts until the process ends.
[[maybe_unused]] const bool kBloquesGrandesAparte = ::mallopt(M_MMAP_THRESHOLD, 128 << 10) == 1;
#endif

// A page document with its texts, their identifiers and their origins, freed at the end
// of the scope.
struct PaginaCargada {
  lenguaweb_t *documento = nullptr;
  lista_cad_t *textos = nullptr;
  lista_cad_t *ids = nullptr;
  uint32_t idioma = 0;  // the language it was read in
  segmentacion_t segmentacion = SEGMENTACION_BLOQUES;
  OrigenesDePagina origenes;
  PaginaCargada() = default;
  PaginaCargada(const PaginaCargada &) = delete;
  PaginaCargada &operator=(const PaginaCargada &) = delete;
  ~PaginaCargada() {
    lista_cad_destruye(&textos);
    lista_cad_destruye(&ids);
    if (documento != nullptr) lenguaweb_destruye(&documento);
  }
};

// Where a page is read. One that is not a regular file (a pipe, a FIFO, a terminal) gives
// its bytes only once, and a page is read more than once (its language, its texts, its
// references): it is copied whole into the run's utilities folder first.
struct PaginaLegible {
  std::string ruta;
  bool copiada = false;
  PaginaLegible() = default;
  PaginaLegible(const PaginaLegible &) = delete;
  PaginaLegible &operator=(const PaginaLegible &) = delete;
  ~PaginaLegible() {
    if (copiada) std::remove(ruta.c_str());
  }
};

// false with the reason in *error when a page that needs a copy cannot be read or copied.
bool legible(const std::string &pagina, PaginaLegible *legible, std::string *error) {
  legible->ruta = pagina;
  struct stat datos;
  if (::stat(pagina.c_str(), &datos) != 0 || S_ISREG(datos.st_mode) || S_ISDIR(datos.st_mode))
    return true;  // a page that cannot be read is told of when it is read
  static std::atomic<uint64_t> copias{0};
  char *copia = utilidades_ruta_fichero(("pagina-" + std::to_string(copias++) + ".html").c_str());
  legible->ruta = copia;
  cad_destruye(&copia);
  fichero_memoria_t *fichero = fichero_memoria_lee(pagina.c_str());
  fichero_escritura_t *escritura =
      fichero->leido == CIERTO ? fichero_escritura_abre(legible->ruta.c_str()) : nullptr;
  legible->copiada =
      escritura != nullptr &&
      fichero_escritura_anade(escritura, fichero->contenido, fichero->longitud) == CIERTO &&
      fichero_escritura_termina(&escritura) == CIERTO;
  fichero_escritura_descarta(&escritura);
  fichero_memoria_destruye(&fichero);
  if (legible->copiada) return true;
  *error = informes_toma_fallos();
  if (error->empty()) *error = "cannot read '" + pagina + "'";
  return false;
}

// The path the library writes a page to: "-" is standard output.
std::string destino(const std::string &salida) {
  return salida == "-" ? "/dev/stdout" : salida;
}

// The language of a page: the one given, else the one its HTML tag declares, else the
// default.
uint32_t idioma_de_pagina(std::optional<uint32_t> dado, const std::string &pagina) {
  if (dado) return *dado;
  return idiomas_de_pagina(pagina).value_or(kIdiomaPorDefecto);
}

// Keeps each text's origin, and tells the reports that follow which text they concern.
void anota_origen(const origen_texto_t *origen, void *contexto) {
  po_anota_origen(origen, contexto);
  if (origen == nullptr) return;
  const OrigenTexto *dicho = static_cast<const OrigenesDePagina *>(contexto)->de(origen->indice);
  informes_pon_texto(dicho->linea, dicho->elemento, dicho->atributo, origen->indice);
}

// Tells the reports that follow which text they concern, keeping the origin of none but
// that text (the names it points into stay).
void anota_lugar(const origen_texto_t *origen, void *contexto) {
  if (origen == nullptr) return;
  origen_texto_t solo = *origen;
  solo.indice = 0;
  auto *origenes = static_cast<OrigenesDePagina *>(contexto);
  po_anota_origen(&solo, origenes);
  const OrigenTexto *dicho = origenes->de(0);
  informes_pon_texto(dicho->linea, dicho->elemento, dicho->atributo, origen->indice);
}

// Reads the page into *cargada in the calling thread's choices (the segmentation, the
// output's encoding), keeping the origins of its texts when origenes says so (a page of
// millions of texts takes tens of bytes for each). The library tells of a file it cannot
// read only through the companion's report, which the page's scope holds back: false with
// it in *error.
bool carga(const std::string &pagina, const Orden &orden, PaginaCargada *cargada,
           std::string *error, bool origenes = true) {
  opciones_pon_segmentacion(cargada->segmentacion);
  opciones_pon_salida_utf8(orden.utf8 ? CIERTO : FALSO);
  opciones_pon_no_traducir(CIERTO);
  opciones_pon_receptor_origenes(origenes ? anota_origen : anota_lugar, &cargada->origenes);
  cargada->documento = lenguaweb_crea(pagina.c_str(), cargada->idioma);
  opciones_pon_receptor_origenes(nullptr, nullptr);
  informes_pon_texto(0, {}, {});
  if (informes_hay_fallos()) {
    *error = informes_toma_fallos();
    return false;
  }
  cargada->textos = lenguaweb_dame_textos_a_trducir(cargada->documento, &cargada->ids);
  return true;
}

// A written page is done; a failed write has its reason in the companion's report.
Resultado escrita(booleano resultado, const std::string &salida, std::string *error) {
  if (resultado == CIERTO) return Resultado::hecha;
  *error = informes_toma_fallos();
  if (salida == "-")
    for (size_t i = error->find("'/dev/stdout'"); i != std::string::npos;
         i = error->find("'/dev/stdout'"))
      error->replace(i, 13, "'standard output'");
  if (error->empty()) *error = "cannot write '" + salida + "'";
  return Resultado::no_escrita;
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

// The link references of the page that no table resolves, for a message, and of them
// how many were refused as active links: the page is read again only when the library
// has reported one. A tag's reference is the value
// that the link finder gives (its SRC, else its HREF); IMG tags look in the IMG table,
// the others in the A table.
std::string sin_resolver(const std::string &pagina, const std::string &leida,
                         const TablasLinks *tablas, uint32_t cuantas, uint32_t activos) {
  constexpr size_t kMuestra = 10;
  std::unordered_set<std::string> ids_a, ids_img;
  if (tablas != nullptr)
    for (auto [lista, ids] : {std::pair{tablas->a, &ids_a}, std::pair{tablas->img, &ids_img}})
      for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i)
        ids->insert(tablas_campos(lista_reg_dame(lista, i)).id);
  std::vector<std::string> nombres;  // in page order, each once
  std::unordered_set<std::string> vistos;
  size_t mas = 0;
  fichero_memoria_t *fichero = fichero_memoria_lee(leida.c_str());
  const char *texto = fichero->contenido;
  const size_t largo = std::strlen(texto);
  uint32_t posicion = 0;
  for (bool sigue = largo > 0; sigue;) {
    const uint32_t inicio = posicion;
    uint16_t tipo = 0;
    sigue = htmlparser_lee_siguiente_tag(texto, &posicion, &tipo, nullptr) == CIERTO &&
            posicion > inicio && posicion < largo;
    if (tipo != 1 || std::memchr(texto + inicio, '@', posicion - inicio) == nullptr) continue;
    const std::string tag(texto + inicio, posicion - inicio);
    char *link = htmlparser_obtener_cualquier_link_externo(tag.c_str());
    if (link != nullptr && link[0] == '@') {
      const bool es_img = cad_empieza_por_sin_mayus(tag.c_str(), "<img") == CIERTO;
      if ((es_img ? ids_img : ids_a).count(link + 1) == 0 && vistos.insert(link).second) {
        if (nombres.size() < kMuestra)
          nombres.emplace_back(link);
        else
          ++mas;
      }
    }
    cad_destruye(&link);
  }
  fichero_memoria_destruye(&fichero);

  std::string r = pagina + ": " + std::to_string(cuantas) +
                  (cuantas == 1 ? " link reference that no link table resolves"
                                : " link references that no link table resolves") +
                  (tablas == nullptr ? " (none was given: --links)" : "") +
                  (cuantas == 1 ? ", left as it stands" : ", left as they stand");
  for (size_t i = 0; i < nombres.size(); ++i) r += (i == 0 ? ": " : ", ") + nombres[i];
  if (mas > 0) r += " and " + std::to_string(mas) + " more";
  if (activos > 0)
    r += " (" + std::to_string(activos) +
         " of them refused: the record gives a javascript:, vbscript: or data: link)";
  return r;
}

// ":12" for the line of an entry's first text, when the library told it.
std::string linea_de(const EntradaPo &entrada, const OrigenesDePagina &origenes) {
  const OrigenTexto *origen = origenes.de(entrada.indices.front());
  return origen != nullptr && origen->linea != 0 ? ":" + std::to_string(origen->linea) : "";
}

// Puts the usable translations of the page's entries in place of their texts, in the code
// page of llegada; the other texts are converted to it when its code page is not the
// page's. A translation whose tags are not its source's is named and left out; one of a
// text that holds a NUL (con_nul) is not counted, for the library writes the page's.
CuentasPo pon_traducciones(const std::string &pagina, PaginaCargada *cargada,
                           const EntradasDePagina &entradas, uint32_t llegada, bool difusas,
                           const std::vector<uint32_t> &con_nul) {
  CuentasPo cuentas;
  cuentas.entradas = static_cast<uint32_t>(entradas.entradas.size());
  const uint32_t n = lista_cad_num_elems(cargada->textos);
  std::vector<bool> traducido(n, false), sin_escribir(n, false);
  for (uint32_t i : con_nul)
    if (i < n) sin_escribir[i] = true;
  for (const EntradaPo &e : entradas.entradas) {
    if (e.traduccion.empty()) continue;
    if (e.difusa && !difusas) {
      ++cuentas.difusas;
      continue;
    }
    // The translation with each text's own markup (its codes unfolded), checked once
    // for each form of that markup among the entry's texts.
    struct Completa {
      uint32_t forma;
      std::string texto;
      bool propia;  // the page's own text: it is kept as the page has it
      char *convertida = nullptr;
    };
    std::vector<Completa> completas;
    std::vector<uint32_t> cual(e.indices.size());
    std::string motivo;
    for (size_t k = 0; k < e.indices.size() && motivo.empty(); ++k) {
      const uint32_t forma = k < e.formas.size() ? e.formas[k] : kTextoSinCodigos;
      const auto vista = std::find_if(completas.begin(), completas.end(),
                                      [forma](const Completa &c) { return c.forma == forma; });
      cual[k] = static_cast<uint32_t>(vista - completas.begin());
      if (vista != completas.end()) continue;
      std::string completo;
      std::string texto = po_traduccion_completa(entradas, e, k, &completo);
      motivo = marcado_compara(completo, texto);
      if (!motivo.empty() && forma != kTextoSinCodigos && e.del_po.empty())
        motivo = plegado_nombra_codigo(entradas.plegados[forma], std::move(motivo));
      const bool propia = texto == completo;
      completas.push_back({forma, std::move(texto), propia});
    }
    if (!motivo.empty()) {
      informes_escribe("lenguaweb: " + pagina + linea_de(e, cargada->origenes) +
                       ": the translation of " +
                       po_describe(e.del_po.empty() ? e.texto : e.del_po) +
                       " is refused, the source text kept: " + motivo);
      ++cuentas.rechazadas;
      continue;
    }
    bool nul = false;
    for (size_t k = 0; k < e.indices.size(); ++k) {
      nul = nul || sin_escribir[e.indices[k]];
      // A translation that is its source (msgen's, a name) keeps the page's own text, its
      // references as they stand.
      Completa &c = completas[cual[k]];
      if (c.propia) continue;
      if (c.convertida == nullptr) c.convertida = conv_utf8_a_ansi_html(c.texto.c_str(), llegada);
      char *propio = cad_copia(c.convertida);
      lista_cad_pon_propia(cargada->textos, e.indices[k], &propio);
      traducido[e.indices[k]] = true;
    }
    for (Completa &c : completas) cad_destruye(&c.convertida);
    ++(nul ? cuentas.con_nul : cuentas.traducidas);
  }
  if (conv_pagina_de_codigos(llegada) == conv_pagina_de_codigos(cargada->idioma)) return cuentas;
  for (uint32_t i = 0; i < n; ++i) {
    if (traducido[i]) continue;
    char *utf8 = conv_ansi_idioma_a_utf8(lista_cad_dame(cargada->textos, i), cargada->idioma);
    char *texto = conv_utf8_a_ansi_html(utf8, llegada);
    lista_cad_pon_propia(cargada->textos, i, &texto);
    cad_destruye(&utf8);
  }
  return cuentas;
}

// Takes the entries of the PO file into the page's entries that have the same msgctxt and
// msgid: those of *leidas when the file was read whole (en_flujo false); else as the
// stream reader reads them, or all at once through libgettextpo when it cannot (then what
// it took is taken again). false with the reason in *error when the file cannot be read.
// *ajeno: a msgctxt of the file that no entry of a page has.
bool toma_del_po(const std::string &po, LectorPo *lector, bool en_flujo, CabeceraPo *cabecera,
                 std::vector<EntradaPo> *leidas, EntradasDePagina *propias, std::string *ajeno,
                 std::string *error) {
  const auto toma = [&](EntradaPo &del_po) {
    EntradaPo *propia = po_busca(propias, del_po.contexto, del_po.texto);
    // An entry with an empty msgctxt gives way to one with none, which may come before it
    // or after it (and then takes the text over).
    if (propia != nullptr && propia->encontrada && po_de_contexto_vacio(del_po)) return;
    // A PO file written with the page's references, or with the markup in another form.
    if (propia == nullptr) {
      propia = po_busca_otra_forma(propias, del_po.contexto, del_po.texto, &del_po.traduccion);
      if (propia != nullptr && propia->encontrada) return;  // its own entry serves it
      if (propia != nullptr) propia->del_po = std::move(del_po.texto);
    }
    if (propia == nullptr) {
      if (!del_po.contexto.empty() && ajeno->empty()) *ajeno = del_po.contexto;
      return;
    }
    propia->encontrada = true;
    propia->traduccion = std::move(del_po.traduccion);
    propia->difusa = del_po.difusa;
  };
  EntradaPo del_po;
  if (en_flujo) {
    LecturaPo leida;
    while ((leida = po_lee_entrada(lector, &del_po)) == LecturaPo::entrada) toma(del_po);
    if (leida == LecturaPo::fin) return true;
    for (EntradaPo &e : propias->entradas) {
      e.encontrada = false;
      e.traduccion.clear();
    }
    if (!po_lee(po, cabecera, leidas, error)) return false;
  }
  for (EntradaPo &e : *leidas) toma(e);
  return true;
}

// The origins that tell which texts the page marks as not to be translated, for a page
// cut as the classic segmentation cuts it, which gives them (the block segmentation gives
// none); else null.
const OrigenesDePagina *sin_traducir_de(const PaginaCargada &cargada) {
  return cargada.segmentacion == SEGMENTACION_CLASICA ? &cargada.origenes : nullptr;
}

// A page read for its PO entries.
struct PaginaConEntradas {
  PaginaLegible leida;
  PaginaCargada cargada;
  EntradasDePagina entradas;
};

// Reads the page for its PO entries: in the language given, else its own, cut as
// segmentos says, else in blocks. false with the reason in *error.
bool carga_entradas(const std::string &pagina, std::optional<uint32_t> idioma,
                    std::optional<segmentacion_t> segmentos, FormaMarcado marcado,
                    const Orden &orden, PaginaConEntradas *p, std::string *error) {
  if (!legible(pagina, &p->leida, error)) return false;
  p->cargada.idioma = idioma_de_pagina(idioma, p->leida.ruta);
  p->cargada.segmentacion = segmentos.value_or(SEGMENTACION_BLOQUES);
  if (!carga(p->leida.ruta, orden, &p->cargada, error)) return false;
  po_entradas_de_pagina(p->cargada.textos, p->cargada.ids, p->cargada.idioma, marcado, &p->entradas,
                        sin_traducir_de(p->cargada));
  return true;
}

// What the PO file of a loaded page is written with.
PaginaPo datos_po(const std::string &pagina, const PaginaConEntradas &p,
                  std::optional<uint32_t> traduccion, const std::string &traduccion_nombre) {
  const PaginaCargada &cargada = p.cargada;
  return {.ruta = pagina,
          .idioma = cargada.idioma,
          .traduccion = traduccion,
          .traduccion_nombre = traduccion_nombre,
          .segmentos = cargada.segmentacion,
          .marcado = p.entradas.marcado,
          .origenes = &cargada.origenes,
          .ids = cargada.ids};
}

// The translations of the old PO file viejo whose msgids are the page's in another form
// (with the page's references, or the markup in the other form), put in the page's form:
// msgmerge would take such an entry for a changed text and mark it fuzzy. Written as a
// compendium into *compendio, in the run's utilities folder, only when there are any,
// and removed with it. false with the reason in *error when viejo cannot be read.
struct CompendioDeFormas {
  std::string ruta;
  CompendioDeFormas() = default;
  CompendioDeFormas(const CompendioDeFormas &) = delete;
  CompendioDeFormas &operator=(const CompendioDeFormas &) = delete;
  ~CompendioDeFormas() {
    if (!ruta.empty()) std::remove(ruta.c_str());
  }
};

bool compendio_de_formas(const std::string &viejo, EntradasDePagina *entradas,
                         CompendioDeFormas *compendio, std::string *error) {
  CabeceraPo cabecera;
  std::vector<EntradaPo> leidas, en_forma;
  if (!po_lee(viejo, &cabecera, &leidas, error)) return false;
  // Two entries in full may fold into one: the first translated serves (the others stay
  // in the file, obsolete, as msgmerge keeps what the template no longer has).
  std::unordered_set<const EntradaPo *> tomadas;
  for (EntradaPo &e : leidas) {
    if (e.traduccion.empty() || po_busca(entradas, e.contexto, e.texto) != nullptr) continue;
    const EntradaPo *propia = po_busca_otra_forma(entradas, e.contexto, e.texto, &e.traduccion);
    if (propia == nullptr || !tomadas.insert(propia).second) continue;
    e.texto = propia->texto;
    en_forma.push_back(std::move(e));
  }
  if (en_forma.empty()) return true;
  static std::atomic<uint64_t> compendios{0};
  char *ruta = utilidades_ruta_fichero(("formas-" + std::to_string(compendios++) + ".po").c_str());
  compendio->ruta = ruta;
  cad_destruye(&ruta);
  return po_graba_compendio(compendio->ruta, en_forma, error);
}

}  // namespace

Resultado paginas_extrae(const std::string &pagina, const std::string &po, const Orden &orden,
                         std::string *error) {
  switch (conservacion_antes_de_extraer(po, pagina, orden.forzar, error)) {
    case AntesDeExtraer::rechaza:
      return Resultado::fallida;
    case AntesDeExtraer::actualiza:
      return paginas_actualiza(pagina, po, po, orden, error);
    case AntesDeExtraer::escribe:
      break;
  }
  AmbitoInformes ambito(pagina);
  PaginaConEntradas p;
  if (!carga_entradas(pagina, orden.idioma, orden.segmentacion,
                      orden.marcado.value_or(FormaMarcado::codigos), orden, &p, error))
    return Resultado::fallida;
  const PaginaPo datos = datos_po(pagina, p, orden.destino, orden.destino_nombre);
  return po_graba(po, datos, p.entradas, error) ? Resultado::hecha : Resultado::no_escrita;
}

Resultado paginas_describe(const std::string &pagina, const Orden &orden,
                           std::vector<EntradaDescrita> *descritas, std::string *error) {
  AmbitoInformes ambito(pagina);
  PaginaConEntradas p;
  if (!carga_entradas(pagina, orden.idioma, orden.segmentacion,
                      orden.marcado.value_or(FormaMarcado::codigos), orden, &p, error))
    return Resultado::fallida;
  *descritas = po_describe_entradas(datos_po(pagina, p, std::nullopt, {}), p.entradas);
  return Resultado::hecha;
}

bool paginas_lee_catalogo(const std::string &po, CatalogoLeido *catalogo, std::string *error) {
  std::vector<EntradaPo> leidas;
  if (!po_lee(po, &catalogo->cabecera, &leidas, error)) return false;
  EntradasDePagina &todas = catalogo->entradas;
  for (EntradaPo &e : leidas) {
    // A msgctxt that no page gives (po_contexto_de) finds no text.
    if (!e.contexto.empty() && e.contexto != po_contexto_de("PALABRA_CLAVE")) continue;
    if (EntradaPo *ya = po_busca(&todas, e.contexto, e.texto); ya != nullptr) {
      // An entry with an empty msgctxt gives way to one with none (its msgid, the key of
      // the index, stays).
      if (po_de_contexto_vacio(*ya) && !po_de_contexto_vacio(e)) {
        ya->con_contexto = false;
        ya->traduccion = std::move(e.traduccion);
        ya->difusa = e.difusa;
      }
      continue;
    }
    EntradaPo &nueva = todas.entradas.emplace_back(std::move(e));
    const uint32_t indice = static_cast<uint32_t>(todas.entradas.size() - 1);
    todas.indice[nueva.contexto.empty() ? 0 : 1].emplace(nueva.texto, indice);
  }
  // A catalogue written before msgids held characters is found by them too.
  for (uint32_t k = 0, n = static_cast<uint32_t>(todas.entradas.size()); k < n; ++k) {
    const EntradaPo &e = todas.entradas[k];
    if (e.texto.find('&') == std::string::npos) continue;
    EntradaPo &otra = todas.entradas.emplace_back();
    otra.contexto = e.contexto;
    otra.texto = marcado_en_caracteres(e.texto);  // only the key: it leads to e
    if (!todas.indice[otra.contexto.empty() ? 0 : 1].emplace(otra.texto, k).second ||
        otra.texto == e.texto)
      todas.entradas.pop_back();
  }
  return true;
}

Resultado paginas_fusiona(const std::string &pagina, const std::string &po,
                          const std::string &salida, const Orden &orden, const TablasLinks *tablas,
                          const CatalogoLeido *catalogo, CuentasPo *cuentas, std::string *error) {
  AmbitoInformes ambito(pagina);
  ambito.cuenta_enlaces = true;
  // The header first: it says how the page was read. Its entries are taken once the page is.
  CabeceraPo cabecera = catalogo != nullptr ? catalogo->cabecera : CabeceraPo{};
  LectorPo lector;
  const LecturaPo abierto =
      catalogo != nullptr ? LecturaPo::fin : po_abre(po, &lector, &cabecera, error);
  if (abierto == LecturaPo::fallo) return Resultado::fallida;
  const bool en_flujo = abierto == LecturaPo::entrada;
  std::vector<EntradaPo> leidas;  // when libgettextpo reads the file
  if (abierto == LecturaPo::otra_forma && !po_lee(po, &cabecera, &leidas, error))
    return Resultado::fallida;
  PaginaLegible leida;
  if (!legible(pagina, &leida, error)) return Resultado::fallida;
  if (catalogo == nullptr && !orden.cualquier_pagina &&
      !conservacion_es_de_pagina(cabecera, po, pagina, error))
    return Resultado::fallida;
  PaginaCargada cargada;
  cargada.idioma = idioma_de_pagina(orden.idioma ? orden.idioma : cabecera.idioma, leida.ruta);
  cargada.segmentacion =
      orden.segmentacion.value_or(cabecera.segmentos.value_or(SEGMENTACION_BLOQUES));
  const uint32_t llegada = orden.destino.value_or(cabecera.traduccion.value_or(cargada.idioma));
  if (!carga(leida.ruta, orden, &cargada, error)) return Resultado::fallida;

  EntradasDePagina propias;
  po_entradas_de_pagina(cargada.textos, cargada.ids, cargada.idioma,
                        orden.marcado.value_or(cabecera.marcado.value_or(FormaMarcado::codigos)),
                        &propias, sin_traducir_de(cargada));
  std::string ajeno;
  if (catalogo != nullptr) {
    for (EntradaPo &propia : propias.entradas) {
      const EntradaPo *del_po = po_busca(catalogo->entradas, propia.contexto, propia.texto);
      std::string traduccion;
      if (del_po != nullptr) {
        traduccion = del_po->traduccion;
      } else if (propia.texto.find('<') != std::string::npos) {
        // A catalogue with the markup in the other form: in full for an entry with codes.
        const bool con_codigos =
            !propia.formas.empty() && propia.formas.front() != kTextoSinCodigos;
        const std::string completo =
            con_codigos ? propias.otras_formas[propia.formas.front()] : propia.texto;
        const TextoPlegado plegado = plegado_pliega(completo);
        del_po =
            po_busca(catalogo->entradas, propia.contexto, con_codigos ? completo : plegado.texto);
        if (del_po != nullptr)
          traduccion = con_codigos ? plegado_repliega(plegado, del_po->traduccion)
                                   : plegado_despliega(plegado, del_po->traduccion);
      }
      if (del_po == nullptr) continue;
      propia.encontrada = true;
      propia.traduccion = std::move(traduccion);
      propia.difusa = del_po->difusa;
    }
  } else if (!toma_del_po(po, &lector, en_flujo, &cabecera, &leidas, &propias, &ajeno, error)) {
    return Resultado::fallida;
  }
  if (catalogo == nullptr && !propias.entradas.empty() &&
      std::none_of(propias.entradas.begin(), propias.entradas.end(),
                   [](const EntradaPo &e) { return e.encontrada; })) {
    *error = po + ": not a PO file of " + pagina + ": none of its entries is a text of the page" +
             (ajeno.empty() ? ""
                            : " (msgctxt \"" + ajeno +
                                  "\": an older lenguaweb's PO file? run lenguaweb update)");
    return Resultado::fallida;
  }
  *cuentas =
      pon_traducciones(pagina, &cargada, propias, llegada, orden.difusas, ambito.textos_con_nul);

  // The page's lang names the language as the translator gave it, not only its code page.
  const std::string etiqueta =
      idiomas_etiqueta(orden.destino ? orden.destino_nombre : cabecera.traduccion_nombre);
  opciones_pon_etiqueta_html(etiqueta.empty() ? nullptr : etiqueta.c_str());
  const booleano reconstruida = lenguaweb_reconstruye_fichero_html(
      cargada.documento, cargada.textos, cargada.ids, tablas != nullptr ? tablas->a : nullptr,
      tablas != nullptr ? tablas->img : nullptr, destino(salida).c_str(), llegada);
  opciones_pon_etiqueta_html(nullptr);
  const Resultado r = escrita(reconstruida, salida, error);
  if (r != Resultado::hecha) return r;
  if (ambito.enlaces_sin_resolver > 0) {
    *error = sin_resolver(pagina, leida.ruta, tablas, ambito.enlaces_sin_resolver,
                          ambito.enlaces_activos);
    return Resultado::aviso;
  }
  return cuentas->rechazadas > 0 || cuentas->con_nul > 0 ? Resultado::aviso : Resultado::hecha;
}

Resultado paginas_actualiza(const std::string &pagina, const std::string &po,
                            const std::string &salida, const Orden &orden, std::string *error) {
  AmbitoInformes ambito(pagina);
  CabeceraPo cabecera;
  if (!po.empty() && !po_lee_cabecera(po, &cabecera, error)) return Resultado::fallida;
  if (!po.empty() && !orden.cualquier_pagina &&
      !conservacion_es_de_pagina(cabecera, po, pagina, error))
    return Resultado::fallida;
  PaginaConEntradas p;
  if (!carga_entradas(pagina, orden.idioma ? orden.idioma : cabecera.idioma,
                      orden.segmentacion ? orden.segmentacion : cabecera.segmentos,
                      orden.marcado.value_or(cabecera.marcado.value_or(FormaMarcado::codigos)),
                      orden, &p, error))
    return Resultado::fallida;
  // A new page's template is its own old file: its header names the translation's language.
  const PaginaPo datos = po.empty() ? datos_po(pagina, p, orden.destino, orden.destino_nombre)
                                    : datos_po(pagina, p, std::nullopt, {});
  CompendioDeFormas formas;
  if (!po.empty() && !compendio_de_formas(po, &p.entradas, &formas, error))
    return Resultado::fallida;
  std::vector<std::string> compendios = orden.compendios;
  if (!formas.ruta.empty()) compendios.insert(compendios.begin(), formas.ruta);
  return mezcla_actualiza(
             po,
             [&](const std::string &plantilla, std::string *motivo) {
               return po_graba(plantilla, datos, p.entradas, motivo);
             },
             compendios, salida,
             {{"X-Lenguaweb-Segments", po_nombre_segmentos(p.cargada.segmentacion)},
              {"X-Lenguaweb-Markup", po_nombre_marcado(p.entradas.marcado)}},
             error)
             ? Resultado::hecha
             : Resultado::fallida;
}

Resultado paginas_preprocesa(const std::string &pagina, const std::string &salida,
                             const Orden &orden, const TablasLinks &conocidas, TablasLinks *nuevas,
                             fichero_escritura_t **escritura, std::string *error) {
  AmbitoInformes ambito(pagina);
  PaginaLegible leida;
  if (!legible(pagina, &leida, error)) return Resultado::fallida;
  PaginaCargada cargada;
  cargada.idioma = idioma_de_pagina(orden.idioma, leida.ruta);
  cargada.segmentacion = orden.segmentacion.value_or(SEGMENTACION_BLOQUES);
  if (!carga(leida.ruta, orden, &cargada, error)) return Resultado::fallida;
  *escritura = salida == "-" ? fichero_escritura_abre_salida_estandar()
                             : fichero_escritura_abre(salida.c_str());
  if (*escritura == nullptr) return escrita(FALSO, salida, error);

  // Each page gets lists of its own over the shared records, so that pages on other
  // threads never change a list that this one reads.
  lista_reg_t *a = copia_punteros(conocidas.a);
  lista_reg_t *img = copia_punteros(conocidas.img);
  const booleano resultado = lenguaweb_preprocesa_links(
      cargada.documento, a, img, fichero_escritura_ruta(*escritura), cargada.idioma);
  traspasa(a, lista_reg_num_elems(conocidas.a), nuevas->a);
  traspasa(img, lista_reg_num_elems(conocidas.img), nuevas->img);
  lista_reg_destruye(&a);
  lista_reg_destruye(&img);
  const Resultado r = escrita(resultado, salida, error);
  if (r != Resultado::hecha) fichero_escritura_descarta(escritura);
  return r;
}

Resultado paginas_pseudotraduce(const std::string &pagina, const std::string &salida,
                                const Orden &orden, std::string *error) {
  AmbitoInformes ambito(pagina);
  PaginaLegible leida;
  if (!legible(pagina, &leida, error)) return Resultado::fallida;
  PaginaCargada cargada;
  cargada.idioma = idioma_de_pagina(orden.idioma, leida.ruta);
  cargada.segmentacion = orden.segmentacion.value_or(SEGMENTACION_BLOQUES);
  // Nothing here names a text by its origin once the page is read, but the classic
  // segmentation's origins tell which texts the page marks as not to be translated.
  if (!carga(leida.ruta, orden, &cargada, error, cargada.segmentacion == SEGMENTACION_CLASICA))
    return Resultado::fallida;
  const uint32_t llegada = orden.destino.value_or(cargada.idioma);
  std::vector<std::string> mensajes;
  // Translated in place: a text and its translation are never both held but while it is
  // made. What the page marks as not to be translated keeps the page's text.
  std::vector<bool> intocables;
  if (const OrigenesDePagina *origenes = sin_traducir_de(cargada))
    for (uint32_t i = 0; i < lista_cad_num_elems(cargada.textos); ++i)
      intocables.push_back(origenes->de(i) != nullptr && origenes->de(i)->sin_traducir);
  pseudo_traduce(cargada.textos, cargada.ids, cargada.idioma, llegada, &mensajes, intocables);
  for (const std::string &m : mensajes) informes_escribe(pagina + ": " + m + " (text engine)");
  const booleano resultado =
      lenguaweb_reconstruye_fichero_html(cargada.documento, cargada.textos, cargada.ids, nullptr,
                                         nullptr, destino(salida).c_str(), llegada);
  return escrita(resultado, salida, error);
}
