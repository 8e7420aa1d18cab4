// pseudo.cpp - pseudo-translation of a page's texts through the text engine, markup kept whole.
#include "pseudo.h"

#include <array>

#include "htmlparser/reglas_html.h"

namespace {

// The tags that stay markup inside a text when the library writes it back, by the name
// that stands between the '<' and the first space or the '>'.
bool es_tag_en_linea(std::string_view nombre) {
  static constexpr const auto &kNombres = htmlparser::kTagsEnLinea;
  for (std::string_view n : kNombres) {
    if (n.size() != nombre.size()) continue;
    bool igual = true;
    for (size_t i = 0; i < n.size() && igual; ++i)
      igual = n[i] == static_cast<char>(std::toupper(static_cast<unsigned char>(nombre[i])));
    if (igual) return true;
  }
  return false;
}

bool es_letra(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool es_cifra(char c) {
  return c >= '0' && c <= '9';
}
bool es_hex(char c) {
  return es_cifra(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Length of the character reference at the start of t ("&name;", "&#123;", "&#x1F;"),
// or 0. Only letters and digits are read before the ';', none of them an '&', so a
// scan that finds none goes on past them without reading them again.
size_t referencia(std::string_view t) {
  size_t i = 1;
  if (i < t.size() && t[i] == '#') {
    ++i;
    const bool hex = i < t.size() && (t[i] == 'x' || t[i] == 'X');
    if (hex) ++i;
    const size_t inicio = i;
    while (i < t.size() && (hex ? es_hex(t[i]) : es_cifra(t[i]))) ++i;
    if (i == inicio) return 0;
  } else {
    if (i >= t.size() || !es_letra(t[i])) return 0;
    while (i < t.size() && (es_letra(t[i]) || es_cifra(t[i]))) ++i;
  }
  return i < t.size() && t[i] == ';' ? i + 1 : 0;
}

}  // namespace

TextoProtegido pseudo_protege(std::string_view texto) {
  TextoProtegido r;
  r.texto.reserve(texto.size());
  const auto grupo = [&r](std::string_view pieza) {
    r.texto += '{';
    r.texto += std::to_string(r.piezas.size());
    r.texto += '}';
    r.piezas.emplace_back(pieza);
  };
  size_t proximo_mayor = 0;  // the first '>' at or after the last one looked for
  for (size_t i = 0; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c == '{' || c == '}') {
      grupo(texto.substr(i, 1));
      continue;
    }
    if (c == '<') {
      if (proximo_mayor != std::string_view::npos && proximo_mayor <= i)
        proximo_mayor = texto.find('>', i + 1);
      if (proximo_mayor != std::string_view::npos) {
        std::string_view nombre = texto.substr(i + 1, proximo_mayor - i - 1);
        nombre = nombre.substr(0, std::min(nombre.find(' '), nombre.size()));
        if (es_tag_en_linea(nombre)) {
          grupo(texto.substr(i, proximo_mayor + 1 - i));
          i = proximo_mayor;
          continue;
        }
      }
    } else if (c == '&') {
      if (const size_t largo = referencia(texto.substr(i)); largo > 0) {
        grupo(texto.substr(i, largo));
        i += largo - 1;
        continue;
      }
    }
    r.texto += c;
  }
  return r;
}

std::string pseudo_restaura(std::string_view texto, const std::vector<std::string> &piezas) {
  std::string r;
  r.reserve(texto.size());
  for (size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] == '{') {
      size_t j = i + 1, indice = 0;
      while (j < texto.size() && es_cifra(texto[j]) && indice <= piezas.size())
        indice = indice * 10 + static_cast<size_t>(texto[j++] - '0');
      if (j > i + 1 && j < texto.size() && texto[j] == '}' && indice < piezas.size()) {
        r += piezas[indice];
        i = j;
        continue;
      }
    }
    r += texto[i];
  }
  return r;
}

lista_cad_t *pseudo_traduce(const lista_cad_t *textos, const lista_cad_t *ids, uint32_t origen,
                            uint32_t destino, std::vector<std::string> *mensajes) {
  const uint32_t n = lista_cad_num_elems(textos);
  std::vector<std::vector<std::string>> piezas(n);
  lista_wcad_t *anchos = lista_wcad_crea(0);
  for (uint32_t i = 0; i < n; ++i) {
    char *utf8 = conv_ansi_idioma_a_utf8(lista_cad_dame(textos, i), origen);
    TextoProtegido protegido = pseudo_protege(utf8);
    cad_destruye(&utf8);
    char16_t *ancho = conv_utf8_a_wcad(protegido.texto.c_str());
    lista_wcad_anade_propia(anchos, &ancho);
    piezas[i] = std::move(protegido.piezas);
  }

  lista_wcad_t *avisos = nullptr;
  lista_wcad_t *traducidos =
      lenguatxt_traduce_textos(anchos, ids, origen, destino, MOTOR_PSEUDOTRADUCCION, &avisos);
  lista_wcad_destruye(&anchos);
  for (uint32_t i = 0; avisos != nullptr && i < lista_wcad_num_elems(avisos); ++i) {
    char *aviso = conv_wcad_a_utf8(lista_wcad_dame(avisos, i));
    mensajes->emplace_back(aviso);
    cad_destruye(&aviso);
  }
  lista_wcad_destruye(&avisos);

  lista_cad_t *resultado = lista_cad_crea(0);
  for (uint32_t i = 0; i < n && i < lista_wcad_num_elems(traducidos); ++i) {
    char *utf8 = conv_wcad_a_utf8(lista_wcad_dame(traducidos, i));
    const std::string restaurado = pseudo_restaura(utf8, piezas[i]);
    cad_destruye(&utf8);
    char *texto = conv_utf8_a_ansi_html(restaurado.c_str(), destino);
    lista_cad_anade_propia(resultado, &texto);
  }
  lista_wcad_destruye(&traducidos);
  return resultado;
}
