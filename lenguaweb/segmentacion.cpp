/* segmentacion.cpp - (being written) */
