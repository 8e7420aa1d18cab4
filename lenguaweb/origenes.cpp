/* origenes.cpp - telling a host where each text of a page comes from. */
#include "lenguaweb/origenes.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "companion/codificacion.h"
#include "htmlparser/referencias.h"
#include "privado/pila_de_elementos.h"
#include "lenguaweb/lectura_tags.h"
#include "lenguaweb/no_traducir.h"

namespace {

/* An attribute value of a page in codificacion as a reader reads it, in UTF-8. */
std::string lenguaweb_valor_en_utf8(std::string_view valor, const char *codificacion) {
  std::string utf8(valor);
  if (std::strcmp(codificacion, "UTF-8") != 0) {
    char *convertido = conv_entre_codificaciones_n(valor.data(), valor.size(), codificacion,
                                                   "UTF-8", nullptr, nullptr);
    utf8 = convertido != nullptr ? convertido : "";
    cad_destruye(&convertido);
  }
  return htmlparser::lee_referencias(utf8, true);
}

/* The elements open that leave their translators a note (its-loc-note), each with the note
 * in UTF-8. */
struct NotasAbiertas {
  pila_de_elementos<std::string> abiertas;

  /* Reads one tag (from its '<', whose name ends at fin_nombre) of a page in codificacion. */
  void lee(std::string_view tag, size_t fin_nombre, const char *codificacion) {
    if (tag[1] == '/') {
      // Most pages: no note open, nothing to close.
      if (abiertas.ultimo() != nullptr)
        abiertas.cierra(en_minusculas(tag.substr(2, fin_nombre - 2)));
      return;
    }
    const htmlparser::texto_acotado<char> t = htmlparser::acotado(tag);
    size_t i = fin_nombre;
    htmlparser::atributo_html a;
    while (htmlparser::lee_atributo(t, i, a)) {
      if (!htmlparser::nombre_es(tag.substr(a.nombre, a.fin_nombre - a.nombre), "its-loc-note") ||
          a.valor.fin == htmlparser::kNoEsta)
        continue;
      const std::string_view nombre = tag.substr(1, fin_nombre - 1);
      if (htmlparser::es_elemento_vacio(nombre)) return;
      std::string nota = lenguaweb_valor_en_utf8(
          tag.substr(a.valor.inicio, a.valor.fin - a.valor.inicio), codificacion);
      if (!nota.empty()) abiertas.abre(en_minusculas(nombre), std::move(nota));
      return;
    }
  }
  const char *nota() const {
    return abiertas.ultimo() == nullptr ? nullptr : abiertas.ultimo()->c_str();
  }
};

/* Reads the tags of a body text into the notes and what is translated: an element the text
 * closes is closed; one it opens and leaves open is closed at its end. */
void lee_tags_del_texto(std::string_view pagina, const registro_de_texto &texto,
                        const char *codificacion, NotasAbiertas &notas,
                        estado_de_traduccion &traduccion) {
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(pagina);
  const uint32_t fin = std::min<uint32_t>(texto.fin, static_cast<uint32_t>(pagina.size()));
  size_t menos_notas = notas.abiertas.profundidad();
  size_t menos_traduccion = traduccion.profundidad();
  for (uint32_t i = texto.inicio; i < fin;) {
    const void *menor = std::memchr(pagina.data() + i, '<', fin - i);
    if (menor == nullptr) break;
    const uint32_t p = static_cast<uint32_t>(static_cast<const char *>(menor) - pagina.data());
    i = p + 1;
    if (!htmlparser::tiene_atributos(t, p)) continue;
    const tag_leido tag = lenguaweb_lee_tag_en(t, p, elemento_crudo::ninguno, false);
    i = std::max(i, tag.fin);
    notas.lee(tag.texto, htmlparser::fin_de_nombre_de_tag(t, p) - p, codificacion);
    lenguaweb_lee_tag_de_traduccion(traduccion, tag.texto);
    menos_notas = std::min(menos_notas, notas.abiertas.profundidad());
    menos_traduccion = std::min(menos_traduccion, traduccion.profundidad());
  }
  notas.abiertas.cierra_hasta(menos_notas);
  traduccion.cierra_hasta(menos_traduccion);
}

}  // namespace

void lenguaweb_informa_origenes(lenguaweb_t *documento) {
  vector_contado<informe_aplazado> &informes = documento->informes_aplazados;
  const auto informa = [](const informe_aplazado &a) {
    informa_en(kModuloLenguaweb, a.condicion, a.linea);
  };
  if (opciones_hay_receptor_origenes() != CIERTO) {
    for (const informe_aplazado &a : informes) informa(a);
    informes.clear();
    return;
  }
  // By the place of their text, each text's found in one search.
  std::stable_sort(
      informes.begin(), informes.end(),
      [](const informe_aplazado &a, const informe_aplazado &b) { return a.posicion < b.posicion; });
  std::vector<bool> hecho(informes.size());
  const std::string_view pagina = documento->pagina.bytes;
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(pagina);
  lectura_html lectura;
  tag_leido ultimo{};
  bool hay_ultimo = false;
  uint32_t leido = 0;             /* the tags before it are read */
  registro_de_texto cuerpo{0, 0}; /* the last body text */
  bool cuerpo_se_traduce = true;  /* what the page marks of it */
  uint32_t contado = 0;           /* the lines before it are counted */
  uint32_t linea = 1;
  NotasAbiertas notas;
  estado_de_traduccion traduccion;
  bool ultimo_se_traduce = true; /* the attributes of the last tag read */
  const uint32_t n = lenguaweb_num_textos(documento);
  for (uint32_t i = 0; i < n && i < documento->registros.size(); ++i) {
    const registro_de_texto &o = documento->registros[i];
    const uint32_t inicio = std::min<uint32_t>(o.inicio, static_cast<uint32_t>(pagina.size()));
    if (inicio >= contado)
      linea += static_cast<uint32_t>(
          std::count(pagina.begin() + contado, pagina.begin() + inicio, '\n'));
    else
      linea -= static_cast<uint32_t>(
          std::count(pagina.begin() + inicio, pagina.begin() + contado, '\n'));
    contado = inicio;

    while (leido < inicio) {
      const void *menor = std::memchr(pagina.data() + leido, '<', inicio - leido);
      if (menor == nullptr) {
        leido = inicio;
        break;
      }
      const uint32_t p = static_cast<uint32_t>(static_cast<const char *>(menor) - pagina.data());
      const elemento_crudo antes = lectura.crudo;
      ultimo = lenguaweb_lee_tag_en(t, p, lectura.crudo, false);
      hay_ultimo = true;
      leido = std::max(lenguaweb_sigue_tras_tag(lectura, ultimo, pagina, false), p + 1);
      if (!se_leen_tags(antes) || !htmlparser::tiene_atributos(t, p)) continue;
      const size_t fin_nombre = htmlparser::fin_de_nombre_de_tag(t, p) - p;
      notas.lee(ultimo.texto, fin_nombre, documento->pagina.leida_en);
      ultimo_se_traduce = lenguaweb_lee_tag_de_traduccion(traduccion, ultimo.texto);
    }

    const i_tipo_texto_t tipo = o.tipo;
    // The element and the attribute, from the tag the record names.
    std::string elemento, atributo;
    if (o.elemento < pagina.size()) {
      const tag_leido tag = lenguaweb_lee_tag_en(t, o.elemento, elemento_crudo::ninguno, false);
      elemento = en_minusculas(tag.nombre);
      const htmlparser::texto_acotado<char> en_tag = htmlparser::acotado(tag.texto);
      size_t k = htmlparser::fin_de_nombre_de_tag(en_tag, 0);
      htmlparser::atributo_html a;
      while (tipo != TIPO_TITULO && tipo != TIPO_TEXTO && htmlparser::lee_atributo(en_tag, k, a))
        if (o.elemento + a.valor.inicio == o.inicio && a.valor.tras_igual) {
          atributo = en_minusculas(tag.texto.substr(a.nombre, a.fin_nombre - a.nombre));
          break;
        }
    }
    const bool de_atributo = tipo != TIPO_TITULO && tipo != TIPO_TEXTO;
    const bool del_ultimo =
        de_atributo && hay_ultimo && ultimo.inicio < inicio && inicio <= ultimo.fin;
    // The attributes of a tag inside the last body text go as that text goes; a tag's own
    // attributes follow what the tag says, its void elements' too.
    const bool en_cuerpo = de_atributo && inicio >= cuerpo.inicio && inicio < cuerpo.fin;
    const bool sin_traducir = en_cuerpo    ? !cuerpo_se_traduce
                              : del_ultimo ? !ultimo_se_traduce
                                           : !lenguaweb_se_traduce(traduccion);
    // A note is about the element's content, not its attributes.
    const origen_texto_t origen{i,
                                linea,
                                elemento.c_str(),
                                de_atributo ? atributo.c_str() : nullptr,
                                de_atributo ? nullptr : notas.nota(),
                                sin_traducir ? CIERTO : FALSO};
    opciones_informa_origen(&origen);
    if (!de_atributo) {
      // The body text's own tags are read now, for what follows it: an end tag in it may
      // close an element begun before it (a text cut after a start tag that says
      // translate="no"); what it opens and leaves open ends with it.
      cuerpo = o;
      cuerpo_se_traduce = !sin_traducir;
      leido = std::max(leido, o.fin);
      lee_tags_del_texto(pagina, o, documento->pagina.leida_en, notas, traduccion);
    }
    if (informes.empty()) continue;
    const auto primero = std::lower_bound(
        informes.begin(), informes.end(), o.inicio,
        [](const informe_aplazado &a, uint32_t posicion) { return a.posicion < posicion; });
    for (auto a = primero; a != informes.end() && a->posicion == o.inicio; ++a)
      if (!hecho[a - informes.begin()]) {
        hecho[a - informes.begin()] = true;
        informa(*a);
      }
  }
  // A report whose text is not among the texts told still reaches the host.
  for (size_t k = 0; k < informes.size(); ++k)
    if (!hecho[k]) informa(informes[k]);
  informes.clear();
}
