/* comprueba_bloques.cpp - a page of arbitrary bytes cut by blocks, rebuilt and preprocessed,
 * checked by its properties. */
#include <algorithm>
#include <fstream>
#include <iterator>

#include "fuzz/comprobaciones.h"
#include "fuzz/sesion.h"
#include "htmlparser/reglas_html.h"
#include "lenguaweb/documento.h"
#include "lenguaweb/normalizacion.h"
#include "lenguaweb/segmentacion_bloques.h"
#include "listas.h"
#include "tablalink/tablalink.h"

/* What the block check checks, on the page P as the library reads it:
 * (a) fuzz_une: the pieces and the stretches of the body texts join back to P.
 * (b) P rebuilt with its own texts is P, byte for byte (for a page written in the
 *     encoding it was read in).
 * (c) P preprocessed gives P1; P1 preprocessed again adds no record and gives P1.
 * (d) P rebuilt with translations drawn from the input gains no tag but the phrasing
 *     tags and those its body texts held, at most one per '<' of the translations. */

namespace {

using pruebas::a_vector;

constexpr uint32_t kIdiomas[] = {0x0C0A, 0x0409, 0x0411, 0x0419, 0x0804, 0x0408, 0x0412, 0x040D};

bool es_cuerpo(uint32_t tipo) {
  return tipo == TIPO_TITULO || tipo == TIPO_TEXTO;
}

}  // namespace

std::string fuzz_une(const lenguaweb_t *d) {
  const std::string_view pagina = d->pagina.bytes;
  const std::vector<std::string> textos = a_vector(d->textos);
  const std::vector<uint32_t> tipos = a_vector(d->tipos_de_textos);
  if (tipos.size() != textos.size() || d->origenes.size() != textos.size())
    return "not one kind and one origin per text";
  if (d->pagina.codificacion.origen == CODIFICACION_ILEGIBLE)
    return d->trozos.size() == 1 && textos.empty() && lenguaweb_trozo(d, 0) == pagina
               ? ""
               : "a page that is not text is not one piece without texts";
  const bool bloques = d->segmentacion == SEGMENTACION_BLOQUES;
  entidades_idioma entidades;
  lenguaweb_prepara_entidades(d->idioma, &entidades, d->pagina.leida_en);
  referencias_de_bloque referencias;
  // A stretch as the segmentation reads it into a text; nullptr where nothing is read.
  const auto normaliza = [&](std::string_view crudo, uint8_t marcas) -> char * {
    if (bloques)
      return (marcas & (kTextoSinReferencias | kTextoSinMarcado | kTextoConNul)) != 0
                 ? nullptr
                 : lenguaweb_normaliza_bloque(crudo, entidades, referencias,
                                              (marcas & kTextoPreformateado) != 0
                                                  ? lectura_de_bloque::preformateado
                                                  : lectura_de_bloque::texto);
    std::string sin_nul(crudo);  // the NUL bytes of a classic text are left out
    sin_nul.erase(std::remove(sin_nul.begin(), sin_nul.end(), '\0'), sin_nul.end());
    return lenguaweb_normaliza_texto(sin_nul, entidades,
                                     (marcas & kTextoSinReferencias) != 0 ? modo_de_texto::crudo
                                     : (marcas & kTextoPreformateado) != 0
                                         ? modo_de_texto::preformateado
                                         : modo_de_texto::normal);
  };
  const auto normaliza_a = [&](size_t j, std::string_view crudo, uint8_t marcas) {
    char *n = normaliza(crudo, marcas);
    const bool igual = n == nullptr || textos[j] == n;
    cad_destruye(&n);
    return igual;
  };
  size_t p = d->trozos.empty() ? 0 : d->trozos[0].inicio, k = 0;
  uint32_t cuerpo_inicio = 0, cuerpo_fin = 0;
  for (size_t j = 0; j <= textos.size(); ++j) {
    const std::string texto = j < textos.size() ? "text " + std::to_string(j) : "";
    if (j < textos.size() && !es_cuerpo(tipos[j])) {
      // An attribute text of a piece, or in blocks of the body text before it.
      const origen_de_texto &o = d->origenes[j];
      if (bloques && o.inicio >= cuerpo_inicio && o.fin <= cuerpo_fin) continue;
      if (k >= d->trozos.size() || o.inicio < d->trozos[k].inicio || o.fin > d->trozos[k].fin)
        return "attribute " + texto + " lies in no piece";
      if (!bloques && !normaliza_a(j, pagina.substr(o.inicio, o.fin - o.inicio), 0))
        return "attribute " + texto + " is not its value normalised";
      continue;
    }
    if (k >= d->trozos.size() || d->trozos[k].inicio != p)
      return "piece " + std::to_string(k) + " is not where the page goes on";
    p = d->trozos[k++].fin;
    if (j == textos.size()) break;
    const origen_de_texto &o = d->origenes[j];
    if (o.inicio != p || o.fin <= o.inicio || o.fin > pagina.size())
      return "body " + texto + " is not where the page goes on";
    const std::string_view crudo = pagina.substr(o.inicio, o.fin - o.inicio);
    // A body text begins at a text run (in blocks it also ends at one): its blanks stay
    // in the pieces.
    if (htmlparser::es_blanco(crudo.front()) ||
        (bloques ? htmlparser::es_blanco(crudo.back())
                 : crudo.front() == '\0' ||
                       (crudo.front() == '<' && (o.marcas & kTextoSinReferencias) == 0)))
      return "body " + texto + " does not begin or end at a text run: " + fuzz_muestra(crudo);
    if (!normaliza_a(j, crudo, o.marcas)) return "body " + texto + " is not its stretch normalised";
    p = o.fin;
    cuerpo_inicio = o.inicio;
    cuerpo_fin = o.fin;
  }
  if (k != d->trozos.size() || p != pagina.size()) return "the pieces do not reach the end";
  return "";
}

namespace {

/* Markup that a translator might write in a block. */
constexpr std::string_view kFragmentos[] = {"<B>",
                                            "</B>",
                                            "<script>alert(1)</script>",
                                            "<a href=\"x\">",
                                            "</a>",
                                            "<!--",
                                            "&lt;I&gt;",
                                            "\"><P>",
                                            "<br>",
                                            "<span\n>",
                                            "<img src=x onerror=y>",
                                            "a > b < c",
                                            "&amp;",
                                            "<div>",
                                            "</em >"};

/* (d) */
std::string gana_tags(const lenguaweb_t *d, std::string_view escrita,
                      const std::vector<std::string> &traducidos) {
  long menores = 0;
  for (const std::string &t : traducidos)
    menores += static_cast<long>(std::count(t.begin(), t.end(), '<'));
  std::map<std::string, long> puede;
  for (const auto &e : htmlparser::kElementosDeFrase) {
    puede[std::string(e.nombre)] += menores;
    puede["/" + std::string(e.nombre)] += menores;
  }
  for (size_t j = 0; j < d->origenes.size(); ++j) {
    const origen_de_texto &o = d->origenes[j];
    if (!es_cuerpo(lista_num_dame(d->tipos_de_textos, static_cast<uint32_t>(j)))) continue;
    // Raw text (XMP, PLAINTEXT) goes as it is: what looks like a tag in it is the translation's.
    if ((o.marcas & kTextoSinReferencias) != 0 && j < traducidos.size())
      for (const auto &[nombre, n] : fuzz_cuenta_tags(traducidos[j])) puede[nombre] += n;
    for (const auto &[nombre, n] :
         fuzz_cuenta_tags(d->pagina.bytes.substr(o.inicio, o.fin - o.inicio)))
      puede[nombre] += n * menores;
  }
  return fuzz_gana_tags(d->pagina.bytes, escrita, puede);
}

}  // namespace

std::string fuzz_comprueba_bloques(std::string_view bytes, uint32_t idioma) {
  const fuzz_rutas rutas;
  if (!(std::ofstream(rutas.pagina, std::ios::binary) << bytes)) return "cannot write the page";
  const std::string &ruta = rutas.pagina, &ruta_propia = rutas.propia, &ruta_p1 = rutas.p1,
                    &ruta_p2 = rutas.p2, &ruta_traducida = rutas.traducida;
  fuzz_recursos r;
  opciones_pon_segmentacion(SEGMENTACION_BLOQUES);
  lenguaweb_t *documento = r.documentos.emplace_back(lenguaweb_crea(ruta.c_str(), idioma));
  opciones_pon_segmentacion(SEGMENTACION_CLASICA);
  std::string fallo = fuzz_une(documento);
  if (!fallo.empty()) return "the page cut by blocks: " + fallo;

  lista_cad_t *ids = nullptr;
  lista_cad_t *textos = r.lista(lenguaweb_dame_textos_a_trducir(documento, &ids));
  r.lista(ids);
  std::string propia;
  fallo = fuzz_lee_escrita(lenguaweb_reconstruye_fichero_html(documento, textos, ids, nullptr,
                                                              nullptr, ruta_propia.c_str(), idioma),
                           ruta_propia, &propia);
  if (fallo.empty() && propia != bytes) {
    const size_t i = std::mismatch(propia.begin(), propia.end(), bytes.begin(), bytes.end()).first -
                     propia.begin();
    fallo = "differs at byte " + std::to_string(i) + ": " + fuzz_muestra(propia, i);
  }
  if (!fallo.empty()) return "cut by blocks, rebuilt with its own texts: " + fallo;

  std::string p1, p2;
  fallo = fuzz_lee_escrita(
      lenguaweb_preprocesa_links(documento, r.tablas[0], r.tablas[1], ruta_p1.c_str(), idioma),
      ruta_p1, &p1);
  lenguaweb_t *documento1 = nullptr;
  if (fallo.empty()) {
    opciones_pon_segmentacion(SEGMENTACION_BLOQUES);
    documento1 = r.documentos.emplace_back(lenguaweb_crea(ruta_p1.c_str(), idioma));
    opciones_pon_segmentacion(SEGMENTACION_CLASICA);
    fallo = fuzz_une(documento1);
  }
  const uint32_t registros = lista_reg_num_elems(r.tablas[0]) + lista_reg_num_elems(r.tablas[1]);
  if (fallo.empty())
    fallo = fuzz_lee_escrita(
        lenguaweb_preprocesa_links(documento1, r.tablas[0], r.tablas[1], ruta_p2.c_str(), idioma),
        ruta_p2, &p2);
  if (fallo.empty() &&
      lista_reg_num_elems(r.tablas[0]) + lista_reg_num_elems(r.tablas[1]) != registros)
    fallo = "a record was added";
  if (fallo.empty() && p2 != p1) fallo = "the page changed";
  if (!fallo.empty()) return "cut by blocks, preprocessed again: " + fallo;

  const std::vector<std::string> traducidos =
      fuzz_traducciones(bytes, lista_cad_num_elems(textos), kFragmentos);
  lista_cad_t *lista_traducidos = r.lista(pruebas::a_lista(traducidos));
  std::string traducida;
  fallo =
      fuzz_lee_escrita(lenguaweb_reconstruye_fichero_html(documento, lista_traducidos, ids, nullptr,
                                                          nullptr, ruta_traducida.c_str(), idioma),
                       ruta_traducida, &traducida);
  if (fallo.empty() && documento->pagina.codificacion.compatible_ascii == CIERTO)
    fallo = gana_tags(documento, traducida, traducidos);
  return fallo.empty() ? "" : "cut by blocks, rebuilt with translations: " + fallo;
}
