/* motor.cpp - (being written) */
