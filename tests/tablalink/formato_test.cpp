// formato_test.cpp - link records saved on a stream and read back, from every saved version.
#include <array>
#include <random>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "tablalink/tablalink.h"

namespace {

using namespace std::string_literals;

const char kVersionDesconocida[] = "version == 0 || version == 1 || version == 2 || version == 3";

struct Copia {
  std::string id, dominio, ruta, nombre;
  std::array<booleano, TABLALINK_NUM_INDICADORES> indicadores{};
  bool operator==(const Copia &) const = default;
};

Copia copia_de(const tablalink_t *r) {
  EXPECT_TRUE(r && r->ID && r->dominio && r->ruta && r->nombre_fichero);
  if (!(r && r->ID && r->dominio && r->ruta && r->nombre_fichero)) return {};
  Copia c{r->ID, r->dominio, r->ruta, r->nombre_fichero};
  for (int i = 0; i < TABLALINK_NUM_INDICADORES; ++i) c.indicadores[i] = r->indicador[i];
  return c;
}

tablalink_t *registro_de(const Copia &c) {
  char *id = cad_copia(c.id.c_str()), *dominio = cad_copia(c.dominio.c_str());
  char *ruta = cad_copia(c.ruta.c_str()), *nombre = cad_copia(c.nombre.c_str());
  return tablalink_crea_con_campos(&id, &dominio, &ruta, &nombre, c.indicadores.data());
}

// Indicator i is CIERTO when bit i of mascara is set.
Copia copia(const char *id, const char *dominio, const char *ruta, const char *nombre,
            uint32_t mascara) {
  Copia c{id, dominio, ruta, nombre};
  for (int i = 0; i < TABLALINK_NUM_INDICADORES; ++i) c.indicadores[i] = (mascara >> i) & 1u;
  return c;
}

std::string bytes_de(const flujo_t *flujo) {
  size_t n = 0;
  const void *datos = flujo_dame_memoria(flujo, &n);
  return std::string(static_cast<const char *>(datos), n);
}

std::string graba_registros(const std::vector<Copia> &registros) {
  flujo_t *flujo = flujo_abre_memoria_escritura();
  for (const auto &c : registros) {
    tablalink_t *r = registro_de(c);
    tablalink_graba(r, flujo);
    tablalink_destruye(&r);
  }
  std::string bytes = bytes_de(flujo);
  EXPECT_EQ(flujo_cierra(&flujo), CIERTO);
  return bytes;
}

// A record as an older (or unknown) writer saved it: its version and its first booleans.
std::string graba_a_mano(unsigned char version, const Copia &c, int booleanos) {
  flujo_t *flujo = flujo_abre_memoria_escritura();
  flujo_graba_uchar(version, flujo);
  for (const auto *t : {&c.id, &c.dominio, &c.ruta, &c.nombre})
    flujo_graba_cadena(t->c_str(), flujo);
  for (int i = 0; i < booleanos; ++i) flujo_graba_bool(c.indicadores[i], flujo);
  std::string bytes = bytes_de(flujo);
  flujo_cierra(&flujo);
  return bytes;
}

// Reads records until the bytes are used up or the stream fails.
std::vector<Copia> lee_registros(const std::string &bytes, bool *fallido = nullptr) {
  flujo_t *flujo = flujo_abre_memoria(bytes.data(), bytes.size());
  std::vector<Copia> leidos;
  do {
    tablalink_t *r = tablalink_lee(flujo);
    leidos.push_back(copia_de(r));
    tablalink_destruye(&r);
  } while (flujo_fallido(flujo) != CIERTO && flujo_posicion(flujo) < bytes.size());
  if (fallido != nullptr) *fallido = flujo_fallido(flujo) == CIERTO;
  flujo_cierra(&flujo);
  return leidos;
}

class Formato : public pruebas::Entorno {};

TEST_F(Formato, RegistrosGrabadosSeguidosSeLeenSeguidosEIguales) {
  const std::vector<Copia> registros = {
      copia("servidor|/docs|guia.html", "servidor", "/docs", "guia.html", 0x2AAA),
      copia("", "", "", "", 0),
      copia("|a|\xc3\xa1rbol.html", "", "a", "\xc3\xa1rbol.html", 0x3FFF),
      copia(std::string(70000, 'x').c_str(), "", "", "y.html", 0x2001),
  };
  const std::string bytes = graba_registros(registros);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes[0], 3);
  bool fallido = true;
  EXPECT_EQ(lee_registros(bytes, &fallido), registros);
  EXPECT_FALSE(fallido);
  EXPECT_TRUE(informes().empty());
}

TEST_F(Formato, VersionesAntiguasDejanFalsosLosIndicadoresQueNoGuardaban) {
  const Copia siguiente = copia("s|x.html", "s", "/", "x.html", 0x1555);
  for (unsigned char version = 0; version <= 3; ++version) {
    SCOPED_TRACE("version " + std::to_string(version));
    const int guardados = 11 + version;
    const Copia escrito = copia("|d|n.x", "", "d", "n.x", 0x3FFF);
    Copia esperado = escrito;
    for (int i = guardados; i < TABLALINK_NUM_INDICADORES; ++i) esperado.indicadores[i] = FALSO;

    bool fallido = true;
    const auto leidos = lee_registros(
        graba_a_mano(version, escrito, guardados) + graba_registros({siguiente}), &fallido);
    EXPECT_EQ(leidos, (std::vector<Copia>{esperado, siguiente}));
    EXPECT_FALSE(fallido);
    // Saved again, it is a record of the newest version with all fourteen indicators.
    EXPECT_EQ(graba_registros({leidos[0]}), graba_a_mano(3, esperado, TABLALINK_NUM_INDICADORES));
  }
  EXPECT_TRUE(informes().empty());
}

TEST_F(Formato, UnaVersionDesconocidaSeInformaYSeLeeComoLaUltima) {
  const Copia escrito = copia("i", "d", "r", "n", 0x2003);
  for (int version : {4, 200, 255}) {
    olvida_informes();
    const std::string bytes = graba_a_mano(static_cast<unsigned char>(version), escrito, 14);
    bool fallido = true;
    EXPECT_EQ(lee_registros(bytes + graba_registros({escrito}), &fallido),
              (std::vector<Copia>{escrito, escrito}));
    EXPECT_FALSE(fallido);
    ASSERT_EQ(informes().size(), 1u) << version;
    EXPECT_EQ(informes()[0].condicion, kVersionDesconocida);
    EXPECT_EQ(informes()[0].modulo, TABLALINK_MODULO);
  }
}

TEST_F(Formato, UnFlujoCortadoDondeSeaFallaSinRomperNada) {
  const std::string bytes =
      graba_registros({copia("servidor|guia.html", "servidor", "/", "guia.html", 0x7)});
  for (size_t corte = 0; corte < bytes.size(); ++corte) {
    bool fallido = false;
    const auto leidos = lee_registros(bytes.substr(0, corte), &fallido);
    EXPECT_TRUE(fallido) << "cut at " << corte;
    EXPECT_EQ(leidos.size(), 1u);
  }
  for (const auto &i : informes()) EXPECT_NE(i.modulo, TABLALINK_MODULO) << i.condicion;
}

TEST_F(Formato, BytesCorruptosNoRompenNadaYSoloSeInformaLoPrevisto) {
  // Text counts far beyond what is left.
  for (const std::string &cuenta :
       {"\xff\xff\xff\xff"s, "\xf0\xff\xff\x7f"s, "\x00\x00\x01\x00"s}) {
    bool fallido = false;
    lee_registros(std::string("\x03", 1) + cuenta + "abc", &fallido);
    EXPECT_TRUE(fallido);
  }
  std::mt19937 azar(20260);
  for (int vuelta = 0; vuelta < 3000; ++vuelta) {
    std::string bytes(azar() % 80, '\0');
    for (char &b : bytes) b = static_cast<char>(azar() % 4 == 0 ? azar() % 5 : azar());
    lee_registros(bytes);
  }
  for (const auto &i : informes())
    EXPECT_TRUE(i.modulo != TABLALINK_MODULO || i.condicion == kVersionDesconocida) << i.condicion;
}

TEST_F(Formato, NadaSeGrabaDeUnRegistroNuloYUnTextoNuloSeGrabaVacio) {
  flujo_t *flujo = flujo_abre_memoria_escritura();
  tablalink_graba(nullptr, flujo);
  EXPECT_EQ(bytes_de(flujo), "");
  EXPECT_EQ(cuenta_informes("(tablalink) != NULL"), 1u);

  tablalink_t *roto = tablalink_crea("i", "d", nullptr, "n");
  tablalink_graba(roto, flujo);
  tablalink_destruye(&roto);
  const std::string bytes = bytes_de(flujo);
  flujo_cierra(&flujo);
  EXPECT_EQ(cuenta_informes("(tablalink->ruta) != NULL"), 3u);
  EXPECT_EQ(lee_registros(bytes), (std::vector<Copia>{copia("i", "d", "", "n", 1)}));
}

}  // namespace
