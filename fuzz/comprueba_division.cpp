/* comprueba_division.cpp - the text engine's brace division and translation of one text. */
#include <string>
#include <string_view>

#include "fuzz/comprobaciones.h"
#include "fuzz/sesion.h"
#include "lenguaweb.h"

namespace {

constexpr size_t kNoEsta = std::u16string_view::npos;

/* Where the braces of a text go wrong (a "{" inside a group, a "}" without its "{", a
 * "{" without its "}"), or kNoEsta when they divide the text. */
size_t fallo_de_llaves(std::u16string_view t) {
  size_t abierta = kNoEsta;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == u'{') {
      if (abierta != kNoEsta) return i;
      abierta = i;
    } else if (t[i] == u'}') {
      if (abierta == kNoEsta) return i;
      abierta = kNoEsta;
    }
  }
  return abierta;
}

/* The brace groups of a divided text, one after the other. */
std::u16string grupos(std::u16string_view t) {
  std::u16string g;
  for (size_t a = t.find(u'{'); a != kNoEsta; a = t.find(u'{', a + 1)) {
    const size_t c = t.find(u'}', a);
    if (c == kNoEsta) break;
    g.append(t.substr(a, c + 1 - a));
    a = c;
  }
  return g;
}

bool en_blanco(std::u16string_view t) {
  return t.find_first_not_of(u" \t\n\r") == kNoEsta;
}

std::string comprueba(const std::u16string &texto) {
  booleano ok = 7;
  char16_t centinela = 0;
  char16_t *mensaje = &centinela; /* the division must overwrite both */
  texto_dividido_t *dividido = motor_divide_texto_llaves(texto.c_str(), &ok, &mensaje);
  const size_t fallo_llaves = fallo_de_llaves(texto);
  std::string fallo;
  if (dividido == nullptr) return "no divided text";
  if (ok != (fallo_llaves == kNoEsta ? CIERTO : FALSO)) {
    fallo = "the division says " + std::to_string(ok);
  } else if (mensaje == &centinela) {
    fallo = "no message written";
  } else if (ok != CIERTO) {
    // A failed division names the place of the fault.
    const std::u16string en = u"at position " + [&] {
      std::u16string n;
      for (char c : std::to_string(fallo_llaves)) n.push_back(static_cast<char16_t>(c));
      return n;
    }();
    if (mensaje == nullptr || !std::u16string_view(mensaje).ends_with(en))
      fallo = "the message does not say where the braces fail";
  }
  if (mensaje != &centinela) wcad_destruye(&mensaje);

  // With an empty memory and no options a text comes back as it is, divided or not;
  // pseudo-translated, every brace group stays, in order, and each plain run that is
  // not blank gains its two brackets.
  char16_t *igual = motor_traduce_texto_dividido(dividido, "ID", 0, 0, 0);
  char16_t *pseudo = motor_traduce_texto_dividido(dividido, "ID", 0, 0, MOTOR_PSEUDOTRADUCCION);
  motor_destruye_texto_dividido(&dividido);
  if (fallo.empty() && (igual == nullptr || texto != igual))
    fallo = "translated without a memory, the text changed";
  if (fallo.empty() && pseudo == nullptr) fallo = "no pseudo-translation";
  if (fallo.empty() && ok != CIERTO && texto != pseudo)
    fallo = "a text that does not divide was pseudo-translated";
  if (fallo.empty() && ok == CIERTO) {
    size_t corchetes = 0;
    for (size_t inicio = 0; inicio < texto.size();) {
      const size_t a = texto.find(u'{', inicio);
      const size_t fin = a == kNoEsta ? texto.size() : a;
      if (fin > inicio && !en_blanco(std::u16string_view(texto).substr(inicio, fin - inicio)))
        corchetes += 2;
      inicio = a == kNoEsta ? fin : texto.find(u'}', a) + 1;
    }
    if (grupos(pseudo) != grupos(texto))
      fallo = "pseudo-translation changed a brace group";
    else if (std::u16string_view(pseudo).size() != texto.size() + corchetes)
      fallo = "pseudo-translation is not one bracket pair per plain run";
  }
  wcad_destruye(&igual);
  wcad_destruye(&pseudo);
  if (!fallo.empty()) return fallo;

  // Through the text-list pass: the text itself, and a message only for a failure.
  lista_wcad_t *textos = lista_wcad_crea(0);
  lista_wcad_anade(textos, texto.c_str());
  lista_cad_t *ids = lista_cad_crea(0);
  lista_cad_anade(ids, "ID");
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
  std::string fallo;
  {
    fuzz_sesion sesion;
    // An even first byte: each byte after it a character, so that braces are easy to
    // come by; an odd one: the bytes two by two as UTF-16 code units, surrogates and all.
    std::u16string texto;
    if (largo > 0 && datos[0] % 2 == 0) {
      for (size_t i = 1; i < largo && datos[i] != 0; ++i) texto.push_back(datos[i]);
    } else {
      for (size_t i = 1; i + 1 < largo; i += 2) {
        const char16_t c = static_cast<char16_t>(datos[i] | datos[i + 1] << 8);
        if (c == 0) break;
        texto.push_back(c);
      }
    }
    motor_vacia_memoria();
    fallo = comprueba(texto);
    if (fallo.empty()) fallo = fuzz_informe_inesperado(sesion, {});
    if (fallo.empty()) fallo = fuzz_fugas(sesion);
  }
  return fallo;
}
