// sitios_test.cpp - the checker's own model of pages and links, and its catch of faults.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "comprobacion.h"
#include "modelo.h"
#include "seleccion.h"

namespace {

using sitios::EnlaceEnPagina;

struct FilaEnlace {
  const char *enlace, *dominio, *ruta, *nombre, *id, *reconstruido;
};

TEST(ModeloEnlaces, DivideIdentificaYReconstruye) {
  const FilaEnlace filas[] = {
      {"http://servidor", "servidor", "/", "", "servidor", "http://servidor/"},
      {"http://servidor/guia.html", "servidor", "/", "guia.html", "servidor|guia.html",
       "http://servidor/guia.html"},
      {"HTTP://servidor/docs/guia.html", "servidor", "/docs", "guia.html",
       "servidor|/docs|guia.html", "http://servidor/docs/guia.html"},
      {"http://servidor/docs", "servidor", "/docs", "", "servidor|/docs", "http://servidor/docs/"},
      {"http://servidor/docs.es", "servidor", "/", "docs.es", "servidor|docs.es",
       "http://servidor/docs.es"},
      {"http://servidor/docs.es/", "servidor", "/docs.es", "", "servidor|/docs.es",
       "http://servidor/docs.es/"},
      {"/docs/guia.html", "", "/docs", "guia.html", "|/docs|guia.html", "/docs/guia.html"},
      // The root and a one-character folder keep their place in a link without a domain.
      {"/guia.html", "", "/", "guia.html", "|/|guia.html", "/guia.html"},
      {"a/guia.html", "", "a", "guia.html", "|a|guia.html", "a/guia.html"},
      {"docs/x", "", "docs", "x", "|docs|x", "docs/x"},
      {"guia.html", "", "", "guia.html", "|guia.html", "guia.html"},
      {"../img/logo.gif", "", "../img", "logo.gif", "|../img|logo.gif", "../img/logo.gif"},
      {"https://servidor/guia.html", "", "https://servidor", "guia.html",
       "|https://servidor|guia.html", "https://servidor/guia.html"},
      {"https://docs.python.org/3/", "", "https://docs.python.org/3", "",
       "|https://docs.python.org/3", "https://docs.python.org/3/"},
      {"http://servidor//", "servidor", "/", "", "servidor", "http://servidor/"},
      {"lib/a.cgi?x=1/y", "", "lib/a.cgi?x=1", "y", "|lib/a.cgi?x=1|y", "lib/a.cgi?x=1/y"},
  };
  for (const FilaEnlace &f : filas) {
    SCOPED_TRACE(f.enlace);
    const sitios::PartesEnlace p = sitios::enlace_divide(f.enlace);
    EXPECT_EQ(p.dominio, f.dominio);
    EXPECT_EQ(p.ruta, f.ruta);
    EXPECT_EQ(p.nombre_fichero, f.nombre);
    EXPECT_EQ(sitios::enlace_identificador(p), f.id);
    EXPECT_EQ(sitios::enlace_reconstruye(p), f.reconstruido);
  }
}

TEST(ModeloEnlaces, ValorEscritoSoloEntrecomillaLoQueLoNecesita) {
  EXPECT_EQ(sitios::valor_escrito("a.html", false), "a.html");
  EXPECT_EQ(sitios::valor_escrito("a b.html", false), "\"a b.html\"");
  EXPECT_EQ(sitios::valor_escrito("x\"><b>", true), "x&quot;&gt;&lt;b&gt;");
  EXPECT_EQ(sitios::valor_escrito("a=b", false), "\"a=b\"");
}

TEST(ModeloPagina, BytesQueNoSonUtf8SeLeenComoWindows1252) {
  const sitios::PaginaLeida utf8 = sitios::pagina_descodifica("<p>caf\xC3\xA9 \xE2\x82\xAC</p>");
  EXPECT_TRUE(utf8.utf8);
  EXPECT_EQ(utf8.texto, "<p>caf\xC3\xA9 \xE2\x82\xAC</p>");
  EXPECT_EQ(utf8.en(7), 7u);

  // Latin-1 é, the euro of 1252, an EUC-KR pair whose bytes happen to be valid UTF-8, an
  // overlong form and a surrogate, each byte on its own.
  const sitios::PaginaLeida otra =
      sitios::pagina_descodifica("caf\xE9 \x80 \xC2\xA1 \xC0\xAF \xED\xA0\x80!");
  EXPECT_FALSE(otra.utf8);
  EXPECT_EQ(otra.texto,
            "caf\xC3\xA9 \xE2\x82\xAC \xC2\xA1 \xC3\x80\xC2\xAF \xC3\xAD\xC2\xA0\xE2\x82\xAC!");
  EXPECT_EQ(otra.en(3), 3u);   // é
  EXPECT_EQ(otra.en(4), 5u);   // the blank after it
  EXPECT_EQ(otra.en(5), 6u);   // the euro, three bytes
  EXPECT_EQ(otra.en(7), 10u);  // the pair kept as it stands
  EXPECT_EQ(otra.en(8), 10u);
  EXPECT_EQ(otra.en(17), otra.texto.size());
}

TEST(ModeloPagina, PrimeraDiferencia) {
  EXPECT_EQ(sitios::primera_diferencia("abc", "abc"), std::string::npos);
  EXPECT_EQ(sitios::primera_diferencia("abc", "abd"), 2u);
  EXPECT_EQ(sitios::primera_diferencia("abc", "ab"), 2u);
  EXPECT_EQ(sitios::muestra_diferencia("same", "same"), "");
  EXPECT_NE(sitios::muestra_diferencia("a\nb", "a\nc").find("byte 2"), std::string::npos);
}

std::vector<EnlaceEnPagina> enlaces_de(const std::string &pagina) {
  return sitios::enlaces_de(sitios::arbol_lee(pagina), pagina);
}

TEST(Enlaces, LosQueLaBibliotecaTrata) {
  const std::string pagina =
      "<a href=\"x.html\">x</a><AREA HREF=\"m.html\"><abbr href=y.html>a</abbr>"
      "<img src='i.png'><link href=\"s.css\"><a name=\"n\"></a><a href=\"#f\"></a>";
  const std::vector<EnlaceEnPagina> e = enlaces_de(pagina);
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].valor, "x.html");
  EXPECT_TRUE(e[0].entre_comillas);
  EXPECT_EQ(e[1].valor, "m.html");
  EXPECT_EQ(e[2].valor, "y.html");
  EXPECT_FALSE(e[2].entre_comillas);
  EXPECT_TRUE(e[3].img);
  EXPECT_EQ(e[3].valor, "i.png");
  EXPECT_EQ(e[4].valor, "#f");
  EXPECT_FALSE(sitios::enlace_se_traslada(e[4].valor));
  EXPECT_FALSE(sitios::enlace_se_traslada("@|x.html"));
  EXPECT_FALSE(sitios::enlace_se_traslada(""));
}

TEST(Enlaces, LaVueltaEsperadaYSusFallos) {
  const std::string pagina =
      "<a href=\"HTTP://h/d\">1</a> <a href=a/b.html>2</a> <a href=\"#x\">3</a> <img src=\"/\">";
  const std::vector<EnlaceEnPagina> e = enlaces_de(pagina);
  const std::string esperada = sitios::pagina_con_enlaces_reconstruidos(pagina, e);
  EXPECT_EQ(esperada,
            "<a href=\"http://h/d/\">1</a> <a href=a/b.html>2</a> <a href=\"#x\">3</a> "
            "<img src=\"/\">");
  // A link written back as the page had it, not as its record rebuilds it, is caught.
  EXPECT_NE(sitios::muestra_diferencia(esperada, pagina), "");

  const std::string pre =
      "<a href=\"@h|/d\">1</a> <a href=@|a|b.html>2</a> "
      "<a href=\"#x\">3</a> <img src=\"@|/\">";
  EXPECT_EQ(sitios::compara_referencias(e, enlaces_de(pre)), "");
  // A link left in place, a wrong identifier, and a lost tag are each caught.
  for (const std::string mala :
       {"<a href=\"HTTP://h/d\">1</a> <a href=@|a|b.html>2</a> <a href=\"#x\">3</a> <img "
        "src=\"@|/\">",
        "<a href=\"@h|/d\">1</a> <a href=@|b.html>2</a> <a href=\"#x\">3</a> <img src=\"@|/\">",
        "<a href=\"@h|/d\">1</a> <a href=@|a|b.html>2</a> <img src=\"@|/\">"})
    EXPECT_NE(sitios::compara_referencias(e, enlaces_de(mala)), "") << mala;
}

TEST(Seleccion, IdiomaPorLaCarpetaOElNombre) {
  EXPECT_EQ(sitios::idioma_de("/usr/share/doc/apache2-doc/manual/es/mod/core.html"), 0x0C0Au);
  EXPECT_EQ(sitios::idioma_de("/usr/share/doc/apache2-doc/manual/zh-cn/bind.html"), 0x0804u);
  EXPECT_EQ(sitios::idioma_de("/usr/share/doc/apache2-doc/manual/ko/bind.html"), 0x0412u);
  EXPECT_EQ(sitios::idioma_de("/usr/share/doc/python3.11/html/library/os.html"), 0x0409u);
  EXPECT_EQ(sitios::idioma_de("/usr/share/debian-reference/index.ja.html"), 0x0411u);
}

TEST(Seleccion, LaMuestraEsFijaYRecorreTodosLosGrupos) {
  std::vector<sitios::PaginaDeSitio> paginas;
  for (size_t i = 0; i < 100; ++i) paginas.push_back({"p" + std::to_string(1000 + i), 0, 0x0409});
  for (size_t i = 0; i < 3; ++i) paginas.push_back({"k" + std::to_string(i), 1, 0x0412});
  for (size_t i = 0; i < 40; ++i) paginas.push_back({"e" + std::to_string(100 + i), 1, 0x0C0A});

  const std::vector<sitios::PaginaDeSitio> m = sitios::muestra_de(paginas, 20);
  ASSERT_EQ(m.size(), 20u);
  size_t k = 0, es = 0;
  for (const sitios::PaginaDeSitio &p : m) {
    k += p.idioma == 0x0412;
    es += p.idioma == 0x0C0A;
  }
  EXPECT_EQ(k, 3u);  // a small group gives all it has, the others share the rest
  EXPECT_EQ(es, 8u);
  EXPECT_EQ(m.front().camino, "p1005");  // spread over the group, not its first pages
  const std::vector<sitios::PaginaDeSitio> otra = sitios::muestra_de(paginas, 20);
  for (size_t i = 0; i < m.size(); ++i) EXPECT_EQ(m[i].camino, otra[i].camino);
  EXPECT_EQ(sitios::muestra_de(paginas, 500).size(), paginas.size());
}

class PaginaEntera : public ::testing::Test {
 protected:
  void SetUp() override {
    carpeta_ = std::filesystem::temp_directory_path() /
               ("sitios_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(carpeta_);
    sitios::comprobacion_instala_receptor();
  }
  void TearDown() override { std::filesystem::remove_all(carpeta_); }
  std::string escribe(const std::string &nombre, const std::string &bytes) {
    const std::string camino = (carpeta_ / nombre).string();
    std::ofstream(camino, std::ios::binary) << bytes;
    return camino;
  }
  std::filesystem::path carpeta_;
};

TEST_F(PaginaEntera, UnaPaginaSanaPasaYSeCuenta) {
  const std::string camino = escribe(
      "sana.html",
      "<HTML><HEAD><TITLE>Caf\xE9</TITLE>\n<META NAME=\"DESCRIPTION\" CONTENT=\"Men\xFA\">"
      "</HEAD>\n<BODY>\n<P>Hola <B>mundo</B> &amp; 1 &lt; 2.</P>\n"
      "<P><IMG SRC=\"img/a.gif\" ALT=\"Logo\"> <A HREF=\"http://h/d\">Sitio</A>"
      " <a href=\"../x.html#s\">x</a> <a href=\"#arriba\">arriba</a></P>\n</BODY></HTML>\n");
  const sitios::ResultadoPagina r = sitios::pagina_comprueba(camino, 0x0C0A, carpeta_.string());
  for (const std::string &f : r.fallos) ADD_FAILURE() << f;
  EXPECT_FALSE(r.utf8);
  EXPECT_EQ(r.textos, 7u);
  EXPECT_EQ(r.en_tags, 2u);
  EXPECT_EQ(r.enlaces, 3u);
}

// What the real pages of tests/data seldom hold, in each of their languages: line ends of
// both kinds, tags in either case, letters of scripts that the code page lacks, inline
// tags shown as code, unquoted and empty ALT values, a TEXTAREA, scripts and styles with
// '<' and '>'.
TEST_F(PaginaEntera, UnaPaginaHechaEnLosIdiomasDelCorpus) {
  const std::string camino =
      escribe("hecha.html",
              "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n<html><HEAD>\r\n"
              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n"
              "<TITLE>Caf&eacute; \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E  &hellip;</TITLE>\r\n"
              "<META NAME=\"description\" CONTENT=\"R&amp;D \xED\x95\x9C\xEA\xB5\xAD &#8364;\">\r\n"
              "<meta name=\"Keywords\" content=\"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, "
              "&copy;\"><meta name=\"generator\" content=\"x\">\n"
              "<style>p > a { color: red; } /* <b> */</style>\n"
              "<script>if (a < b && c > d) { s = '</div>'; }\nfor (i = 0; i<n; i++) t += \"<p>\";"
              "</script>\n</HEAD><BODY bgcolor=\"#FFFFFF\">\n"
              "<P>&lt;B&gt;bold&lt;/B&gt; and &lt;br&gt;</P><P><b>live</b> &lt;b&gt; shown</P>\n"
              "<p>1 &lt; 2 &amp; x &gt; y, a&nbsp;&nbsp;b \xE2\x86\x92 &#x263A; <FONT color=red>"
              "\xCE\xB1\xCE\xB2</FONT><BR>\xC3\xBC"
              "ber <EM>em</EM> <U>u</U>\r\n"
              "<a href=\"a.html?x=1&amp;y=2\">enlace</a> <code>&lt;vector&gt;</code>\n"
              "<p><IMG ALT=Logo SRC=a.gif> <img src=\"x.png\" alt=\"\"> <img alt=\"Salto  "
              "\xE2\x80\x94 &nbsp;x\" src=i.png width=10> <IMG SRC=\"y.png\">\r\n"
              "<TABLE border=1><tr><td>celda <i>i</i><td>&nbsp;</TABLE>\n"
              "<dl><dt>t<dd>d</dl><pre>if (a &lt; b &amp;&amp; c)\r\n    return 1;</pre>\n"
              "<!-- comentario <p> --><form><textarea>a  b</textarea></form>\n"
              "<hr><A NAME=\"ancla\"></A>\n</BODY></html>\n");
  for (const uint32_t idioma : {0x0409u, 0x0C0Au, 0x0411u, 0x0419u, 0x0804u}) {
    SCOPED_TRACE(::testing::Message() << "language 0x" << std::hex << idioma);
    const sitios::ResultadoPagina r = sitios::pagina_comprueba(camino, idioma, carpeta_.string());
    for (const std::string &f : r.fallos) ADD_FAILURE() << f;
    EXPECT_EQ(r.en_tags, 5u);  // the empty ALT gives an empty text
    EXPECT_EQ(r.enlaces, 5u);
  }
}

TEST_F(PaginaEntera, UnFicheroQueNoSeLeeEsUnFallo) {
  const sitios::ResultadoPagina r =
      sitios::pagina_comprueba((carpeta_ / "no-esta.html").string(), 0x0409, carpeta_.string());
  EXPECT_FALSE(r.fallos.empty());
}

}  // namespace

namespace {

TEST(Conocidos, SoloElFalloListadoDeLaPaginaListada) {
  const std::string camino =
      (std::filesystem::temp_directory_path() / "sitios_conocidos_test.txt").string();
  std::ofstream(camino) << "# comment\n\nown texts\tmanual/en/filter.html\twhy\n";
  std::vector<sitios::FalloConocido> c;
  std::string error;
  ASSERT_TRUE(sitios::conocidos_lee(camino, &c, &error)) << error;
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0].motivo, "why");
  const std::string pagina = "/usr/share/doc/apache2-doc/manual/en/filter.html";
  EXPECT_EQ(sitios::conocido_de(c, pagina, "own texts: first difference"), &c[0]);
  EXPECT_EQ(sitios::conocido_de(c, pagina, "own texts2: x"), nullptr);
  EXPECT_EQ(sitios::conocido_de(c, pagina, "link round trip: x"), nullptr);
  EXPECT_EQ(sitios::conocido_de(c, "/x/manual/en/myfilter.html", "own texts: x"), nullptr);
  EXPECT_EQ(sitios::conocido_de(c, "/x/manual/es/filter.html", "own texts: x"), nullptr);

  std::ofstream(camino) << "own texts manual/en/filter.html\n";
  c.clear();
  EXPECT_FALSE(sitios::conocidos_lee(camino, &c, &error));
  EXPECT_NE(error.find(":1:"), std::string::npos);
  std::filesystem::remove(camino);
}

}  // namespace
