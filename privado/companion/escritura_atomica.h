/* escritura_atomica.h - writing a file through a temporary beside it, renamed into place. */
#ifndef COMPANION_ESCRITURA_ATOMICA_H
#define COMPANION_ESCRITURA_ATOMICA_H

#include <sys/uio.h>

#include <cstddef>
#include <span>
#include <string>

namespace companion {

/* Text of a failure of the file at ruta for the companion's reports:
 * "cannot <accion> '<ruta>': <the system's reason for error>". */
std::string describe_fallo(const char *accion, const std::string &ruta, int error);

/* One atomic write. abre creates a new temporary file in the target's folder (with the
 * permission bits of an existing target); escribe appends bytes to it; termina closes it
 * and renames it over the target. Every failure is reported with the target's path and
 * the system's reason, removes the temporary file and makes every later call fail. An
 * object destroyed before termina removes its temporary file: the target is never
 * touched unless the whole file was written. An existing device or named pipe is
 * written to directly, with no temporary file. */
class EscrituraAtomica {
 public:
  EscrituraAtomica() = default;
  EscrituraAtomica(const EscrituraAtomica &) = delete;
  EscrituraAtomica &operator=(const EscrituraAtomica &) = delete;
  ~EscrituraAtomica();

  bool abre(const char *ruta);
  /* Writes every byte of the pieces, in order; the iovecs are consumed (changed). */
  bool escribe(std::span<iovec> trozos);
  bool escribe(const void *datos, size_t longitud);
  bool termina();

 private:
  void falla(const char *accion, int error);

  std::string destino_;
  std::string temporal_;
  int descriptor_ = -1;
  bool fallida_ = false;
};

}  // namespace companion

#endif
