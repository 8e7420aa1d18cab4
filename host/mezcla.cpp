// mezcla.cpp - GNU gettext's msgmerge, run on a page's old PO file and its new template.
#include "mezcla.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <csignal>
#include <system_error>

#include "companion/cadenas.h"
#include "companion/ficheros.h"
#include "po.h"
#include "salida.h"

extern char **environ;

namespace {

// What msgmerge says when it fails, on one line and of a bounded size.
constexpr size_t kMaximoErrores = 1000;

// Closes the descriptors it holds when it ends.
struct Tubo {
  int lectura = -1, escritura = -1;
  ~Tubo() {
    for (int d : {lectura, escritura})
      if (d >= 0) ::close(d);
  }
  void cierra_escritura() {
    ::close(escritura);
    escritura = -1;
  }
};

// Starts msgmerge with its standard output and error on the two pipes. The command's
// threads block the signals that its watcher takes, and ignore SIGXFSZ: the child gets
// them back.
int lanza(const std::string &viejo, const std::string &plantilla,
          const std::vector<std::string> &compendios, Tubo &salida, Tubo &errores, pid_t *pid) {
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_adddup2(&acciones, salida.escritura, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&acciones, errores.escritura, STDERR_FILENO);
  posix_spawnattr_t atributos;
  posix_spawnattr_init(&atributos);
  sigset_t ninguna, por_defecto;
  sigemptyset(&ninguna);
  sigemptyset(&por_defecto);
  for (int senal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ}) sigaddset(&por_defecto, senal);
  posix_spawnattr_setsigmask(&atributos, &ninguna);
  posix_spawnattr_setsigdefault(&atributos, &por_defecto);
  posix_spawnattr_setflags(&atributos, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<std::string> argumentos = {"msgmerge", "--quiet", "--previous", "--no-wrap",
                                         "--output-file=-"};
  for (const std::string &compendio : compendios) argumentos.push_back("--compendium=" + compendio);
  argumentos.insert(argumentos.end(), {"--", viejo, plantilla});
  std::vector<char *> argv;
  for (std::string &argumento : argumentos) argv.push_back(argumento.data());
  argv.push_back(nullptr);
  const int resultado =
      ::posix_spawnp(pid, "msgmerge", &acciones, &atributos, argv.data(), environ);
  posix_spawnattr_destroy(&atributos);
  posix_spawn_file_actions_destroy(&acciones);
  return resultado;
}

// The header entry at the start of bytes (up to its blank line) with each field of
// campos set to its value, or added at its end; bytes as they are without a header.
std::string con_campos(std::string bytes, const CamposDeCabecera &campos) {
  size_t fin = bytes.find("\n\n");
  if (fin == std::string::npos) fin = bytes.size() - (bytes.ends_with('\n') ? 1 : 0);
  // Comments may come before it.
  const size_t msgid = bytes.starts_with("msgid \"\"\n") ? 0 : bytes.find("\nmsgid \"\"\n");
  if (msgid == std::string::npos || msgid > fin) return bytes;
  for (const auto &[nombre, valor] : campos) {
    const std::string linea = "\"" + nombre + ": " + valor + "\\n\"";
    const size_t campo = bytes.find("\n\"" + nombre + ": ");
    if (campo != std::string::npos && campo < fin) {
      const size_t tras = bytes.find('\n', campo + 1);
      const size_t hasta = tras == std::string::npos ? bytes.size() : tras;
      fin = fin - (hasta - campo - 1) + linea.size();
      bytes.replace(campo + 1, hasta - campo - 1, linea);
    } else {
      bytes.insert(fin, "\n" + linea);
      fin += linea.size() + 1;
    }
  }
  return bytes;
}

}  // namespace

bool mezcla_ejecuta_msgmerge(const std::string &viejo, const std::string &plantilla,
                             const std::vector<std::string> &compendios, const std::string &salida,
                             const CamposDeCabecera &campos, std::string *error) {
  Tubo de_salida, de_errores;
  for (Tubo *t : {&de_salida, &de_errores}) {
    int extremos[2];
    if (::pipe2(extremos, O_CLOEXEC) != 0) {
      *error = "cannot run msgmerge: " + std::system_category().message(errno);
      return false;
    }
    t->lectura = extremos[0];
    t->escritura = extremos[1];
  }
  // msgmerge takes a byte order mark for a syntax error: it reads a copy without one.
  PoSinMarca sin_marca;
  if (!po_sin_marca(viejo, &sin_marca, error)) return false;
  pid_t pid;
  if (const int fallo = lanza(sin_marca.ruta(), plantilla, compendios, de_salida, de_errores, &pid);
      fallo != 0) {
    *error = "cannot run msgmerge (GNU gettext), which update needs: " +
             std::system_category().message(fallo);
    return false;
  }
  de_salida.cierra_escritura();
  de_errores.cierra_escritura();

  // Both pipes are read as they fill, so that neither side waits for the other.
  Salida escrita;
  std::string motivo, errores;
  const bool abierta = salida_abre(&escrita, salida, &motivo);
  // The header is held until its blank line, for its fields to be set.
  std::string cabecera;
  bool en_cabecera = !campos.empty();
  pollfd tubos[2] = {{de_salida.lectura, POLLIN, 0}, {de_errores.lectura, POLLIN, 0}};
  char bloque[64 * 1024];
  while (tubos[0].fd >= 0 || tubos[1].fd >= 0) {
    if (::poll(tubos, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int k = 0; k < 2; ++k) {
      if (tubos[k].fd < 0 || tubos[k].revents == 0) continue;
      const ssize_t leidos = ::read(tubos[k].fd, bloque, sizeof bloque);
      if (leidos < 0 && errno == EINTR) continue;
      if (leidos <= 0) {
        tubos[k].fd = -1;  // poll skips it; the Tubo closes it
        continue;
      }
      const std::string_view leido(bloque, static_cast<size_t>(leidos));
      if (k == 1)
        errores.append(leido.substr(0, kMaximoErrores - std::min(errores.size(), kMaximoErrores)));
      else if (abierta && !en_cabecera)
        salida_anade(&escrita, leido);
      else if (abierta && (cabecera.append(leido).find("\n\n") != std::string::npos))
        en_cabecera = false;
      if (abierta && k == 0 && !en_cabecera && !cabecera.empty()) {
        salida_anade(&escrita, con_campos(std::move(cabecera), campos));
        cabecera.clear();
      }
    }
  }
  if (abierta && !cabecera.empty()) salida_anade(&escrita, con_campos(std::move(cabecera), campos));
  int estado = 0;
  while (::waitpid(pid, &estado, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0) {
    while (!errores.empty() && errores.back() == '\n') errores.pop_back();
    for (char &c : errores)
      if (c == '\n') c = ' ';
    if (errores.empty())
      errores = WIFEXITED(estado) ? "it ended with status " + std::to_string(WEXITSTATUS(estado))
                                  : "it was ended by a signal";
    *error = "msgmerge failed on '" + viejo + "': " + po_nombra_original(sin_marca, errores);
    return false;
  }
  if (!abierta) {
    *error = motivo;
    return false;
  }
  return salida_termina(&escrita, error);
}

bool mezcla_actualiza(const std::string &viejo,
                      const std::function<bool(const std::string &, std::string *)> &graba,
                      const std::vector<std::string> &compendios, const std::string &salida,
                      const CamposDeCabecera &campos, std::string *error) {
  static std::atomic<uint64_t> plantillas{0};
  const std::string nombre = "plantilla-" + std::to_string(plantillas++) + ".pot";
  char *ruta = utilidades_ruta_fichero(nombre.c_str());
  const std::string plantilla = ruta;
  cad_destruye(&ruta);
  const bool hecho = graba(plantilla, error) &&
                     mezcla_ejecuta_msgmerge(viejo.empty() ? plantilla : viejo, plantilla,
                                             compendios, salida, campos, error);
  std::remove(plantilla.c_str());
  return hecho;
}
