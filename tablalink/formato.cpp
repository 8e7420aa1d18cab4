/* formato.cpp - (being written) */
