/* sesion.cpp - failure reports caught, leaks counted and a private folder for the fuzz checks. */
#include "fuzz/comprobaciones.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <signal.h>
#include <unistd.h>

#include "lenguaweb.h"

namespace {

void receptor(const char *condicion, const char *, uint32_t, void *informes) {
  static_cast<std::vector<std::string> *>(informes)->emplace_back(condicion);
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

struct carpeta_privada {
  std::string ruta;
  carpeta_privada() {
    // Every input writes and renames several files: in memory, when there is no
    // TMPDIR to say otherwise, a disk's metadata does not set the pace.
    const char *tmpdir = std::getenv("TMPDIR");
    const std::string base = tmpdir != nullptr && *tmpdir != '\0'     ? tmpdir
                             : ::access("/dev/shm", W_OK | X_OK) == 0 ? "/dev/shm"
                                                                      : "/tmp";
    quita_carpetas_huerfanas(base);
    ruta = base + "/" + std::string(kPrefijo) + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(ruta.data()) == nullptr) {
      std::perror("lenguaweb fuzz: cannot make a private folder");
      std::abort();
    }
  }
  ~carpeta_privada() {
    std::error_code error;
    std::filesystem::remove_all(ruta, error);
  }
};

}  // namespace

std::string fuzz_en_sesion(
    const std::vector<std::string_view> &permitidos,
    const std::function<std::string(std::vector<std::string> &informes)> &comprueba) {
  std::vector<std::string> informes;
  const int64_t bloques = mem_bloques_vivos();
  utilidades_pon_carpeta(fuzz_carpeta().c_str());
  informa_fallo_pon_receptor(receptor, &informes);
  std::string fallo = comprueba(informes);
  informa_fallo_pon_receptor(nullptr, nullptr);
  for (const std::string &c : informes)
    if (fallo.empty() && std::none_of(permitidos.begin(), permitidos.end(), [&c](auto p) {
          return p.ends_with('*') ? c.starts_with(p.substr(0, p.size() - 1)) : c == p;
        }))
      fallo = "unexpected failure report \"" + c + "\"";
  if (fallo.empty() && mem_bloques_vivos() != bloques)
    fallo = std::to_string(mem_bloques_vivos() - bloques) + " companion blocks leaked";
  return fallo;
}

std::string fuzz_texto(const uint8_t *datos, size_t largo) {
  const std::string_view bytes(reinterpret_cast<const char *>(datos), largo);
  return std::string(bytes.substr(0, bytes.find('\0')));
}

std::u16string fuzz_unidades(const uint8_t *datos, size_t largo, size_t desde) {
  std::u16string unidades;
  for (size_t i = desde; i + 1 < largo && (datos[i] | datos[i + 1]) != 0; i += 2)
    unidades.push_back(static_cast<char16_t>(datos[i] | datos[i + 1] << 8));
  return unidades;
}

const std::string &fuzz_carpeta() {
  static const carpeta_privada carpeta;
  return carpeta.ruta;
}

std::string fuzz_muestra(std::string_view bytes, size_t desde) {
  std::string muestra = "\"";
  const std::string_view trozo = bytes.substr(std::min(desde, bytes.size()), 60);
  for (unsigned char c : trozo) {
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\x%02X", c);
    muestra += c >= 0x20 && c < 0x7F && c != '\\' && c != '"' ? std::string(1, c) : escape;
  }
  return muestra + (desde + trozo.size() < bytes.size() ? "\"..." : "\"");
}
