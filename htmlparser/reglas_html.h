/* reglas_html.h - how every reader of a page reads HTML: blanks, tags, values, entities. */
#ifndef HTMLPARSER_REGLAS_HTML_H
#define HTMLPARSER_REGLAS_HTML_H

/* Internal to the library, never installed. The tag scanner, page segmentation, the
 * rebuild, the attribute and link finders, the escaping of texts and the normalising
 * of texts all read a page through these rules, so that changing a rule here changes it
 * for every one of them; the command reads through the same rules behind
 * reglas_compartidas.h, as it cannot include this header. */

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "htmlparser/elementos.h"
#include "htmlparser/referencias.h"
#include "privado/ascii.h"
#include "privado/blancos.h"

namespace htmlparser {

inline constexpr size_t kNoEsta = std::string_view::npos;

/* ---- Texts as the rules read them ----------------------------------------------------
 * A rule reads a text through acaba_en(i) (whether offset i is the end), en(i) (the
 * character at i, not at the end) and busca(desde, c) (the offset of the first c at or
 * after desde, or of the end; desde not past the end). Nothing is copied: a text points
 * into its caller's characters and is valid while they are. */

/* busca_hasta(desde, hasta, c) is the offset of the first c in [desde, hasta), or hasta;
 * hasta not past the end. sin_comilla remembers, for '"' and '\'', an offset from which
 * that quote stands nowhere (kNoEsta while unknown): a reader that met a quote that never
 * closes does not search the rest of the text again for the next one. */
template <class C>
size_t busca_en_tramo(const C *datos, size_t desde, size_t hasta, C c) {
  if constexpr (sizeof(C) == 1) {
    const void *p = desde < hasta ? std::memchr(datos + desde, c, hasta - desde) : nullptr;
    return p == nullptr ? hasta : static_cast<size_t>(static_cast<const C *>(p) - datos);
  } else {
    while (desde < hasta && datos[desde] != c) ++desde;
    return desde;
  }
}

/* A NUL-terminated text, whose NUL is its end. It is never measured beforehand: a walk
 * that measured the rest of the text at every token would be quadratic. */
template <class C>
struct texto_con_nul {
  const C *datos;
  mutable size_t sin_comilla[2] = {kNoEsta, kNoEsta};

  bool acaba_en(size_t i) const { return datos[i] == C(0); }
  C en(size_t i) const { return datos[i]; }
  size_t busca(size_t desde, C c) const {
    if constexpr (sizeof(C) == 1) {
      const C conjunto[2] = {c, C(0)};
      return desde + std::strcspn(datos + desde, conjunto);
    } else {
      while (datos[desde] != C(0) && datos[desde] != c) ++desde;
      return desde;
    }
  }
  size_t busca_hasta(size_t desde, size_t hasta, C c) const {
    return busca_en_tramo(datos, desde, hasta, c);
  }
};

/* A stretch of a page, which ends where its view ends. */
template <class C>
struct texto_acotado {
  std::basic_string_view<C> vista;
  mutable size_t sin_comilla[2] = {kNoEsta, kNoEsta};

  bool acaba_en(size_t i) const { return i >= vista.size(); }
  C en(size_t i) const { return vista[i]; }
  size_t busca(size_t desde, C c) const { return std::min(vista.find(c, desde), vista.size()); }
  size_t busca_hasta(size_t desde, size_t hasta, C c) const {
    return busca_en_tramo(vista.data(), desde, hasta, c);
  }
};

inline texto_acotado<char> acotado(std::string_view vista) {
  return {vista};
}

/* ---- Blanks: those of the companion's texts (privado/blancos.h) ----------------------- */
using ::es_blanco;
using ::kBlancos;

/* ---- Tokens ------------------------------------------------------------------------------
 * A page is read as tokens: a run of blanks, a tag (or comment) from a '<', or a run of
 * text up to the next '<'. */
enum class token_html { blancos, tag, texto };

template <class C>
constexpr token_html clase_de_token(C c) {
  if (es_blanco(c)) return token_html::blancos;
  return c == C('<') ? token_html::tag : token_html::texto;
}

/* The end of the run of blanks at i. */
template <class T>
size_t fin_de_blancos(const T &t, size_t i) {
  while (!t.acaba_en(i) && es_blanco(t.en(i))) ++i;
  return i;
}

/* The end of the text run at i: the next '<' after i, or the end. A run always takes at
 * least one character (except at the end), so a reader called at a stray '<' moves on. */
template <class T>
size_t fin_de_texto(const T &t, size_t i) {
  return t.acaba_en(i) ? i : t.busca(i + 1, '<');
}

/* Whether the text at i begins with s (ASCII). Compared in place, character by
 * character, so that nothing past the end is read and nothing is measured. */
template <class T>
bool empieza_por(const T &t, size_t i, std::string_view s) {
  for (size_t k = 0; k < s.size(); ++k)
    if (t.acaba_en(i + k) || t.en(i + k) != static_cast<decltype(t.en(0))>(s[k])) return false;
  return true;
}

/* ---- Attributes and where a tag ends --------------------------------------------------
 * A start or end tag is read as a browser's tokenizer reads it: after its name come
 * attributes, each a name and, after an '=' (blanks around it allowed), a value; a value
 * that opens with '"' or '\'' runs to the same quote, any other to a blank or '>'. A '>'
 * inside a quoted value does not end the tag; a quote anywhere else (inside a name, or
 * inside an unquoted value) is just a character. A quote that never closes would make a
 * browser drop the rest of the page: here the tag then ends at the first '>' after that
 * quote, so that one broken tag cannot swallow the page, and fin_de_tag::sin_cerrar names
 * the quote, which nothing written after the tag may bring. */

/* The blanks that separate a tag's attributes: the blanks and form feed. */
template <class C>
constexpr bool es_blanco_de_tag(C c) {
  return es_blanco_html(c);
}

/* What ends a name or an unquoted value inside a tag, as bits by byte, so that the loops
 * that read a tag's names and values test each character once. */
enum corte_de_tag : uint8_t { kCorteBlanco = 1, kCorteBarra = 2, kCorteMayor = 4, kCorteIgual = 8 };
inline constexpr std::array<uint8_t, 256> kCortesDeTag = [] {
  std::array<uint8_t, 256> t{};
  for (unsigned c = 0; c < t.size(); ++c)
    if (es_blanco_de_tag(static_cast<char>(c))) t[c] |= kCorteBlanco;
  t['/'] |= kCorteBarra;
  t['>'] |= kCorteMayor;
  t['='] |= kCorteIgual;
  return t;
}();

/* Whether c is one of the cortes (bits of corte_de_tag). */
template <class C>
constexpr bool corta_tag(C c, uint8_t cortes) {
  const auto u = static_cast<std::make_unsigned_t<C>>(c);
  if constexpr (sizeof(C) == 1)
    return (kCortesDeTag[u] & cortes) != 0;
  else
    return u < kCortesDeTag.size() && (kCortesDeTag[u] & cortes) != 0;
}

template <class C>
constexpr bool es_letra_ascii(C c) {
  return (c >= C('a') && c <= C('z')) || (c >= C('A') && c <= C('Z'));
}

/* Whether the '<' at inicio opens a tag whose attributes a browser reads: '<' or "</"
 * followed by an ASCII letter. Any other ("<!", "<?", "</" and no letter, a stray '<')
 * ends at its first '>', but for a stray '<' that a tag follows (es_menor_suelto). */
template <class T>
bool tiene_atributos(const T &t, size_t inicio) {
  size_t i = inicio + 1;
  if (!t.acaba_en(i) && t.en(i) == '/') ++i;
  return !t.acaba_en(i) && es_letra_ascii(t.en(i));
}

/* Whether the '<' at inicio is a stray one, which a browser reads as a character: not
 * followed by a letter, '/', '!' or '?'. */
template <class T>
bool es_menor_suelto(const T &t, size_t inicio) {
  const size_t i = inicio + 1;
  if (t.acaba_en(i)) return false;
  const auto c = t.en(i);
  return !es_letra_ascii(c) && c != '/' && c != '!' && c != '?';
}

/* Whether the '<' at i of a text begins a tag as a browser's tokenizer reads one: it is
 * followed by an ASCII letter, '/', '!' or '?'. Any other '<' is a character of the text. */
template <class T>
bool empieza_tag(const T &t, size_t i) {
  if (t.acaba_en(i + 1)) return false;
  const auto c = t.en(i + 1);
  return es_letra_ascii(c) || c == '/' || c == '!' || c == '?';
}

/* The end of the name of the tag whose '<' stands at inicio, as the tokenizer ends it:
 * at a blank, '/' or '>' (an end tag's own '/' skipped first). */
template <class T>
size_t fin_de_nombre_de_tag(const T &t, size_t inicio) {
  size_t i = inicio + 1;
  if (!t.acaba_en(i) && t.en(i) == '/') ++i;
  while (!t.acaba_en(i) && !corta_tag(t.en(i), kCorteBlanco | kCorteBarra | kCorteMayor)) ++i;
  return i;
}

struct valor_html {
  size_t inicio;         /* offset of the value's first character */
  size_t fin;            /* offset one past its last, or kNoEsta when its quote never closes */
  char comilla;          /* '"' or '\'' it stood between (not part of it), or 0 */
  bool entre_comillas;   /* comilla != 0 */
  bool tras_igual;       /* an '=' stood before it; without one the attribute has no value */
  bool blancos_en_igual; /* blanks stood next to the '=' */
  size_t siguiente;      /* where the tag goes on after it (past a closing quote) */
};

/* The position of the closing quote searched from desde, or kNoEsta; remembers in the text
 * a search that found none. */
template <class T>
size_t busca_comilla(const T &t, size_t desde, char comilla) {
  size_t &sin = t.sin_comilla[comilla == '"' ? 0 : 1];
  if (sin != kNoEsta && desde >= sin) return kNoEsta;
  const size_t p = t.busca(desde, comilla);
  if (!t.acaba_en(p)) return p;
  sin = sin == kNoEsta ? desde : std::min(sin, desde);
  return kNoEsta;
}

/* The value of an attribute whose name ends at desde: blanks, then an '=', blanks and
 * the value. Without an '=' there is no value (an empty span at desde, tras_igual false)
 * and the tag goes on at the first character that is not a blank. */
template <class T>
valor_html lee_valor(const T &t, size_t desde) {
  valor_html v{desde, desde, 0, false, false, false, desde};
  size_t i = desde;
  while (!t.acaba_en(i) && es_blanco_de_tag(t.en(i))) ++i;
  if (t.acaba_en(i) || t.en(i) != '=') {
    v.siguiente = i;
    return v;
  }
  v.tras_igual = true;
  v.blancos_en_igual = i != desde;
  const size_t tras_igual = ++i;
  while (!t.acaba_en(i) && es_blanco_de_tag(t.en(i))) ++i;
  v.blancos_en_igual = v.blancos_en_igual || i != tras_igual;
  v.inicio = i;
  if (!t.acaba_en(i) && (t.en(i) == '"' || t.en(i) == '\'')) {
    v.comilla = static_cast<char>(t.en(i));
    v.entre_comillas = true;
    v.inicio = i + 1;
    const size_t cierre = busca_comilla(t, v.inicio, v.comilla);
    v.fin = cierre;
    v.siguiente = cierre == kNoEsta ? t.busca(v.inicio, '>') : cierre + 1;
    return v;
  }
  while (!t.acaba_en(i) && !corta_tag(t.en(i), kCorteBlanco | kCorteMayor)) ++i;
  v.fin = v.siguiente = i;
  return v;
}

struct atributo_html {
  size_t nombre;     /* offset of the name's first character */
  size_t fin_nombre; /* one past its last */
  valor_html valor;
};

/* Reads the attribute at i (blanks and '/' before it skipped) and moves i past it. false,
 * with i on the tag's '>' or at the end of the text, when no attribute is left. After an
 * attribute whose quote never closes, i stands on the '>' that ends the tag (or at the
 * end). */
template <class T>
bool lee_atributo(const T &t, size_t &i, atributo_html &a) {
  while (!t.acaba_en(i) && corta_tag(t.en(i), kCorteBlanco | kCorteBarra)) ++i;
  if (t.acaba_en(i) || t.en(i) == '>') return false;
  a.nombre = i++; /* the first character belongs to the name, be it '=' or a quote */
  while (!t.acaba_en(i) &&
         !corta_tag(t.en(i), kCorteBlanco | kCorteBarra | kCorteMayor | kCorteIgual))
    ++i;
  a.fin_nombre = i;
  a.valor = lee_valor(t, i);
  i = a.valor.siguiente;
  return true;
}

/* The '>' that ends the tag whose '<' stands at inicio, or the end of the text when there
 * is none. Every reader of tags, attribute values and links finds a tag's end through
 * here. Most tags hold no quote before their first '>': that '>' is then their end. */
template <class T>
size_t busca_cierre(const T &t, size_t inicio, char *sin_cerrar = nullptr) {
  const size_t mayor = t.busca(inicio + 1, '>');
  if (es_menor_suelto(t, inicio)) {
    /* A browser reads a stray '<' as a character and the tag that begins before the '>'
     * as a tag, up to its own end: a '>' inside its quoted values is no end ("<<A V=">").
     * This one then ends there too, so that nothing inside such a value is read as text. */
    for (size_t j = t.busca_hasta(inicio + 1, mayor, '<'); j != mayor;
         j = t.busca_hasta(j + 1, mayor, '<'))
      if (tiene_atributos(t, j)) return busca_cierre(t, j, sin_cerrar);
    return mayor;
  }
  if (!tiene_atributos(t, inicio) || (t.busca_hasta(inicio + 1, mayor, '"') == mayor &&
                                      t.busca_hasta(inicio + 1, mayor, '\'') == mayor))
    return mayor;
  size_t i = fin_de_nombre_de_tag(t, inicio);
  atributo_html a;
  while (lee_atributo(t, i, a))
    if (a.valor.entre_comillas && a.valor.fin == kNoEsta) {
      if (sin_cerrar != nullptr) *sin_cerrar = a.valor.comilla;
      break;
    }
  return i;
}

/* The '>' of the first "-->" from inicio on, or of the first "--!>" after the comment's
 * own "<!--" (at inicio), which a browser takes for its end too; or the end of the text.
 * Each character is looked at a bounded number of times. */
template <class T>
size_t busca_fin_de_comentario(const T &t, size_t inicio) {
  for (size_t i = inicio;; ++i) {
    i = t.busca(i, '-');
    if (t.acaba_en(i)) return i;
    if (empieza_por(t, i, "-->")) return i + 2;
    if (i >= inicio + 4 && empieza_por(t, i, "--!>")) return i + 3;
  }
}

struct fin_de_tag {
  size_t cierre;   /* offset of the closing '>', or of the end of the text */
  bool cerrado;    /* a closing '>' was found */
  bool comentario; /* the tag is a comment, "<!--" */
  /* The quote ('"' or '\'') of a value of the tag that never closes, or 0. A browser
   * reads the rest of the page inside that value: whatever is written after the tag must
   * not bring that quote, and the tag itself must stay. */
  char sin_cerrar;
};

/* How the tag (or comment) whose '<' stands at inicio ends. A comment ends at the '>'
 * of the first "-->" searched from the '<' itself, so "<!-->" is a whole comment; any
 * other tag at busca_cierre. */
template <class T>
fin_de_tag lee_fin_de_tag(const T &t, size_t inicio) {
  fin_de_tag fin{inicio, false, empieza_por(t, inicio, "<!--"), 0};
  if (fin.comentario)
    fin.cierre = busca_fin_de_comentario(t, inicio);
  else if (!t.acaba_en(inicio))
    fin.cierre = busca_cierre(t, inicio, &fin.sin_cerrar);
  fin.cerrado = !t.acaba_en(fin.cierre);
  return fin;
}

/* Inside a SCRIPT or STYLE element a tag never swallows the element's end tag: the
 * offset of the first "</" + nombre (letter case ignored) in [desde, hasta), where the
 * tag is cut short; hasta when there is none. */
size_t busca_fin_de_elemento(std::string_view texto, size_t desde, size_t hasta,
                             std::string_view nombre);

/* Where the content of an element that a browser reads as text, tags and all (STYLE,
 * IFRAME, XMP ...), ends when it begins at desde: the '<' of the first "</" + nombre
 * (letter case ignored) followed by a blank, '/' or '>', which is that element's end tag;
 * the end of texto when there is none. */
size_t fin_de_texto_sin_tags(std::string_view texto, size_t desde, std::string_view nombre);

/* Whether texto at i holds the end tag that ends such an element: "</" + nombre (letter case
 * ignored) followed by a blank, '/' or '>'. A browser reads that tag as any other, quoted
 * values and all. */
bool es_fin_de_texto_sin_tags(std::string_view texto, size_t i, std::string_view nombre);

/* The same for a SCRIPT element, as a browser's tokenizer reads script data: a "<!--" in
 * it begins an escaped part, which "-->" ends, and inside that part a "<script" begins a
 * doubly escaped one, which only its own "</script" ends: a "</script" there does not end
 * the element. */
size_t fin_de_script(std::string_view texto, size_t desde);

/* A tag's name as the classic segmentation has always read it, given the tag's text after
 * its '<' (without the closing '>'): up to the first space, an end tag's '/' kept. Other
 * blanks do not end it, so "<B\tclass=x>" is no B there. The classic texts, IMG ALT and META
 * (lenguaweb_texto_de_tag) and the rebuild's links and language follow it; every other
 * reader ends a name where the tokenizer does (fin_de_nombre_de_tag). */
inline std::string_view nombre_legado_de_tag(std::string_view tras_el_menor) {
  return tras_el_menor.substr(0, std::min(tras_el_menor.find(' '), tras_el_menor.size()));
}

/* Names compared with ASCII letter case ignored. Inline: every tag read is asked. */
using ::a_mayuscula;
using ::a_minuscula;
constexpr bool nombre_es(std::string_view nombre, std::string_view buscado) {
  if (nombre.size() != buscado.size()) return false;
  for (size_t i = 0; i < nombre.size(); ++i)
    if (a_mayuscula(nombre[i]) != a_mayuscula(buscado[i])) return false;
  return true;
}
constexpr bool nombre_empieza_por(std::string_view nombre, std::string_view prefijo) {
  return nombre.size() >= prefijo.size() && nombre_es(nombre.substr(0, prefijo.size()), prefijo);
}

/* ---- Writing values ------------------------------------------------------------------
 * What a writer asks of a value before it writes one into a tag. */

/* Whether a value holding c could not stand without quotes: it would end or change. */
constexpr bool pide_comillas(char c) {
  return es_blanco(c) || c == '"' || c == '\'' || c == '<' || c == '>' || c == '=' || c == '`';
}

/* ---- Entities ------------------------------------------------------------------------
 * The references this library writes for a character that cannot stand as it is, those
 * that the classic segmentation decodes in a text, and how long a reference is. */

inline constexpr std::string_view kEntidadMenor = "&lt;";
inline constexpr std::string_view kEntidadMayor = "&gt;";
inline constexpr std::string_view kEntidadComillas = "&quot;";
inline constexpr std::string_view kEntidadEspacioDuro = "&nbsp;";
inline constexpr std::string_view kEntidadAmpersand = "&amp;";
inline constexpr std::string_view kEntidadApostrofo = "&#39;";
inline constexpr std::string_view kReferenciaEspacioDuro = "&#160;";
/* A no-break space in UTF-8 (the literal's NUL stands after it, for the companion's
 * conversions). */
inline constexpr std::string_view kEspacioDuroUtf8 = "\xC2\xA0";

/* The references that the classic segmentation decodes in a text, spelled as it finds
 * them, in this order; none of them can form out of the bytes another one leaves. What
 * each stands for is read from the one table of references. A no-break space, in any of
 * its four forms, stays one: it is never a space. */
inline constexpr std::string_view kReferenciasClasicas[] = {"&aacute;",
                                                            "&eacute;",
                                                            "&iacute;",
                                                            "&oacute;",
                                                            "&uacute;",
                                                            "&agrave;",
                                                            "&egrave;",
                                                            "&igrave;",
                                                            "&ograve;",
                                                            "&ugrave;",
                                                            "&ntilde;",
                                                            "&Aacute;",
                                                            "&Eacute;",
                                                            "&Iacute;",
                                                            "&Oacute;",
                                                            "&Uacute;",
                                                            "&Ntilde;",
                                                            kEntidadMayor,
                                                            kEntidadMenor,
                                                            kEntidadEspacioDuro,
                                                            kReferenciaEspacioDuro,
                                                            "&#xA0;",
                                                            "&#xa0;",
                                                            "&copy;",
                                                            "&ordf;",
                                                            "&ordm;"};
inline constexpr size_t kNumReferenciasClasicas = std::size(kReferenciasClasicas);

/* The length of the character reference that t begins with, as a browser reads one in an
 * attribute value (htmlparser::lee_referencia), or 0 when it begins with none: a '&' that
 * begins none is a bare '&'. A text that carries a reference means the character it
 * names: writing the text keeps it; any other '&' stands for itself. */
inline size_t largo_de_referencia(std::string_view t) {
  return lee_referencia(t, true).largo;
}
inline size_t largo_de_referencia(std::string_view texto, size_t i) {
  return largo_de_referencia(texto.substr(i));
}

/* ---- Tags as a browser reads them ------------------------------------------------------
 * What a writer checks before it writes a tag as markup: that a browser reads the very
 * tag that this library read (busca_cierre), no more and no less. */

/* Whether a browser reads tag (from its '<' to the '>' that ends it for this library) as
 * one start or end tag that ends at that very '>': it begins "<" or "</" and a letter,
 * and no quote that opens an attribute value (after an '=') is still open there. */
bool se_lee_como_un_tag(std::string_view tag);

/* The element name of a start or end tag (from its '<'), as a browser reads it: from
 * the letter after "<" or "</" up to a blank of a tag, a '/' or a '>'; empty for
 * anything else. */
std::string_view nombre_de_elemento(std::string_view tag);

/* Whether a tag (from its '<') read inside SVG or MathML, off their HTML integration
 * points, ends them there (elemento_html::apertura_sale_de_extranjero and
 * cierre_sale_de_extranjero). */
bool sale_de_extranjero(std::string_view tag);

/* ---- Looking ahead -------------------------------------------------------------------- */

/* The nearest of a few searched characters (char) or texts (std::string_view) at or
 * after a position that only moves forward. Each is looked for again only once the
 * position has passed it, so a text that holds few of them is read a few times in all,
 * not once per position. An empty searched text is never found. The text must stay
 * valid while the object is used. */
template <class... Buscados>
class siguiente_de {
 public:
  explicit siguiente_de(std::string_view texto, Buscados... buscados)
      : texto_(texto), buscados_(buscados...), proximo_{busca(buscados, 0)...} {}

  /* Offset of the nearest searched one at or after posicion; kNoEsta when none is left. */
  size_t desde(size_t posicion) { return desde(posicion, std::index_sequence_for<Buscados...>{}); }

  /* Where searched one k stands next, as the last call to desde found it. */
  size_t de(size_t k) const { return proximo_[k]; }

 private:
  size_t busca(char c, size_t posicion) const { return texto_.find(c, posicion); }
  size_t busca(std::string_view b, size_t posicion) const {
    return b.empty() ? kNoEsta : texto_.find(b, posicion);
  }

  template <size_t... K>
  size_t desde(size_t posicion, std::index_sequence<K...>) {
    ((proximo_[K] = proximo_[K] < posicion ? busca(std::get<K>(buscados_), posicion) : proximo_[K]),
     ...);
    return std::min({proximo_[K]...});
  }

  std::string_view texto_;
  std::tuple<Buscados...> buscados_;
  std::array<size_t, sizeof...(Buscados)> proximo_;
};

}  // namespace htmlparser

#endif
