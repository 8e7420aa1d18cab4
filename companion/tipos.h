/* tipos.h - the plain types that cross between a host, the companion services and lenguaweb. */
#ifndef COMPANION_TIPOS_H
#define COMPANION_TIPOS_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#if defined(_WIN32)
#if defined(COMPANION_CONSTRUYENDO)
#define COMPANION_API __declspec(dllexport)
#else
#define COMPANION_API __declspec(dllimport)
#endif
#else
#define COMPANION_API __attribute__((visibility("default")))
#endif

/* No C++ exception ever leaves an exported function: out of memory aborts the process. */
#ifdef __cplusplus
#define COMPANION_NOEXCEPT noexcept
#else
#define COMPANION_NOEXCEPT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Callers compare with CIERTO, so true is exactly 1. */
typedef uint16_t booleano;
#define CIERTO ((booleano)1)
#define FALSO ((booleano)0)

/* Texts are owned, NUL-terminated byte strings (char *); wide texts are owned,
 * NUL-terminated UTF-16 strings (char16_t *). A null pointer means no text. */

typedef struct lista_cad lista_cad_t;   /* list of texts; owns them */
typedef struct lista_wcad lista_wcad_t; /* list of wide texts; owns them */
typedef struct lista_num lista_num_t;   /* list of unsigned 32-bit numbers */
typedef struct lista_reg lista_reg_t;   /* list of link records; never owns them */
typedef struct tablalink tablalink_t;   /* a link record, defined by lenguaweb */
typedef struct flujo flujo_t;           /* a save stream */

#ifdef __cplusplus
}
#endif

#endif
