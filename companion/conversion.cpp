/* conversion.cpp - texts between UTF-8, UTF-16, the Windows code pages and the encodings of pages.
 */
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "companion/codificaciones.h"
#include "companion/interno.h"
#include "companion/paginas_codigos.h"
#include "privado/ascii.h"
#include "privado/utf8.h"

namespace {

using companion::Convertidor;

// UTF-16 units converted per step: enough that ICU's cost per call vanishes, few enough
// to stay in the first-level cache.
constexpr size_t kTrozo = 4096;

// An output block of the counted allocator. It grows (doubling) only when the first
// estimate falls short, and hands back its spare room when the text is given away.
template <typename T>
class Salida {
 public:
  explicit Salida(size_t capacidad)
      : datos_(static_cast<T *>(companion::reserva((capacidad + 1) * sizeof(T)))),
        capacidad_(capacidad) {}
  ~Salida() { companion::libera(datos_); }
  Salida(const Salida &) = delete;
  Salida &operator=(const Salida &) = delete;

  T *fin() const { return datos_ + usado_; }
  size_t libre() const { return capacidad_ - usado_; }
  void avanza(size_t unidades) { usado_ += unidades; }
  void avanza_a(T *nuevo_fin) { usado_ = static_cast<size_t>(nuevo_fin - datos_); }

  void asegura(size_t unidades) {
    if (libre() >= unidades) return;
    const size_t nueva = std::max(capacidad_ * 2, usado_ + unidades);
    datos_ = static_cast<T *>(companion::redimensiona(datos_, (nueva + 1) * sizeof(T)));
    capacidad_ = nueva;
  }

  // The NUL-terminated text, now the caller's; its length through longitud when given.
  T *entrega(size_t *longitud = nullptr) {
    if (longitud != nullptr) *longitud = usado_;
    if (libre() > 64 && libre() > usado_ / 8) {
      datos_ = static_cast<T *>(companion::redimensiona(datos_, (usado_ + 1) * sizeof(T)));
      capacidad_ = usado_;
    }
    datos_[usado_] = T{};
    T *texto = datos_;
    datos_ = nullptr;
    return texto;
  }

 private:
  T *datos_;
  size_t capacidad_;
  size_t usado_ = 0;
};

bool continuacion(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Decodes the UTF-8 text from texto[*i] on into destino, until the text ends or fewer
// than two units of room are left, and returns the units written. A byte that begins no
// valid sequence is taken as its Windows-1252 character, and counted in *invalidos when
// it is given. Every byte gives at most one unit.
size_t decodifica(const unsigned char *texto, size_t n, size_t *i, char16_t *destino,
                  size_t capacidad, size_t *invalidos = nullptr) {
  const char16_t *t1252 = companion::caracteres_1252();
  size_t j = *i;
  size_t k = 0;
  while (j < n && k + 1 < capacidad) {
    const unsigned char b = texto[j];
    if (b < 0x80) {
      destino[k++] = b;
      ++j;
      continue;
    }
    char32_t punto = 0;
    const unsigned largo = secuencia_utf8(texto + j, n - j, &punto);
    if (largo == 0) {
      destino[k++] = t1252[b - 0x80];
      ++j;
      if (invalidos != nullptr) ++*invalidos;
    } else if (punto < 0x10000) {
      destino[k++] = static_cast<char16_t>(punto);
      j += largo;
    } else {
      punto -= 0x10000;
      destino[k++] = static_cast<char16_t>(0xD800 + (punto >> 10));
      destino[k++] = static_cast<char16_t>(0xDC00 + (punto & 0x3FF));
      j += largo;
    }
  }
  *i = j;
  return k;
}

bool es_alto(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool es_bajo(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

// Encodes the units origen[*i..n) as UTF-8 into destino and returns the bytes written.
// Stops early when the next character does not fit in capacidad bytes and, unless
// final, before a high surrogate that ends the units (its pair may come next). An
// unpaired surrogate becomes U+FFFD.
size_t codifica(const char16_t *origen, size_t n, size_t *i, bool final, char *destino,
                size_t capacidad) {
  size_t j = *i;
  size_t k = 0;
  while (j < n) {
    char32_t punto = origen[j];
    if (punto < 0x80) {
      if (k == capacidad) break;
      destino[k++] = static_cast<char>(punto);
      ++j;
      continue;
    }
    size_t unidades = 1;
    if (es_alto(origen[j]) && j + 1 < n && es_bajo(origen[j + 1])) {
      punto = 0x10000 + ((punto - 0xD800) << 10) + (origen[j + 1] - 0xDC00u);
      unidades = 2;
    } else if (es_alto(origen[j]) && j + 1 == n && !final) {
      break;
    } else if (punto >= 0xD800 && punto <= 0xDFFF) {
      punto = 0xFFFD;
    }
    const size_t largo = punto < 0x800 ? 2 : punto < 0x10000 ? 3 : 4;
    if (capacidad - k < largo) break;
    if (largo == 2) {
      destino[k++] = static_cast<char>(0xC0 | (punto >> 6));
    } else if (largo == 3) {
      destino[k++] = static_cast<char>(0xE0 | (punto >> 12));
      destino[k++] = static_cast<char>(0x80 | ((punto >> 6) & 0x3F));
    } else {
      destino[k++] = static_cast<char>(0xF0 | (punto >> 18));
      destino[k++] = static_cast<char>(0x80 | ((punto >> 12) & 0x3F));
      destino[k++] = static_cast<char>(0x80 | ((punto >> 6) & 0x3F));
    }
    destino[k++] = static_cast<char>(0x80 | (punto & 0x3F));
    j += unidades;
  }
  *i = j;
  return k;
}

// Appends the units trozo[0..n) to salida as UTF-8. Returns how many units were left
// over: 1 when a high surrogate ends a piece that is not the last, else 0.
size_t anade_utf8(const char16_t *trozo, size_t n, bool final, Salida<char> &salida) {
  size_t j = 0;
  for (;;) {
    salida.avanza(codifica(trozo, n, &j, final, salida.fin(), salida.libre()));
    if (j == n || (!final && j + 1 == n && es_alto(trozo[j]))) return n - j;
    salida.asegura(3 * (n - j) + 1);
  }
}

Convertidor *convertidor_de_idioma(uint32_t idioma) {
  return companion::convertidor_de_pagina(conv_pagina_de_codigos(idioma));
}

// A conversion of a text between UTF-8 and the code page of idioma, either way. texto is
// read up to its first NUL or longitud bytes. A null text gives ""; a page that ICU
// cannot open, or an ASCII text that the page keeps as it is, a copy; any other text is
// converted by convierte_con(text, converter reset by reinicia, output) into an output
// made room for at first with one unit per byte and one more per crecimiento bytes. The
// result's length goes through largo when given.
template <class Cuerpo>
char *convierte(const char *texto, size_t longitud, uint32_t idioma, size_t *largo,
                void (*reinicia)(UConverter *), size_t crecimiento, Cuerpo convierte_con) {
  const std::string_view t =
      texto != nullptr ? std::string_view(texto, strnlen(texto, longitud)) : std::string_view();
  Convertidor *convertidor = texto != nullptr ? convertidor_de_idioma(idioma) : nullptr;
  if (convertidor == nullptr || (convertidor->ascii_directo && es_ascii(t))) {
    if (largo != nullptr) *largo = t.size();
    return companion::texto_de(t);
  }
  reinicia(convertidor->icu);
  Salida<char> salida(t.size() + t.size() / crecimiento + 16);
  convierte_con(t, convertidor->icu, salida);
  return salida.entrega(largo);
}

// The text t of a code page in UTF-8 through icu (reset by the caller), into salida.
void icu_a_utf8(std::string_view t, UConverter *icu, Salida<char> &salida) {
  char16_t trozo[kTrozo];
  const char *origen = t.data();
  size_t arrastre = 0;  // a high surrogate kept back from the previous piece
  bool final = false;
  while (!final) {
    char16_t *destino = trozo + arrastre;
    UErrorCode error = U_ZERO_ERROR;
    ucnv_toUnicode(icu, &destino, trozo + kTrozo, &origen, t.data() + t.size(), nullptr, true,
                   &error);
    final = error != U_BUFFER_OVERFLOW_ERROR;
    if (final && U_FAILURE(error)) companion::informa("U_SUCCESS(error)", __LINE__);
    const size_t k = static_cast<size_t>(destino - trozo);
    arrastre = anade_utf8(trozo, k, final, salida);
    if (arrastre != 0) trozo[0] = trozo[k - 1];
  }
}

// A text of a page of one byte per character in UTF-8, each byte read from the page's
// table: what ICU makes of it, without a call into ICU per text.
char *lee_un_byte(const Convertidor &convertidor, const char *texto, size_t *largo) {
  const companion::LecturaUnByte &tabla = *convertidor.lectura_un_byte;
  const auto *bytes = reinterpret_cast<const unsigned char *>(texto);
  const size_t n = std::strlen(texto);
  // Room for every byte but one in four as it is; a longer reading grows it.
  Salida<char> salida(n + n / 4 + 16);
  size_t invalidos = 0;
  for (size_t i = 0; i < n;) {
    if (convertidor.ascii_directo && bytes[i] < 0x80) {
      size_t j = i + 1;
      while (j < n && bytes[j] < 0x80) ++j;
      salida.asegura(j - i);
      std::memcpy(salida.fin(), texto + i, j - i);
      salida.avanza(j - i);
      i = j;
      continue;
    }
    const companion::LecturaUnByte::Byte &b = tabla.bytes[bytes[i++]];
    salida.asegura(b.largo);
    std::memcpy(salida.fin(), b.utf8, b.largo);
    salida.avanza(b.largo);
    invalidos += b.invalido ? 1 : 0;
  }
  companion::secuencias_invalidas_leidas() += invalidos;
  return salida.entrega(largo);
}

// conv_utf8_a_ansi_html_n, counting in *invalidos (when given) the bytes that begin no
// valid sequence.
char *utf8_a_ansi_html(const char *texto, size_t longitud, uint32_t idioma,
                       size_t *longitud_resultado, size_t *invalidos) {
  // A page character is never longer than its UTF-8 form: only references and bytes
  // that are not UTF-8 make the text grow.
  return convierte(
      texto, longitud, idioma, longitud_resultado, ucnv_resetFromUnicode, 8,
      [invalidos](std::string_view t, UConverter *icu, Salida<char> &salida) {
        const auto *bytes = reinterpret_cast<const unsigned char *>(t.data());
        char16_t trozo[kTrozo];
        size_t i = 0;
        bool final = false;
        while (!final) {
          const size_t k = decodifica(bytes, t.size(), &i, trozo, kTrozo, invalidos);
          final = i >= t.size();
          const char16_t *origen = trozo;
          for (;;) {
            char *destino = salida.fin();
            UErrorCode error = U_ZERO_ERROR;
            ucnv_fromUnicode(icu, &destino, destino + salida.libre(), &origen, trozo + k, nullptr,
                             final, &error);
            salida.avanza_a(destino);
            if (error == U_BUFFER_OVERFLOW_ERROR) {
              // Always grow: what ICU holds back (a reference of up to ten bytes for each
              // unit left) may need more room than the units left suggest.
              salida.asegura(salida.libre() + 10 * static_cast<size_t>(trozo + k - origen) + 16);
              continue;
            }
            if (U_FAILURE(error)) {
              companion::informa("U_SUCCESS(error)", __LINE__);
              final = true;
            }
            break;
          }
        }
      });
}

// Converts the n bytes at texto from origen to destino through ICU (their callbacks:
// references for what destino lacks, U+FFFD for what origen does not define) into
// salida, in one pass through a pivot of UTF-16.
void convierte_icu(Convertidor *origen, Convertidor *destino, const char *texto, size_t n,
                   Salida<char> &salida) {
  UChar pivote[kTrozo];
  UChar *pivote_inicio = pivote, *pivote_fin = pivote;
  const char *fuente = texto;
  for (UBool primera = true;; primera = false) {
    char *destino_bytes = salida.fin();
    UErrorCode error = U_ZERO_ERROR;
    ucnv_convertEx(destino->icu, origen->icu, &destino_bytes, destino_bytes + salida.libre(),
                   &fuente, texto + n, pivote, &pivote_inicio, &pivote_fin, pivote + kTrozo,
                   primera, true, &error);
    salida.avanza_a(destino_bytes);
    if (error == U_BUFFER_OVERFLOW_ERROR) {
      salida.asegura(salida.libre() + (texto + n - fuente) * 2 + 64);
      continue;
    }
    if (U_FAILURE(error)) companion::informa("U_SUCCESS(error)", __LINE__);
    return;
  }
}

// The bytes of a whole text from one converter to another: copied when both read them
// alike (the same single-byte converter, or ASCII that both keep), else through ICU.
char *entre_convertidores(Convertidor *origen, Convertidor *destino, std::string_view t,
                          size_t *largo, size_t *invalidos) {
  companion::secuencias_invalidas_leidas() = 0;
  if ((origen == destino && origen->un_byte) ||
      (origen->ascii_directo && destino->ascii_directo && es_ascii(t))) {
    if (largo != nullptr) *largo = t.size();
    if (invalidos != nullptr) *invalidos = 0;
    return companion::texto_de(t);
  }
  Salida<char> salida(t.size() + t.size() / 4 + 16);
  convierte_icu(origen, destino, t.data(), t.size(), salida);
  if (invalidos != nullptr) *invalidos = companion::secuencias_invalidas_leidas();
  return salida.entrega(largo);
}

bool es_utf16(std::string_view nombre) {
  return nombre == "UTF-16LE" || nombre == "UTF-16BE";
}

// The converter of an encoding of the Encoding standard, or null (reported) when it has
// none or ICU cannot open it.
Convertidor *convertidor_de_codificacion(const char *nombre) {
  const companion::Codificacion *c = companion::codificacion_por_nombre(nombre);
  Convertidor *convertidor =
      c != nullptr && c->icu != nullptr ? companion::convertidor_de_nombre(c->icu) : nullptr;
  if (convertidor == nullptr) companion::informa("(convertidor) != NULL");
  return convertidor;
}

// UTF-16 (big or little endian) into UTF-8. An unpaired surrogate is written as the three
// bytes that would encode it, and an odd last byte as U+FFFD (counted as invalid).
void utf16_a_utf8(const unsigned char *b, size_t n, bool grande, Salida<char> &salida,
                  size_t *invalidos) {
  // Each unit gives at most three bytes (a pair, four for two units).
  salida.asegura(n / 2 * 3 + 4);
  const auto unidad = [b, grande](size_t i) -> char32_t {
    return grande ? (b[i] << 8) | b[i + 1] : (b[i + 1] << 8) | b[i];
  };
  char *d = salida.fin();
  size_t i = 0;
  while (i + 1 < n) {
    char32_t punto = unidad(i);
    i += 2;
    if (es_alto(static_cast<char16_t>(punto)) && i + 1 < n &&
        es_bajo(static_cast<char16_t>(unidad(i)))) {
      punto = 0x10000 + ((punto - 0xD800) << 10) + (unidad(i) - 0xDC00);
      i += 2;
    }
    if (punto < 0x80) {
      *d++ = static_cast<char>(punto);
    } else if (punto < 0x800) {
      *d++ = static_cast<char>(0xC0 | (punto >> 6));
      *d++ = static_cast<char>(0x80 | (punto & 0x3F));
    } else if (punto < 0x10000) {
      *d++ = static_cast<char>(0xE0 | (punto >> 12));
      *d++ = static_cast<char>(0x80 | ((punto >> 6) & 0x3F));
      *d++ = static_cast<char>(0x80 | (punto & 0x3F));
    } else {
      *d++ = static_cast<char>(0xF0 | (punto >> 18));
      *d++ = static_cast<char>(0x80 | ((punto >> 12) & 0x3F));
      *d++ = static_cast<char>(0x80 | ((punto >> 6) & 0x3F));
      *d++ = static_cast<char>(0x80 | (punto & 0x3F));
    }
  }
  if (i < n) {
    std::memcpy(d, "\xEF\xBF\xBD", 3);
    d += 3;
    if (invalidos != nullptr) ++*invalidos;
  }
  salida.avanza_a(d);
}

// UTF-8 into UTF-16 (big or little endian). The three bytes that encode a surrogate give
// that surrogate back; any other byte that begins no valid sequence gives U+FFFD (counted
// as invalid).
void utf8_a_utf16(const unsigned char *b, size_t n, bool grande, Salida<char> &salida,
                  size_t *invalidos) {
  salida.asegura(2 * n + 2);
  const auto pon = [&salida, grande](char16_t u) {
    char *d = salida.fin();
    d[grande ? 0 : 1] = static_cast<char>(u >> 8);
    d[grande ? 1 : 0] = static_cast<char>(u & 0xFF);
    salida.avanza(2);
  };
  for (size_t i = 0; i < n;) {
    const unsigned char c = b[i];
    if (c < 0x80) {
      pon(c);
      ++i;
      continue;
    }
    char32_t punto = 0;
    unsigned largo = secuencia_utf8(b + i, n - i, &punto);
    if (largo == 0 && c == 0xED && n - i >= 3 && b[i + 1] >= 0xA0 && b[i + 1] <= 0xBF &&
        continuacion(b[i + 2])) {
      punto = ((c & 0x0Fu) << 12) | ((b[i + 1] & 0x3Fu) << 6) | (b[i + 2] & 0x3Fu);
      largo = 3;
    }
    if (largo == 0) {
      pon(0xFFFD);
      ++i;
      if (invalidos != nullptr) ++*invalidos;
      continue;
    }
    if (punto >= 0x10000) {
      // Four bytes give two units, no more than the room made for them.
      punto -= 0x10000;
      pon(static_cast<char16_t>(0xD800 + (punto >> 10)));
      pon(static_cast<char16_t>(0xDC00 + (punto & 0x3FF)));
    } else {
      pon(static_cast<char16_t>(punto));
    }
    i += largo;
  }
}

}  // namespace

namespace companion {

std::unique_ptr<LecturaUnByte> lectura_un_byte(UConverter *icu) {
  auto tabla = std::make_unique<LecturaUnByte>();
  size_t &invalidas = secuencias_invalidas_leidas();
  const size_t antes = invalidas;
  for (int c = 1; c < 0x100; ++c) {
    const char byte = static_cast<char>(c);
    const size_t previas = invalidas;
    ucnv_resetToUnicode(icu);
    Salida<char> salida(sizeof tabla->bytes[c].utf8);
    icu_a_utf8(std::string_view(&byte, 1), icu, salida);
    size_t largo = 0;
    char *leido = salida.entrega(&largo);
    LecturaUnByte::Byte &b = tabla->bytes[c];
    const bool cabe = largo <= sizeof b.utf8;
    if (cabe) std::memcpy(b.utf8, leido, largo);
    libera(leido);
    if (!cabe) return nullptr;
    b.largo = static_cast<uint8_t>(largo);
    b.invalido = invalidas != previas;
  }
  invalidas = antes;
  ucnv_resetToUnicode(icu);
  return tabla;
}

}  // namespace companion

extern "C" {

booleano conv_ascii_sin_cambios(uint32_t idioma) noexcept {
  const Convertidor *convertidor = convertidor_de_idioma(idioma);
  return convertidor == nullptr || convertidor->ascii_directo ? CIERTO : FALSO;
}

char *conv_utf8_a_ansi_html(const char *texto, uint32_t idioma) noexcept {
  if (texto == nullptr) return companion::texto_nuevo(0);
  return conv_utf8_a_ansi_html_n(texto, std::strlen(texto), idioma, nullptr);
}

char *conv_utf8_a_ansi_html_n(const char *texto, size_t longitud, uint32_t idioma,
                              size_t *longitud_resultado) noexcept {
  return utf8_a_ansi_html(texto, longitud, idioma, longitud_resultado, nullptr);
}

char *conv_ansi_idioma_a_utf8(const char *texto, uint32_t idioma) noexcept {
  return conv_ansi_idioma_a_utf8_n(texto, idioma, nullptr);
}

char *conv_ansi_idioma_a_utf8_n(const char *texto, uint32_t idioma,
                                size_t *longitud_resultado) noexcept {
  if (texto != nullptr) {
    const Convertidor *convertidor = convertidor_de_idioma(idioma);
    if (convertidor != nullptr && convertidor->lectura_un_byte != nullptr)
      return lee_un_byte(*convertidor, texto, longitud_resultado);
  }
  // Room for two-byte pages (two bytes give at most three); others may grow once.
  return convierte(texto, SIZE_MAX, idioma, longitud_resultado, ucnv_resetToUnicode, 2, icu_a_utf8);
}

char16_t *conv_utf8_a_wcad(const char *texto) noexcept {
  if (texto == nullptr) return companion::wtexto_de(u"");
  const size_t n = std::strlen(texto);
  // At most one unit per byte: the decoder never runs short of room.
  Salida<char16_t> salida(n + 1);
  size_t i = 0;
  salida.avanza(decodifica(reinterpret_cast<const unsigned char *>(texto), n, &i, salida.fin(),
                           salida.libre()));
  return salida.entrega();
}

char *conv_wcad_a_utf8(const char16_t *texto) noexcept {
  if (texto == nullptr) return companion::texto_nuevo(0);
  const size_t n = std::char_traits<char16_t>::length(texto);
  Salida<char> salida(n + n / 2 + 16);
  anade_utf8(texto, n, true, salida);
  return salida.entrega();
}

char *conv_codificacion_a_ansi_html_n(const char *texto, size_t longitud, const char *codificacion,
                                      uint32_t idioma, size_t *longitud_resultado,
                                      size_t *invalidos) noexcept {
  if (invalidos != nullptr) *invalidos = 0;
  if (codificacion == nullptr || std::strcmp(codificacion, "UTF-8") == 0 || texto == nullptr)
    return utf8_a_ansi_html(texto, longitud, idioma, longitud_resultado, invalidos);
  Convertidor *origen = convertidor_de_codificacion(codificacion);
  Convertidor *destino = convertidor_de_idioma(idioma);
  const std::string_view t(texto, strnlen(texto, longitud));
  if (origen == nullptr || destino == nullptr) {
    if (longitud_resultado != nullptr) *longitud_resultado = t.size();
    return companion::texto_de(t);
  }
  return entre_convertidores(origen, destino, t, longitud_resultado, invalidos);
}

char *conv_ansi_idioma_a_codificacion_n(const char *texto, uint32_t idioma,
                                        const char *codificacion,
                                        size_t *longitud_resultado) noexcept {
  if (codificacion == nullptr || std::strcmp(codificacion, "UTF-8") == 0 || texto == nullptr)
    return conv_ansi_idioma_a_utf8_n(texto, idioma, longitud_resultado);
  Convertidor *origen = convertidor_de_idioma(idioma);
  Convertidor *destino = convertidor_de_codificacion(codificacion);
  const std::string_view t(texto);
  if (origen == nullptr || destino == nullptr) {
    if (longitud_resultado != nullptr) *longitud_resultado = t.size();
    return companion::texto_de(t);
  }
  return entre_convertidores(origen, destino, t, longitud_resultado, nullptr);
}

char *conv_entre_codificaciones_n(const char *texto, size_t longitud, const char *de, const char *a,
                                  size_t *longitud_resultado, size_t *invalidos) noexcept {
  if (invalidos != nullptr) *invalidos = 0;
  if (de == nullptr || a == nullptr) return nullptr;
  const std::string_view t(texto != nullptr ? texto : "", texto != nullptr ? longitud : 0);
  const auto *b = reinterpret_cast<const unsigned char *>(t.data());
  const std::string_view desde(de), hacia(a);
  if (desde == hacia) {
    if (longitud_resultado != nullptr) *longitud_resultado = t.size();
    return companion::texto_de(t);
  }
  if (es_utf16(desde) && hacia == "UTF-8") {
    Salida<char> salida(t.size() + t.size() / 2 + 16);
    utf16_a_utf8(b, t.size(), desde == "UTF-16BE", salida, invalidos);
    return salida.entrega(longitud_resultado);
  }
  if (desde == "UTF-8" && es_utf16(hacia)) {
    Salida<char> salida(2 * t.size() + 16);
    utf8_a_utf16(b, t.size(), hacia == "UTF-16BE", salida, invalidos);
    return salida.entrega(longitud_resultado);
  }
  Convertidor *origen = convertidor_de_codificacion(de);
  Convertidor *destino = convertidor_de_codificacion(a);
  if (origen == nullptr || destino == nullptr) return nullptr;
  return entre_convertidores(origen, destino, t, longitud_resultado, invalidos);
}

}  // extern "C"
