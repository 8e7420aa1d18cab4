// comprueba_orden.cpp - the lenguaweb command: extract and merge untouched, and pseudo.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "modelo.h"
#include "pagina.h"

extern char **environ;

namespace sitios {
namespace {

// Runs the command with its arguments, its standard output thrown away and its standard
// error kept in the file errores. "" when it exits 0, else how it ended and the first
// line it wrote on standard error.
std::string ejecuta(const std::vector<std::string> &argumentos, const std::string &errores) {
  std::vector<char *> argv;
  for (const std::string &a : argumentos) argv.push_back(const_cast<char *>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t acciones;
  posix_spawn_file_actions_init(&acciones);
  posix_spawn_file_actions_addopen(&acciones, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&acciones, 2, errores.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, argv[0], &acciones, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acciones);
  if (error != 0) return argumentos[0] + ": cannot run: " + std::strerror(error);
  int estado = 0;
  while (waitpid(pid, &estado, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(estado) && WEXITSTATUS(estado) == 0) return {};
  const std::string salida = lee_fichero(errores);
  const std::string como = WIFEXITED(estado)
                               ? "exited " + std::to_string(WEXITSTATUS(estado))
                               : "killed by signal " + std::to_string(WTERMSIG(estado));
  return argumentos[1] + " " + como + ": " + salida.substr(0, salida.find('\n'));
}

std::string hex(uint32_t idioma) {
  char texto[16];
  std::snprintf(texto, sizeof texto, "0x%04X", idioma);
  return texto;
}

// The arguments of one subcommand on the page, with its language and segmentation.
std::vector<std::string> orden(const Pagina &p, const char *suborden,
                               std::initializer_list<std::string> resto) {
  std::vector<std::string> a = {p.opciones.orden, suborden, p.camino};
  a.insert(a.end(), resto);
  a.insert(a.end(), {"-l", hex(p.idioma)});
  if (!p.opciones.segmentacion.empty()) a.insert(a.end(), {"--segments", p.opciones.segmentacion});
  return a;
}

// The accented vowels that the pseudo-translation puts in place of a, e, i, o and u.
constexpr std::string_view kAcentuadas[] = {"\u00E1", "\u00E9", "\u00ED", "\u00F3", "\u00FA",
                                            "\u00C1", "\u00C9", "\u00CD", "\u00D3", "\u00DA"};

size_t cuenta(std::string_view texto, std::string_view que) {
  size_t n = 0;
  for (size_t q = texto.find(que); q != std::string_view::npos; q = texto.find(que, q + que.size()))
    ++n;
  return n;
}

// The texts and attribute values of a parsed page, entities decoded, one after another.
std::string a_la_vista_del_lector(const std::vector<NodoHtml> &arbol) {
  std::string r;
  for (const NodoHtml &n : arbol) {
    if (n.clase == ClaseNodo::texto) r += n.texto;
    for (const AtributoHtml &a : n.atributos) r += a.valor;
  }
  return r;
}

// The characters beyond ASCII of a page's texts and values, in order, but for those that
// the pseudo-translation writes and the no-break space (which the round trip looks at).
std::string mas_alla_de_ascii(std::string_view texto) {
  std::string r;
  for (size_t i = 0; i < texto.size();) {
    if (static_cast<unsigned char>(texto[i]) < 0x80) {
      ++i;
      continue;
    }
    size_t largo = 1;
    while (i + largo < texto.size() &&
           (static_cast<unsigned char>(texto[i + largo]) & 0xC0) == 0x80)
      ++largo;
    const std::string_view c = texto.substr(i, largo);
    if (c != "\u00A0" &&
        std::find(std::begin(kAcentuadas), std::end(kAcentuadas), c) == std::end(kAcentuadas))
      r.append(c);
    i += largo;
  }
  return r;
}

bool tiene_vocal(const std::vector<std::string> &textos) {
  for (const std::string &t : textos)
    if (t.find_first_of("aeiouAEIOU") != std::string::npos) return true;
  return false;
}

// The pseudo-translated page decodes as it declares, without more invalid bytes than
// the page had; it shows none of the accented vowels as the characters that their UTF-8
// bytes make in the page's encoding, every character beyond ASCII that the page showed,
// and more accented vowels than the page did.
void comprueba_pseudo(Pagina &p, const std::string &salida) {
  const PaginaLeida leida = pagina_lee(lee_fichero(salida), p.idioma);
  if (!leida.error.empty()) return p.falla("command pseudo", leida.error, "charset");
  if (leida.codificacion.nombre != p.leida.codificacion.nombre)
    return p.falla(
        "command pseudo",
        "read as " + leida.codificacion.nombre + ", the page as " + p.leida.codificacion.nombre,
        "charset");
  if (leida.reemplazos > p.leida.reemplazos)
    return p.falla("command pseudo",
                   std::to_string(leida.reemplazos - p.leida.reemplazos) +
                       " more sequences invalid in " + leida.codificacion.nombre,
                   "charset");
  const std::string original = a_la_vista_del_lector(p.arbol),
                    escrita = a_la_vista_del_lector(arbol_lee(leida.texto));
  size_t antes = 0, despues = 0;
  for (std::string_view vocal : kAcentuadas) {
    antes += cuenta(original, vocal);
    despues += cuenta(escrita, vocal);
    if (leida.codificacion.nombre == "UTF-8") continue;
    const std::string mal = descodifica_como(vocal, leida.codificacion.nombre);
    if (mal != vocal && cuenta(escrita, mal) > cuenta(original, mal))
      return p.falla("command pseudo",
                     "shows " + fragmento(mal, 0, 16) + " where the pseudo-translation wrote " +
                         fragmento(vocal, 0, 8) + " (its UTF-8 read as " +
                         leida.codificacion.nombre + ")",
                     "charset");
  }
  // The pseudo-translation changes only ASCII vowels: every other character stays.
  const std::string esperados = mas_alla_de_ascii(original), vistos = mas_alla_de_ascii(escrita);
  if (const std::string d = muestra_diferencia(esperados, vistos); !d.empty())
    return p.falla("command pseudo",
                   "the characters beyond ASCII that the page showed are not all there: " + d,
                   "charset");
  if (tiene_vocal(p.textos) && despues <= antes)
    p.falla("command pseudo",
            "the page shows " + std::to_string(despues) + " accented vowels, the original " +
                std::to_string(antes) + ": the pseudo-translation's are not there",
            "charset");
}

}  // namespace

void comprueba_orden(Pagina &p) {
  const std::string po = p.ruta("orden.po"), mezclada = p.ruta("orden.html"),
                    pseudo = p.ruta("pseudo.html"), errores = p.ruta("orden.err");
  std::string error = ejecuta(orden(p, "extract", {"-o", po}), errores);
  if (error.empty()) error = ejecuta(orden(p, "merge", {po, "-o", mezclada}), errores);
  if (!error.empty()) {
    p.falla("command round trip", error);
  } else {
    std::string categoria;
    Ejemplos ejemplos;
    const std::string diferencia =
        lecturas_compara(p.bytes, lee_fichero(mezclada), p.idioma, &categoria, &ejemplos);
    if (!diferencia.empty())
      p.falla("command round trip", diferencia, categoria, std::move(ejemplos));
  }
  error = ejecuta(orden(p, "pseudo", {"-o", pseudo}), errores);
  if (!error.empty())
    p.falla("command pseudo", error);
  else
    comprueba_pseudo(p, pseudo);
}

}  // namespace sitios
