// idiomas.cpp - languages: Windows language identifiers read from locale names or numbers,
// and written back as numbers and as locale names.
#include "idiomas.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <utility>

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

// Whether ICU has a name for the language ("eo", "yue"): for a code it does not know it
// gives the code back.
bool lengua_conocida(const std::string &propia) {
  if (propia.empty() || propia == "und" || propia == "root") return false;
  UChar nombre[64];
  UErrorCode e = U_ZERO_ERROR;
  const int32_t largo = uloc_getDisplayLanguage(propia.c_str(), "en", nombre, 64, &e);
  if (U_FAILURE(e) || e == U_USING_DEFAULT_WARNING || largo <= 0) return false;
  if (largo != static_cast<int32_t>(propia.size())) return true;
  for (int32_t i = 0; i < largo; ++i)
    if (nombre[i] != static_cast<UChar>(propia[i])) return true;
  return false;
}

// A locale name in ICU's form: a BCP 47 tag ("pt-BR") as ICU reads it; a name as gettext
// writes one, language[_Script][_TERRITORY][.codeset][@modifier], with a script modifier
// made its script ("sr_RS@latin": "sr_Latn_RS") and a variant modifier its variant
// ("ca@valencia": "ca__VALENCIA"); other modifiers ("@euro") name no language. Empty when
// texto is neither.
std::string a_icu(std::string_view texto) {
  for (char c : texto)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '@' ||
          c == '.'))
      return {};
  char locale[kLargoLocale] = "";
  UErrorCode e = U_ZERO_ERROR;
  // A codeset may hold a '-' ("UTF-8"): only the name before it tells a BCP 47 tag.
  if (texto.substr(0, std::min(texto.find('.'), texto.find('@'))).find('-') !=
      std::string_view::npos) {
    const std::string etiqueta(texto);
    int32_t leidos = 0;
    uloc_forLanguageTag(etiqueta.c_str(), locale, kLargoLocale, &leidos, &e);
    if (U_FAILURE(e) || e == U_STRING_NOT_TERMINATED_WARNING ||
        leidos != static_cast<int32_t>(etiqueta.size()))
      return {};
    return locale;
  }
  const size_t arroba = texto.find('@');
  std::string_view modificador =
      arroba == std::string_view::npos ? std::string_view() : texto.substr(arroba + 1);
  std::string_view base = texto.substr(0, std::min(arroba, texto.find('.')));
  std::string lengua_, escritura, territorio, variante;
  for (size_t parte = 0; !base.empty(); ++parte) {
    const std::string_view trozo = base.substr(0, base.find('_'));
    base.remove_prefix(std::min(base.size(), trozo.size() + 1));
    std::string t(trozo);
    const bool letras =
        std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isalpha(c) != 0; });
    const bool cifras =
        std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
    for (char &c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (parte == 0 && letras && (t.size() == 2 || t.size() == 3)) {
      lengua_ = t;
    } else if (parte == 1 && letras && t.size() == 4) {
      escritura = t;
      escritura[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
    } else if (parte > 0 && territorio.empty() &&
               ((letras && t.size() == 2) || (cifras && t.size() == 3))) {
      for (char &c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      territorio = t;
    } else {
      return {};
    }
  }
  if (lengua_.empty()) return {};
  constexpr std::pair<std::string_view, const char *> kEscrituras[] = {
      {"latin", "Latn"},  {"cyrillic", "Cyrl"},   {"arabic", "Arab"},
      {"hebrew", "Hebr"}, {"devanagari", "Deva"}, {"adlam", "Adlm"}};
  for (const auto &[nombre, codigo] : kEscrituras)
    if (modificador == nombre) escritura = codigo;
  if (escritura.empty() && modificador.size() >= 5 && modificador.size() <= 8 &&
      std::all_of(modificador.begin(), modificador.end(),
                  [](unsigned char c) { return std::isalnum(c) != 0; }))
    for (char c : modificador)
      variante += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string r = lengua_;
  if (!escritura.empty()) r += "_" + escritura;
  if (!territorio.empty()) r += "_" + territorio;
  if (!variante.empty()) r += (territorio.empty() ? "__" : "_") + variante;
  return r;
}

// The identifier of a locale name, or 0: that of the locale, else of the locale without
// its variant, else of its likely full form ("zh_Hans": "zh_Hans_CN"). A language that
// Windows has no identifier for ("eo", "yue", "ast") gets one that stands for the code
// page of its script (English's for the Latin script), so that its texts can be written;
// its own name and tag are kept by the caller.
uint32_t de_locale(std::string_view texto) {
  const std::string locale = a_icu(texto);
  if (locale.empty()) return 0;
  const std::string propia = lengua(locale.c_str());
  if (!lengua_conocida(propia)) return 0;
  char sin_variante[kLargoLocale] = "", completo[kLargoLocale] = "";
  UErrorCode e = U_ZERO_ERROR;
  uloc_getBaseName(locale.c_str(), sin_variante, kLargoLocale, &e);
  const std::string corta = sin_variante;
  if (const size_t doble = corta.find("__"); doble != std::string::npos)
    std::snprintf(sin_variante, kLargoLocale, "%s", corta.substr(0, doble).c_str());
  e = U_ZERO_ERROR;
  uloc_addLikelySubtags(locale.c_str(), completo, kLargoLocale, &e);
  if (U_FAILURE(e) || e == U_STRING_NOT_TERMINATED_WARNING) completo[0] = '\0';
  for (const char *candidato : {locale.c_str(), static_cast<const char *>(sin_variante),
                                static_cast<const char *>(completo)}) {
    const uint32_t idioma = uloc_getLCID(candidato);
    // The identifier must be of the language asked for (for a country it has no
    // identifier of, ICU gives that of the language alone).
    if (idioma != 0 && idioma <= 0xFFFF && lengua(idiomas_nombre(idioma).c_str()) == propia)
      return idioma;
  }
  char escritura[ULOC_SCRIPT_CAPACITY] = "";
  e = U_ZERO_ERROR;
  uloc_getScript(completo, escritura, ULOC_SCRIPT_CAPACITY, &e);
  constexpr std::pair<std::string_view, uint32_t> kPorEscritura[] = {
      {"Cyrl", 0x0419}, {"Arab", 0x0401}, {"Hebr", 0x040D}, {"Grek", 0x0408}, {"Thai", 0x041E},
      {"Hans", 0x0804}, {"Hant", 0x0404}, {"Jpan", 0x0411}, {"Kore", 0x0412}};
  for (const auto &[codigo, idioma] : kPorEscritura)
    if (codigo == escritura) return idioma;
  return kIdiomaPorDefecto;
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

std::string idiomas_nombre_dado(std::string_view texto) {
  if (!texto.empty() && texto[0] >= '0' && texto[0] <= '9') {
    const std::optional<uint32_t> idioma = idiomas_lee(texto);
    return idioma ? idiomas_nombre(*idioma) : std::string();
  }
  // gettext drops the codeset: a PO file is in the charset its header names.
  const size_t punto = texto.find('.'), arroba = texto.find('@');
  std::string nombre(texto.substr(0, std::min(punto, arroba)));
  if (arroba != std::string_view::npos) nombre += texto.substr(arroba);
  return nombre;
}

std::string idiomas_etiqueta(std::string_view texto) {
  if (texto.empty() || (texto[0] >= '0' && texto[0] <= '9') || !idiomas_lee(texto)) return {};
  const std::string locale = a_icu(texto);
  char etiqueta[kLargoLocale] = "";
  UErrorCode e = U_ZERO_ERROR;
  uloc_toLanguageTag(locale.c_str(), etiqueta, kLargoLocale, true, &e);
  return U_SUCCESS(e) && e != U_STRING_NOT_TERMINATED_WARNING ? etiqueta : "";
}
