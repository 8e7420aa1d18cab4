/* marcado_permitido.cpp - which tags of a translation are written as markup, and the body
 * text written with them. */
#include "lenguaweb/marcado_permitido.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "htmlparser/reglas_html.h"
#include "lenguaweb/escape.h"

namespace {

using htmlparser::kEspacioDuroUtf8;
using htmlparser::kNoEsta;

/* ---- Names and tags compared with letter case ignored --------------------------------- */

struct hash_sin_mayus {
  size_t operator()(std::string_view s) const {
    uint64_t h = 1469598103934665603ull;
    for (char c : s)
      h = (h ^ static_cast<unsigned char>(htmlparser::a_mayuscula(c))) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};
struct iguales_sin_mayus {
  bool operator()(std::string_view a, std::string_view b) const {
    return htmlparser::nombre_es(a, b);
  }
};
template <class T>
using por_nombre = std::unordered_map<std::string_view, T, hash_sin_mayus, iguales_sin_mayus>;

}  // namespace

std::string lenguaweb_forma_de_tag(std::string_view tag) {
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(tag);
  size_t i = htmlparser::fin_de_nombre_de_tag(t, 0);
  // Names as the tag writes them, compared in lower case: no copy of each is made, and
  // a tag of many attributes holds two views for each.
  struct atributo {
    std::string_view nombre;
    std::string_view valor;
  };
  // Counted first: a list grown as it is read would hold up to three times as much.
  size_t cuantos = 0;
  htmlparser::atributo_html a;
  for (size_t j = i; htmlparser::lee_atributo(t, j, a);) ++cuantos;
  std::vector<atributo> atributos;
  atributos.reserve(cuantos);
  while (htmlparser::lee_atributo(t, i, a)) {
    const size_t fin = a.valor.fin == htmlparser::kNoEsta ? tag.size() : a.valor.fin;
    atributos.push_back({tag.substr(a.nombre, a.fin_nombre - a.nombre),
                         a.valor.tras_igual ? tag.substr(a.valor.inicio, fin - a.valor.inicio)
                                            : std::string_view()});
  }
  const auto menor = [](std::string_view x, std::string_view y) {
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char c, char d) {
      return static_cast<unsigned char>(a_minuscula(c)) <
             static_cast<unsigned char>(a_minuscula(d));
    });
  };
  const auto igual = [](std::string_view x, std::string_view y) {
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char c, char d) {
             return a_minuscula(c) == a_minuscula(d);
           });
  };
  // A repeated name counts once, with its first value: sorted by name and, within one
  // name, by place in the tag (in place, with no buffer), the first of each run of one
  // name is the one the tag gives first.
  std::sort(atributos.begin(), atributos.end(), [&](const atributo &x, const atributo &y) {
    if (menor(x.nombre, y.nombre)) return true;
    if (menor(y.nombre, x.nombre)) return false;
    return x.nombre.data() < y.nombre.data();
  });
  atributos.erase(
      std::unique(atributos.begin(), atributos.end(),
                  [&](const atributo &x, const atributo &y) { return igual(x.nombre, y.nombre); }),
      atributos.end());
  std::string forma = en_minusculas(tag.substr(0, htmlparser::fin_de_nombre_de_tag(t, 0)));
  for (const atributo &cada : atributos) {
    forma.push_back('\0');
    for (char c : cada.nombre) forma.push_back(a_minuscula(c));
    forma.push_back('\0');
    if (cada.valor.find('&') == std::string_view::npos)
      forma.append(cada.valor);
    else
      forma.append(htmlparser::lee_referencias(cada.valor, true));
  }
  return forma;
}

namespace {

/* The tag whose '<' stands at i of a translation: up to the '>' that
 * htmlparser::busca_cierre gives before the next '<' (at siguiente_menor, or the end),
 * when a browser reads it as that one tag; else empty. Only the stretch up to the next
 * '<' is read, so a text is read once however many of its '<' begin no tag. */
std::string_view tag_en(std::string_view texto, size_t i, size_t siguiente_menor) {
  const std::string_view hasta = texto.substr(0, std::min(siguiente_menor, texto.size()));
  const size_t cierre = htmlparser::busca_cierre(htmlparser::acotado(hasta), i);
  if (cierre >= hasta.size()) return {};
  const std::string_view tag = texto.substr(i, cierre + 1 - i);
  return htmlparser::se_lee_como_un_tag(tag) ? tag : std::string_view();
}

/* The tag whose '<' stands at i of the page's own text, read whole as page segmentation
 * read it, when a browser reads it as that one tag; else empty, and *sigue says up to
 * where no '<' begins a tag that a browser would read as this library does (one that
 * begins inside this one ends at the same '>'). */
std::string_view tag_entero_en(std::string_view texto, size_t i, size_t *sigue) {
  const htmlparser::texto_acotado<char> t = htmlparser::acotado(texto);
  // A stray '<' ("a < b") is a character to a browser, which reads the tags after it.
  if (htmlparser::es_menor_suelto(t, i)) {
    *sigue = i + 1;
    return {};
  }
  const size_t cierre = htmlparser::busca_cierre(t, i);
  *sigue = std::min(cierre + 1, texto.size());
  if (cierre >= texto.size()) return {};
  const std::string_view tag = texto.substr(i, cierre + 1 - i);
  return htmlparser::se_lee_como_un_tag(tag) ? tag : std::string_view();
}

/* The bit of the inline name of the tag at i (read as page segmentation reads names, up
 * to a space or the tag's end), or -1. No more is read than the longest inline name. */
int bit_en_linea_en(std::string_view texto, size_t i) {
  constexpr size_t kMasLargo = 8;
  const std::string_view tras = texto.substr(i + 1, kMasLargo);
  const size_t fin = tras.find_first_of(" >");
  return fin == htmlparser::kNoEsta && tras.size() == kMasLargo
             ? -1
             : htmlparser::bit_de_tag_en_linea(tras.substr(0, fin));
}

bool es_cierre(std::string_view tag) {
  return tag.size() > 1 && tag[1] == '/';
}

/* The bit of an inline tag written without attributes ("<B>", "</EM >", "<br/>",
 * "<i\n>"): its name as a browser reads it, then only blanks and '/', which a browser
 * skips there; -1 for any other tag. */
int bit_sin_atributos(std::string_view tag) {
  const size_t fin_nombre = htmlparser::fin_de_nombre_de_tag(htmlparser::acotado(tag), 0);
  for (char c : tag.substr(fin_nombre, tag.size() - 1 - fin_nombre))
    if (!htmlparser::es_blanco_de_tag(c) && c != '/') return -1;
  return htmlparser::bit_de_tag_en_linea(tag.substr(1, fin_nombre - 1));
}

/* Whether the tag at i of the page's text (its '<' the signo-th '<' or '>' of the text)
 * may have been markup in the page rather than code shown as "&lt;...". */
bool fue_marcado(std::string_view texto, size_t i, size_t signo, const texto_de_origen &origen) {
  if (origen.signos != nullptr && (signo >= origen.signos->size() || !(*origen.signos)[signo]))
    return false;
  if (!origen.solo_en_linea) return true;
  const int bit = bit_en_linea_en(texto, i);
  return bit >= 0 && (origen.signos != nullptr || (origen.codigo >> bit & 1u) == 0);
}

/* The elements a text opens and closes, in order. An end tag closes the innermost open
 * element of its name. */
struct elementos_abiertos {
  struct abierto {
    std::string_view nombre;
    bool cerrado;
  };
  /* Closed elements leave it once none open stands above them: it holds what a text
   * nests, not every element it ever opened. */
  std::vector<abierto> pila;
  por_nombre<std::vector<uint32_t>> de_nombre; /* places in pila of the open ones, by name */

  void abre(std::string_view nombre) {
    if (htmlparser::es_elemento_vacio(nombre)) return;
    de_nombre[nombre].push_back(static_cast<uint32_t>(pila.size()));
    pila.push_back({nombre, false});
  }
  bool tiene_abierto(std::string_view nombre) const {
    const auto a = de_nombre.find(nombre);
    return a != de_nombre.end() && !a->second.empty();
  }
  /* Whether an element of the name was open (it is closed now). */
  bool cierra(std::string_view nombre) {
    const auto a = de_nombre.find(nombre);
    if (a == de_nombre.end() || a->second.empty()) return false;
    pila[a->second.back()].cerrado = true;
    a->second.pop_back();
    while (!pila.empty() && pila.back().cerrado) pila.pop_back();
    return true;
  }
};

/* Sorts the views and leaves each once. */
void cada_una_vez(std::vector<std::string_view> &vistas) {
  std::sort(vistas.begin(), vistas.end());
  vistas.erase(std::unique(vistas.begin(), vistas.end()), vistas.end());
}

/* The markup of the page's text that a translation may use. */
struct marcado_de_origen {
  struct uso {
    std::string_view tag; /* as the page first had it */
    uint32_t quedan;      /* times it may still be written */
    /* every way the page wrote it ("</A>", "</a>"), sorted, each once: one the
     * translation keeps is kept */
    std::vector<std::string_view> escritos;
  };
  std::unordered_map<std::string, uso> tags; /* by forma_de_tag */
  /* Tags whose '<' or '>' the page wrote as a reference, so written (uso::tag, escritos). */
  std::deque<std::string> reescritos;
  /* End tags that closed an element opened before the text, in order, and whether the
   * translation has written each. */
  std::vector<std::string_view> sueltos;
  std::vector<bool> suelto_escrito;
  struct sueltos_de_un_nombre {
    std::vector<uint32_t> lugares; /* in sueltos, not yet written, last first */
    /* The page's text has one before a start tag of the name ("</b>x<b>"): one the
     * translation drops goes before the translation's start tag, which it would close if
     * written at the end. */
    bool antes_de_abrir = false;
  };
  por_nombre<sueltos_de_un_nombre> sueltos_de_nombre;
  por_nombre<uint32_t> quedan_abiertos; /* elements the text leaves open, by name */
  /* The same elements in order, with the start tag of each (at the same place) as the
   * page wrote it when that is known: a text cut by blocks holds the page's own bytes; one
   * cut as page segmentation cuts them (solo_en_linea) is its reading, whose tags are
   * matched to the page's (pon_abiertos_de_pagina) by where each of them begins. */
  elementos_abiertos abiertos_con_tag;
  std::vector<std::string_view> tags_abiertos;
  std::vector<const char *> leidos;
  /* Of such a text read from the page's bytes (origen.crudo): each tag as the page wrote
   * it, in order, with its entry in tags (by the form of the tag as the text reads it). */
  std::vector<std::pair<std::string_view, std::pair<const std::string, uso> *>> como_leidos;
  /* Its tags that hold a '<' in a value or a name, as the page had them, sorted and each
   * once: a translation that keeps one is read up to its end, not to the '<' inside it.
   * No one is the start of another (a tag's reading ends where its bytes say), so the
   * one a translation may keep at a place is the last not after what follows there. */
  std::vector<std::string_view> con_menor;
  /* Inside SVG or MathML: its tags that end them there, in order, by forma_de_tag, each
   * with the bytes the page wrote it in (origen.crudo's tag in the same place), or
   * empty when they are not known. */
  struct salida_de_extranjero {
    std::string forma;
    std::string_view tag, de_pagina;
  };
  std::vector<salida_de_extranjero> salidas_de_extranjero;

  explicit marcado_de_origen(const texto_de_origen &origen) {
    const std::string_view t = origen.texto;
    // A '<' or '>' that the page wrote as a reference is a character to a browser: the
    // tags are read with those hidden, so that each spans what the page's tag did
    // ("<B &gt;<I>" is one tag, whose name is B), and are taken from the text.
    std::string oculto;
    if (origen.signos != nullptr) {
      size_t k = 0;
      for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '<' && t[i] != '>') continue;
        if (k >= origen.signos->size() || !(*origen.signos)[k]) {
          if (oculto.empty()) oculto.assign(t);
          oculto[i] = '_';
        }
        ++k;
      }
    }
    const std::string_view leido = oculto.empty() ? t : std::string_view(oculto);
    size_t signo = 0;
    for (size_t i = 0; i < t.size(); ++i) {
      if (t[i] != '<') {
        signo += t[i] == '>';
        continue;
      }
      const size_t este = signo++, inicio = i;
      // A text that holds every tag of its stretch of the page is read as the page was:
      // a '<' inside another tag (<br/2<script>, <a title="<b>">) begins no tag of it.
      // So is a tag of the text cut as before, when the page had its '<' as markup: a '<'
      // in its value or name (<b title="a<b">) is none of the text's.
      size_t sigue = i + 1;
      const bool marcado = fue_marcado(t, inicio, este, origen);
      const std::string_view tag = !origen.solo_en_linea || marcado
                                       ? t.substr(i, tag_entero_en(leido, i, &sigue).size())
                                       : std::string_view();
      for (size_t k = i + 1; k < sigue && k < t.size(); ++k) signo += t[k] == '<' || t[k] == '>';
      i = sigue - 1;
      if (tag.empty() || !marcado) continue;
      if (origen.solo_en_linea) leidos.push_back(tag.data());
      const std::string_view como_en_la_pagina = como_la_pagina(tag, leido.substr(inicio));
      if (tag.find('<', 1) != std::string_view::npos) con_menor.push_back(tag);
      std::string forma = lenguaweb_forma_de_tag(tag);
      if (origen.en_extranjero && htmlparser::sale_de_extranjero(tag))
        salidas_de_extranjero.push_back({forma, como_en_la_pagina, {}});
      auto &entrada = *tags.try_emplace(std::move(forma), uso{como_en_la_pagina, 0, {}}).first;
      if (origen.solo_en_linea && !origen.crudo.empty())
        como_leidos.emplace_back(como_en_la_pagina, &entrada);
      uso &u = entrada.second;
      ++u.quedan;
      if (u.escritos.empty() || u.escritos.back() != como_en_la_pagina)
        u.escritos.push_back(como_en_la_pagina);
      const std::string_view nombre = htmlparser::nombre_de_elemento(tag);
      if (!es_cierre(tag)) {
        // Only how many of each name stay open counts here, not their order.
        if (!htmlparser::es_elemento_vacio(nombre)) ++quedan_abiertos[nombre];
        if (const auto s = sueltos_de_nombre.find(nombre); s != sueltos_de_nombre.end())
          s->second.antes_de_abrir = true;
        abiertos_con_tag.abre(nombre);
        tags_abiertos.resize(abiertos_con_tag.pila.size(), tag);
      } else if (const auto a = quedan_abiertos.find(nombre);
                 a != quedan_abiertos.end() && a->second > 0) {
        --a->second;
        abiertos_con_tag.cierra(nombre);
        tags_abiertos.resize(abiertos_con_tag.pila.size());
      } else {
        sueltos.push_back(como_en_la_pagina);
        suelto_escrito.push_back(false);
        sueltos_de_nombre[htmlparser::nombre_de_elemento(como_en_la_pagina)].lugares.push_back(
            static_cast<uint32_t>(sueltos.size() - 1));
      }
    }
    // The page's bytes of the text, read tag by tag as the text was, once.
    std::vector<std::string_view> de_pagina;
    if (!origen.crudo.empty()) {
      size_t sigue = 0;
      for (size_t i = origen.crudo.find('<'); i != std::string_view::npos;
           i = origen.crudo.find('<', sigue)) {
        const std::string_view tag = tag_entero_en(origen.crudo, i, &sigue);
        if (!tag.empty()) de_pagina.push_back(tag);
      }
      if (origen.solo_en_linea && de_pagina.size() == como_leidos.size())
        escribe_como_la_pagina(de_pagina);
    }
    // Sorted once, and looked up by halves: a text of thousands of tags, each written its
    // own way, would otherwise compare each with all.
    for (auto &[forma, u] : tags) cada_una_vez(u.escritos);
    cada_una_vez(con_menor);
    for (auto &[nombre, de_nombre] : sueltos_de_nombre)
      std::reverse(de_nombre.lugares.begin(), de_nombre.lugares.end());
    if (!salidas_de_extranjero.empty() && !origen.crudo.empty()) pon_de_pagina(de_pagina);
    if (origen.solo_en_linea) pon_abiertos_de_pagina(de_pagina);
  }

  /* A tag that the text's reading of the page changed into another tag (a reference in
   * an attribute's name read as its character, a line break in a value read as a space)
   * is written as the page wrote it, never as the reading has it: the translation may
   * keep the reading's, which stands for the page's. */
  void escribe_como_la_pagina(const std::vector<std::string_view> &de_pagina) {
    for (size_t k = 0; k < de_pagina.size(); ++k) {
      const auto &[como, entrada] = como_leidos[k];
      if (como == de_pagina[k] || entrada->first == lenguaweb_forma_de_tag(de_pagina[k])) continue;
      uso &u = entrada->second;
      if (u.tag == como) u.tag = de_pagina[k];
      for (std::string_view &escrito : u.escritos)
        if (escrito == como) escrito = de_pagina[k];
    }
  }

  /* The page's own bytes of each start tag the text leaves open, taken from the page's
   * stretch read tag by tag as the text was: each is the tag of the same place among the
   * text's tags. Left unknown (empty: it is not written again) unless both give as many. */
  void pon_abiertos_de_pagina(const std::vector<std::string_view> &de_pagina) {
    if (std::none_of(abiertos_con_tag.pila.begin(), abiertos_con_tag.pila.end(),
                     [](const elementos_abiertos::abierto &a) { return !a.cerrado; }))
      return;
    for (std::string_view &tag : tags_abiertos) {
      const auto orden = std::lower_bound(leidos.begin(), leidos.end(), tag.data());
      tag = de_pagina.size() == leidos.size() && orden != leidos.end() && *orden == tag.data()
                ? de_pagina[static_cast<size_t>(orden - leidos.begin())]
                : std::string_view();
    }
  }

  /* The tag as the page wrote it: each '<' and '>' hidden in leido (its reading, from
   * the same place) as a reference. */
  std::string_view como_la_pagina(std::string_view tag, std::string_view leido) {
    // Without hidden signs the reading is the text itself: nothing to compare.
    if (leido.data() == tag.data() || leido.substr(0, tag.size()) == tag) return tag;
    std::string &escrito = reescritos.emplace_back();
    for (size_t k = 0; k < tag.size(); ++k)
      if (leido[k] == tag[k])
        escrito.push_back(tag[k]);
      else
        escrito.append(tag[k] == '<' ? htmlparser::kEntidadMenor : htmlparser::kEntidadMayor);
    return escrito;
  }

  /* The page's own bytes of each tag that ends SVG or MathML, taken from the page's
   * stretch read tag by tag as the text was (de_pagina); left unknown unless both give
   * as many. */
  void pon_de_pagina(const std::vector<std::string_view> &de_pagina) {
    std::vector<std::string_view> salidas;
    for (const std::string_view tag : de_pagina)
      if (htmlparser::sale_de_extranjero(tag)) salidas.push_back(tag);
    if (salidas.size() != salidas_de_extranjero.size()) return;
    for (size_t k = 0; k < salidas.size(); ++k) salidas_de_extranjero[k].de_pagina = salidas[k];
  }

  /* The page's end tag of the name that closed an element from before the text, not yet
   * written, when the page's text had it before a start tag of the name; else empty. It
   * is counted as written. */
  std::string_view suelto_antes_de(std::string_view nombre) {
    const auto s = sueltos_de_nombre.find(nombre);
    if (s == sueltos_de_nombre.end() || !s->second.antes_de_abrir || s->second.lugares.empty())
      return {};
    const uint32_t k = s->second.lugares.back();
    s->second.lugares.pop_back();
    suelto_escrito[k] = true;
    return sueltos[k];
  }

  /* Whether an end tag of the name may close an element from before the text (it is
   * counted as written). */
  bool escribe_suelto(std::string_view nombre) {
    const auto s = sueltos_de_nombre.find(nombre);
    if (s == sueltos_de_nombre.end() || s->second.lugares.empty()) return false;
    suelto_escrito[s->second.lugares.back()] = true;
    s->second.lugares.pop_back();
    return true;
  }
};

/* Appends a tag written as markup. A run of spaces in it (which only entities leave)
 * becomes one space when para_releer: an entity would change the tag. */
void anade_tag(std::string &salida, std::string_view tag, bool para_releer) {
  if (!para_releer) {
    salida.append(tag);
    return;
  }
  for (size_t i = 0; i < tag.size(); ++i)
    if (tag[i] != ' ' || i == 0 || tag[i - 1] != ' ') salida.push_back(tag[i]);
}

/* Writes the translation's tags and closes at its end what it must. */
class escritor_de_tags {
 public:
  escritor_de_tags(std::string &salida, const texto_de_origen &origen, bool para_releer)
      : salida_(salida), origen_(origen), para_releer_(para_releer) {}

  /* Room for as many elements as the translation has '<', each a tag's (a '<' of its text
   * is "&lt;"): a text that opens them all and closes none would hold up to three times as
   * much while its list grows. */
  void reserva(size_t menores) { elementos_.pila.reserve(menores); }

  /* Writes the tag (a view into the translation) and returns true, when it may be
   * markup; else writes nothing. */
  bool escribe(std::string_view tag) {
    if (origen_.es_la_traduccion) {
      // Its tags are the page's own, in the page's order: no more to check.
      anade_tag(salida_, tag, para_releer_);
      return true;
    }
    std::string_view escrito;
    marcado_de_origen::uso *del_origen = nullptr;
    const int bit = origen_.en_extranjero ? -1 : bit_sin_atributos(tag);
    // A free element inside one of its name that the translation opened adds nothing a
    // reader sees, but three would make a browser forget one of the page's around it.
    if (bit >= 0 && (origen_.codigo >> bit & 1u) == 0 &&
        (es_cierre(tag) || !elementos_.tiene_abierto(htmlparser::nombre_de_elemento(tag)))) {
      escrito = tag;
    } else {
      const auto uso = origen().tags.find(lenguaweb_forma_de_tag(tag));
      if (uso == origen().tags.end() || uso->second.quedan == 0) return false;
      del_origen = &uso->second;
      const std::vector<std::string_view> &escritos = uso->second.escritos;
      escrito = std::binary_search(escritos.begin(), escritos.end(), tag) ? tag : uso->second.tag;
    }
    const std::string_view nombre = htmlparser::nombre_de_elemento(escrito);
    if (!es_cierre(escrito)) {
      // Written after this tag, such an end tag would close it instead.
      if (!origen_.texto.empty() && !elementos_.tiene_abierto(nombre))
        anade_tag(salida_, origen().suelto_antes_de(nombre), para_releer_);
      elementos_.abre(nombre);
    } else if (!elementos_.cierra(nombre) && !origen().escribe_suelto(nombre))
      return false;
    if (del_origen != nullptr) --del_origen->quedan;
    anade_tag(salida_, escrito, para_releer_);
    return true;
  }

  /* The tag of the page's text that holds a '<' and that the translation at i keeps
   * byte for byte, or empty. */
  std::string_view con_menor_en(std::string_view texto, size_t i) {
    if (origen_.texto.empty()) return {};
    const std::vector<std::string_view> &con_menor = origen().con_menor;
    const std::string_view resto = texto.substr(i);
    auto tag = std::upper_bound(con_menor.begin(), con_menor.end(), resto);
    if (tag == con_menor.begin()) return {};
    --tag;
    return resto.starts_with(*tag) ? resto.substr(0, tag->size()) : std::string_view();
  }

  /* Closes, innermost first, the elements left open beyond those the page's text left
   * open; then writes the page's end tags of elements from before the text that the
   * translation did not write. */
  void termina() {
    if (origen_.es_la_traduccion) return;
    if (origen_.en_extranjero && !origen_.texto.empty())
      for (const auto &[forma, tag, de_pagina] : origen().salidas_de_extranjero) {
        const auto uso = origen().tags.find(forma);
        if (uso == origen().tags.end() || uso->second.quedan == 0) continue;
        --uso->second.quedan;
        const std::string_view nombre = htmlparser::nombre_de_elemento(tag);
        escribe_de_pagina(de_pagina.empty() ? tag : de_pagina, nombre);
        if (!es_cierre(tag))
          elementos_.abre(nombre);
        else
          elementos_.cierra(nombre);
      }
    for (size_t k = elementos_.pila.size(); k-- > 0;) {
      const elementos_abiertos::abierto &a = elementos_.pila[k];
      if (a.cerrado) continue;
      const auto queda = origen().quedan_abiertos.find(a.nombre);
      if (queda != origen().quedan_abiertos.end() && queda->second > 0) {
        --queda->second;
        continue;
      }
      salida_.append("</").append(a.nombre).push_back('>');
    }
    if (origen_.texto.empty()) return;
    for (size_t k = 0; k < origen().sueltos.size(); ++k)
      if (!origen().suelto_escrito[k]) salida_.append(origen().sueltos[k]);
    // An element that the page's text leaves open and the translation dropped opens here,
    // as the page wrote it, for the page's own end tag after the text to close: inside SVG
    // that end tag would otherwise close what the element held (an SVG it opened).
    for (size_t k = 0; k < origen().abiertos_con_tag.pila.size(); ++k) {
      const elementos_abiertos::abierto &a = origen().abiertos_con_tag.pila[k];
      const std::string_view tag = origen().tags_abiertos[k];
      const auto queda = origen().quedan_abiertos.find(a.nombre);
      if (a.cerrado || tag.empty() || queda == origen().quedan_abiertos.end() || queda->second == 0)
        continue;
      --queda->second;
      escribe_de_pagina(tag, a.nombre);
    }
  }

  /* Writes a tag of the page's text, as the page wrote it. A tag whose bytes the page's
   * reading could not read (U+FFFD, as a character or its reference) would come out with
   * other attributes: its bare name is written, but for FONT, which only some attributes
   * make leave SVG or MathML. */
  void escribe_de_pagina(std::string_view tag, std::string_view nombre) {
    const bool ilegible = tag.find("\xEF\xBF\xBD") != std::string_view::npos ||
                          tag.find("&#65533;") != std::string_view::npos;
    if (ilegible && !es_cierre(tag) && !htmlparser::nombre_es(nombre, "FONT"))
      salida_.append("<").append(nombre).push_back('>');
    else
      salida_.append(tag);
  }

 private:
  /* Read from the page's text on first use: most translations hold no tag. */
  marcado_de_origen &origen() {
    if (!origen_marcado_) origen_marcado_.emplace(origen_);
    return *origen_marcado_;
  }

  std::string &salida_;
  const texto_de_origen &origen_;
  const bool para_releer_;
  elementos_abiertos elementos_;
  std::optional<marcado_de_origen> origen_marcado_;
};

}  // namespace

void lenguaweb_escribe_texto(std::string &salida, std::string_view texto,
                             const texto_de_origen &origen, bool para_releer,
                             const std::function<void()> *vacia) {
  enum { kMenor, kMayor, kAmpersand, kEspacioDuro, kEspacios };
  const bool con_signos = origen.es_la_traduccion && origen.signos != nullptr;
  escritor_de_tags tags(salida, origen, para_releer);
  if (!origen.es_la_traduccion)
    tags.reserva(static_cast<size_t>(std::count(texto.begin(), texto.end(), '<')));
  size_t copiado = 0;
  size_t solo_texto = 0; /* no '<' before this begins a tag */
  size_t signo = 0;      /* the '<' and '>' met so far, with signs */
  bool en_tag = false;   /* with signs: after a '<' that the page had, until its '>' */
  // Most of the text is copied whole, between the characters that may need more.
  htmlparser::siguiente_de siguiente(texto, '<', '>', std::string_view(para_releer ? "" : "&"),
                                     para_releer ? std::string_view() : kEspacioDuroUtf8,
                                     std::string_view(para_releer ? "  " : ""));
  for (size_t i = 0;;) {
    if (vacia != nullptr) (*vacia)();
    i = siguiente.desde(i);
    if (i == kNoEsta) break;
    salida.append(texto.substr(copiado, i - copiado));
    if (i == siguiente.de(kEspacios)) {
      size_t fin = i;
      while (fin < texto.size() && texto[fin] == ' ') ++fin;
      if (!en_tag)
        for (size_t k = i + 1; k < fin; ++k) salida.append(htmlparser::kEntidadEspacioDuro);
      salida.push_back(' ');
      i = copiado = fin;
      continue;
    }
    if (i == siguiente.de(kAmpersand) || i == siguiente.de(kEspacioDuro)) {
      size_t largo = 1;
      const std::string_view sustituto = lenguaweb_sustituto_de(texto, i, false, &largo);
      // Inside a tag that the page had, and in a reference, the characters stay.
      salida.append(en_tag || sustituto.empty() ? texto.substr(i, largo) : sustituto);
      i = copiado = i + largo;
      continue;
    }
    const char c = texto[i];
    size_t uno = 1;
    const std::string_view entidad = lenguaweb_sustituto_de(texto, i, false, &uno);
    copiado = ++i;
    if (con_signos) {
      const bool crudo = signo < origen.signos->size() && (*origen.signos)[signo];
      ++signo;
      if (crudo) {
        salida.push_back(c);
        en_tag = c == '<';
      } else {
        salida.append(entidad);
      }
      continue;
    }
    if (c == '<' && i > solo_texto) {
      std::string_view tag;
      if (!origen.es_la_traduccion) {
        siguiente.desde(i); /* where the next '<' stands: the tag may not hold it */
        tag = tag_en(texto, i - 1, siguiente.de(kMenor));
        if (tag.empty()) tag = tags.con_menor_en(texto, i - 1); /* but the page's own */
      } else if (fue_marcado(texto, i - 1, kNoEsta, origen)) {
        tag = tag_entero_en(texto, i - 1, &solo_texto);
      }
      if (!tag.empty() && tags.escribe(tag)) {
        i = copiado = i - 1 + tag.size();
        continue;
      }
    }
    salida.append(entidad);
  }
  salida.append(texto.substr(copiado));
  tags.termina();
}
