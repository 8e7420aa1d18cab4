/* idiomas.cpp - the Windows code page of a language, and the per-thread ICU converters. */
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/uloc.h>

#include "companion/interno.h"
#include "companion/paginas_codigos.h"

namespace {

constexpr uint32_t kPrimario = 0x3FF;

// Sublanguages (LANGID >> 10) written in Cyrillic, in the languages that are written in
// both scripts; the rest of each language's sublanguages are Latin.
bool serbocroata_cirilico(uint32_t sub) {
  // sr-Cyrl-CS, sr-Cyrl-BA, bs-Cyrl-BA, sr-Cyrl-RS, sr-Cyrl-ME, bs-Cyrl, sr-Cyrl.
  return sub == 0x03 || sub == 0x07 || sub == 0x08 || sub == 0x0A || sub == 0x0C || sub == 0x19 ||
         sub == 0x1B;
}

uint32_t pagina_de(uint32_t idioma) {
  const uint32_t primario = idioma & kPrimario;
  const uint32_t sub = (idioma >> 10) & 0x3F;
  switch (primario) {
    case 0x05:  // Czech
    case 0x0E:  // Hungarian
    case 0x15:  // Polish
    case 0x18:  // Romanian
    case 0x1B:  // Slovak
    case 0x1C:  // Albanian
    case 0x24:  // Slovenian
      return 1250;
    case 0x1A:  // Croatian, Serbian, Bosnian
      return serbocroata_cirilico(sub) ? 1251 : 1250;
    case 0x02:  // Bulgarian
    case 0x19:  // Russian
    case 0x22:  // Ukrainian
    case 0x23:  // Belarusian
    case 0x2F:  // Macedonian
    case 0x3F:  // Kazakh
    case 0x40:  // Kyrgyz
    case 0x44:  // Tatar
    case 0x50:  // Mongolian
      return 1251;
    case 0x08:  // Greek
      return 1253;
    case 0x1F:  // Turkish
      return 1254;
    case 0x2C:  // Azeri: az-Cyrl-AZ and az-Cyrl are Cyrillic
      return (sub == 0x02 || sub == 0x1D) ? 1251 : 1254;
    case 0x43:  // Uzbek: uz-Cyrl-UZ and uz-Cyrl are Cyrillic
      return (sub == 0x02 || sub == 0x1E) ? 1251 : 1254;
    case 0x0D:  // Hebrew
      return 1255;
    case 0x01:  // Arabic
    case 0x20:  // Urdu
    case 0x29:  // Farsi
      return 1256;
    case 0x25:  // Estonian
    case 0x26:  // Latvian
    case 0x27:  // Lithuanian
      return 1257;
    case 0x2A:  // Vietnamese
      return 1258;
    case 0x1E:  // Thai
      return 874;
    case 0x11:  // Japanese
      return 932;
    case 0x12:  // Korean
      return 949;
    case 0x04:  // Chinese: Taiwan, Hong Kong, Macao and zh-Hant are traditional
      return (sub == 0x01 || sub == 0x03 || sub == 0x05 || sub == 0x1F) ? 950 : 936;
    default:
      return 1252;
  }
}

struct Pagina {
  uint32_t numero;
  const char *nombre_icu;
};

// The ICU tables that give Microsoft's mappings of each page. windows-31j is ICU's
// ibm-943_P15A-2003; the "-2000" tables are Microsoft's own.
constexpr std::array<Pagina, 14> kPaginas{{
    {1252, "windows-1252"},
    {1250, "windows-1250"},
    {1251, "windows-1251"},
    {1253, "windows-1253"},
    {1254, "windows-1254"},
    {1255, "windows-1255"},
    {1256, "windows-1256"},
    {1257, "windows-1257"},
    {1258, "windows-1258"},
    {874, "windows-874-2000"},
    {932, "windows-31j"},
    {936, "windows-936-2000"},
    {949, "windows-949-2000"},
    {950, "windows-950-2000"},
}};

size_t indice_de(uint32_t pagina) {
  for (size_t i = 0; i < kPaginas.size(); ++i)
    if (kPaginas[i].numero == pagina) return i;
  return 0;  // 1252
}

thread_local size_t secuencias_invalidas = 0;

// Every unassigned or broken byte sequence reads as U+FFFD, and is counted. ICU's own
// substitute would give U+001A for the pages whose substitution byte is 0x1A.
void a_reemplazo(const void *, UConverterToUnicodeArgs *args, const char *, int32_t,
                 UConverterCallbackReason razon, UErrorCode *error) {
  if (razon != UCNV_UNASSIGNED && razon != UCNV_ILLEGAL && razon != UCNV_IRREGULAR) return;
  ++secuencias_invalidas;
  *error = U_ZERO_ERROR;
  const UChar reemplazo = 0xFFFD;
  ucnv_cbToUWriteUChars(args, &reemplazo, 1, 0, error);
}

// A character that the code page lacks becomes a decimal character reference. ICU's own
// escape callback drops the characters that Unicode calls ignorable (U+200B, U+202A ...)
// instead, which would lose them from the page.
void a_referencia(const void *, UConverterFromUnicodeArgs *args, const UChar *, int32_t,
                  UChar32 punto, UConverterCallbackReason razon, UErrorCode *error) {
  if (razon != UCNV_UNASSIGNED && razon != UCNV_ILLEGAL && razon != UCNV_IRREGULAR) return;
  char referencia[16];
  const int largo = std::snprintf(referencia, sizeof referencia, "&#%d;", static_cast<int>(punto));
  *error = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, referencia, largo, 0, error);
}

// Asks ICU, byte by byte, whether ASCII passes through the converter unchanged.
bool ascii_sin_cambios(UConverter *icu) {
  for (int c = 0; c < 0x80; ++c) {
    const char byte = static_cast<char>(c);
    UChar unidad = 0xFFFF;
    UErrorCode error = U_ZERO_ERROR;
    if (ucnv_toUChars(icu, &unidad, 1, &byte, 1, &error) != 1 || U_FAILURE(error) || unidad != c)
      return false;
    char vuelta = 0;
    const UChar caracter = static_cast<UChar>(c);
    error = U_ZERO_ERROR;
    if (ucnv_fromUChars(icu, &vuelta, 1, &caracter, 1, &error) != 1 || U_FAILURE(error) ||
        vuelta != byte)
      return false;
  }
  return true;
}

UConverter *abre(const char *nombre) {
  UErrorCode error = U_ZERO_ERROR;
  UConverter *icu = ucnv_open(nombre, &error);
  if (U_FAILURE(error)) {
    if (icu != nullptr) ucnv_close(icu);
    return nullptr;
  }
  return icu;
}

// Other encodings than the code pages a thread keeps open at once (those of the pages
// it reads); one more replaces the one used longest ago.
constexpr size_t kOtras = 6;

// The thread's converters, one slot per page and a few by name; closed when the thread
// ends.
struct Cache {
  std::array<companion::Convertidor, kPaginas.size()> convertidores{};
  std::array<companion::Convertidor, kOtras> otros{};
  std::array<const char *, kOtras> nombres{};
  std::array<uint64_t, kOtras> usado{}; /* when each was last asked for; 0: never */
  uint64_t reloj = 0;
  ~Cache() {
    for (auto &c : convertidores)
      if (c.icu != nullptr) ucnv_close(c.icu);
    for (auto &c : otros)
      if (c.icu != nullptr) ucnv_close(c.icu);
  }
};

thread_local Cache cache;

// Opens nombre into c with the companion's callbacks; false, after a report when informa
// is set, when ICU cannot.
bool prepara(companion::Convertidor &c, const char *nombre, uint32_t pagina, bool informa) {
  UConverter *icu = abre(nombre);
  UErrorCode error = U_ZERO_ERROR;
  if (icu != nullptr) {
    ucnv_setFromUCallBack(icu, a_referencia, nullptr, nullptr, nullptr, &error);
    ucnv_setToUCallBack(icu, a_reemplazo, nullptr, nullptr, nullptr, &error);
  }
  if (icu == nullptr || U_FAILURE(error)) {
    if (icu != nullptr) ucnv_close(icu);
    if (informa) companion::informa("(convertidor) != NULL", __LINE__);
    return false;
  }
  c.ascii_directo = ascii_sin_cambios(icu);
  c.un_byte = ucnv_getMaxCharSize(icu) == 1;
  if (c.un_byte) c.lectura_un_byte = companion::lectura_un_byte(icu);
  c.icu = icu;
  c.pagina = pagina;
  return true;
}

}  // namespace

namespace companion {

Convertidor *convertidor_de_pagina(uint32_t pagina) {
  const size_t indice = indice_de(pagina);
  Convertidor &c = cache.convertidores[indice];
  if (c.icu != nullptr) return &c;
  return prepara(c, kPaginas[indice].nombre_icu, kPaginas[indice].numero, true) ? &c : nullptr;
}

Convertidor *convertidor_de_nombre(const char *nombre_icu) {
  for (const Pagina &p : kPaginas)
    if (std::strcmp(p.nombre_icu, nombre_icu) == 0) return convertidor_de_pagina(p.numero);
  for (size_t i = 0; i < kOtras; ++i)
    if (cache.nombres[i] != nullptr && std::strcmp(cache.nombres[i], nombre_icu) == 0) {
      cache.usado[i] = ++cache.reloj;
      return &cache.otros[i];
    }
  // The one used longest ago gives its place: a caller holding the converter of its last
  // call (a conversion between two encodings asks for both) keeps it through this one.
  const size_t i = static_cast<size_t>(std::min_element(cache.usado.begin(), cache.usado.end()) -
                                       cache.usado.begin());
  cache.usado[i] = ++cache.reloj;
  Convertidor &c = cache.otros[i];
  if (c.icu != nullptr) ucnv_close(c.icu);
  c = Convertidor{};
  cache.nombres[i] = nullptr;
  if (!prepara(c, nombre_icu, 0, false)) return nullptr;
  cache.nombres[i] = nombre_icu;
  return &c;
}

size_t &secuencias_invalidas_leidas() {
  return secuencias_invalidas;
}

const char16_t *caracteres_1252() {
  static const std::array<char16_t, 0x80> tabla = [] {
    std::array<char16_t, 0x80> t{};
    UConverter *icu = abre("windows-1252");
    for (int c = 0x80; c < 0x100; ++c) {
      const char byte = static_cast<char>(c);
      UChar unidad = static_cast<UChar>(c);  // Latin-1, should ICU fail
      UErrorCode error = U_ZERO_ERROR;
      if (icu != nullptr) ucnv_toUChars(icu, &unidad, 1, &byte, 1, &error);
      t[c - 0x80] = U_SUCCESS(error) ? unidad : static_cast<char16_t>(c);
    }
    if (icu != nullptr) {
      ucnv_close(icu);
    } else {
      informa("(convertidor) != NULL", __LINE__);
    }
    return t;
  }();
  return tabla.data();
}

}  // namespace companion

extern "C" {

uint32_t conv_pagina_de_codigos(uint32_t idioma) noexcept {
  // A full LCID carries its sort order above the LANGID: only the low 16 bits count.
  return pagina_de(idioma & 0xFFFF);
}

booleano conv_idioma_conocido(uint32_t idioma) noexcept {
  // ICU knows Windows' table of languages; it gives "root" for a language left neutral.
  char locale[ULOC_FULLNAME_CAPACITY];
  UErrorCode error = U_ZERO_ERROR;
  const int32_t largo =
      uloc_getLocaleForLCID(idioma & 0xFFFF, locale, static_cast<int32_t>(sizeof locale), &error);
  return U_SUCCESS(error) && largo > 0 && std::strcmp(locale, "root") != 0 ? CIERTO : FALSO;
}

char *conv_etiqueta_de_idioma(uint32_t idioma) noexcept {
  char locale[ULOC_FULLNAME_CAPACITY];
  char etiqueta[ULOC_FULLNAME_CAPACITY];
  UErrorCode error = U_ZERO_ERROR;
  const int32_t largo =
      uloc_getLocaleForLCID(idioma & 0xFFFF, locale, static_cast<int32_t>(sizeof locale), &error);
  if (U_FAILURE(error) || largo <= 0 || std::strcmp(locale, "root") == 0) return nullptr;
  uloc_toLanguageTag(locale, etiqueta, static_cast<int32_t>(sizeof etiqueta), true, &error);
  if (U_FAILURE(error) || error == U_STRING_NOT_TERMINATED_WARNING) return nullptr;
  return cad_copia(etiqueta);
}

booleano conv_etiqueta_derecha_a_izquierda(const char *etiqueta) noexcept {
  if (etiqueta == nullptr) return FALSO;
  char locale[ULOC_FULLNAME_CAPACITY];
  UErrorCode error = U_ZERO_ERROR;
  int32_t leidos = 0;
  uloc_forLanguageTag(etiqueta, locale, static_cast<int32_t>(sizeof locale), &leidos, &error);
  if (U_FAILURE(error) || error == U_STRING_NOT_TERMINATED_WARNING || leidos == 0) return FALSO;
  return uloc_isRightToLeft(locale) ? CIERTO : FALSO;
}

const char *conv_codificacion_de_idioma(uint32_t idioma) noexcept {
  switch (conv_pagina_de_codigos(idioma)) {
    case 932:
      return "Shift_JIS";
    case 936:
      return "GBK";
    case 949:
      return "EUC-KR";
    case 950:
      return "Big5";
    case 874:
      return "windows-874";
    case 1250:
      return "windows-1250";
    case 1251:
      return "windows-1251";
    case 1253:
      return "windows-1253";
    case 1254:
      return "windows-1254";
    case 1255:
      return "windows-1255";
    case 1256:
      return "windows-1256";
    case 1257:
      return "windows-1257";
    case 1258:
      return "windows-1258";
    default:
      return "windows-1252";
  }
}

}  // extern "C"
