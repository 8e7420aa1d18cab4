// registro.cpp - links split into link records and rebuilt; making, matching, checking records.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "comun/entorno_pruebas.h"
#include "tablalink/tablalink.h"

namespace {

using Registro = pruebas::Entorno;
using Indicadores = std::vector<booleano>;

Indicadores indicadores(const tablalink_t *r) {
  return Indicadores(r->indicador, r->indicador + TABLALINK_NUM_INDICADORES);
}

// A record made from texts keeps those very texts, and matches a link only exactly.
TEST_F(Registro, CreaConCamposYCoincidenciasExactas) {
  char *t[] = {cad_copia("otro id"), cad_copia("Servidor"), cad_copia("/docs"),
               cad_copia("guia.html")};
  char *const originales[] = {t[0], t[1], t[2], t[3]};
  Indicadores esperados(TABLALINK_NUM_INDICADORES, FALSO);
  for (int i = 1; i < TABLALINK_NUM_INDICADORES; i += 3) esperados[i] = CIERTO;
  tablalink_t *registro = tablalink_crea_con_campos(&t[0], &t[1], &t[2], &t[3], esperados.data());
  EXPECT_TRUE(!t[0] && !t[1] && !t[2] && !t[3]);
  EXPECT_TRUE(registro->ID == originales[0] && registro->dominio == originales[1] &&
              registro->ruta == originales[2] && registro->nombre_fichero == originales[3]);
  EXPECT_EQ(indicadores(registro), esperados);
  EXPECT_EQ(tablalink_coincide_enlace(registro, "Servidor", "/docs", "guia.html"), CIERTO);
  // One part at a time differs in letter case, by a "/", by being empty or a prefix.
  for (auto [i, otra] : {std::pair{0, "servidor"}, {0, ""}, {1, "/docs/"}, {2, "guia.htm"}}) {
    const char *partes[] = {"Servidor", "/docs", "guia.html"};
    partes[i] = otra;
    EXPECT_EQ(tablalink_coincide_enlace(registro, partes[0], partes[1], partes[2]), FALSO) << otra;
  }
  EXPECT_EQ(tablalink_coincide_id(registro, "otro id"), CIERTO);
  for (const char *id : {"@otro id", "otro id ", "otro"})
    EXPECT_EQ(tablalink_coincide_id(registro, id), FALSO) << id;
  tablalink_destruye(&registro);
  EXPECT_TRUE(informes().empty());
}

// A record with null texts is reported each time it is used, matches nothing and rebuilds
// as ""; a null record is reported and never used.
TEST_F(Registro, RegistrosRotosYNulosSeInforman) {
  char *id = nullptr, *dominio = nullptr, *ruta = nullptr, *nombre = nullptr;
  tablalink_t *registro = tablalink_crea_con_campos(&id, &dominio, &ruta, &nombre, nullptr);
  const char *nulos[] = {"(tablalink->ID) != NULL", "(tablalink->dominio) != NULL",
                         "(tablalink->ruta) != NULL", "(tablalink->nombre_fichero) != NULL"};
  EXPECT_EQ(indicadores(registro), Indicadores(TABLALINK_NUM_INDICADORES, FALSO));
  EXPECT_EQ(tablalink_coincide_enlace(registro, "", "", ""), FALSO);
  EXPECT_EQ(tablalink_coincide_id(registro, nullptr), FALSO);
  EXPECT_EQ(pruebas::toma(tablalink_dame_enlace(registro)), "");
  tablalink_destruye(&registro);
  EXPECT_EQ(registro, nullptr);
  for (const char *condicion : nulos) EXPECT_EQ(cuenta_informes(condicion), 5u) << condicion;

  tablalink_verifica_integridad(nullptr);
  EXPECT_EQ(tablalink_coincide_enlace(nullptr, "", "", ""), FALSO);
  EXPECT_EQ(tablalink_coincide_id(nullptr, ""), FALSO);
  EXPECT_EQ(tablalink_dame_enlace(nullptr), nullptr);
  tablalink_destruye(&registro);
  tablalink_destruye(nullptr);
  EXPECT_EQ(cuenta_informes("(tablalink) != NULL"), 6u);
  EXPECT_EQ(informes().size(), 26u);
  for (const auto &i : informes()) EXPECT_EQ(i.modulo, "tablalink (LENGUAWEB.DLL)");
}

using Descompone = pruebas::Entorno;

// avisa: "hay_punto == CIERTO" expected; vuelta: the link rebuilt from the parts, null when it
// is the link itself.
// clang-format off
const struct { const char *enlace, *dominio, *ruta, *nombre, *id; bool avisa; const char *vuelta; } kParticiones[] = {
    {"http://servidor", "servidor", "/", "", "servidor", false, "http://servidor/"},
    {"http://servidor/", "servidor", "/", "", "servidor", false, nullptr},
    {"http://servidor/guia.html", "servidor", "/", "guia.html", "servidor|guia.html", false, nullptr},
    {"HTTP://servidor/docs/guia.html", "servidor", "/docs", "guia.html", "servidor|/docs|guia.html", false, "http://servidor/docs/guia.html"},
    {"http://servidor/docs", "servidor", "/docs", "", "servidor|/docs", false, "http://servidor/docs/"},
    {"http://servidor/docs/", "servidor", "/docs", "", "servidor|/docs", false, nullptr},
    {"http://servidor/docs.es", "servidor", "/", "docs.es", "servidor|docs.es", false, nullptr},
    {"http://servidor/docs.es/", "servidor", "/docs.es", "", "servidor|/docs.es", false, nullptr},
    {"/docs/guia.html", "", "/docs", "guia.html", "|/docs|guia.html", false, nullptr},
    {"/guia.html", "", "/", "guia.html", "|/|guia.html", false, nullptr},
    {"docs/guia.html", "", "docs", "guia.html", "|docs|guia.html", false, nullptr},
    {"guia.html", "", "", "guia.html", "|guia.html", false, nullptr},
    {"../img/logo.gif", "", "../img", "logo.gif", "|../img|logo.gif", false, nullptr},
    {"https://servidor/guia.html", "", "https://servidor", "guia.html", "|https://servidor|guia.html", false, nullptr},
    {"docs/capitulo", "", "docs", "capitulo", "|docs|capitulo", true, nullptr},
    {"", "", "/", "", "", false, "/"},
    // One-character parts keep their place, and a bare root stays apart from no path.
    {"a/guia.html", "", "a", "guia.html", "|a|guia.html", false, nullptr},
    {"docs/x", "", "docs", "x", "|docs|x", true, nullptr},
    {"/", "", "/", "", "|/", false, nullptr},
    {"//", "", "/", "", "|/", false, "/"},
    // A link of the page's own scheme names a host, not a file; with a path it is a path.
    {"//example.com", "", "//example.com", "", "|//example.com", false, "//example.com/"},
    {"//cdn.example.com/lib.js", "", "//cdn.example.com", "lib.js", "|//cdn.example.com|lib.js", false, nullptr},
    // The host keeps its letter case, a "." before the last "/" makes no file name, one "/" is cut.
    {"hTtP://Servidor.ES", "Servidor.ES", "/", "", "Servidor.ES", false, "http://Servidor.ES/"},
    {"http://s/p.php?d=/x", "s", "/p.php?d=/x", "", "s|/p.php?d=/x", false, "http://s/p.php?d=/x/"},
    {"/docs//", "", "/docs/", "", "|/docs/", false, nullptr},
    {nullptr, "", "/", "", "", false, "/"},
};
// clang-format on

using Textos = std::tuple<std::string, std::string, std::string, std::string>;

// The rebuilt links take in every record shape: host or none, root, path or none, file or none.
TEST_F(Descompone, CadaEnlaceDaSusPartesSuIdentificadorYSuVuelta) {
  for (const auto &fila : kParticiones) {
    SCOPED_TRACE(fila.enlace != nullptr ? fila.enlace : "(null)");
    olvida_informes();
    char *id = nullptr, *dominio = nullptr, *ruta = nullptr, *nombre = nullptr;
    tablalink_descompone_enlace(fila.enlace, &id, &dominio, &ruta, &nombre);
    EXPECT_EQ(Textos(dominio, ruta, nombre, id),
              Textos(fila.dominio, fila.ruta, fila.nombre, fila.id));
    EXPECT_EQ(condiciones(), fila.avisa ? "hay_punto == CIERTO" : "");

    // The record keeps copies: the parts are gone before it is used.
    tablalink_t *registro = tablalink_crea(id, dominio, ruta, nombre);
    for (char **t : {&id, &dominio, &ruta, &nombre}) cad_destruye(t);
    EXPECT_EQ(pruebas::toma(tablalink_dame_enlace(registro)),
              fila.vuelta ? fila.vuelta : fila.enlace);
    tablalink_destruye(&registro);
  }
}

}  // namespace
