// rondas.h - the round most page tests make: a page cut and offered, then written back.
#ifndef PRUEBAS_LENGUAWEB_RONDAS_H
#define PRUEBAS_LENGUAWEB_RONDAS_H

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "lenguaweb/documento.h"

namespace pruebas {

using Textos = std::vector<std::string>;
constexpr uint32_t kEspanol = 0x0C0A, kIngles = 0x0409, kJapones = 0x0411, kRuso = 0x0419,
                   kCoreano = 0x0412;
constexpr auto kBloques = SEGMENTACION_BLOQUES;

std::string une(const Textos &v);  // joined with '|'

// A page read in idioma, cut in segmentacion, and written back; a field left unset is not
// looked at. Lists are joined with '|'. A page written with its body texts between '«' and
// '»' is the page without them, and gives its pieces and (but when given) its texts.
struct CasoPagina {
  std::string pagina;
  const char *caso = nullptr;  // its name, when the page alone does not say it
  segmentacion_t segmentacion = SEGMENTACION_CLASICA;
  uint32_t idioma = kEspanol;
  std::optional<std::string> trozos = {}, textos = {}, ids = {};
  std::optional<std::string> volcado = {};  // what the document dumps for debugging
  // The texts' kinds; none given and no ids, each a TIPO_TEXTO (checked with textos).
  std::vector<uint32_t> tipos = {};
  // How it is translated: by traducidos; else, when marca is given, each text as marca with
  // its '%' in place of the text; else by its own texts.
  Textos traducidos = {};
  std::string marca = {};
  uint32_t destino = 0;                    // the language written (idioma when 0)
  bool no_traducir = false, utf8 = false;  // the options of those names, on
  std::optional<std::string> escrita = {};
  bool vuelve = false;       // written back, it is the page itself
  std::string informe = {};  // the conditions of the reports made, one after another
};

class Paginas : public Entorno {
 protected:
  void comprueba(std::span<const CasoPagina> casos);
};

}  // namespace pruebas

#endif
