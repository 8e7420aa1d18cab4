/* traduce_textos.cpp - (being written) */
