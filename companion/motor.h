/* motor.h - the text engine: wide texts with brace markup, translated run by run. */
#ifndef COMPANION_MOTOR_H
#define COMPANION_MOTOR_H

#include "companion/tipos.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A text cut into plain runs and brace groups ("{...}", never nested). */
typedef struct texto_dividido texto_dividido_t;

/* Option bit of motor_traduce_texto_dividido: runs that the memory lacks are
 * pseudo-translated, so a reader sees at a glance what went through the engine. */
#define MOTOR_PSEUDOTRADUCCION 1u

/* New divided text, never null (freed with motor_destruye_texto_dividido even when
 * the division failed). Always writes both outputs: *ok is CIERTO when the text could
 * be divided; *mensaje is null or a new wide text naming the fault and its position
 * (a "}" without its "{", a "{" without its "}", or a "{" inside a group). */
COMPANION_API texto_dividido_t *motor_divide_texto_llaves(const char16_t *texto, booleano *ok,
                                                          char16_t **mensaje) COMPANION_NOEXCEPT;

/* New wide text: every brace group kept as and where it stands, every plain run
 * replaced by its entry in the translation memory, or pseudo-translated when the
 * options ask for it, or else kept. id is only read; origen and destino are the
 * languages. A text whose division failed comes back unchanged. */
COMPANION_API char16_t *motor_traduce_texto_dividido(const texto_dividido_t *dividido,
                                                     const char *id, uint32_t origen,
                                                     uint32_t destino,
                                                     uint32_t opciones) COMPANION_NOEXCEPT;

COMPANION_API void motor_destruye_texto_dividido(texto_dividido_t **dividido) COMPANION_NOEXCEPT;

/* The translation memory, shared by the whole process and safe to use from several
 * threads: the translation of the run origen is destino (both copied; a later entry
 * for the same run replaces the earlier one). */
COMPANION_API void motor_anade_traduccion(const char16_t *origen,
                                          const char16_t *destino) COMPANION_NOEXCEPT;
COMPANION_API void motor_vacia_memoria(void) COMPANION_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
