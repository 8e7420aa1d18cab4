/* objetivo.cpp - the libFuzzer entry point of one check, the one FUZZ_COMPRUEBA names. */
#include <cstdio>
#include <cstdlib>

#include "fuzz/comprobaciones.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo) {
  const std::string fallo = FUZZ_COMPRUEBA(datos, largo);
  if (!fallo.empty()) {
    // An abort makes libFuzzer keep the input as a crash.
    std::fprintf(stderr, "lenguaweb fuzz: property violated: %s\n", fallo.c_str());
    std::abort();
  }
  return 0;
}
