/* entrada.cpp - the library's entry for a page: the document made from an HTML file, read in
 * its own encoding and cut into pieces and texts, and destroyed by its owner. */
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "lenguaweb/documento.h"
#include "lenguaweb/origenes.h"
#include "lenguaweb/segmentacion.h"
#include "lenguaweb/segmentacion_bloques.h"

namespace {

/* Writes the document's texts to the file at ruta, one a line, for whoever looks into what a
 * page gave. */
void vuelca_textos(const lenguaweb_t *documento, const char *ruta) {
  fichtxt_graba_textos(documento->textos.textos.data(), lenguaweb_num_textos(documento), ruta);
}

/* Finds how the loaded page is read, reports what a host must know about it, and leaves
 * in pagina the bytes that segmentation cuts. Returns where the pass begins (past a UTF-8
 * byte order mark), or -1 when the page cannot be read as text: it is then one piece. */
long lee_pagina(pagina_de_documento &pagina, std::string_view bytes, uint32_t idioma) {
  codificacion_pagina_t &c = pagina.codificacion;
  conv_detecta_codificacion(bytes.data(), bytes.size(), idioma, &c);
  pagina.bytes = bytes;
  pagina.leida_en = c.nombre;
  if (c.origen == CODIFICACION_ILEGIBLE) {
    informa_en(
        kModuloLenguaweb,
        (std::string("the page cannot be read as text, and is kept as it is: ") + c.razon).c_str());
    return -1;
  }
  if (c.declarada != nullptr)
    informa_en(kModuloLenguaweb, (std::string("the page declares ") + c.declarada +
                                  ", which is not read (" + c.razon + "): read as " + c.nombre)
                                     .c_str());

  long desde = 0;
  if (c.compatible_ascii != CIERTO) {
    // Read through UTF-8, converted once here and back once when written.
    std::string_view resto = bytes.substr(c.bom);
    if (resto.size() % 2 != 0 && std::strncmp(c.nombre, "UTF-16", 6) == 0) {
      pagina.byte_suelto = static_cast<unsigned char>(resto.back());
      resto.remove_suffix(1);
      informa_en(kModuloLenguaweb,
                 "the UTF-16 page has an odd number of bytes: its last byte is kept as it is");
    }
    size_t largo = 0, invalidos = 0;
    pagina.transcodificada.reset(conv_entre_codificaciones_n(resto.data(), resto.size(), c.nombre,
                                                             "UTF-8", &largo, &invalidos));
    if (!pagina.transcodificada) {
      informa_en(kModuloLenguaweb,
                 "the page cannot be read as text, and is kept as it is: "
                 "its encoding cannot be converted");
      c.origen = CODIFICACION_ILEGIBLE;
      return -1;
    }
    pagina.bytes = std::string_view(pagina.transcodificada.get(), largo);
    pagina.leida_en = "UTF-8";
    if (invalidos > 0)
      informa_en(kModuloLenguaweb, (std::string("the page holds ") + std::to_string(invalidos) +
                                    " sequences not valid in " + c.nombre)
                                       .c_str());
  } else if (c.bom > 0) {
    desde = static_cast<long>(c.bom);  // the mark stays in the first piece, as it was
  }

  const std::string_view cabeza = pagina.bytes.substr(desde, 4096);
  pagina.xhtml = cabeza.starts_with("<?xml") ||
                 cabeza.find("http://www.w3.org/1999/xhtml") != std::string_view::npos;
  pagina.num_declaraciones = conv_declaraciones_de_codificacion(
      pagina.bytes.data(), pagina.bytes.size(), pagina.declaraciones,
      static_cast<uint32_t>(std::size(pagina.declaraciones)));
  return desde;
}

}  // namespace

extern "C" {

LENGUAWEB_API lenguaweb_t *lenguaweb_crea(const char *nombre_fichero_html,
                                          uint32_t idioma) noexcept {
  lenguaweb_t *documento = lenguaweb_documento_vacio(idioma);
  documento->segmentacion = opciones_dame_segmentacion();
  documento->no_traducir = opciones_dame_no_traducir() == CIERTO;
  if (conv_idioma_conocido(idioma) != CIERTO)
    informa_en(kModuloLenguaweb, "conv_idioma_conocido(idioma) == CIERTO");
  // An empty page is still one that points somewhere: its bytes go to memchr and the like.
  std::string_view bytes("", 0);
  if (nombre_fichero_html == nullptr) {
    informa_en(kModuloLenguaweb, "(nombre_fichero_html) != NULL");
  } else {
    documento->pagina.fichero.reset(fichero_memoria_lee(nombre_fichero_html));
    bytes =
        std::string_view(documento->pagina.fichero->contenido, documento->pagina.fichero->longitud);
  }
  const long desde = lee_pagina(documento->pagina, bytes, idioma);
  if (desde >= 0) {
    // Room for a text and a piece per 64 bytes of the page, about what real pages hold:
    // the lists then seldom grow by copying themselves, and room never written takes no
    // memory in a large block.
    const size_t previstos = documento->pagina.bytes.size() / 64;
    documento->trozos.reserve(previstos);
    documento->registros.reserve(previstos);
    documento->textos.textos.reserve(previstos);
  }
  if (desde >= 0 && documento->segmentacion == SEGMENTACION_BLOQUES)
    lenguaweb_divide_bloques(documento, static_cast<uint32_t>(desde));
  else if (desde >= 0)
    lenguaweb_divide_pagina(documento, static_cast<uint32_t>(desde));
  else
    lenguaweb_anade_trozo(documento, 0, static_cast<uint32_t>(bytes.size()));
  lenguaweb_cierra_textos(documento->textos);
  // Told before lenguaweb_crea returns, each report about a text right after its origin.
  lenguaweb_informa_origenes(documento);

  const cad_propia volcado(utilidades_ruta_fichero("lista_html.txt"));
  vuelca_textos(documento, volcado.get());
  return documento;
}

LENGUAWEB_API void lenguaweb_destruye(lenguaweb_t **lenguaweb) noexcept {
  if (informa_si_falta(kModuloLenguaweb, lenguaweb, "(lenguaweb) != NULL")) return;
  if (informa_si_falta(kModuloLenguaweb, *lenguaweb, "(*lenguaweb) != NULL")) return;
  std::destroy_at(*lenguaweb);
  mem_libera(lenguaweb, sizeof(lenguaweb_t));
}

LENGUAWEB_API uint16_t lenguaweb_version_generacion(void) noexcept {
  return 0;
}

}  // extern "C"
