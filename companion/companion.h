/* companion.h - every companion service that a host and lenguaweb call. */
#ifndef COMPANION_H
#define COMPANION_H

#include "companion/tipos.h"
#include "companion/cadenas.h"
#include "companion/listas.h"
#include "companion/memoria.h"
#include "companion/informe.h"
#include "companion/ficheros.h"
#include "companion/flujos.h"
#include "companion/conversion.h"
#include "companion/codificacion.h"
#include "companion/motor.h"
#include "companion/opciones.h"

#endif
