/* cadenas.cpp - (being written) */
