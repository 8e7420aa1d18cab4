// po.cpp - PO files of pages: one entry per text, read and written through libgettextpo.
#include "po.h"

#include <gettext-po.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <unordered_map>

#include "argumentos.h"
#include "escritura.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HOST_CON_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(HOST_CON_ASAN)
#include <sanitizer/lsan_interface.h>
// libgettextpo's reader keeps a copy of each file's name that it never frees: not a
// leak of ours, so the leak checker is told to ignore what the reader allocates.
struct SinComprobarFugas {
  SinComprobarFugas() { __lsan_disable(); }
  ~SinComprobarFugas() { __lsan_enable(); }
};
#else
struct SinComprobarFugas {};
#endif

namespace {

// libgettextpo keeps its reader's and writer's state in globals.
std::mutex cerrojo_po;
// Where the error handler leaves the first error; set only with the lock held.
std::string *error_po = nullptr;

void anota_error(int severidad, po_message_t, const char *fichero, size_t linea, size_t, int,
                 const char *texto) {
  if (severidad == PO_SEVERITY_WARNING || error_po == nullptr || !error_po->empty()) return;
  std::string m;
  if (fichero != nullptr) {
    m = fichero;
    if (linea != static_cast<size_t>(-1)) {
      m += ':';
      m += std::to_string(linea);
    }
    m += ": ";
  }
  m += texto != nullptr ? texto : "";
  while (!m.empty() && m.back() == '\n') m.pop_back();
  *error_po = m;
}

void anota_error2(int severidad, po_message_t mensaje, const char *fichero, size_t linea,
                  size_t columna, int varias, const char *texto, po_message_t, const char *, size_t,
                  size_t, int, const char *) {
  anota_error(severidad, mensaje, fichero, linea, columna, varias, texto);
}

// The handler returns even on a fatal error: the reader's last call to it is its
// summary ("found N fatal errors"), and the writer's come when it is done.
const po_xerror_handler kManejador = {anota_error, anota_error2};

// po_file_free frees every message but its msgctxt: setting it to null frees it.
struct LiberaFichero {
  void operator()(po_file_t f) const {
    for (const char *const *dominio = po_file_domains(f); *dominio != nullptr; ++dominio) {
      po_message_iterator_t it = po_message_iterator(f, *dominio);
      for (po_message_t m = po_next_message(it); m != nullptr; m = po_next_message(it))
        po_message_set_msgctxt(m, nullptr);
      po_message_iterator_free(it);
    }
    po_file_free(f);
  }
};
using FicheroPo = std::unique_ptr<std::remove_pointer_t<po_file_t>, LiberaFichero>;

struct LiberaTexto {
  void operator()(char *t) const { std::free(t); }
};
using TextoC = std::unique_ptr<char, LiberaTexto>;

const char *comentario_de(std::string_view id) {
  if (id == "TITULO") return "TIPO_TITULO: the page title";
  if (id == "DESCRIPCION") return "TIPO_DESCRIPCION: the META description";
  if (id == "PALABRA_CLAVE") return "TIPO_PALABRA_CLAVE: the META keywords";
  if (id.starts_with("ALTERNATIVO_IMAGEN_"))
    return "TIPO_ALTERNATIVO_IMAGEN: the ALT text of an image";
  return "TIPO_TEXTO: a body text";
}

// A header value on one line: control characters would end the field.
std::string en_una_linea(std::string texto) {
  for (char &c : texto)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  return texto;
}

// The time of writing, or SOURCE_DATE_EPOCH's when it is set, so that a build can
// make the same files twice.
std::string fecha() {
  std::time_t ahora = std::time(nullptr);
  if (const char *fijo = std::getenv("SOURCE_DATE_EPOCH"); fijo != nullptr && *fijo != '\0')
    ahora = static_cast<std::time_t>(std::strtoll(fijo, nullptr, 10));
  std::tm utc{};
  gmtime_r(&ahora, &utc);
  char texto[32];
  std::strftime(texto, sizeof texto, "%Y-%m-%d %H:%M+0000", &utc);
  return texto;
}

std::string cabecera(const std::string &pagina, uint32_t idioma) {
  const size_t barra = pagina.rfind('/');
  const std::string nombre = pagina.substr(barra == std::string::npos ? 0 : barra + 1);
  const std::string cuando = fecha();
  return "Project-Id-Version: " + en_una_linea(nombre) + "\nPOT-Creation-Date: " + cuando +
         "\nPO-Revision-Date: " + cuando +
         "\nLast-Translator: \nLanguage-Team: \nLanguage: " + argumentos_nombre_idioma(idioma) +
         "\nMIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\n"
         "Content-Transfer-Encoding: 8bit\nX-Generator: lenguaweb " LENGUAWEB_VERSION_TEXTO
         "\nX-Lenguaweb-Page: " +
         en_una_linea(pagina) + "\nX-Lenguaweb-Language: " + argumentos_escribe_idioma(idioma) +
         "\n";
}

bool juego_aceptado(std::string_view tipo) {
  const size_t donde = tipo.find("charset=");
  if (donde == std::string_view::npos) return true;
  std::string juego(tipo.substr(donde + 8));
  juego = juego.substr(0, juego.find_first_of(" ;\t"));
  for (char &c : juego) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return juego == "UTF-8" || juego == "UTF8" || juego == "ASCII" || juego == "US-ASCII";
}

// An entry for a message: its msgctxt and its msgid, cut at a character after 60 bytes.
// Built by appending: GCC 12 warns wrongly (-Wrestrict) about a literal + std::string.
std::string describe(const EntradaPo &e) {
  constexpr size_t kMaximo = 60;
  std::string_view texto = e.texto;
  const bool cortado = texto.size() > kMaximo;
  if (cortado) {
    size_t corte = kMaximo;
    while (corte > 0 && (static_cast<unsigned char>(texto[corte]) & 0xC0) == 0x80) --corte;
    texto = texto.substr(0, corte);
  }
  std::string r = "msgctxt \"";
  r.append(e.contexto).append("\" msgid \"").append(texto).append(cortado ? "...\"" : "\"");
  return r;
}

}  // namespace

std::vector<EntradaPo> po_entradas_de_pagina(const lista_cad_t *textos, const lista_cad_t *ids,
                                             uint32_t idioma) {
  std::vector<EntradaPo> entradas;
  std::unordered_map<std::string, uint32_t> vistos;
  const uint32_t n = lista_cad_num_elems(textos);
  for (uint32_t i = 0; i < n && i < lista_cad_num_elems(ids); ++i) {
    const char *id = lista_cad_dame(ids, i);
    const uint32_t vez = ++vistos[id];
    const char *texto = lista_cad_dame(textos, i);
    if (cad_en_blanco(texto) == CIERTO) continue;
    EntradaPo entrada;
    entrada.contexto = vez == 1 ? std::string(id) : std::string(id) + "#" + std::to_string(vez);
    char *utf8 = conv_ansi_idioma_a_utf8(texto, idioma);
    entrada.texto = utf8;
    cad_destruye(&utf8);
    entrada.comentario = comentario_de(id);
    entrada.indice = i;
    entradas.push_back(std::move(entrada));
  }
  return entradas;
}

bool po_graba(const std::string &ruta, const std::string &pagina, uint32_t idioma,
              const std::vector<EntradaPo> &entradas, std::string *error) {
  const bool a_salida = ruta == "-";
  std::string temporal;
  if (!a_salida && !escritura_crea_temporal(ruta, &temporal, error)) return false;

  std::string fallo;
  {
    std::lock_guard<std::mutex> guarda(cerrojo_po);
    error_po = &fallo;
    FicheroPo fichero(po_file_create());
    po_message_iterator_t it = po_message_iterator(fichero.get(), nullptr);
    po_message_t mensaje = po_message_create();
    po_message_set_msgid(mensaje, "");
    po_message_set_msgstr(mensaje, cabecera(pagina, idioma).c_str());
    po_message_insert(it, mensaje);
    for (const EntradaPo &e : entradas) {
      mensaje = po_message_create();
      po_message_set_msgctxt(mensaje, e.contexto.c_str());
      po_message_set_msgid(mensaje, e.texto.c_str());
      po_message_set_msgstr(mensaje, e.traduccion.c_str());
      if (!e.comentario.empty()) po_message_set_extracted_comments(mensaje, e.comentario.c_str());
      if (e.difusa) po_message_set_fuzzy(mensaje, 1);
      po_message_insert(it, mensaje);
    }
    po_message_iterator_free(it);
    if (po_file_write(fichero.get(), a_salida ? "-" : temporal.c_str(), &kManejador) == nullptr &&
        fallo.empty())
      fallo = "cannot write";
    error_po = nullptr;
  }
  if (!fallo.empty()) {
    escritura_descarta(temporal);
    *error = ruta + ": " + fallo;
    return false;
  }
  return a_salida || escritura_coloca(temporal, ruta, error);
}

bool po_lee(const std::string &ruta, DocumentoPo *documento, std::string *error) {
  std::string fallo;
  std::lock_guard<std::mutex> guarda(cerrojo_po);
  error_po = &fallo;
  FicheroPo fichero;
  int e;
  {
    [[maybe_unused]] SinComprobarFugas sin_comprobar;
    errno = 0;
    fichero.reset(po_file_read(ruta.c_str(), &kManejador));
    e = errno;
  }
  error_po = nullptr;
  if (fichero == nullptr) {
    *error = "cannot read '" + ruta + "': " + std::system_category().message(e != 0 ? e : EIO);
    return false;
  }
  if (!fallo.empty()) {
    *error = fallo.starts_with(ruta) ? fallo : ruta + ": " + fallo;
    return false;
  }

  *documento = DocumentoPo{};
  // The header comes as a new copy (the declaration's const notwithstanding).
  const TextoC cabecera_copia(const_cast<char *>(po_file_domain_header(fichero.get(), nullptr)));
  if (const char *cabecera_po = cabecera_copia.get()) {
    TextoC tipo(po_header_field(cabecera_po, "Content-Type"));
    if (tipo != nullptr && !juego_aceptado(tipo.get())) {
      *error = ruta + ": the PO file is not in UTF-8 (" + tipo.get() +
               "): convert it with msgconv --to-code=UTF-8";
      return false;
    }
    TextoC pagina(po_header_field(cabecera_po, "X-Lenguaweb-Page"));
    if (pagina != nullptr) documento->pagina = pagina.get();
    TextoC idioma(po_header_field(cabecera_po, "X-Lenguaweb-Language"));
    if (idioma != nullptr) {
      documento->idioma = argumentos_lee_idioma(idioma.get());
      if (!documento->idioma) {
        *error =
            ruta + ": X-Lenguaweb-Language '" + idioma.get() + "' is not a language identifier";
        return false;
      }
    }
  }

  po_message_iterator_t it = po_message_iterator(fichero.get(), nullptr);
  for (po_message_t m = po_next_message(it); m != nullptr; m = po_next_message(it)) {
    const char *contexto = po_message_msgctxt(m);
    const char *id = po_message_msgid(m);
    if (po_message_is_obsolete(m) || (contexto == nullptr && *id == '\0')) continue;
    EntradaPo entrada;
    entrada.contexto = contexto != nullptr ? contexto : "";
    entrada.texto = id;
    entrada.traduccion = po_message_msgstr(m);
    entrada.difusa = po_message_is_fuzzy(m) != 0;
    documento->entradas.push_back(std::move(entrada));
  }
  po_message_iterator_free(it);
  return true;
}

std::string po_compara(const std::vector<EntradaPo> &pagina, const std::vector<EntradaPo> &po) {
  const size_t comunes = std::min(pagina.size(), po.size());
  for (size_t i = 0; i < comunes; ++i) {
    if (pagina[i].contexto == po[i].contexto && pagina[i].texto == po[i].texto) continue;
    return "entry " + std::to_string(i + 1) + " differs: the page has " + describe(pagina[i]) +
           ", the PO file " + describe(po[i]);
  }
  if (po.size() < pagina.size())
    return "entry " + std::to_string(comunes + 1) + " of the page (" + describe(pagina[comunes]) +
           ") is missing: the PO file has " + std::to_string(po.size()) + " entries, the page " +
           std::to_string(pagina.size());
  if (po.size() > pagina.size())
    return "entry " + std::to_string(comunes + 1) + " of the PO file (" + describe(po[comunes]) +
           ") is not in the page: the PO file has " + std::to_string(po.size()) +
           " entries, the page " + std::to_string(pagina.size());
  return {};
}
