// lectura_navegador.h - a page's bytes decoded as a browser decodes them: its encoding found, then
// ICU.
#ifndef HOST_LECTURA_NAVEGADOR_H
#define HOST_LECTURA_NAVEGADOR_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace navegador {

// Where a page's encoding came from, in the order a browser looks.
enum class FuenteCodificacion { bom, xml, meta, utf8, idioma };

struct Codificacion {
  std::string nombre;  // the Encoding standard's name: "UTF-8", "windows-1252", "EUC-KR" ...
  FuenteCodificacion fuente = FuenteCodificacion::utf8;
  size_t bom = 0;  // bytes of the byte order mark that the page begins with
};

// The encoding that a label names, as the Encoding standard resolves labels (blanks
// around it ignored, letter case too: "ISO-8859-1" and "us-ascii" are "windows-1252",
// "gb2312" is "GBK", "ks_c_5601-1987" is "EUC-KR"); "" for a label it does not know.
std::string codificacion_resuelve(std::string_view etiqueta);

// The charset label that the first 1024 bytes declare: an XML declaration's encoding,
// then the first META charset or http-equiv Content-Type, found as a browser's prescan
// finds them (comments and other tags skipped, quotes honoured). "" when none does.
std::string codificacion_declarada(std::string_view bytes);

// The encoding of a page: a byte order mark; else a declaration that resolves (a UTF-16
// one taken as UTF-8, as browsers take it); else UTF-8 when every byte sequence is valid
// UTF-8; else the Windows code page of the language idioma.
Codificacion codificacion_de(std::string_view bytes, uint32_t idioma);

// A page's text in UTF-8 as a browser decodes it: the byte order mark dropped, each
// sequence that is not valid in the encoding one U+FFFD. a_texto maps each byte offset
// of the page (and its end) to the offset in texto of the character that begins there or
// next; it is left empty when the page was UTF-8 without a mark and texto is the page.
struct PaginaLeida {
  std::string texto;
  std::vector<uint32_t> a_texto;
  Codificacion codificacion;
  size_t reemplazos = 0;  // U+FFFD in texto
  std::string error;      // not "" when no converter could be opened; texto is then ""
  size_t en(size_t byte) const { return a_texto.empty() ? byte : a_texto[byte]; }
};

// Works on its own copy; nothing returned points into bytes.
PaginaLeida pagina_lee(std::string_view bytes, uint32_t idioma);

// bytes decoded in the encoding nombre (an Encoding standard name), as pagina_lee would
// decode a page in it; "" when ICU has no converter for it.
std::string descodifica_como(std::string_view bytes, const std::string &nombre);

// texto (UTF-8) in the encoding nombre, every character that the encoding lacks written
// as a decimal character reference ("&#1071;"); a UTF-16 encoding gets its byte order
// mark. False, with the reason in *error, when ICU has no converter for it.
bool codificacion_escribe(std::string_view texto, const std::string &nombre, std::string *salida,
                          std::string *error);

}  // namespace navegador

#endif
