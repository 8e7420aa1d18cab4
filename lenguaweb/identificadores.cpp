/* identificadores.cpp - (being written) */
