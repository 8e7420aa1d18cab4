// listas.cpp - tests of the lists: order, ownership of texts, copies, out-of-range indices.
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using Listas = pruebas::Entorno;
using pruebas::a_lista;
using pruebas::a_vector;
using V = std::vector<std::string>;

TEST_F(Listas, AnadePropiaTomaElTextoYDejaLaVariableNula) {
  lista_cad_t *lista = lista_cad_crea(0);
  char *texto = cad_copia("uno");
  lista_cad_anade_propia(lista, &texto);
  EXPECT_EQ(texto, nullptr);
  lista_cad_anade(lista, "dos");
  char *copia = lista_cad_dame_copia(lista, 1);
  const char *prestado = lista_cad_dame(lista, 1);
  EXPECT_NE(copia, prestado);
  copia[0] = 'D';
  EXPECT_EQ(a_vector(lista), (V{"uno", "dos"}));
  cad_destruye(&copia);
  lista_cad_destruye(&lista);
  EXPECT_EQ(lista, nullptr);
  lista_cad_destruye(&lista);  // a null variable is accepted
}

TEST_F(Listas, CreaConElementosNulosQueSePonenLuego) {
  lista_cad_t *lista = lista_cad_crea(3);
  ASSERT_EQ(lista_cad_num_elems(lista), 3u);
  for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(lista_cad_dame(lista, i), nullptr);
  for (uint32_t i : {2u, 0u, 1u, 1u}) {  // replacing element 1 frees its old text
    char *t = cad_formatea("t%u", i);
    lista_cad_pon_propia(lista, i, &t);
    EXPECT_EQ(t, nullptr);
  }
  EXPECT_EQ(a_vector(lista), (V{"t0", "t1", "t2"}));
  lista_cad_destruye(&lista);

  lista_num_t *numeros = lista_num_crea(2);
  lista_num_anade(numeros, 7);
  EXPECT_EQ(a_vector(numeros), (std::vector<uint32_t>{0, 0, 7}));
  lista_num_destruye(&numeros);

  lista_reg_t *registros = lista_reg_crea(2);
  EXPECT_EQ(lista_reg_num_elems(registros), 2u);
  EXPECT_EQ(lista_reg_dame(registros, 1), nullptr);
  lista_reg_destruye(&registros);
}

TEST_F(Listas, IndiceFueraDeRangoSeInformaYNoHaceNada) {
  lista_cad_t *lista = a_lista(V{"a"});
  EXPECT_EQ(lista_cad_dame(lista, 1), nullptr);
  EXPECT_EQ(lista_cad_dame_copia(lista, 5), nullptr);
  char *t = cad_copia("x");
  lista_cad_pon_propia(lista, 1, &t);  // taken over and freed all the same
  EXPECT_EQ(t, nullptr);
  EXPECT_EQ(a_vector(lista), (V{"a"}));
  lista_num_t *numeros = lista_num_crea(0);
  EXPECT_EQ(lista_num_dame(numeros, 0), 0u);
  lista_reg_t *registros = lista_reg_crea(0);
  lista_reg_pon(registros, 0, nullptr);
  EXPECT_EQ(lista_reg_dame(registros, 0), nullptr);
  EXPECT_EQ(cuenta_informes("(indice) < num_elems"), 6u);
  EXPECT_EQ(informes().size(), 6u);
  for (const auto &informe : informes()) EXPECT_EQ(informe.modulo, "companion");
  EXPECT_EQ(lista_cad_num_elems(nullptr), 0u);
  EXPECT_EQ(cuenta_informes("(lista) != NULL"), 1u);
  lista_cad_destruye(&lista);
  lista_num_destruye(&numeros);
  lista_reg_destruye(&registros);
}

TEST_F(Listas, ConcatenaYCopiaSonIndependientes) {
  lista_cad_t *a = a_lista(V{"1", "2"});
  lista_cad_t *b = a_lista(V{"3"});
  lista_cad_concatena(a, b);
  lista_cad_concatena(a, a);  // onto itself: the elements it had at the start, once
  EXPECT_EQ(a_vector(a), (V{"1", "2", "3", "1", "2", "3"}));
  EXPECT_EQ(a_vector(b), (V{"3"}));
  lista_cad_t *copia = lista_cad_copia(a);
  char *t = cad_copia("cambiado");
  lista_cad_pon_propia(a, 0, &t);
  lista_cad_reduce(b, 0);  // the source's texts are its own, not shared
  EXPECT_EQ(lista_cad_num_elems(b), 0u);
  EXPECT_EQ(a_vector(copia), (V{"1", "2", "3", "1", "2", "3"}));
  EXPECT_EQ(lista_cad_dame(a, 0), std::string("cambiado"));
  for (lista_cad_t **l : {&a, &b, &copia}) lista_cad_destruye(l);

  lista_num_t *n = lista_num_crea(0);
  for (uint32_t i = 0; i < 3; ++i) lista_num_anade(n, i * 10);
  lista_num_concatena(n, n);
  EXPECT_EQ(a_vector(n), (std::vector<uint32_t>{0, 10, 20, 0, 10, 20}));
  lista_num_reduce(n, 2);
  lista_num_reduce(n, 9);  // longer than the list: nothing changes
  EXPECT_EQ(a_vector(n), (std::vector<uint32_t>{0, 10}));
  lista_num_destruye(&n);
}

TEST_F(Listas, ReduceLiberaLosTextosQuitados) {
  lista_cad_t *lista = a_lista(V{"a", "b", "c"});
  const int64_t antes = mem_bloques_vivos();
  lista_cad_reduce(lista, 1);
  EXPECT_EQ(mem_bloques_vivos(), antes - 2);
  EXPECT_EQ(a_vector(lista), (V{"a"}));
  lista_cad_anade(lista, "d");  // reusable after being emptied
  EXPECT_EQ(a_vector(lista), (V{"a", "d"}));
  lista_cad_destruye(&lista);
}

TEST_F(Listas, ListasDeTextosAnchos) {
  lista_wcad_t *lista = lista_wcad_crea(1);
  char16_t *t = wcad_copia(u"cero");
  lista_wcad_pon_propia(lista, 0, &t);
  EXPECT_EQ(t, nullptr);
  char16_t mio[] = u"uno";
  lista_wcad_anade(lista, mio);
  mio[0] = u'U';  // the list holds its own copy
  t = wcad_copia(u"\u00e9");
  lista_wcad_anade_propia(lista, &t);
  EXPECT_EQ(t, nullptr);
  EXPECT_EQ(a_vector(lista), (std::vector<std::u16string>{u"cero", u"uno", u"\u00e9"}));
  EXPECT_EQ(lista_wcad_dame(lista, 3), nullptr);
  EXPECT_EQ(cuenta_informes("(indice) < num_elems"), 1u);
  lista_wcad_destruye(&lista);
  EXPECT_EQ(lista, nullptr);
}

TEST_F(Listas, LaListaDeRegistrosNoLiberaSusRegistros) {
  // A record the list never owns: after the list is gone it is still ours to free.
  auto *registro = static_cast<tablalink_t *>(mem_reserva(32));
  lista_reg_t *lista = lista_reg_crea(0);
  lista_reg_anade(lista, registro);
  EXPECT_EQ(lista_reg_dame(lista, 0), registro);
  lista_reg_destruye(&lista);
  EXPECT_EQ(lista, nullptr);
  mem_libera(&registro, 32);
  EXPECT_EQ(registro, nullptr);
}

}  // namespace
