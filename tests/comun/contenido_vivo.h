// contenido_vivo.h - what a browser's parser (gumbo) reads in a written page that its source lacks.
#ifndef PRUEBAS_CONTENIDO_VIVO_H
#define PRUEBAS_CONTENIDO_VIVO_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct GumboInternalNode;

namespace pruebas {

// The name of an element of gumbo's tree, in lower case ("?" when the page holds none).
std::string nombre_de_elemento(const GumboInternalNode &elemento);

// "" when escrita, a page written from the page fuente, parsed by gumbo as a browser
// parses it, holds nothing that neither fuente nor a translator's allowed markup put
// there; else what it holds:
//  - an element that is neither one of fuente's (its name and every attribute with its
//    value, but for the values that translations and link tables fill: alt, content,
//    href and src) nor an inline element without attributes (b, i, u, em, strong, font,
//    br);
//  - an attribute value that a browser runs as a link (javascript:, vbscript:, data:,
//    after blanks and control characters are read as a URL parser reads them) that
//    fuente does not hold in an attribute of the same name;
//  - a SCRIPT or STYLE element whose text fuente's do not hold.
std::string contenido_ajeno(std::string_view fuente, std::string_view escrita);

// "" when every marker of marcadores that stands in referencia stands in escrita exactly
// once, in the same place: the same elements around it that are not inline, each by name
// and place among its siblings, as a text or as the same attribute; else the
// first that does not. In a page that holds SVG or MathML only the kind of place counts
// (a text, a comment, the same attribute): there an inline tag that a translation may
// bring (B, I, BR ...) ends the foreign element for a browser, and what followed it in
// that element moves out.
std::string marcador_movido(std::string_view referencia, std::string_view escrita,
                            const std::vector<std::string> &marcadores);

// Whether a browser runs the link enlace (its character references already decoded).
bool es_enlace_activo(std::string_view enlace);

// Every text node and every attribute value of html as gumbo reads them, one a line.
std::string lo_que_se_lee(std::string_view html);

// A page, and what a hostile round writes into it.
struct EntradaHostil {
  std::string pagina = {};  // UTF-8
  uint32_t idioma = 0x0C0A;
  // Identifiers that the A table's records hold before the page is preprocessed: the k-th
  // for the k-th link target of the page ("" for the identifier of its own parts).
  std::vector<std::string> ids_previos = {};
  // Translations (in the code page of idioma) by index of text; every other text is
  // translated by its marker "[[index]]" (with more '[' while the input holds "[[").
  std::map<uint32_t, std::string> traducciones = {};
  // Links that the records of the A and IMG tables rebuild into, by index of record.
  std::map<uint32_t, std::string> enlaces_a = {}, enlaces_img = {};
};

// The pages a hostile round wrote.
struct SalidaHostil {
  std::vector<std::string> textos;  // the texts of the page, as the library gives them
  std::string preprocesada;         // the page with its links in the tables
  std::string referencia;           // that page rebuilt with the markers and the page's own links
  std::string escrita;              // and with the translations and links of the entry
};

// Preprocesses the page (in carpeta) into link tables that hold the records of
// ids_previos, then rebuilds the page so preprocessed twice, into referencia and
// escrita. "" when neither the preprocessed page holds content that the page lacks nor
// the tables an active link, and escrita holds no content that the preprocessed page
// lacks (contenido_ajeno), with the markers of the texts left untranslated where they
// stand in referencia (marcador_movido); else what failed. Reports are left to the
// caller.
std::string ronda_hostil(const std::string &carpeta, const EntradaHostil &entrada,
                         SalidaHostil *salida);

}  // namespace pruebas

#endif
