// conservacion.h - what keeps a translator's work: templates by default, a PO file that
// holds translations updated rather than replaced, a PO file taken only for its own page.
#ifndef HOST_CONSERVACION_H
#define HOST_CONSERVACION_H

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "po.h"

// The template of a page: its path with the extension ".pot".
std::filesystem::path conservacion_ruta_plantilla(const std::filesystem::path &pagina);

// How many entries of the PO file at ruta hold a translation (fuzzy ones too: they are a
// translator's work as well), its header in *cabecera; nullopt with the reason in *error
// when it cannot be read as a PO file.
std::optional<size_t> conservacion_traducciones(const std::string &ruta, CabeceraPo *cabecera,
                                                std::string *error);

// What extract does with an existing PO file po of pagina (a page, or a folder for a
// catalogue): replace it (no file there, or one without translations, or --force), update
// it as update does, every translation kept (it holds some; the line that says so is
// written), or refuse (it cannot be read as a PO file, or holds the translations of
// another page), with the reason in *error.
enum class AntesDeExtraer { escribe, actualiza, rechaza };
AntesDeExtraer conservacion_antes_de_extraer(const std::string &po, const std::string &pagina,
                                             bool forzar, std::string *error);

// Whether the PO file po, whose header is cabecera, may be used for pagina: its
// X-Lenguaweb-Page is absent or names a file of the same name (as the header writes it). Paths
// differ from run to run (another folder, another working directory); the file's name is what
// stays. Otherwise false with a line that names both in *error.
bool conservacion_es_de_pagina(const CabeceraPo &cabecera, const std::string &po,
                               const std::string &pagina, std::string *error);

#endif
