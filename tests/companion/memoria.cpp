// memoria.cpp - tests of the checked narrowing conversions: values that do not fit.

#include "companion/ayudas.h"

namespace {

using Memoria = pruebas::Entorno;

// A value that does not fit is reported and narrowed to the nearest value that does.
TEST_F(Memoria, EstrecharSaturaEInformaLoQueNoCabe) {
  using Estrecha = uint32_t (*)(int64_t);
  const Estrecha long_a_ulong = [](int64_t v) { return conv_long_a_ulong(int32_t(v)); };
  const Estrecha int_a_ushort = [](int64_t v) -> uint32_t { return conv_int_a_ushort(int(v)); };
  const Estrecha ulong_a_ushort = [](int64_t v) -> uint32_t {
    return conv_ulong_a_ushort(uint32_t(v));
  };
  const struct {
    Estrecha estrecha;
    int64_t valor;
    uint32_t esperado;
    const char *informe; /* null: none */
  } casos[] = {
      // clang-format off
      {.estrecha = long_a_ulong, .valor = -1, .esperado = 0, .informe = "(valor) >= 0"},
      {.estrecha = long_a_ulong, .valor = INT32_MAX, .esperado = INT32_MAX, .informe = nullptr},
      {.estrecha = int_a_ushort, .valor = -1, .esperado = 0, .informe = "(valor) >= 0"},
      {.estrecha = int_a_ushort, .valor = 65535, .esperado = 65535, .informe = nullptr},
      {.estrecha = int_a_ushort, .valor = 65536, .esperado = 65535, .informe = "(valor) <= USHRT_MAX"},
      {.estrecha = ulong_a_ushort, .valor = 65535, .esperado = 65535, .informe = nullptr},
      {.estrecha = ulong_a_ushort, .valor = UINT32_MAX, .esperado = 65535, .informe = "(valor) <= USHRT_MAX"},
      // clang-format on
  };
  for (const auto &caso : casos) {
    SCOPED_TRACE(caso.valor);
    olvida_informes();
    EXPECT_EQ(caso.estrecha(caso.valor), caso.esperado);
    ASSERT_EQ(informes().size(), caso.informe != nullptr ? 1u : 0u);
    if (caso.informe == nullptr) continue;
    EXPECT_EQ(informes()[0].condicion, caso.informe);
    EXPECT_EQ(informes()[0].modulo, "companion");
  }
}

}  // namespace
