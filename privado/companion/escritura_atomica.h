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
 * owner and permission bits of an existing target, or it fails; through a symbolic link,
 * live or dangling, beside the file it names, so that the link stays); escribe appends
 * bytes to it; termina syncs it, closes it and renames it over the target. An existing
 * target that is neither a regular file nor a folder (a device, a named pipe) is written
 * to directly, with no temporary file: renaming over it would replace the node. A name of
 * one of the process's descriptors (/dev/stdout, /dev/fd/N) is written through a copy of
 * that descriptor, so that a shell's redirection (an append too) stays as it is. Every failure, the
 * close included, is reported with the target's path and the system's reason, removes the temporary
 * file and makes every later call fail. An object destroyed before termina removes its temporary
 * file: the target is never touched unless the whole file was written. Live temporary files are
 * known to borra_temporales, which removes them all at once. */
class EscrituraAtomica {
 public:
  EscrituraAtomica() = default;
  EscrituraAtomica(const EscrituraAtomica &) = delete;
  EscrituraAtomica &operator=(const EscrituraAtomica &) = delete;
  ~EscrituraAtomica();

  bool abre(const char *ruta);
  /* Writes to the open descriptor, named nombre in reports (standard output); termina
   * closes it. */
  void abre_descriptor(int descriptor, const char *nombre);
  /* Where the bytes go: the temporary file, or the target itself when it is written
   * directly. Valid until termina or the object's end. */
  const std::string &ruta_escritura() const {
    return !temporal_.empty() ? temporal_ : !propia_.empty() ? propia_ : destino_;
  }
  /* ruta_escritura for another writer that fills the file instead of escribe: the
   * temporary file's descriptor is closed, and termina puts in place what stands there. */
  const std::string &cede_ruta();
  /* Writes every byte of the pieces, in order; the iovecs are consumed (changed). */
  bool escribe(std::span<iovec> trozos);
  bool escribe(const void *datos, size_t longitud);
  /* sincroniza false skips the sync, for a file that nothing needs after a crash: it
   * still replaces the target only whole. */
  bool termina(bool sincroniza = true);

 private:
  void falla(const char *accion, int error);
  void quita_temporal(bool borra);

  std::string destino_;
  std::string renombrado_;  // the target, or the file that its symbolic link names
  std::string temporal_;
  std::string propia_;  // a path that reaches the descriptor of abre_descriptor
  int descriptor_ = -1;
  bool fallida_ = false;
  bool cedida_ = false;  // cede_ruta closed the temporary file's descriptor
};

/* Removes the temporary file of every live EscrituraAtomica, and makes every later abre
 * fail: for a process that is about to end on a signal. */
void borra_temporales();

}  // namespace companion

#endif
