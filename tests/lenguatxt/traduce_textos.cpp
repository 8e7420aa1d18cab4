// traduce_textos.cpp - translating a list of wide texts through the real text engine.
#include <optional>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using TraduceTextos = pruebas::Entorno;
using Textos = std::vector<std::u16string>;

// The pass over textos and num_ids IDs (none: a null list), with "hola" and "mundo" known;
// messages, when asked for, come back in mensajes (nullopt: the pass left its variable null).
Textos traduce(const Textos &textos, int num_ids, uint32_t opciones = 0,
               std::optional<Textos> *mensajes = nullptr) {
  motor_vacia_memoria();
  motor_anade_traduccion(u"hola", u"hello");
  motor_anade_traduccion(u"mundo", u"world");
  lista_wcad_t *entrada = pruebas::a_lista(textos);
  lista_cad_t *ids = num_ids < 0 ? nullptr : pruebas::a_lista(std::vector<std::string>(num_ids));
  // The pass must overwrite the variable, not free nor keep what it held.
  lista_wcad_t *previa = pruebas::a_lista(Textos{u"not written"}), *lista = previa;
  lista_wcad_t *salida =
      lenguatxt_traduce_textos(entrada, ids, 1, 2, opciones, mensajes ? &lista : nullptr);
  if (mensajes) *mensajes = lista ? std::optional(pruebas::a_vector(lista)) : std::nullopt;
  if (lista != previa) lista_wcad_destruye(&lista);
  Textos resultado = pruebas::a_vector(salida);
  for (lista_wcad_t **l : {&previa, &salida, &entrada}) lista_wcad_destruye(l);
  lista_cad_destruye(&ids);
  return resultado;
}

// Texts the engine cannot divide stay as they are, in their place; their messages come in the
// order of the texts, are freed when nobody asks for them, and no list is made when none fails.
TEST_F(TraduceTextos, CadaTextoSeTraduceOQuedaYSusMensajesSeRecogen) {
  const Textos textos = {u"a}b", u"hola", u"{x", u"{b}mundo{/b}"};
  const Textos esperado = {u"a}b", u"hello", u"{x", u"{b}world{/b}"};
  std::optional<Textos> mensajes;
  EXPECT_EQ(traduce(textos, 4, 0, &mensajes), esperado);
  EXPECT_EQ(mensajes,
            (Textos{u"'}' without its '{' at position 1", u"'{' without its '}' at position 0"}));
  EXPECT_EQ(traduce(textos, 4), esperado);
  EXPECT_EQ(traduce({u"{b}hola{/b}"}, 1, 0, &mensajes), Textos{u"{b}hello{/b}"});
  EXPECT_EQ(mensajes, std::nullopt);
  EXPECT_NE(traduce({u"sin entrada"}, 1, MOTOR_PSEUDOTRADUCCION), Textos{u"sin entrada"});
  EXPECT_TRUE(informes().empty());
}

// Too few IDs or none, and no texts at all, are reported; every text is still translated.
TEST_F(TraduceTextos, ArgumentosQueFaltanSeInforman) {
  for (int num_ids : {1, -1}) {
    olvida_informes();
    EXPECT_EQ(traduce({u"hola", u"mundo"}, num_ids), (Textos{u"hello", u"world"}));
    EXPECT_EQ(condiciones(), "(IDs) has an element per text");
    for (const auto &i : informes()) EXPECT_EQ(i.modulo, "lenguatxt (LENGUAWEB.DLL)");
  }
  olvida_informes();
  lista_wcad_t *mensajes = reinterpret_cast<lista_wcad_t *>(this);
  lista_wcad_t *salida = lenguatxt_traduce_textos(nullptr, nullptr, 0, 0, 0, &mensajes);
  EXPECT_TRUE(salida != nullptr && lista_wcad_num_elems(salida) == 0 && mensajes == nullptr);
  EXPECT_EQ(cuenta_informes("(textos) != NULL"), 1u);
  lista_wcad_destruye(&salida);
}

}  // namespace
