/* documento.cpp - the page document's record, made empty, and where its texts are kept. */
#include "lenguaweb/documento.h"

#include <new>

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
  if (aparte || bloques.empty() || bloques.back().capacity() - bloques.back().size() < largo) {
    vector_contado<char> nuevo;
    nuevo.reserve(aparte            ? largo
                  : bloques.empty() ? kPrimerBloqueDeTextos
                                    : bloque_de_textos_tras(bloques.back().capacity()));
    if (aparte && !bloques.empty())
      bloques.insert(bloques.end() - 1, std::move(nuevo));
    else
      bloques.push_back(std::move(nuevo));
  }
  vector_contado<char> &bloque =
      aparte && bloques.size() > 1 ? bloques[bloques.size() - 2] : bloques.back();
  textos.textos.push_back(bloque.data() + bloque.size());
  bloque.insert(bloque.end(), texto.begin(), texto.end());
  bloque.push_back('\0');
}
