// copias.h - legacy-charset copies of real pages: transcoded, their declaration made to match.
#ifndef SITIOS_COPIAS_H
#define SITIOS_COPIAS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lectura_navegador.h"
#include "seleccion.h"

namespace sitios {

// A page is read as the command's check reads it.
using namespace navegador;

// The page's text (UTF-8) with its charset declaration naming etiqueta: every label
// that an XML declaration's encoding or a "charset=" names among its first 1024 bytes
// replaced; where there is none, a META charset put after the HEAD tag (or after the
// DOCTYPE, or first).
std::string copia_declara(std::string_view texto, std::string_view etiqueta);

// Makes, for each legacy charset (windows-1252, ISO-8859-15, KOI8-R, Shift_JIS, EUC-JP,
// GB2312, Big5, UTF-16 with a byte order mark), copies of up to cuantas pages whose
// language that charset writes, evenly spread over them, in
// carpeta/<charset>/<the page's clave>: each page decoded
// as a browser decodes it, its declaration made to name the charset, and written in it,
// every character that the charset lacks as a decimal character reference (which SCRIPT
// and STYLE then hold as it stands). Returns the copies, each in its source's language;
// false with the reason in *error when a copy cannot be made or written.
bool copias_haz(const std::vector<PaginaDeSitio> &paginas, size_t cuantas,
                const std::string &carpeta, std::vector<PaginaDeSitio> *hechas, std::string *error);

}  // namespace sitios

#endif
