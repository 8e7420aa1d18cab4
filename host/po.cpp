// po.cpp - PO files of pages: one entry per text, written and read as a stream, with
// libgettextpo reading what the stream reader does not (and telling what is wrong).
#include "po.h"

#include <gettext-po.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>

#include "idiomas.h"
#include "informes.h"
#include "salida.h"

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

// libgettextpo keeps its reader's state in globals.
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
// summary ("found N fatal errors").
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
  if (id.starts_with("TITULO_ELEMENTO_")) return "title of <element>: TIPO_TITULO_ELEMENTO";
  if (id.starts_with("EJEMPLO_CAMPO_")) return "placeholder of <input>: TIPO_EJEMPLO_CAMPO";
  if (id.starts_with("ETIQUETA_ACCESIBLE_"))
    return "aria-label of <element>: TIPO_ETIQUETA_ACCESIBLE";
  if (id.starts_with("RESUMEN_TABLA_")) return "summary of <table>: TIPO_RESUMEN_TABLA";
  if (id.starts_with("ETIQUETA_")) return "label of <option>: TIPO_ETIQUETA";
  if (id.starts_with("TEXTO_BOTON_")) return "value of <input>: TIPO_TEXTO_BOTON";
  return "TIPO_TEXTO: a body text";
}

// Whether id ends in "_" and the text's index (TEXTO_12 at 12): such an identifier
// cannot repeat, and need not be counted.
bool lleva_su_indice(std::string_view id, uint32_t indice) {
  char cifras[16];
  const int n = std::snprintf(cifras, sizeof cifras, "_%u", static_cast<unsigned>(indice));
  return id.ends_with(std::string_view(cifras, static_cast<size_t>(n)));
}

// A header value on one line and in UTF-8: control characters would end the field, and
// a file name's bytes need not be UTF-8.
std::string en_una_linea(std::string_view texto) {
  std::string r = informes_escapa(texto);
  for (char &c : r)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  return r;
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
  const std::string_view nombre =
      std::string_view(pagina).substr(barra == std::string::npos ? 0 : barra + 1);
  const std::string cuando = fecha();
  return "Project-Id-Version: " + en_una_linea(nombre) + "\nPOT-Creation-Date: " + cuando +
         "\nPO-Revision-Date: " + cuando +
         "\nLast-Translator: \nLanguage-Team: \nLanguage: " + idiomas_nombre(idioma) +
         "\nMIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\n"
         "Content-Transfer-Encoding: 8bit\nX-Generator: lenguaweb " LENGUAWEB_VERSION_TEXTO
         "\nX-Lenguaweb-Page: " +
         en_una_linea(pagina) + "\nX-Lenguaweb-Language: " + idiomas_escribe(idioma) + "\n";
}

// The C escapes of PO strings, for the writer and the reader alike: the letter that
// stands for each byte that a string cannot hold as it is ('o': written in octal), and
// the byte that each letter stands for (0: none).
struct Escapes {
  char de_byte[256] = {};
  char de_letra[256] = {};
  constexpr Escapes() {
    for (int c = 0; c < 0x20; ++c) de_byte[c] = 'o';
    de_byte[0x7F] = 'o';
    constexpr char kPares[][2] = {{'\n', 'n'}, {'\t', 't'}, {'\r', 'r'}, {'\a', 'a'}, {'\b', 'b'},
                                  {'\f', 'f'}, {'\v', 'v'}, {'"', '"'},  {'\\', '\\'}};
    for (const auto &par : kPares) {
      de_byte[static_cast<unsigned char>(par[0])] = par[1];
      de_letra[static_cast<unsigned char>(par[1])] = par[0];
    }
  }
};
constexpr Escapes kEscapes;

void escapa(std::string *b, std::string_view texto) {
  size_t desde = 0;
  for (size_t i = 0; i < texto.size(); ++i) {
    const auto c = static_cast<unsigned char>(texto[i]);
    const char escape = kEscapes.de_byte[c];
    if (escape == 0) continue;
    b->append(texto.substr(desde, i - desde));
    desde = i + 1;
    *b += '\\';
    if (escape != 'o') {
      *b += escape;
      continue;
    }
    *b += static_cast<char>('0' + (c >> 6));
    *b += static_cast<char>('0' + ((c >> 3) & 7));
    *b += static_cast<char>('0' + (c & 7));
  }
  b->append(texto.substr(desde));
}

// A keyword and its string. A string with a line feed before its end goes on one line
// per line of text, after an empty first one, as gettext's tools write it; lines are
// not wrapped otherwise.
void anade_campo(std::string *b, const char *clave, std::string_view texto) {
  *b += clave;
  const size_t salto = texto.find('\n');
  if (salto == std::string_view::npos || salto + 1 == texto.size()) {
    *b += " \"";
    escapa(b, texto);
    *b += "\"\n";
    return;
  }
  *b += " \"\"\n";
  while (!texto.empty()) {
    const size_t fin = std::min(texto.find('\n'), texto.size() - 1) + 1;
    *b += '"';
    escapa(b, texto.substr(0, fin));
    *b += "\"\n";
    texto.remove_prefix(fin);
  }
}

// The value of a header field ("Name: value" on a line of its own), or nullopt.
std::optional<std::string_view> campo(std::string_view cabecera, std::string_view nombre) {
  while (!cabecera.empty()) {
    const size_t fin = std::min(cabecera.find('\n'), cabecera.size());
    std::string_view linea = cabecera.substr(0, fin);
    cabecera.remove_prefix(std::min(fin + 1, cabecera.size()));
    if (linea.size() <= nombre.size() || !linea.starts_with(nombre) || linea[nombre.size()] != ':')
      continue;
    linea.remove_prefix(nombre.size() + 1);
    while (!linea.empty() && (linea[0] == ' ' || linea[0] == '\t')) linea.remove_prefix(1);
    return linea;
  }
  return std::nullopt;
}

bool juego_aceptado(std::string_view tipo) {
  const size_t donde = tipo.find("charset=");
  if (donde == std::string_view::npos) return true;
  std::string juego(tipo.substr(donde + 8));
  juego = juego.substr(0, juego.find_first_of(" ;\t"));
  for (char &c : juego) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return juego == "UTF-8" || juego == "UTF8" || juego == "ASCII" || juego == "US-ASCII";
}

// The fields of a header (the msgstr of the entry with an empty msgid) that a merge
// uses; false with the reason when the file is not in UTF-8 or names no known language.
bool lee_cabecera(std::string_view texto, const std::string &ruta, CabeceraPo *cabecera,
                  std::string *error) {
  *cabecera = {};
  if (const auto tipo = campo(texto, "Content-Type"); tipo && !juego_aceptado(*tipo)) {
    *error = ruta + ": the PO file is not in UTF-8 (" + std::string(*tipo) +
             "): convert it with msgconv --to-code=UTF-8";
    return false;
  }
  if (const auto idioma = campo(texto, "X-Lenguaweb-Language")) {
    cabecera->idioma = idiomas_lee(*idioma);
    if (!cabecera->idioma) {
      *error =
          ruta + ": X-Lenguaweb-Language '" + std::string(*idioma) + "' is not a known language";
      return false;
    }
  }
  return true;
}

// --- The stream reader ---------------------------------------------------------------

std::string_view sin_blancos_delante(std::string_view t) {
  while (!t.empty() && (t[0] == ' ' || t[0] == '\t')) t.remove_prefix(1);
  return t;
}

// The next line, without its line end, into lector->linea; false at the end of the file
// (a read error too: libgettextpo, reading again, names it).
bool siguiente_linea(LectorPo *lector) {
  if (lector->pendiente) {
    lector->pendiente = false;
    return true;
  }
  const ssize_t n = ::getline(&lector->linea, &lector->capacidad, lector->fichero);
  if (n < 0) return false;
  size_t largo = static_cast<size_t>(n);
  if (largo > 0 && lector->linea[largo - 1] == '\n') --largo;
  if (largo > 0 && lector->linea[largo - 1] == '\r') --largo;
  lector->largo = largo;
  return true;
}

std::string_view linea_de(const LectorPo &lector) {
  return {lector.linea, lector.largo};
}

// Appends the string that t opens with (its '"' first) to *valor, unescaped; false when
// it is not one that this reader reads, or when anything but blanks follows it.
bool cadena(std::string_view t, std::string *valor) {
  if (t.empty() || t[0] != '"') return false;
  size_t i = 1;
  for (;;) {
    const size_t especial = t.find_first_of("\"\\", i);
    if (especial == std::string_view::npos) return false;
    for (size_t k = i; k < especial; ++k)
      if (static_cast<unsigned char>(t[k]) < 0x20 && t[k] != '\t') return false;
    valor->append(t.substr(i, especial - i));
    i = especial + 1;
    if (t[especial] == '"') break;
    if (i >= t.size()) return false;
    const char c = t[i++];
    if (const char byte = kEscapes.de_letra[static_cast<unsigned char>(c)]; byte != 0) {
      *valor += byte;
      continue;
    }
    if (c < '0' || c > '7') return false;
    unsigned codigo = static_cast<unsigned>(c - '0');
    for (int k = 0; k < 2 && i < t.size() && t[i] >= '0' && t[i] <= '7'; ++k)
      codigo = codigo * 8 + static_cast<unsigned>(t[i++] - '0');
    if (codigo == 0 || codigo > 0xFF) return false;
    *valor += static_cast<char>(codigo);
  }
  return sin_blancos_delante(t.substr(i)).empty();
}

enum class Campo { ausente, leido, otra_forma };

// Reads the field that begins with clave on line t, and the string lines that follow it,
// into *valor. ausente, with nothing read, when the line is no such field; otra_forma
// when its strings are not of the form this reader reads.
Campo lee_campo(LectorPo *lector, std::string_view t, std::string_view clave, std::string *valor) {
  if (!t.starts_with(clave) || t.size() == clave.size() ||
      (t[clave.size()] != ' ' && t[clave.size()] != '\t'))
    return Campo::ausente;
  valor->clear();
  if (!cadena(sin_blancos_delante(t.substr(clave.size())), valor)) return Campo::otra_forma;
  while (siguiente_linea(lector)) {
    const std::string_view siguiente = sin_blancos_delante(linea_de(*lector));
    if (siguiente.empty() || siguiente[0] != '"') {
      lector->pendiente = true;
      break;
    }
    if (!cadena(siguiente, valor)) return Campo::otra_forma;
  }
  return informes_largo_utf8(*valor) == valor->size() ? Campo::leido : Campo::otra_forma;
}

// Whether a flags comment ("#, fuzzy, c-format") holds the flag "fuzzy".
bool es_difusa(std::string_view banderas) {
  while (!banderas.empty()) {
    const size_t coma = std::min(banderas.find(','), banderas.size());
    std::string_view bandera = sin_blancos_delante(banderas.substr(0, coma));
    while (!bandera.empty() && (bandera.back() == ' ' || bandera.back() == '\t'))
      bandera.remove_suffix(1);
    if (bandera == "fuzzy") return true;
    banderas.remove_prefix(std::min(coma + 1, banderas.size()));
  }
  return false;
}

// One entry, and whether it had a msgctxt (the header has none). A read may move the
// reader's buffer: a line is looked at again only through linea_de.
LecturaPo lee_entrada(LectorPo *lector, EntradaPo *entrada, bool *con_contexto) {
  entrada->difusa = false;
  entrada->comentario = nullptr;
  std::string_view t;
  for (;;) {
    if (!siguiente_linea(lector)) return LecturaPo::fin;
    t = sin_blancos_delante(linea_de(*lector));
    if (t.empty()) continue;
    if (t[0] != '#') break;
    // Obsolete entries (#~) and previous strings (#|) are PO syntax of their own.
    if (t.size() > 1 && (t[1] == '~' || t[1] == '|')) return LecturaPo::otra_forma;
    if (t.size() > 1 && t[1] == ',' && es_difusa(t.substr(2))) entrada->difusa = true;
  }
  const Campo contexto = lee_campo(lector, t, "msgctxt", &entrada->contexto);
  if (contexto == Campo::otra_forma) return LecturaPo::otra_forma;
  // Each field leaves the line after it in the buffer, to be read again.
  *con_contexto = contexto == Campo::leido;
  if (!*con_contexto) {
    entrada->contexto.clear();
    lector->pendiente = true;
  }
  if (!siguiente_linea(lector) ||
      lee_campo(lector, sin_blancos_delante(linea_de(*lector)), "msgid", &entrada->texto) !=
          Campo::leido ||
      !siguiente_linea(lector) ||
      lee_campo(lector, sin_blancos_delante(linea_de(*lector)), "msgstr", &entrada->traduccion) !=
          Campo::leido)
    return LecturaPo::otra_forma;
  return LecturaPo::entrada;
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

bool po_siguiente_de_pagina(EntradasDePagina *pagina, EntradaPo *entrada) {
  const uint32_t n =
      std::min(lista_cad_num_elems(pagina->textos), lista_cad_num_elems(pagina->ids));
  while (pagina->siguiente < n) {
    const uint32_t i = pagina->siguiente++;
    const char *id = lista_cad_dame(pagina->ids, i);
    const uint32_t vez = lleva_su_indice(id, i) ? 1 : ++pagina->vistas[id];
    const char *texto = lista_cad_dame(pagina->textos, i);
    if (cad_en_blanco(texto) == CIERTO) continue;
    entrada->contexto.assign(id);
    if (vez > 1) entrada->contexto.append("#").append(std::to_string(vez));
    char *utf8 = conv_ansi_idioma_a_utf8(texto, pagina->idioma);
    entrada->texto.assign(utf8);
    cad_destruye(&utf8);
    entrada->traduccion.clear();
    entrada->comentario = comentario_de(id);
    entrada->difusa = false;
    entrada->indice = i;
    return true;
  }
  return false;
}

bool po_graba(const std::string &ruta, const std::string &pagina, uint32_t idioma,
              const lista_cad_t *textos, const lista_cad_t *ids, std::string *error) {
  Salida salida;
  if (!salida_abre(&salida, ruta, error)) return false;
  std::string bytes = "msgid \"\"\n";
  anade_campo(&bytes, "msgstr", cabecera(pagina, idioma));
  salida_anade(&salida, bytes);
  EntradasDePagina entradas{.textos = textos, .ids = ids, .idioma = idioma};
  EntradaPo e;
  while (po_siguiente_de_pagina(&entradas, &e)) {
    bytes.assign("\n#. ").append(e.comentario).append("\n");
    anade_campo(&bytes, "msgctxt", e.contexto);
    anade_campo(&bytes, "msgid", e.texto);
    anade_campo(&bytes, "msgstr", e.traduccion);
    salida_anade(&salida, bytes);
  }
  return salida_termina(&salida, error);
}

LectorPo::~LectorPo() {
  std::free(linea);
  if (fichero != nullptr) std::fclose(fichero);
}

LecturaPo po_abre(const std::string &ruta, LectorPo *lector, CabeceraPo *cabecera,
                  std::string *error) {
  lector->ruta = ruta;
  lector->fichero = std::fopen(ruta.c_str(), "re");
  if (lector->fichero == nullptr) {
    *error = "cannot read '" + ruta + "': " + std::system_category().message(errno);
    return LecturaPo::fallo;
  }
  EntradaPo primera;
  bool con_contexto = false;
  const LecturaPo leida = lee_entrada(lector, &primera, &con_contexto);
  // A file without a header, or with another first entry, goes to libgettextpo.
  if (leida != LecturaPo::entrada || con_contexto || !primera.texto.empty())
    return LecturaPo::otra_forma;
  return lee_cabecera(primera.traduccion, ruta, cabecera, error) ? LecturaPo::entrada
                                                                 : LecturaPo::fallo;
}

LecturaPo po_lee_entrada(LectorPo *lector, EntradaPo *entrada) {
  bool con_contexto = false;
  const LecturaPo leida = lee_entrada(lector, entrada, &con_contexto);
  // A second header is for libgettextpo to refuse.
  if (leida == LecturaPo::entrada && !con_contexto && entrada->texto.empty())
    return LecturaPo::otra_forma;
  return leida;
}

bool po_lee(const std::string &ruta, CabeceraPo *cabecera, std::vector<EntradaPo> *entradas,
            std::string *error) {
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
  // The header comes as a new copy (the declaration's const notwithstanding).
  const TextoC cabecera_copia(const_cast<char *>(po_file_domain_header(fichero.get(), nullptr)));
  if (!lee_cabecera(cabecera_copia != nullptr ? cabecera_copia.get() : "", ruta, cabecera, error))
    return false;

  entradas->clear();
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
    entradas->push_back(std::move(entrada));
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
