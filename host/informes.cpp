// informes.cpp - the command's messages on standard error: failure reports, errors, progress.
#include "informes.h"

#include <unicode/utf8.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <mutex>
#include <string_view>

#include "lenguaweb.h"

namespace {

constexpr std::string_view kAmpersand = "strchr(texto, '&')==NULL";
constexpr std::string_view kSinResolver = "enlace != NULL";
constexpr std::string_view kEnlaceActivo = "!lenguaweb_es_enlace_activo(enlace)";
constexpr std::string_view kTextoConNul = "memchr(texto, '\\0', longitud) == NULL";
constexpr std::string_view kCompanion = "companion";
constexpr size_t kAnchoBarra = 30;

// Reports arrive on the thread that made them: each thread knows its own page.
thread_local AmbitoInformes *ambito_actual = nullptr;

struct Salida {
  std::mutex cerrojo;
  bool detallado = false;
  bool terminal = false;
  bool barra_visible = false;
  size_t hechas = 0;
  size_t total = 0;
};

Salida &salida() {
  static Salida s;
  return s;
}

// With the lock held.
void dibuja_barra(Salida &s) {
  const size_t llenas = s.total == 0 ? kAnchoBarra : s.hechas * kAnchoBarra / s.total;
  std::string barra = "\r[";
  barra.append(llenas, '#');
  barra.append(kAnchoBarra - llenas, '.');
  barra += "] " + std::to_string(s.hechas) + "/" + std::to_string(s.total) + " pages";
  std::fputs(barra.c_str(), stderr);
  std::fflush(stderr);
  s.barra_visible = true;
}

void borra_barra(Salida &s) {
  if (!s.barra_visible) return;
  std::fputs("\r\033[K", stderr);
  s.barra_visible = false;
}

void receptor(const char *condicion, const char *modulo, uint32_t, void *) {
  AmbitoInformes *ambito = ambito_actual;
  if (ambito == nullptr) {
    informes_escribe(std::string("lenguaweb: ") + condicion + " (" + modulo + ")");
    return;
  }
  if (kCompanion == modulo) {
    ambito->fallos.emplace_back(condicion);
    return;
  }
  if (ambito->cuenta_enlaces && (kSinResolver == condicion || kEnlaceActivo == condicion)) {
    ++ambito->enlaces_sin_resolver;
    ambito->enlaces_activos += kEnlaceActivo == condicion;
    return;
  }
  if (kTextoConNul == condicion && ambito->indice_texto != kSinTexto)
    ambito->textos_con_nul.push_back(ambito->indice_texto);
  if (ambito->retiene_todo) {
    ambito->otros.push_back(std::string(condicion) + " (" + modulo + ")");
    return;
  }
  if (kAmpersand == condicion && !salida().detallado) return;  // nothing went wrong
  std::string linea = ambito->nombre;
  if (ambito->linea_texto != 0) linea += ":" + std::to_string(ambito->linea_texto);
  linea += std::string(": ") + condicion + " (" + modulo + ")";
  if (!ambito->elemento_texto.empty())
    linea += ", in the text of " + informes_lugar(ambito->elemento_texto, ambito->atributo_texto);
  informes_escribe(linea);
}

}  // namespace

void informes_instala(bool detallado) {
  Salida &s = salida();
  s.detallado = detallado;
  s.terminal = ::isatty(STDERR_FILENO) == 1;
  informa_fallo_pon_receptor(receptor, nullptr);
}

void informes_escribe(const std::string &linea) {
  Salida &s = salida();
  std::lock_guard<std::mutex> guarda(s.cerrojo);
  const bool habia_barra = s.barra_visible;
  borra_barra(s);
  std::fputs(informes_escapa(linea).c_str(), stderr);
  std::fputc('\n', stderr);
  if (habia_barra) dibuja_barra(s);
  std::fflush(stderr);
}

void informes_progreso(size_t hechas, size_t total) {
  Salida &s = salida();
  if (!s.terminal) return;
  std::lock_guard<std::mutex> guarda(s.cerrojo);
  s.hechas = hechas;
  s.total = total;
  dibuja_barra(s);
}

void informes_quita_progreso() {
  Salida &s = salida();
  std::lock_guard<std::mutex> guarda(s.cerrojo);
  borra_barra(s);
  std::fflush(stderr);
}

AmbitoInformes::AmbitoInformes(std::string nombre_ambito)
    : nombre(std::move(nombre_ambito)), anterior(ambito_actual) {
  ambito_actual = this;
}

AmbitoInformes::~AmbitoInformes() {
  ambito_actual = anterior;
  for (const std::string &fallo : fallos) informes_escribe(nombre + ": " + fallo + " (companion)");
  for (const std::string &otro : otros) informes_escribe(nombre + ": " + otro);
}

void informes_pon_texto(uint32_t linea, std::string_view elemento, std::string_view atributo,
                        uint32_t indice) {
  AmbitoInformes *ambito = ambito_actual;
  if (ambito == nullptr) return;
  ambito->indice_texto = indice;
  ambito->linea_texto = linea;
  ambito->elemento_texto = elemento;
  ambito->atributo_texto = atributo;
}

std::string informes_lugar(std::string_view elemento, std::string_view atributo) {
  std::string r;
  if (!atributo.empty()) r.append(atributo).append(" of ");
  return r.append("<").append(elemento).append(">");
}

std::string informes_toma_fallos() {
  AmbitoInformes *ambito = ambito_actual;
  if (ambito == nullptr) return {};
  std::string todos;
  for (const auto *lista : {&ambito->fallos, &ambito->otros})
    for (const std::string &fallo : *lista) {
      if (!todos.empty()) todos += "; ";
      todos += fallo;
    }
  ambito->fallos.clear();
  ambito->otros.clear();
  return todos;
}

bool informes_hay_fallos() {
  const AmbitoInformes *ambito = ambito_actual;
  return ambito != nullptr && (!ambito->fallos.empty() || !ambito->otros.empty());
}

size_t informes_largo_utf8(std::string_view texto) {
  const auto *b = reinterpret_cast<const uint8_t *>(texto.data());
  const auto n = static_cast<int32_t>(std::min<size_t>(texto.size(), INT32_MAX));
  int32_t i = 0;
  while (i < n) {
    const int32_t inicio = i;
    UChar32 c;
    U8_NEXT(b, i, n, c);  // ICU's rule: no overlong form, surrogate or value past U+10FFFF
    if (c < 0) return static_cast<size_t>(inicio);
  }
  return static_cast<size_t>(n);
}

std::string informes_escapa(std::string_view texto) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto hex = [&](std::string &r, unsigned char c) {
    r += "\\x";
    r += kHex[c >> 4];
    r += kHex[c & 0xF];
  };
  std::string r;
  for (;;) {
    const size_t bueno = informes_largo_utf8(texto);
    // A control character (but a line end or a tab) would drive the terminal: C0, DEL,
    // and C1, which is two bytes in UTF-8 (U+0080 to U+009F: C2 80 to C2 9F).
    for (size_t i = 0; i < bueno; ++i) {
      const auto c = static_cast<unsigned char>(texto[i]);
      const bool c1 = c == 0xC2 && i + 1 < bueno && static_cast<unsigned char>(texto[i + 1]) < 0xA0;
      if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F) {
        hex(r, c);
      } else if (c1) {
        hex(r, c);
        hex(r, static_cast<unsigned char>(texto[++i]));
      } else {
        r += texto[i];
      }
    }
    if (bueno == texto.size()) return r;
    hex(r, static_cast<unsigned char>(texto[bueno]));
    texto.remove_prefix(bueno + 1);
  }
}
