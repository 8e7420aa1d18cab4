// informes.h - the command's messages on standard error: failure reports, errors, progress.
#ifndef HOST_INFORMES_H
#define HOST_INFORMES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Installs the process's one receptor of failure reports (informa_fallo_pon_receptor).
// Reports are printed as they come; but the report "strchr(texto, '&')==NULL", which the
// library makes for every text that keeps an entity it does not decode (&amp;, &quot;,
// &#8217; ...) and which means that nothing went wrong, only with detallado. Call it
// before any thread that reports runs; a second call changes detallado.
void informes_instala(bool detallado);

// Prints linea and a line feed on standard error, never mixed with another thread's
// line or with the progress bar; bytes of a file name that are not UTF-8, and control
// characters, are shown as \xNN (see informes_escapa). linea is only read.
void informes_escribe(const std::string &linea);

// Draws "hechas/total" as a progress bar on standard error, only when standard error
// is a terminal; informes_quita_progreso clears it for good.
void informes_progreso(size_t hechas, size_t total);
void informes_quita_progreso();

// While an object of this class lives, the reports made on the thread that made it
// belong to nombre (a page or a file; copied) and are printed as
// "<nombre>: <condition> (<module>)", followed by where the text they concern stands
// when the page's texts are being read (informes_pon_texto). The companion's reports (a file that
// cannot be read or written, a damaged save stream) are held back instead, so that the work in
// progress can turn them into its own failure with informes_toma_fallos; those left
// are printed when the object ends. Objects nest on a thread: the newest is in force.
inline constexpr uint32_t kSinTexto = UINT32_MAX;

class AmbitoInformes {
 public:
  explicit AmbitoInformes(std::string nombre);
  ~AmbitoInformes();
  AmbitoInformes(const AmbitoInformes &) = delete;
  AmbitoInformes &operator=(const AmbitoInformes &) = delete;

  std::string nombre;
  std::vector<std::string> fallos;  // companion reports held back, in order
  std::vector<std::string> otros;   // every other report, when retiene_todo is set
  bool retiene_todo = false;        // hold back every report, not only the companion's
  bool cuenta_enlaces = false;      // count link references left unresolved, not print them
  uint32_t enlaces_sin_resolver = 0;
  uint32_t enlaces_activos = 0;  // of them, those whose record gives a link that would run
  // The text being read: its line (0 when none is or it is not known), its element and
  // attribute (empty when not known), valid while the page's origins are.
  uint32_t linea_texto = 0;
  std::string_view elemento_texto, atributo_texto;
  uint32_t indice_texto = kSinTexto;
  // The texts (by index) that the library reported to hold a NUL: it writes them as the
  // page has them, whatever their translation.
  std::vector<uint32_t> textos_con_nul;
  AmbitoInformes *anterior;
};

// The reports held back in the calling thread's scope since the last call (the
// companion's first, then the others), joined with "; ", and forgets them. Empty when there is no
// scope or nothing was held back.
std::string informes_toma_fallos();

// The text that the calling thread's later reports concern: its line (0 when not
// known), its element and attribute (views that must stay valid until the next call;
// empty when not known), its index (kSinTexto when not known). A 0 line and empty
// views: no text.
void informes_pon_texto(uint32_t linea, std::string_view elemento, std::string_view atributo,
                        uint32_t indice = kSinTexto);

// Where a text stands, for messages and PO files: "<h2>" for a body text of an element,
// "title of <abbr>" for the value of an attribute.
std::string informes_lugar(std::string_view elemento, std::string_view atributo);

// Whether the calling thread's scope holds any report back.
bool informes_hay_fallos();

// The length of the longest start of texto that is valid UTF-8.
size_t informes_largo_utf8(std::string_view texto);

// texto with every byte that is not part of a valid UTF-8 character, and every control
// character but a line end and a tab, written as "\xNN": file names are bytes, a PO file
// or a name may hold a terminal's commands, and a message must stay readable text.
std::string informes_escapa(std::string_view texto);

#endif
