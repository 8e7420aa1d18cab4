// rondas.cpp - the page tests' round through the library.
#include "rondas.h"

namespace pruebas {

std::string une(const Textos &v) {
  std::string r;
  for (size_t i = 0; i < v.size(); ++i) r += (i ? "|" : "") + v[i];
  return r;
}

namespace {

// The page that marcada writes with its body texts between '«' and '»', its pieces and its
// body texts.
CasoPagina desmarca(const CasoPagina &marcada) {
  const std::string abre = "\u00AB", cierra = "\u00BB", &m = marcada.pagina;
  CasoPagina caso = marcada;
  if (m.find(abre) == std::string::npos) return caso;
  Textos trozos, textos;
  caso.pagina.clear();
  size_t i = 0;
  for (size_t k; (k = m.find(abre, i)) != std::string::npos;
       i = m.find(cierra, k) + cierra.size()) {
    trozos.push_back(m.substr(i, k - i));
    textos.push_back(m.substr(k + abre.size(), m.find(cierra, k) - k - abre.size()));
    caso.pagina += trozos.back() + textos.back();
  }
  trozos.push_back(m.substr(i));
  caso.pagina += trozos.back();
  if (!caso.trozos) caso.trozos = une(trozos);
  if (!caso.textos) caso.textos = une(textos);
  return caso;
}

}  // namespace

void Paginas::comprueba(std::span<const CasoPagina> marcados) {
  for (const CasoPagina &marcado : marcados) {
    SCOPED_TRACE(marcado.caso != nullptr ? marcado.caso : marcado.pagina);
    const CasoPagina caso = desmarca(marcado);
    olvida_informes();
    opciones_pon_segmentacion(caso.segmentacion);
    opciones_pon_no_traducir(caso.no_traducir ? CIERTO : FALSO);
    opciones_pon_salida_utf8(caso.utf8 ? CIERTO : FALSO);
    const PaginaConTextos p(escribe("origen.html", caso.pagina), caso.idioma);
    Textos trozos;
    for (size_t k = 0; k < p.doc->trozos.size(); ++k)
      trozos.emplace_back(lenguaweb_trozo(p.doc, k));
    const auto mira = [](const char *que, const auto &visto, const auto &esperado) {
      if (esperado) {
        EXPECT_EQ(visto, *esperado) << que;
      }
    };
    mira("pieces", une(trozos), caso.trozos);
    mira("texts", une(a_vector(p.textos)), caso.textos);
    mira("identifiers", une(a_vector(p.ids)), caso.ids);
    mira("dump", lee(ruta("lista_html.txt")), caso.volcado);
    std::optional<std::vector<uint32_t>> tipos;
    if (caso.textos && (!caso.tipos.empty() || !caso.ids))
      tipos = caso.tipos.empty() ? std::vector<uint32_t>(lista_cad_num_elems(p.textos), TIPO_TEXTO)
                                 : caso.tipos;
    mira("kinds", tipos_de(p.doc), tipos);
    if (caso.escrita || caso.vuelve) {
      Textos traducidos = caso.traducidos.empty() ? a_vector(p.textos) : caso.traducidos;
      if (caso.traducidos.empty() && !caso.marca.empty())
        for (std::string &t : traducidos)
          t = std::string(caso.marca).replace(caso.marca.find('%'), 1, t);
      lista_cad_t *lista = a_lista(traducidos);
      const std::string destino = ruta("destino.html");
      EXPECT_EQ(
          lenguaweb_reconstruye_fichero_html(p.doc, lista, p.ids, nullptr, nullptr, destino.c_str(),
                                             caso.destino ? caso.destino : caso.idioma),
          CIERTO);
      EXPECT_EQ(lee(destino), caso.vuelve ? caso.pagina : *caso.escrita) << "written";
      lista_cad_destruye(&lista);
    }
    for (const Informe &i : informes()) EXPECT_EQ(i.modulo, "lenguaweb (LENGUAWEB.DLL)");
    EXPECT_EQ(condiciones(), caso.informe);
  }
  opciones_pon_segmentacion(SEGMENTACION_CLASICA);
  opciones_pon_no_traducir(FALSO);
  opciones_pon_salida_utf8(FALSO);
}

}  // namespace pruebas
