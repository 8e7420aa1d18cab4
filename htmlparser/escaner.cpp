/* escaner.cpp - (being written) */
