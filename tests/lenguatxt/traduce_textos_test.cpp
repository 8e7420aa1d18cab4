// traduce_textos_test.cpp - translating a list of wide texts through the real text engine.
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using pruebas::a_lista;
using pruebas::a_vector;
using Textos = std::vector<std::u16string>;

// Each test starts and ends with an empty translation memory holding only its entries.
class TraduceTextos : public pruebas::Entorno {
 protected:
  void SetUp() override {
    Entorno::SetUp();
    motor_vacia_memoria();
    motor_anade_traduccion(u"hola", u"hello");
    motor_anade_traduccion(u"mundo", u"world");
  }
  void TearDown() override {
    motor_vacia_memoria();
    Entorno::TearDown();
  }

  // Runs the pass and hands back the result and, when asked for, the messages; checks
  // that the texts given were left as they were.
  Textos traduce(const Textos &textos, const std::vector<std::string> &ids, uint32_t opciones,
                 bool pide_mensajes, Textos *mensajes = nullptr, bool *hay_lista = nullptr) {
    lista_wcad_t *entrada = a_lista(textos);
    lista_cad_t *lista_ids = a_lista(ids);
    // Not a list: the pass must overwrite it before anything else.
    lista_wcad_t *const sin_escribir = reinterpret_cast<lista_wcad_t *>(&lista_ids);
    lista_wcad_t *lista_mensajes = sin_escribir;
    lista_wcad_t *salida = lenguatxt_traduce_textos(entrada, lista_ids, 1, 2, opciones,
                                                    pide_mensajes ? &lista_mensajes : nullptr);
    Textos resultado = a_vector(salida);
    EXPECT_EQ(a_vector(entrada), textos);
    if (pide_mensajes && lista_mensajes == sin_escribir) {
      ADD_FAILURE() << "the message variable was not written";
    } else if (pide_mensajes) {
      if (hay_lista != nullptr) *hay_lista = lista_mensajes != nullptr;
      if (mensajes != nullptr && lista_mensajes != nullptr) *mensajes = a_vector(lista_mensajes);
      lista_wcad_destruye(&lista_mensajes);
    }
    lista_wcad_destruye(&salida);
    lista_wcad_destruye(&entrada);
    lista_cad_destruye(&lista_ids);
    return resultado;
  }
};

// The engine's own message for a text it cannot divide.
std::u16string mensaje_del_motor(const std::u16string &texto) {
  booleano ok = CIERTO;
  char16_t *mensaje = nullptr;
  texto_dividido_t *dividido = motor_divide_texto_llaves(texto.c_str(), &ok, &mensaje);
  EXPECT_EQ(ok, FALSO) << "the engine divides this text";
  std::u16string copia = mensaje != nullptr ? mensaje : u"";
  wcad_destruye(&mensaje);
  motor_destruye_texto_dividido(&dividido);
  return copia;
}

TEST_F(TraduceTextos, ListaVaciaDaListaVaciaSinMensajes) {
  bool hay_lista = true;
  EXPECT_TRUE(traduce({}, {}, 0, true, nullptr, &hay_lista).empty());
  EXPECT_FALSE(hay_lista);
  EXPECT_TRUE(informes().empty());
}

TEST_F(TraduceTextos, TextosDivisiblesSeTraducenSinListaDeMensajes) {
  bool hay_lista = true;
  EXPECT_EQ(traduce({u"hola", u"{b}mundo{/b}", u"sin entrada", u""}, {"T0", "T1", "T2", "T3"}, 0,
                    true, nullptr, &hay_lista),
            (Textos{u"hello", u"{b}world{/b}", u"sin entrada", u""}));
  EXPECT_FALSE(hay_lista);
  EXPECT_TRUE(informes().empty());
}

TEST_F(TraduceTextos, LasOpcionesLleganAlMotor) {
  const Textos con_opcion =
      traduce({u"hola", u"sin entrada"}, {"a", "b"}, MOTOR_PSEUDOTRADUCCION, false);
  ASSERT_EQ(con_opcion.size(), 2u);
  EXPECT_EQ(con_opcion[0], u"hello");
  EXPECT_NE(con_opcion[1], u"sin entrada");
}

// Texts the engine cannot divide stay as they are, in their place; their messages are
// collected in the order of the texts, or freed when nobody asks for them.
TEST_F(TraduceTextos, TextosIndivisiblesQuedanYSusMensajesSeRecogen) {
  const Textos textos = {u"a}b", u"hola", u"{x", u"mundo", u"c{d{e}f}"};
  const Textos esperado = {u"a}b", u"hello", u"{x", u"world", u"c{d{e}f}"};
  const std::vector<std::string> ids = {"0", "1", "2", "3", "4"};

  Textos mensajes;
  bool hay_lista = false;
  EXPECT_EQ(traduce(textos, ids, 0, true, &mensajes, &hay_lista), esperado);
  EXPECT_TRUE(hay_lista);
  EXPECT_EQ(mensajes, (Textos{mensaje_del_motor(u"a}b"), mensaje_del_motor(u"{x"),
                              mensaje_del_motor(u"c{d{e}f}")}));
  for (const auto &m : mensajes) EXPECT_FALSE(m.empty());

  EXPECT_EQ(traduce(textos, ids, 0, false), esperado);
  EXPECT_TRUE(informes().empty());
}

// Too few IDs is reported once; every text is still translated, none read out of range.
TEST_F(TraduceTextos, FaltanIDs) {
  for (bool nulos : {false, true}) {
    SCOPED_TRACE(nulos ? "null IDs" : "one ID for two texts");
    olvida_informes();
    lista_wcad_t *textos = a_lista(Textos{u"hola", u"mundo"});
    lista_cad_t *ids = nulos ? nullptr : a_lista(std::vector<std::string>{"solo uno"});
    lista_wcad_t *salida = lenguatxt_traduce_textos(textos, ids, 0, 0, 0, nullptr);
    EXPECT_EQ(a_vector(salida), (Textos{u"hello", u"world"}));
    EXPECT_EQ(cuenta_informes("(IDs) has an element per text"), 1u);
    ASSERT_EQ(informes().size(), 1u);
    EXPECT_EQ(informes()[0].modulo, "lenguatxt (LENGUAWEB.DLL)");
    lista_wcad_destruye(&salida);
    lista_wcad_destruye(&textos);
    lista_cad_destruye(&ids);
  }
}

TEST_F(TraduceTextos, SinTextosSeInformaYDaListaVacia) {
  lista_wcad_t *mensajes = reinterpret_cast<lista_wcad_t *>(this);
  lista_wcad_t *salida = lenguatxt_traduce_textos(nullptr, nullptr, 0, 0, 0, &mensajes);
  ASSERT_NE(salida, nullptr);
  EXPECT_EQ(lista_wcad_num_elems(salida), 0u);
  EXPECT_EQ(mensajes, nullptr);
  EXPECT_EQ(cuenta_informes("(textos) != NULL"), 1u);
  EXPECT_EQ(informes().size(), 1u);
  lista_wcad_destruye(&salida);
}

}  // namespace
