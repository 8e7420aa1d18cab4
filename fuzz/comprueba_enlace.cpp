/* comprueba_enlace.cpp - a link split into its parts, its identifier joined, the link rebuilt. */
#include <cctype>
#include <string>
#include <string_view>

#include "fuzz/comprobaciones.h"
#include "fuzz/sesion.h"
#include "tablalink/tablalink.h"

namespace {

constexpr size_t kNoEsta = std::string_view::npos;
constexpr std::string_view kHttp = "http://";

bool empieza_por_http(std::string_view enlace) {
  if (enlace.size() < kHttp.size()) return false;
  for (size_t i = 0; i < kHttp.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(enlace[i])) != kHttp[i]) return false;
  return true;
}

/* A link as the splitting rules read it: the host it names, what follows the host,
 * the last "/" of that past its first character (or 0), and whether a "." follows
 * that "/". */
struct enlace_leido {
  std::string_view host;
  std::string_view resto;
  size_t barra = 0;
  bool con_punto = false;
};

enlace_leido lee_enlace(std::string_view enlace) {
  enlace_leido e;
  e.resto = enlace;
  if (empieza_por_http(enlace)) {
    e.resto.remove_prefix(kHttp.size());
    e.host = e.resto.substr(0, e.resto.find('/'));
    e.resto.remove_prefix(e.host.size());
  }
  e.barra = e.resto.rfind('/');
  if (e.barra == kNoEsta) e.barra = 0;
  e.con_punto = !e.resto.empty() && e.resto.find('.', e.barra + 1) != kNoEsta;
  return e;
}

/* The link that rebuilding gives back for a link: the link itself, but for the changes
 * that the rules make on purpose. The "http://" prefix comes back in lower case, and
 * goes when no host follows it. A link that names nothing past its host gets the root
 * "/". An absolute path whose last component holds no "." names a directory and gets
 * a final "/". Only one "/" is cut from the end of a path, so a path made of "//" and
 * a file name keeps one of its two slashes, as the path "//" itself does. */
std::string vuelta_esperada(std::string_view enlace) {
  const enlace_leido e = lee_enlace(enlace);
  std::string_view resto = e.resto;
  std::string vuelta = e.host.empty() ? "" : std::string(kHttp) + std::string(e.host);
  if (resto.empty()) return vuelta + "/";
  if (resto[0] != '/') return vuelta + std::string(resto);
  if (!e.con_punto) {
    if (resto == "//") return vuelta + "/";
    return vuelta + std::string(resto) + (resto.back() == '/' ? "" : "/");
  }
  if (e.barra == 1) resto.remove_prefix(1);
  return vuelta + std::string(resto);
}

struct partes {
  char *id = nullptr, *dominio = nullptr, *ruta = nullptr, *nombre = nullptr;
  ~partes() {
    for (char **t : {&id, &dominio, &ruta, &nombre}) cad_destruye(t);
  }
};

std::string compara(const partes &a, const partes &b, const char *que) {
  if (std::string_view(a.dominio) != b.dominio || std::string_view(a.ruta) != b.ruta ||
      std::string_view(a.nombre) != b.nombre)
    return std::string(que) + " gives the parts " + fuzz_muestra(b.dominio) + " " +
           fuzz_muestra(b.ruta) + " " + fuzz_muestra(b.nombre) + ", not " +
           fuzz_muestra(a.dominio) + " " + fuzz_muestra(a.ruta) + " " + fuzz_muestra(a.nombre);
  return "";
}

std::string comprueba(const std::string &enlace, fuzz_sesion &sesion) {
  partes p;
  tablalink_descompone_enlace(enlace.c_str(), &p.id, &p.dominio, &p.ruta, &p.nombre);
  if (!p.id || !p.dominio || !p.ruta || !p.nombre) return "splitting gave a null text";
  const std::string_view dominio = p.dominio, nombre = p.nombre;

  // Each part is a stretch of the link, in its place.
  const enlace_leido e = lee_enlace(enlace);
  if (dominio != e.host) return "the domain " + fuzz_muestra(dominio) + " is not the link's host";
  if (nombre.find('/') != kNoEsta) return "the file name holds a \"/\"";
  if (!std::string_view(enlace).ends_with(nombre)) return "the file name does not end the link";
  // Only a relative link whose last component holds no "." is reported.
  const bool avisa = !e.resto.empty() && e.resto[0] != '/' && !e.con_punto;
  if (sesion.informes.size() != (avisa ? 1u : 0u))
    return std::to_string(sesion.informes.size()) + " reports where " + (avisa ? "one" : "none") +
           " was due";

  // The identifier is joined from the parts, but for a link that names nothing past its
  // host, which is known by the host alone.
  char *unido = tablalink_compone_id(p.dominio, p.ruta, p.nombre);
  const std::string id_esperado = e.resto.empty() ? std::string(dominio) : std::string(unido);
  cad_destruye(&unido);
  if (id_esperado != p.id)
    return "the identifier is " + fuzz_muestra(p.id) + ", not " + fuzz_muestra(id_esperado);

  tablalink_t *registro = tablalink_crea(p.id, p.dominio, p.ruta, p.nombre);
  const bool coincide =
      tablalink_coincide_enlace(registro, p.dominio, p.ruta, p.nombre) == CIERTO &&
      tablalink_coincide_id(registro, p.id) == CIERTO;
  char *vuelta = tablalink_dame_enlace(registro);
  tablalink_destruye(&registro);
  if (!coincide) return "a record does not match its own parts";
  if (vuelta == nullptr) return "no link rebuilt";
  const std::string reconstruido(vuelta);
  cad_destruye(&vuelta);
  const std::string esperado = vuelta_esperada(enlace);
  if (reconstruido != esperado)
    return "rebuilt as " + fuzz_muestra(reconstruido) + ", not " + fuzz_muestra(esperado);

  // The rebuilt link names the same target.
  partes q;
  tablalink_descompone_enlace(reconstruido.c_str(), &q.id, &q.dominio, &q.ruta, &q.nombre);
  return compara(p, q, "the rebuilt link");
}

}  // namespace

std::string fuzz_comprueba_enlace(const uint8_t *datos, size_t largo) {
  std::string fallo;
  {
    fuzz_sesion sesion;
    const std::string_view bytes(reinterpret_cast<const char *>(datos), largo);
    const std::string enlace(bytes.substr(0, bytes.find('\0')));
    fallo = comprueba(enlace, sesion);
    if (fallo.empty()) fallo = fuzz_informe_inesperado(sesion, {"hay_punto == CIERTO"});
    if (fallo.empty()) fallo = fuzz_fugas(sesion);
    if (!fallo.empty()) fallo += " (link " + fuzz_muestra(enlace) + ")";
  }
  return fallo;
}
