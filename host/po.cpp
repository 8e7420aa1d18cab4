// po.cpp - PO files of pages: one entry per text, written and read as a stream, with
// libgettextpo reading what the stream reader does not (and telling what is wrong).
#include "po.h"

#include <gettext-po.h>
#include <iconv.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <utility>

#include "idiomas.h"
#include "informes.h"
#include "marcado.h"
#include "plegado.h"
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

// A message about two entries (a duplicate message definition) names the msgid: the
// reader does not tell where the other entry stands.
void anota_error2(int severidad, po_message_t mensaje, const char *fichero, size_t linea,
                  size_t columna, int varias, const char *texto, po_message_t otro, const char *,
                  size_t, size_t, int, const char *) {
  if (severidad == PO_SEVERITY_WARNING || error_po == nullptr || !error_po->empty()) return;
  anota_error(severidad, mensaje, fichero, linea, columna, varias, texto);
  const char *msgid = otro != nullptr ? po_message_msgid(otro) : nullptr;
  if (msgid != nullptr) *error_po += " of msgid " + po_describe(msgid);
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

// The header. Without the translation's language it is a template's, as xgettext
// writes one: Language empty and the translator's fields left for msginit or a PO editor.
std::string cabecera(const PaginaPo &pagina) {
  const size_t barra = pagina.ruta.rfind('/');
  const std::string_view nombre =
      std::string_view(pagina.ruta).substr(barra == std::string::npos ? 0 : barra + 1);
  const std::string cuando = fecha();
  const bool plantilla = !pagina.traduccion;
  const std::string idioma = plantilla ? ""
                             : !pagina.traduccion_nombre.empty()
                                 ? pagina.traduccion_nombre
                                 : idiomas_nombre(*pagina.traduccion);
  return "Project-Id-Version: " + po_en_una_linea(nombre) + "\nPOT-Creation-Date: " + cuando +
         "\nPO-Revision-Date: " + (plantilla ? "YEAR-MO-DA HO:MI+ZONE" : cuando) +
         (plantilla ? "\nLast-Translator: FULL NAME <EMAIL@ADDRESS>\nLanguage-Team: LANGUAGE "
                      "<LL@li.org>\nLanguage: "
                    : "\nLast-Translator: \nLanguage-Team: \nLanguage: ") +
         idioma +
         "\nMIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\n"
         "Content-Transfer-Encoding: 8bit\nX-Generator: lenguaweb " LENGUAWEB_VERSION_TEXTO
         "\nX-Lenguaweb-Page: " +
         po_en_una_linea(pagina.ruta) +
         (pagina.idioma != 0 ? "\nX-Lenguaweb-Language: " + idiomas_escribe(pagina.idioma)
                             : std::string()) +
         "\nX-Lenguaweb-Segments: " + po_nombre_segmentos(pagina.segmentos) +
         "\nX-Lenguaweb-Markup: " + po_nombre_marcado(pagina.marcado) + "\n";
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

// The charset that a header names, as written; empty when it names none, or UTF-8, which
// the strings are read in as they stand. gettext takes the first "charset=" of the header,
// whatever field holds it ("Content-Typ: ...; charset=ASCII" too), and so does this reader:
// the two never read one file in two charsets. (ASCII is read as a charset of its own: a
// byte above 0x7F in such a file is refused, as gettext refuses it.)
std::string juego_de(std::string_view cabecera) {
  const size_t donde = cabecera.find("charset=");
  if (donde == std::string_view::npos) return {};
  std::string juego(cabecera.substr(donde + 8));
  juego = juego.substr(0, juego.find_first_of(" ;\t\n"));
  std::string mayusculas = juego;
  for (char &c : mayusculas) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (mayusculas == "UTF-8" || mayusculas == "UTF8") return {};
  return juego;
}

// A conversion of strings from a PO file's charset to UTF-8, as gettext's own tools
// convert them (through iconv, which knows every name they write).
class AUtf8 {
 public:
  explicit AUtf8(const std::string &juego)
      : conversor_(juego.empty() ? kNinguno : iconv_open("UTF-8", juego.c_str())) {}
  AUtf8(const AUtf8 &) = delete;
  AUtf8 &operator=(const AUtf8 &) = delete;
  ~AUtf8() {
    if (valido()) iconv_close(conversor_);
  }
  bool valido() const { return conversor_ != kNinguno; }
  // *texto in UTF-8; false, *texto as it was, when it holds a sequence of no character
  // of the charset.
  bool convierte(std::string *texto) {
    iconv(conversor_, nullptr, nullptr, nullptr, nullptr);
    std::string r(texto->size() * 4 + 16, '\0');
    char *entrada = texto->data(), *salida = r.data();
    size_t queda = texto->size(), libre = r.size();
    if (iconv(conversor_, &entrada, &queda, &salida, &libre) == static_cast<size_t>(-1) ||
        iconv(conversor_, nullptr, nullptr, &salida, &libre) == static_cast<size_t>(-1))
      return false;
    r.resize(r.size() - libre);
    *texto = std::move(r);
    return true;
  }

 private:
  static inline const iconv_t kNinguno = reinterpret_cast<iconv_t>(-1);
  iconv_t conversor_;
};

// The fields of a header (the msgstr of the entry with an empty msgid) that a merge
// uses; false with the reason when the file's charset is not one iconv knows, or it names
// no known language for its page or no known segmentation.
bool lee_cabecera(std::string_view texto, const std::string &ruta, CabeceraPo *cabecera,
                  std::string *error) {
  *cabecera = {};
  cabecera->juego = juego_de(texto);
  if (!cabecera->juego.empty() && !AUtf8(cabecera->juego).valido()) {
    *error = ruta + ": the PO file's charset '" + po_en_una_linea(cabecera->juego) +
             "' is not one this system can read: convert it with msgconv --to-code=UTF-8";
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
  if (const auto pagina = campo(texto, "X-Lenguaweb-Page")) cabecera->pagina = *pagina;
  if (const auto segmentos = campo(texto, "X-Lenguaweb-Segments")) {
    cabecera->segmentos = po_lee_segmentos(*segmentos);
    if (!cabecera->segmentos) {
      *error = ruta + ": X-Lenguaweb-Segments '" + std::string(*segmentos) +
               "' is neither blocks nor classic";
      return false;
    }
  }
  if (const auto marcado = campo(texto, "X-Lenguaweb-Markup")) {
    cabecera->marcado = po_lee_marcado(*marcado);
    if (!cabecera->marcado) {
      *error =
          ruta + ": X-Lenguaweb-Markup '" + std::string(*marcado) + "' is neither codes nor full";
      return false;
    }
  }
  // A Language that names no known language (a team's own spelling) tells nothing.
  if (const auto idioma = campo(texto, "Language"); idioma && !idioma->empty()) {
    cabecera->traduccion = idiomas_lee(*idioma);
    if (cabecera->traduccion) cabecera->traduccion_nombre = *idioma;
  }
  return true;
}

// --- The stream reader ---------------------------------------------------------------

constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";

// What gettext's reader takes for blanks between the words and strings of a PO file.
bool es_blanco_po(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view sin_blancos_delante(std::string_view t) {
  while (!t.empty() && es_blanco_po(t[0])) t.remove_prefix(1);
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
  if (std::exchange(lector->primera, false) &&
      std::string_view(lector->linea, largo).starts_with(kMarcaUtf8)) {
    largo -= kMarcaUtf8.size();
    std::memmove(lector->linea, lector->linea + kMarcaUtf8.size(), largo);
  }
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
    // A NUL, and the byte that parts a msgctxt from its msgid, are for libgettextpo to refuse.
    if (codigo == 0 || codigo == 4 || codigo > 0xFF) return false;
    *valor += static_cast<char>(codigo);
  }
  return sin_blancos_delante(t.substr(i)).empty();
}

// The line (from 1) of the first string in a PO file's bytes that holds a NUL, as a byte
// or as an escape (\0, \00, \000, \x0 ...); 0 when none does. Comments hold no string
// that is read.
size_t linea_con_nul(std::string_view bytes) {
  const auto es_octal = [](char c) { return c >= '0' && c <= '7'; };
  for (size_t numero = 1; !bytes.empty(); ++numero) {
    const size_t fin = std::min(bytes.find('\n'), bytes.size());
    const std::string_view linea = sin_blancos_delante(bytes.substr(0, fin));
    bytes.remove_prefix(std::min(fin + 1, bytes.size()));
    if (!linea.empty() && linea[0] == '#') continue;
    bool en_cadena = false;
    for (size_t i = 0; i < linea.size(); ++i) {
      if (linea[i] == '\0') return numero;
      if (linea[i] == '"') en_cadena = !en_cadena;
      if (linea[i] != '\\' || !en_cadena || ++i == linea.size()) continue;
      bool cifras = false, cero = true;
      if (linea[i] == 'x') {
        for (; i + 1 < linea.size() && std::isxdigit(static_cast<unsigned char>(linea[i + 1])); ++i)
          cifras = true, cero = cero && linea[i + 1] == '0';
      } else if (es_octal(linea[i])) {
        cifras = true;
        cero = linea[i] == '0';
        for (int k = 0; k < 2 && i + 1 < linea.size() && es_octal(linea[i + 1]); ++k, ++i)
          cero = cero && linea[i + 1] == '0';
      }
      if (cifras && cero) return numero;
    }
  }
  return 0;
}

enum class Campo { ausente, leido, otra_forma };

// Reads the field that begins with clave on line t, and the string lines that follow it,
// into *valor. ausente, with nothing read, when the line is no such field; otra_forma
// when its strings are not of the form this reader reads.
Campo lee_campo(LectorPo *lector, std::string_view t, std::string_view clave, std::string *valor) {
  if (!t.starts_with(clave) || t.size() == clave.size() || !es_blanco_po(t[clave.size()]))
    return Campo::ausente;
  valor->clear();
  if (!cadena(sin_blancos_delante(t.substr(clave.size())), valor)) return Campo::otra_forma;
  while (siguiente_linea(lector)) {
    // A string goes on past blank lines too.
    const std::string_view siguiente = sin_blancos_delante(linea_de(*lector));
    if (siguiente.empty()) continue;
    if (siguiente[0] != '"') {
      lector->pendiente = true;
      break;
    }
    if (!cadena(siguiente, valor)) return Campo::otra_forma;
  }
  return informes_largo_utf8(*valor) == valor->size() ? Campo::leido : Campo::otra_forma;
}

// Whether a flags comment ("#, fuzzy, c-format") holds the flag "fuzzy". Flags stand apart
// by commas and blanks alike ("#, fuzzy c-format" holds two), as gettext reads them.
bool es_difusa(std::string_view banderas) {
  constexpr std::string_view kEntre = ", \t\r\f\v";
  banderas = banderas.substr(0, banderas.find('\0'));  // where gettext's copy of it ends
  for (size_t i = banderas.find_first_not_of(kEntre); i != std::string_view::npos;) {
    const size_t fin = std::min(banderas.find_first_of(kEntre, i), banderas.size());
    if (banderas.substr(i, fin - i) == "fuzzy") return true;
    i = banderas.find_first_not_of(kEntre, fin);
  }
  return false;
}

// One entry, and whether it had a msgctxt (the header has none). A read may move the
// reader's buffer: a line is looked at again only through linea_de.
LecturaPo lee_entrada(LectorPo *lector, EntradaPo *entrada, bool *con_contexto) {
  entrada->difusa = false;
  std::string_view t;
  for (;;) {
    if (!siguiente_linea(lector)) return LecturaPo::fin;
    t = sin_blancos_delante(linea_de(*lector));
    if (t.empty()) continue;
    if (t[0] != '#') break;
    // An obsolete entry (#~) is no entry of the page's: the comments before its msgstr
    // are its own. Previous strings (#|, #~|) are for the translator. What follows each
    // of these marks is read as a line of its own, as gettext reads it: "#~ #, fuzzy" and
    // "#| #, fuzzy" are flags comments.
    std::string_view linea = t;
    bool obsoleta = false, previa = false;
    while (linea.starts_with("#~") || linea.starts_with("#|")) {
      const bool tilde = linea[1] == '~';
      linea.remove_prefix(2);
      (tilde ? obsoleta : previa) = true;
      if (tilde && linea.starts_with('|')) {  // "#~|"
        previa = true;
        linea.remove_prefix(1);
      }
      linea = sin_blancos_delante(linea);
    }
    if (obsoleta && !previa && linea.starts_with("msgstr")) entrada->difusa = false;
    // Each flags comment says all the flags, as gettext reads them: the last one holds.
    // gettext takes "#!" for a flags comment too ("#!~" after "#, fuzzy" unmakes it).
    if (linea.size() > 1 && linea[0] == '#' && (linea[1] == ',' || linea[1] == '!'))
      entrada->difusa = es_difusa(linea.substr(2));
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

// A kind of text as its identifier names it, and what an entry's comment says of a text
// of that kind that the library gave no origin for.
struct Clase {
  std::string_view id;  // without the "_<index>" that most identifiers end in
  const char *comentario;
};
constexpr Clase kClases[] = {
    {"TITULO", "<title>"},
    {"DESCRIPCION", "content of <meta name=\"description\">"},
    {"PALABRA_CLAVE", "content of <meta name=\"keywords\">"},
    {"TEXTO", nullptr},
    {"ALTERNATIVO_IMAGEN", "alt of <img>"},
    {"TITULO_ELEMENTO", "title of an element"},
    {"EJEMPLO_CAMPO", "placeholder of <input> or <textarea>"},
    {"ETIQUETA_ACCESIBLE", "aria-label of an element"},
    {"RESUMEN_TABLA", "summary of <table>"},
    {"ETIQUETA", "label of <option>, <optgroup> or <track>"},
    {"TEXTO_BOTON", "value of <input>"},
    {"DESCRIPCION_ACCESIBLE", "aria-description of an element"},
    {"ROL_ACCESIBLE", "aria-roledescription of an element"},
    {"EJEMPLO_ACCESIBLE", "aria-placeholder of an element"},
    {"ABREVIATURA_CELDA", "abbr of <th>"},
    {"OG_TITULO", "content of <meta property=\"og:title\">"},
    {"OG_DESCRIPCION", "content of <meta property=\"og:description\">"},
    {"OG_ALTERNATIVO_IMAGEN", "content of <meta property=\"og:image:alt\">"},
    {"OG_NOMBRE_SITIO", "content of <meta property=\"og:site_name\">"},
    {"TWITTER_TITULO", "content of <meta name=\"twitter:title\">"},
    {"TWITTER_DESCRIPCION", "content of <meta name=\"twitter:description\">"},
    {"TWITTER_ALTERNATIVO_IMAGEN", "content of <meta name=\"twitter:image:alt\">"},
};

// The comment of a kind of text, or null.
const char *comentario_de_id(std::string_view id) {
  const size_t barra = id.rfind('_');
  if (barra != std::string_view::npos && barra + 1 < id.size() &&
      id.find_first_not_of("0123456789", barra + 1) == std::string_view::npos)
    id = id.substr(0, barra);
  for (const Clase &c : kClases)
    if (c.id == id) return c.comentario;
  return nullptr;
}

// Which of the two indexes an entry with that msgctxt is in.
size_t indice_de(std::string_view contexto) {
  return contexto.empty() ? 0 : 1;
}

}  // namespace

std::string po_procedencia(const OrigenTexto *origen, const char *id) {
  if (origen == nullptr || origen->elemento.empty()) {
    const char *comentario = id != nullptr ? comentario_de_id(id) : nullptr;
    return comentario != nullptr ? comentario : "";
  }
  return informes_lugar(origen->elemento, origen->atributo);
}

namespace {

// A note to translators as an extracted comment's text: one comment line per line.
std::string comentario_de_nota(std::string_view nota) {
  std::string comentario = "Note: ";
  for (const char c : nota) {
    if (c == '\n')
      comentario += "\n#. ";
    else
      comentario += c == '\r' ? ' ' : c;
  }
  return comentario;
}

}  // namespace

void po_anota_origen(const origen_texto_t *origen, void *contexto) {
  if (origen == nullptr || contexto == nullptr) return;
  auto *origenes = static_cast<OrigenesDePagina *>(contexto);
  if (origen->indice >= origenes->textos.size()) origenes->textos.resize(origen->indice + 1);
  const auto guardado = [&](const char *nombre) -> std::string_view {
    return nombre == nullptr ? std::string_view() : *origenes->nombres.emplace(nombre).first;
  };
  origenes->textos[origen->indice] = {
      .linea = origen->linea,
      .elemento = guardado(origen->elemento),
      .atributo = guardado(origen->atributo),
      .nota = origen->nota == nullptr
                  ? std::string_view()
                  : *origenes->nombres.emplace(comentario_de_nota(origen->nota)).first,
      .sin_traducir = origen->sin_traducir == CIERTO};
}

const char *po_contexto_de(std::string_view id) {
  return id == "PALABRA_CLAVE" ? "keywords" : "";
}

const char *po_nombre_segmentos(segmentacion_t segmentacion) {
  return segmentacion == SEGMENTACION_CLASICA ? "classic" : "blocks";
}

std::optional<segmentacion_t> po_lee_segmentos(std::string_view nombre) {
  if (nombre == "blocks") return SEGMENTACION_BLOQUES;
  if (nombre == "classic") return SEGMENTACION_CLASICA;
  return std::nullopt;
}

const char *po_nombre_marcado(FormaMarcado marcado) {
  return marcado == FormaMarcado::completo ? "full" : "codes";
}

std::optional<FormaMarcado> po_lee_marcado(std::string_view nombre) {
  if (nombre == "codes") return FormaMarcado::codigos;
  if (nombre == "full") return FormaMarcado::completo;
  return std::nullopt;
}

void po_entradas_de_pagina(const lista_cad_t *textos, const lista_cad_t *ids, uint32_t idioma,
                           FormaMarcado marcado, EntradasDePagina *entradas,
                           const OrigenesDePagina *sin_traducir) {
  entradas->marcado = marcado;
  const uint32_t n = std::min(lista_cad_num_elems(textos), lista_cad_num_elems(ids));
  for (uint32_t i = 0; i < n; ++i) {
    if (sin_traducir != nullptr && sin_traducir->de(i) != nullptr &&
        sin_traducir->de(i)->sin_traducir)
      continue;
    char *utf8 = conv_ansi_idioma_a_utf8(lista_cad_dame(textos, i), idioma);
    // The msgid holds the characters a reader sees, not the references that stand for
    // them (those the page's code page lacks come as references from the library too).
    std::string en_caracteres;
    std::string_view texto(utf8);
    if (texto.find('&') != std::string_view::npos)
      texto = en_caracteres = marcado_en_caracteres(texto);
    if (!marcado_tiene_letras(texto)) {
      cad_destruye(&utf8);
      continue;
    }
    const char *id = lista_cad_dame(ids, i);
    const char *contexto = po_contexto_de(id);
    const size_t cual = indice_de(contexto);
    // A body text's markup: its msgid in one form, the other form kept to find it by. With
    // codes, a text in full met before is that entry's, folded once: the fold is kept
    // beside its text for the merge.
    const bool de_cuerpo =
        std::string_view(id).starts_with("TEXTO_") && texto.find('<') != std::string_view::npos;
    const bool codigos_pedidos = marcado == FormaMarcado::codigos;
    uint32_t numero = UINT32_MAX;  // the entry's place in entradas
    uint32_t forma = kTextoSinCodigos;
    bool nueva_forma = false;
    TextoPlegado en_completo;  // with the markup in full: the codes, for the other key
    const TextoPlegado *plegado = nullptr;
    if (de_cuerpo && codigos_pedidos) {
      if (const auto vista = entradas->por_otra_forma[cual].find(texto);
          vista != entradas->por_otra_forma[cual].end()) {
        numero = vista->second.entrada;
        forma = vista->second.forma;
        plegado = &entradas->plegados[forma];
      } else {
        entradas->otras_formas.emplace_back(texto);
        entradas->plegados.push_back(plegado_pliega(entradas->otras_formas.back()));
        if (entradas->plegados.back().codigos.empty()) {
          entradas->plegados.pop_back();
          entradas->otras_formas.pop_back();
        } else {
          forma = static_cast<uint32_t>(entradas->otras_formas.size() - 1);
          plegado = &entradas->plegados.back();
          nueva_forma = true;
        }
      }
    } else if (de_cuerpo && !(en_completo = plegado_pliega(texto)).codigos.empty()) {
      plegado = &en_completo;
    }
    const bool con_codigos = plegado != nullptr && codigos_pedidos;
    const std::string_view msgid = con_codigos ? std::string_view(plegado->texto) : texto;
    if (numero == UINT32_MAX && (contexto[0] == '\0' || std::string_view(contexto) == "keywords")) {
      if (const auto hallada = entradas->indice[cual].find(msgid);
          hallada != entradas->indice[cual].end())
        numero = hallada->second;
    }
    if (numero == UINT32_MAX) {
      EntradaPo &nueva = entradas->entradas.emplace_back();
      nueva.contexto = contexto;
      nueva.texto = msgid;
      if (con_codigos) nueva.codigos = plegado_describe(*plegado);
      numero = static_cast<uint32_t>(entradas->entradas.size() - 1);
      entradas->indice[cual].emplace(nueva.texto, numero);
    }
    EntradaPo *entrada = &entradas->entradas[numero];
    // Found by the other form: the text in full under codes, the codes under full markup.
    if (nueva_forma) {
      entradas->por_otra_forma[cual].emplace(entradas->otras_formas[forma],
                                             EntradasDePagina::OtraForma{numero, forma});
    } else if (plegado != nullptr && !codigos_pedidos &&
               !entradas->por_otra_forma[cual].contains(plegado->texto)) {
      entradas->otras_formas.push_back(std::move(en_completo.texto));
      entradas->plegados.emplace_back();  // kept beside its text, unused in full form
      entradas->por_otra_forma[cual].emplace(
          entradas->otras_formas.back(),
          EntradasDePagina::OtraForma{numero,
                                      static_cast<uint32_t>(entradas->otras_formas.size() - 1)});
    }
    // A text in full among texts with codes (an attribute that reads as one) has no form.
    if (con_codigos || !entrada->formas.empty()) {
      entrada->formas.resize(entrada->indices.size(), kTextoSinCodigos);
      entrada->formas.push_back(forma);
    }
    entrada->indices.push_back(i);
    ++entradas->textos;
    cad_destruye(&utf8);
  }
}

EntradaPo *po_busca_otra_forma(EntradasDePagina *entradas, std::string_view contexto,
                               std::string_view texto, std::string *traduccion) {
  if (!contexto.empty() && contexto != "keywords") return nullptr;
  const size_t cual = indice_de(contexto);
  std::string en_caracteres;
  if (texto.find('&') != std::string_view::npos) {
    en_caracteres = marcado_en_caracteres(texto);
    if (en_caracteres != texto) {
      if (EntradaPo *e = po_busca(entradas, contexto, en_caracteres); e != nullptr) return e;
      texto = en_caracteres;
    }
  }
  const auto otra = entradas->por_otra_forma[cual].find(texto);
  if (otra == entradas->por_otra_forma[cual].end()) return nullptr;
  EntradaPo &e = entradas->entradas[otra->second.entrada];
  if (!traduccion->empty()) {
    // With codes in the page's msgid, the PO file's markup in full folds into them; in
    // full in the page's, the PO file's codes unfold.
    const bool con_codigos = entradas->marcado == FormaMarcado::codigos;
    *traduccion = con_codigos
                      ? plegado_repliega(entradas->plegados[otra->second.forma], *traduccion)
                      : plegado_despliega(plegado_pliega(e.texto), *traduccion);
  }
  return &e;
}

std::string po_traduccion_completa(const EntradasDePagina &entradas, const EntradaPo &e, size_t k,
                                   std::string *completo) {
  if (k >= e.formas.size() || e.formas[k] == kTextoSinCodigos) {
    *completo = e.texto;
    return e.traduccion;
  }
  *completo = entradas.otras_formas[e.formas[k]];
  return plegado_despliega(entradas.plegados[e.formas[k]], e.traduccion);
}

const EntradaPo *po_busca(const EntradasDePagina &entradas, std::string_view contexto,
                          std::string_view texto) {
  if (!contexto.empty() && contexto != "keywords") return nullptr;
  const auto &indice = entradas.indice[indice_de(contexto)];
  const auto hallada = indice.find(texto);
  return hallada == indice.end() ? nullptr : &entradas.entradas[hallada->second];
}

EntradaPo *po_busca(EntradasDePagina *entradas, std::string_view contexto, std::string_view texto) {
  return const_cast<EntradaPo *>(po_busca(std::as_const(*entradas), contexto, texto));
}

namespace {

// Adds to *procedencias the kinds of element or attribute the texts of e come from (each
// once), and to *lineas " page:line" for the line of each (once per line in a row).
void describe(const PaginaPo &pagina, const std::string &referencia, const EntradaPo &e,
              std::vector<std::string> *procedencias, std::string *lineas) {
  uint32_t ultima = 0;
  for (uint32_t i : e.indices) {
    const OrigenTexto *origen = pagina.origenes != nullptr ? pagina.origenes->de(i) : nullptr;
    std::string de =
        po_procedencia(origen, pagina.ids != nullptr ? lista_cad_dame(pagina.ids, i) : nullptr);
    if (!de.empty() &&
        std::find(procedencias->begin(), procedencias->end(), de) == procedencias->end())
      procedencias->push_back(std::move(de));
    if (!e.codigos.empty() &&
        std::find(procedencias->begin(), procedencias->end(), e.codigos) == procedencias->end())
      procedencias->push_back(e.codigos);
    // The page's note to its translators, as its comment.
    if (origen != nullptr && !origen->nota.empty() &&
        std::find(procedencias->begin(), procedencias->end(), origen->nota) == procedencias->end())
      procedencias->emplace_back(origen->nota);
    if (origen != nullptr && origen->linea != 0 && origen->linea != ultima) {
      lineas->append(" ").append(referencia).append(":").append(std::to_string(origen->linea));
      ultima = origen->linea;
    }
  }
  if (lineas->empty()) lineas->append(" ").append(referencia);
}

// One entry as gettext's tools write it: extracted comments, references, strings.
void anade_entrada(std::string *bytes, const std::vector<std::string> &procedencias,
                   std::string_view lineas, std::string_view contexto, std::string_view texto,
                   std::string_view traduccion) {
  bytes->append("\n");
  for (const std::string &de : procedencias) bytes->append("#. ").append(de).append("\n");
  bytes->append("#:").append(lineas).append("\n");
  if (!contexto.empty()) anade_campo(bytes, "msgctxt", contexto);
  anade_campo(bytes, "msgid", texto);
  anade_campo(bytes, "msgstr", traduccion);
}

// Opens ruta and writes the header of pagina; false with the reason in *error.
bool abre_con_cabecera(Salida *salida, const std::string &ruta, const PaginaPo &pagina,
                       std::string *error) {
  if (!salida_abre(salida, ruta, error)) return false;
  std::string bytes = pagina.traduccion ? "msgid \"\"\n" : "#, fuzzy\nmsgid \"\"\n";
  anade_campo(&bytes, "msgstr", cabecera(pagina));
  salida_anade(salida, bytes);
  return true;
}

}  // namespace

bool po_graba(const std::string &ruta, const PaginaPo &pagina, const EntradasDePagina &entradas,
              std::string *error) {
  Salida salida;
  if (!abre_con_cabecera(&salida, ruta, pagina, error)) return false;
  const std::string referencia = po_en_una_linea(pagina.ruta);
  std::vector<std::string> procedencias;
  std::string bytes, lineas;
  for (const EntradaPo &e : entradas.entradas) {
    procedencias.clear();
    lineas.clear();
    describe(pagina, referencia, e, &procedencias, &lineas);
    bytes.clear();
    anade_entrada(&bytes, procedencias, lineas, e.contexto, e.texto, e.traduccion);
    salida_anade(&salida, bytes);
  }
  return salida_termina(&salida, error);
}

std::vector<EntradaDescrita> po_describe_entradas(const PaginaPo &pagina,
                                                  const EntradasDePagina &entradas) {
  const std::string referencia = po_en_una_linea(pagina.ruta);
  std::vector<EntradaDescrita> descritas(entradas.entradas.size());
  for (size_t k = 0; k < descritas.size(); ++k) {
    const EntradaPo &e = entradas.entradas[k];
    descritas[k].contexto = e.contexto;
    descritas[k].texto = e.texto;
    describe(pagina, referencia, e, &descritas[k].procedencias, &descritas[k].referencias);
  }
  return descritas;
}

void po_une_al_catalogo(CatalogoPo *catalogo, std::vector<EntradaDescrita> &&de_pagina) {
  for (EntradaDescrita &e : de_pagina) {
    auto &indice = catalogo->indice[indice_de(e.contexto)];
    const auto hallada = indice.find(e.texto);
    if (hallada == indice.end()) {
      // The key is the entry's own msgid, which the deque never moves.
      const EntradaDescrita &nueva = catalogo->entradas.emplace_back(std::move(e));
      indice.emplace(nueva.texto, catalogo->entradas.size() - 1);
      continue;
    }
    EntradaDescrita &unida = catalogo->entradas[hallada->second];
    for (std::string &de : e.procedencias)
      if (std::find(unida.procedencias.begin(), unida.procedencias.end(), de) ==
          unida.procedencias.end())
        unida.procedencias.push_back(std::move(de));
    unida.referencias.append(e.referencias);
  }
}

bool po_graba_catalogo(const std::string &ruta, const PaginaPo &cabecera_de,
                       const CatalogoPo &catalogo, std::string *error) {
  Salida salida;
  if (!abre_con_cabecera(&salida, ruta, cabecera_de, error)) return false;
  std::string bytes;
  for (const EntradaDescrita &e : catalogo.entradas) {
    bytes.clear();
    anade_entrada(&bytes, e.procedencias, e.referencias, e.contexto, e.texto, {});
    salida_anade(&salida, bytes);
  }
  return salida_termina(&salida, error);
}

bool po_graba_compendio(const std::string &ruta, const std::vector<EntradaPo> &entradas,
                        std::string *error) {
  Salida salida;
  if (!salida_abre(&salida, ruta, error)) return false;
  std::string bytes = "msgid \"\"\n";
  anade_campo(&bytes, "msgstr", "Content-Type: text/plain; charset=UTF-8\n");
  for (const EntradaPo &e : entradas) {
    bytes.append(e.difusa ? "\n#, fuzzy\n" : "\n");
    if (e.con_contexto || !e.contexto.empty()) anade_campo(&bytes, "msgctxt", e.contexto);
    anade_campo(&bytes, "msgid", e.texto);
    anade_campo(&bytes, "msgstr", e.traduccion);
  }
  salida_anade(&salida, bytes);
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
  if (!lee_cabecera(primera.traduccion, ruta, cabecera, error)) return LecturaPo::fallo;
  // Strings in another charset are read whole by libgettextpo, which knows its bytes.
  return cabecera->juego.empty() ? LecturaPo::entrada : LecturaPo::otra_forma;
}

LecturaPo po_lee_entrada(LectorPo *lector, EntradaPo *entrada) {
  bool con_contexto = false;
  const LecturaPo leida = lee_entrada(lector, entrada, &con_contexto);
  if (leida != LecturaPo::entrada) return leida;
  entrada->con_contexto = con_contexto;
  // A second header, and an entry that may have come before, are for libgettextpo to
  // refuse, naming the entry.
  if (!con_contexto && entrada->texto.empty()) return LecturaPo::otra_forma;
  const std::string clave = entrada->contexto + (con_contexto ? "\x04" : "") + entrada->texto;
  if (!lector->leidas.insert(std::hash<std::string>{}(clave)).second) return LecturaPo::otra_forma;
  return leida;
}

bool po_lee(const std::string &ruta, CabeceraPo *cabecera, std::vector<EntradaPo> *entradas,
            std::string *error) {
  PoSinMarca sin_marca;
  if (!po_sin_marca(ruta, &sin_marca, error)) return false;
  std::string fallo;
  std::lock_guard<std::mutex> guarda(cerrojo_po);
  error_po = &fallo;
  FicheroPo fichero;
  int e;
  {
    [[maybe_unused]] SinComprobarFugas sin_comprobar;
    errno = 0;
    fichero.reset(po_file_read(sin_marca.ruta().c_str(), &kManejador));
    e = errno;
  }
  error_po = nullptr;
  if (fichero == nullptr) {
    *error = "cannot read '" + ruta + "': " + std::system_category().message(e != 0 ? e : EIO);
    return false;
  }
  fallo = po_nombra_original(sin_marca, std::move(fallo));
  // libgettextpo ends a string at a NUL and says nothing: the rest of a translation would
  // be lost, and a msgid cut short could match another text.
  if (const size_t linea = linea_con_nul(sin_marca.bytes); fallo.empty() && linea != 0)
    fallo = ruta + ":" + std::to_string(linea) +
            ": a string holds a NUL character, which no text of a page can hold";
  if (!fallo.empty()) {
    *error = fallo.starts_with(ruta) ? fallo : ruta + ": " + fallo;
    return false;
  }
  // The header comes as a new copy (the declaration's const notwithstanding).
  const TextoC cabecera_copia(const_cast<char *>(po_file_domain_header(fichero.get(), nullptr)));
  if (!lee_cabecera(cabecera_copia != nullptr ? cabecera_copia.get() : "", ruta, cabecera, error))
    return false;

  entradas->clear();
  AUtf8 a_utf8(cabecera->juego);
  po_message_iterator_t it = po_message_iterator(fichero.get(), nullptr);
  for (po_message_t m = po_next_message(it); m != nullptr; m = po_next_message(it)) {
    const char *contexto = po_message_msgctxt(m);
    const char *id = po_message_msgid(m);
    if (po_message_is_obsolete(m) || (contexto == nullptr && *id == '\0')) continue;
    EntradaPo entrada;
    entrada.contexto = contexto != nullptr ? contexto : "";
    entrada.con_contexto = contexto != nullptr;
    entrada.texto = id;
    entrada.traduccion = po_message_msgstr(m);
    entrada.difusa = po_message_is_fuzzy(m) != 0;
    // Without a charset of its own a file is read in UTF-8, as this command writes it:
    // bytes of another charset are refused, not guessed at.
    const auto en_utf8 = [](const std::string &t) { return informes_largo_utf8(t) == t.size(); };
    if (a_utf8.valido()
            ? !(a_utf8.convierte(&entrada.contexto) && a_utf8.convierte(&entrada.texto) &&
                a_utf8.convierte(&entrada.traduccion))
            : !(en_utf8(entrada.contexto) && en_utf8(entrada.texto) &&
                en_utf8(entrada.traduccion))) {
      *error =
          ruta + ": the entry " + po_describe(entrada.texto) + " holds bytes that are not " +
          (a_utf8.valido() ? po_en_una_linea(cabecera->juego) + ", the charset its header names"
                           : std::string("UTF-8, and its header names no other charset"));
      entradas->clear();
      po_message_iterator_free(it);
      return false;
    }
    entradas->push_back(std::move(entrada));
  }
  po_message_iterator_free(it);
  return true;
}

bool po_lee_cabecera(const std::string &ruta, CabeceraPo *cabecera, std::string *error) {
  LectorPo lector;
  switch (po_abre(ruta, &lector, cabecera, error)) {
    case LecturaPo::fallo:
      return false;
    case LecturaPo::otra_forma: {
      std::vector<EntradaPo> entradas;
      return po_lee(ruta, cabecera, &entradas, error);
    }
    default:
      return true;
  }
}

PoSinMarca::~PoSinMarca() {
  if (!copia.empty()) ::unlink(copia.c_str());
}

bool po_sin_marca(const std::string &ruta, PoSinMarca *sin, std::string *error) {
  sin->original = ruta;
  std::FILE *f = std::fopen(ruta.c_str(), "rbe");
  bool leido = f != nullptr;
  char bloque[64 * 1024];
  for (size_t n; leido && (n = std::fread(bloque, 1, sizeof bloque, f)) > 0;)
    sin->bytes.append(bloque, n);
  if (leido) leido = std::ferror(f) == 0;
  const int e = errno;
  if (f != nullptr) std::fclose(f);
  if (!leido) {
    *error = "cannot read '" + ruta + "': " + std::system_category().message(e);
    return false;
  }
  if (!std::string_view(sin->bytes).starts_with(kMarcaUtf8)) return true;
  sin->bytes.erase(0, kMarcaUtf8.size());
  static std::atomic<uint64_t> copias{0};
  const std::string nombre = "sin-marca-" + std::to_string(copias++) + ".po";
  char *copia = utilidades_ruta_fichero(nombre.c_str());
  sin->copia = copia;
  cad_destruye(&copia);
  Salida salida;
  if (salida_abre(&salida, sin->copia, error)) {
    salida_anade(&salida, sin->bytes);
    if (salida_termina(&salida, error)) return true;
  }
  sin->copia.clear();
  return false;
}

std::string po_nombra_original(const PoSinMarca &sin, std::string mensaje) {
  if (sin.copia.empty()) return mensaje;
  for (size_t i = mensaje.find(sin.copia); i != std::string::npos;
       i = mensaje.find(sin.copia, i + sin.original.size()))
    mensaje.replace(i, sin.copia.size(), sin.original);
  return mensaje;
}

std::string po_en_una_linea(std::string_view texto) {
  std::string r = informes_escapa(texto);
  for (char &c : r)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  return r;
}

std::string po_describe(std::string_view texto) {
  constexpr size_t kMaximo = 60;
  const bool cortado = texto.size() > kMaximo;
  if (cortado) {
    size_t corte = kMaximo;
    while (corte > 0 && (static_cast<unsigned char>(texto[corte]) & 0xC0) == 0x80) --corte;
    texto = texto.substr(0, corte);
  }
  std::string r = "\"";
  escapa(&r, texto);
  r.append(cortado ? "...\"" : "\"");
  return r;
}
