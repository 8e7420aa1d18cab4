// carpetas.h - folders of pages: finding them, mirroring their tree, sharing them among threads.
#ifndef HOST_CARPETAS_H
#define HOST_CARPETAS_H

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The extension of ruta's name in lower case (".html"), empty when it has none.
std::string carpetas_extension(const std::filesystem::path &ruta);

// Whether ruta names a page: its name ends in ".html" or ".htm" (in any letter case).
bool carpetas_es_pagina(const std::filesystem::path &ruta);

// Calls hecho with the path (carpeta's, joined with the file's place under it) of every
// regular file under carpeta; nothing under excluida (an output folder that lies inside
// carpeta) is taken, nor anything under a symbolic link to a folder. A subfolder that
// cannot be read is left out, and "cannot read the folder '<subfolder>': <reason>"
// appended to *ilegibles. Returns false with that line in *error when carpeta itself
// cannot be read.
bool carpetas_recorre(const std::filesystem::path &carpeta, const std::filesystem::path &excluida,
                      const std::function<void(const std::filesystem::path &)> &hecho,
                      std::vector<std::string> *ilegibles, std::string *error);

// Stores in *paginas the path, relative to carpeta, of every page under it
// (carpetas_es_pagina), sorted, walked as carpetas_recorre walks.
bool carpetas_busca_paginas(const std::filesystem::path &carpeta,
                            const std::filesystem::path &excluida,
                            std::vector<std::filesystem::path> *paginas,
                            std::vector<std::string> *ilegibles, std::string *error);

// The PO file of a page: its path with the extension ".po".
std::filesystem::path carpetas_ruta_po(const std::filesystem::path &pagina);

// Makes the folders that the file at ruta needs. Returns false with the reason in *error.
bool carpetas_prepara(const std::filesystem::path &ruta, std::string *error);

// The one path of a file however it is named: absolute, its symbolic links (a dangling
// one too, which a writer follows) and "." and ".." resolved; empty when it cannot be told.
std::string carpetas_ruta_real(const std::string &ruta);

// Why each of salidas would overwrite a file that the run reads (any of entradas; empty
// ones are skipped), or would be written through a symbolic link that leads out of
// carpeta_salida (when not empty): "the output 'X' is 'Y', which this run reads: an
// output never overwrites an input", "the output 'X' is a symbolic link that leads out
// of 'Z' ..."; empty for an output that does neither. Files are compared by their
// identity (device and inode: symbolic links, "..", hard links), and by their real path
// when an output does not exist yet. "-" (standard output) is no file.
std::vector<std::string> carpetas_choques(const std::vector<std::string> &entradas,
                                          const std::vector<std::string> &salidas,
                                          const std::string &carpeta_salida);

// Runs trabajo(i) for every i from 0 to n - 1, each once, on up to hilos threads at once
// (0: one per core), and draws the progress on standard error when it is a terminal.
// trabajo must be safe to run on several threads at once. Returns how many gave false.
size_t carpetas_reparte(size_t n, unsigned hilos, const std::function<bool(size_t)> &trabajo);

#endif
