// plegado.h - a body text's markup folded into short codes for its msgid, and back.
//
// A run of tags with no text between them is one code: a run of start tags that a later
// run of end tags closes, element for element, is a pair "<g1>…</g1>"; any other run, and
// an element the page marks as not to be translated (its content and all), stands alone
// as "<x2/>". Codes are numbered in the text's order. A translation written with the codes
// is unfolded into the page's own tags; tags written in full stay as they are, so that a
// translation of the whole markup unfolds to itself.
#ifndef HOST_PLEGADO_H
#define HOST_PLEGADO_H

#include <string>
#include <string_view>
#include <vector>

// One code: the page's tags it stands for, as views into the folded text's source.
struct CodigoPlegado {
  bool par = false;           // "<gN>…</gN>"; else "<xN/>"
  std::string_view apertura;  // the run of tags (a pair's start tags)
  std::string_view cierre;    // a pair's end tags; empty for "<xN/>"
  bool sin_traducir = false;  // an element not to be translated, content and all
};

struct TextoPlegado {
  std::string texto;                   // the text with its codes
  std::vector<CodigoPlegado> codigos;  // code N is codigos[N - 1]
};

// texto (UTF-8, a body text with its references read) folded. The codes' views point into
// texto, which must outlive the result. A text without tags comes back as it is.
TextoPlegado plegado_pliega(std::string_view texto);

// The translation with every code of plegado in it replaced by the tags it stands for;
// anything else, a code that plegado lacks too, as it stands.
std::string plegado_despliega(const TextoPlegado &plegado, std::string_view traduccion);

// A translation written with the page's tags folded again: each run of tags that is byte
// for byte one of plegado's runs becomes its code (each code once); the rest as it stands.
std::string plegado_repliega(const TextoPlegado &plegado, std::string_view completa);

// A refusal's reason (marcado_compara) about a translation unfolded from codes, with
// the code named after a tag of the page it lacks: "it lacks <a href=x> (in <g1>)".
std::string plegado_nombra_codigo(const TextoPlegado &plegado, std::string motivo);

// What a translator may want to know of each code, for an extracted comment:
// "Codes: <g1> = <a href=\"#x\"><code>; <x2/> = <br>", each tag by its name with its
// href, src, title and alt; an element not to be translated whole. Empty without codes.
std::string plegado_describe(const TextoPlegado &plegado);

#endif
