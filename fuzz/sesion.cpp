/* sesion.cpp - failure reports caught, leaks counted and a private folder for the fuzz checks. */
#include "fuzz/sesion.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <signal.h>
#include <unistd.h>

#include "lenguaweb.h"

namespace {

thread_local fuzz_sesion *sesion_del_hilo = nullptr;

void receptor(const char *condicion, const char *, uint32_t, void *) {
  if (sesion_del_hilo != nullptr) sesion_del_hilo->informes.emplace_back(condicion);
}

bool permitido(std::string_view condicion, std::string_view patron) {
  if (!patron.empty() && patron.back() == '*')
    return condicion.substr(0, patron.size() - 1) == patron.substr(0, patron.size() - 1);
  return condicion == patron;
}

constexpr std::string_view kPrefijo = "lenguaweb-fuzz-";

/* Removes the folders that processes now gone left in base: libFuzzer ends with _exit,
 * and an input that crashes ends with abort, so neither runs the destructor below. The
 * folder's name holds the process's number, after the prefix. */
void quita_carpetas_huerfanas(const std::string &base) {
  std::error_code error;
  for (std::filesystem::directory_iterator entrada(base, error), fin; !error && entrada != fin;
       entrada.increment(error)) {
    const std::string nombre = entrada->path().filename().string();
    if (!nombre.starts_with(kPrefijo)) continue;
    const long pid = std::strtol(nombre.c_str() + kPrefijo.size(), nullptr, 10);
    std::error_code ignorado;
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
      std::filesystem::remove_all(entrada->path(), ignorado);
  }
}

/* Removes the folder when the process exits through exit(). */
struct carpeta_privada {
  std::string ruta;
  carpeta_privada() {
    // Every input writes and renames several files: in memory, when there is no
    // TMPDIR to say otherwise, a disk's metadata does not set the pace.
    std::string base = "/tmp";
    if (const char *tmpdir = std::getenv("TMPDIR"); tmpdir != nullptr && *tmpdir != '\0')
      base = tmpdir;
    else if (::access("/dev/shm", W_OK | X_OK) == 0)
      base = "/dev/shm";
    quita_carpetas_huerfanas(base);
    std::string plantilla =
        base + "/" + std::string(kPrefijo) + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(plantilla.data()) == nullptr) {
      std::perror("lenguaweb fuzz: cannot make a private folder");
      std::abort();
    }
    ruta = plantilla;
  }
  ~carpeta_privada() {
    std::error_code error;
    std::filesystem::remove_all(ruta, error);
  }
};

}  // namespace

fuzz_sesion::fuzz_sesion() : bloques_al_empezar(mem_bloques_vivos()) {
  sesion_del_hilo = this;
  informa_fallo_pon_receptor(receptor, nullptr);
}

fuzz_sesion::~fuzz_sesion() {
  informa_fallo_pon_receptor(nullptr, nullptr);
  sesion_del_hilo = nullptr;
}

std::string fuzz_informe_inesperado(const fuzz_sesion &sesion,
                                    std::initializer_list<std::string_view> permitidos) {
  for (const std::string &condicion : sesion.informes) {
    bool bien = false;
    for (std::string_view patron : permitidos) bien = bien || permitido(condicion, patron);
    if (!bien) return "unexpected failure report \"" + condicion + "\"";
  }
  return "";
}

std::string fuzz_fugas(const fuzz_sesion &sesion) {
  const int64_t vivos = mem_bloques_vivos();
  if (vivos == sesion.bloques_al_empezar) return "";
  return std::to_string(vivos - sesion.bloques_al_empezar) + " companion blocks leaked";
}

const std::string &fuzz_carpeta() {
  static const carpeta_privada carpeta;
  return carpeta.ruta;
}

std::string fuzz_muestra(std::string_view bytes, size_t desde) {
  std::string muestra = "\"";
  const std::string_view trozo = bytes.substr(std::min(desde, bytes.size()), 60);
  for (unsigned char c : trozo) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      muestra.push_back(static_cast<char>(c));
    } else {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      muestra += escape;
    }
  }
  return muestra + (desde + trozo.size() < bytes.size() ? "\"..." : "\"");
}
