/* sesion.h - what every fuzz check shares: the failure reports it sees, leaks, a private folder. */
#ifndef FUZZ_SESION_H
#define FUZZ_SESION_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

/* One check of one input. While it lives it takes every failure report made on its
 * thread (the receptor goes back to the default one when it ends), and it knows how
 * many companion blocks were alive when it began. Sessions do not nest. */
struct fuzz_sesion {
  fuzz_sesion();
  ~fuzz_sesion();
  fuzz_sesion(const fuzz_sesion &) = delete;
  fuzz_sesion &operator=(const fuzz_sesion &) = delete;

  std::vector<std::string> informes; /* conditions of the reports so far, in order */
  int64_t bloques_al_empezar;
};

/* "" when every report of the session has one of the conditions in permitidos (one
 * that ends in '*' stands for every condition that begins with what precedes it),
 * else a description of the first that has none of them. */
std::string fuzz_informe_inesperado(const fuzz_sesion &sesion,
                                    std::initializer_list<std::string_view> permitidos);

/* "" when the companion holds as many live blocks as when the session began. */
std::string fuzz_fugas(const fuzz_sesion &sesion);

/* The folder, private to this process, where checks write their files: made on first
 * use, removed when the process exits, or by the first process that makes its own
 * folder after this one has gone. The reference stays valid until then. */
const std::string &fuzz_carpeta();

/* A short printable form of bytes for a message: at most 60 of them from desde, the
 * bytes outside printable ASCII written \xNN. */
std::string fuzz_muestra(std::string_view bytes, size_t desde = 0);

#endif
