/* comprueba_hostil.cpp - hostile translations and link records written into a page, and what
 * a browser's parser reads in the result. */
#include <algorithm>
#include <iterator>

#include "contenido_vivo.h"
#include "fuzz/comprobaciones.h"
#include "htmlparser/reglas_html.h"
#include "lenguaweb.h"

/* The input: the page up to its first NUL, then fragments, each up to the next NUL. A
 * fragment's first byte b says what the rest is, and for which text or record (b / 5):
 * 0 and 1, the translation of that text (in the code page of the page's language, picked
 * by the last byte of the input, whose bit 0x40 cuts the page by blocks and 0x80 keeps what
 * it marks as not to be translated); 2 and 3, the link that the record of that place in the
 * A or IMG table rebuilds into; 4, the identifier of that record of the A table before
 * the page is preprocessed. Every other text is translated by a marker of its own.
 * pruebas::ronda_hostil then checks, with gumbo, that neither the preprocessed page nor
 * the translated one holds an element, attribute or active link that its source lacks,
 * that the link tables hold no active link, and that the markers stand where they stood. */

namespace {

/* Western, Japanese, Cyrillic and Simplified Chinese code pages. */
constexpr uint32_t kIdiomas[] = {0x0C0A, 0x0411, 0x0419, 0x0804};

pruebas::EntradaHostil lee_entrada(std::string_view bytes) {
  pruebas::EntradaHostil e;
  e.idioma = kIdiomas[bytes.empty() ? 0 : static_cast<uint8_t>(bytes.back()) % std::size(kIdiomas)];
  size_t fin = bytes.find('\0');
  e.pagina = bytes.substr(0, fin);
  while (fin < bytes.size()) {
    const size_t inicio = fin + 1;
    fin = std::min(bytes.find('\0', inicio), bytes.size());
    if (fin == inicio) continue;
    const uint8_t b = static_cast<uint8_t>(bytes[inicio]);
    const uint32_t k = b / 5;
    std::string resto(bytes.substr(inicio + 1, fin - inicio - 1));
    if (b % 5 < 2) {
      e.traducciones[k] = resto;
    } else if (b % 5 < 4) {
      (b % 5 == 2 ? e.enlaces_a : e.enlaces_img)[k] = resto;
    } else {
      e.ids_previos.resize(std::max<size_t>(e.ids_previos.size(), k + 1));
      e.ids_previos[k] = resto;
    }
  }
  return e;
}

}  // namespace

std::string fuzz_comprueba_hostil(const uint8_t *datos, size_t largo) {
  const pruebas::EntradaHostil entrada =
      lee_entrada(std::string_view(reinterpret_cast<const char *>(datos), largo));
  const uint8_t ultimo = largo > 0 ? datos[largo - 1] : 0;
  const bool bloques = (ultimo & 0x40) != 0, respeta = (ultimo & 0x80) != 0;
  // The reports that arbitrary pages bring about, and the active links refused.
  std::vector<std::string_view> permitidos = kInformesDePaginas;
  permitidos.push_back("!lenguaweb_es_enlace_activo(enlace)");
  return fuzz_en_sesion(permitidos, [&](auto &) {
    pruebas::SalidaHostil salida;
    opciones_pon_segmentacion(bloques ? SEGMENTACION_BLOQUES : SEGMENTACION_CLASICA);
    opciones_pon_no_traducir(respeta ? CIERTO : FALSO);
    const std::string fallo = pruebas::ronda_hostil(fuzz_carpeta(), entrada, &salida);
    opciones_pon_segmentacion(SEGMENTACION_CLASICA);
    opciones_pon_no_traducir(FALSO);
    if (fallo.empty()) return fallo;
    return (bloques ? "cut by blocks: " : "") +
           std::string(respeta ? "keeping what is not to be translated: " : "") + fallo;
  });
}
