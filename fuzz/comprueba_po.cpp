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

/* The file with every comment made empty: what libgettextpo refuses in a comment (a previous
 * string, an obsolete entry, bytes of no character) is the translator's note, which the
 * stream reader skips by design. */
std::string sin_notas(std::string_view bytes) {
  std::string r;
  while (!bytes.empty()) {
    const size_t fin = std::min(bytes.find('\n'), bytes.size());
    const std::string_view linea = bytes.substr(0, fin);
    const size_t texto = linea.find_first_not_of(" \t\r\f\v");
    const bool nota = texto != std::string_view::npos && linea[texto] == '#';
    r.append(nota ? std::string_view("#") : linea);
    if (fin < bytes.size()) r += '\n';
    bytes.remove_prefix(std::min(fin + 1, bytes.size()));
  }
  return r;
}

bool escribe(const std::string &ruta, std::string_view bytes) {
  std::FILE *f = std::fopen(ruta.c_str(), "wb");
  return f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() &&
         std::fclose(f) == 0;
}

}  // namespace

/* The input is the PO file. Whatever the stream reader reads before it gives up (every
 * entry, when it reads the file to its end) libgettextpo reads the same: header fields,
 * and each entry's msgctxt, msgid, msgstr and fuzzy flag, in order. A file the stream
 * reader reads whole libgettextpo does not refuse but for its comments, and a header the
 * stream reader refuses libgettextpo refuses too. The entries libgettextpo reads, written
 * as the command writes them, read back the same through both readers. */
std::string fuzz_comprueba_po(const uint8_t *datos, size_t largo) {
  return fuzz_en_sesion({}, [&](auto &) -> std::string {
    const std::string ruta = fuzz_carpeta() + "/traduccion.po";
    const std::string_view bytes(reinterpret_cast<const char *>(datos), largo);
    if (!escribe(ruta, bytes)) return "cannot write " + ruta;

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
    if (final == LecturaPo::fin && !leido) {
      const std::string otra = fuzz_carpeta() + "/sin_notas.po";
      CabeceraPo c;
      std::vector<EntradaPo> e;
      std::string por_que;
      if (!escribe(otra, sin_notas(bytes))) return "cannot write " + otra;
      if (!po_lee(otra, &c, &e, &por_que))
        return "the stream reader reads a file libgettextpo refuses: " + error;
    }
    if (leido) {
      // What libgettextpo read, written as the command writes a PO file, reads back the same
      // through both readers, the stream reader to the end.
      const std::string escrito = fuzz_carpeta() + "/escrito.po";
      if (!po_graba_compendio(escrito, entradas, &error)) return error;
      CabeceraPo c;
      std::vector<EntradaPo> de_nuevo, en_flujo_de_nuevo;
      if (!po_lee(escrito, &c, &de_nuevo, &error)) return "a PO file written: " + error;
      LectorPo lector;
      LecturaPo l = po_abre(escrito, &lector, &c, &error);
      EntradaPo e;
      while (l == LecturaPo::entrada && (l = po_lee_entrada(&lector, &e)) == LecturaPo::entrada)
        en_flujo_de_nuevo.push_back(e);
      if (l != LecturaPo::fin) return "a PO file written: the stream reader does not read it";
      for (const auto *leidas : {&de_nuevo, &en_flujo_de_nuevo}) {
        if (leidas->size() != entradas.size())
          return "a PO file written: " + std::to_string(leidas->size()) + " entries of " +
                 std::to_string(entradas.size());
        for (size_t i = 0; i < entradas.size(); ++i)
          if (!iguales((*leidas)[i], entradas[i]))
            return "a PO file written: entry " + std::to_string(i + 1) + " reads " +
                   describe((*leidas)[i]) + ", written " + describe(entradas[i]);
      }
    }
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
