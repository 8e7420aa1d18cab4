/* conversion.cpp - (being written) */
