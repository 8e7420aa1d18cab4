// paginas.cpp - the work of each subcommand on one page.
#include "paginas.h"

#include <cstring>
#include <unordered_set>
#include <vector>

#include "idiomas.h"
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

// Takes the document's texts (again, after a list was changed).
void toma_textos(PaginaCargada *cargada) {
  lista_cad_destruye(&cargada->textos);
  lista_cad_destruye(&cargada->ids);
  cargada->textos = lenguaweb_dame_textos_a_trducir(cargada->documento, &cargada->ids);
}

// The library reads the page itself and tells of a file it cannot read only through
// the companion's report, which the page's scope holds back.
bool carga(const std::string &pagina, uint32_t idioma, PaginaCargada *cargada, std::string *error) {
  cargada->documento = lenguaweb_crea(pagina.c_str(), idioma);
  if (informes_hay_fallos()) {
    *error = informes_toma_fallos();
    return false;
  }
  toma_textos(cargada);
  return true;
}

// A written page is done; a failed write has its reason in the companion's report.
Resultado escrita(booleano resultado, const std::string &salida, std::string *error) {
  if (resultado == CIERTO) return Resultado::hecha;
  *error = informes_toma_fallos();
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

// Puts in the place of the page's text the translation of its entry, in the code page of
// llegada. A text without a usable translation stays as the page has it, converted only
// when the translation's code page is another.
void pon_traduccion(lista_cad_t *textos, const EntradaPo &propia, const EntradaPo &del_po,
                    uint32_t origen, uint32_t llegada) {
  char *texto = nullptr;
  if (!del_po.traduccion.empty() && !del_po.difusa)
    texto = conv_utf8_a_ansi_html(del_po.traduccion.c_str(), llegada);
  else if (llegada != origen)
    texto = conv_utf8_a_ansi_html(propia.texto.c_str(), llegada);
  if (texto != nullptr) lista_cad_pon_propia(textos, propia.indice, &texto);
}

// Puts the translations in as the PO file is read, each entry checked against the page's.
// false when the file must be read whole instead (its entries are not the page's, or it
// has a form that the stream reader leaves to libgettextpo): some texts are then changed.
bool traduce_en_flujo(LectorPo *lector, PaginaCargada *cargada, uint32_t origen, uint32_t llegada) {
  EntradasDePagina propias{.textos = cargada->textos, .ids = cargada->ids, .idioma = origen};
  EntradaPo propia, del_po;
  while (po_siguiente_de_pagina(&propias, &propia)) {
    if (po_lee_entrada(lector, &del_po) != LecturaPo::entrada ||
        del_po.contexto != propia.contexto || del_po.texto != propia.texto)
      return false;
    pon_traduccion(cargada->textos, propia, del_po, origen, llegada);
  }
  return po_lee_entrada(lector, &del_po) == LecturaPo::fin;
}

// The link references of the page that no table resolves, for a message: the page is
// read again only when the library has reported one. A tag's reference is the value
// that the link finder gives (its SRC, else its HREF); IMG tags look in the IMG table,
// the others in the A table.
std::string sin_resolver(const std::string &pagina, const TablasLinks *tablas, uint32_t cuantas) {
  constexpr size_t kMuestra = 10;
  std::unordered_set<std::string> ids_a, ids_img;
  if (tablas != nullptr)
    for (auto [lista, ids] : {std::pair{tablas->a, &ids_a}, std::pair{tablas->img, &ids_img}})
      for (uint32_t i = 0; i < lista_reg_num_elems(lista); ++i)
        ids->insert(tablas_campos(lista_reg_dame(lista, i)).id);
  std::vector<std::string> nombres;  // in page order, each once
  std::unordered_set<std::string> vistos;
  size_t mas = 0;
  fichero_memoria_t *fichero = fichero_memoria_lee(pagina.c_str());
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
  return r;
}

}  // namespace

Resultado paginas_extrae(const std::string &pagina, const std::string &po, uint32_t idioma,
                         std::string *error) {
  AmbitoInformes ambito(pagina);
  PaginaCargada cargada;
  if (!carga(pagina, idioma, &cargada, error)) return Resultado::fallida;
  return po_graba(po, pagina, idioma, cargada.textos, cargada.ids, error) ? Resultado::hecha
                                                                          : Resultado::no_escrita;
}

Resultado paginas_fusiona(const std::string &pagina, const std::string &po,
                          const std::string &salida, std::optional<uint32_t> idioma,
                          std::optional<uint32_t> destino, const TablasLinks *tablas,
                          std::string *error) {
  AmbitoInformes ambito(pagina);
  ambito.cuenta_enlaces = true;
  PaginaCargada cargada;
  CabeceraPo cabecera;
  uint32_t origen = 0, llegada = 0;
  const auto idiomas_de = [&] {
    origen = idioma.value_or(cabecera.idioma.value_or(kIdiomaPorDefecto));
    llegada = destino.value_or(origen);
  };
  // The PO file is read as a stream, one entry at a time beside the page's.
  bool en_flujo;
  {
    LectorPo lector;
    const LecturaPo abierto = po_abre(po, &lector, &cabecera, error);
    if (abierto == LecturaPo::fallo) return Resultado::fallida;
    en_flujo = abierto == LecturaPo::entrada;
    if (en_flujo) {
      idiomas_de();
      if (!carga(pagina, origen, &cargada, error)) return Resultado::fallida;
      en_flujo = traduce_en_flujo(&lector, &cargada, origen, llegada);
    }
  }
  if (!en_flujo) {
    // libgettextpo reads the whole file: it names what is wrong with it, or reads the
    // forms that the stream reader does not.
    std::vector<EntradaPo> del_po;
    if (!po_lee(po, &cabecera, &del_po, error)) return Resultado::fallida;
    idiomas_de();
    if (cargada.documento == nullptr) {
      if (!carga(pagina, origen, &cargada, error)) return Resultado::fallida;
    } else {
      toma_textos(&cargada);
    }
    std::vector<EntradaPo> propias;
    EntradasDePagina entradas{.textos = cargada.textos, .ids = cargada.ids, .idioma = origen};
    for (EntradaPo e; po_siguiente_de_pagina(&entradas, &e);) propias.push_back(e);
    if (const std::string diferencia = po_compara(propias, del_po); !diferencia.empty()) {
      *error = po + ": not the PO file of " + pagina + ": " + diferencia;
      return Resultado::fallida;
    }
    for (size_t k = 0; k < propias.size(); ++k)
      pon_traduccion(cargada.textos, propias[k], del_po[k], origen, llegada);
  }

  const Resultado r = escrita(
      lenguaweb_reconstruye_fichero_html(
          cargada.documento, cargada.textos, cargada.ids, tablas != nullptr ? tablas->a : nullptr,
          tablas != nullptr ? tablas->img : nullptr, salida.c_str(), llegada),
      salida, error);
  if (r != Resultado::hecha || ambito.enlaces_sin_resolver == 0) return r;
  *error = sin_resolver(pagina, tablas, ambito.enlaces_sin_resolver);
  return Resultado::aviso;
}

Resultado paginas_preprocesa(const std::string &pagina, const std::string &salida, uint32_t idioma,
                             const TablasLinks &conocidas, TablasLinks *nuevas,
                             fichero_escritura_t **escritura, std::string *error) {
  AmbitoInformes ambito(pagina);
  PaginaCargada cargada;
  if (!carga(pagina, idioma, &cargada, error)) return Resultado::fallida;
  *escritura = fichero_escritura_abre(salida.c_str());
  if (*escritura == nullptr) return escrita(FALSO, salida, error);

  // Each page gets lists of its own over the shared records, so that pages on other
  // threads never change a list that this one reads.
  lista_reg_t *a = copia_punteros(conocidas.a);
  lista_reg_t *img = copia_punteros(conocidas.img);
  const booleano resultado = lenguaweb_preprocesa_links(cargada.documento, a, img,
                                                        fichero_escritura_ruta(*escritura), idioma);
  traspasa(a, lista_reg_num_elems(conocidas.a), nuevas->a);
  traspasa(img, lista_reg_num_elems(conocidas.img), nuevas->img);
  lista_reg_destruye(&a);
  lista_reg_destruye(&img);
  const Resultado r = escrita(resultado, salida, error);
  if (r != Resultado::hecha) fichero_escritura_descarta(escritura);
  return r;
}

Resultado paginas_pseudotraduce(const std::string &pagina, const std::string &salida,
                                uint32_t idioma, uint32_t destino, std::string *error) {
  AmbitoInformes ambito(pagina);
  PaginaCargada cargada;
  if (!carga(pagina, idioma, &cargada, error)) return Resultado::fallida;
  std::vector<std::string> mensajes;
  lista_cad_t *traducidos = pseudo_traduce(cargada.textos, cargada.ids, idioma, destino, &mensajes);
  for (const std::string &m : mensajes) informes_escribe(pagina + ": " + m + " (text engine)");
  const booleano resultado = lenguaweb_reconstruye_fichero_html(
      cargada.documento, traducidos, cargada.ids, nullptr, nullptr, salida.c_str(), destino);
  lista_cad_destruye(&traducidos);
  return escrita(resultado, salida, error);
}
