/* escape.cpp - writing a text into a page so that it can never change the page's markup. */
#include "lenguaweb/escape.h"

#include "htmlparser/reglas_html.h"

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
                             const signos_de_texto *signos, bool espacios_duros) {
  using htmlparser::kNoEsta;
  enum { kMenor, kMayor, kEspacios };
  size_t copiado = 0;
  size_t signo = 0;    /* the '<' and '>' met so far */
  bool en_tag = false; /* after a '<' written as markup, until its '>' */
  // Most of the text is copied whole, between the signs and the pairs of spaces.
  htmlparser::siguiente_de siguiente(texto, '<', '>', std::string_view(espacios_duros ? "  " : ""));
  for (size_t i = 0;;) {
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
    const char c = texto[i];
    copiado = ++i;
    const std::string_view entidad =
        c == '<' ? htmlparser::kEntidadMenor : htmlparser::kEntidadMayor;
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
    // The tag ends at the next '>', as htmlparser::busca_cierre ends tags; that '>' is
    // already known, so the text is still read once.
    const size_t mayor = siguiente.de(kMayor);
    if (c == '<' && mayor != kNoEsta) {
      const int en_linea =
          htmlparser::bit_de_tag_en_linea(htmlparser::nombre_de_tag(texto.substr(i, mayor - i)));
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
    for (char c : valor) comillas = comillas || htmlparser::pide_comillas(c);
  if (comillas) salida.push_back('"');
  size_t copiado = 0;
  for (size_t i = 0; i < valor.size(); ++i) {
    const std::string_view sustituto = valor[i] == '"'   ? htmlparser::kEntidadComillas
                                       : valor[i] == '<' ? htmlparser::kEntidadMenor
                                       : valor[i] == '>' ? htmlparser::kEntidadMayor
                                                         : std::string_view();
    if (sustituto.empty()) continue;
    salida.append(valor.substr(copiado, i - copiado));
    salida.append(sustituto);
    copiado = i + 1;
  }
  salida.append(valor.substr(copiado));
  if (comillas) salida.push_back('"');
}

void lenguaweb_escribe_enlace(std::string &salida, std::string_view enlace, bool entre_comillas) {
  bool comillas = entre_comillas || enlace.empty();
  for (char c : enlace) comillas = comillas || htmlparser::es_blanco(c) || c == '>';
  if (comillas && !entre_comillas) salida.push_back('"');
  if (!comillas) {
    salida.append(enlace);
    return;
  }
  size_t copiado = 0;
  for (size_t i = 0; i < enlace.size(); ++i) {
    if (enlace[i] != '"' && enlace[i] != '>') continue;
    salida.append(enlace.substr(copiado, i - copiado));
    salida.append(enlace[i] == '"' ? htmlparser::kEntidadComillas : htmlparser::kEntidadMayor);
    copiado = i + 1;
  }
  salida.append(enlace.substr(copiado));
  if (!entre_comillas) salida.push_back('"');
}

void lenguaweb_escapa_traduccion(std::string &salida, std::string_view texto,
                                 bool espacio_duro_de_un_byte, std::string_view espacio_duro) {
  size_t copiado = 0;
  for (size_t i = 0; i < texto.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(texto[i]);
    if (c == '&') {
      const size_t referencia = htmlparser::largo_de_referencia(texto.substr(i));
      if (referencia > 0) {
        i += referencia - 1;
        continue;
      }
      salida.append(texto.substr(copiado, i - copiado));
      salida.append(htmlparser::kEntidadAmpersand);
      copiado = i + 1;
    } else if (c == 0xA0 && espacio_duro_de_un_byte) {
      salida.append(texto.substr(copiado, i - copiado));
      salida.append(espacio_duro);
      copiado = i + 1;
    }
  }
  salida.append(texto.substr(copiado));
}

void lenguaweb_escribe_texto_crudo(std::string &salida, std::string_view texto,
                                   std::string_view elemento) {
  if (elemento.empty()) {
    salida.append(texto);
    return;
  }
  size_t copiado = 0;
  for (size_t i = texto.find("</"); i != htmlparser::kNoEsta; i = texto.find("</", i + 1)) {
    if (!htmlparser::nombre_es(texto.substr(i + 2, elemento.size()), elemento)) continue;
    salida.append(texto.substr(copiado, i - copiado));
    salida.append(htmlparser::kEntidadMenor);
    copiado = i + 1;
  }
  salida.append(texto.substr(copiado));
}
