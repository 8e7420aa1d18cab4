// descompone_test.cpp - links split into parts, identifiers joined, and links rebuilt from parts.
#include <set>
#include <string>
#include <tuple>

#include "comun/entorno_pruebas.h"
#include "tablalink/tablalink.h"

namespace {

using Partes = std::tuple<std::string, std::string, std::string>;

struct Particion {
  const char *enlace;
  const char *dominio, *ruta, *nombre, *id;
  bool avisa;          // "hay_punto == CIERTO" expected
  const char *vuelta;  // link rebuilt from the parts; null when it is the link itself
};

const Particion kParticiones[] = {
    {"http://servidor", "servidor", "/", "", "servidor", false, "http://servidor/"},
    {"http://servidor/", "servidor", "/", "", "servidor", false, nullptr},
    {"http://servidor/guia.html", "servidor", "/", "guia.html", "servidor|guia.html", false,
     nullptr},
    {"HTTP://servidor/docs/guia.html", "servidor", "/docs", "guia.html", "servidor|/docs|guia.html",
     false, "http://servidor/docs/guia.html"},
    {"http://servidor/docs", "servidor", "/docs", "", "servidor|/docs", false,
     "http://servidor/docs/"},
    {"http://servidor/docs/", "servidor", "/docs", "", "servidor|/docs", false, nullptr},
    {"http://servidor/docs.es", "servidor", "/", "docs.es", "servidor|docs.es", false, nullptr},
    {"http://servidor/docs.es/", "servidor", "/docs.es", "", "servidor|/docs.es", false, nullptr},
    {"/docs/guia.html", "", "/docs", "guia.html", "|/docs|guia.html", false, nullptr},
    {"/guia.html", "", "/", "guia.html", "|/|guia.html", false, nullptr},
    {"docs/guia.html", "", "docs", "guia.html", "|docs|guia.html", false, nullptr},
    {"guia.html", "", "", "guia.html", "|guia.html", false, nullptr},
    {"../img/logo.gif", "", "../img", "logo.gif", "|../img|logo.gif", false, nullptr},
    {"https://servidor/guia.html", "", "https://servidor", "guia.html",
     "|https://servidor|guia.html", false, nullptr},
    {"docs/capitulo", "", "docs", "capitulo", "|docs|capitulo", true, nullptr},
    {"", "", "/", "", "", false, "/"},
    // One-character parts keep their place, and a bare root stays apart from no path.
    {"a/guia.html", "", "a", "guia.html", "|a|guia.html", false, nullptr},
    {"docs/x.c", "", "docs", "x.c", "|docs|x.c", false, nullptr},
    {"docs/x", "", "docs", "x", "|docs|x", true, nullptr},
    {"/", "", "/", "", "|/", false, nullptr},
    {"//", "", "/", "", "|/", false, "/"},
    {"/a/b", "", "/a/b", "", "|/a/b", false, "/a/b/"},
    {"a/", "", "a", "", "|a", true, "a/"},
    // The host is what stands before the next "/", even when that is nothing.
    {"hTtP://Servidor.ES", "Servidor.ES", "/", "", "Servidor.ES", false, "http://Servidor.ES/"},
    {"http:///x.html", "", "/", "x.html", "|/|x.html", false, "/x.html"},
    {"http://", "", "/", "", "", false, "/"},
    {"ftp://host/a.txt", "", "ftp://host", "a.txt", "|ftp://host|a.txt", false, nullptr},
    {"http://s/p.php?d=/x", "s", "/p.php?d=/x", "", "s|/p.php?d=/x", false, "http://s/p.php?d=/x/"},
    {"http://s/x/ver.php?a=1#b", "s", "/x", "ver.php?a=1#b", "s|/x|ver.php?a=1#b", false, nullptr},
};

class Descompone : public pruebas::Entorno {};

TEST_F(Descompone, CadaEnlaceDaSusPartesSuIdentificadorYSuVuelta) {
  for (const auto &fila : kParticiones) {
    SCOPED_TRACE(std::string("enlace \"") + fila.enlace + "\"");
    olvida_informes();
    char *id = nullptr, *dominio = nullptr, *ruta = nullptr, *nombre = nullptr;
    tablalink_descompone_enlace(fila.enlace, &id, &dominio, &ruta, &nombre);
    ASSERT_TRUE(id && dominio && ruta && nombre);
    EXPECT_STREQ(dominio, fila.dominio);
    EXPECT_STREQ(ruta, fila.ruta);
    EXPECT_STREQ(nombre, fila.nombre);
    EXPECT_STREQ(id, fila.id);
    EXPECT_EQ(informes().size(), fila.avisa ? 1u : 0u);
    EXPECT_EQ(cuenta_informes("hay_punto == CIERTO"), fila.avisa ? 1u : 0u);
    for (const auto &i : informes()) EXPECT_EQ(i.modulo, TABLALINK_MODULO);

    tablalink_t *registro = tablalink_crea(id, dominio, ruta, nombre);
    char *enlace = tablalink_dame_enlace(registro);
    EXPECT_STREQ(enlace, fila.vuelta ? fila.vuelta : fila.enlace);
    cad_destruye(&enlace);
    tablalink_destruye(&registro);
    for (char **t : {&id, &dominio, &ruta, &nombre}) cad_destruye(t);
  }
}

// Two links name one target exactly when their parts are equal; else their identifiers differ.
TEST_F(Descompone, PartesDistintasDanIdentificadoresDistintos) {
  for (const auto &a : kParticiones)
    for (const auto &b : kParticiones) {
      if (Partes(a.dominio, a.ruta, a.nombre) == Partes(b.dominio, b.ruta, b.nombre)) continue;
      EXPECT_STRNE(a.id, b.id) << a.enlace << " / " << b.enlace;
      char *ida = tablalink_compone_id(a.dominio, a.ruta, a.nombre);
      char *idb = tablalink_compone_id(b.dominio, b.ruta, b.nombre);
      EXPECT_STRNE(ida, idb) << a.enlace << " / " << b.enlace;
      cad_destruye(&ida);
      cad_destruye(&idb);
    }
}

TEST_F(Descompone, ReconstruyeElEnlaceDeCadaRegistro) {
  const struct {
    const char *dominio, *ruta, *nombre, *enlace;
  } filas[] = {
      {"servidor", "/docs", "guia.html", "http://servidor/docs/guia.html"},
      {"servidor", "/", "guia.html", "http://servidor/guia.html"},
      {"servidor", "/", "", "http://servidor/"},
      {"servidor", "/docs", "", "http://servidor/docs/"},
      {"", "/docs", "guia.html", "/docs/guia.html"},
      {"", "docs", "guia.html", "docs/guia.html"},
      {"", "", "guia.html", "guia.html"},
      {"", "/", "", "/"},
      {"", "a", "guia.html", "a/guia.html"},
      {"", "/", "guia.html", "/guia.html"},
      {"", "", "", ""},
  };
  for (const auto &f : filas) {
    tablalink_t *registro = tablalink_crea("id", f.dominio, f.ruta, f.nombre);
    char *enlace = tablalink_dame_enlace(registro);
    EXPECT_STREQ(enlace, f.enlace) << f.dominio << " " << f.ruta << " " << f.nombre;
    cad_destruye(&enlace);
    tablalink_destruye(&registro);
  }
  EXPECT_TRUE(informes().empty());
}

TEST_F(Descompone, ElEnlaceNoCambiaYUnNuloEsElEnlaceVacio) {
  char enlace[] = "HTTP://servidor/docs/";
  char *id = nullptr, *dominio = nullptr, *ruta = nullptr, *nombre = nullptr;
  tablalink_descompone_enlace(enlace, &id, &dominio, &ruta, &nombre);
  EXPECT_STREQ(enlace, "HTTP://servidor/docs/");
  for (char **t : {&id, &dominio, &ruta, &nombre}) cad_destruye(t);

  tablalink_descompone_enlace(nullptr, &id, &dominio, &ruta, &nombre);
  EXPECT_EQ(Partes(dominio, ruta, nombre), Partes("", "/", ""));
  EXPECT_STREQ(id, "");
  for (char **t : {&id, &dominio, &ruta, &nombre}) cad_destruye(t);
  EXPECT_TRUE(informes().empty());
}

}  // namespace
