/* flujos.cpp - (being written) */
