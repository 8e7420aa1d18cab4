#!/usr/bin/env bash
# ejecuta.sh SECONDS - builds the fuzz targets (the fuzz preset) and runs each for SECONDS
# with its seeds, its kept findings and its dictionary; fails on any crash, leak, timeout
# or property violation. The corpus is copied to a temporary folder: the repository is
# never written. Extra arguments go to every target (say -jobs=2 or -max_len=8192).
set -euo pipefail
cd "$(dirname "$0")/.."
raiz="$(pwd)"
segundos="${1:?usage: fuzz/ejecuta.sh SECONDS [libFuzzer options]}"
shift

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

trabajo="$(mktemp -d "${TMPDIR:-/tmp}/lenguaweb-fuzz.XXXXXX")"
fallidos=()
conocidos=()
for objetivo in escaner link_externo pagina enlace registros division hostil; do
  corpus="$trabajo/$objetivo/corpus"
  mkdir -p "$corpus"
  for carpeta in fuzz/semillas/$objetivo fuzz/regresiones/$objetivo; do
    if [ -d "$carpeta" ]; then cp -- "$carpeta"/* "$corpus"/ 2>/dev/null || true; fi
  done
  opciones=(-max_total_time="$segundos" -timeout=20 -rss_limit_mb=2048 -malloc_limit_mb=512
            -print_final_stats=1 -artifact_prefix="$trabajo/$objetivo/")
  [ -f "fuzz/diccionarios/$objetivo.dict" ] && opciones+=(-dict="$raiz/fuzz/diccionarios/$objetivo.dict")
  printf '\n== %s, %s s\n' "$objetivo" "$segundos"
  # Run from the temporary folder: libFuzzer writes its job logs where it runs.
  if ! (cd "$trabajo/$objetivo" &&
        ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1" \
        "$raiz/build/fuzz/fuzz/fuzz_$objetivo" "${opciones[@]}" "$@" "$corpus" \
        >"$trabajo/$objetivo/registro.txt" 2>&1); then
    # A target with findings reported and not fixed yet (fuzz/pendientes/<target>) finds
    # more of the same kind at once: a violated property of its check is shown and kept,
    # as the real-site checker shows its known failures, but fails the run only where the
    # target has none pending. A sanitizer's error, a leak or a timeout always fails it.
    if compgen -G "fuzz/pendientes/$objetivo/*" >/dev/null &&
       grep -q "property violated" "$trabajo/$objetivo/registro.txt" &&
       ! grep -qE "runtime error:|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer: (timeout|out-of-memory))" \
         "$trabajo/$objetivo/registro.txt"; then
      conocidos+=("$objetivo")
      grep -E "property violated" "$trabajo/$objetivo/registro.txt" | head -1 || true
      ls "$trabajo/$objetivo"/crash-* 2>/dev/null || true
      continue
    fi
    fallidos+=("$objetivo")
    grep -E "property violated|ERROR|SUMMARY|runtime error" "$trabajo/$objetivo/registro.txt" | head -5 || true
    ls "$trabajo/$objetivo"/crash-* "$trabajo/$objetivo"/leak-* "$trabajo/$objetivo"/timeout-* \
      "$trabajo/$objetivo"/oom-* 2>/dev/null || true
  else
    grep -E "^stat::number_of_executed_units|^Done" "$trabajo/$objetivo/registro.txt" || true
  fi
done

if [ "${#conocidos[@]}" -ne 0 ]; then
  printf '\nKnown open: %s found more of what fuzz/pendientes/ holds (kept in %s).\n' \
    "${conocidos[*]}" "$trabajo"
fi
if [ "${#fallidos[@]}" -ne 0 ]; then
  printf '\nFailed: %s. Logs and the inputs that failed are in %s\n' "${fallidos[*]}" "$trabajo"
  exit 1
fi
[ "${#conocidos[@]}" -eq 0 ] && rm -rf "$trabajo"
printf '\nEvery fuzz target ran %s s without a new failure.\n' "$segundos"
