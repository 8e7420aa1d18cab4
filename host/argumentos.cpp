// argumentos.cpp - the command line of lenguaweb: subcommands and options.
#include "argumentos.h"

#include "idiomas.h"
#include "informes.h"
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
                   "' is not a known language: give a locale name (es, es_ES, pt-BR, ja) or a "
                   "Windows language identifier, decimal or 0x hex (3082, 0x0C0A)");
  return 2;
}

}  // namespace

int argumentos_lee(int argc, const char *const *argv, Orden *orden) {
  CLI::App app{
      "lenguaweb: prepares HTML pages for translation and writes them back translated.\n"
      "PAGE may be a folder: every .html and .htm file under it is processed into\n"
      "the same tree under the output folder. LANG: a locale name (es, es_ES, pt-BR)\n"
      "or a Windows language identifier, decimal or 0x hex (default en_US, 0x0409)."};
  app.name("lenguaweb");
  app.fallthrough();
  app.require_subcommand(1);
  app.add_flag("-v,--verbose", orden->detallado, "Show every failure report of the library");
  app.add_option("-j,--jobs", orden->trabajos, "Pages processed at once (default: one per core)")
      ->check(CLI::Range(1u, 4096u));
  std::string segmentos = "classic";
  app.add_option("--segments,--segmentacion", segmentos,
                 "How pages are cut into texts: classic, or blocks (one text per paragraph, "
                 "heading, item or cell, its inline markup inside)")
      ->envname("LENGUAWEB_SEGMENTACION")
      ->check(CLI::IsMember({"classic", "blocks", "clasica", "bloques"}));
  std::string idioma, destino;
  std::vector<CLI::Option *> opciones_idioma, opciones_destino;

  CLI::App *extract = app.add_subcommand("extract", "Write the texts of a page as a PO file");
  extract->add_option("PAGE", orden->pagina, "HTML page (UTF-8) or folder")->required();
  extract->add_option("-o,--output", orden->salida,
                      "PO file ('-': standard output; default PAGE with .po), or folder");
  opciones_idioma.push_back(
      extract->add_option("-l,--language", idioma, "Language of the page")->type_name("LANG"));

  CLI::App *merge = app.add_subcommand("merge", "Write a page with the translations of a PO file");
  merge->add_option("PAGE", orden->pagina, "HTML page or folder")->required();
  merge->add_option("PO", orden->po, "PO file, or folder of PO files")->required();
  merge->add_option("-o,--output", orden->salida, "Translated page, or folder")->required();
  opciones_idioma.push_back(
      merge
          ->add_option("-l,--language", idioma,
                       "Language of the page (default: the PO file's X-Lenguaweb-Language)")
          ->type_name("LANG"));
  opciones_destino.push_back(
      merge->add_option("-t,--target", destino, "Language of the translation (default: -l)")
          ->type_name("LANG"));
  merge->add_option("--links", orden->tabla, "Link table file that resolves link references");

  CLI::App *links = app.add_subcommand("links", "Replace the links of a page by link references");
  links->add_option("PAGE", orden->pagina, "HTML page or folder");
  links->add_option("-o,--output", orden->salida, "Page with link references, or folder");
  links->add_option("--links", orden->tabla, "Link table file, read when it exists and saved");
  links->add_option("--list", orden->lista, "Print the records of a link table file");
  opciones_idioma.push_back(
      links->add_option("-l,--language", idioma, "Language of the page")->type_name("LANG"));

  CLI::App *pseudo = app.add_subcommand("pseudo", "Pseudo-translate every text of a page");
  pseudo->add_option("PAGE", orden->pagina, "HTML page or folder")->required();
  pseudo->add_option("-o,--output", orden->salida, "Pseudo-translated page, or folder")->required();
  opciones_idioma.push_back(
      pseudo->add_option("-l,--language", idioma, "Language of the page")->type_name("LANG"));
  opciones_destino.push_back(
      pseudo->add_option("-t,--target", destino, "Language whose code page the texts go out in")
          ->type_name("LANG"));

  try {
    app.parse(argc, argv);
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

  orden->bloques = segmentos == "blocks" || segmentos == "bloques";
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
      informes_escribe("lenguaweb: links takes PAGE -o OUT --links TABLE, or --list TABLE alone");
      return 2;
    }
  }
  return -1;
}
