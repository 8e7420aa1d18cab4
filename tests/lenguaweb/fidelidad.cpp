// fidelidad.cpp - tests that a page comes back as its reader saw it: encodings, blanks, signs.
#include <cstdlib>
#include <string>

#include "rondas.h"

namespace pruebas {
namespace {

using Fidelidad = Paginas;

const std::string kUtf16("\xFF\xFE<\0p\0>\0a\0\xA0\0b\0<\0/\0p\0>\0", 22);

std::string al_reves(std::string utf16) {
  for (size_t i = 0; i + 1 < utf16.size(); i += 2) std::swap(utf16[i], utf16[i + 1]);
  return utf16;
}

const char *const kKoi8 =
    "<?xml version=\"1.0\" encoding=\"koi8-r\"?><html><head>"
    "<meta http-equiv=Content-Type content='text/html; charset=koi8-r'></head><p>\xED\xC9\xD2</p>";

// Every page read and written back with its own texts comes back byte for byte, and the
// host is given each text as a reader sees it, in its own code page. What the host cannot
// have as text is reported, with the reason, and the page goes back as it came.
TEST_F(Fidelidad, CadaPaginaVuelveComoEraEnSuCodificacion) {
  const std::string binaria("\x01\x02\x03\x04<p>a</p>\x05\x06\x07", 15);
  // What stands before a declaration near the end of the prescan's 1024 bytes, and a title
  // long enough to push it out.
  const std::string relleno = "<!-- " + std::string(900, 'x') + " -->", largo(100, 'T');
  const std::string ilegible = "the page cannot be read as text, and is kept as it is: ";
  const std::string control = ilegible +
                              "more than one byte in 16 of its first 1024 is a control character: "
                              "binary data, or UTF-16 without a byte order mark";
  // clang-format off
  const CasoPagina casos[] = {
      {.pagina = "\xEF\xBB\xBF<!DOCTYPE html><title>T\xC3\xADtulo</title>", .caso = "a UTF-8 byte order mark stays a mark",
       .textos = "T\xEDtulo", .tipos = {TIPO_TITULO}, .vuelve = true},
      {.pagina = "<meta charset=euc-kr><title>suEXEC \xC1\xF6\xBF\xF8</title>", .caso = "EUC-KR read by a Korean host",
       .idioma = kCoreano, .textos = "suEXEC \xC1\xF6\xBF\xF8", .tipos = {TIPO_TITULO}, .vuelve = true},
      {.pagina = "<meta charset=euc-kr><p>\xC1\xF6 &aacute;</p>", .caso = "EUC-KR read by a Western host",
       .textos = "&#51648; \xE1", .vuelve = true, .informe = "strchr(texto, '&')==NULL"},
      {.pagina = "<meta http-equiv=Content-Type content=\"text/html; charset=ISO-8859-1\"><p>Versi\xF3n &eacute; \x80</p>",
       .caso = "ISO-8859-1 is windows-1252", .textos = "Versi\xF3n \xE9 \x80", .vuelve = true},
      {.pagina = "<meta charset=koi8-r><p>\xED\xC9\xD2</p>", .caso = "KOI8-R to a Cyrillic code page", .idioma = kRuso,
       .textos = "\xCC\xE8\xF0", .vuelve = true},
      {.pagina = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><p>\x83\x41\x93\xFA</p>",
       .caso = "Shift_JIS, whose trail bytes include letters", .idioma = kJapones, .textos = "\x83\x41\x93\xFA", .vuelve = true},
      {.pagina = "<p>caf\xE9</p>", .caso = "undeclared, not UTF-8: the language's code page", .textos = "caf\xE9", .vuelve = true},
      {.pagina = kUtf16, .caso = "UTF-16LE with its mark", .textos = "a\xA0" "b", .vuelve = true},
      {.pagina = al_reves(kUtf16), .caso = "UTF-16BE with its mark", .textos = "a\xA0" "b", .vuelve = true},
      {.pagina = "<meta charset=utf-8><p>a\xE9 b</p>", .caso = "a byte not valid in UTF-8 stays that byte",
       .textos = "a\xE9 b", .vuelve = true, .informe = "the page's texts hold 1 byte sequences not valid in UTF-8"},
      {.pagina = "<PRE>foo tty1\n\nfoo login:  <b>x</b>\n\tdone</PRE><p>a b</p>", .caso = "preformatted text keeps every blank",
       .textos = "foo tty1\n\nfoo login:  <b>x</b>\n\tdone|a b", .vuelve = true},
      {.pagina = "<listing> a  b <pre>c  d</pre> e  f </listing>g  h", .caso = "LISTING too, nested or not",
       .textos = "a  b |c  d|e  f ", .vuelve = true},
      {.pagina = "<p>Secci\xC3\xB3n&nbsp;1 &#160;2&#xA0;3 \xC2\xA0" "4</p>", .caso = "a no-break space in each of its forms",
       .textos = "Secci\xF3n\xA0" "1 \xA0" "2\xA0" "3 \xA0" "4", .vuelve = true},
      {.pagina = "<p>a&nbsp;b\xC2\xA0" "c</p>", .caso = "a code page without a no-break space keeps it as &nbsp;",
       .idioma = kJapones, .textos = "a&nbsp;b&nbsp;c", .vuelve = true},
      {.pagina = "<p>a <b title='x>y'>b</b><img alt=\"1 > 0\"></p><i title=\"x>y<p>c</p>",
       .caso = "a quoted '>' and a quote that never closes", .textos = "a <b title='x>y'>b|1 > 0|y|c",
       .tipos = {TIPO_TEXTO, TIPO_ALTERNATIVO_IMAGEN, TIPO_TEXTO, TIPO_TEXTO}, .vuelve = true},
      {.pagina = "<xmp> a<b>&lt; </xmp><textarea>x<i>&lt;</textarea><plaintext>\n<p>&amp;",
       .caso = "XMP and PLAINTEXT are raw text, TEXTAREA has references", .textos = "a<b>&lt; |x<i><|<p>&amp;", .vuelve = true},
      {.pagina = "<p>a&nbsp b &copy 1998 &#233</p>", .caso = "references a browser reads without their ';' stay references",
       .textos = "a&nbsp b &copy 1998 &#233", .vuelve = true, .informe = "strchr(texto, '&')==NULL"},
      {.pagina = std::string("<p>a\0b</p>\0<p>and what follows them, a few bytes more</p>\0", 58),
       .caso = "NUL bytes are read and kept", .textos = "ab|and what follows them, a few bytes more", .vuelve = true,
       .informe = "memchr(texto, '\\0', longitud) == NULL"},
      {.pagina = binaria, .caso = "binary data", .textos = "", .vuelve = true, .informe = control},
      {.pagina = std::string("<\0p\0>\0a\0<\0/\0p\0>\0", 16), .caso = "UTF-16 without its mark", .textos = "",
       .vuelve = true, .informe = control},
      {.pagina = "<meta charset=iso-2022-kr><p>a</p>", .caso = "an encoding browsers never read", .textos = "",
       .vuelve = true, .informe = ilegible + "it declares an encoding that browsers never read (ISO-2022-KR, HZ, ISO-2022-CN)"},
      {.pagina = "<p>a</p>", .caso = "an unknown language, on reading and on writing", .idioma = 0x7FFF, .vuelve = true,
       .informe = "conv_idioma_conocido(idioma) == CIERTOconv_idioma_conocido(idioma) == CIERTO"},
      {.pagina = kKoi8, .caso = "a declared legacy page, its own language", .idioma = kRuso, .vuelve = true},
      // A translation goes back in the page's own encoding, with references for what it
      // lacks, escaped as its element asks. With the UTF-8 output chosen, the page is
      // written in UTF-8 and says so: its declaration updated, or one added.
      {.pagina = "<meta charset=euc-kr><title>suEXEC</title>", .caso = "EUC-KR: Korean goes back as EUC-KR",
       .traducidos = {"suEXEC \xC1\xF6\xBF\xF8"}, .destino = kCoreano,
       .escrita = "<meta charset=euc-kr><title>suEXEC \xC1\xF6\xBF\xF8</title>"},
      {.pagina = "<meta charset=iso-8859-1><p>Version</p><img alt=x>", .caso = "Latin-1 in Latin-1, not UTF-8",
       .traducidos = {"Versi\xF3n \x80", "\xE1"}, .escrita = "<meta charset=iso-8859-1><p>Versi\xF3n \x80</p><img alt=\"\xE1\">"},
      {.pagina = "<meta charset=koi8-r><p>x</p>", .caso = "what KOI8-R lacks becomes a reference", .idioma = kRuso,
       .traducidos = {"\xCC\xE8\xF0 \x88"}, .escrita = "<meta charset=koi8-r><p>\xED\xC9\xD2 &#8364;</p>"},
      {.pagina = std::string("\xFF\xFE<\0p\0>\0a\0<\0/\0p\0>\0", 18), .caso = "UTF-16 in UTF-16, with its mark",
       .traducidos = {"\xF1<"}, .escrita = std::string("\xFF\xFE<\0p\0>\0\xF1\0&\0l\0t\0;\0<\0/\0p\0>\0", 26)},
      {.pagina = "<p>x</p><img alt=y>", .caso = "a bare '&' is escaped, a reference kept",
       .traducidos = {"AT&T &eacute; &#233; & ;", "a&b"}, .escrita = "<p>AT&amp;T &eacute; &#233; &amp; ;</p><img alt=\"a&amp;b\">"},
      {.pagina = "<p>x</p>", .caso = "a translated no-break space is an entity", .traducidos = {"1\xA0" "2"},
       .escrita = "<p>1&nbsp;2</p>"},
      {.pagina = "<pre>a</pre>", .caso = "preformatted translations keep their blanks, spaces and all",
       .traducidos = {"x  y\n\tz"}, .escrita = "<pre>x  y\n\tz</pre>"},
      {.pagina = "<textarea>a</textarea>", .caso = "nothing in a TEXTAREA is markup", .traducidos = {"<b>x</b> & </textarea>"},
       .escrita = "<textarea>&lt;b&gt;x&lt;/b&gt; &amp; &lt;/textarea&gt;</textarea>"},
      {.pagina = "<xmp>a</xmp>", .caso = "XMP is raw text but for its end tag", .traducidos = {"<b>&amp; </XMP>"},
       .escrita = "<xmp><b>&amp; &lt;/XMP></xmp>"},
      {.pagina = "<img alt='a b' src='c d'>", .caso = "a single-quoted value goes back between its quotes, both kinds escaped",
       .traducidos = {"it's \"x\""}, .escrita = "<img alt='it&#39;s &quot;x&quot;' src='c d'>"},
      {.pagina = std::string("<p>a\0b, and words enough for a page</p>", 40), .caso = "a text holding a NUL is never translated",
       .traducidos = {"xyz"}, .escrita = std::string("<p>a\0b, and words enough for a page</p>", 40),
       .informe = "memchr(texto, '\\0', longitud) == NULL"},
      {.pagina = "\f</p><p>x</p>", .caso = "a form feed alone, which a browser shows as nothing, is never translated: "
           "before the first element a text would make the stray </p> a P", .traducidos = {"F", "X"},
       .escrita = "\f</p><p>X</p>"},
      {.pagina = std::string("<xmp>\0a, and words enough for a page</xmp>", 43),
       .caso = "a NUL before an XMP's text begins no text there", .traducidos = {"xyz"},
       .escrita = std::string("<xmp>\0xyz</xmp>", 16)},
      {.pagina = kKoi8, .caso = "UTF-8 output: a declared legacy page", .idioma = kRuso, .traducidos = {"\xCC\xE8\xF0 \x88"},
       .utf8 = true, .escrita = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html><head>"
           "<meta http-equiv=Content-Type content='text/html; charset=UTF-8'></head><p>\xD0\x9C\xD0\xB8\xD1\x80 \xE2\x82\xAC</p>"},
      {.pagina = "<!DOCTYPE html>\n<HTML><HEAD lang=es><TITLE>caf\xE9</TITLE></HEAD>", .caso = "UTF-8 output: an undeclared legacy page",
       .utf8 = true, .escrita = "<!DOCTYPE html>\n<HTML><HEAD lang=es><meta charset=\"UTF-8\"><TITLE>caf\xC3\xA9</TITLE></HEAD>"},
      {.pagina = std::string("\xFF\xFE<\0p\0>\0a\0", 10), .caso = "UTF-8 output: a UTF-16 page", .utf8 = true,
       .escrita = "\xEF\xBB\xBF<meta charset=\"UTF-8\"><p>a"},
      {.pagina = "<html><head><title>t</title>" + relleno + "<meta charset=\"utf-8\"><p>x</p>",
       .caso = "a translation that pushes the declaration past the prescan's 1024 bytes brings one after HEAD",
       .traducidos = {largo, "X"},
       .escrita = "<html><head><meta charset=\"UTF-8\"><title>" + largo + "</title>" + relleno + "<meta charset=\"utf-8\"><p>X</p>"},
      {.pagina = "<!DOCTYPE html><title>t</title>" + relleno + "<head><meta charset=windows-1251><p>x</p>",
       .caso = "with HEAD out of reach too, before the first element", .idioma = kRuso, .traducidos = {largo, "\xCC\xE8\xF0"},
       .escrita = "<!DOCTYPE html><meta charset=\"windows-1251\"><title>" + largo + "</title>" + relleno +
           "<head><meta charset=windows-1251><p>\xCC\xE8\xF0</p>"},
      {.pagina = "<html><head><title>t</title>" + relleno + "<meta charset=\"utf-8\"><p>x</p>",
       .caso = "a declaration still in reach is the page's own", .traducidos = {"T", "X"},
       .escrita = "<html><head><title>T</title>" + relleno + "<meta charset=\"utf-8\"><p>X</p>"},
      {.pagina = "a<head><title>t</title>" + relleno + "<meta charset=\"utf-8\"><p>x</p>",
       .caso = "a HEAD after the body has begun is ignored: the META goes before the first element, not into the body",
       .traducidos = {"a", largo, "X"},
       .escrita = "<meta charset=\"UTF-8\">a<head><title>" + largo + "</title>" + relleno + "<meta charset=\"utf-8\"><p>X</p>"},
      {.pagina = "<html><title>t</title><head data-x=\"a>b" + std::string(950, 'z') + "\"><meta charset=utf-8><p>x</p>",
       .caso = "a HEAD start tag that runs out of reach is read to its end, not to a '>' in its value",
       .traducidos = {largo, "X"},
       .escrita = "<meta charset=\"UTF-8\"><html><title>" + largo + "</title><head data-x=\"a>b" + std::string(950, 'z') +
           "\"><meta charset=utf-8><p>X</p>"},
      {.pagina = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><title>t</title>" + relleno + "<head><meta charset=\"utf-8\" /></head>",
       .caso = "XHTML with HEAD out of reach: a byte order mark, as nothing may stand before its root",
       .traducidos = {largo}, .escrita = "\xEF\xBB\xBF<html xmlns=\"http://www.w3.org/1999/xhtml\"><title>" + largo + "</title>" +
           relleno + "<head><meta charset=\"utf-8\" /></head>"},
      {.pagina = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><title>t</title>" + relleno + "<head><meta charset=windows-1251 /></head><p>x</p>",
       .caso = "XHTML in a code page with HEAD out of reach: a META inside its HTML root, where it stays XML", .idioma = kRuso,
       .traducidos = {largo, "\xCC\xE8\xF0"},
       .escrita = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><meta charset=\"windows-1251\" /><title>" + largo + "</title>" +
           relleno + "<head><meta charset=windows-1251 /></head><p>\xCC\xE8\xF0</p>"},
      {.pagina = "<?xml version=\"1.0\"?>a<title>t</title>" + relleno + "<meta charset=windows-1251><p>x</p>",
       .caso = "XHTML whose text comes before any element: the META before it, as the page is no XML there anyway", .idioma = kRuso,
       .traducidos = {"a", largo, "\xCC\xE8\xF0"},
       .escrita = "<?xml version=\"1.0\"?><meta charset=\"windows-1251\" />a<title>" + largo + "</title>" + relleno +
           "<meta charset=windows-1251><p>\xCC\xE8\xF0</p>"},
      {.pagina = "<html><head><title>t</title></head><p>x &eacute;</p>",
       .caso = "an undeclared ASCII page, which a reader may take for any code page, says so once a translation brings UTF-8",
       .traducidos = {"caf\xE9", "x &eacute;"}, .escrita = "<html><head><meta charset=\"UTF-8\"><title>caf\xC3\xA9</title></head><p>x &eacute;</p>"},
      {.pagina = "<p>a &eacute;</p>", .caso = "UTF-8 output: an undeclared page read as UTF-8", .utf8 = true,
       .escrita = "<meta charset=\"UTF-8\"><p>a \xC3\xA9</p>"},
      {.pagina = "<!-- " + std::string(1100, 'x') + " -->\n<html><head><title>caf\xE9</title></head>",
       .caso = "UTF-8 output where no declaration can stand in reach: a byte order mark", .utf8 = true,
       .escrita = "\xEF\xBB\xBF<!-- " + std::string(1100, 'x') + " -->\n<html><head><meta charset=\"UTF-8\"><title>caf\xC3\xA9</title></head>"},
  };
  // clang-format on
  comprueba(casos);
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
  // clang-format off
  for (const Textos &traducidos : {Textos{}, {"T & U < V", "d & \"e\"", "a\xA0" "b & <b>c", "  1 < 2\n", "&", "i<"}}) {
    // clang-format on
    const std::string escrita = reconstruye(pagina, kEspanol, {.traducidos = traducidos});
    EXPECT_EQ(std::system(("xmllint --noout " + escribe("escrita.xhtml", escrita)).c_str()), 0)
        << escrita;
    EXPECT_EQ(escrita == pagina, traducidos.empty());
  }
}

}  // namespace
}  // namespace pruebas
