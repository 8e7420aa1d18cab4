/* atributos.cpp - (being written) */
