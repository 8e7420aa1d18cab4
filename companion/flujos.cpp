/* flujos.cpp - save streams: items written in sequence and read back in the same order. */
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "companion/escritura_atomica.h"
#include "companion/interno.h"

// A reading stream holds every byte it will give in one block and a read offset, so each
// read is a bounds check and a copy. A writing stream gathers its bytes in memory; a file
// stream writes them to its temporary file at flujo_cierra and renames it into place.
struct flujo {
  enum class Tipo { lectura, escritura_memoria, escritura_fichero };
  Tipo tipo = Tipo::lectura;
  std::string ruta;  // empty for a stream in memory

  char *bloque = nullptr;  // lectura: the bytes, a counted block
  size_t longitud = 0;
  size_t leidos = 0;

  std::vector<unsigned char> salida;  // the writing streams' bytes
  companion::EscrituraAtomica escritura;

  bool fallido = false;
};

namespace {

using companion::informa;

flujo_t *flujo_nuevo(flujo::Tipo tipo) {
  auto *nuevo = new (companion::reserva(sizeof(flujo))) flujo;
  nuevo->tipo = tipo;
  return nuevo;
}

void flujo_libera(flujo_t *f) {
  companion::libera(f->bloque);
  f->~flujo();
  companion::libera(f);
}

std::string nombre(const flujo_t *f) {
  return f->ruta.empty() ? std::string("save stream in memory") : "save stream '" + f->ruta + "'";
}

// Puts the stream in the failed state; only the first failure is reported.
void falla(flujo_t *f, const std::string &motivo, uint32_t linea) {
  if (f->fallido) return;
  f->fallido = true;
  informa((nombre(f) + motivo).c_str(), linea);
}

bool existe(const flujo_t *f, uint32_t linea) {
  if (f != nullptr) return true;
  informa("(flujo) != NULL", linea);
  return false;
}

// The next cuantos bytes of a reading stream, or null (the stream failed) when the
// stream is not for reading or holds fewer bytes.
const unsigned char *toma(flujo_t *f, size_t cuantos, const char *que, uint32_t linea) {
  if (!existe(f, linea) || f->fallido) return nullptr;
  if (f->tipo != flujo::Tipo::lectura) {
    falla(f, " is not open for reading", linea);
    return nullptr;
  }
  const size_t quedan = f->longitud - f->leidos;
  if (cuantos > quedan) {
    char motivo[160];
    std::snprintf(motivo, sizeof motivo, " ends early: %s at byte %zu needs %zu bytes, %zu left",
                  que, f->leidos, cuantos, quedan);
    falla(f, motivo, linea);
    return nullptr;
  }
  const auto *datos = reinterpret_cast<const unsigned char *>(f->bloque) + f->leidos;
  f->leidos += cuantos;
  return datos;
}

bool puede_escribir(flujo_t *f, uint32_t linea) {
  if (!existe(f, linea) || f->fallido) return false;
  if (f->tipo == flujo::Tipo::lectura) {
    falla(f, " is not open for writing", linea);
    return false;
  }
  return true;
}

flujo_t *flujo_de_lectura(char *bloque, size_t longitud, const char *ruta) {
  flujo_t *f = flujo_nuevo(flujo::Tipo::lectura);
  f->bloque = bloque;
  f->longitud = longitud;
  if (ruta != nullptr) f->ruta = ruta;
  return f;
}

}  // namespace

extern "C" {

flujo_t *flujo_abre_lectura(const char *ruta) noexcept {
  if (ruta == nullptr) {
    informa("(ruta) != NULL", __LINE__);
    return nullptr;
  }
  fichero_memoria_t *fichero = fichero_memoria_lee(ruta);  // reports its own failure
  if (fichero->leido != CIERTO) {
    fichero_memoria_destruye(&fichero);
    return nullptr;
  }
  flujo_t *f = flujo_de_lectura(fichero->contenido, fichero->longitud, ruta);
  fichero->contenido = nullptr;  // the stream owns the bytes now
  fichero_memoria_destruye(&fichero);
  return f;
}

flujo_t *flujo_abre_memoria(const void *datos, size_t longitud) noexcept {
  if (datos == nullptr && longitud != 0) {
    informa("(datos) != NULL || (longitud) == 0", __LINE__);
    longitud = 0;
  }
  char *bloque = static_cast<char *>(companion::reserva(longitud));
  if (longitud != 0) std::memcpy(bloque, datos, longitud);
  return flujo_de_lectura(bloque, longitud, nullptr);
}

flujo_t *flujo_abre_memoria_escritura(void) noexcept {
  return flujo_nuevo(flujo::Tipo::escritura_memoria);
}

const void *flujo_dame_memoria(const flujo_t *f, size_t *longitud) noexcept {
  if (longitud != nullptr) *longitud = 0;
  if (!existe(f, __LINE__) || f->tipo != flujo::Tipo::escritura_memoria) return nullptr;
  if (longitud != nullptr) *longitud = f->salida.size();
  // A stream with nothing written still gives a valid pointer.
  static const unsigned char vacio = 0;
  return f->salida.empty() ? &vacio : f->salida.data();
}

flujo_t *flujo_abre_escritura(const char *ruta) noexcept {
  if (ruta == nullptr) {
    informa("(ruta) != NULL", __LINE__);
    return nullptr;
  }
  flujo_t *f = flujo_nuevo(flujo::Tipo::escritura_fichero);
  // The temporary file is made now, so that a path that cannot be written fails here.
  if (!f->escritura.abre(ruta)) {
    flujo_libera(f);
    return nullptr;
  }
  f->ruta = ruta;
  return f;
}

booleano flujo_cierra(flujo_t **variable) noexcept {
  if (variable == nullptr || *variable == nullptr) {
    informa("(flujo) != NULL", __LINE__);
    return FALSO;
  }
  flujo_t *f = *variable;
  *variable = nullptr;
  bool limpio = !f->fallido;
  if (f->tipo == flujo::Tipo::escritura_fichero && limpio) {
    // The temporary file is removed, and the target left alone, on any failure.
    limpio = f->escritura.escribe(f->salida.data(), f->salida.size()) && f->escritura.termina();
  }
  flujo_libera(f);
  return limpio ? CIERTO : FALSO;
}

uint64_t flujo_posicion(const flujo_t *f) noexcept {
  if (!existe(f, __LINE__)) return 0;
  return f->tipo == flujo::Tipo::lectura ? f->leidos : f->salida.size();
}

booleano flujo_fallido(const flujo_t *f) noexcept {
  if (!existe(f, __LINE__)) return CIERTO;
  return f->fallido ? CIERTO : FALSO;
}

unsigned char flujo_lee_uchar(flujo_t *f) noexcept {
  const unsigned char *byte = toma(f, 1, "a byte", __LINE__);
  return byte != nullptr ? *byte : 0;
}

booleano flujo_lee_bool(flujo_t *f) noexcept {
  const unsigned char *byte = toma(f, 1, "a boolean", __LINE__);
  return byte != nullptr && *byte != 0 ? CIERTO : FALSO;
}

char *flujo_lee_cadena(flujo_t *f) noexcept {
  const unsigned char *cuenta = toma(f, 4, "a text's length", __LINE__);
  if (cuenta == nullptr) return companion::texto_de({});
  const uint32_t largo = static_cast<uint32_t>(cuenta[0]) | static_cast<uint32_t>(cuenta[1]) << 8 |
                         static_cast<uint32_t>(cuenta[2]) << 16 |
                         static_cast<uint32_t>(cuenta[3]) << 24;
  // The count is checked against the bytes left before anything is allocated.
  const char *bytes = reinterpret_cast<const char *>(toma(f, largo, "a text", __LINE__));
  if (bytes == nullptr) return companion::texto_de({});
  return companion::texto_de(std::string_view(bytes, largo));
}

void flujo_graba_uchar(unsigned char valor, flujo_t *f) noexcept {
  if (puede_escribir(f, __LINE__)) f->salida.push_back(valor);
}

void flujo_graba_bool(booleano valor, flujo_t *f) noexcept {
  if (puede_escribir(f, __LINE__)) f->salida.push_back(valor != FALSO ? 1 : 0);
}

void flujo_graba_cadena(const char *texto, flujo_t *f) noexcept {
  if (!puede_escribir(f, __LINE__)) return;
  const size_t largo = texto != nullptr ? std::strlen(texto) : 0;
  if (largo > UINT32_MAX) {
    falla(f, " cannot hold a text of 4 GiB or more", __LINE__);
    return;
  }
  const auto cuenta = static_cast<uint32_t>(largo);
  const unsigned char cabecera[4] = {
      static_cast<unsigned char>(cuenta), static_cast<unsigned char>(cuenta >> 8),
      static_cast<unsigned char>(cuenta >> 16), static_cast<unsigned char>(cuenta >> 24)};
  f->salida.insert(f->salida.end(), cabecera, cabecera + 4);
  f->salida.insert(f->salida.end(), texto, texto + largo);
}

}  // extern "C"
