// contenido_vivo.h - what a browser's parser (gumbo) reads in a written page that its source lacks.
#ifndef PRUEBAS_CONTENIDO_VIVO_H
#define PRUEBAS_CONTENIDO_VIVO_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pruebas {

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

// Preprocesses the page (in carpeta) into link tables that hold the records of ids_previos, then
// rebuilds the page so preprocessed twice, into referencia and escrita. "" when neither the
// preprocessed page holds content that the page lacks (an element, an active link, code) nor the
// tables an active link, and escrita holds no content that the preprocessed page lacks, with the
// markers of the texts left untranslated where they stand in referencia; else what failed. Reports
// are left to the caller.
std::string ronda_hostil(const std::string &carpeta, const EntradaHostil &entrada,
                         SalidaHostil *salida);

}  // namespace pruebas

#endif
