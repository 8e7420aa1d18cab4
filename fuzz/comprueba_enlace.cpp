/* comprueba_enlace.cpp - a link split into its parts, its identifier joined, the link rebuilt. */
#include <string>
#include <string_view>

#include <strings.h>

#include "fuzz/comprobaciones.h"
#include "tablalink/tablalink.h"

namespace {

constexpr size_t kNoEsta = std::string_view::npos;

struct partes {
  char *id = nullptr, *dominio = nullptr, *ruta = nullptr, *nombre = nullptr;
  explicit partes(const std::string &enlace) {
    tablalink_descompone_enlace(enlace.c_str(), &id, &dominio, &ruta, &nombre);
  }
  ~partes() {
    for (char **t : {&id, &dominio, &ruta, &nombre}) cad_destruye(t);
  }
  std::string todas() const {
    std::string r;
    for (const char *t : {dominio, ruta, nombre})
      r += t != nullptr ? fuzz_muestra(t) + " " : "null ";
    return r;
  }
};

std::string sin_barras(std::string t) {
  std::erase(t, '/');
  return t;
}

std::string comprueba(const std::string &enlace, std::vector<std::string> &informes) {
  const partes p(enlace);
  if (!p.id || !p.dominio || !p.ruta || !p.nombre) return "splitting gave a null text";
  const std::string_view dominio = p.dominio, nombre = p.nombre;

  // Each part is a stretch of the link, in its place: the host after an "http://"
  // prefix (any letter case), and the file name at the end.
  std::string_view resto = enlace, host;
  if (::strncasecmp(enlace.c_str(), "http://", 7) == 0) {
    host = resto.substr(7, resto.find('/', 7) - 7);
    resto.remove_prefix(7 + host.size());
  }
  if (dominio != host) return "the domain " + fuzz_muestra(dominio) + " is not the link's host";
  if (nombre.find('/') != kNoEsta) return "the file name holds a \"/\"";
  if (!std::string_view(enlace).ends_with(nombre)) return "the file name does not end the link";
  // Only a relative link whose last component (past its first character) holds no "."
  // is reported.
  const size_t barra = resto.rfind('/') == kNoEsta ? 0 : resto.rfind('/');
  const bool avisa = !resto.empty() && resto[0] != '/' && resto.find('.', barra + 1) == kNoEsta;
  if (informes.size() != (avisa ? 1u : 0u))
    return std::to_string(informes.size()) + " reports where " + (avisa ? "one" : "none") +
           " was due";

  // The identifier is joined from the parts, but for a link that names nothing past its
  // host, which is known by the host alone.
  char *unido = tablalink_compone_id(p.dominio, p.ruta, p.nombre);
  const std::string id_esperado(resto.empty() ? dominio : unido);
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
  // The rebuilt link names the same target: it splits into the same parts, and it is the
  // link itself but for its slashes and the prefix, which comes back in lower case and
  // only before a host.
  const partes q(reconstruido);
  if (sin_barras(reconstruido) !=
          sin_barras((host.empty() ? "" : "http://") + std::string(host) + std::string(resto)) ||
      p.todas() != q.todas())
    return "rebuilt as " + fuzz_muestra(reconstruido) + ", which gives " + q.todas();
  return "";
}

}  // namespace

std::string fuzz_comprueba_enlace(const uint8_t *datos, size_t largo) {
  const std::string enlace = fuzz_texto(datos, largo);
  const std::string fallo = fuzz_en_sesion(
      {"hay_punto == CIERTO"}, [&](auto &informes) { return comprueba(enlace, informes); });
  return fallo.empty() ? "" : fallo + " (link " + fuzz_muestra(enlace) + ")";
}
