// argumentos.cpp - the command line of lenguaweb: subcommands and options.
#include "argumentos.h"

#include "carpetas.h"
#include "idiomas.h"
#include "informes.h"
#include "po.h"
#include "salida.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>

namespace {

// Reads a language option's text when it was given, or reports it and gives an exit
// status; -1 when all is well.
int idioma_de(bool dado, const std::string &texto, const char *opcion,
              std::optional<uint32_t> *idioma) {
  if (!dado) return -1;
  *idioma = idiomas_lee(texto);
  if (idioma->has_value()) return -1;
  informes_escribe(std::string("lenguaweb: ") + opcion + " '" + texto +
                   "' is not a known language: give a locale name as gettext writes one (es, "
                   "pt_BR, sr_RS@latin, ca@valencia, zh_TW), a BCP 47 tag (pt-BR) or a Windows "
                   "language identifier, decimal or 0x hex (3082, 0x0C0A)");
  return 2;
}

// Parses the command line; -1 when the command is to run, else its exit status: 0 after
// the help was written, 2 after a fault was reported.
int analiza(CLI::App &app, int argc, const char *const *argv) {
  try {
    app.parse(argc, argv);
    return -1;
  } catch (const CLI::ParseError &e) {
    if (e.get_exit_code() == 0) {
      // The help goes out through the command's writer, which sees a failed write.
      std::ostringstream texto;
      app.exit(e, texto, texto);
      Salida salida;
      std::string motivo;
      if (salida_abre(&salida, "-", &motivo)) {
        salida_anade(&salida, texto.str());
        if (salida_termina(&salida, &motivo)) return 0;
      }
      informes_escribe("lenguaweb: " + motivo);
      return 2;
    }
    informes_escribe(std::string("lenguaweb: ") + e.what() + " (lenguaweb --help tells more)");
    return 2;
  }
}

// links either preprocesses (PAGE, -o and --links, all three) or lists (--list alone); -1
// when the options are one of the two, else 2 after saying so.
int links_completo(const Orden &orden) {
  const bool listar = !orden.lista.empty();
  const bool preprocesar = !orden.pagina.empty() || !orden.salida.empty() || !orden.tabla.empty();
  if (listar != preprocesar &&
      (listar || (!orden.pagina.empty() && !orden.salida.empty() && !orden.tabla.empty())))
    return -1;
  informes_escribe("lenguaweb: links takes PAGE -o OUT --links TABLE, or --list TABLE alone");
  return 2;
}

// The subcommand that the first word not an option names, when it is none of app's:
// "unknown subcommand 'X'" then, and 2; -1 otherwise (CLI11 tells of the rest).
int subcomando_conocido(const CLI::App &app, int argc, const char *const *argv) {
  const std::vector<const CLI::App *> subcomandos =
      app.get_subcommands([](const CLI::App *) { return true; });
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "-j" || a == "--jobs") {
      ++i;
      continue;
    }
    if (a.empty() || a[0] == '-') continue;
    std::string nombres;
    for (size_t k = 0; k < subcomandos.size(); ++k) {
      if (a == subcomandos[k]->get_name()) return -1;
      nombres += (k == 0                        ? ""
                  : k + 1 == subcomandos.size() ? " and "
                                                : ", ") +
                 subcomandos[k]->get_name();
    }
    informes_escribe("lenguaweb: unknown subcommand '" + std::string(a) +
                     "': the subcommands are " + nombres + " (lenguaweb --help tells more)");
    return 2;
  }
  return -1;
}

// Whether a path names a PO file or a template by its extension.
bool parece_po(const std::string &ruta) {
  const std::string extension = carpetas_extension(ruta);
  return extension == ".po" || extension == ".pot";
}

}  // namespace

int argumentos_lee(int argc, const char *const *argv, Orden *orden) {
  CLI::App app{
      "lenguaweb: prepares HTML pages for translation and writes them back translated.\n"
      "PAGE may be a folder: every .html and .htm file under it is processed into\n"
      "the same tree under the output folder. LANG: a locale name (es, es_ES, pt-BR)\n"
      "or a Windows language identifier, decimal or 0x hex; a page's default is its\n"
      "<html lang>, else en_US (0x0409)."};
  app.name("lenguaweb");
  app.fallthrough();
  app.require_subcommand(1);
  app.add_flag("-v,--verbose", orden->detallado, "Show every failure report of the library");
  app.add_option("-j,--jobs", orden->trabajos, "Pages processed at once (default: one per core)")
      ->check(CLI::Range(1u, 4096u));
  std::string idioma, destino, segmentos;
  std::vector<CLI::Option *> opciones_idioma, opciones_destino;
  const auto con_segmentos = [&](CLI::App *sub, const char *por_defecto) {
    sub->add_option("--segments", segmentos,
                    std::string("How the page is cut into texts: blocks (a paragraph, a heading, "
                                "an item, a cell each) or classic (cut at every tag but B, I, U, "
                                "EM, STRONG, FONT and BR); default ") +
                        por_defecto)
        ->check(CLI::IsMember({"blocks", "classic"}))
        ->type_name("KIND");
  };
  std::string marcado;
  const auto con_marcado = [&](CLI::App *sub, const char *por_defecto) {
    sub->add_option("--markup", marcado,
                    std::string("How a msgid shows a text's markup: codes (<g1>...</g1> for a "
                                "pair of tags, <x2/> for one that stands alone, each listed in "
                                "the entry's comment) or full (the tags as the page has them); "
                                "default ") +
                        por_defecto)
        ->check(CLI::IsMember({"codes", "full"}))
        ->type_name("FORM");
  };
  const auto con_idioma = [&](CLI::App *sub, const char *ayuda) {
    opciones_idioma.push_back(sub->add_option("-l,--language", idioma, ayuda)->type_name("LANG"));
  };
  const auto con_destino = [&](CLI::App *sub, const char *ayuda) {
    opciones_destino.push_back(sub->add_option("-t,--target", destino, ayuda)->type_name("LANG"));
  };
  constexpr const char *kIdiomaDelPo =
      "Language of the page (default: the PO file's X-Lenguaweb-Language)";
  const auto con_utf8 = [&](CLI::App *sub) {
    sub->add_flag("--utf8", orden->utf8,
                  "Write the page in UTF-8 and say so in its charset declaration (default: the "
                  "page's own encoding)");
  };

  CLI::App *extract = app.add_subcommand("extract", "Write the texts of a page as a PO file");
  extract->add_option("PAGE", orden->pagina, "HTML page or folder")->required();
  extract->add_option(
      "-o,--output", orden->salida,
      "PO file ('-': standard output; default PAGE with .pot, a template), or folder (of "
      ".pot templates)");
  con_idioma(extract, "Language of the page (default: its lang)");
  con_destino(extract, "Language of the translation, for the header");
  con_segmentos(extract, "blocks");
  con_marcado(extract, "codes");
  extract->add_flag("--force", orden->forzar,
                    "Replace an existing PO file that holds translations (default: it is "
                    "updated as update does, every translation kept)");

  CLI::App *merge = app.add_subcommand("merge", "Write a page with the translations of a PO file");
  merge->add_option("PAGE", orden->pagina, "HTML page or folder")->required();
  merge->add_option("PO", orden->po, "PO file, or folder of PO files")->required();
  merge->add_option("-o,--output", orden->salida, "Translated page, or folder")->required();
  con_idioma(merge, kIdiomaDelPo);
  con_destino(merge, "Language of the translation (default: the PO file's Language, else -l)");
  merge->add_option("--links", orden->tabla, "Link table file that resolves link references");
  merge->add_flag("--fuzzy", orden->difusas, "Use fuzzy translations too");
  con_segmentos(merge, "the PO file's");
  merge->add_flag("--pages-only", orden->solo_paginas,
                  "For a folder: write the pages only, not the other files (images, style "
                  "sheets, scripts), which are otherwise linked or copied into -o");
  merge->add_flag("--any-page", orden->cualquier_pagina,
                  "Take a PO file whose X-Lenguaweb-Page names another page");
  con_utf8(merge);

  CLI::App *update = app.add_subcommand(
      "update", "Carry the translations of a page's old PO file over to its texts (msgmerge)");
  update->add_option("PAGE", orden->pagina, "HTML page or folder")->required();
  update->add_option("PO", orden->po, "The old PO file, or folder of PO files")->required();
  update
      ->add_option("-o,--output", orden->salida,
                   "The new PO file (it may be the old one, replaced whole), or folder")
      ->required();
  con_idioma(update, kIdiomaDelPo);
  con_destino(update, "For a folder: the Language of the PO files of new pages");
  con_segmentos(update, "the PO file's");
  con_marcado(update, "the PO file's, else codes");
  update->add_flag("--any-page", orden->cualquier_pagina,
                   "Take an old PO file whose X-Lenguaweb-Page names another page");
  update
      ->add_option("-C,--compendium", orden->compendios,
                   "A PO file of other translations (a compendium, as msgmerge takes it): a text "
                   "the old PO file does not translate takes its translation from it; may be "
                   "given more than once")
      ->check(CLI::ExistingFile);

  CLI::App *links = app.add_subcommand("links", "Replace the links of a page by link references");
  links->add_option("PAGE", orden->pagina, "HTML page or folder");
  links->add_option("-o,--output", orden->salida, "Page with link references, or folder");
  links->add_option("--links", orden->tabla, "Link table file, read when it exists and saved");
  links->add_option("--list", orden->lista, "Print the records of a link table file");
  con_idioma(links, "Language of the page (default: its lang)");
  con_segmentos(links, "blocks");
  con_utf8(links);

  CLI::App *pseudo = app.add_subcommand("pseudo", "Pseudo-translate every text of a page");
  pseudo->add_option("PAGE", orden->pagina, "HTML page or folder")->required();
  pseudo->add_option("-o,--output", orden->salida, "Pseudo-translated page, or folder")->required();
  con_idioma(pseudo, "Language of the page (default: its lang)");
  con_destino(pseudo, "Language whose code page the texts go out in");
  con_segmentos(pseudo, "blocks");
  con_utf8(pseudo);

  CLI::App *check = app.add_subcommand(
      "check",
      "Compare a translated page with its source as a reader sees both; one line per "
      "finding");
  check->add_option("PAGE", orden->pagina, "The source page, or folder")->required();
  check->add_option("TRANSLATED", orden->traducida, "The translated page, or folder")->required();
  con_idioma(check, "Language of the page, for a page that declares no encoding (default: en_US)");
  con_destino(check, "Language of the translated page, likewise (default: -l)");
  check->add_flag("--complete", orden->completa,
                  "A text left untranslated is a fault (default: listed, not a fault)");

  if (const int estado = subcomando_conocido(app, argc, argv); estado >= 0) return estado;
  if (const int estado = analiza(app, argc, argv); estado >= 0) return estado;

  if (extract->parsed()) orden->subcomando = Subcomando::extract;
  if (merge->parsed()) orden->subcomando = Subcomando::merge;
  if (update->parsed()) orden->subcomando = Subcomando::update;
  if (links->parsed()) orden->subcomando = Subcomando::links;
  if (pseudo->parsed()) orden->subcomando = Subcomando::pseudo;
  if (check->parsed()) orden->subcomando = Subcomando::check;
  const auto dada = [](const std::vector<CLI::Option *> &opciones) {
    return std::any_of(opciones.begin(), opciones.end(),
                       [](const CLI::Option *o) { return o->count() > 0; });
  };
  if (int estado = idioma_de(dada(opciones_idioma), idioma, "-l", &orden->idioma); estado >= 0)
    return estado;
  if (int estado = idioma_de(dada(opciones_destino), destino, "-t", &orden->destino); estado >= 0)
    return estado;
  if (orden->destino) orden->destino_nombre = idiomas_nombre_dado(destino);
  if (!segmentos.empty()) orden->segmentacion = po_lee_segmentos(segmentos);
  if (!marcado.empty()) orden->marcado = po_lee_marcado(marcado);
  if ((orden->subcomando == Subcomando::merge || orden->subcomando == Subcomando::update) &&
      parece_po(orden->pagina) && !parece_po(orden->po)) {
    informes_escribe("lenguaweb: '" + orden->pagina + "' is a PO file and '" + orden->po +
                     "' is not: the page comes first (lenguaweb " +
                     (orden->subcomando == Subcomando::merge ? "merge" : "update") +
                     " PAGE PO -o OUTPUT)");
    return 2;
  }

  return orden->subcomando == Subcomando::links ? links_completo(*orden) : -1;
}
