/* enlaces.cpp - (being written) */
