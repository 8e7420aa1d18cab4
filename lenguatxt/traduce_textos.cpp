/* traduce_textos.cpp - translates a list of wide texts through the text engine. */
#include "lenguaweb.h"
#include "privado/informe.h"
#include "privado/propiedad.h"

extern "C" lista_wcad_t *lenguatxt_traduce_textos(const lista_wcad_t *textos,
                                                  const lista_cad_t *IDs, uint32_t origen,
                                                  uint32_t destino, uint32_t opciones,
                                                  lista_wcad_t **mensajes) noexcept {
  if (mensajes != nullptr) *mensajes = nullptr;
  lista_wcad_t *resultado = lista_wcad_crea(0);
  if (informa_si_falta(kModuloLenguatxt, textos, "(textos) != NULL")) return resultado;

  const uint32_t num_textos = lista_wcad_num_elems(textos);
  const uint32_t num_ids = IDs != nullptr ? lista_cad_num_elems(IDs) : 0;
  // Texts past the end of the IDs still go through the engine, without an ID.
  if (num_ids < num_textos) informa_en(kModuloLenguatxt, "(IDs) has an element per text");

  for (uint32_t i = 0; i < num_textos; ++i) {
    const char16_t *texto = lista_wcad_dame(textos, i);
    booleano ok = FALSO;
    char16_t *dado = nullptr;
    const propio<texto_dividido_t, motor_destruye_texto_dividido> dividido(
        motor_divide_texto_llaves(texto, &ok, &dado));
    // Freed here when the division went well or nobody asked for it.
    wcad_propia mensaje(dado);
    if (ok == CIERTO) {
      const char *id = i < num_ids ? lista_cad_dame(IDs, i) : nullptr;
      char16_t *traduccion =
          motor_traduce_texto_dividido(dividido.get(), id, origen, destino, opciones);
      lista_wcad_anade_propia(resultado, &traduccion);
    } else {
      lista_wcad_anade(resultado, texto);
      if (mensaje && mensajes != nullptr) {
        if (*mensajes == nullptr) *mensajes = lista_wcad_crea(0);
        // The list takes the message over: no copy is made only to be freed.
        char16_t *suelto = mensaje.release();
        lista_wcad_anade_propia(*mensajes, &suelto);
      }
    }
  }
  return resultado;
}
