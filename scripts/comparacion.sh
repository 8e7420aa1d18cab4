#!/usr/bin/env bash
# comparacion.sh - times lenguaweb against translate-toolkit on the same pages: extracting
# their texts to PO files and merging translated PO files back into pages, beside a plain
# copy of the files. Several rounds, interleaved; prints the medians as a table.
# Installs what it needs and builds the command in build/comparacion.
set -euo pipefail
cd "$(dirname "$0")/.."

rondas=${LENGUAWEB_RONDAS:-3}
nucleos=$(nproc)

bash scripts/dependencias.sh sitios comparacion
cmake -S . -B build/comparacion -G Ninja -DCMAKE_BUILD_TYPE=Release -DLENGUAWEB_TESTS=OFF >/dev/null
cmake --build build/comparacion --target lenguaweb_cli >/dev/null
lenguaweb=$PWD/build/comparacion/host/lenguaweb

trabajo=$(mktemp -d /tmp/comparacion.XXXXXX)
trap 'rm -rf "$trabajo"' EXIT
paginas=$trabajo/paginas

# The pages: 100 of Python's manual and 100 of Apache's English manual, evenly spread over
# each sorted list, and the five largest pages of both, in their own folders.
python3 - "$paginas" <<'PY'
import os, shutil, sys
destino = sys.argv[1]
def html(raiz):
    r = []
    for carpeta, _, ficheros in os.walk(raiz):
        for f in ficheros:
            p = os.path.join(carpeta, f)
            if f.endswith('.html') and os.path.isfile(p) and not os.path.islink(p):
                r.append(p)
    return sorted(r)
raices = {'python': '/usr/share/doc/python3.11/html', 'apache': '/usr/share/doc/apache2-doc/manual/en'}
todas = {n: html(r) for n, r in raices.items()}
elegidas = set()
for n, lista in todas.items():
    elegidas.update(lista[(2 * k + 1) * len(lista) // 200] for k in range(100))
mayores = sorted((p for l in todas.values() for p in l), key=os.path.getsize, reverse=True)[:5]
elegidas.update(mayores)
for p in sorted(elegidas):
    n = next(n for n, r in raices.items() if p.startswith(r + '/'))
    d = os.path.join(destino, n, os.path.relpath(p, raices[n]))
    os.makedirs(os.path.dirname(d), exist_ok=True)
    shutil.copyfile(p, d)
print('largest:', ', '.join(f'{os.path.relpath(p, "/usr/share/doc")} ({os.path.getsize(p):,} B)' for p in mayores))
PY
num_paginas=$(find "$paginas" -name '*.html' | wc -l)
bytes=$(find "$paginas" -name '*.html' -printf '%s\n' | awk '{s += $1} END {print s}')

# Translated PO files for the merges, made once: every msgstr its msgid (msgen).
traduce() {
  local de=$1 a=$2
  (cd "$de" && find . -name '*.po') | while read -r po; do
    mkdir -p "$a/$(dirname "$po")"
    msgen "$de/$po" -o "$a/$po"
  done
}
"$lenguaweb" extract "$paginas" -o "$trabajo/po_lw" -l 0x0409 >/dev/null 2>&1
traduce "$trabajo/po_lw" "$trabajo/po_lw_t"
html2po -i "$paginas" -o "$trabajo/po_tt" >/dev/null 2>&1
traduce "$trabajo/po_tt" "$trabajo/po_tt_t"

# One timed command: its seconds appended to the file of its name.
mide() {
  local nombre=$1
  shift
  local inicio fin
  inicio=$(date +%s.%N)
  "$@" >/dev/null 2>"$trabajo/error"
  fin=$(date +%s.%N)
  echo "$fin - $inicio" | bc -l >>"$trabajo/t_$nombre"
}
limpia() { rm -rf "$trabajo/salida" "$trabajo/po"; sync; }

for ((r = 1; r <= rondas; r++)); do
  echo "round $r of $rondas" >&2
  limpia; mide copia cp -r "$paginas" "$trabajo/salida"
  for j in 1 "$nucleos"; do
    limpia
    mide "lw_extrae_$j" "$lenguaweb" extract "$paginas" -o "$trabajo/po" -l 0x0409 -j "$j"
    mide "lw_mezcla_$j" "$lenguaweb" merge "$paginas" "$trabajo/po_lw_t" -o "$trabajo/salida" \
      -l 0x0409 -j "$j"
  done
  limpia; mide tt_extrae html2po -i "$paginas" -o "$trabajo/po"
  limpia; mide tt_mezcla po2html -i "$trabajo/po_tt_t" -t "$paginas" -o "$trabajo/salida"
done

python3 - "$trabajo" "$num_paginas" "$bytes" "$nucleos" "$rondas" <<'PY'
import statistics, sys
trabajo, paginas, bytes_, nucleos, rondas = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5]
def mediana(n):
    return statistics.median(float(x) for x in open(f'{trabajo}/t_{n}'))
mb = bytes_ / 1e6
copia = mediana('copia')
print(f'{paginas} pages, {bytes_:,} bytes; medians of {rondas} rounds, in seconds\n')
print('| tool | extract | merge | extract + merge | x copy | extract MB/s | merge MB/s |')
print('|---|---|---|---|---|---|---|')
print(f'| cp -r (plain copy) | | | {copia:.3f} | 1.0 | | |')
filas = [(f'lenguaweb, -j 1', 'lw_extrae_1', 'lw_mezcla_1'),
         (f'lenguaweb, -j {nucleos} (all cores)', f'lw_extrae_{nucleos}', f'lw_mezcla_{nucleos}'),
         ('translate-toolkit html2po / po2html', 'tt_extrae', 'tt_mezcla')]
for nombre, e, m in filas:
    te, tm = mediana(e), mediana(m)
    print(f'| {nombre} | {te:.3f} | {tm:.3f} | {te + tm:.3f} | {(te + tm) / copia:.1f} | {mb / te:.1f} | {mb / tm:.1f} |')
PY
