/* comprueba_division.cpp - the text engine's brace division and translation of one text. */
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/comprobaciones.h"
#include "lenguaweb.h"
#include "listas.h"

namespace {

constexpr size_t kNoEsta = std::u16string_view::npos;

/* Where the braces of a text go wrong (a "{" inside a group, a "}" without its "{", a
 * "{" without its "}"), or kNoEsta when they divide the text. */
size_t fallo_de_llaves(std::u16string_view t) {
  size_t abierta = kNoEsta;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == u'{' && abierta != kNoEsta) return i;
    if (t[i] == u'}' && abierta == kNoEsta) return i;
    if (t[i] == u'{' || t[i] == u'}') abierta = t[i] == u'{' ? i : kNoEsta;
  }
  return abierta;
}

/* "" when pseudo is the divided text t with every brace group and blank run in its
 * place, and each other plain run of the same length between two brackets. */
std::string pseudotraducido(std::u16string_view t, std::u16string_view pseudo) {
  size_t q = 0;
  for (size_t inicio = 0; inicio < t.size();) {
    const bool grupo = t[inicio] == u'{';
    const size_t fin = grupo ? t.find(u'}', inicio) + 1 : std::min(t.find(u'{', inicio), t.size());
    const std::u16string_view tramo = t.substr(inicio, fin - inicio);
    const bool igual = grupo || tramo.find_first_not_of(u" \t\n\r") == kNoEsta;
    if (igual && (q > pseudo.size() || pseudo.substr(q, tramo.size()) != tramo))
      return "pseudo-translation changed a brace group or a blank run";
    q += tramo.size() + (igual ? 0 : 2);
    inicio = fin;
  }
  return q == pseudo.size() ? "" : "pseudo-translation is not one bracket pair per plain run";
}

std::string comprueba(const std::u16string &texto) {
  booleano ok = 7;
  char16_t centinela = 0;
  char16_t *mensaje = &centinela; /* the division must overwrite both */
  texto_dividido_t *dividido = motor_divide_texto_llaves(texto.c_str(), &ok, &mensaje);
  if (dividido == nullptr) return "no divided text";
  const size_t fallo_llaves = fallo_de_llaves(texto);
  // A failed division names the place of the fault.
  const std::string donde = "at position " + std::to_string(fallo_llaves);
  std::string fallo;
  if (ok != (fallo_llaves == kNoEsta ? CIERTO : FALSO))
    fallo = "the division says " + std::to_string(ok);
  else if (mensaje == &centinela)
    fallo = "no message written";
  else if (ok != CIERTO && (mensaje == nullptr || !std::u16string_view(mensaje).ends_with(
                                                      std::u16string(donde.begin(), donde.end()))))
    fallo = "the message does not say where the braces fail";
  if (mensaje != &centinela) wcad_destruye(&mensaje);

  // With an empty memory and no options a text comes back as it is, divided or not.
  char16_t *igual = motor_traduce_texto_dividido(dividido, "ID", 0, 0, 0);
  char16_t *pseudo = motor_traduce_texto_dividido(dividido, "ID", 0, 0, MOTOR_PSEUDOTRADUCCION);
  motor_destruye_texto_dividido(&dividido);
  if (fallo.empty() && (igual == nullptr || texto != igual))
    fallo = "translated without a memory, the text changed";
  if (fallo.empty() && pseudo == nullptr) fallo = "no pseudo-translation";
  if (fallo.empty() && ok == CIERTO) fallo = pseudotraducido(texto, pseudo);
  if (fallo.empty() && ok != CIERTO && texto != pseudo) fallo = "an undivided text changed";
  wcad_destruye(&igual);
  wcad_destruye(&pseudo);
  if (!fallo.empty()) return fallo;

  // Through the text-list pass: the text itself, and a message only for a failure.
  lista_wcad_t *textos = pruebas::a_lista(std::vector<std::u16string>{texto});
  lista_cad_t *ids = pruebas::a_lista(std::vector<std::string>{"ID"});
  lista_wcad_t *mensajes = nullptr;
  lista_wcad_t *traducidos = lenguatxt_traduce_textos(textos, ids, 0, 0, 0, &mensajes);
  if (lista_wcad_num_elems(traducidos) != 1 || texto != lista_wcad_dame(traducidos, 0))
    fallo = "the text-list pass changed the text";
  else if ((mensajes != nullptr) != (ok != CIERTO) ||
           (mensajes != nullptr && lista_wcad_num_elems(mensajes) != 1))
    fallo =
        "the text-list pass gave messages for a text that divides, or none for one that does not";
  lista_wcad_destruye(&traducidos);
  lista_wcad_destruye(&mensajes);
  lista_wcad_destruye(&textos);
  lista_cad_destruye(&ids);
  return fallo;
}

}  // namespace

std::string fuzz_comprueba_division(const uint8_t *datos, size_t largo) {
  return fuzz_en_sesion({}, [&](auto &) {
    // An even first byte: each byte after it a character, so that braces are easy to
    // come by; an odd one: the bytes two by two as UTF-16 code units, surrogates and all.
    std::u16string texto;
    if (largo > 0 && datos[0] % 2 == 0)
      for (size_t i = 1; i < largo && datos[i] != 0; ++i) texto.push_back(datos[i]);
    else
      texto = fuzz_unidades(datos, largo, 1);
    motor_vacia_memoria();
    return comprueba(texto);
  });
}
