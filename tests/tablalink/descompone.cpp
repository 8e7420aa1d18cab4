// descompone.cpp - links split into parts and identifiers, and rebuilt from the parts.
#include <string>
#include <tuple>

#include "comun/entorno_pruebas.h"
#include "tablalink/tablalink.h"

namespace {

using Descompone = pruebas::Entorno;

struct Particion {
  const char *enlace, *dominio, *ruta, *nombre, *id;
  bool avisa;          // "hay_punto == CIERTO" expected
  const char *vuelta;  // link rebuilt from the parts; null when it is the link itself
};

// clang-format off
const Particion kParticiones[] = {
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
    EXPECT_EQ(cuenta_informes("hay_punto == CIERTO"), fila.avisa ? 1u : 0u);
    EXPECT_EQ(informes().size(), fila.avisa ? 1u : 0u);

    // The record keeps copies: the parts are gone before it is used.
    tablalink_t *registro = tablalink_crea(id, dominio, ruta, nombre);
    for (char **t : {&id, &dominio, &ruta, &nombre}) cad_destruye(t);
    char *enlace = tablalink_dame_enlace(registro);
    EXPECT_STREQ(enlace, fila.vuelta ? fila.vuelta : fila.enlace);
    cad_destruye(&enlace);
    tablalink_destruye(&registro);
  }
}

}  // namespace
