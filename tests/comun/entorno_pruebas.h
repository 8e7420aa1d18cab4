// entorno_pruebas.h - the fixture every test uses: reports caught, leaks counted, a scratch folder.
#ifndef PRUEBAS_ENTORNO_PRUEBAS_H
#define PRUEBAS_ENTORNO_PRUEBAS_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lenguaweb.h"
#include "listas.h"

namespace pruebas {

struct Informe {
  std::string condicion;
  std::string modulo;
};

// How Entorno::reconstruye writes a page: with traducidos (the page's own texts when
// empty), in the code page of destino (the page's language when 0), through the tables.
struct Ronda {
  std::vector<std::string> traducidos{};
  uint32_t destino = 0;
  const lista_reg_t *a = nullptr, *img = nullptr;
};

// Installs a receptor that records every failure report made on the test's thread,
// gives each test a fresh scratch folder (also the utilities folder), and fails the
// test when companion blocks made during it are still alive at its end.
class Entorno : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Reports seen so far, in order.
  const std::vector<Informe> &informes() const;
  // Number of reports whose condition is exactly condicion.
  size_t cuenta_informes(const std::string &condicion) const;
  // The conditions of the reports seen so far, one after another.
  std::string condiciones() const;
  void olvida_informes();

  // Path of a file in the scratch folder.
  std::string ruta(const std::string &nombre) const;
  // Writes bytes to a file in the scratch folder (its folders made) and returns its path.
  std::string escribe(const std::string &nombre, const std::string &contenido) const;
  // Reads a whole file; fails the test when it cannot be read.
  static std::string lee(const std::string &ruta);
  // The files of a folder whose names hold texto.
  static size_t cuenta_con(const std::filesystem::path &carpeta, const std::string &texto = "");

  // The texts a host is given for the page, in the code page of idioma.
  std::vector<std::string> textos_de(const std::string &pagina, uint32_t idioma);
  // The page read in idioma and written back as the round says; fails the test when
  // the rebuild fails.
  std::string reconstruye(const std::string &pagina, uint32_t idioma, const Ronda &ronda = {});
  // The page read in idioma and preprocessed into the tables a and img, as written.
  std::string preprocesa(const std::string &pagina, uint32_t idioma, lista_reg_t *a,
                         lista_reg_t *img);

  std::filesystem::path carpeta_;

 private:
  int64_t bloques_al_empezar_ = 0;
};

// Path of a file under tests/data.
std::string dato(const std::string &nombre);

// The text as a string ("<null>" for none), freed through the variable, which must end null.
inline std::string toma(char *texto) {
  std::string r = texto != nullptr ? texto : "<null>";
  cad_destruye(&texto);
  EXPECT_EQ(texto, nullptr);
  return r;
}
inline std::u16string toma(char16_t *texto) {
  std::u16string r = texto != nullptr ? texto : u"<null>";
  wcad_destruye(&texto);
  EXPECT_EQ(texto, nullptr);
  return r;
}

}  // namespace pruebas

#endif
