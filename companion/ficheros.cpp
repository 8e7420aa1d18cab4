/* ficheros.cpp - whole files into memory, text lists out to files, the utilities folder. */
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <unordered_set>
#include <vector>

#include "companion/escritura_atomica.h"
#include "companion/interno.h"

namespace {

// Files are opened blocking: only a signal interrupts a call, and it is simply retried.
bool interrumpida(int error) {
  return error == EINTR;
}

}  // namespace

namespace companion {

std::string describe_fallo(const char *accion, const std::string &ruta, int error) {
  return std::string("cannot ") + accion + " '" + ruta +
         "': " + std::system_category().message(error);
}

namespace {

std::atomic<uint64_t> temporales_creados{0};

// The live temporary files, so that a process ending on a signal can remove them. A file
// is made and entered under the lock, so none appears once borra_temporales has run.
struct Temporales {
  std::mutex cerrojo;
  std::unordered_set<std::string> rutas;
  bool cerrados = false;
};

// Never destroyed: a host's signal watcher may need it until the process is gone.
Temporales &temporales() {
  static Temporales *t = new Temporales;
  return *t;
}

// Creates a new temporary file for destino in carpeta and stores its path in *temporal.
// Returns its descriptor, or -1 with errno set.
int crea_temporal(const std::string &carpeta, const std::string &nombre, std::string *temporal) {
  Temporales &t = temporales();
  std::lock_guard<std::mutex> guarda(t.cerrojo);
  if (t.cerrados) {
    errno = ECANCELED;
    return -1;
  }
  for (int intento = 0; intento < 100; ++intento) {
    *temporal = carpeta + "." + nombre + "." + std::to_string(::getpid()) + "." +
                std::to_string(temporales_creados.fetch_add(1)) + ".tmp";
    const int descriptor = ::open(temporal->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
      t.rutas.insert(*temporal);
      return descriptor;
    }
    if (errno != EEXIST && errno != EINTR) break;
  }
  temporal->clear();
  return -1;
}

}  // namespace

void borra_temporales() {
  Temporales &t = temporales();
  std::lock_guard<std::mutex> guarda(t.cerrojo);
  t.cerrados = true;
  for (const std::string &ruta : t.rutas) ::unlink(ruta.c_str());
  t.rutas.clear();
}

EscrituraAtomica::~EscrituraAtomica() {
  if (descriptor_ >= 0) ::close(descriptor_);
  quita_temporal(true);
}

void EscrituraAtomica::quita_temporal(bool borra) {
  if (temporal_.empty()) return;
  Temporales &t = temporales();
  std::lock_guard<std::mutex> guarda(t.cerrojo);
  // Not in the set: borra_temporales has removed it already.
  if (t.rutas.erase(temporal_) != 0 && borra) ::unlink(temporal_.c_str());
  temporal_.clear();
}

void EscrituraAtomica::falla(const char *accion, int error) {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  quita_temporal(true);
  fallida_ = true;
  informa(describe_fallo(accion, destino_, error).c_str(), __LINE__);
}

void EscrituraAtomica::abre_descriptor(int descriptor, const char *nombre) {
  destino_ = nombre != nullptr ? nombre : "";
  propia_ = "/dev/fd/" + std::to_string(descriptor);
  descriptor_ = descriptor;
}

namespace {

// The descriptor that ruta names when it is one of this process's own (/dev/stdout,
// /dev/fd/N, /proc/self/fd/N) and is open; else -1.
int descriptor_nombrado(const std::string &ruta) {
  int numero = -1;
  if (ruta == "/dev/stdin") numero = STDIN_FILENO;
  if (ruta == "/dev/stdout") numero = STDOUT_FILENO;
  if (ruta == "/dev/stderr") numero = STDERR_FILENO;
  for (const char *prefijo : {"/dev/fd/", "/proc/self/fd/"}) {
    if (!ruta.starts_with(prefijo)) continue;
    const std::string cifras = ruta.substr(std::strlen(prefijo));
    if (cifras.empty() || cifras.size() > 9 ||
        cifras.find_first_not_of("0123456789") != std::string::npos)
      continue;
    numero = std::stoi(cifras);
  }
  return numero >= 0 && ::fcntl(numero, F_GETFD) >= 0 ? numero : -1;
}

// Follows the symbolic links at ruta, a dangling one as a live one, to the path that a
// write would reach; *descriptor gets the descriptor that a link names (-1: none).
std::string sigue_enlaces(std::string ruta, int *descriptor) {
  for (int salto = 0; salto < 40; ++salto) {
    *descriptor = descriptor_nombrado(ruta);
    struct stat datos;
    if (*descriptor >= 0 || ::lstat(ruta.c_str(), &datos) != 0 || !S_ISLNK(datos.st_mode))
      return ruta;
    char destino[PATH_MAX];
    const ssize_t largo = ::readlink(ruta.c_str(), destino, sizeof destino);
    if (largo <= 0 || static_cast<size_t>(largo) == sizeof destino) return ruta;
    std::string siguiente(destino, static_cast<size_t>(largo));
    const size_t barra = ruta.rfind('/');
    if (siguiente[0] != '/' && barra != std::string::npos) siguiente.insert(0, ruta, 0, barra + 1);
    ruta = std::move(siguiente);
  }
  return ruta;
}

}  // namespace

bool EscrituraAtomica::abre(const char *ruta) {
  destino_ = ruta != nullptr ? ruta : "";
  if (destino_.empty()) {
    falla("write", ENOENT);
    return false;
  }
  // A descriptor of the process (a shell's "> log", ">> log" or pipe) is written through a
  // copy of it: its file stays, and so does the shell's append.
  int propio = -1;
  const std::string real = sigue_enlaces(destino_, &propio);
  if (propio >= 0) {
    descriptor_ = ::fcntl(propio, F_DUPFD_CLOEXEC, 3);
    if (descriptor_ < 0) {
      falla("write", errno);
      return false;
    }
    return true;
  }
  struct stat previo;
  const bool existe = ::stat(real.c_str(), &previo) == 0;
  if (existe && !S_ISREG(previo.st_mode) && !S_ISDIR(previo.st_mode)) {
    // A device or a pipe (/dev/null, a named pipe) is written to as it is: renaming a
    // file over it would replace the node. (Over a folder, the rename fails.)
    do {
      descriptor_ = ::open(real.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    } while (descriptor_ < 0 && interrumpida(errno));
    if (descriptor_ < 0) {
      falla("write", errno);
      return false;
    }
    return true;
  }

  // A symbolic link stays: the file it names (or would name) is the one replaced.
  const size_t barra = real.rfind('/');
  const std::string carpeta = barra == std::string::npos ? "" : real.substr(0, barra + 1);
  // The name is cut so that the temporary's name stays within the system's limit.
  const std::string nombre = real.substr(barra == std::string::npos ? 0 : barra + 1).substr(0, 128);
  descriptor_ = crea_temporal(carpeta, nombre, &temporal_);
  if (descriptor_ < 0) {
    falla("write", errno);
    return false;
  }
  // An existing target keeps its owner and permission bits, or is not replaced; a new
  // file gets 0666 less the umask. The owner goes first: a change of owner clears setuid.
  if (existe) {
    struct stat nuevo;
    if (::fstat(descriptor_, &nuevo) != 0) {
      falla("write", errno);
      return false;
    }
    if ((nuevo.st_uid != previo.st_uid || nuevo.st_gid != previo.st_gid) &&
        ::fchown(descriptor_, previo.st_uid, previo.st_gid) != 0) {
      falla("keep the owner of", errno);
      return false;
    }
    if (::fchmod(descriptor_, previo.st_mode & 07777) != 0) {
      falla("write", errno);
      return false;
    }
  }
  renombrado_ = real;
  return true;
}

bool EscrituraAtomica::escribe(std::span<iovec> trozos) {
  if (fallida_ || descriptor_ < 0) return false;
  size_t primero = 0;
  while (primero < trozos.size()) {
    if (trozos[primero].iov_len == 0) {
      ++primero;
      continue;
    }
    const size_t cuantos = std::min<size_t>(trozos.size() - primero, IOV_MAX);
    const ssize_t escritos = ::writev(descriptor_, &trozos[primero], static_cast<int>(cuantos));
    if (escritos < 0) {
      if (interrumpida(errno)) continue;
      falla("write", errno);
      return false;
    }
    // A short write: skip what went out and resume inside the piece it stopped in.
    size_t resto = static_cast<size_t>(escritos);
    while (resto > 0 && primero < trozos.size()) {
      const size_t parte = std::min(resto, trozos[primero].iov_len);
      trozos[primero].iov_base = static_cast<char *>(trozos[primero].iov_base) + parte;
      trozos[primero].iov_len -= parte;
      resto -= parte;
      if (trozos[primero].iov_len == 0) ++primero;
    }
  }
  return true;
}

bool EscrituraAtomica::escribe(const void *datos, size_t longitud) {
  iovec trozo{const_cast<void *>(datos), longitud};
  return escribe(std::span<iovec>(&trozo, 1));
}

const std::string &EscrituraAtomica::cede_ruta() {
  // The bytes come from another writer now: this one's descriptor is not needed, and a
  // run with many files waiting to be put in place must not hold one for each.
  if (!temporal_.empty() && descriptor_ >= 0) {
    ::close(descriptor_);
    descriptor_ = -1;
    cedida_ = true;
  }
  return ruta_escritura();
}

bool EscrituraAtomica::termina(bool sincroniza) {
  if (fallida_ || (descriptor_ < 0 && !cedida_)) return false;
  const int descriptor = descriptor_;
  descriptor_ = -1;
  // The bytes reach the disk before the name does: a crash leaves the old file or the new.
  // Unsynced, a crash may leave the new name on bytes never written.
  if (sincroniza && descriptor >= 0 && !temporal_.empty() && ::fsync(descriptor) != 0) {
    const int error = errno;
    ::close(descriptor);
    falla("write", error);
    return false;
  }
  // close can report a failed delayed write (NFS, a full disk): it decides.
  if (descriptor >= 0 && ::close(descriptor) != 0 && !interrumpida(errno)) {
    falla("write", errno);
    return false;
  }
  if (!temporal_.empty() && ::rename(temporal_.c_str(), renombrado_.c_str()) != 0) {
    falla("write", errno);
    return false;
  }
  quita_temporal(false);
  return true;
}

}  // namespace companion

struct fichero_escritura {
  mutable companion::EscrituraAtomica escritura;
  bool fallida = false;
};

namespace {

// A writer's record comes from the counted allocator, as every block a host is handed.
fichero_escritura *escritura_nueva() {
  return new (companion::reserva(sizeof(fichero_escritura))) fichero_escritura();
}

// Ends the writer (its temporary file goes unless it was put in place) and frees it.
void escritura_libera(fichero_escritura *fichero) {
  fichero->~fichero_escritura();
  companion::libera(fichero);
}

using companion::informa;

// Page positions are 32-bit: a file of 4 GiB - 1 bytes or more cannot be addressed.
constexpr uint64_t kMaximoFichero = UINT32_MAX - 1;

fichero_memoria_t *fichero_nuevo(char *contenido, size_t longitud, bool leido) {
  auto *fichero = static_cast<fichero_memoria_t *>(companion::reserva(sizeof(fichero_memoria_t)));
  fichero->contenido = contenido;
  fichero->longitud = longitud;
  fichero->leido = leido ? CIERTO : FALSO;
  return fichero;
}

fichero_memoria_t *fichero_fallido(const char *nombre, int error) {
  informa(companion::describe_fallo("read", nombre, error).c_str(), __LINE__);
  return fichero_nuevo(companion::texto_de({}), 0, false);
}

int abre_para_leer(const char *nombre) {
  for (;;) {
    const int descriptor = ::open(nombre, O_RDONLY | O_CLOEXEC);
    if (descriptor >= 0 || errno != EINTR) return descriptor;
  }
}

// Reads the whole file open at descriptor into one block. A regular file is read into a
// block of its size; a file that grows meanwhile, or one with no size (a pipe), is read
// to its end, the block growing geometrically. Returns the error, or 0.
int lee_todo(int descriptor, char *&bloque, size_t &longitud) {
  struct stat datos;
  if (::fstat(descriptor, &datos) != 0) return errno;
  uint64_t capacidad = 64 * 1024;
  if (S_ISREG(datos.st_mode)) {
    if (static_cast<uint64_t>(datos.st_size) > kMaximoFichero) return EFBIG;
    capacidad = static_cast<uint64_t>(datos.st_size);
  }
  bloque = static_cast<char *>(companion::reserva(capacidad + 1));
  longitud = 0;
  char sonda[16 * 1024];
  for (;;) {
    if (longitud < capacidad) {
      const ssize_t leidos = ::read(descriptor, bloque + longitud, capacidad - longitud);
      if (leidos < 0) {
        if (interrumpida(errno)) continue;
        return errno;
      }
      if (leidos == 0) return 0;
      longitud += static_cast<size_t>(leidos);
      continue;
    }
    // The block is full: only a read past it tells whether the file goes on.
    const ssize_t leidos = ::read(descriptor, sonda, sizeof sonda);
    if (leidos < 0) {
      if (interrumpida(errno)) continue;
      return errno;
    }
    if (leidos == 0) return 0;
    if (longitud + static_cast<uint64_t>(leidos) > kMaximoFichero) return EFBIG;
    capacidad = std::min<uint64_t>(kMaximoFichero, std::max<uint64_t>(capacidad * 2, 64 * 1024));
    bloque = static_cast<char *>(companion::redimensiona(bloque, capacidad + 1));
    std::memcpy(bloque + longitud, sonda, static_cast<size_t>(leidos));
    longitud += static_cast<size_t>(leidos);
  }
}

std::mutex cerrojo_carpeta;
std::string carpeta_utilidades;  // empty: not set by the host

// The process's own utilities folder, made on first use; removed, with the files in it,
// when the process ends (not a child made by fork, which shares it).
struct CarpetaPropia {
  std::string ruta;
  pid_t dueno = 0;
  ~CarpetaPropia() {
    if (ruta.empty() || dueno != ::getpid()) return;
    std::error_code ec;
    std::filesystem::remove_all(ruta, ec);
  }
};

// The process's own folder, made now when there is none yet (under cerrojo_carpeta);
// empty, after a report, when it cannot be made.
const std::string &carpeta_propia() {
  static CarpetaPropia propia;
  if (!propia.ruta.empty()) return propia.ruta;
  const char *base = std::getenv("TMPDIR");
  std::string plantilla = base != nullptr && base[0] == '/' ? base : "/tmp";
  if (plantilla.back() != '/') plantilla += '/';
  plantilla += "lenguaweb-XXXXXX";
  if (::mkdtemp(plantilla.data()) != nullptr) {
    propia.ruta = plantilla;
    propia.dueno = ::getpid();
  } else {
    informa(companion::describe_fallo("create", plantilla, errno).c_str(), __LINE__);
  }
  return propia.ruta;
}

// Writes the num texts that texto_de_lugar(i) gives, each followed by separador (when not
// empty). Small texts are gathered in a staging buffer (a page has hundreds of thousands of
// them, and the kernel's cost per iovec would outweigh copying them); large ones go out as
// they are.
template <class DaTexto>
booleano graba_textos(uint32_t num, DaTexto texto_de_lugar, const char *ruta,
                      std::string_view separador, bool sincroniza = true) {
  if (ruta == nullptr) {
    informa("(ruta) != NULL", __LINE__);
    return FALSO;
  }
  companion::EscrituraAtomica escritura;
  if (!escritura.abre(ruta)) return FALSO;
  constexpr size_t kGrande = 64 * 1024;
  constexpr size_t kTanda = 1024 * 1024;
  std::string tanda;
  tanda.reserve(kTanda + kGrande);
  const auto vacia_tanda = [&]() {
    const bool bien = escritura.escribe(tanda.data(), tanda.size());
    tanda.clear();
    return bien;
  };
  for (uint32_t i = 0; i < num; ++i) {
    const char *texto = texto_de_lugar(i);
    const size_t largo = texto != nullptr ? std::strlen(texto) : 0;
    if (largo >= kGrande) {
      if (!vacia_tanda() || !escritura.escribe(texto, largo)) return FALSO;
    } else {
      tanda.append(texto != nullptr ? texto : "", largo);
    }
    tanda.append(separador);
    if (tanda.size() >= kTanda && !vacia_tanda()) return FALSO;
  }
  if (!vacia_tanda()) return FALSO;
  return escritura.termina(sincroniza) ? CIERTO : FALSO;
}

booleano graba_lista(const lista_cad_t *lista, const char *ruta, std::string_view separador) {
  if (lista == nullptr) {
    informa("(lista) != NULL", __LINE__);
    return FALSO;
  }
  return graba_textos(
      lista_cad_num_elems(lista), [lista](uint32_t i) { return lista_cad_dame(lista, i); }, ruta,
      separador);
}

}  // namespace

extern "C" {

fichero_memoria_t *fichero_memoria_lee(const char *nombre_fichero) noexcept {
  if (nombre_fichero == nullptr) {
    informa("(nombre_fichero) != NULL", __LINE__);
    return fichero_nuevo(companion::texto_de({}), 0, false);
  }
  const int descriptor = abre_para_leer(nombre_fichero);
  if (descriptor < 0) return fichero_fallido(nombre_fichero, errno);
  char *bloque = nullptr;
  size_t longitud = 0;
  const int error = lee_todo(descriptor, bloque, longitud);
  ::close(descriptor);
  if (error != 0) {
    companion::libera(bloque);
    return fichero_fallido(nombre_fichero, error);
  }
  bloque[longitud] = '\0';
  return fichero_nuevo(bloque, longitud, true);
}

void fichero_memoria_destruye(fichero_memoria_t **fichero) noexcept {
  if (fichero == nullptr || *fichero == nullptr) return;
  companion::libera((*fichero)->contenido);
  companion::libera(*fichero);
  *fichero = nullptr;
}

void utilidades_pon_carpeta(const char *ruta) noexcept {
  std::lock_guard<std::mutex> guarda(cerrojo_carpeta);
  carpeta_utilidades = ruta != nullptr ? ruta : "";
}

char *utilidades_ruta_fichero(const char *nombre_fichero) noexcept {
  std::string carpeta;
  {
    std::lock_guard<std::mutex> guarda(cerrojo_carpeta);
    carpeta = carpeta_utilidades;
    const char *entorno = std::getenv("LENGUAWEB_UTILIDADES");
    if (carpeta.empty() && entorno != nullptr) carpeta = entorno;
    // A folder that cannot be made gives a path that no write reaches.
    if (carpeta.empty()) carpeta = carpeta_propia();
    if (carpeta.empty()) carpeta = "/nonexistent";
  }
  if (nombre_fichero == nullptr) {
    informa("(nombre_fichero) != NULL", __LINE__);
    nombre_fichero = "";
  }
  if (carpeta.back() != '/') carpeta += '/';
  carpeta += nombre_fichero;
  return companion::texto_de(carpeta);
}

booleano fichtxt_graba_lista(const lista_cad_t *lista, const char *ruta) noexcept {
  return graba_lista(lista, ruta, "\n");
}

booleano fichtxt_graba_lista_binario(const lista_cad_t *lista, const char *ruta) noexcept {
  return graba_lista(lista, ruta, {});
}

booleano fichtxt_graba_textos(const char *const *textos, uint32_t num, const char *ruta) noexcept {
  if (textos == nullptr && num > 0) {
    informa("(textos) != NULL", __LINE__);
    return FALSO;
  }
  return graba_textos(
      num, [textos](uint32_t i) { return textos[i]; }, ruta, "\n", false);
}

fichero_escritura_t *fichero_escritura_abre(const char *ruta) noexcept {
  fichero_escritura *fichero = escritura_nueva();
  if (!fichero->escritura.abre(ruta)) {
    escritura_libera(fichero);
    return nullptr;
  }
  return fichero;
}

booleano fichero_escritura_anade(fichero_escritura_t *fichero, const void *datos,
                                 size_t longitud) noexcept {
  if (fichero == nullptr) {
    informa("(fichero) != NULL", __LINE__);
    return FALSO;
  }
  if (longitud == 0) return fichero->fallida ? FALSO : CIERTO;
  if (!fichero->fallida && !fichero->escritura.escribe(datos, longitud)) fichero->fallida = true;
  return fichero->fallida ? FALSO : CIERTO;
}

booleano fichero_escritura_termina(fichero_escritura_t **fichero) noexcept {
  if (fichero == nullptr || *fichero == nullptr) {
    informa("(fichero) != NULL", __LINE__);
    return FALSO;
  }
  const bool bien = !(*fichero)->fallida && (*fichero)->escritura.termina();
  escritura_libera(*fichero);  // removes the temporary file of a write that did not end well
  *fichero = nullptr;
  return bien ? CIERTO : FALSO;
}

fichero_escritura_t *fichero_escritura_abre_salida_estandar(void) noexcept {
  fichero_escritura *fichero = escritura_nueva();
  fichero->escritura.abre_descriptor(STDOUT_FILENO, "standard output");
  return fichero;
}

const char *fichero_escritura_ruta(const fichero_escritura_t *fichero) noexcept {
  if (fichero == nullptr) {
    informa("(fichero) != NULL", __LINE__);
    return "";
  }
  return fichero->escritura.cede_ruta().c_str();
}

void fichero_escritura_descarta(fichero_escritura_t **fichero) noexcept {
  if (fichero == nullptr || *fichero == nullptr) return;
  escritura_libera(*fichero);  // the writer's end removes its temporary file
  *fichero = nullptr;
}

void fichero_temporales_borra(void) noexcept {
  companion::borra_temporales();
}

}  // extern "C"
