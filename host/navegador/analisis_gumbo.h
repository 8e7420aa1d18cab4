// analisis_gumbo.h - a page parsed by gumbo, the parse owning every byte it allocated.
#ifndef HOST_ANALISIS_GUMBO_H
#define HOST_ANALISIS_GUMBO_H

#include <memory>
#include <string>
#include <string_view>

struct GumboInternalOutput;

namespace navegador {

// gumbo 0.10 loses some of what it allocates on some pages (a DOCTYPE inside NOSCRIPT
// leaves its name and identifiers): every block it asks for is kept in a list of the
// parse's own, and what gumbo_destroy_output leaves is freed with the parse. Holds its
// own copy of the page, which the tree's positions and original texts point into. One
// parse belongs to one thread; parses on different threads are independent.
class AnalisisGumbo {
 public:
  explicit AnalisisGumbo(std::string_view html);
  ~AnalisisGumbo();
  AnalisisGumbo(const AnalisisGumbo &) = delete;
  AnalisisGumbo &operator=(const AnalisisGumbo &) = delete;

  const GumboInternalOutput &salida() const { return *salida_; }
  const std::string &texto() const { return texto_; }

 private:
  struct Bloques;
  std::string texto_;
  std::unique_ptr<Bloques> bloques_;
  GumboInternalOutput *salida_;
};

}  // namespace navegador

#endif
