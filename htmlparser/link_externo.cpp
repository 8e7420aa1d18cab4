/* link_externo.cpp - (being written) */
