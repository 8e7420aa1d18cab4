/* reconstruccion.cpp - (being written) */
