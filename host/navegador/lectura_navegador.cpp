// lectura_navegador.cpp - a page's bytes decoded as a browser decodes them: its encoding found,
// then ICU.
#include "lectura_navegador.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "companion/codificacion.h"
#include "privado/blancos.h"
#include "privado/utf8.h"
#include "privado/ascii.h"

namespace navegador {
namespace {

bool empieza_sin_mayusculas(std::string_view s, size_t en, std::string_view prefijo) {
  if (s.size() - std::min(en, s.size()) < prefijo.size()) return false;
  for (size_t i = 0; i < prefijo.size(); ++i)
    if (a_minuscula(s[en + i]) != prefijo[i]) return false;
  return true;
}

// The Encoding standard's labels, each with the encoding it names.
struct Etiquetas {
  const char *encoding;
  std::initializer_list<std::string_view> etiquetas;
};

const Etiquetas kEtiquetas[] = {
    {"UTF-8",
     {"unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "utf-8", "utf8", "x-unicode20utf8"}},
    {"IBM866", {"866", "cp866", "csibm866", "ibm866"}},
    {"ISO-8859-2",
     {"csisolatin2", "iso-8859-2", "iso-ir-101", "iso8859-2", "iso88592", "iso_8859-2",
      "iso_8859-2:1987", "l2", "latin2"}},
    {"ISO-8859-3",
     {"csisolatin3", "iso-8859-3", "iso-ir-109", "iso8859-3", "iso88593", "iso_8859-3",
      "iso_8859-3:1988", "l3", "latin3"}},
    {"ISO-8859-4",
     {"csisolatin4", "iso-8859-4", "iso-ir-110", "iso8859-4", "iso88594", "iso_8859-4",
      "iso_8859-4:1988", "l4", "latin4"}},
    {"ISO-8859-5",
     {"csisolatincyrillic", "cyrillic", "iso-8859-5", "iso-ir-144", "iso8859-5", "iso88595",
      "iso_8859-5", "iso_8859-5:1988"}},
    {"ISO-8859-6",
     {"arabic", "asmo-708", "csiso88596e", "csiso88596i", "csisolatinarabic", "ecma-114",
      "iso-8859-6", "iso-8859-6-e", "iso-8859-6-i", "iso-ir-127", "iso8859-6", "iso88596",
      "iso_8859-6", "iso_8859-6:1987"}},
    {"ISO-8859-7",
     {"csisolatingreek", "ecma-118", "elot_928", "greek", "greek8", "iso-8859-7", "iso-ir-126",
      "iso8859-7", "iso88597", "iso_8859-7", "iso_8859-7:1987", "sun_eu_greek"}},
    {"ISO-8859-8",
     {"csiso88598e", "csisolatinhebrew", "hebrew", "iso-8859-8", "iso-8859-8-e", "iso-ir-138",
      "iso8859-8", "iso88598", "iso_8859-8", "iso_8859-8:1988", "visual"}},
    {"ISO-8859-8-I", {"csiso88598i", "iso-8859-8-i", "logical"}},
    {"ISO-8859-10",
     {"csisolatin6", "iso-8859-10", "iso-ir-157", "iso8859-10", "iso885910", "l6", "latin6"}},
    {"ISO-8859-13", {"iso-8859-13", "iso8859-13", "iso885913"}},
    {"ISO-8859-14", {"iso-8859-14", "iso8859-14", "iso885914"}},
    {"ISO-8859-15", {"csisolatin9", "iso-8859-15", "iso8859-15", "iso885915", "iso_8859-15", "l9"}},
    {"ISO-8859-16", {"iso-8859-16"}},
    {"KOI8-R", {"cskoi8r", "koi", "koi8", "koi8-r", "koi8_r"}},
    {"KOI8-U", {"koi8-ru", "koi8-u"}},
    {"macintosh", {"csmacintosh", "mac", "macintosh", "x-mac-roman"}},
    {"windows-874",
     {"dos-874", "iso-8859-11", "iso8859-11", "iso885911", "tis-620", "windows-874"}},
    {"windows-1250", {"cp1250", "windows-1250", "x-cp1250"}},
    {"windows-1251", {"cp1251", "windows-1251", "x-cp1251"}},
    {"windows-1252",
     {"ansi_x3.4-1968", "ascii", "cp1252", "cp819", "csisolatin1", "ibm819", "iso-8859-1",
      "iso-ir-100", "iso8859-1", "iso88591", "iso_8859-1", "iso_8859-1:1987", "l1", "latin1",
      "us-ascii", "windows-1252", "x-cp1252"}},
    {"windows-1253", {"cp1253", "windows-1253", "x-cp1253"}},
    {"windows-1254",
     {"cp1254", "csisolatin5", "iso-8859-9", "iso-ir-148", "iso8859-9", "iso88599", "iso_8859-9",
      "iso_8859-9:1989", "l5", "latin5", "windows-1254", "x-cp1254"}},
    {"windows-1255", {"cp1255", "windows-1255", "x-cp1255"}},
    {"windows-1256", {"cp1256", "windows-1256", "x-cp1256"}},
    {"windows-1257", {"cp1257", "windows-1257", "x-cp1257"}},
    {"windows-1258", {"cp1258", "windows-1258", "x-cp1258"}},
    {"x-mac-cyrillic", {"x-mac-cyrillic", "x-mac-ukrainian"}},
    {"GBK",
     {"chinese", "csgb2312", "csiso58gb231280", "gb2312", "gb_2312", "gb_2312-80", "gbk",
      "iso-ir-58", "x-gbk"}},
    {"gb18030", {"gb18030"}},
    {"Big5", {"big5", "big5-hkscs", "cn-big5", "csbig5", "x-x-big5"}},
    {"EUC-JP", {"cseucpkdfmtjapanese", "euc-jp", "x-euc-jp"}},
    {"ISO-2022-JP", {"csiso2022jp", "iso-2022-jp"}},
    {"Shift_JIS",
     {"csshiftjis", "ms932", "ms_kanji", "shift-jis", "shift_jis", "sjis", "windows-31j",
      "x-sjis"}},
    {"EUC-KR",
     {"cseuckr", "csksc56011987", "euc-kr", "iso-ir-149", "korean", "ks_c_5601-1987",
      "ks_c_5601-1989", "ksc5601", "ksc_5601", "windows-949"}},
    {"replacement",
     {"csiso2022kr", "hz-gb-2312", "iso-2022-cn", "iso-2022-cn-ext", "iso-2022-kr", "replacement"}},
    {"UTF-16BE", {"unicodefffe", "utf-16be"}},
    {"UTF-16LE",
     {"csunicode", "iso-10646-ucs-2", "ucs-2", "unicode", "unicodefeff", "utf-16", "utf-16le"}},
    {"x-user-defined", {"x-user-defined"}},
};

// The ICU converter that decodes an encoding as the Encoding standard does (GBK's decoder
// is gb18030's, EUC-KR's is windows-949's, Big5's takes HKSCS, Shift_JIS's is
// windows-31j's); for the rest ICU's converter of the same name.
const char *convertidor_icu(const std::string &nombre) {
  static const std::pair<std::string_view, const char *> kIcu[] = {
      {"IBM866", "ibm-866"},     {"ISO-8859-8-I", "ISO-8859-8"}, {"GBK", "GB18030"},
      {"gb18030", "GB18030"},    {"Big5", "Big5-HKSCS"},         {"Shift_JIS", "windows-31j"},
      {"EUC-KR", "windows-949"},
  };
  for (const auto &[encoding, icu] : kIcu)
    if (nombre == encoding) return icu;
  return nombre.c_str();
}

// The encoding that encodes what a copy in nombre holds: the strict tables the labels
// first meant, so that every byte written decodes under the browser's wider table.
const char *codificador_icu(const std::string &nombre) {
  static const std::pair<std::string_view, const char *> kIcu[] = {
      {"GBK", "GB2312"}, {"Big5", "Big5"}, {"Shift_JIS", "Shift_JIS"}, {"EUC-KR", "EUC-KR"}};
  for (const auto &[encoding, icu] : kIcu)
    if (nombre == encoding) return icu;
  return convertidor_icu(nombre);
}

bool es_utf8(std::string_view s) {
  char32_t punto;
  for (size_t i = 0, largo; i < s.size(); i += largo)
    if ((largo = secuencia_utf8(reinterpret_cast<const unsigned char *>(s.data()) + i, s.size() - i,
                                &punto)) == 0)
      return false;
  return true;
}

void pon_utf8(std::string &r, uint32_t c) {
  if (c < 0x80) {
    r.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    r.push_back(static_cast<char>(0xC0 | (c >> 6)));
    r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    r.push_back(static_cast<char>(0xE0 | (c >> 12)));
    r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    r.push_back(static_cast<char>(0xF0 | (c >> 18)));
    r.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// One attribute of a tag as the prescan reads it, from *p on; false at the tag's end.
bool lee_atributo(std::string_view s, size_t *p, std::string *nombre, std::string *valor) {
  size_t i = *p;
  while (i < s.size() && (es_blanco_html(s[i]) || s[i] == '/')) ++i;
  if (i >= s.size() || s[i] == '>') {
    *p = i;
    return false;
  }
  nombre->clear();
  valor->clear();
  // A name may begin with '='; it ends at '=', a blank, '/' or '>'.
  do nombre->push_back(a_minuscula(s[i++]));
  while (i < s.size() && s[i] != '=' && !es_blanco_html(s[i]) && s[i] != '/' && s[i] != '>');
  while (i < s.size() && es_blanco_html(s[i])) ++i;
  if (i >= s.size() || s[i] != '=') {
    *p = i;
    return i < s.size();
  }
  ++i;
  while (i < s.size() && es_blanco_html(s[i])) ++i;
  if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
    const char comilla = s[i++];
    const size_t cierre = s.find(comilla, i);
    if (cierre == std::string_view::npos) {
      *p = s.size();
      return false;
    }
    for (; i < cierre; ++i) valor->push_back(a_minuscula(s[i]));
    *p = cierre + 1;
    return true;
  }
  while (i < s.size() && !es_blanco_html(s[i]) && s[i] != '>')
    valor->push_back(a_minuscula(s[i++]));
  *p = i;
  return true;
}

// The charset that a Content-Type value names ("text/html; charset=EUC-KR"), or "".
std::string charset_de_contenido(std::string_view v) {
  for (size_t p = v.find("charset"); p != std::string_view::npos; p = v.find("charset", p + 1)) {
    size_t i = p + 7;
    while (i < v.size() && es_blanco_html(v[i])) ++i;
    if (i >= v.size() || v[i] != '=') continue;
    ++i;
    while (i < v.size() && es_blanco_html(v[i])) ++i;
    if (i < v.size() && (v[i] == '"' || v[i] == '\'')) {
      const size_t cierre = v.find(v[i], i + 1);
      if (cierre == std::string_view::npos) return {};
      return std::string(v.substr(i + 1, cierre - i - 1));
    }
    size_t fin = i;
    while (fin < v.size() && !es_blanco_html(v[fin]) && v[fin] != ';') ++fin;
    return std::string(v.substr(i, fin - i));
  }
  return {};
}

// The META declaration among the first bytes, as the prescan finds it.
std::string charset_de_meta(std::string_view s) {
  const auto es_letra = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  std::string nombre, valor;
  for (size_t p = 0; p < s.size(); ++p) {
    if (s.compare(p, 4, "<!--") == 0) {
      const size_t fin = s.find("-->", p + 2);
      if (fin == std::string_view::npos) break;
      p = fin + 2;
    } else if (empieza_sin_mayusculas(s, p, "<meta") && p + 5 < s.size() &&
               (es_blanco_html(s[p + 5]) || s[p + 5] == '/')) {
      p += 5;
      bool pragma = false, visto_he = false, visto_content = false, visto_charset = false;
      int necesita_pragma = -1;  // -1 unknown, 0 no, 1 yes
      std::string charset;
      while (lee_atributo(s, &p, &nombre, &valor)) {
        if (nombre == "http-equiv" && !visto_he) {
          visto_he = true;
          pragma = valor == "content-type";
        } else if (nombre == "content" && !visto_content) {
          visto_content = true;
          if (charset.empty()) {
            charset = charset_de_contenido(valor);
            if (!charset.empty()) necesita_pragma = 1;
          }
        } else if (nombre == "charset" && !visto_charset) {
          visto_charset = true;
          charset = valor;
          necesita_pragma = 0;
        }
      }
      if (necesita_pragma == -1 || (necesita_pragma == 1 && !pragma) || charset.empty()) continue;
      if (!codificacion_resuelve(charset).empty()) return charset;
    } else if (s[p] == '<' && p + 1 < s.size() &&
               (es_letra(s[p + 1]) ||
                (s[p + 1] == '/' && p + 2 < s.size() && es_letra(s[p + 2])))) {
      while (p < s.size() && !es_blanco_html(s[p]) && s[p] != '>') ++p;
      while (lee_atributo(s, &p, &nombre, &valor)) {
      }
    } else if (s.compare(p, 2, "<!") == 0 || s.compare(p, 2, "</") == 0 ||
               s.compare(p, 2, "<?") == 0) {
      const size_t fin = s.find('>', p);
      if (fin == std::string_view::npos) break;
      p = fin;
    }
  }
  return {};
}

// The encoding of an XML declaration that begins the bytes, or "".
std::string charset_de_xml(std::string_view s) {
  if (s.compare(0, 5, "<?xml") != 0) return {};
  const std::string_view decl = s.substr(0, s.find("?>"));
  const size_t p = decl.find("encoding");
  if (p == std::string_view::npos) return {};
  size_t i = p + 8;
  while (i < decl.size() && es_blanco_html(decl[i])) ++i;
  if (i >= decl.size() || decl[i] != '=') return {};
  ++i;
  while (i < decl.size() && es_blanco_html(decl[i])) ++i;
  if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\'')) return {};
  const size_t cierre = decl.find(decl[i], i + 1);
  return cierre == std::string_view::npos ? std::string()
                                          : std::string(decl.substr(i + 1, cierre - i - 1));
}

using Convertidor = std::unique_ptr<UConverter, void (*)(UConverter *)>;

Convertidor abre(const char *nombre, std::string *error) {
  UErrorCode estado = U_ZERO_ERROR;
  Convertidor c(ucnv_open(nombre, &estado), ucnv_close);
  if (U_FAILURE(estado)) {
    c.reset();
    *error = std::string("no converter for ") + nombre + ": " + u_errorName(estado);
  }
  return c;
}

// Decodes cuerpo, the page's bytes after its byte order mark (which begin at offset
// desde of the page), into r.
void descodifica(std::string_view cuerpo, size_t desde, PaginaLeida &r) {
  const std::string &nombre = r.codificacion.nombre;
  std::vector<UChar> unidades;
  std::vector<int32_t> origen;  // for each unit, the offset in cuerpo of its character
  if (nombre == "replacement") {
    if (!cuerpo.empty()) unidades.push_back(0xFFFD), origen.push_back(0);
  } else if (nombre == "x-user-defined") {
    for (size_t i = 0; i < cuerpo.size(); ++i) {
      const auto b = static_cast<unsigned char>(cuerpo[i]);
      unidades.push_back(static_cast<UChar>(b < 0x80 ? b : 0xF780 + b - 0x80));
      origen.push_back(static_cast<int32_t>(i));
    }
  } else {
    Convertidor c = abre(convertidor_icu(nombre), &r.error);
    if (!c) return;
    unidades.resize(cuerpo.size() * 2 + 16);
    origen.resize(unidades.size());
    UChar *destino = unidades.data();
    const char *fuente = cuerpo.data();
    UErrorCode estado = U_ZERO_ERROR;
    ucnv_toUnicode(c.get(), &destino, unidades.data() + unidades.size(), &fuente,
                   cuerpo.data() + cuerpo.size(), origen.data(), true, &estado);
    if (U_FAILURE(estado)) {
      r.error = std::string("decoding as ") + nombre + ": " + u_errorName(estado);
      return;
    }
    unidades.resize(static_cast<size_t>(destino - unidades.data()));
    origen.resize(unidades.size());
  }
  // UTF-16 into UTF-8, and each byte of the page to the character it begins or precedes.
  const size_t n = desde + cuerpo.size();
  r.texto.reserve(unidades.size() * 2);
  r.a_texto.assign(n + 1, 0);
  size_t rellenos = desde;  // a_texto is filled below this byte
  for (size_t k = 0; k < unidades.size();) {
    const size_t inicio = k;
    UChar32 c;
    U16_NEXT(unidades.data(), k, unidades.size(), c);
    const size_t byte = desde + static_cast<size_t>(std::max(origen[inicio], 0));
    for (; rellenos <= byte && rellenos < n; ++rellenos)
      r.a_texto[rellenos] = static_cast<uint32_t>(r.texto.size());
    if (c == 0xFFFD) ++r.reemplazos;
    pon_utf8(r.texto, U_IS_SURROGATE(c) ? 0xFFFD : static_cast<uint32_t>(c));
  }
  for (; rellenos <= n; ++rellenos) r.a_texto[rellenos] = static_cast<uint32_t>(r.texto.size());
}

}  // namespace

std::string codificacion_resuelve(std::string_view etiqueta) {
  while (!etiqueta.empty() && es_blanco_html(etiqueta.front())) etiqueta.remove_prefix(1);
  while (!etiqueta.empty() && es_blanco_html(etiqueta.back())) etiqueta.remove_suffix(1);
  std::string minusculas(etiqueta);
  for (char &c : minusculas) c = a_minuscula(c);
  for (const Etiquetas &e : kEtiquetas)
    for (std::string_view nombre : e.etiquetas)
      if (nombre == minusculas) return e.encoding;
  return {};
}

std::string codificacion_declarada(std::string_view bytes) {
  const std::string_view primeros = bytes.substr(0, 1024);
  std::string etiqueta = charset_de_xml(primeros);
  if (codificacion_resuelve(etiqueta).empty()) etiqueta = charset_de_meta(primeros);
  return etiqueta;
}

Codificacion codificacion_de(std::string_view bytes, uint32_t idioma) {
  Codificacion r;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return {"UTF-8", FuenteCodificacion::bom, 3};
  if (bytes.substr(0, 2) == "\xFE\xFF") return {"UTF-16BE", FuenteCodificacion::bom, 2};
  if (bytes.substr(0, 2) == "\xFF\xFE") return {"UTF-16LE", FuenteCodificacion::bom, 2};
  const std::string etiqueta = codificacion_declarada(bytes);
  if (std::string nombre = codificacion_resuelve(etiqueta); !nombre.empty()) {
    if (nombre == "UTF-16LE" || nombre == "UTF-16BE") nombre = "UTF-8";
    if (nombre == "x-user-defined") nombre = "windows-1252";
    const bool xml = bytes.compare(0, 5, "<?xml") == 0 && etiqueta == charset_de_xml(bytes);
    return {nombre, xml ? FuenteCodificacion::xml : FuenteCodificacion::meta, 0};
  }
  if (es_utf8(bytes)) return {"UTF-8", FuenteCodificacion::utf8, 0};
  return {conv_codificacion_de_idioma(idioma), FuenteCodificacion::idioma, 0};
}

PaginaLeida pagina_lee(std::string_view bytes, uint32_t idioma) {
  PaginaLeida r;
  r.codificacion = codificacion_de(bytes, idioma);
  if (r.codificacion.nombre == "UTF-8" && r.codificacion.bom == 0 && es_utf8(bytes)) {
    r.texto.assign(bytes);
    for (size_t p = r.texto.find("\xEF\xBF\xBD"); p != std::string::npos;
         p = r.texto.find("\xEF\xBF\xBD", p + 3))
      ++r.reemplazos;
    return r;
  }
  descodifica(bytes.substr(r.codificacion.bom), r.codificacion.bom, r);
  return r;
}

std::string descodifica_como(std::string_view bytes, const std::string &nombre) {
  PaginaLeida r;
  r.codificacion.nombre = nombre;
  descodifica(bytes, 0, r);
  return r.texto;
}

bool codificacion_escribe(std::string_view texto, const std::string &nombre, std::string *salida,
                          std::string *error) {
  Convertidor c = abre(codificador_icu(nombre), error);
  if (!c) return false;
  UErrorCode estado = U_ZERO_ERROR;
  ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_ESCAPE, UCNV_ESCAPE_XML_DEC, nullptr, nullptr,
                        &estado);
  std::u16string unidades;
  for (size_t i = 0; i < texto.size();) {
    UChar32 cp;
    U8_NEXT(texto.data(), i, texto.size(), cp);
    if (cp < 0) cp = 0xFFFD;
    if (U_IS_BMP(cp)) {
      unidades.push_back(static_cast<char16_t>(cp));
    } else {
      unidades.push_back(static_cast<char16_t>(U16_LEAD(cp)));
      unidades.push_back(static_cast<char16_t>(U16_TRAIL(cp)));
    }
  }
  salida->clear();
  if (nombre == "UTF-16LE") *salida = "\xFF\xFE";
  if (nombre == "UTF-16BE") *salida = "\xFE\xFF";
  const size_t desde = salida->size();
  salida->resize(desde + unidades.size() * 8 + 16);
  const int32_t largo =
      ucnv_fromUChars(c.get(), salida->data() + desde, static_cast<int32_t>(salida->size() - desde),
                      reinterpret_cast<const UChar *>(unidades.data()),
                      static_cast<int32_t>(unidades.size()), &estado);
  if (U_FAILURE(estado)) {
    *error = "encoding as " + nombre + ": " + u_errorName(estado);
    return false;
  }
  salida->resize(desde + static_cast<size_t>(largo));
  return true;
}

}  // namespace navegador
