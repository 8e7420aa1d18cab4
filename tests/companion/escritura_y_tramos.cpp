// escritura_y_tramos.cpp - tests of files written piece by piece and of converting stretches.
#include <filesystem>
#include <string>

#include "comun/entorno_pruebas.h"

namespace {

constexpr uint32_t kEspanol = 0x0C0A;
constexpr uint32_t kRuso = 0x0419;

class EscrituraYTramos : public pruebas::Entorno {};

TEST_F(EscrituraYTramos, ConvierteUnTramoSinCopiarlo) {
  struct {
    std::string pagina;
    size_t longitud;
    uint32_t idioma;
    std::string esperado;
  } casos[] = {
      {"h\xC3\xA9llo<b>", 6, kEspanol, "h\xE9llo"},  // stops before the tag
      {"ab\xC3\xA9", 3, kEspanol, "ab\xC3"},         // a sequence cut by the end is not UTF-8
      {"caf\xC3\xA9 \xE2\x82\xAC", 9, kEspanol, "caf\xE9 \x80"},
      {"\xD0\x9C\xD0\xB8\xD1\x80!", 6, kRuso, "\xCC\xE8\xF0"},
      {std::string("a\0b", 3), 3, kEspanol, "a"},  // a NUL ends the text
      {"", 0, kEspanol, ""},
      // Characters that Unicode calls ignorable are kept as references too.
      {"a\xE2\x80\x8B"
       "b\xE2\x80\xAA",
       8, kEspanol, "a&#8203;b&#8234;"},
  };
  for (const auto &c : casos) {
    size_t largo = 99;
    char *t = conv_utf8_a_ansi_html_n(c.pagina.data(), c.longitud, c.idioma, &largo);
    EXPECT_EQ(std::string(t), c.esperado) << c.pagina;
    EXPECT_EQ(largo, c.esperado.size()) << c.pagina;
    cad_destruye(&t);
  }
  size_t largo = 0;
  char *u = conv_ansi_idioma_a_utf8_n("\xCC\xE8\xF0", kRuso, &largo);
  EXPECT_STREQ(u, "\xD0\x9C\xD0\xB8\xD1\x80");
  EXPECT_EQ(largo, 6u);
  cad_destruye(&u);
}

TEST_F(EscrituraYTramos, FicheroPorPartes) {
  const std::string destino = ruta("pagina.html");
  escribe("pagina.html", "old contents");
  fichero_escritura_t *f = fichero_escritura_abre(destino.c_str());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(fichero_escritura_anade(f, "<p>", 3), CIERTO);
  EXPECT_EQ(lee(destino), "old contents");  // untouched until the end
  EXPECT_EQ(fichero_escritura_anade(f, "", 0), CIERTO);
  const std::string grande(3 << 20, 'x');
  EXPECT_EQ(fichero_escritura_anade(f, grande.data(), grande.size()), CIERTO);
  EXPECT_EQ(fichero_escritura_termina(&f), CIERTO);
  EXPECT_EQ(f, nullptr);
  EXPECT_EQ(lee(destino), "<p>" + grande);
  size_t ficheros = 0;
  for (const auto &e : std::filesystem::directory_iterator(carpeta_))
    ficheros += e.is_regular_file();
  EXPECT_EQ(ficheros, 1u) << "a temporary file was left behind";
}

TEST_F(EscrituraYTramos, FicheroQueNoSePuedeEscribir) {
  EXPECT_EQ(fichero_escritura_abre(ruta("no/existe.html").c_str()), nullptr);
  ASSERT_FALSE(informes().empty());
  EXPECT_NE(informes().back().condicion.find("no/existe.html"), std::string::npos);

  // The folder disappears before the end: nothing is put in place, and it says so.
  std::filesystem::create_directory(ruta("sub"));
  fichero_escritura_t *f = fichero_escritura_abre(ruta("sub/p.html").c_str());
  ASSERT_NE(f, nullptr);
  fichero_escritura_anade(f, "abc", 3);
  std::filesystem::remove_all(ruta("sub"));
  EXPECT_EQ(fichero_escritura_termina(&f), FALSO);
  EXPECT_EQ(f, nullptr);
  EXPECT_FALSE(std::filesystem::exists(ruta("sub/p.html")));
  EXPECT_EQ(fichero_escritura_termina(nullptr), FALSO);
}

}  // namespace
