/* ficheros.h - whole files into memory, text lists out to files, the utilities folder. */
#ifndef COMPANION_FICHEROS_H
#define COMPANION_FICHEROS_H

#include "companion/tipos.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A loaded file. contenido is always a NUL-terminated text (empty when the file could
 * not be read) and stays valid until fichero_memoria_destruye. */
typedef struct fichero_memoria {
  char *contenido; /* the whole file and a terminating NUL; owned by the object */
  size_t longitud; /* bytes read; above strlen(contenido) when the file holds a NUL */
  booleano leido;  /* CIERTO when the whole file was read */
} fichero_memoria_t;

/* New loaded file, never null. A file that cannot be read (or that is larger than
 * 4 GiB - 2, which 32-bit page positions cannot address) gives an empty contenido
 * and leido FALSO, and is reported with the file's name and the system's reason. */
COMPANION_API fichero_memoria_t *fichero_memoria_lee(const char *nombre_fichero) COMPANION_NOEXCEPT;

/* Frees the object and its contents; sets the variable to null. */
COMPANION_API void fichero_memoria_destruye(fichero_memoria_t **fichero) COMPANION_NOEXCEPT;

/* Sets the utilities folder for every later utilidades_ruta_fichero (copied). A null
 * or empty ruta goes back to the environment variable LENGUAWEB_UTILIDADES, then to a
 * folder of the process's own (mode 0700) made in the system's temporary folder on
 * first use and removed, with what it holds, when the process ends: a shared folder
 * would show the files to other users and let them plant links where they are written. */
COMPANION_API void utilidades_pon_carpeta(const char *ruta) COMPANION_NOEXCEPT;

/* New text: the full path of nombre_fichero in the utilities folder. */
COMPANION_API char *utilidades_ruta_fichero(const char *nombre_fichero) COMPANION_NOEXCEPT;

/* Writes the texts of lista, in order, to the file at ruta: fichtxt_graba_lista puts
 * each text on a line of its own; fichtxt_graba_lista_binario writes them back to
 * back, byte for byte. Both write a temporary file beside ruta and rename it into
 * place, so a failed write leaves the old file (or none) and never a half-written
 * one. CIERTO only when the whole file was written; a failure is reported with the
 * path and the system's reason. */
COMPANION_API booleano fichtxt_graba_lista(const lista_cad_t *lista,
                                           const char *ruta) COMPANION_NOEXCEPT;
COMPANION_API booleano fichtxt_graba_lista_binario(const lista_cad_t *lista,
                                                   const char *ruta) COMPANION_NOEXCEPT;

/* fichtxt_graba_lista for the num texts of textos (borrowed; a null one is written as
 * ""), for a writer whose texts stand in no list, and a file that nothing needs after a
 * crash (a debugging dump): it replaces the old file only whole, but is not synced to
 * the disk first, which would make every call wait for it. */
COMPANION_API booleano fichtxt_graba_textos(const char *const *textos, uint32_t num,
                                            const char *ruta) COMPANION_NOEXCEPT;

/* A file written piece by piece, for a writer that cannot hold the whole file: the
 * bytes go to a temporary file beside ruta, which replaces ruta only when
 * fichero_escritura_termina finds that every byte was written (and has synced it). An
 * existing ruta keeps its owner and permission bits, or the writer fails; a symbolic
 * link, live or dangling, stays, and the file it names is written. An existing ruta that
 * is neither a regular file nor a folder (a device, a named pipe) is written to
 * directly; a name of one of the process's descriptors (/dev/stdout, /dev/fd/N) through
 * a copy of that descriptor, so that a shell's "> log", ">> log" or pipe stays. */
typedef struct fichero_escritura fichero_escritura_t;

/* New writer, or null (reported with the path and the reason) when the temporary file
 * cannot be made. */
COMPANION_API fichero_escritura_t *fichero_escritura_abre(const char *ruta) COMPANION_NOEXCEPT;

/* Appends the longitud bytes at datos (only read). FALSO, reported once, when a write
 * fails; every later call then fails too, and the target is never touched. */
COMPANION_API booleano fichero_escritura_anade(fichero_escritura_t *fichero, const void *datos,
                                               size_t longitud) COMPANION_NOEXCEPT;

/* Closes the file, renames it over ruta when everything was written, frees the writer
 * and sets the variable to null. CIERTO only when the whole file is in place; otherwise
 * the temporary file is removed and the old file (or none) stays. */
COMPANION_API booleano fichero_escritura_termina(fichero_escritura_t **fichero) COMPANION_NOEXCEPT;

/* New writer on standard output, named "standard output" in reports; never null.
 * fichero_escritura_termina closes standard output, so that a delayed write that
 * fails is seen too. */
COMPANION_API fichero_escritura_t *fichero_escritura_abre_salida_estandar(void) COMPANION_NOEXCEPT;

/* The path the writer's bytes go to: its temporary file, or ruta itself when ruta is
 * written directly. Another writer fills that file instead of fichero_escritura_anade
 * (a page that the host puts in place later): the writer's own descriptor of its
 * temporary file is closed here, so that many files may wait to be put in place;
 * fichero_escritura_termina then puts in place what stands there. Borrowed: valid
 * until fichero_escritura_termina or fichero_escritura_descarta. */
COMPANION_API const char *fichero_escritura_ruta(const fichero_escritura_t *fichero)
    COMPANION_NOEXCEPT;

/* Frees the writer and removes its temporary file; ruta is not touched. Sets the
 * variable to null; a null variable or writer is accepted. */
COMPANION_API void fichero_escritura_descarta(fichero_escritura_t **fichero) COMPANION_NOEXCEPT;

/* Removes the temporary file of every writer and save stream still open in the process,
 * and makes every later one fail to open: for a host that ends on a signal. Safe from
 * any thread, but not from a signal handler (it takes a lock). */
COMPANION_API void fichero_temporales_borra(void) COMPANION_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
