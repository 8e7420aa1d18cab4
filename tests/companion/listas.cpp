// listas.cpp - tests of the lists: order, ownership of texts, copies, out-of-range indices.

#include "companion/ayudas.h"
#include <cstring>
#include <string_view>

namespace {

using Listas = pruebas::Entorno;
using pruebas::a_lista;
using pruebas::a_vector;
using V = std::vector<std::string>;

// A text given to a list is the list's (the variable is left null), a text added or handed
// out is a copy; the fixture catches any text freed twice or never. An index out of range is
// reported and changes nothing, but a text given is taken all the same.
TEST_F(Listas, TextosPropiosYCopiados) {
  lista_cad_t *lista = lista_cad_crea(2);
  char *t[] = {cad_copia("viejo"), cad_copia("t0"), cad_copia("t1"), cad_copia("t2"),
               cad_copia("x")};
  lista_cad_pon_propia(lista, 0, &t[0]);
  lista_cad_pon_propia(lista, 0, &t[1]);  // frees the text it replaces
  lista_cad_pon_propia(lista, 1, &t[2]);
  lista_cad_anade_propia(lista, &t[3]);
  lista_cad_pon_propia(lista, 4, &t[4]);
  for (char *texto : t) EXPECT_EQ(texto, nullptr);
  lista_cad_anade(lista, "t3");
  EXPECT_EQ(toma(lista_cad_dame_copia(lista, 3)), "t3");
  EXPECT_EQ(lista_cad_dame(lista, 4), nullptr);
  EXPECT_EQ(lista_cad_dame_copia(lista, 4), nullptr);
  EXPECT_EQ(a_vector(lista), (V{"t0", "t1", "t2", "t3"}));
  lista_cad_destruye(&lista);
  EXPECT_EQ(lista, nullptr);
  lista_cad_destruye(&lista);  // a null variable is accepted
  EXPECT_EQ(lista_cad_num_elems(nullptr), 0u);

  lista_wcad_t *anchas = lista_wcad_crea(1);
  lista_wcad_anade(anchas, u"uno");
  char16_t *w[] = {wcad_copia(u"cero"), wcad_copia(u"\u00e9")};
  lista_wcad_pon_propia(anchas, 0, &w[0]);
  lista_wcad_anade_propia(anchas, &w[1]);
  EXPECT_TRUE(w[0] == nullptr && w[1] == nullptr);
  EXPECT_EQ(lista_wcad_dame(anchas, 3), nullptr);
  EXPECT_EQ(a_vector(anchas), (std::vector<std::u16string>{u"cero", u"uno", u"\u00e9"}));
  lista_wcad_destruye(&anchas);
  EXPECT_EQ(cuenta_informes("(indice) < num_elems"), 4u);
  EXPECT_EQ(cuenta_informes("(lista) != NULL"), 1u);
  for (const auto &informe : informes()) EXPECT_EQ(informe.modulo, "companion");
}

// Copies made together share one block, yet each is an element like any other: one
// replaced, dropped or left to the end is freed with the block, never alone (the fixture
// and the sanitizer catch a text freed twice, alone or never).
TEST_F(Listas, CopiasEnUnBloqueSonElementosComoLosDemas) {
  std::string fuente[] = {"uno", "", "tres"};
  const char *textos[] = {fuente[0].c_str(), nullptr, fuente[1].c_str(), fuente[2].c_str()};
  lista_cad_t *lista = lista_cad_crea_copias(textos, 4);
  fuente[0][0] = 'U';  // the list holds copies
  EXPECT_EQ(lista_cad_dame(lista, 1), nullptr);
  EXPECT_EQ(a_vector(lista), (V{"uno", "", "", "tres"}));
  char *nuevo = cad_copia("nuevo");
  lista_cad_pon_propia(lista, 0, &nuevo);
  lista_cad_t *copia = lista_cad_copia(lista);
  lista_cad_reduce(lista, 2);
  lista_cad_anade(lista, "cuatro");
  EXPECT_EQ(a_vector(lista), (V{"nuevo", "", "cuatro"}));
  EXPECT_EQ(a_vector(copia), (V{"nuevo", "", "", "tres"}));
  EXPECT_EQ(lista_cad_dame(copia, 1), nullptr);
  for (lista_cad_t **l : {&lista, &copia}) lista_cad_destruye(l);

  // Blocks of a quarter of a megabyte, then twice the last, each freed once its last copy
  // is replaced: a host that replaces every text in turn does not keep them all. Texts 0
  // and 1 fill the first block, 2 and 3 the second; each translation is a block of its own.
  const std::string largo(200 * 1024, 'x');
  const char *largos[] = {largo.c_str(), "a", largo.c_str(), largo.c_str()};
  lista = lista_cad_crea_copias(largos, 4);
  const int64_t antes = mem_bloques_vivos();
  const int64_t esperados[] = {1, 1, 2, 2};  // blocks beyond those of the originals
  for (uint32_t i = 0; i < 4; ++i) {
    char *traduccion = cad_copia("t");
    lista_cad_pon_propia(lista, i, &traduccion);
    EXPECT_EQ(mem_bloques_vivos(), antes + esperados[i]) << i;
  }
  lista_cad_destruye(&lista);

  lista_cad_t *vacia = lista_cad_crea_copias(nullptr, 0);
  EXPECT_EQ(lista_cad_num_elems(vacia), 0u);
  lista_cad_destruye(&vacia);
  EXPECT_EQ(lista_cad_crea_copias(nullptr, 1), nullptr);
  EXPECT_EQ(cuenta_informes("(textos) != NULL"), 1u);
}

// A block of texts side by side is taken over as it is: its texts are elements, the block
// goes with the last of them, and a block whose texts run past its end is refused whole.
TEST_F(Listas, UnBloqueDeTextosSeTomaSinCopiarlo) {
  const auto bloque_de = [](std::string_view bytes) {
    char *b = static_cast<char *>(mem_reserva_sin_ceros(bytes.size() + 1));
    std::memcpy(b, bytes.data(), bytes.size());
    return b;
  };
  char *bloque = bloque_de(std::string_view("uno\0\0tres\0", 10));
  const char *dentro = bloque;
  lista_cad_t *lista = lista_cad_crea_en_bloque(&bloque, 10, 3);
  EXPECT_EQ(bloque, nullptr);
  EXPECT_EQ(lista_cad_dame(lista, 0), dentro);
  EXPECT_EQ(a_vector(lista), (V{"uno", "", "tres"}));
  char *nuevo = cad_copia("nuevo");
  lista_cad_pon_propia(lista, 2, &nuevo);
  lista_cad_reduce(lista, 2);
  EXPECT_EQ(a_vector(lista), (V{"uno", ""}));
  lista_cad_destruye(&lista);

  char *corto = bloque_de(std::string_view("uno\0dos", 7));
  EXPECT_EQ(lista_cad_crea_en_bloque(&corto, 7, 2), nullptr);
  EXPECT_EQ(corto, nullptr);
  EXPECT_EQ(cuenta_informes("the block's texts end within largo"), 1u);
}

TEST_F(Listas, ConcatenaCopiaYReduce) {
  lista_cad_t *a = a_lista(V{"1", "2"});
  lista_cad_t *b = a_lista(V{"3"});
  lista_cad_concatena(a, b);
  lista_cad_concatena(a, a);  // onto itself: the elements it had at the start, once
  lista_cad_t *copia = lista_cad_copia(a);
  lista_cad_reduce(a, 1);  // frees the texts dropped; the copy and b keep their own
  lista_cad_reduce(b, 9);  // longer than the list: nothing changes
  EXPECT_EQ(a_vector(a), V{"1"});
  EXPECT_EQ(a_vector(b), V{"3"});
  EXPECT_EQ(a_vector(copia), (V{"1", "2", "3", "1", "2", "3"}));
  for (lista_cad_t **l : {&a, &b, &copia}) lista_cad_destruye(l);

  lista_num_t *n = lista_num_crea(2);
  lista_num_anade(n, 7);
  lista_num_concatena(n, n);
  lista_num_reduce(n, 4);
  EXPECT_EQ(a_vector(n), (std::vector<uint32_t>{0, 0, 7, 0}));
  EXPECT_EQ(lista_num_dame(n, 4), 0u);
  EXPECT_EQ(cuenta_informes("(indice) < num_elems"), 1u);
  lista_num_destruye(&n);
}

}  // namespace
