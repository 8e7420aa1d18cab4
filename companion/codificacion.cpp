/* codificacion.cpp - a page's encoding, found as a browser finds it: labels, prescan, tests. */
#include "companion/codificaciones.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "companion/interno.h"
#include "companion/paginas_codigos.h"
#include "privado/ascii.h"
#include "privado/blancos.h"
#include "privado/utf8.h"

namespace {

using companion::Codificacion;

// The encodings of the Encoding standard, by the names it gives them, the ICU converters
// that read them as browsers do, and every label of the standard that names each.
// "replacement" and x-user-defined have no converter: the first is never read, and the
// second only names windows-1252 in a page; UTF-16 is converted by the companion itself.
// clang-format off
constexpr Codificacion kCodificaciones[] = {
    {"UTF-8", "UTF-8", true,
     "unicode-1-1-utf-8 unicode11utf8 unicode20utf8 utf-8 utf8 x-unicode20utf8"},
    {"IBM866", "ibm-866", true,
     "866 cp866 csibm866 ibm866"},
    {"ISO-8859-2", "ISO-8859-2", true,
     "csisolatin2 iso-8859-2 iso-ir-101 iso8859-2 iso88592 iso_8859-2 iso_8859-2:1987 l2 "
     "latin2"},
    {"ISO-8859-3", "ISO-8859-3", true,
     "csisolatin3 iso-8859-3 iso-ir-109 iso8859-3 iso88593 iso_8859-3 iso_8859-3:1988 l3 "
     "latin3"},
    {"ISO-8859-4", "ISO-8859-4", true,
     "csisolatin4 iso-8859-4 iso-ir-110 iso8859-4 iso88594 iso_8859-4 iso_8859-4:1988 l4 "
     "latin4"},
    {"ISO-8859-5", "ISO-8859-5", true,
     "csisolatincyrillic cyrillic iso-8859-5 iso-ir-144 iso8859-5 iso88595 iso_8859-5 "
     "iso_8859-5:1988"},
    {"ISO-8859-6", "ISO-8859-6", true,
     "arabic asmo-708 csiso88596e csiso88596i csisolatinarabic ecma-114 iso-8859-6 "
     "iso-8859-6-e iso-8859-6-i iso-ir-127 iso8859-6 iso88596 iso_8859-6 iso_8859-6:1987"},
    {"ISO-8859-7", "ISO-8859-7", true,
     "csisolatingreek ecma-118 elot_928 greek greek8 iso-8859-7 iso-ir-126 iso8859-7 "
     "iso88597 iso_8859-7 iso_8859-7:1987 sun_eu_greek"},
    {"ISO-8859-8", "ISO-8859-8", true,
     "csiso88598e csisolatinhebrew hebrew iso-8859-8 iso-8859-8-e iso-ir-138 iso8859-8 "
     "iso88598 iso_8859-8 iso_8859-8:1988 visual"},
    {"ISO-8859-8-I", "ISO-8859-8", true,
     "csiso88598i iso-8859-8-i logical"},
    {"ISO-8859-10", "ISO-8859-10", true,
     "csisolatin6 iso-8859-10 iso-ir-157 iso8859-10 iso885910 l6 latin6"},
    {"ISO-8859-13", "ISO-8859-13", true,
     "iso-8859-13 iso8859-13 iso885913"},
    {"ISO-8859-14", "ISO-8859-14", true,
     "iso-8859-14 iso8859-14 iso885914"},
    {"ISO-8859-15", "ISO-8859-15", true,
     "csisolatin9 iso-8859-15 iso8859-15 iso885915 iso_8859-15 l9"},
    {"ISO-8859-16", "ISO-8859-16", true,
     "iso-8859-16"},
    {"KOI8-R", "KOI8-R", true,
     "cskoi8r koi koi8 koi8-r koi8_r"},
    {"KOI8-U", "KOI8-U", true,
     "koi8-ru koi8-u"},
    {"macintosh", "macintosh", true,
     "csmacintosh mac macintosh x-mac-roman"},
    {"windows-874", "windows-874-2000", true,
     "dos-874 iso-8859-11 iso8859-11 iso885911 tis-620 windows-874"},
    {"windows-1250", "windows-1250", true,
     "cp1250 windows-1250 x-cp1250"},
    {"windows-1251", "windows-1251", true,
     "cp1251 windows-1251 x-cp1251"},
    {"windows-1252", "windows-1252", true,
     "ansi_x3.4-1968 ascii cp1252 cp819 csisolatin1 ibm819 iso-8859-1 iso-ir-100 iso8859-1 "
     "iso88591 iso_8859-1 iso_8859-1:1987 l1 latin1 us-ascii windows-1252 x-cp1252"},
    {"windows-1253", "windows-1253", true,
     "cp1253 windows-1253 x-cp1253"},
    {"windows-1254", "windows-1254", true,
     "cp1254 csisolatin5 iso-8859-9 iso-ir-148 iso8859-9 iso88599 iso_8859-9 "
     "iso_8859-9:1989 l5 latin5 windows-1254 x-cp1254"},
    {"windows-1255", "windows-1255", true,
     "cp1255 windows-1255 x-cp1255"},
    {"windows-1256", "windows-1256", true,
     "cp1256 windows-1256 x-cp1256"},
    {"windows-1257", "windows-1257", true,
     "cp1257 windows-1257 x-cp1257"},
    {"windows-1258", "windows-1258", true,
     "cp1258 windows-1258 x-cp1258"},
    {"x-mac-cyrillic", "x-mac-cyrillic", true,
     "x-mac-cyrillic x-mac-ukrainian"},
    {"GBK", "gb18030", true,
     "chinese csgb2312 csiso58gb231280 gb2312 gb_2312 gb_2312-80 gbk iso-ir-58 x-gbk"},
    {"gb18030", "gb18030", true,
     "gb18030"},
    {"Big5", "ibm-1375_P100-2008", true,
     "big5 big5-hkscs cn-big5 csbig5 x-x-big5"},
    {"EUC-JP", "EUC-JP", true,
     "cseucpkdfmtjapanese euc-jp x-euc-jp"},
    {"ISO-2022-JP", "ISO_2022,locale=ja,version=0", false,
     "csiso2022jp iso-2022-jp"},
    {"Shift_JIS", "windows-31j", true,
     "csshiftjis ms932 ms_kanji shift-jis shift_jis sjis windows-31j x-sjis"},
    {"EUC-KR", "windows-949-2000", true,
     "cseuckr csksc56011987 euc-kr iso-ir-149 korean ks_c_5601-1987 ks_c_5601-1989 ksc5601 "
     "ksc_5601 windows-949"},
    {"replacement", nullptr, false,
     "csiso2022kr hz-gb-2312 iso-2022-cn iso-2022-cn-ext iso-2022-kr"},
    {"UTF-16BE", "UTF-16BE", false,
     "unicodefffe utf-16be"},
    {"UTF-16LE", "UTF-16LE", false,
     "csunicode iso-10646-ucs-2 ucs-2 unicode unicodefeff utf-16 utf-16le"},
    {"x-user-defined", nullptr, true,
     "x-user-defined"},
};
// clang-format on

constexpr size_t indice_de(std::string_view nombre) {
  for (size_t i = 0; i < std::size(kCodificaciones); ++i)
    if (kCodificaciones[i].nombre == nombre) return i;
  return std::size(kCodificaciones);
}

constexpr unsigned char minuscula(unsigned char c) {
  return static_cast<unsigned char>(a_minuscula(static_cast<char>(c)));
}

bool es_letra(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

const Codificacion *codificacion_de_etiqueta(std::string_view etiqueta) {
  while (!etiqueta.empty() && es_blanco_html(static_cast<unsigned char>(etiqueta.front())))
    etiqueta.remove_prefix(1);
  while (!etiqueta.empty() && es_blanco_html(static_cast<unsigned char>(etiqueta.back())))
    etiqueta.remove_suffix(1);
  if (etiqueta.empty() || etiqueta.find(' ') != std::string_view::npos) return nullptr;
  std::string minusculas(etiqueta);
  for (char &c : minusculas) c = static_cast<char>(minuscula(static_cast<unsigned char>(c)));
  for (const Codificacion &c : kCodificaciones) {
    const std::string_view etiquetas = c.etiquetas;
    for (size_t i = 0; i < etiquetas.size();) {
      const size_t fin = std::min(etiquetas.find(' ', i), etiquetas.size());
      if (etiquetas.substr(i, fin - i) == minusculas) return &c;
      i = fin + 1;
    }
  }
  return nullptr;
}

const Codificacion &codificacion_llamada(std::string_view nombre) {
  const size_t i = indice_de(nombre);
  return kCodificaciones[i < std::size(kCodificaciones) ? i : indice_de("windows-1252")];
}

// A label found in the page: its span and what it names once the prescan's rules are
// applied (a UTF-16 label means UTF-8, x-user-defined windows-1252).
struct Declaracion {
  tramo_bytes_t tramo{0, 0};
  const Codificacion *codificacion = nullptr; /* null when the label is unknown */
};

const Codificacion *tal_como_declarada(const Codificacion *c) {
  if (c == nullptr) return nullptr;
  const std::string_view nombre = c->nombre;
  if (nombre == "UTF-16LE" || nombre == "UTF-16BE") return &codificacion_llamada("UTF-8");
  if (nombre == "x-user-defined") return &codificacion_llamada("windows-1252");
  return c;
}

// The bytes of the page that the prescan looks at.
class Prescan {
 public:
  explicit Prescan(std::string_view bytes) : b_(bytes.substr(0, 1024)) {}

  // The encoding of an XML declaration that begins the page.
  bool declaracion_xml(Declaracion *d) const {
    if (b_.substr(0, 5) != "<?xml" || b_.size() < 6 || !es_blanco_html(at(5))) return false;
    const size_t fin = std::min(b_.find("?>"), b_.size());
    size_t i = b_.find("encoding", 5);
    if (i == std::string_view::npos || i >= fin) return false;
    i += 8;
    while (i < fin && es_blanco_html(at(i))) ++i;
    if (i >= fin || b_[i] != '=') return false;
    ++i;
    while (i < fin && es_blanco_html(at(i))) ++i;
    if (i >= fin || (b_[i] != '"' && b_[i] != '\'')) return false;
    const size_t cierre = b_.find(b_[i], i + 1);
    if (cierre == std::string_view::npos || cierre > fin) return false;
    d->tramo = {static_cast<uint32_t>(i + 1), static_cast<uint32_t>(cierre)};
    d->codificacion =
        tal_como_declarada(codificacion_de_etiqueta(b_.substr(i + 1, cierre - i - 1)));
    return true;
  }

  // The browser's prescan for a META that declares the charset.
  bool meta(Declaracion *d) const {
    for (size_t i = 0; i < b_.size(); ++i) {
      if (b_[i] != '<') continue;
      if (b_.substr(i, 4) == "<!--") {
        const size_t fin = b_.find("-->", i + 2);
        if (fin == std::string_view::npos) return false;
        i = fin + 2;
      } else if (es_meta(i)) {
        size_t p = i + 5;
        if (lee_meta(&p, d)) return true;
        i = p;  // on to the byte after the tag's attributes
      } else if (i + 1 < b_.size() &&
                 (es_letra(at(i + 1)) ||
                  (b_[i + 1] == '/' && i + 2 < b_.size() && es_letra(at(i + 2))))) {
        size_t p = i + 1;
        while (p < b_.size() && !es_blanco_html(at(p)) && b_[p] != '>') ++p;
        Atributo a;
        while (lee_atributo(&p, &a)) {
        }
        i = p;
      } else if (i + 1 < b_.size() && (b_[i + 1] == '!' || b_[i + 1] == '/' || b_[i + 1] == '?')) {
        const size_t fin = b_.find('>', i + 1);
        if (fin == std::string_view::npos) return false;
        i = fin;
      }
    }
    return false;
  }

 private:
  struct Atributo {
    std::string nombre;
    std::string valor; /* lower case */
    size_t inicio_valor = 0;
  };

  unsigned char at(size_t i) const { return static_cast<unsigned char>(b_[i]); }

  bool es_meta(size_t i) const {
    if (i + 5 >= b_.size()) return false;
    for (size_t k = 0; k < 4; ++k)
      if (minuscula(at(i + 1 + k)) != static_cast<unsigned char>("meta"[k])) return false;
    return es_blanco_html(at(i + 5)) || b_[i + 5] == '/';
  }

  // The prescan's "get an attribute": false when none is left (*p on the '>' or at the
  // end).
  bool lee_atributo(size_t *p, Atributo *a) const {
    size_t i = *p;
    while (i < b_.size() && (es_blanco_html(at(i)) || b_[i] == '/')) ++i;
    *p = i;
    if (i >= b_.size() || b_[i] == '>') return false;
    a->nombre.clear();
    a->valor.clear();
    for (;; ++i) {
      if (i >= b_.size()) return *p = i, false;
      const unsigned char c = at(i);
      if (c == '=' && !a->nombre.empty()) break;
      if (es_blanco_html(c)) {
        while (i < b_.size() && es_blanco_html(at(i))) ++i;
        if (i >= b_.size() || b_[i] != '=') return *p = i, true;
        break;
      }
      if (c == '/' || c == '>') return *p = i, true;
      a->nombre.push_back(static_cast<char>(minuscula(c)));
    }
    ++i;  // the '='
    while (i < b_.size() && es_blanco_html(at(i))) ++i;
    if (i >= b_.size()) return *p = i, false;
    if (b_[i] == '"' || b_[i] == '\'') {
      const char comilla = b_[i];
      a->inicio_valor = ++i;
      for (; i < b_.size() && b_[i] != comilla; ++i)
        a->valor.push_back(static_cast<char>(minuscula(at(i))));
      if (i >= b_.size()) return *p = i, false;
      return *p = i + 1, true;
    }
    if (b_[i] == '>') return *p = i, true;
    a->inicio_valor = i;
    for (; i < b_.size() && !es_blanco_html(at(i)) && b_[i] != '>'; ++i)
      a->valor.push_back(static_cast<char>(minuscula(at(i))));
    return *p = i, i < b_.size();
  }

  // The charset that a META content gives (the standard's "extract a character encoding
  // from a meta element"): its span in the value, or false.
  static bool charset_de_content(std::string_view v, size_t *inicio, size_t *fin) {
    for (size_t i = v.find("charset"); i != std::string_view::npos; i = v.find("charset", i)) {
      i += 7;
      while (i < v.size() && es_blanco_html(static_cast<unsigned char>(v[i]))) ++i;
      if (i >= v.size() || v[i] != '=') continue;
      ++i;
      while (i < v.size() && es_blanco_html(static_cast<unsigned char>(v[i]))) ++i;
      if (i >= v.size()) return false;
      if (v[i] == '"' || v[i] == '\'') {
        const size_t cierre = v.find(v[i], i + 1);
        if (cierre == std::string_view::npos) return false;
        *inicio = i + 1;
        *fin = cierre;
        return true;
      }
      *inicio = i;
      for (*fin = i; *fin < v.size() && !es_blanco_html(static_cast<unsigned char>(v[*fin])) &&
                     v[*fin] != ';';
           ++*fin) {
      }
      return true;
    }
    return false;
  }

  // The attributes of a META from *p: true when they declare the charset.
  bool lee_meta(size_t *p, Declaracion *d) const {
    bool pragma = false, hay_http_equiv = false, hay_content = false, hay_charset = false;
    int pide_pragma = -1; /* unknown, no, yes */
    Declaracion hallada;
    bool hay_etiqueta = false;
    Atributo a;
    while (lee_atributo(p, &a)) {
      bool *visto = a.nombre == "http-equiv" ? &hay_http_equiv
                    : a.nombre == "content"  ? &hay_content
                    : a.nombre == "charset"  ? &hay_charset
                                             : nullptr;
      if (visto == nullptr || *visto) continue;
      *visto = true;
      if (visto == &hay_http_equiv) {
        pragma = pragma || a.valor == "content-type";
      } else if (visto == &hay_content) {
        size_t inicio = 0, fin = 0;
        if (!hay_etiqueta && charset_de_content(a.valor, &inicio, &fin)) {
          hallada.tramo = {static_cast<uint32_t>(a.inicio_valor + inicio),
                           static_cast<uint32_t>(a.inicio_valor + fin)};
          hallada.codificacion =
              codificacion_de_etiqueta(std::string_view(a.valor).substr(inicio, fin - inicio));
          hay_etiqueta = true;
          pide_pragma = 1;
        }
      } else {
        hallada.tramo = {static_cast<uint32_t>(a.inicio_valor),
                         static_cast<uint32_t>(a.inicio_valor + a.valor.size())};
        hallada.codificacion = codificacion_de_etiqueta(a.valor);
        hay_etiqueta = true;
        pide_pragma = 0;
      }
    }
    if (pide_pragma < 0 || (pide_pragma == 1 && !pragma) || hallada.codificacion == nullptr)
      return false;
    hallada.codificacion = tal_como_declarada(hallada.codificacion);
    *d = hallada;
    return true;
  }

  std::string_view b_;
};

// Whether the bytes are all valid UTF-8: no overlong form, no surrogate, nothing above
// U+10FFFF, no sequence cut by the end. ASCII is skipped eight bytes at a time.
bool es_utf8_valido(const unsigned char *b, size_t n) {
  size_t i = 0;
  while (i < n) {
    if (i + 8 <= n) {
      uint64_t ocho;
      std::memcpy(&ocho, b + i, 8);
      if ((ocho & 0x8080808080808080ull) == 0) {
        i += 8;
        continue;
      }
    }
    char32_t punto;
    const unsigned largo = secuencia_utf8(b + i, n - i, &punto);
    if (largo == 0) return false;
    i += largo;
  }
  return true;
}

// Whether more than one byte in 16 of the first 1024 is a control character that no text
// holds: a page of binary data, or UTF-16 without its byte order mark. Tab, line feed,
// form feed, carriage return and escape (which ISO-2022 uses) are text.
bool parece_binario(const unsigned char *b, size_t n) {
  const size_t m = std::min<size_t>(n, 1024);
  size_t control = 0;
  for (size_t i = 0; i < m; ++i)
    control +=
        b[i] < 0x20 && b[i] != 0x09 && b[i] != 0x0A && b[i] != 0x0C && b[i] != 0x0D && b[i] != 0x1B;
  return control * 16 > m;
}

}  // namespace

namespace companion {

const Codificacion *codificacion_por_nombre(const char *nombre) {
  if (nombre == nullptr) return nullptr;
  const size_t i = indice_de(nombre);
  return i < std::size(kCodificaciones) ? &kCodificaciones[i] : nullptr;
}

}  // namespace companion

extern "C" {

const char *conv_codificacion_de_etiqueta(const char *etiqueta, size_t largo) noexcept {
  if (etiqueta == nullptr) return nullptr;
  const Codificacion *c = codificacion_de_etiqueta(std::string_view(etiqueta, largo));
  return c != nullptr ? c->nombre : nullptr;
}

uint32_t conv_declaraciones_de_codificacion(const char *bytes, size_t longitud,
                                            tramo_bytes_t *tramos, uint32_t max) noexcept {
  if (bytes == nullptr) return 0;
  const Prescan prescan(std::string_view(bytes, longitud));
  Declaracion xml, meta;
  uint32_t n = 0;
  for (const Declaracion *d :
       {prescan.declaracion_xml(&xml) ? &xml : nullptr, prescan.meta(&meta) ? &meta : nullptr}) {
    if (d == nullptr) continue;
    if (tramos != nullptr && n < max) tramos[n] = d->tramo;
    ++n;
  }
  return n;
}

void conv_detecta_codificacion(const char *bytes, size_t longitud, uint32_t idioma,
                               codificacion_pagina_t *codificacion) noexcept {
  if (codificacion == nullptr) return;
  codificacion_pagina_t &c = *codificacion;
  c = {};
  const auto elige = [&c](const Codificacion &elegida, origen_codificacion_t origen) {
    c.nombre = elegida.nombre;
    c.origen = origen;
    c.compatible_ascii = elegida.compatible_ascii ? CIERTO : FALSO;
  };
  const std::string_view b(bytes != nullptr ? bytes : "", bytes != nullptr ? longitud : 0);
  const auto *u = reinterpret_cast<const unsigned char *>(b.data());
  if (b.substr(0, 3) == "\xEF\xBB\xBF") {
    elige(codificacion_llamada("UTF-8"), CODIFICACION_POR_BOM);
    c.bom = 3;
    return;
  }
  if (b.substr(0, 2) == "\xFE\xFF" || b.substr(0, 2) == "\xFF\xFE") {
    elige(codificacion_llamada(b[0] == '\xFE' ? "UTF-16BE" : "UTF-16LE"), CODIFICACION_POR_BOM);
    c.bom = 2;
    return;
  }

  const Prescan prescan(b);
  Declaracion d;
  if (prescan.declaracion_xml(&d) && d.codificacion == nullptr) {
    c.razon = "the encoding of its XML declaration is no encoding the Encoding standard knows";
    d = {};
  }
  if (d.codificacion == nullptr) prescan.meta(&d);
  if (d.codificacion != nullptr) {
    const std::string_view nombre = d.codificacion->nombre;
    if (nombre == "replacement") {
      elige(codificacion_llamada("windows-1252"), CODIFICACION_ILEGIBLE);
      c.razon = "it declares an encoding that browsers never read (ISO-2022-KR, HZ, ISO-2022-CN)";
      c.declarada = d.codificacion->nombre;
      return;
    }
    if (d.codificacion->icu != nullptr &&
        (nombre == "UTF-8" || companion::convertidor_de_nombre(d.codificacion->icu) != nullptr)) {
      elige(*d.codificacion, CODIFICACION_DECLARADA);
      c.razon = nullptr;
      return;
    }
    c.razon = "ICU cannot read the encoding it declares";
    c.declarada = d.codificacion->nombre;
  }

  if (parece_binario(u, b.size())) {
    elige(codificacion_llamada("windows-1252"), CODIFICACION_ILEGIBLE);
    c.razon =
        "more than one byte in 16 of its first 1024 is a control character: binary data, or "
        "UTF-16 without a byte order mark";
    return;
  }
  if (es_utf8_valido(u, b.size())) {
    elige(codificacion_llamada("UTF-8"), CODIFICACION_POR_UTF8);
    return;
  }
  elige(codificacion_llamada(conv_codificacion_de_idioma(idioma)), CODIFICACION_DEL_IDIOMA);
}

}  // extern "C"
