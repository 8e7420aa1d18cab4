// fidelidad.cpp - tests that a page comes back as its reader saw it: encodings, blanks, signs.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "comun/entorno_pruebas.h"

namespace {

using pruebas::a_lista;
using pruebas::a_vector;
using Textos = std::vector<std::string>;
constexpr uint32_t kEspanol = 0x0C0A, kCoreano = 0x0412, kRuso = 0x0419, kJapones = 0x0411;

using Fidelidad = pruebas::Entorno;

// Every page read and written back with its own texts comes back byte for byte, and the
// host is given each text as a reader sees it, in its own code page.
TEST_F(Fidelidad, CadaPaginaVuelveComoEraYSusTextosSonLosQueSeVen) {
  const std::string utf16_le("\xFF\xFE<\0p\0>\0a\0\xA0\0b\0<\0/\0p\0>\0", 22);
  std::string utf16_be = utf16_le;
  for (size_t i = 0; i < utf16_be.size(); i += 2) std::swap(utf16_be[i], utf16_be[i + 1]);
  // clang-format off
  const struct {
    const char *caso;
    std::string pagina;
    uint32_t idioma;
    Textos textos;
    std::string informe = "";
  } casos[] = {
      {.caso = "a UTF-8 byte order mark stays a mark",
       .pagina = "\xEF\xBB\xBF<!DOCTYPE html><title>T\xC3\xADtulo</title>", .idioma = kEspanol,
       .textos = {"T\xEDtulo"}},
      {.caso = "EUC-KR read by a Korean host",
       .pagina = "<meta charset=euc-kr><title>suEXEC \xC1\xF6\xBF\xF8</title>", .idioma = kCoreano,
       .textos = {"suEXEC \xC1\xF6\xBF\xF8"}},
      {.caso = "EUC-KR read by a Western host",
       .pagina = "<meta charset=euc-kr><p>\xC1\xF6 &aacute;</p>", .idioma = kEspanol,
       .textos = {"&#51648; \xE1"}, .informe = "strchr(texto, '&')==NULL"},
      {.caso = "ISO-8859-1 is windows-1252",
       .pagina = "<meta http-equiv=Content-Type content=\"text/html; charset=ISO-8859-1\">"
           "<p>Versi\xF3n &eacute; \x80</p>", .idioma = kEspanol, .textos = {"Versi\xF3n \xE9 \x80"}},
      {.caso = "KOI8-R to a Cyrillic code page",
       .pagina = "<meta charset=koi8-r><p>\xED\xC9\xD2</p>", .idioma = kRuso,
       .textos = {"\xCC\xE8\xF0"}},
      {.caso = "Shift_JIS, whose trail bytes include letters",
       .pagina = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><p>\x83\x41\x93\xFA</p>",
       .idioma = kJapones, .textos = {"\x83\x41\x93\xFA"}},
      {.caso = "undeclared, not UTF-8: the language's code page", .pagina = "<p>caf\xE9</p>",
       .idioma = kEspanol, .textos = {"caf\xE9"}},
      {.caso = "UTF-16LE with its mark", .pagina = utf16_le, .idioma = kEspanol,
       .textos = {"a\xA0" "b"}},
      {.caso = "UTF-16BE with its mark", .pagina = utf16_be, .idioma = kEspanol,
       .textos = {"a\xA0" "b"}},
      {.caso = "a byte not valid in UTF-8 stays that byte",
       .pagina = "<meta charset=utf-8><p>a\xE9 b</p>", .idioma = kEspanol, .textos = {"a\xE9 b"},
       .informe = "the page's texts hold 1 byte sequences not valid in UTF-8"},
      {.caso = "preformatted text keeps every blank",
       .pagina = "<PRE>foo tty1\n\nfoo login:  <b>x</b>\n\tdone</PRE><p>a b</p>",
       .idioma = kEspanol, .textos = {"foo tty1\n\nfoo login:  <b>x</b>\n\tdone", "a b"}},
      {.caso = "LISTING too, nested or not",
       .pagina = "<listing> a  b <pre>c  d</pre> e  f </listing>g  h", .idioma = kEspanol,
       .textos = {"a  b ", "c  d", "e  f "}},
      {.caso = "a no-break space in each of its forms",
       .pagina = "<p>Secci\xC3\xB3n&nbsp;1 &#160;2&#xA0;3 \xC2\xA0" "4</p>", .idioma = kEspanol,
       .textos = {"Secci\xF3n\xA0" "1 \xA0" "2\xA0" "3 \xA0" "4"}},
      {.caso = "a code page without a no-break space keeps it as &nbsp;",
       .pagina = "<p>a&nbsp;b\xC2\xA0" "c</p>", .idioma = kJapones, .textos = {"a&nbsp;b&nbsp;c"}},
      {.caso = "a quoted '>' and a quote that never closes",
       .pagina = "<p>a <b title='x>y'>b</b><img alt=\"1 > 0\"></p><i title=\"x>y<p>c</p>",
       .idioma = kEspanol, .textos = {"a <b title='x>y'>b", "1 > 0", "y", "c"}},
      {.caso = "XMP and PLAINTEXT are raw text, TEXTAREA has references",
       .pagina = "<xmp> a<b>&lt; </xmp><textarea>x<i>&lt;</textarea><plaintext>\n<p>&amp;",
       .idioma = kEspanol, .textos = {"a<b>&lt; ", "x<i><", "<p>&amp;"}},
      {.caso = "references a browser reads without their ';' stay references",
       .pagina = "<p>a&nbsp b &copy 1998 &#233</p>", .idioma = kEspanol,
       .textos = {"a&nbsp b &copy 1998 &#233"}, .informe = "strchr(texto, '&')==NULL"},
      {.caso = "NUL bytes are read and kept",
       .pagina = std::string("<p>a\0b</p>\0<p>and what follows them, a few bytes more</p>\0", 58),
       .idioma = kEspanol, .textos = {"ab", "and what follows them, a few bytes more"},
       .informe = "memchr(texto, '\\0', longitud) == NULL"},
  };
  // clang-format on
  for (const auto &caso : casos) {
    SCOPED_TRACE(caso.caso);
    olvida_informes();
    EXPECT_EQ(textos_de(caso.pagina, caso.idioma), caso.textos);
    EXPECT_EQ(reconstruye(caso.pagina, caso.idioma), caso.pagina);
    std::string informados;
    for (const auto &i : informes()) informados += i.condicion;
    EXPECT_EQ(informados, caso.informe.empty() ? "" : caso.informe + caso.informe);
  }
}

// A translation goes back in the page's own encoding, with references for what it lacks,
// escaped as its element asks.
TEST_F(Fidelidad, TraduccionesEnLaCodificacionDeLaPagina) {
  // clang-format off
  const struct {
    const char *caso;
    std::string pagina;
    uint32_t idioma;
    Textos traducidos;
    uint32_t idioma_destino = 0;
    std::string escrita;
  } casos[] = {
      {.caso = "EUC-KR: Korean goes back as EUC-KR",
       .pagina = "<meta charset=euc-kr><title>suEXEC</title>", .idioma = kEspanol,
       .traducidos = {"suEXEC \xC1\xF6\xBF\xF8"}, .idioma_destino = kCoreano,
       .escrita = "<meta charset=euc-kr><title>suEXEC \xC1\xF6\xBF\xF8</title>"},
      {.caso = "Latin-1 in Latin-1, not UTF-8",
       .pagina = "<meta charset=iso-8859-1><p>Version</p><img alt=x>", .idioma = kEspanol,
       .traducidos = {"Versi\xF3n \x80", "\xE1"},
       .escrita = "<meta charset=iso-8859-1><p>Versi\xF3n \x80</p><img alt=\"\xE1\">"},
      {.caso = "what KOI8-R lacks becomes a reference", .pagina = "<meta charset=koi8-r><p>x</p>",
       .idioma = kRuso, .traducidos = {"\xCC\xE8\xF0 \x88"},
       .escrita = "<meta charset=koi8-r><p>\xED\xC9\xD2 &#8364;</p>"},
      {.caso = "UTF-16 in UTF-16, with its mark",
       .pagina = std::string("\xFF\xFE<\0p\0>\0a\0<\0/\0p\0>\0", 18), .idioma = kEspanol,
       .traducidos = {"\xF1<"},
       .escrita = std::string("\xFF\xFE<\0p\0>\0\xF1\0&\0l\0t\0;\0<\0/\0p\0>\0", 26)},
      {.caso = "a bare '&' is escaped, a reference kept", .pagina = "<p>x</p><img alt=y>",
       .idioma = kEspanol, .traducidos = {"AT&T &eacute; &#233; & ;", "a&b"},
       .escrita = "<p>AT&amp;T &eacute; &#233; &amp; ;</p><img alt=\"a&amp;b\">"},
      {.caso = "a translated no-break space is an entity", .pagina = "<p>x</p>", .idioma = kEspanol,
       .traducidos = {"1\xA0" "2"}, .escrita = "<p>1&nbsp;2</p>"},
      {.caso = "preformatted translations keep their blanks, spaces and all",
       .pagina = "<pre>a</pre>", .idioma = kEspanol, .traducidos = {"x  y\n\tz"},
       .escrita = "<pre>x  y\n\tz</pre>"},
      {.caso = "nothing in a TEXTAREA is markup", .pagina = "<textarea>a</textarea>",
       .idioma = kEspanol, .traducidos = {"<b>x</b> & </textarea>"},
       .escrita = "<textarea>&lt;b&gt;x&lt;/b&gt; &amp; &lt;/textarea&gt;</textarea>"},
      {.caso = "XMP is raw text but for its end tag", .pagina = "<xmp>a</xmp>", .idioma = kEspanol,
       .traducidos = {"<b>&amp; </XMP>"}, .escrita = "<xmp><b>&amp; &lt;/XMP></xmp>"},
      {.caso = "a single-quoted value goes back between its quotes, both kinds escaped",
       .pagina = "<img alt='a b' src='c d'>", .idioma = kEspanol, .traducidos = {"it's \"x\""},
       .escrita = "<img alt='it&#39;s &quot;x&quot;' src='c d'>"},
      {.caso = "a text holding a NUL is never translated",
       .pagina = std::string("<p>a\0b, and words enough for a page</p>", 40),
       .idioma = kEspanol, .traducidos = {"xyz"},
       .escrita = std::string("<p>a\0b, and words enough for a page</p>", 40)},
  };
  // clang-format on
  for (const auto &caso : casos) {
    SCOPED_TRACE(caso.caso);
    EXPECT_EQ(reconstruye(caso.pagina, caso.idioma,
                          {.traducidos = caso.traducidos, .destino = caso.idioma_destino}),
              caso.escrita);
  }
}

// With the UTF-8 output chosen, the page is written in UTF-8 and says so: its declaration
// updated, or one added; the choice is the calling thread's.
TEST_F(Fidelidad, SalidaEnUtf8DeclaraUtf8) {
  // clang-format off
  const struct {
    const char *caso;
    std::string pagina;
    uint32_t idioma;
    Textos traducidos;
    std::string escrita;
  } casos[] = {
      {.caso = "a declared legacy page",
       .pagina = "<?xml version=\"1.0\" encoding=\"koi8-r\"?><html><head>"
           "<meta http-equiv=Content-Type content='text/html; charset=koi8-r'></head>"
           "<p>\xED\xC9\xD2</p>", .idioma = kRuso, .traducidos = {"\xCC\xE8\xF0 \x88"},
       .escrita = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html><head>"
           "<meta http-equiv=Content-Type content='text/html; charset=UTF-8'></head>"
           "<p>\xD0\x9C\xD0\xB8\xD1\x80 \xE2\x82\xAC</p>"},
      {.caso = "an undeclared legacy page",
       .pagina = "<!DOCTYPE html>\n<HTML><HEAD lang=es><TITLE>caf\xE9</TITLE></HEAD>",
       .idioma = kEspanol, .traducidos = {},
       .escrita = "<!DOCTYPE html>\n<HTML><HEAD lang=es><meta charset=\"UTF-8\"><TITLE>"
           "caf\xC3\xA9</TITLE></HEAD>"},
      {.caso = "a UTF-16 page", .pagina = std::string("\xFF\xFE<\0p\0>\0a\0", 10),
       .idioma = kEspanol, .traducidos = {}, .escrita = "\xEF\xBB\xBF<meta charset=\"UTF-8\"><p>a"},
  };
  // clang-format on
  opciones_pon_salida_utf8(CIERTO);
  for (const auto &caso : casos) {
    SCOPED_TRACE(caso.caso);
    EXPECT_EQ(reconstruye(caso.pagina, caso.idioma, {.traducidos = caso.traducidos}), caso.escrita);
  }
  opciones_pon_salida_utf8(FALSO);
  EXPECT_EQ(reconstruye(casos[0].pagina, kRuso), casos[0].pagina);
}

// An XHTML page that parsed as XML parses as XML once written back, with translations
// that hold '&', '<' and no-break spaces (xmllint, from libxml2-utils, judges).
TEST_F(Fidelidad, XhtmlSigueSiendoXml) {
  const std::string pagina =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>T &amp; U</title>"
      "<meta name=\"description\" content=\"d\"/></head>"
      "<body><p>a&#160;b <b>c</b></p><pre>  x\n  y</pre><p>z</p><img alt=\"i\" src=\"s\"/>"
      "</body></html>\n";
  const std::string xml = escribe("original.xhtml", pagina);
  ASSERT_EQ(std::system(("xmllint --noout " + xml + " 2>/dev/null").c_str()), 0)
      << "xmllint is libxml2-utils'";
  const std::pair<const char *, Textos> pasadas[] = {
      {"own texts", {}},
      {"translated",
       {"T & U < V", "d & \"e\"",
        "a\xA0"
        "b & <b>c",
        "  1 < 2\n", "&", "i<"}},
  };
  for (const auto &[caso, traducidos] : pasadas) {
    SCOPED_TRACE(caso);
    const std::string escrita = reconstruye(pagina, kEspanol, {.traducidos = traducidos});
    const std::string ruta_escrita = escribe("escrita.xhtml", escrita);
    EXPECT_EQ(std::system(("xmllint --noout " + ruta_escrita).c_str()), 0) << escrita;
    EXPECT_EQ(escrita == pagina, traducidos.empty());
  }
}

// What the host must know of a page it cannot have as text is reported, with the reason;
// the page goes back as it came.
TEST_F(Fidelidad, LoQueNoSeLeeSeInformaYSeGuarda) {
  // clang-format off
  const struct {
    const char *caso;
    std::string pagina;
    uint32_t idioma;
    std::string informe;
  } casos[] = {
      {.caso = "binary data", .pagina = std::string("\x01\x02\x03\x04<p>a</p>\x05\x06\x07", 15),
       .idioma = kEspanol, .informe = "the page cannot be read as text"},
      {.caso = "UTF-16 without its mark", .pagina = std::string("<\0p\0>\0a\0<\0/\0p\0>\0", 16),
       .idioma = kEspanol, .informe = "the page cannot be read as text"},
      {.caso = "an encoding browsers never read", .pagina = "<meta charset=iso-2022-kr><p>a</p>",
       .idioma = kEspanol, .informe = "the page cannot be read as text"},
      {.caso = "an unknown language", .pagina = "<p>a</p>", .idioma = 0x7FFF,
       .informe = "conv_idioma_conocido(idioma) == CIERTO"},
  };
  // clang-format on
  for (const auto &caso : casos) {
    SCOPED_TRACE(caso.caso);
    olvida_informes();
    EXPECT_EQ(reconstruye(caso.pagina, caso.idioma), caso.pagina);
    ASSERT_FALSE(informes().empty());
    EXPECT_EQ(informes()[0].condicion.rfind(caso.informe, 0), 0u) << informes()[0].condicion;
  }
}

}  // namespace
