// argumentos.cpp - the command line of lenguaweb: subcommands, options and language identifiers.
#include "argumentos.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace {

struct NombreIdioma {
  uint32_t idioma;
  const char *nombre;
};

// Languages with their country, by full identifier; sorted by identifier.
constexpr NombreIdioma kIdiomas[] = {
    {0x0401, "ar_SA"}, {0x0402, "bg_BG"}, {0x0403, "ca_ES"},       {0x0404, "zh_TW"},
    {0x0405, "cs_CZ"}, {0x0406, "da_DK"}, {0x0407, "de_DE"},       {0x0408, "el_GR"},
    {0x0409, "en_US"}, {0x040A, "es_ES"}, {0x040B, "fi_FI"},       {0x040C, "fr_FR"},
    {0x040D, "he_IL"}, {0x040E, "hu_HU"}, {0x040F, "is_IS"},       {0x0410, "it_IT"},
    {0x0411, "ja_JP"}, {0x0412, "ko_KR"}, {0x0413, "nl_NL"},       {0x0414, "nb_NO"},
    {0x0415, "pl_PL"}, {0x0416, "pt_BR"}, {0x0418, "ro_RO"},       {0x0419, "ru_RU"},
    {0x041A, "hr_HR"}, {0x041B, "sk_SK"}, {0x041C, "sq_AL"},       {0x041D, "sv_SE"},
    {0x041E, "th_TH"}, {0x041F, "tr_TR"}, {0x0420, "ur_PK"},       {0x0421, "id_ID"},
    {0x0422, "uk_UA"}, {0x0423, "be_BY"}, {0x0424, "sl_SI"},       {0x0425, "et_EE"},
    {0x0426, "lv_LV"}, {0x0427, "lt_LT"}, {0x0429, "fa_IR"},       {0x042A, "vi_VN"},
    {0x042D, "eu_ES"}, {0x042F, "mk_MK"}, {0x0436, "af_ZA"},       {0x0437, "ka_GE"},
    {0x0439, "hi_IN"}, {0x043E, "ms_MY"}, {0x0441, "sw_KE"},       {0x0452, "cy_GB"},
    {0x0456, "gl_ES"}, {0x0804, "zh_CN"}, {0x0807, "de_CH"},       {0x0809, "en_GB"},
    {0x080A, "es_MX"}, {0x080C, "fr_BE"}, {0x0810, "it_CH"},       {0x0813, "nl_BE"},
    {0x0814, "nn_NO"}, {0x0816, "pt_PT"}, {0x081A, "sr_RS@latin"}, {0x0C04, "zh_HK"},
    {0x0C07, "de_AT"}, {0x0C09, "en_AU"}, {0x0C0A, "es_ES"},       {0x0C0C, "fr_CA"},
    {0x0C1A, "sr_RS"}, {0x1004, "zh_SG"}, {0x1009, "en_CA"},       {0x100C, "fr_CH"},
    {0x141A, "bs_BA"}, {0x1809, "en_IE"}, {0x2C0A, "es_AR"},
};

// Languages alone, by primary identifier (the low ten bits); sorted.
constexpr NombreIdioma kPrimarios[] = {
    {0x01, "ar"}, {0x02, "bg"}, {0x03, "ca"}, {0x04, "zh"}, {0x05, "cs"}, {0x06, "da"},
    {0x07, "de"}, {0x08, "el"}, {0x09, "en"}, {0x0A, "es"}, {0x0B, "fi"}, {0x0C, "fr"},
    {0x0D, "he"}, {0x0E, "hu"}, {0x0F, "is"}, {0x10, "it"}, {0x11, "ja"}, {0x12, "ko"},
    {0x13, "nl"}, {0x14, "nb"}, {0x15, "pl"}, {0x16, "pt"}, {0x17, "rm"}, {0x18, "ro"},
    {0x19, "ru"}, {0x1B, "sk"}, {0x1C, "sq"}, {0x1D, "sv"}, {0x1E, "th"}, {0x1F, "tr"},
    {0x20, "ur"}, {0x21, "id"}, {0x22, "uk"}, {0x23, "be"}, {0x24, "sl"}, {0x25, "et"},
    {0x26, "lv"}, {0x27, "lt"}, {0x28, "tg"}, {0x29, "fa"}, {0x2A, "vi"}, {0x2B, "hy"},
    {0x2C, "az"}, {0x2D, "eu"}, {0x2F, "mk"}, {0x36, "af"}, {0x37, "ka"}, {0x38, "fo"},
    {0x39, "hi"}, {0x3A, "mt"}, {0x3C, "ga"}, {0x3E, "ms"}, {0x3F, "kk"}, {0x40, "ky"},
    {0x41, "sw"}, {0x43, "uz"}, {0x44, "tt"}, {0x45, "bn"}, {0x46, "pa"}, {0x47, "gu"},
    {0x49, "ta"}, {0x4A, "te"}, {0x4B, "kn"}, {0x4C, "ml"}, {0x4E, "mr"}, {0x50, "mn"},
    {0x52, "cy"}, {0x56, "gl"}, {0x62, "fy"},
};

template <size_t N>
const char *busca(const NombreIdioma (&tabla)[N], uint32_t idioma) {
  const auto *fin = tabla + N;
  const auto *p = std::lower_bound(tabla, fin, idioma,
                                   [](const NombreIdioma &a, uint32_t b) { return a.idioma < b; });
  return p != fin && p->idioma == idioma ? p->nombre : nullptr;
}

// Reads a language option's text when it was given, or reports it and gives an exit
// status; -1 when all is well.
int idioma_de(bool dado, const std::string &texto, const char *opcion,
              std::optional<uint32_t> *idioma) {
  if (!dado) return -1;
  *idioma = argumentos_lee_idioma(texto);
  if (idioma->has_value()) return -1;
  std::fprintf(stderr,
               "lenguaweb: %s '%s' is not a language identifier: give a Windows LANGID in "
               "decimal or as 0x and hex digits, at most 0xFFFF (0x0409, 3082, 0x0419)\n",
               opcion, texto.c_str());
  return 2;
}

}  // namespace

std::optional<uint32_t> argumentos_lee_idioma(std::string_view texto) {
  unsigned base = 10;
  if (texto.size() > 2 && texto[0] == '0' && (texto[1] == 'x' || texto[1] == 'X')) {
    base = 16;
    texto.remove_prefix(2);
  }
  if (texto.empty()) return std::nullopt;
  uint32_t valor = 0;
  for (char c : texto) {
    unsigned cifra;
    if (c >= '0' && c <= '9') {
      cifra = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      cifra = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      cifra = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    valor = valor * base + cifra;
    if (valor > 0xFFFF) return std::nullopt;  // checked at each digit: never overflows
  }
  return valor;
}

std::string argumentos_escribe_idioma(uint32_t idioma) {
  char texto[16];
  std::snprintf(texto, sizeof texto, "0x%04X", static_cast<unsigned>(idioma));
  return texto;
}

std::string argumentos_nombre_idioma(uint32_t idioma) {
  if (const char *nombre = busca(kIdiomas, idioma)) return nombre;
  if (const char *nombre = busca(kPrimarios, idioma & 0x3FF)) return nombre;
  return "und";
}

int argumentos_lee(int argc, const char *const *argv, Orden *orden) {
  CLI::App app{
      "lenguaweb: prepares HTML pages for translation and writes them back translated.\n"
      "PAGE may be a folder: every .html and .htm file under it is processed into\n"
      "the same tree under the output folder. LANGID: a Windows language identifier,\n"
      "decimal or 0x hex (default 0x0409, English)."};
  app.name("lenguaweb");
  app.fallthrough();
  app.require_subcommand(1);
  app.add_flag("-v,--verbose", orden->detallado, "Show every failure report of the library");
  app.add_option("-j,--jobs", orden->trabajos, "Pages processed at once (default: one per core)")
      ->check(CLI::Range(1u, 4096u));
  std::string idioma, destino;
  std::vector<CLI::Option *> opciones_idioma, opciones_destino;

  CLI::App *extract = app.add_subcommand("extract", "Write the texts of a page as a PO file");
  extract->add_option("PAGE", orden->pagina, "HTML page (UTF-8) or folder")->required();
  extract->add_option("-o,--output", orden->salida,
                      "PO file ('-': standard output; default PAGE with .po), or folder");
  opciones_idioma.push_back(
      extract->add_option("-l,--language", idioma, "LANGID of the page")->type_name("LANGID"));

  CLI::App *merge = app.add_subcommand("merge", "Write a page with the translations of a PO file");
  merge->add_option("PAGE", orden->pagina, "HTML page or folder")->required();
  merge->add_option("PO", orden->po, "PO file, or folder of PO files")->required();
  merge->add_option("-o,--output", orden->salida, "Translated page, or folder")->required();
  opciones_idioma.push_back(
      merge
          ->add_option("-l,--language", idioma,
                       "LANGID of the page (default: the PO file's X-Lenguaweb-Language)")
          ->type_name("LANGID"));
  opciones_destino.push_back(
      merge->add_option("-t,--target", destino, "LANGID of the translation (default: -l)")
          ->type_name("LANGID"));
  merge->add_option("--links", orden->tabla, "Link table file that resolves link references");

  CLI::App *links = app.add_subcommand("links", "Replace the links of a page by link references");
  links->add_option("PAGE", orden->pagina, "HTML page or folder");
  links->add_option("-o,--output", orden->salida, "Page with link references, or folder");
  links->add_option("--links", orden->tabla, "Link table file, read when it exists and saved");
  links->add_option("--list", orden->lista, "Print the records of a link table file");
  opciones_idioma.push_back(
      links->add_option("-l,--language", idioma, "LANGID of the page")->type_name("LANGID"));

  CLI::App *pseudo = app.add_subcommand("pseudo", "Pseudo-translate every text of a page");
  pseudo->add_option("PAGE", orden->pagina, "HTML page or folder")->required();
  pseudo->add_option("-o,--output", orden->salida, "Pseudo-translated page, or folder")->required();
  opciones_idioma.push_back(
      pseudo->add_option("-l,--language", idioma, "LANGID of the page")->type_name("LANGID"));
  opciones_destino.push_back(
      pseudo->add_option("-t,--target", destino, "LANGID whose code page the texts go out in")
          ->type_name("LANGID"));

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &e) {
    if (e.get_exit_code() == 0) return app.exit(e);
    std::fprintf(stderr, "lenguaweb: %s (lenguaweb --help tells more)\n", e.what());
    return 2;
  }

  if (extract->parsed()) orden->subcomando = Subcomando::extract;
  if (merge->parsed()) orden->subcomando = Subcomando::merge;
  if (links->parsed()) orden->subcomando = Subcomando::links;
  if (pseudo->parsed()) orden->subcomando = Subcomando::pseudo;
  const auto dada = [](const std::vector<CLI::Option *> &opciones) {
    return std::any_of(opciones.begin(), opciones.end(),
                       [](const CLI::Option *o) { return o->count() > 0; });
  };
  if (int estado = idioma_de(dada(opciones_idioma), idioma, "-l", &orden->idioma); estado >= 0)
    return estado;
  if (int estado = idioma_de(dada(opciones_destino), destino, "-t", &orden->destino); estado >= 0)
    return estado;

  if (orden->subcomando == Subcomando::links) {
    const bool listar = !orden->lista.empty();
    const bool preprocesar =
        !orden->pagina.empty() || !orden->salida.empty() || !orden->tabla.empty();
    if (listar == preprocesar ||
        (!listar && (orden->pagina.empty() || orden->salida.empty() || orden->tabla.empty()))) {
      std::fputs("lenguaweb: links takes PAGE -o OUT --links TABLE, or --list TABLE alone\n",
                 stderr);
      return 2;
    }
  }
  return -1;
}
