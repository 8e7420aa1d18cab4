/* atributos_visibles.h - the texts a reader sees in a tag's attributes, by segmentation. */
#ifndef LENGUAWEB_ATRIBUTOS_VISIBLES_H
#define LENGUAWEB_ATRIBUTOS_VISIBLES_H

#include <cstddef>

#include "lenguaweb/atributos.h"

/* The most texts one tag gives; attributes beyond them give none. */
inline constexpr size_t kMaxTextosDeTag = 8;

/* Fills textos with the texts that the tag gives in the segmentation, in the order of its
 * attributes, and returns how many. SEGMENTACION_CLASICA: at most one, as
 * lenguaweb_texto_de_tag gives it. SEGMENTACION_BLOQUES: besides META's description and
 * keywords and the link previews' texts (lenguaweb_procesa_meta_compartida), the title of
 * any element (TIPO_TITULO_ELEMENTO), the alt of IMG, AREA and INPUT type=image,
 * placeholder of INPUT and TEXTAREA, aria-label, aria-description, aria-roledescription
 * and aria-placeholder of any element, TH's abbr, TABLE's summary, the label of OPTION, OPTGROUP
 * and TRACK, and the value of INPUT type=button, submit and reset; each attribute name counted once
 * (the first, letter case ignored, as a browser keeps it), with an '=' and a closed value that
 * holds a character other than a blank. Reading the page and writing it back both decide through
 * here, so each text goes back into the attribute it came from. */
size_t lenguaweb_textos_de_tag(const tag_leido &tag, segmentacion_t segmentacion,
                               texto_de_tag textos[kMaxTextosDeTag]);

#endif
