// opciones.cpp - tests of the per-thread choices for page calls and the receptor of text origins.
#include "companion/ayudas.h"

namespace {

using Opciones = pruebas::Entorno;

// A choice made on one thread is not seen by another, and a bad value changes nothing.
TEST_F(Opciones, CadaHiloTieneLasSuyasYSuReceptor) {
  opciones_pon_segmentacion(SEGMENTACION_BLOQUES);
  opciones_pon_salida_utf8(CIERTO);
  std::thread([] {
    EXPECT_EQ(opciones_dame_segmentacion(), SEGMENTACION_CLASICA);
    EXPECT_EQ(opciones_dame_salida_utf8(), FALSO);
  }).join();

  opciones_pon_segmentacion(static_cast<segmentacion_t>(7));
  EXPECT_EQ(opciones_dame_segmentacion(), SEGMENTACION_BLOQUES);
  ASSERT_EQ(informes().size(), 1u);
  EXPECT_EQ(informes()[0].modulo, "companion");

  opciones_pon_segmentacion(SEGMENTACION_CLASICA);
  opciones_pon_salida_utf8(FALSO);

  // Origins reach the receptor of the thread that installed it, and only while installed.
  std::vector<std::string> vistos;
  const auto receptor = [](const origen_texto_t *o, void *contexto) {
    static_cast<std::vector<std::string> *>(contexto)->push_back(
        std::to_string(o->indice) + ":" + std::to_string(o->linea) + ":" + o->elemento + ":" +
        (o->atributo != nullptr ? o->atributo : "-"));
  };
  const origen_texto_t titulo{.indice = 0,
                              .linea = 3,
                              .elemento = "title",
                              .atributo = nullptr,
                              .nota = nullptr,
                              .sin_traducir = FALSO};
  const origen_texto_t alt{.indice = 1,
                           .linea = 9,
                           .elemento = "img",
                           .atributo = "alt",
                           .nota = nullptr,
                           .sin_traducir = FALSO};
  opciones_informa_origen(&titulo);  // no receptor yet
  opciones_pon_receptor_origenes(receptor, &vistos);
  opciones_informa_origen(&titulo);
  std::thread([&] { opciones_informa_origen(&alt); }).join();
  opciones_informa_origen(&alt);
  opciones_pon_receptor_origenes(nullptr, nullptr);
  opciones_informa_origen(&alt);
  EXPECT_EQ(vistos, (std::vector<std::string>{"0:3:title:-", "1:9:img:alt"}));
}

}  // namespace
