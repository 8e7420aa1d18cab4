/* informe.h - the failure report: how a broken internal condition reaches the host. */
#ifndef COMPANION_INFORME_H
#define COMPANION_INFORME_H

#include "companion/tipos.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A host's receptor of failure reports. condicion and modulo are borrowed for the
 * call only; contexto is what the host gave to informa_fallo_pon_receptor. It is
 * called on the thread that made the report, so several threads may call it at once. */
typedef void (*informa_fallo_receptor_t)(const char *condicion, const char *modulo, uint32_t linea,
                                         void *contexto);

/* Reports a broken internal condition and returns; the caller goes on. condicion is
 * the source text of the failed test ("" for a branch that consistent data never
 * reaches), modulo names the module. Both are only read. */
COMPANION_API void informa_fallo_interno(const char *condicion, const char *modulo,
                                         uint32_t linea) COMPANION_NOEXCEPT;

/* Installs the receptor of every later report, process-wide. A null receptor
 * restores the default, which prints the three values on standard error. */
COMPANION_API void informa_fallo_pon_receptor(informa_fallo_receptor_t receptor,
                                              void *contexto) COMPANION_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
