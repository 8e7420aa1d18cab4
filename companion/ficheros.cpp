/* ficheros.cpp - (being written) */
