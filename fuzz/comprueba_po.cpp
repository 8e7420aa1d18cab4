/* comprueba_po.cpp - the command's two readers of a translator's PO file: the stream reader,
 * which reads what gettext's tools and PO editors write, and libgettextpo, which reads the
 * rest. A merge takes the stream reader's entries until it gives up, then libgettextpo's:
 * the two must never read one file two ways. */
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "comprobaciones.h"
#include "po.h"

namespace {

std::string describe(const EntradaPo &e) {
  return "msgctxt " + fuzz_muestra(e.contexto) + " msgid " + fuzz_muestra(e.texto) + " msgstr " +
         fuzz_muestra(e.traduccion) + (e.difusa ? " (fuzzy)" : "");
}

bool iguales(const EntradaPo &a, const EntradaPo &b) {
  return a.contexto == b.contexto && a.texto == b.texto && a.traduccion == b.traduccion &&
         a.difusa == b.difusa;
}

bool iguales(const CabeceraPo &a, const CabeceraPo &b) {
  return a.idioma == b.idioma && a.traduccion == b.traduccion &&
         a.traduccion_nombre == b.traduccion_nombre && a.segmentos == b.segmentos &&
         a.marcado == b.marcado && a.pagina == b.pagina && a.juego == b.juego;
}

/* Whether libgettextpo's reason names a line of comments: what it refuses there (a previous
 * msgid it cannot read, an obsolete entry) is the translator's note, which the stream
 * reader skips by design. */
bool en_comentario(std::string_view bytes, const std::string &ruta, const std::string &error) {
  if (!error.starts_with(ruta + ":")) return false;
  size_t numero = std::strtoul(error.c_str() + ruta.size() + 1, nullptr, 10);
  // A string left open is told at the line after it.
  if (error.find("end-of-line within string") != std::string::npos) --numero;
  if (numero == 0) return false;
  for (size_t n = 1; n < numero; ++n) {
    const size_t fin = bytes.find('\n');
    if (fin == std::string_view::npos) return false;
    bytes.remove_prefix(fin + 1);
  }
  const size_t texto = bytes.find_first_not_of(" \t\r\f\v");
  return texto != std::string_view::npos && bytes[texto] == '#';
}

}  // namespace

/* The input is the PO file. Whatever the stream reader reads before it gives up (every
 * entry, when it reads the file to its end) libgettextpo reads the same: header fields,
 * and each entry's msgctxt, msgid, msgstr and fuzzy flag, in order. A file the stream
 * reader reads whole libgettextpo does not refuse but for its comments, and a header the
 * stream reader refuses libgettextpo refuses too. */
std::string fuzz_comprueba_po(const uint8_t *datos, size_t largo) {
  return fuzz_en_sesion({}, [&](auto &) -> std::string {
    const std::string ruta = fuzz_carpeta() + "/traduccion.po";
    std::FILE *f = std::fopen(ruta.c_str(), "wb");
    if (f == nullptr || std::fwrite(datos, 1, largo, f) != largo || std::fclose(f) != 0)
      return "cannot write " + ruta;

    CabeceraPo cabecera_flujo;
    std::vector<EntradaPo> en_flujo;
    std::string error_flujo;
    LecturaPo final;
    bool abierto = false;  // the stream reader read the header
    {
      LectorPo lector;
      final = po_abre(ruta, &lector, &cabecera_flujo, &error_flujo);
      abierto = final == LecturaPo::entrada;
      EntradaPo e;
      if (abierto)
        while ((final = po_lee_entrada(&lector, &e)) == LecturaPo::entrada) en_flujo.push_back(e);
    }
    CabeceraPo cabecera;
    std::vector<EntradaPo> entradas;
    std::string error;
    const bool leido = po_lee(ruta, &cabecera, &entradas, &error);

    if (final == LecturaPo::fallo)
      return leido ? "the stream reader refuses a header libgettextpo reads: " + error_flujo : "";
    if (final == LecturaPo::fin && !leido &&
        !en_comentario({reinterpret_cast<const char *>(datos), largo}, ruta, error))
      return "the stream reader reads a file libgettextpo refuses: " + error;
    if (!leido || !abierto) return "";
    if (!iguales(cabecera_flujo, cabecera)) return "the two readers read the header apart";
    if (en_flujo.size() > entradas.size() ||
        (final == LecturaPo::fin && en_flujo.size() != entradas.size()))
      return "the stream reader reads " + std::to_string(en_flujo.size()) +
             " entries, libgettextpo " + std::to_string(entradas.size());
    for (size_t i = 0; i < en_flujo.size(); ++i)
      if (!iguales(en_flujo[i], entradas[i]))
        return "entry " + std::to_string(i + 1) + ": the stream reader reads " +
               describe(en_flujo[i]) + ", libgettextpo " + describe(entradas[i]);
    return "";
  });
}
