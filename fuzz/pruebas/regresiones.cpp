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

// The page <IMG ALT="x"><P>a</P> as its document holds it, and wrong copies of it.
TEST_F(PartesDeLaComprobacion, UnaPaginaQueNoSeUneSeVe) {
  const std::string pagina = "<IMG ALT=\"x\"><P>a</P>";
  const fuzz_documento bien{{"<IMG ALT=\"x\"><P>", "</P>"}, {"x", "a"}, {4, 3}, {0, 0}};
  fuzz_ubicacion u;
  EXPECT_EQ(fuzz_ubica(pagina, bien, 0x0C0A, &u), "");
  const fuzz_documento mal[] = {
      {{"<IMG ALT=\"x\"><P>", "/P>"}, {"x", "a"}, {4, 3}, {0, 0}},   // a piece out of place
      {{"<IMG ALT=\"x\"><P>", "</P>"}, {"x", "b"}, {4, 3}, {0, 0}},  // another body text
      {{"<IMG ALT=\"x\"><P>", "</P>"}, {"y", "a"}, {4, 3}, {0, 0}},  // another attribute text
      {{"<IMG ALT=\"x\"><P>", "</P>"}, {"a"}, {3}, {0}},             // the tag's text lost
      {{"<IMG ALT=\"x\"><P>", "</P>"}, {"a", "x"}, {3, 4}, {0, 0}},  // texts out of order
      {{"<IMG ALT=\"x\"><P>", "</"}, {"x", "a"}, {4, 3}, {0, 0}},    // the end of the page lost
      {{"<IMG ALT=\"x\"><P>a</P>"}, {"x", "a"}, {4, 3}, {0, 0}},     // a piece too many texts
  };
  for (const fuzz_documento &d : mal)
    EXPECT_NE(fuzz_ubica(pagina, d, 0x0C0A, &u), "") << d.trozos[0] << " | " << d.textos[0];
}

TEST_F(PartesDeLaComprobacion, UnaPaginaMalEscritaSeVe) {
  const std::string pagina = "<IMG ALT=x ><P>a</P>";
  const fuzz_documento d{{"<IMG ALT=x ><P>", "</P>"}, {"x", "a"}, {4, 3}, {0, 0}};
  fuzz_ubicacion u;
  ASSERT_EQ(fuzz_ubica(pagina, d, 0x0C0A, &u), "");
  const std::pair<const char *, bool> casos[] = {
      {"<IMG ALT=\"y&quot;\" ><P>&lt;b&gt;</P>", true},
      {"<IMG ALT=\"y&quot;\" ><P><b></P>", true},
      {"<IMG ALT=\"y\"\" ><P><b></P>", false},        // a quote left bare in the value
      {"<IMG ALT=\"y&quot;\"><P><b></P>", false},     // a byte of the piece lost
      {"<IMG ALT=\"y&quot;\" ><P><b></P>\n", false},  // a byte after the last piece
      {"<IMG ALT=\"y&quot;\" ><P><b</P>", false},     // a byte of the body text lost
      {"<IMG ALT=x ><P><b></P>", false},              // the attribute text not written
  };
  fuzz_documento traducido = d;
  traducido.textos = {"y\"", "<b>"};
  for (const auto &[escrita, bien] : casos)
    EXPECT_EQ(fuzz_comprueba_escrita(escrita, pagina, traducido, u, 0x0C0A).empty(), bien)
        << escrita;
  // A text marked to go back raw must stand as the page had it.
  fuzz_documento crudo = d;
  crudo.origenes = {{9, 10}, {15, 16}};
  crudo.marcas = {0, kTextoCrudo};
  crudo.textos = {"y\"", "&b"};
  const std::pair<const char *, bool> crudos[] = {
      {"<IMG ALT=\"y&quot;\" ><P>a</P>", true},
      {"<IMG ALT=\"y&quot;\" ><P>&b</P>", false},
  };
  for (const auto &[escrita, bien] : crudos)
    EXPECT_EQ(fuzz_comprueba_escrita(escrita, pagina, crudo, u, 0x0C0A).empty(), bien) << escrita;
}

}  // namespace
