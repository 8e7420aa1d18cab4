/* atributos_visibles.h - the texts a reader sees in a tag's attributes, by segmentation. */
#ifndef LENGUAWEB_ATRIBUTOS_VISIBLES_H
#define LENGUAWEB_ATRIBUTOS_VISIBLES_H

#include <cstddef>

#include "lenguaweb/atributos.h"

/* The most texts one tag gives; attributes beyond them give none. */
inline constexpr size_t kMaxTextosDeTag = 8;

/* Fills textos with the texts that the tag gives in the segmentation, in the order of its
 * attributes, and returns how many. SEGMENTACION_CLASICA: at most one, as
 * lenguaweb_texto_de_tag gives it. SEGMENTACION_BLOQUES: a META's content as
 * lenguaweb_procesa_meta and lenguaweb_procesa_meta_compartida give it; for any other tag,
 * the attributes that htmlparser/atributos.tsv lists for its element or for any element,
 * each attribute name counted once (the first, letter case ignored, as a browser keeps it),
 * with an '=' and a closed value that holds a character other than a blank. Reading the page
 * and writing it back both decide through here, so each text goes back into the attribute it
 * came from. */
size_t lenguaweb_textos_de_tag(const tag_leido &tag, segmentacion_t segmentacion,
                               texto_de_tag textos[kMaxTextosDeTag]);

#endif
