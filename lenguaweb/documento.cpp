/* documento.cpp - (being written) */
