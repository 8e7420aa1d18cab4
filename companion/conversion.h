/* conversion.h - texts between UTF-8, UTF-16 and the Windows code page of a language. */
#ifndef COMPANION_CONVERSION_H
#define COMPANION_CONVERSION_H

#include "companion/tipos.h"

#ifdef __cplusplus
extern "C" {
#endif

/* idioma is a Windows language identifier (LANGID); its code page is the language's
 * Windows ANSI code page (1252 for 0 and for every language without another one). */
COMPANION_API uint32_t conv_pagina_de_codigos(uint32_t idioma) COMPANION_NOEXCEPT;

/* CIERTO when a text of bytes 0x00 to 0x7F alone converts to itself both ways in the
 * code page of idioma (and when no converter can be opened, as texts are then copied as
 * they are), so that a caller may skip the conversion of such a text. FALSO in 932. */
COMPANION_API booleano conv_ascii_sin_cambios(uint32_t idioma) COMPANION_NOEXCEPT;

/* New text: the UTF-8 text in the code page of idioma. A character that the code page
 * lacks becomes a decimal character reference ("&#225;"); a byte that is not valid
 * UTF-8 is taken as the Windows-1252 character of that byte. Null gives "". */
COMPANION_API char *conv_utf8_a_ansi_html(const char *texto, uint32_t idioma) COMPANION_NOEXCEPT;

/* As conv_utf8_a_ansi_html, over the longitud bytes at texto, which need not end in a
 * NUL (a NUL among them ends the text): a stretch of a page converts without a copy.
 * The length of the result goes through longitud_resultado when it is not null. */
COMPANION_API char *conv_utf8_a_ansi_html_n(const char *texto, size_t longitud, uint32_t idioma,
                                            size_t *longitud_resultado) COMPANION_NOEXCEPT;

/* New text: the code-page text of idioma in UTF-8. A byte (or byte sequence) that the
 * code page does not define becomes U+FFFD. Null gives "". */
COMPANION_API char *conv_ansi_idioma_a_utf8(const char *texto, uint32_t idioma) COMPANION_NOEXCEPT;

/* New wide text from UTF-8 (invalid bytes as in conv_utf8_a_ansi_html), and new UTF-8
 * text from a wide one (an unpaired surrogate becomes U+FFFD). Null gives "". */
COMPANION_API char16_t *conv_utf8_a_wcad(const char *texto) COMPANION_NOEXCEPT;
COMPANION_API char *conv_wcad_a_utf8(const char16_t *texto) COMPANION_NOEXCEPT;

/* As conv_ansi_idioma_a_utf8; the length of the result goes through longitud_resultado
 * when it is not null. */
COMPANION_API char *conv_ansi_idioma_a_utf8_n(const char *texto, uint32_t idioma,
                                              size_t *longitud_resultado) COMPANION_NOEXCEPT;

/* New text: the BCP 47 tag of the language idioma ("es-ES", "pt-BR", "ja-JP"), as ICU
 * maps the Windows language identifier; null when ICU knows no language for it. */
COMPANION_API char *conv_etiqueta_de_idioma(uint32_t idioma) COMPANION_NOEXCEPT;

/* CIERTO when the language that the BCP 47 tag etiqueta names ("ar", "he-IL", "ckb") is
 * written right to left, as ICU's likely script for it says; FALSO otherwise and for a
 * null tag or one that ICU cannot read. */
COMPANION_API booleano conv_etiqueta_derecha_a_izquierda(const char *etiqueta) COMPANION_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
