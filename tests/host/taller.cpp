// taller.cpp - a translator's work through the command, step by step: what was translated
// is never lost, and each common mistake is named.
#include <filesystem>
#include <string>

#include "comando.h"

namespace {

using pruebas::Comando;
using pruebas::Salida;
using pruebas::Textos;
namespace fs = std::filesystem;
const std::string kGettext = fs::path(LENGUAWEB_MSGFMT).parent_path().string() + "/";

// One step: a command (lenguaweb's unless programa says otherwise), its exit status, a
// part of what it says on standard error ("" : it says nothing), and then what msgfmt
// --statistics says of a file.
struct Paso {
  Textos argumentos{};
  std::string programa{};
  int estado = 0;
  std::string dice{};
  std::string fichero{}, estadistica{};
};

TEST_F(Comando, NingunaTraduccionSePierdeSinPedirlo) {
  escribe("a.html", lee(LENGUAWEB_DATOS_HOST "/repetida.html"));
  escribe("b.html", "<title>Other</title>");
  const std::string nada = "0 translated messages, 5 untranslated messages.\n";
  const std::string todas = "5 translated messages.\n";
  // clang-format off
  const Paso pasos[] = {
      // A template beside the page, as xgettext writes one.
      {.argumentos = {"extract", "a.html"}, .fichero = "a.pot", .estadistica = nada},
      {.argumentos = {"a.pot", "-o", "a.po"}, .programa = "msgen", .fichero = "a.po",
       .estadistica = todas},
      // Extracted again onto the translated file: updated, not replaced.
      {.argumentos = {"extract", "a.html", "-o", "a.po"},
       .dice = "lenguaweb: a.po holds 5 translations: updated as update does, every one kept "
               "(--force replaces it)\n",
       .fichero = "a.po", .estadistica = todas},
      {.argumentos = {"extract", "b.html", "-o", "a.po"}, .estado = 2,
       .dice = "a.po holds 5 translations of another page, 'a.html', which extract would "
               "replace: --force replaces them",
       .fichero = "a.po", .estadistica = todas},
      // update writes over its old PO file, as msgmerge -U does.
      {.argumentos = {"update", "a.html", "a.po", "-o", "a.po"}, .fichero = "a.po",
       .estadistica = todas},
      // Mistakes, each named, nothing written.
      {.argumentos = {"merge", "a.po", "a.html", "-o", "x.html"}, .estado = 2,
       .dice = "lenguaweb: 'a.po' is a PO file and 'a.html' is not: the page comes first "
               "(lenguaweb merge PAGE PO -o OUTPUT)\n",
       .fichero = "a.po", .estadistica = todas},
      {.argumentos = {"-v", "mrge", "a.html"}, .estado = 2,
       .dice = "lenguaweb: unknown subcommand 'mrge': the subcommands are extract, merge, "
               "update, links and pseudo",
       .fichero = "a.po", .estadistica = todas},
      {.argumentos = {"merge", "b.html", "a.po", "-o", "x.html"}, .estado = 2,
       .dice = "its X-Lenguaweb-Page is 'a.html', not 'b.html' (--any-page takes it",
       .fichero = "a.po", .estadistica = todas},
      {.argumentos = {"update", "b.html", "a.po", "-o", "b.po"}, .estado = 2,
       .dice = "its X-Lenguaweb-Page is 'a.html', not 'b.html'", .fichero = "a.po",
       .estadistica = todas},
      // A merge counts entries, as msgfmt does.
      {.argumentos = {"merge", "a.html", "a.po", "-o", "x.html"},
       .dice = "a.html: 5 of 5 entries translated\n", .fichero = "a.po", .estadistica = todas},
      // Replaced only when asked.
      {.argumentos = {"extract", "a.html", "-o", "a.po", "--force"}, .fichero = "a.po",
       .estadistica = nada},
  };
  // clang-format on
  for (const Paso &p : pasos) {
    SCOPED_TRACE(testing::PrintToString(p.argumentos));
    const Salida r =
        p.programa.empty() ? lenguaweb(p.argumentos) : corre(kGettext + p.programa, p.argumentos);
    EXPECT_EQ(r.estado, p.estado) << r.errores;
    if (p.dice.empty())
      EXPECT_EQ(r.errores, "");
    else
      EXPECT_NE(r.errores.find(p.dice), std::string::npos) << r.errores;
    EXPECT_EQ(corre(LENGUAWEB_MSGFMT, {"--statistics", "-o", "/dev/null", p.fichero}).errores,
              p.estadistica);
  }
  EXPECT_FALSE(fs::exists(ruta("b.po")));
}

}  // namespace
