/* escape.cpp - writing a text or a value into a page so that it can never change the page's
 * markup. */
#include "lenguaweb/escape.h"

#include <string>

#include "htmlparser/reglas_html.h"

using htmlparser::kEspacioDuroUtf8;

/* The reference written for the character at i of a text (en_valor: of an attribute
 * value) that cannot stand as it is, with *largo its length in bytes; "" for any other. */
std::string_view lenguaweb_sustituto_de(std::string_view texto, size_t i, bool en_valor,
                                        size_t *largo) {
  struct sustituto {
    char caracter;
    std::string_view referencia;
    bool solo_en_valor;
  };
  static constexpr sustituto kSustitutos[] = {{'<', htmlparser::kEntidadMenor, false},
                                              {'>', htmlparser::kEntidadMayor, false},
                                              {'"', htmlparser::kEntidadComillas, true},
                                              {'\'', htmlparser::kEntidadApostrofo, true}};
  *largo = 1;
  const char c = texto[i];
  if (c == '&')
    return htmlparser::largo_de_referencia(texto, i) == 0 ? htmlparser::kEntidadAmpersand
                                                          : std::string_view();
  if (texto.compare(i, kEspacioDuroUtf8.size(), kEspacioDuroUtf8) == 0) {
    *largo = kEspacioDuroUtf8.size();
    return htmlparser::kEntidadEspacioDuro;
  }
  for (const sustituto &s : kSustitutos)
    if (s.caracter == c && (en_valor || !s.solo_en_valor)) return s.referencia;
  return {};
}

void lenguaweb_veda_comilla(std::string &salida, size_t desde, char vedada) {
  if (vedada == 0 || salida.find(vedada, desde) == std::string::npos) return;
  const std::string_view referencia =
      vedada == '"' ? htmlparser::kEntidadComillas : htmlparser::kEntidadApostrofo;
  std::string escrito;
  for (size_t i = desde; i < salida.size(); ++i)
    if (salida[i] == vedada)
      escrito.append(referencia);
    else
      escrito.push_back(salida[i]);
  salida.replace(desde, std::string::npos, escrito);
}

void lenguaweb_escribe_valor(std::string &salida, std::string_view valor, bool entre_comillas,
                             char vedada) {
  const char comilla = lenguaweb_comilla_de_valor(vedada);
  if (!entre_comillas) salida.push_back(comilla);
  size_t copiado = 0;
  for (size_t i = 0; i < valor.size(); ++i) {
    size_t largo = 1;
    const std::string_view sustituto = lenguaweb_sustituto_de(valor, i, true, &largo);
    if (sustituto.empty()) continue;
    salida.append(valor.substr(copiado, i - copiado)).append(sustituto);
    copiado = i + largo;
    i = copiado - 1;
  }
  salida.append(valor.substr(copiado));
  if (!entre_comillas) salida.push_back(comilla);
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
