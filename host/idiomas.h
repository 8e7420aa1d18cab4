// idiomas.h - languages: Windows language identifiers read from locale names or numbers,
// and written back as numbers and as locale names.
#ifndef HOST_IDIOMAS_H
#define HOST_IDIOMAS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The language of pages when none is given: English (United States), code page 1252.
constexpr uint32_t kIdiomaPorDefecto = 0x0409;

// The language identifier (Windows LANGID) that texto names: decimal digits, "0x"/"0X"
// and hex digits (at most 0xFFFF), or a locale name as gettext writes one ("es",
// "pt_BR.UTF-8", "sr_RS@latin", "ca@valencia", "eo") or a BCP 47 tag ("pt-BR"). Only a
// language that ICU knows is taken: none for 0, 0x7FFF, 0xFFFF, "und" or "xx", nor for
// a sign, blanks or a suffix. A language that Windows has no identifier for gets one
// whose code page writes its script. texto is only read.
std::optional<uint32_t> idiomas_lee(std::string_view texto);

// The name that a PO header's Language keeps of texto, a language as idiomas_lee reads
// it: the locale name as given but for its codeset ("pt_BR.UTF-8": "pt_BR",
// "sr_RS.UTF-8@latin": "sr_RS@latin"); for an identifier, idiomas_nombre's.
std::string idiomas_nombre_dado(std::string_view texto);

// The BCP 47 tag of a locale name ("sr_RS@latin": "sr-Latn-RS", "ca@valencia":
// "ca-valencia", "zh_TW": "zh-TW"); empty for an identifier (its tag is the library's)
// or a name that idiomas_lee refuses.
std::string idiomas_etiqueta(std::string_view texto);

// "0x0409" for 0x0409: how identifiers are written in PO headers and messages.
std::string idiomas_escribe(uint32_t idioma);

// The locale name of a known language ("es_ES", "ja_JP", "sr_Latn_CS", "es"), for a PO
// header's Language field; empty for an identifier that ICU does not know.
std::string idiomas_nombre(uint32_t idioma);

// The language that the page at ruta declares in its HTML tag (lang, else xml:lang),
// when it is one that ICU knows; nullopt otherwise, or when the page cannot be read. Only
// the page's start is read, up to its HTML tag.
std::optional<uint32_t> idiomas_de_pagina(const std::string &ruta);

#endif
