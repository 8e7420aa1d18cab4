/* escape.cpp - writing a text into a page so that it can never change the page's markup. */
#include "lenguaweb/escape.h"

#include <algorithm>
#include <cstring>

#include "lenguaweb/lectura_tags.h"

namespace {

/* Appends an inline tag written as markup. A run of spaces in it (which only entities
 * leave) becomes one space when espacios_duros: an entity would change the tag. */
void anade_tag(std::string &salida, std::string_view tag, bool espacios_duros) {
  if (!espacios_duros) {
    salida.append(tag);
    return;
  }
  for (size_t i = 0; i < tag.size(); ++i)
    if (tag[i] != ' ' || i == 0 || tag[i - 1] != ' ') salida.push_back(tag[i]);
}

}  // namespace

void lenguaweb_escribe_texto(std::string &salida, std::string_view texto, uint32_t codigo,
                             const std::vector<bool> *signos, bool espacios_duros) {
  constexpr size_t kNoEsta = std::string_view::npos;
  size_t copiado = 0;
  size_t signo = 0;    /* the '<' and '>' met so far */
  bool en_tag = false; /* after a '<' written as markup, until its '>' */
  // The next '<', '>' and pair of spaces at or after i, each looked for again only once
  // i has passed it: the text is read a few times in all, and most of it is copied whole.
  size_t menor = texto.find('<'), mayor = texto.find('>');
  size_t espacios = espacios_duros ? texto.find("  ") : kNoEsta;
  for (size_t i = 0;;) {
    if (menor < i) menor = texto.find('<', i);
    if (mayor < i) mayor = texto.find('>', i);
    if (espacios < i) espacios = texto.find("  ", i);
    i = std::min({menor, mayor, espacios});
    if (i == kNoEsta) break;
    salida.append(texto.substr(copiado, i - copiado));
    if (i == espacios) {
      size_t fin = i;
      while (fin < texto.size() && texto[fin] == ' ') ++fin;
      if (!en_tag)
        for (size_t k = i + 1; k < fin; ++k) salida.append("&nbsp;");
      salida.push_back(' ');
      i = copiado = fin;
      continue;
    }
    const char c = texto[i];
    copiado = ++i;
    const char *entidad = c == '<' ? "&lt;" : "&gt;";
    if (signos != nullptr) {
      const bool crudo = signo < signos->size() && (*signos)[signo];
      ++signo;
      if (crudo) {
        salida.push_back(c);
        en_tag = c == '<';
      } else {
        salida.append(entidad);
      }
      continue;
    }
    if (c == '<' && mayor != kNoEsta) {
      std::string_view nombre = texto.substr(i, mayor - i);
      nombre = nombre.substr(0, std::min(nombre.find(' '), nombre.size()));
      const int en_linea = lenguaweb_indice_en_linea(nombre);
      if (en_linea >= 0 && (codigo & (1u << en_linea)) == 0) {
        anade_tag(salida, texto.substr(i - 1, mayor + 2 - i), espacios_duros);
        i = copiado = mayor + 1;
        continue;
      }
    }
    salida.append(entidad);
  }
  salida.append(texto.substr(copiado));
}

void lenguaweb_escribe_valor(std::string &salida, std::string_view valor, bool entre_comillas,
                             bool siempre_comillas) {
  bool comillas = !entre_comillas && siempre_comillas;
  if (!entre_comillas && !comillas)
    for (char c : valor)
      if (std::strchr(" \t\n\r\"'<>=`", c) != nullptr && c != '\0') comillas = true;
  if (comillas) salida.push_back('"');
  size_t copiado = 0;
  for (size_t i = 0; i < valor.size(); ++i) {
    const char *sustituto = valor[i] == '"'   ? "&quot;"
                            : valor[i] == '<' ? "&lt;"
                            : valor[i] == '>' ? "&gt;"
                                              : nullptr;
    if (sustituto == nullptr) continue;
    salida.append(valor.substr(copiado, i - copiado));
    salida.append(sustituto);
    copiado = i + 1;
  }
  salida.append(valor.substr(copiado));
  if (comillas) salida.push_back('"');
}

void lenguaweb_escribe_enlace(std::string &salida, std::string_view enlace, bool entre_comillas) {
  bool comillas = entre_comillas || enlace.empty();
  for (char c : enlace) comillas = comillas || lenguaweb_es_blanco(c) || c == '>';
  if (comillas && !entre_comillas) salida.push_back('"');
  if (!comillas) {
    salida.append(enlace);
    return;
  }
  size_t copiado = 0;
  for (size_t i = 0; i < enlace.size(); ++i) {
    if (enlace[i] != '"' && enlace[i] != '>') continue;
    salida.append(enlace.substr(copiado, i - copiado));
    salida.append(enlace[i] == '"' ? "&quot;" : "&gt;");
    copiado = i + 1;
  }
  salida.append(enlace.substr(copiado));
  if (!entre_comillas) salida.push_back('"');
}
