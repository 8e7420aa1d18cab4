/* registro.cpp - (being written) */
