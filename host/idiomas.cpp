// idiomas.cpp - languages: Windows language identifiers read from locale names or numbers,
// and written back as numbers and as locale names.
#include "idiomas.h"

#include <unicode/uloc.h>

#include <cctype>
#include <cstdio>
#include <memory>

#include "marcado.h"

namespace {

constexpr int32_t kLargoLocale = ULOC_FULLNAME_CAPACITY;

// Decimal digits, or "0x" and hex digits, at most 0xFFFF; nothing else.
std::optional<uint32_t> numero(std::string_view texto) {
  unsigned base = 10;
  if (texto.size() > 2 && texto[0] == '0' && (texto[1] == 'x' || texto[1] == 'X')) {
    base = 16;
    texto.remove_prefix(2);
  }
  if (texto.empty()) return std::nullopt;
  uint32_t valor = 0;
  for (char c : texto) {
    unsigned cifra;
    if (c >= '0' && c <= '9') {
      cifra = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      cifra = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      cifra = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    valor = valor * base + cifra;
    if (valor > 0xFFFF) return std::nullopt;  // checked at each digit: never overflows
  }
  return valor;
}

// The language part of a locale ("es" of "es_ES"); empty when it has none.
std::string lengua(const char *locale) {
  char lengua[ULOC_LANG_CAPACITY] = "";
  UErrorCode e = U_ZERO_ERROR;
  uloc_getLanguage(locale, lengua, sizeof lengua, &e);
  return U_SUCCESS(e) && e != U_STRING_NOT_TERMINATED_WARNING ? lengua : "";
}

// The identifier of a locale name, or 0. A BCP 47 tag ("pt-BR") is read as one; a name
// that ICU has no identifier for ("zh_Hans") gets that of its likely full form.
uint32_t de_locale(std::string_view texto) {
  for (char c : texto)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '@' ||
          c == '=' || c == '.'))
      return 0;
  const std::string nombre(texto);
  char locale[kLargoLocale] = "";
  UErrorCode e = U_ZERO_ERROR;
  if (nombre.find('-') != std::string::npos) {
    int32_t leidos = 0;
    uloc_forLanguageTag(nombre.c_str(), locale, kLargoLocale, &leidos, &e);
    if (leidos != static_cast<int32_t>(nombre.size())) return 0;
  } else {
    uloc_canonicalize(nombre.c_str(), locale, kLargoLocale, &e);
  }
  if (U_FAILURE(e) || e == U_STRING_NOT_TERMINATED_WARNING) return 0;
  const std::string propia = lengua(locale);
  if (propia.empty() || propia == "und" || propia == "root") return 0;
  uint32_t idioma = uloc_getLCID(locale);
  if (idioma == 0) {
    char completo[kLargoLocale] = "";
    e = U_ZERO_ERROR;
    uloc_addLikelySubtags(locale, completo, kLargoLocale, &e);
    if (U_SUCCESS(e) && e != U_STRING_NOT_TERMINATED_WARNING) idioma = uloc_getLCID(completo);
  }
  // The identifier must be of the language asked for (for a country it has no identifier
  // of, ICU gives that of the language alone).
  return idioma <= 0xFFFF && lengua(idiomas_nombre(idioma).c_str()) == propia ? idioma : 0;
}

}  // namespace

std::optional<uint32_t> idiomas_lee(std::string_view texto) {
  if (!texto.empty() && texto[0] >= '0' && texto[0] <= '9') {
    const std::optional<uint32_t> idioma = numero(texto);
    if (idioma && !idiomas_nombre(*idioma).empty()) return idioma;
    return std::nullopt;
  }
  if (const uint32_t idioma = de_locale(texto); idioma != 0) return idioma;
  return std::nullopt;
}

std::string idiomas_escribe(uint32_t idioma) {
  char texto[16];
  std::snprintf(texto, sizeof texto, "0x%04X", static_cast<unsigned>(idioma));
  return texto;
}

std::string idiomas_nombre(uint32_t idioma) {
  char locale[kLargoLocale] = "";
  UErrorCode e = U_ZERO_ERROR;
  uloc_getLocaleForLCID(idioma, locale, kLargoLocale, &e);
  if (U_FAILURE(e) || e == U_STRING_NOT_TERMINATED_WARNING) return {};
  // Keywords ("@collation=traditional") name a sort order, not the language.
  char base[kLargoLocale] = "";
  uloc_getBaseName(locale, base, kLargoLocale, &e);
  if (U_FAILURE(e) || e == U_STRING_NOT_TERMINATED_WARNING) return {};
  const std::string nombre = base;
  // The neutral identifiers (0, 0x0400, 0x0800 ...) are ICU's root: no language.
  if (nombre.empty() || nombre == "root") return {};
  return nombre;
}

std::optional<uint32_t> idiomas_de_pagina(const std::string &ruta) {
  // The HTML tag comes after a doctype and comments (a licence, at times): 64 KiB hold it.
  constexpr size_t kInicio = 64 * 1024;
  const std::unique_ptr<std::FILE, int (*)(std::FILE *)> f(std::fopen(ruta.c_str(), "rbe"),
                                                           std::fclose);
  if (f == nullptr) return std::nullopt;
  std::string inicio(kInicio, '\0');
  inicio.resize(std::fread(inicio.data(), 1, kInicio, f.get()));
  size_t desde = 0;
  TagDeTexto tag;
  while (marcado_siguiente_tag(inicio, &desde, &tag)) {
    if (tag.clase == TagDeTexto::Clase::comentario) continue;
    if (tag.clase != TagDeTexto::Clase::apertura || tag.nombre != "html") return std::nullopt;
    for (const char *atributo : {"lang", "xml:lang"})
      for (const auto &[nombre, valor] : tag.atributos)
        if (nombre == atributo && !valor.empty()) return idiomas_lee(valor);
    return std::nullopt;
  }
  return std::nullopt;
}
