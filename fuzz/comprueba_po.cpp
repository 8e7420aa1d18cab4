/* comprueba_po.cpp - the command's two readers of a translator's PO file: the stream reader,
 * which reads what gettext's tools and PO editors write, and libgettextpo, which reads the
 * rest. A merge takes the stream reader's entries until it gives up, then libgettextpo's:
 * the two must never read one file two ways. */
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "comprobaciones.h"
#include "po.h"

namespace {

struct Leido {
  CabeceraPo cabecera;
  std::vector<EntradaPo> entradas;
  LecturaPo final = LecturaPo::fallo;  // the stream reader's last answer
  bool abierto = false;                // the stream reader read the header
  std::string error;
};

Leido en_flujo(const std::string &ruta) {
  Leido r;
  LectorPo lector;
  r.final = po_abre(ruta, &lector, &r.cabecera, &r.error);
  r.abierto = r.final == LecturaPo::entrada;
  for (EntradaPo e; r.final == LecturaPo::entrada &&
                    (r.final = po_lee_entrada(&lector, &e)) == LecturaPo::entrada;)
    r.entradas.push_back(e);
  return r;
}

Leido entero(const std::string &ruta) {
  Leido r;
  r.abierto = po_lee(ruta, &r.cabecera, &r.entradas, &r.error);
  return r;
}

/* "" when the first entries of a (all of them when todas) are those of b. */
std::string compara(const std::vector<EntradaPo> &a, const std::vector<EntradaPo> &b, bool todas) {
  if (a.size() > b.size() || (todas && a.size() != b.size()))
    return std::to_string(a.size()) + " entries against " + std::to_string(b.size());
  const auto describe = [](const EntradaPo &e) {
    return (e.con_contexto ? "msgctxt " + fuzz_muestra(e.contexto) : std::string("no msgctxt")) +
           " msgid " + fuzz_muestra(e.texto) + " msgstr " + fuzz_muestra(e.traduccion) +
           (e.difusa ? " (fuzzy)" : "");
  };
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].contexto != b[i].contexto || a[i].con_contexto != b[i].con_contexto ||
        a[i].texto != b[i].texto || a[i].traduccion != b[i].traduccion ||
        a[i].difusa != b[i].difusa)
      return "entry " + std::to_string(i + 1) + ": " + describe(a[i]) + " against " +
             describe(b[i]);
  return "";
}

bool escribe(const std::string &ruta, std::string_view bytes) {
  std::FILE *f = std::fopen(ruta.c_str(), "wb");
  return f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() &&
         std::fclose(f) == 0;
}

/* The file with every comment made empty: what libgettextpo refuses in a comment (a previous
 * string, an obsolete entry, bytes of no character) is the translator's note, which the
 * stream reader skips by design. */
std::string sin_comentarios(std::string_view bytes) {
  std::string r;
  for (size_t fin; !bytes.empty(); bytes.remove_prefix(std::min(fin + 1, bytes.size()))) {
    fin = std::min(bytes.find('\n'), bytes.size());
    const std::string_view linea = bytes.substr(0, fin);
    const size_t texto = linea.find_first_not_of(" \t\r\f\v");
    r.append(texto != std::string_view::npos && linea[texto] == '#' ? "#" : linea);
    if (fin < bytes.size()) r += '\n';
  }
  return r;
}

}  // namespace

/* The input is the PO file. Whatever the stream reader reads before it gives up (every
 * entry, when it reads the file to its end) libgettextpo reads the same: header fields,
 * and each entry's msgctxt (an empty one told from none), msgid, msgstr and fuzzy flag, in
 * order. A file the stream reader reads whole libgettextpo does not refuse but for its
 * comments, and a header the stream reader refuses libgettextpo refuses too. The entries
 * libgettextpo reads, written as the command writes them, read back the same through both
 * readers. */
std::string fuzz_comprueba_po(const uint8_t *datos, size_t largo) {
  return fuzz_en_sesion({}, [&](auto &) -> std::string {
    const std::string ruta = fuzz_carpeta() + "/traduccion.po", otra = fuzz_carpeta() + "/otra.po";
    const std::string_view bytes(reinterpret_cast<const char *>(datos), largo);
    if (!escribe(ruta, bytes)) return "cannot write " + ruta;
    const Leido flujo = en_flujo(ruta), gettext = entero(ruta);

    if (flujo.final == LecturaPo::fallo)
      return gettext.abierto
                 ? "the stream reader refuses a header libgettextpo reads: " + flujo.error
                 : "";
    if (flujo.final == LecturaPo::fin && !gettext.abierto &&
        (!escribe(otra, sin_comentarios(bytes)) || !entero(otra).abierto))
      return "the stream reader reads a file libgettextpo refuses: " + gettext.error;
    if (!gettext.abierto) return "";
    std::string error;
    if (!po_graba_compendio(otra, gettext.entradas, &error)) return error;
    for (const Leido &de_nuevo : {entero(otra), en_flujo(otra)})
      if (const std::string fallo = compara(de_nuevo.entradas, gettext.entradas, true);
          !de_nuevo.abierto || de_nuevo.final == LecturaPo::otra_forma || !fallo.empty())
        return "a PO file written, read again: " + fallo + de_nuevo.error;
    if (!flujo.abierto) return "";
    const CabeceraPo &a = flujo.cabecera, &b = gettext.cabecera;
    if (a.idioma != b.idioma || a.traduccion != b.traduccion ||
        a.traduccion_nombre != b.traduccion_nombre || a.segmentos != b.segmentos ||
        a.marcado != b.marcado || a.pagina != b.pagina || a.juego != b.juego)
      return "the two readers read the header apart";
    const std::string fallo =
        compara(flujo.entradas, gettext.entradas, flujo.final == LecturaPo::fin);
    return fallo.empty() ? "" : "the stream reader against libgettextpo: " + fallo;
  });
}
