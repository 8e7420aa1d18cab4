// resumen.cpp - how the command counts a merge on standard error.
#include "paginas.h"

std::string resumen_cuentas(const CuentasPo &cuentas) {
  std::string linea = std::to_string(cuentas.traducidas) + " of " +
                      std::to_string(cuentas.entradas) +
                      (cuentas.entradas == 1 ? " entry translated" : " entries translated");
  if (cuentas.difusas > 0)
    linea +=
        "; " + std::to_string(cuentas.difusas) + " fuzzy left as the source (--fuzzy uses them)";
  if (cuentas.rechazadas > 0)
    linea += "; " + std::to_string(cuentas.rechazadas) + " refused, their tags not the source's";
  if (cuentas.con_nul > 0)
    linea += "; " + std::to_string(cuentas.con_nul) +
             " left as the page has them, for they hold a NUL character";
  return linea;
}
