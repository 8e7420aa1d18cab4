/* idiomas.cpp - (being written) */
