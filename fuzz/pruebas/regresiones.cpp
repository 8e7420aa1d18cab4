// regresiones.cpp - every fuzz check over its seeds and its kept findings, and the parts of the
// page check shown to catch what they look for.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "fuzz/comprobaciones.h"
#include "fuzz/pagina.h"

namespace {

class Regresiones : public pruebas::Entorno, public ::testing::WithParamInterface<size_t> {};

// Each input kept in the repository, run through its target's check: a seed must pass,
// and so must every input that once made a check fail, now that its fault is fixed.
TEST_P(Regresiones, CadaEntradaGuardadaCumple) {
  const fuzz_objetivo &objetivo = kFuzzObjetivos[GetParam()];
  size_t semillas = 0;
  for (const char *carpeta : {"semillas", "regresiones"}) {
    const std::filesystem::path ruta =
        std::filesystem::path(LENGUAWEB_CARPETA_FUZZ) / carpeta / objetivo.nombre;
    if (!std::filesystem::is_directory(ruta)) continue;
    std::vector<std::filesystem::path> ficheros;
    for (const auto &entrada : std::filesystem::directory_iterator(ruta))
      if (entrada.is_regular_file()) ficheros.push_back(entrada.path());
    std::sort(ficheros.begin(), ficheros.end());
    for (const auto &fichero : ficheros) {
      const std::string bytes = lee(fichero.string());
      EXPECT_EQ(objetivo.comprueba(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()),
                "")
          << fichero;
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
  const struct {
    const char *original, *escrita;
    std::map<std::string, long> permitidos;
    bool gana;
  } casos[] = {
      {"<P>a</P>", "<P>b</P>", {}, false},
      {"<P>a</P>", "<P>b<SCRIPT>x</SCRIPT></P>", {}, true},
      {"<P>a</P>", "<P>b<b>c</b></P>", {}, true},
      {"<P>a</P>", "<P>b<b>c</b></P>", {{"B", 1}, {"/B", 1}}, false},
      {"<P>a</P>", "<P>b<b>c<b>d</P>", {{"B", 1}}, true},
      {"<p>a</p>", "<P>a</P>", {}, false},
      {"<!-- <P> --><P>", "<P><P>", {}, true},
      {"<P>a", "<P>&lt;P&gt;", {}, false},
      {"<P a", "<P>", {}, false},
  };
  for (const auto &c : casos)
    EXPECT_EQ(fuzz_gana_tags(c.original, c.escrita, c.permitidos).empty(), !c.gana)
        << c.original << " -> " << c.escrita;
}

// The page <IMG ALT="x"><P>a</P> as its document holds it, and wrong copies of it.
TEST_F(PartesDeLaComprobacion, UnaPaginaQueNoSeUneSeVe) {
  const std::string pagina = "<IMG ALT=\"x\"><P>a</P>";
  const fuzz_documento bien{{"<IMG ALT=\"x\"><P>", "</P>"}, {"x", "a"}, {4, 3}, {0, 0}};
  fuzz_ubicacion u;
  EXPECT_EQ(fuzz_ubica(pagina, bien, 0x0C0A, &u), "");
  ASSERT_EQ(u.tags.size(), 2u);
  EXPECT_EQ(u.tags[0].size(), 1u);
  const fuzz_documento mal[] = {
      {{"<IMG ALT=\"x\"><P>", "/P>"}, {"x", "a"}, {4, 3}, {0, 0}},   // a piece out of place
      {{"<IMG ALT=\"x\"><P>", "</P>"}, {"x", "b"}, {4, 3}, {0, 0}},  // another body text
      {{"<IMG ALT=\"x\"><P>", "</P>"}, {"y", "a"}, {4, 3}, {0, 0}},  // another attribute text
      {{"<IMG ALT=\"x\"><P>", "</P>"}, {"a"}, {3}, {0}},             // the tag's text lost
      {{"<IMG ALT=\"x\"><P>", "</P>"}, {"a", "x"}, {3, 4}, {0, 0}},  // texts out of order
      {{"<IMG ALT=\"x\"><P>", "</"}, {"x", "a"}, {4, 3}, {0, 0}},    // the end of the page lost
      {{"<IMG ALT=\"x\"><P>a</P>"}, {"x", "a"}, {4, 3}, {0, 0}},     // a piece too many texts
  };
  for (const fuzz_documento &d : mal) {
    fuzz_ubicacion v;
    EXPECT_NE(fuzz_ubica(pagina, d, 0x0C0A, &v), "") << d.trozos[0] << " | " << d.textos[0];
  }
}

TEST_F(PartesDeLaComprobacion, UnaPaginaMalEscritaSeVe) {
  const std::string pagina = "<IMG ALT=x ><P>a</P>";
  const fuzz_documento d{{"<IMG ALT=x ><P>", "</P>"}, {"x", "a"}, {4, 3}, {0, 0}};
  fuzz_ubicacion u;
  ASSERT_EQ(fuzz_ubica(pagina, d, 0x0C0A, &u), "");
  const std::vector<std::string> textos{"y\"", "<b>"};
  const struct {
    const char *escrita;
    bool con_atributos, bien;
  } casos[] = {
      {"<IMG ALT=\"y&quot;\" ><P>&lt;b&gt;</P>", true, true},
      {"<IMG ALT=\"y&quot;\" ><P><b></P>", true, true},
      {"<IMG ALT=x ><P><b>&gt;</P>", false, false},
      {"<IMG ALT=x ><P><b></P>", false, true},
      {"<IMG ALT=\"y\"\" ><P><b></P>", true, false},
      {"<IMG ALT=\"y&quot;\"><P><b></P>", true, false},
      {"<IMG ALT=\"y&quot;\" ><P><b></P>\n", true, false},
      {"<IMG ALT=\"y&quot;\" ><P><b</P>", true, false},
  };
  for (const auto &c : casos)
    EXPECT_EQ(fuzz_comprueba_escrita(c.escrita, d, u, textos, 0x0C0A, c.con_atributos).empty(),
              c.bien)
        << c.escrita;
}

}  // namespace
