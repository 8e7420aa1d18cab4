/* tablalink.h - the link record, its lookups and the splitting of a link into parts. */
#ifndef TABLALINK_TABLALINK_H
#define TABLALINK_TABLALINK_H

#include "lenguaweb.h"

#ifdef __cplusplus
extern "C" {
#endif

#define TABLALINK_NUM_INDICADORES 14

/* A link target: its identifier and the three parts its link splits into. The record
 * owns its four texts, none of them null. Nothing changes a record once made. */
struct tablalink {
  char *ID;             /* written behind "@" in preprocessed pages */
  char *dominio;        /* host of an "http://" link; "" for every other link */
  char *ruta;           /* path without a trailing "/" (but the root "/"); may be "" */
  char *nombre_fichero; /* last component when it holds a "."; may be "" */
  booleano indicador[TABLALINK_NUM_INDICADORES]; /* indicador_1 .. indicador_14 */
};

/* New record holding copies of the four texts (only read): indicador_1 CIERTO, the
 * other thirteen FALSO. */
tablalink_t *tablalink_crea(const char *ID, const char *dominio, const char *ruta,
                            const char *nombre_fichero);

/* New record that takes over the four texts (the caller's variables are left null)
 * and copies the fourteen indicators; runs the integrity check. */
tablalink_t *tablalink_crea_con_campos(char **ID, char **dominio, char **ruta,
                                       char **nombre_fichero,
                                       const booleano indicadores[TABLALINK_NUM_INDICADORES]);

/* Reports a null record or a null text in it. */
void tablalink_verifica_integridad(const tablalink_t *tablalink);

/* CIERTO when the record's dominio, ruta and nombre_fichero equal the three texts,
 * byte for byte. A null record gives FALSO. */
booleano tablalink_coincide_enlace(const tablalink_t *tablalink, const char *dominio,
                                   const char *ruta, const char *nombre_fichero);

/* CIERTO when the record's ID equals id (given without its "@"), byte for byte. */
booleano tablalink_coincide_id(const tablalink_t *tablalink, const char *id);

/* New text: the link rebuilt from the record's parts; null for a null record. */
char *tablalink_dame_enlace(const tablalink_t *tablalink);

/* New text: the link that a record of these three parts (only read; null counts as
 * empty) rebuilds. */
char *tablalink_une_enlace(const char *dominio, const char *ruta, const char *nombre_fichero);

/* Splits enlace (only read) into four new texts, never null, stored through the four
 * addresses: the identifier, the domain, the path and the file name. */
void tablalink_descompone_enlace(const char *enlace, char **ID, char **dominio, char **ruta,
                                 char **nombre_fichero);

/* New text: the identifier joined from the three parts (only read). */
char *tablalink_compone_id(const char *dominio, const char *ruta, const char *nombre_fichero);

#ifdef __cplusplus
}
#endif

#endif
