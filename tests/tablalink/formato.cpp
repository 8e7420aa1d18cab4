// formato.cpp - link records saved on a stream and read back, from every saved version.
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "tablalink/tablalink.h"

namespace {

using Formato = pruebas::Entorno;

const char kVersionDesconocida[] = "version == 0 || version == 1 || version == 2 || version == 3";

// A record's four texts and its indicators, indicador_1 in bit 0.
struct Campos {
  const char *id, *dominio, *ruta, *nombre;
  uint32_t indicadores;
};

// The bytes written so far; the stream is closed.
std::string cierra(flujo_t *flujo) {
  size_t n = 0;
  const void *datos = flujo_dame_memoria(flujo, &n);
  std::string bytes(static_cast<const char *>(datos), n);
  flujo_cierra(&flujo);
  return bytes;
}

// A record laid out item by item as a writer of that version did, with its first n booleans.
std::string a_mano(unsigned char version, const Campos &c, int n = TABLALINK_NUM_INDICADORES) {
  flujo_t *flujo = flujo_abre_memoria_escritura();
  flujo_graba_uchar(version, flujo);
  for (const char *t : {c.id, c.dominio, c.ruta, c.nombre}) flujo_graba_cadena(t, flujo);
  for (int i = 0; i < n; ++i) flujo_graba_bool((c.indicadores >> i) & 1u, flujo);
  return cierra(flujo);
}

// The record saved on a stream of its own, then destroyed.
std::string graba(tablalink_t *registro) {
  flujo_t *flujo = flujo_abre_memoria_escritura();
  tablalink_graba(registro, flujo);
  tablalink_destruye(&registro);
  return cierra(flujo);
}

// Each record read, saved again, until the bytes run out; " (failed)" marks a failed stream.
std::string relee(const std::string &bytes) {
  flujo_t *flujo = flujo_abre_memoria(bytes.data(), bytes.size());
  std::string regrabados;
  do regrabados += graba(tablalink_lee(flujo));
  while (flujo_fallido(flujo) != CIERTO && flujo_posicion(flujo) < bytes.size());
  if (flujo_fallido(flujo) == CIERTO) regrabados += " (failed)";
  flujo_cierra(&flujo);
  return regrabados;
}

// Versions 0 to 2 saved fewer indicators (the rest read FALSO, the next record follows the last
// one saved); a later one is reported and read as 3. All are saved again as version 3.
TEST_F(Formato, CadaVersionSeLeeYSeGrabaComoLaUltima) {
  const Campos escrito{"|d|n.x", "", "d", "n.x", 0x3FFF}, siguiente{"", "", "", "", 0x1555};
  for (int version : {0, 1, 2, 3, 4, 255}) {
    olvida_informes();
    const int guardados = 11 + (version > 3 ? 3 : version);
    const Campos leido{"|d|n.x", "", "d", "n.x", (1u << guardados) - 1};
    EXPECT_EQ(relee(a_mano(version, escrito, guardados) + a_mano(3, siguiente)),
              a_mano(3, leido) + a_mano(3, siguiente))
        << "version " << version;
    EXPECT_EQ(condiciones(), version > 3 ? kVersionDesconocida : "");
  }
}

// Cut anywhere, or holding a text count far beyond what is left: the stream fails, and a
// whole record still comes back.
TEST_F(Formato, UnFlujoCortadoOCorruptoFallaSinRomperNada) {
  const std::string bueno = a_mano(3, {"servidor|guia.html", "servidor", "/", "guia.html", 7});
  std::vector<std::string> malos = {std::string("\x03\xff\xff\xff\xff")};
  for (size_t corte = 0; corte < bueno.size(); ++corte) malos.push_back(bueno.substr(0, corte));
  for (const std::string &bytes : malos) {
    olvida_informes();
    EXPECT_TRUE(relee(bytes).ends_with(" (failed)")) << bytes.size();
    for (const auto &i : informes())
      EXPECT_NE(i.modulo, "tablalink (LENGUAWEB.DLL)") << i.condicion;
  }
}

TEST_F(Formato, NadaSeGrabaDeUnRegistroNuloYUnTextoNuloSeGrabaVacio) {
  EXPECT_EQ(graba(nullptr), "");
  // Also what every record is saved as: version 3, four texts, indicador_1 to indicador_14.
  EXPECT_EQ(graba(tablalink_crea("i", "d", nullptr, "n")), a_mano(3, {"i", "d", "", "n", 1}));
  EXPECT_EQ(cuenta_informes("(tablalink->ruta) != NULL"), 3u);  // made, saved, destroyed
}

}  // namespace
