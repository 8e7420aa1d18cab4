/* sesion.h - what every fuzz check shares: the failure reports it sees, leaks, a private folder. */
#ifndef FUZZ_SESION_H
#define FUZZ_SESION_H

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lenguaweb.h"

/* Runs comprueba with a receptor that adds the condition of every failure report to
 * the list comprueba is given (the default receptor comes back afterwards). Gives what
 * comprueba gives when it is not ""; else a description of the first report whose
 * condition is none of permitidos (one that ends in '*' stands for every condition that
 * begins with what precedes it), or of the companion blocks made during the check and
 * still alive; else "". Sessions do not nest. */
std::string fuzz_en_sesion(
    const std::vector<std::string_view> &permitidos,
    const std::function<std::string(std::vector<std::string> &informes)> &comprueba);

/* The reports that arbitrary pages bring about: tags and comments without an end, stray
 * end tags of scripts, entities outside the table, relative links to no file, references
 * that no record resolves; and what the library tells of a page's bytes: a NUL inside a
 * text, an encoding it cannot read or that it declares and is not used, bytes not valid
 * in it. */
inline const std::vector<std::string_view> kInformesDePaginas = {
    "(fin_tag) != NULL",   "*procesar_texto == FALSO", "strchr(texto, '&')==NULL",
    "hay_punto == CIERTO", "enlace != NULL",           "memchr(texto, '\\0', longitud) == NULL",
    "the page *",          "the page's texts *",       "the UTF-16 page *"};

/* The files a page check writes, in the private folder (fuzz_carpeta), which it also makes
 * the utilities folder: the page, and the pages written from it. */
struct fuzz_rutas {
  fuzz_rutas();
  std::string pagina, propia, p1, p2, traducida;
};

/* Library objects a check makes, freed however the check ends: documents, lists of
 * texts, and the A and IMG link tables with their records. */
struct fuzz_recursos {
  std::vector<lenguaweb_t *> documentos;
  std::vector<lista_cad_t *> listas;
  lista_reg_t *tablas[2] = {lista_reg_crea(0), lista_reg_crea(0)};
  lista_cad_t *lista(lista_cad_t *l) { return listas.emplace_back(l); }
  fuzz_recursos() = default;
  fuzz_recursos(const fuzz_recursos &) = delete;
  fuzz_recursos &operator=(const fuzz_recursos &) = delete;
  ~fuzz_recursos();
};

/* What a writer wrote to ruta into *pagina, when escrito says it wrote it whole; else why
 * not. */
std::string fuzz_lee_escrita(booleano escrito, const std::string &ruta, std::string *pagina);

/* One translation per text of a document: a stretch of the page, one of fragmentos
 * (markup that a translator might write), or both, picked by a generator seeded with the
 * page, so that an input always gives the same translations. */
std::vector<std::string> fuzz_traducciones(std::string_view pagina, size_t cuantas,
                                           std::span<const std::string_view> fragmentos);

/* The bytes up to the first NUL, as a text. */
std::string fuzz_texto(const uint8_t *datos, size_t largo);

/* The bytes from desde, two by two as UTF-16 code units (low byte first), up to the
 * first unit 0. */
std::u16string fuzz_unidades(const uint8_t *datos, size_t largo, size_t desde);

/* The folder, private to this process, where checks write their files: made on first
 * use, removed when the process exits, or by the first process that makes its own
 * folder after this one has gone. The reference stays valid until then. */
const std::string &fuzz_carpeta();

/* A short printable form of bytes for a message: at most 60 of them from desde, the
 * bytes outside printable ASCII written \xNN. */
std::string fuzz_muestra(std::string_view bytes, size_t desde = 0);

#endif
