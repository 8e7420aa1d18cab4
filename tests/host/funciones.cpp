// funciones.cpp - tests of the command's own functions: markup protection, LANGIDs, PO entries.
#include <string>
#include <vector>

#include "argumentos.h"
#include "comun/entorno_pruebas.h"
#include "po.h"
#include "pseudo.h"

namespace {

using Textos = std::vector<std::string>;

class Funciones : public pruebas::Entorno {};

TEST_F(Funciones, ProtegeMarcadoYLoRestaura) {
  struct Caso {
    const char *texto;
    const char *protegido;
    Textos piezas;
  };
  const std::vector<Caso> casos = {
      {"Hello <B>world</B>", "Hello {0}world{1}", {"<B>", "</B>"}},
      {"a <font color=red>b</FONT><br>", "a {0}b{1}{2}", {"<font color=red>", "</FONT>", "<br>"}},
      // Only the inline tags stay markup; the library escapes any other '<'.
      {"x <script>y</script> <BR/> <P>", "x <script>y</script> <BR/> <P>", {}},
      {"a < b <B>c", "a < b {0}c", {"<B>"}},
      {"&amp; &#225;&#x41; &Eacute;", "{0} {1}{2} {3}", {"&amp;", "&#225;", "&#x41;", "&Eacute;"}},
      {"& &; &#; &#x; &amp &a-b;", "& &; &#; &#x; &amp &a-b;", {}},
      {"{0} }{", "{0}0{1} {2}{3}", {"{", "}", "}", "{"}},
      {"", "", {}},
  };
  for (const Caso &caso : casos) {
    SCOPED_TRACE(caso.texto);
    const TextoProtegido p = pseudo_protege(caso.texto);
    EXPECT_EQ(p.texto, caso.protegido);
    EXPECT_EQ(p.piezas, caso.piezas);
    EXPECT_EQ(pseudo_restaura(p.texto, p.piezas), caso.texto);
  }
  // Groups the table lacks, and braces that are no group, stay as they are.
  EXPECT_EQ(pseudo_restaura("{1}{x}{}{0", {"<B>"}), "{1}{x}{}{0");
  EXPECT_EQ(pseudo_restaura("{99999999999999999999}", {"<B>"}), "{99999999999999999999}");
}

TEST_F(Funciones, LaPseudotraduccionNoRompeMarcado) {
  lista_cad_t *textos = pruebas::a_lista({"Hi <B>you</B> &amp; {x}", "\xE1rbol", ""});
  lista_cad_t *ids = pruebas::a_lista({"TEXTO_0", "TEXTO_1", "TEXTO_2"});
  std::vector<std::string> mensajes;
  lista_cad_t *r = pseudo_traduce(textos, ids, 0x0409, 0x0419, &mensajes);
  // Windows-1251 lacks the accented vowels: they go out as character references.
  EXPECT_EQ(pruebas::a_vector(r),
            (Textos{"[H&#237; ]<B>[y&#243;&#250;]</B> &amp; {[x]}", "[&#225;rb&#243;l]", ""}));
  EXPECT_TRUE(mensajes.empty());
  lista_cad_destruye(&r);
  lista_cad_destruye(&textos);
  lista_cad_destruye(&ids);
}

TEST_F(Funciones, IdentificadoresDeIdioma) {
  EXPECT_EQ(argumentos_lee_idioma("0x0409"), 0x0409u);
  EXPECT_EQ(argumentos_lee_idioma("0XfFfF"), 0xFFFFu);
  EXPECT_EQ(argumentos_lee_idioma("3082"), 3082u);
  EXPECT_EQ(argumentos_lee_idioma("0"), 0u);
  EXPECT_EQ(argumentos_lee_idioma("65535"), 0xFFFFu);
  for (const char *malo : {"", "0x", "65536", "0x10000", "-1", "+5", " 5", "5 ", "12a", "0x1g",
                           "99999999999999999999", "0b1"}) {
    SCOPED_TRACE(malo);
    EXPECT_FALSE(argumentos_lee_idioma(malo).has_value());
  }
  EXPECT_EQ(argumentos_nombre_idioma(0x0C0A), "es_ES");
  EXPECT_EQ(argumentos_nombre_idioma(0x4C0A), "es");  // a sublanguage the table lacks
  EXPECT_EQ(argumentos_nombre_idioma(0x0000), "und");
  EXPECT_EQ(argumentos_escribe_idioma(0x419), "0x0419");
}

TEST_F(Funciones, EntradasUnicasYSinBlancos) {
  lista_cad_t *textos = pruebas::a_lista({"T", "D", "Hola", " ", "T", "", "Hola", "D"});
  lista_cad_t *ids = pruebas::a_lista({"TITULO", "DESCRIPCION", "TEXTO_2", "TEXTO_3", "TITULO",
                                       "ALTERNATIVO_IMAGEN_5", "TEXTO_6", "DESCRIPCION"});
  const std::vector<EntradaPo> e = po_entradas_de_pagina(textos, ids, 0x0409);
  Textos contextos;
  std::vector<uint32_t> indices;
  for (const EntradaPo &entrada : e) {
    contextos.push_back(entrada.contexto);
    indices.push_back(entrada.indice);
  }
  EXPECT_EQ(contextos,
            (Textos{"TITULO", "DESCRIPCION", "TEXTO_2", "TITULO#2", "TEXTO_6", "DESCRIPCION#2"}));
  EXPECT_EQ(indices, (std::vector<uint32_t>{0, 1, 2, 4, 6, 7}));

  // The first entry that differs is named, whatever differs.
  std::vector<EntradaPo> otra = e;
  EXPECT_EQ(po_compara(e, otra), "");
  otra[3].texto.push_back('X');
  EXPECT_EQ(po_compara(e, otra),
            "entry 4 differs: the page has msgctxt \"TITULO#2\" msgid \"T\", the PO file "
            "msgctxt \"TITULO#2\" msgid \"TX\"");
  // A long msgid is cut after 60 bytes, never inside a character.
  std::string larga = "x";
  for (int i = 0; i < 40; ++i) larga += "\xC3\xA1";
  otra[3].texto = larga;
  EXPECT_NE(po_compara(e, otra).find("msgid \"" + larga.substr(0, 59) + "...\""),
            std::string::npos);
  otra = e;
  otra.pop_back();
  EXPECT_NE(po_compara(e, otra).find("entry 6 of the page (msgctxt \"DESCRIPCION#2\""),
            std::string::npos);
  otra = e;
  otra.push_back(e[0]);
  EXPECT_NE(po_compara(e, otra).find("entry 7 of the PO file"), std::string::npos);
  lista_cad_destruye(&textos);
  lista_cad_destruye(&ids);
}

}  // namespace
