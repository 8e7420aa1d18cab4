/* descompone.cpp - (being written) */
