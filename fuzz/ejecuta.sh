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
for objetivo in escaner link_externo pagina enlace registros division hostil plegado revision po; do
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
  # A run told to go on past its findings (fuzz/larga.sh) may end well and leave inputs:
  # any input kept fails the target too.
  if ! (cd "$trabajo/$objetivo" &&
        ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1" \
        "$raiz/build/fuzz/fuzz/fuzz_$objetivo" "${opciones[@]}" "$@" "$corpus" \
        >"$trabajo/$objetivo/registro.txt" 2>&1) ||
     for k in crash leak timeout oom; do compgen -G "$trabajo/$objetivo/$k-*" || true; done | grep -q .; then
    fallidos+=("$objetivo")
    grep -E "property violated|ERROR|SUMMARY|runtime error" "$trabajo/$objetivo/registro.txt" | head -5 || true
    ls "$trabajo/$objetivo"/crash-* "$trabajo/$objetivo"/leak-* "$trabajo/$objetivo"/timeout-* \
      "$trabajo/$objetivo"/oom-* 2>/dev/null || true
  else
    grep -E "^stat::number_of_executed_units|^Done" "$trabajo/$objetivo/registro.txt" || true
  fi
done

if [ "${#fallidos[@]}" -ne 0 ]; then
  printf '\nFailed: %s. Logs and the inputs that failed are in %s\n' "${fallidos[*]}" "$trabajo"
  exit 1
fi
rm -rf "$trabajo"
printf '\nEvery fuzz target ran %s s without a new failure.\n' "$segundos"
