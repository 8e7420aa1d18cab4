/* cadenas.cpp - owned byte and wide texts: copying, comparing and editing in place. */
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "companion/interno.h"
#include "privado/ascii.h"
#include "privado/blancos.h"

namespace {

using companion::informa;

std::string_view vista(const char *texto) {
  return texto != nullptr ? std::string_view(texto) : std::string_view();
}

std::u16string_view wvista(const char16_t *texto) {
  return texto != nullptr ? std::u16string_view(texto) : std::u16string_view();
}

bool iguales_sin_mayus(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a_minuscula(a[i]) != a_minuscula(b[i])) return false;
  return true;
}

// An argument that points into the text being edited would be invalidated by the edit
// (texto may move or be overwritten): such an argument is copied first.
struct Argumento {
  std::string_view vista;
  std::string copia;
  Argumento(const char *argumento, std::string_view texto) : vista(::vista(argumento)) {
    std::less_equal<const char *> menor_igual;
    if (!texto.empty() && !vista.empty() && menor_igual(texto.data(), vista.data()) &&
        menor_igual(vista.data(), texto.data() + texto.size())) {
      copia.assign(vista);
      vista = copia;
    }
  }
};

// Makes room for at least tamano bytes (NUL included). Growth is geometric, so that
// a text built by repeated appends or span replacements costs amortised linear time.
char *asegura_capacidad(char *texto, size_t tamano) {
  if (texto == nullptr) return static_cast<char *>(companion::reserva(tamano));
#if defined(__GLIBC__)
  const size_t capacidad = malloc_usable_size(texto);
  if (capacidad >= tamano) return texto;
  tamano = std::max(tamano, capacidad + capacidad / 2);
#endif
  return static_cast<char *>(companion::redimensiona(texto, tamano));
}

// Where buscado first occurs in texto at or after desde, or npos. memmem is linear in
// the text whatever the pattern, where string_view::find is not.
size_t busca(std::string_view texto, size_t desde, std::string_view buscado) {
  const void *hallado =
      memmem(texto.data() + desde, texto.size() - desde, buscado.data(), buscado.size());
  return hallado == nullptr
             ? std::string_view::npos
             : static_cast<size_t>(static_cast<const char *>(hallado) - texto.data());
}

booleano booleano_de(bool valor) {
  return valor ? CIERTO : FALSO;
}

uint32_t longitud_32(size_t longitud) {
  return longitud > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(longitud);
}

}  // namespace

extern "C" {

char *cad_copia(const char *texto) noexcept {
  if (texto == nullptr) return nullptr;
  return companion::texto_de(texto);
}

char *cad_prefijo(const char *texto, uint32_t cuenta) noexcept {
  if (texto == nullptr) return companion::texto_de({});
  return companion::texto_de(std::string_view(texto, strnlen(texto, cuenta)));
}

uint32_t cad_longitud(const char *texto) noexcept {
  return longitud_32(vista(texto).size());
}

// The prefix tests read no further into texto than the prefix is long: scanners ask them
// at every position of a long text.
booleano cad_empieza_por(const char *texto, const char *prefijo) noexcept {
  const std::string_view p = vista(prefijo);
  return booleano_de(std::strncmp(texto != nullptr ? texto : "", p.data(), p.size()) == 0);
}

booleano cad_empieza_por_sin_mayus(const char *texto, const char *prefijo) noexcept {
  const std::string_view p = vista(prefijo);
  const std::string_view t(texto != nullptr ? texto : "",
                           texto != nullptr ? strnlen(texto, p.size()) : 0);
  return booleano_de(t.size() == p.size() && iguales_sin_mayus(t, p));
}

booleano cad_iguales(const char *a, const char *b) noexcept {
  return booleano_de(vista(a) == vista(b));
}

booleano cad_iguales_sin_mayus(const char *a, const char *b) noexcept {
  return booleano_de(iguales_sin_mayus(vista(a), vista(b)));
}

booleano cad_en_blanco(const char *texto) noexcept {
  for (char c : vista(texto))
    if (!es_blanco(c)) return FALSO;
  return CIERTO;
}

void cad_a_mayusculas(char *texto) noexcept {
  if (texto == nullptr) return;
  for (char *c = texto; *c != '\0'; ++c) *c = a_mayuscula(*c);
}

void cad_a_minusculas(char *texto) noexcept {
  if (texto == nullptr) return;
  for (char *c = texto; *c != '\0'; ++c) *c = a_minuscula(*c);
}

char *cad_formatea(const char *formato, ...) noexcept {
  if (formato == nullptr) {
    informa("(formato) != NULL", __LINE__);
    return companion::texto_de({});
  }
  va_list valores;
  va_start(valores, formato);
  va_list copia;
  va_copy(copia, valores);
  const int medida = std::vsnprintf(nullptr, 0, formato, valores);
  va_end(valores);
  if (medida < 0) {
    va_end(copia);
    informa("cannot format text: invalid format or value", __LINE__);
    return companion::texto_de({});
  }
  char *texto = companion::texto_nuevo(static_cast<size_t>(medida));
  std::vsnprintf(texto, static_cast<size_t>(medida) + 1, formato, copia);
  va_end(copia);
  return texto;
}

void cad_quita_prefijo(char **texto, const char *prefijo) noexcept {
  if (texto == nullptr || *texto == nullptr) return;
  const size_t largo = vista(prefijo).size();
  if (largo == 0 || cad_empieza_por(*texto, prefijo) != CIERTO) return;
  std::memmove(*texto, *texto + largo, std::strlen(*texto + largo) + 1);
}

void cad_quita_prefijo_sin_mayus(char **texto, const char *prefijo) noexcept {
  if (texto == nullptr || *texto == nullptr) return;
  const size_t largo = vista(prefijo).size();
  if (largo == 0 || cad_empieza_por_sin_mayus(*texto, prefijo) != CIERTO) return;
  std::memmove(*texto, *texto + largo, std::strlen(*texto + largo) + 1);
}

void cad_reemplaza_todas(char **texto, const char *buscado, const char *reemplazo) noexcept {
  if (texto == nullptr || *texto == nullptr) return;
  const std::string_view original(*texto);
  const Argumento b(buscado, original), r(reemplazo, original);
  if (b.vista.empty()) return;
  const size_t primero = busca(original, 0, b.vista);
  if (primero == std::string_view::npos) return;

  // Copies the text into destino with every occurrence replaced, in one pass. When the
  // replacement is no longer than the pattern, destino may be the text itself: the
  // write position never passes the read position.
  auto reemplaza = [&](char *destino) {
    size_t lee = 0;
    for (size_t hallado = primero; hallado != std::string_view::npos;
         hallado = busca(original, lee, b.vista)) {
      std::memmove(destino, original.data() + lee, hallado - lee);
      destino += hallado - lee;
      std::memcpy(destino, r.vista.data(), r.vista.size());
      destino += r.vista.size();
      lee = hallado + b.vista.size();
    }
    std::memmove(destino, original.data() + lee, original.size() - lee);
    destino[original.size() - lee] = '\0';
  };

  if (r.vista.size() <= b.vista.size()) {
    reemplaza(*texto);
    return;
  }
  size_t veces = 0;
  for (size_t p = primero; p != std::string_view::npos;
       p = busca(original, p + b.vista.size(), b.vista))
    ++veces;
  char *nuevo = companion::texto_nuevo(original.size() + veces * (r.vista.size() - b.vista.size()));
  reemplaza(nuevo);
  companion::libera(*texto);
  *texto = nuevo;
}

void cad_sustituye_tramo(char **texto, uint32_t inicio, uint32_t longitud,
                         const char *reemplazo) noexcept {
  if (texto == nullptr) {
    informa("(texto) != NULL", __LINE__);
    return;
  }
  if (*texto == nullptr) *texto = companion::texto_de({});
  const size_t largo = vista(*texto).size();
  const Argumento r(reemplazo, vista(*texto));
  size_t desde = inicio;
  if (desde > largo) {
    informa("(inicio) <= cad_longitud(*texto)", __LINE__);
    desde = largo;
  }
  const size_t quita = std::min<size_t>(longitud, largo - desde);
  const size_t pone = r.vista.size();
  const size_t cola = largo - desde - quita;
  const size_t nuevo_largo = largo - quita + pone;
  if (pone > quita) *texto = asegura_capacidad(*texto, nuevo_largo + 1);
  char *t = *texto;
  std::memmove(t + desde + pone, t + desde + quita, cola);
  std::memcpy(t + desde, r.vista.data(), pone);
  t[nuevo_largo] = '\0';
}

// Both are an empty span replaced, at the start or at the end.
void cad_inserta_delante(char **texto, const char *prefijo) noexcept {
  cad_sustituye_tramo(texto, 0, 0, prefijo);
}

void cad_une(char **texto, const char *cola) noexcept {
  cad_sustituye_tramo(texto, texto != nullptr ? cad_longitud(*texto) : 0, 0, cola);
}

char *cad_extrae_campo(uint32_t numero, const char *texto, const char *separadores) noexcept {
  bool es_separador[256] = {};
  for (unsigned char c : vista(separadores)) es_separador[c] = true;
  const std::string_view t = vista(texto);
  uint32_t campo = 0;
  size_t i = 0;
  while (i < t.size()) {
    while (i < t.size() && es_separador[static_cast<unsigned char>(t[i])]) ++i;
    if (i == t.size()) break;
    const size_t empieza = i;
    while (i < t.size() && !es_separador[static_cast<unsigned char>(t[i])]) ++i;
    if (++campo == numero) return companion::texto_de(t.substr(empieza, i - empieza));
  }
  return companion::texto_de({});
}

void cad_destruye(char **texto) noexcept {
  if (texto == nullptr) return;
  companion::libera(*texto);
  *texto = nullptr;
}

char16_t *wcad_copia(const char16_t *texto) noexcept {
  if (texto == nullptr) return nullptr;
  return companion::wtexto_de(texto);
}

char16_t *wcad_prefijo(const char16_t *texto, uint32_t cuenta) noexcept {
  size_t largo = 0;
  if (texto != nullptr)
    while (largo < cuenta && texto[largo] != u'\0') ++largo;
  return companion::wtexto_de(std::u16string_view(texto != nullptr ? texto : u"", largo));
}

booleano wcad_empieza_por(const char16_t *texto, const char16_t *prefijo) noexcept {
  const std::u16string_view p = wvista(prefijo);
  if (texto == nullptr) return booleano_de(p.empty());
  for (size_t i = 0; i < p.size(); ++i)
    if (texto[i] != p[i]) return FALSO;  // also stops at texto's NUL, which p lacks
  return CIERTO;
}

booleano wcad_iguales(const char16_t *a, const char16_t *b) noexcept {
  return booleano_de(wvista(a) == wvista(b));
}

uint32_t wcad_longitud(const char16_t *texto) noexcept {
  return longitud_32(wvista(texto).size());
}

void wcad_destruye(char16_t **texto) noexcept {
  if (texto == nullptr) return;
  companion::libera(*texto);
  *texto = nullptr;
}

}  // extern "C"
