#!/usr/bin/env bash
# comparacion.sh - times lenguaweb against translate-toolkit and po4a on the same pages:
# extracting their texts to PO files and merging translated PO files back into pages, beside
# a plain copy of the files. Several rounds, interleaved; prints the medians as a table.
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

# po4a as its manual says to run it: one configuration for every page, one process, a PO
# file per page. Its PO files are named after each page's file name, so every page is seen
# through a link with a name of its own (python%library%os.html). po4a stops at the first
# page its XHTML reader rejects (a closing tag it finds unbalanced), so such pages, found
# page by page beforehand, are left out of its runs; its MB/s are of the pages it reads.
mkdir -p "$trabajo/plano" "$trabajo/prueba_p4"
(cd "$paginas" && find . -name '*.html' -printf '%P\n' | sort) | while read -r p; do
  ln -s "$paginas/$p" "$trabajo/plano/${p//\//%}"
done
(cd "$trabajo/plano" && ls) | T=$trabajo xargs -d '\n' -P "$nucleos" -n 1 bash -c \
  'po4a-updatepo -f xhtml -m "$T/plano/$1" -M UTF-8 -p "$T/prueba_p4/$1.po" >/dev/null 2>&1 ||
   echo "$1"' _ >"$trabajo/p4_rechazadas"
(cd "$trabajo/plano" && ls) | grep -vxF -f "$trabajo/p4_rechazadas" >"$trabajo/p4_leidas" || true
configura_po4a() {
  local cfg=$1 po=$2
  {
    echo '[po4a_langs] es'
    echo "[po4a_paths] $po/\$master.pot \$lang:$po/\$master.po"
    echo '[options] --master-charset UTF-8 --localized-charset UTF-8 --keep 0'
    while read -r plano; do
      echo "[type: xhtml] $trabajo/plano/$plano \$lang:$trabajo/salida/${plano//%//}"
    done <"$trabajo/p4_leidas"
  } >"$cfg"
}
configura_po4a "$trabajo/po4a_extrae.cfg" "$trabajo/po"
configura_po4a "$trabajo/po4a_mezcla.cfg" "$trabajo/po_p4_t"
po4a --no-translations "$trabajo/po4a_mezcla.cfg" >/dev/null 2>&1
for po in "$trabajo"/po_p4_t/*.po; do msgen "$po" -o "$po"; done

# One timed command: its wall-clock seconds appended to the file of its name, and its
# processor seconds (user and system, its children's included) to the file's c_ twin.
mide() {
  local nombre=$1
  shift
  local inicio fin
  inicio=$(date +%s.%N)
  /usr/bin/time -f '%U + %S' -o "$trabajo/tiempo" "$@" >/dev/null 2>"$trabajo/error"
  fin=$(date +%s.%N)
  echo "$fin - $inicio" | bc -l >>"$trabajo/t_$nombre"
  bc -l <"$trabajo/tiempo" >>"$trabajo/c_$nombre"
}
limpia() { rm -rf "$trabajo/salida" "$trabajo/po"; sync; }

carga_antes=$(cut -d' ' -f1-3 /proc/loadavg)
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
  limpia; mkdir -p "$trabajo/po"; mide p4_extrae po4a --no-translations "$trabajo/po4a_extrae.cfg"
  limpia; mide p4_mezcla po4a --no-update "$trabajo/po4a_mezcla.cfg"
done

carga_despues=$(cut -d' ' -f1-3 /proc/loadavg)
p4_paginas=$(wc -l <"$trabajo/p4_leidas")
p4_bytes=$(cd "$trabajo/plano" && xargs -d '\n' stat -L -c %s <"$trabajo/p4_leidas" | awk '{s += $1} END {print s}')
python3 - "$trabajo" "$num_paginas" "$bytes" "$nucleos" "$rondas" "$p4_paginas" "$p4_bytes" \
  "$carga_antes" "$carga_despues" <<'PY'
import statistics, sys
trabajo, paginas, bytes_, nucleos, rondas = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5]
p4_paginas, p4_bytes = int(sys.argv[6]), int(sys.argv[7])
def mediana(n, clase='t'):
    return statistics.median(float(x) for x in open(f'{trabajo}/{clase}_{n}'))
mb = bytes_ / 1e6
copia = mediana('copia')
print(f'{paginas} pages, {bytes_:,} bytes; medians of {rondas} rounds, in seconds')
rechazadas = open(f'{trabajo}/p4_rechazadas').read().split()
print(f'po4a reads {p4_paginas} of them, {p4_bytes:,} bytes; it rejects {len(rechazadas)}: '
      f'{", ".join(r.replace("%", "/") for r in rechazadas)}')
print(f'load average (1, 5, 15 min) before the rounds {sys.argv[8]}, after {sys.argv[9]}\n')
print('| tool | extract | merge | extract + merge | x copy | extract MB/s | merge MB/s '
      '| processor s, extract + merge |')
print('|---|---|---|---|---|---|---|---|')
print(f'| cp -r (plain copy) | | | {copia:.3f} | 1.0 | | | {mediana("copia", "c"):.3f} |')
filas = [(f'lenguaweb, -j 1', 'lw_extrae_1', 'lw_mezcla_1', mb),
         (f'lenguaweb, -j {nucleos} (all cores)', f'lw_extrae_{nucleos}', f'lw_mezcla_{nucleos}', mb),
         ('translate-toolkit html2po / po2html', 'tt_extrae', 'tt_mezcla', mb),
         (f'po4a --no-translations / --no-update ({p4_paginas} pages)', 'p4_extrae', 'p4_mezcla',
          p4_bytes / 1e6)]
for nombre, e, m, megas in filas:
    te, tm = mediana(e), mediana(m)
    cpu = mediana(e, 'c') + mediana(m, 'c')
    print(f'| {nombre} | {te:.3f} | {tm:.3f} | {te + tm:.3f} | {(te + tm) / copia:.1f} '
          f'| {megas / te:.2f} | {megas / tm:.2f} | {cpu:.3f} |')
PY
