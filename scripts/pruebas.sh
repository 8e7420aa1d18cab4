#!/usr/bin/env bash
# pruebas.sh - builds lenguaweb and runs every test: the layout check (clang-format), the
# optimised build with warnings as errors, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of every fuzzer, and the check of a sample of
# real sites and legacy-charset copies, with a real browser's rendering of a few of them.
# Installs what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

etapa() { printf '\n== %s\n' "$*"; }

etapa "Dependencies"
bash scripts/dependencias.sh sitios

etapa "Layout: every C and C++ file as clang-format writes it"
git ls-files -z -- '*.c' '*.h' '*.cpp' | xargs -0 clang-format --dry-run -Werror

etapa "Optimised build, warnings as errors"
cmake --preset ci >/dev/null
cmake --build --preset ci
ctest --preset ci

etapa "AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan

if [ -x fuzz/ejecuta.sh ]; then
  etapa "Fuzzers, a short fixed run each"
  # One seed: every machine tries the same inputs in the same order, so that the run checks
  # the change and not the draw. Longer runs with other seeds look for new faults.
  fuzz/ejecuta.sh "${LENGUAWEB_SEGUNDOS_FUZZ:-20}" -seed="${LENGUAWEB_SEMILLA_FUZZ:-1}"
fi

if [ -x scripts/sitios_reales.sh ]; then
  etapa "Real sites and legacy copies, a fixed sample; the browser's sample"
  scripts/sitios_reales.sh --muestra
fi

etapa "All tests passed"
