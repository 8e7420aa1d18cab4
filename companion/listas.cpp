/* listas.cpp - (being written) */
