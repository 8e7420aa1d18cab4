#!/usr/bin/env bash
# igualdad.sh - runs two builds of the command on the 815 pages of the real-page comparison
# (Apache's manual in English and Spanish, the Debian Reference in Spanish, Python's manual)
# and compares every output: extract (in both markup forms), pseudo, merge and links, in both
# segmentations, with their messages and exit statuses. The dates of PO headers are left
# out. Prints one line per output that differs and a count; exit 1 when any differs.
#
#   scripts/igualdad.sh OLD_COMMAND NEW_COMMAND [WORK_FOLDER]
#
# Both commands must exist; the pages are Debian's packages apache2-doc, debian-reference-es
# and python3.11-doc (scripts/dependencias.sh sitios installs them).
set -uo pipefail
[ $# -ge 2 ] || { echo "usage: $0 OLD_COMMAND NEW_COMMAND [WORK_FOLDER]" >&2; exit 2; }
viejo=$(realpath "$1") nuevo=$(realpath "$2")
trabajo=${3:-$(mktemp -d /tmp/igualdad.XXXXXX)}
mkdir -p "$trabajo"

declare -A raiz=([apache-en]=/usr/share/doc/apache2-doc/manual/en
                 [apache-es]=/usr/share/doc/apache2-doc/manual/es
                 [debian-reference-es]=/usr/share/debian-reference
                 [python]=/usr/share/doc/python3.11/html)
declare -A patron=([apache-en]='*.html' [apache-es]='*.html' [debian-reference-es]='*.es.html'
                   [python]='*.html')
declare -A idioma=([apache-en]=0x0409 [apache-es]=0x0C0A [debian-reference-es]=0x0C0A
                   [python]=0x0409)
paginas=$trabajo/paginas
if [ ! -d "$paginas" ]; then
  for s in "${!raiz[@]}"; do
    mkdir -p "$paginas/$s"
    (cd "${raiz[$s]}" && find . -type f -name "${patron[$s]}" -print0 |
      xargs -0 cp --parents -t "$paginas/$s")
  done
fi
echo "pages: $(find "$paginas" -type f | wc -l)" >&2

# Every run of one command into its own folder: salidas/NAME/RUN/SITE, messages beside it.
corre() {
  local lw=$1 destino=$2
  rm -rf "$destino"
  for s in "${!raiz[@]}"; do
    local l=${idioma[$s]} p=$paginas/$s
    for seg in blocks classic; do
      local d=$destino/$seg
      mkdir -p "$d"
      for forma in codes full; do
        "$lw" extract "$p" -l "$l" -t 0x0407 --segments $seg --markup $forma \
          -o "$d/extract-$forma/$s" >"$d/extract-$forma.$s.out" 2>&1
        echo "exit $?" >>"$d/extract-$forma.$s.out"
      done
      "$lw" pseudo "$p" -l "$l" --segments $seg -o "$d/pseudo/$s" >"$d/pseudo.$s.out" 2>&1
      echo "exit $?" >>"$d/pseudo.$s.out"
      "$lw" links "$p" -l "$l" --segments $seg --links "$d/links.$s.tabla" \
        -o "$d/links/$s" >"$d/links.$s.out" 2>&1
      echo "exit $?" >>"$d/links.$s.out"
    done
  done
  sed -i "s|$destino|DESTINO|g" "$destino"/*/*.out
}

# The translations merge takes: each entry translated as itself, then every "e" made "ë",
# from the old command's templates, so that both merge the same files.
traduce() {
  local origen=$1 destino=$2
  rm -rf "$destino"
  (cd "$origen" && find . -name '*.pot') | while read -r f; do
    mkdir -p "$(dirname "$destino/$f")"
    msgen "$origen/$f" 2>/dev/null | msgfilter -o "$destino/${f%.pot}.po" sed -e 's/e/ë/g' 2>/dev/null
  done
}
mezcla() {
  local lw=$1 destino=$2
  for s in "${!raiz[@]}"; do
    for seg in blocks classic; do
      local d=$destino/$seg
      "$lw" merge "$paginas/$s" "$trabajo/po/$seg/$s" -l "${idioma[$s]}" -t 0x0407 --segments $seg \
        --pages-only -o "$d/merge/$s" >"$d/merge.$s.out" 2>&1
      echo "exit $?" >>"$d/merge.$s.out"
    done
  done
  sed -i "s|$destino|DESTINO|g; s|$trabajo|TRABAJO|g" "$destino"/*/merge.*.out
}

# The old command's outputs stay in the work folder for the next comparison with the same
# old command.
sello=$(cat "$viejo" "$(dirname "$viejo")"/*.so* 2>/dev/null | sha256sum | cut -c1-16)
if [ "$(cat "$trabajo/salidas/viejo.sello" 2>/dev/null)" = "$sello" ]; then
  corre "$nuevo" "$trabajo/salidas/nuevo"
  mezcla "$nuevo" "$trabajo/salidas/nuevo"
else
  rm -f "$trabajo/salidas/viejo.sello"
  corre "$viejo" "$trabajo/salidas/viejo" &
  corre "$nuevo" "$trabajo/salidas/nuevo" &
  wait
  for seg in blocks classic; do
    for s in "${!raiz[@]}"; do
      traduce "$trabajo/salidas/viejo/$seg/extract-codes/$s" "$trabajo/po/$seg/$s"
    done
  done
  mezcla "$viejo" "$trabajo/salidas/viejo" &
  mezcla "$nuevo" "$trabajo/salidas/nuevo" &
  wait
  echo "$sello" >"$trabajo/salidas/viejo.sello"
fi

# Pages run in parallel: their messages are compared as sorted lines.
sin_fechas() {
  case $1 in
    *.out) sort "$1" ;;
    *) grep -av '^"\(POT-Creation\|PO-Revision\)-Date' "$1" ;;
  esac
}
difieren=0 total=0
while read -r f; do
  total=$((total + 1))
  a=$trabajo/salidas/viejo/$f b=$trabajo/salidas/nuevo/$f
  if [ ! -f "$b" ] || ! cmp -s <(sin_fechas "$a") <(sin_fechas "$b"); then
    echo "DIFF $f"
    difieren=$((difieren + 1))
  fi
done < <(cd "$trabajo/salidas/viejo" && find . -type f | sort)
extra=$(comm -13 <(cd "$trabajo/salidas/viejo" && find . -type f | sort) \
                 <(cd "$trabajo/salidas/nuevo" && find . -type f | sort) | wc -l)
echo "outputs $total differing $difieren only in the new one $extra (work: $trabajo)"
[ $difieren = 0 ] && [ "$extra" = 0 ]
