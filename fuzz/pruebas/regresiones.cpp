// regresiones.cpp - every fuzz check over its seeds and its kept findings, and the parts of the
// page check shown to catch what they look for.
#include <filesystem>
#include <string>
#include <tuple>

#include "comun/entorno_pruebas.h"
#include "fuzz/comprobaciones.h"
#include "lenguaweb/documento.h"

namespace {

class Regresiones : public pruebas::Entorno, public ::testing::WithParamInterface<size_t> {};

// Each input kept in the repository, run through its target's check: a seed must pass,
// and so must every input that once made a check fail, now that its fault is fixed.
TEST_P(Regresiones, CadaEntradaGuardadaCumple) {
  const fuzz_objetivo &objetivo = kFuzzObjetivos[GetParam()];
  size_t semillas = 0;
  for (const char *carpeta : {"semillas", "regresiones"}) {
    const auto ruta = std::filesystem::path(LENGUAWEB_CARPETA_FUZZ) / carpeta / objetivo.nombre;
    if (!std::filesystem::is_directory(ruta)) continue;
    for (const auto &fichero : std::filesystem::directory_iterator(ruta)) {
      const std::string bytes = lee(fichero.path().string());
      EXPECT_EQ(objetivo.comprueba(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()),
                "")
          << fichero.path();
      semillas += std::string(carpeta) == "semillas";
    }
  }
  EXPECT_GT(semillas, 0u) << "no seeds for " << objetivo.nombre;
}

INSTANTIATE_TEST_SUITE_P(Objetivos, Regresiones,
                         ::testing::Range<size_t>(0, std::size(kFuzzObjetivos)),
                         [](const auto &parametro) {
                           return kFuzzObjetivos[parametro.param].nombre;
                         });

class PartesDeLaComprobacion : public pruebas::Entorno {};

TEST_F(PartesDeLaComprobacion, UnTagGanadoSeVe) {
  const std::tuple<const char *, const char *, std::map<std::string, long>, bool> casos[] = {
      {"<P>a</P>", "<P>b<SCRIPT>x</SCRIPT></P>", {}, true},
      {"<P>a</P>", "<P>b<b>c</b></P>", {}, true},
      {"<P>a</P>", "<P>b<b>c</b></P>", {{"B", 1}, {"/B", 1}}, false},
      {"<P>a</P>", "<P>b<b>c<b>d</P>", {{"B", 1}}, true},
      {"<p>a</p>", "<P>a</P>", {}, false},
      {"<P title=\"a>b\">", "<P title=\"a>b\"><B x=\">\">", {}, true},
      {"<P title=\"a><B>\">", "<P title=\"a>b\"><B>", {}, true},
      {"<P a", "<P>", {}, false},
  };
  for (const auto &[original, escrita, permitidos, gana] : casos)
    EXPECT_EQ(fuzz_gana_tags(original, escrita, permitidos).empty(), !gana) << escrita;
}

// A page's document joins back in either segmentation; a piece, a body text's stretch or
// an attribute text's value moved by a byte no longer does.
TEST_F(PartesDeLaComprobacion, UnDocumentoQueNoSeUneSeVe) {
  const std::string pagina =
      escribe("p.html", "<P>Say <B>hi</B> now<IMG ALT=\"Pic\"></P><P>Bye</P>");
  for (const segmentacion_t segmentacion : {SEGMENTACION_CLASICA, SEGMENTACION_BLOQUES}) {
    SCOPED_TRACE(segmentacion);
    opciones_pon_segmentacion(segmentacion);
    lenguaweb_t *d = lenguaweb_crea(pagina.c_str(), 0x0C0A);
    opciones_pon_segmentacion(SEGMENTACION_CLASICA);
    EXPECT_EQ(fuzz_une(d), "");
    for (uint32_t *mal : {&d->trozos[1].inicio, &d->registros[0].inicio, &d->registros[0].fin,
                          &d->registros.back().inicio}) {
      ++*mal;
      EXPECT_NE(fuzz_une(d), "");
      --*mal;
    }
    d->registros[1].fin += 20;  // the alt's text, out of its tag
    EXPECT_NE(fuzz_une(d), "");
    lenguaweb_destruye(&d);
  }
}

}  // namespace
