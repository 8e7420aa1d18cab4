/* documento.cpp - the page document's record, made empty, and where its texts are kept. */
#include "lenguaweb/documento.h"

#include <cstring>
#include <new>
#include <vector>

lenguaweb_t *lenguaweb_documento_vacio(uint32_t idioma) {
  // Built in place in a counted block, so that its members are made and freed as C++
  // wants.
  auto *documento = new (mem_reserva(sizeof(lenguaweb_t))) lenguaweb_t{};
  documento->idioma = idioma;
  documento->pagina.codificacion.nombre = "UTF-8";
  return documento;
}

void lenguaweb_guarda_texto(textos_de_documento &textos, std::string_view texto) {
  const size_t largo = texto.size() + 1;
  // A long text gets a block of its own, put before the last so that the room left in that
  // one is still used by the texts that follow.
  const bool aparte = largo > kPrimerBloqueDeTextos / 8;
  auto &bloques = textos.bloques;
  if (aparte || bloques.empty() || bloques.back().capacidad - bloques.back().usados < largo) {
    const size_t capacidad = aparte            ? largo
                             : bloques.empty() ? kPrimerBloqueDeTextos
                                               : bloque_de_textos_tras(bloques.back().capacidad);
    textos_de_documento::bloque nuevo{
        bloque_contado(static_cast<char *>(mem_reserva_sin_ceros(capacidad))), capacidad, 0};
    if (aparte && !bloques.empty())
      bloques.insert(bloques.end() - 1, std::move(nuevo));
    else
      bloques.push_back(std::move(nuevo));
  }
  auto &bloque = aparte && bloques.size() > 1 ? bloques[bloques.size() - 2] : bloques.back();
  char *destino = bloque.datos.get() + bloque.usados;
  std::memcpy(destino, texto.data(), texto.size());
  destino[texto.size()] = '\0';
  bloque.usados += largo;
  textos.textos.push_back(destino);
}

void lenguaweb_cierra_textos(textos_de_documento &textos) {
  std::vector<char *> datos;
  std::vector<size_t> largos;
  for (const auto &bloque : textos.bloques) {
    datos.push_back(bloque.datos.get());
    largos.push_back(bloque.usados);
  }
  textos.lista.reset(
      lista_cad_crea_de_bloques(textos.textos.data(), static_cast<uint32_t>(textos.textos.size()),
                                datos.data(), largos.data(), static_cast<uint32_t>(datos.size())));
  // Refused, the blocks stay the document's, and the texts are handed out as copies.
  if (textos.lista == nullptr) return;
  for (auto &bloque : textos.bloques) static_cast<void>(bloque.datos.release());
  textos.bloques.clear();
}
