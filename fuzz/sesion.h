/* sesion.h - what every fuzz check shares: the failure reports it sees, leaks, a private folder. */
#ifndef FUZZ_SESION_H
#define FUZZ_SESION_H

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

/* Runs comprueba with a receptor that adds the condition of every failure report to
 * the list comprueba is given (the default receptor comes back afterwards). Gives what
 * comprueba gives when it is not ""; else a description of the first report whose
 * condition is none of permitidos (one that ends in '*' stands for every condition that
 * begins with what precedes it), or of the companion blocks made during the check and
 * still alive; else "". Sessions do not nest. */
std::string fuzz_en_sesion(
    std::initializer_list<std::string_view> permitidos,
    const std::function<std::string(std::vector<std::string> &informes)> &comprueba);

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
