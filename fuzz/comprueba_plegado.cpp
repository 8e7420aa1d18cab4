/* comprueba_plegado.cpp - a body text's markup folded into a msgid's codes and unfolded
 * into a translation. */
#include <string>
#include <string_view>

#include "comprobaciones.h"
#include "plegado.h"

namespace {

/* Whether each code of p stands in its text once ("<gN>" and "</gN>" once each). */
std::string cada_codigo_una_vez(const TextoPlegado &p) {
  for (size_t n = 1; n <= p.codigos.size(); ++n) {
    const std::string num = std::to_string(n);
    const auto veces = [&](const std::string &codigo) {
      size_t k = 0;
      for (size_t i = p.texto.find(codigo); i != std::string::npos; i = p.texto.find(codigo, i + 1))
        ++k;
      return k;
    };
    const bool par = p.codigos[n - 1].par;
    if (veces(par ? "<g" + num + ">" : "<x" + num + "/>") != 1 ||
        (par && veces("</g" + num + ">") != 1))
      return "code " + num + " does not stand once in " + fuzz_muestra(p.texto);
  }
  return "";
}

/* Whether a code of a folded text ("<g1>", "</g1>", "<x1/>") begins at i of t. */
bool es_codigo_en(std::string_view t, size_t i) {
  size_t j = i + 1 + (t.substr(i + 1, 1) == "/");
  if (j >= t.size() || (t[j] != 'g' && t[j] != 'x')) return false;
  const size_t cifras = ++j;
  while (j < t.size() && t[j] >= '0' && t[j] <= '9') ++j;
  return j > cifras && j < t.size() && (t[j] == '>' || t.substr(j, 2) == "/>");
}

bool lleva_codigo(std::string_view tags) {
  for (size_t i = tags.find('<'); i != std::string_view::npos; i = tags.find('<', i + 1))
    if (es_codigo_en(tags, i)) return true;
  return false;
}

}  // namespace

/* The input: a text up to its first NUL, then a translation. The text folded (T) and
 * unfolded is the text; the text's markup refolded is T; each code stands once in T; a
 * translation unfolded (U), refolded and unfolded again, is U: a folded translation,
 * refolded, writes the same page. */
std::string fuzz_comprueba_plegado(const uint8_t *datos, size_t largo) {
  const std::string_view bytes(reinterpret_cast<const char *>(datos), largo);
  const size_t nul = bytes.find('\0');
  const std::string_view texto = bytes.substr(0, nul);
  const std::string_view traduccion =
      nul == std::string_view::npos ? std::string_view() : bytes.substr(nul + 1);
  const TextoPlegado p = plegado_pliega(texto);
  if (plegado_despliega(p, p.texto) != texto)
    return "the folded text unfolds to " + fuzz_muestra(plegado_despliega(p, p.texto));
  if (plegado_repliega(p, texto) != p.texto)
    return "the text refolds to " + fuzz_muestra(plegado_repliega(p, texto)) + ", not " +
           fuzz_muestra(p.texto);
  if (std::string fallo = cada_codigo_una_vez(p); !fallo.empty()) return fallo;
  // Where a '<' of the folded text is no code (a stray one, an unfinished tag), a code's
  // tags hold what reads as a code or do not end with their '>' (a comment never ended),
  // the page's bytes next to a code may read as another: such texts, which no page's
  // msgid holds but as &lt;, are left out of the last property.
  for (size_t i = p.texto.find('<'); i != std::string::npos; i = p.texto.find('<', i + 1))
    if (!es_codigo_en(p.texto, i)) return "";
  for (const CodigoPlegado &c : p.codigos)
    if (lleva_codigo(c.apertura) || lleva_codigo(c.cierre) || !c.apertura.ends_with('>') ||
        (c.par && !c.cierre.ends_with('>')))
      return "";
  const std::string u = plegado_despliega(p, traduccion);
  const std::string otra_vez = plegado_despliega(p, plegado_repliega(p, u));
  if (otra_vez != u)
    return "a translation refolded unfolds to " + fuzz_muestra(otra_vez) + ", not " +
           fuzz_muestra(u);
  (void)plegado_describe(p);
  return "";
}
