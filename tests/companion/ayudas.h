// ayudas.h - what the companion's tests share: their headers, and texts handed back as strings.
#ifndef PRUEBAS_COMPANION_AYUDAS_H
#define PRUEBAS_COMPANION_AYUDAS_H

#include <atomic>
#include <functional>
#include <string_view>
#include <thread>
#include <tuple>

#include "comun/entorno_pruebas.h"

using pruebas::toma;

#endif
