/* escape.cpp - writing a text into a page so that it can never change the page's markup. */
#include "lenguaweb/escape.h"

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
  size_t copiado = 0;
  size_t signo = 0;         /* the '<' and '>' met so far */
  size_t proximo_mayor = 0; /* the first '>' at or after it is the next one: many '<' stay linear */
  bool en_tag = false;      /* after a '<' written as markup, until its '>' */
  for (size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (espacios_duros && c == ' ' && i + 1 < texto.size() && texto[i + 1] == ' ') {
      salida.append(texto.substr(copiado, i - copiado));
      size_t fin = i;
      while (fin < texto.size() && texto[fin] == ' ') ++fin;
      if (!en_tag)
        for (size_t k = i + 1; k < fin; ++k) salida.append("&nbsp;");
      salida.push_back(' ');
      i = fin - 1;
      copiado = fin;
      continue;
    }
    if (c != '<' && c != '>') continue;
    salida.append(texto.substr(copiado, i - copiado));
    copiado = i + 1;
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
    if (c == '<') {
      if (proximo_mayor != std::string_view::npos && proximo_mayor <= i)
        proximo_mayor = texto.find('>', i + 1);
      if (proximo_mayor != std::string_view::npos) {
        std::string_view nombre = texto.substr(i + 1, proximo_mayor - i - 1);
        nombre = nombre.substr(0, std::min(nombre.find(' '), nombre.size()));
        const int en_linea = lenguaweb_indice_en_linea(nombre);
        if (en_linea >= 0 && (codigo & (1u << en_linea)) == 0) {
          anade_tag(salida, texto.substr(i, proximo_mayor + 1 - i), espacios_duros);
          i = proximo_mayor;
          copiado = proximo_mayor + 1;
          continue;
        }
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
