// registro_test.cpp - making, matching, checking and destroying link records.
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "tablalink/tablalink.h"

namespace {

class Registro : public pruebas::Entorno {
 protected:
  std::vector<std::string> condiciones() const {
    std::vector<std::string> v;
    for (const auto &i : informes()) {
      EXPECT_EQ(i.modulo, TABLALINK_MODULO);
      v.push_back(i.condicion);
    }
    return v;
  }
};

TEST_F(Registro, CreaCopiaLosTextosYSoloElPrimerIndicadorEsCierto) {
  char id[] = "servidor|guia.html", dominio[] = "servidor", ruta[] = "/", nombre[] = "guia.html";
  tablalink_t *registro = tablalink_crea(id, dominio, ruta, nombre);
  id[0] = dominio[0] = ruta[0] = nombre[0] = 'X';
  EXPECT_STREQ(registro->ID, "servidor|guia.html");
  EXPECT_STREQ(registro->dominio, "servidor");
  EXPECT_STREQ(registro->ruta, "/");
  EXPECT_STREQ(registro->nombre_fichero, "guia.html");
  for (int i = 0; i < TABLALINK_NUM_INDICADORES; ++i)
    EXPECT_EQ(registro->indicador[i], i == 0 ? CIERTO : FALSO) << "indicador_" << i + 1;
  tablalink_destruye(&registro);
  EXPECT_EQ(registro, nullptr);

  registro = tablalink_crea("", "", "", "");
  char *enlace = tablalink_dame_enlace(registro);
  EXPECT_STREQ(enlace, "");
  EXPECT_TRUE(registro->ID && registro->dominio && registro->ruta && registro->nombre_fichero);
  cad_destruye(&enlace);
  tablalink_destruye(&registro);
  EXPECT_TRUE(informes().empty());
}

TEST_F(Registro, CreaConCamposSeQuedaConLosMismosTextos) {
  char *id = cad_copia("i"), *dominio = cad_copia("d"), *ruta = cad_copia("r");
  char *nombre = cad_copia("n");
  char *const originales[] = {id, dominio, ruta, nombre};
  booleano indicadores[TABLALINK_NUM_INDICADORES] = {};
  for (int i = 0; i < TABLALINK_NUM_INDICADORES; ++i) indicadores[i] = i % 3 == 1 ? CIERTO : FALSO;

  tablalink_t *registro = tablalink_crea_con_campos(&id, &dominio, &ruta, &nombre, indicadores);
  EXPECT_TRUE(id == nullptr && dominio == nullptr && ruta == nullptr && nombre == nullptr);
  EXPECT_EQ(registro->ID, originales[0]);
  EXPECT_EQ(registro->dominio, originales[1]);
  EXPECT_EQ(registro->ruta, originales[2]);
  EXPECT_EQ(registro->nombre_fichero, originales[3]);
  for (int i = 0; i < TABLALINK_NUM_INDICADORES; ++i)
    EXPECT_EQ(registro->indicador[i], indicadores[i]) << "indicador_" << i + 1;
  tablalink_destruye(&registro);
  EXPECT_TRUE(informes().empty());
}

TEST_F(Registro, CoincidenciasExactasYSensiblesALasMayusculas) {
  tablalink_t *registro = tablalink_crea("otro id", "Servidor", "/docs", "guia.html");
  registro->indicador[5] = CIERTO;
  const struct {
    const char *dominio, *ruta, *nombre;
    booleano coincide;
  } enlaces[] = {
      {"Servidor", "/docs", "guia.html", CIERTO}, {"servidor", "/docs", "guia.html", FALSO},
      {"Servidor", "/DOCS", "guia.html", FALSO},  {"Servidor", "/docs/", "guia.html", FALSO},
      {"Servidor", "/docs", "Guia.html", FALSO},  {"Servidor", "/docs", "guia.htm", FALSO},
      {"Servidor", "/docs", "", FALSO},           {"", "/docs", "guia.html", FALSO},
  };
  for (const auto &e : enlaces)
    EXPECT_EQ(tablalink_coincide_enlace(registro, e.dominio, e.ruta, e.nombre), e.coincide)
        << e.dominio << " " << e.ruta << " " << e.nombre;

  for (const char *id : {"otro ID", "@otro id", "otro id ", "otro"})
    EXPECT_EQ(tablalink_coincide_id(registro, id), FALSO) << id;
  EXPECT_EQ(tablalink_coincide_id(registro, "otro id"), CIERTO);
  tablalink_destruye(&registro);

  registro = tablalink_crea("@a", "", "", "a.html");
  EXPECT_EQ(tablalink_coincide_id(registro, "@a"), CIERTO);
  EXPECT_EQ(tablalink_coincide_id(registro, "a"), FALSO);
  tablalink_destruye(&registro);
  EXPECT_TRUE(informes().empty());
}

TEST_F(Registro, LaIntegridadInformaDeCadaTextoNulo) {
  char *id = nullptr, *dominio = nullptr, *ruta = nullptr, *nombre = nullptr;
  tablalink_t *registro = tablalink_crea_con_campos(&id, &dominio, &ruta, &nombre, nullptr);
  const std::vector<std::string> nulos = {"(tablalink->ID) != NULL", "(tablalink->dominio) != NULL",
                                          "(tablalink->ruta) != NULL",
                                          "(tablalink->nombre_fichero) != NULL"};
  EXPECT_EQ(condiciones(), nulos);
  for (booleano indicador : registro->indicador) EXPECT_EQ(indicador, FALSO);

  // A broken record is still usable: it matches nothing and rebuilds as an empty link.
  olvida_informes();
  EXPECT_EQ(tablalink_coincide_enlace(registro, "", "", ""), FALSO);
  EXPECT_EQ(tablalink_coincide_id(registro, ""), FALSO);
  char *enlace = tablalink_dame_enlace(registro);
  EXPECT_STREQ(enlace, "");
  cad_destruye(&enlace);
  tablalink_destruye(&registro);
  EXPECT_EQ(registro, nullptr);
  EXPECT_EQ(informes().size(), 4 * nulos.size());

  // Each text is checked on its own.
  olvida_informes();
  registro = tablalink_crea("i", nullptr, "r", "n");
  tablalink_destruye(&registro);
  EXPECT_EQ(condiciones(), std::vector<std::string>(2, "(tablalink->dominio) != NULL"));
}

TEST_F(Registro, UnRegistroNuloSeInformaYNoSeUsa) {
  tablalink_t *nulo = nullptr;
  tablalink_verifica_integridad(nullptr);
  EXPECT_EQ(tablalink_coincide_enlace(nullptr, "", "", ""), FALSO);
  EXPECT_EQ(tablalink_coincide_id(nullptr, ""), FALSO);
  EXPECT_EQ(tablalink_dame_enlace(nullptr), nullptr);
  tablalink_destruye(&nulo);
  tablalink_destruye(nullptr);
  EXPECT_EQ(condiciones(), std::vector<std::string>(6, "(tablalink) != NULL"));
}

}  // namespace
