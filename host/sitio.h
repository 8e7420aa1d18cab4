// sitio.h - a whole site through the command: the PO files whose pages are gone, the pages
// without a PO file, and the files that are not pages.
#ifndef HOST_SITIO_H
#define HOST_SITIO_H

#include <cstddef>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

// The PO files (".po", relative to carpeta_po, sorted) under carpeta_po that are not in
// propios: those of pages that are gone or were renamed. Nothing is removed.
std::vector<std::filesystem::path> sitio_po_sin_pagina(
    const std::filesystem::path &carpeta_po, const std::unordered_set<std::string> &propios);

// Puts every regular file under origen that is not a page (".html", ".htm") at the same
// place under destino, as a hard link where the file system allows, else as a copy; a
// file already there that is the same file is left alone. The tree is walked as
// carpetas_recorre walks it (excluida: the output folder inside origen); a subfolder
// that cannot be read is skipped without a word, for the walk that found the pages has
// named it. Returns how many files were put in place; each failure is appended to *fallos.
size_t sitio_copia_recursos(const std::filesystem::path &origen,
                            const std::filesystem::path &destino,
                            const std::filesystem::path &excluida,
                            std::vector<std::string> *fallos);

// Copies the page as it is to salida (a page that has no PO file goes out in its own
// language). false with the reason in *error.
bool sitio_copia_pagina(const std::string &pagina, const std::string &salida, std::string *error);

#endif
