// modelo.h - what a page should look like after each step, worked out apart from the library.
#ifndef SITIOS_MODELO_H
#define SITIOS_MODELO_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sitios {

// A link split into the three parts that a link record keeps.
struct PartesEnlace {
  std::string dominio;
  std::string ruta;
  std::string nombre_fichero;
};

// The parts of a link value: only "http://" in any letter case gives a domain; the last
// component is a file name when it holds a '.', or when the link is relative.
PartesEnlace enlace_divide(std::string_view enlace);

// The identifier of the parts: the domain, then '|' and the path, then '|' and the file
// name; the root path takes part only in a link without a domain.
std::string enlace_identificador(const PartesEnlace &partes);

// The link that a rebuild writes for the parts: "http://" and the domain, the path, a
// '/' after any path but the root, and the file name.
std::string enlace_reconstruye(const PartesEnlace &partes);

// How a link from a table is written in the place of a value of the page: between the
// quotes it had, or between double quotes; '"', '\'', '<', '>', an '&' that begins no
// character reference and a no-break space as entities.
std::string valor_escrito(std::string_view valor, bool entre_comillas);

}  // namespace sitios

#endif
