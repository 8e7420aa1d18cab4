/* normalizacion.cpp - (being written) */
