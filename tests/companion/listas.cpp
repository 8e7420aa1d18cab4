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

// Blocks of texts side by side are taken over as they are, in whatever order the texts
// stand in them; a copy of the list shares them, and each list goes its own way after.
// Blocks that do not hold every text whole, or that overlap, stay the caller's. (The
// fixture and the sanitizer catch a block freed twice, early or never.)
TEST_F(Listas, LosBloquesDeTextosSeTomanYSeCompartenSinCopiarlos) {
  const auto bloque_de = []<size_t N>(const char(&bytes)[N]) {  // the literal's NUL too
    char *b = static_cast<char *>(mem_reserva_sin_ceros(N));
    std::memcpy(b, bytes, N);
    return b;
  };
  char *bloques[] = {bloque_de("uno\0"), bloque_de("dos"), bloque_de("nada")};
  const size_t largos[] = {5, 4, 5};
  const char *textos[] = {bloques[0], bloques[1], nullptr, bloques[0] + 4};
  lista_cad_t *lista = lista_cad_crea_de_bloques(textos, 4, bloques, largos, 3);
  EXPECT_TRUE(bloques[0] == nullptr && bloques[1] == nullptr && bloques[2] == nullptr);
  EXPECT_EQ(lista_cad_dame(lista, 3), textos[3]);
  lista_cad_t *copia = lista_cad_copia(lista);
  EXPECT_EQ(lista_cad_dame(copia, 0), textos[0]);
  char *nuevo = cad_copia("nuevo");
  lista_cad_pon_propia(lista, 0, &nuevo);
  lista_cad_t *otra = lista_cad_copia(lista);  // the host's own text is copied
  lista_cad_destruye(&lista);
  lista_cad_reduce(copia, 3);
  EXPECT_EQ(a_vector(copia), (V{"uno", "dos", ""}));
  EXPECT_EQ(a_vector(otra), (V{"nuevo", "dos", "", ""}));
  for (lista_cad_t **l : {&copia, &otra}) lista_cad_destruye(l);

  struct Caso {
    const char *nombre;
    size_t largo_b;        // of the second block
    ptrdiff_t texto_en_b;  // where the one text stands from the second block
  };
  for (const Caso &caso : {Caso{.nombre = "runs past its block", .largo_b = 3, .texto_en_b = 0},
                           Caso{.nombre = "outside every block", .largo_b = 4, .texto_en_b = 4},
                           Caso{.nombre = "blocks overlap", .largo_b = 4, .texto_en_b = 0}}) {
    char *a = bloque_de("abc"), *b = bloque_de("def");
    char *dados[] = {a, std::string_view(caso.nombre) == "blocks overlap" ? a + 1 : b};
    const size_t dados_largos[] = {4, caso.largo_b};
    const char *texto[] = {dados[1] + caso.texto_en_b};
    EXPECT_EQ(lista_cad_crea_de_bloques(texto, 1, dados, dados_largos, 2), nullptr) << caso.nombre;
    EXPECT_TRUE(dados[0] == a) << caso.nombre;
    for (char *propio : {a, b}) mem_libera(&propio, 4);
  }
  EXPECT_EQ(cuenta_informes("each text stands whole in one of the blocks, which do not overlap"),
            3u);
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
