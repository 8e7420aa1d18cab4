#!/usr/bin/env bash
# segmentos.sh - extracts PO files from every page of four documentation sites with the
# lenguaweb command, translate-toolkit's html2po and po4a, and measures their entries:
# fragments of a block's text, entries with a blank at an end, entries without a letter or
# digit, and html2po's words that a tool leaves out (tools/segmentos.py; docs/segmentos.md).
#
#   scripts/segmentos.sh [--de-nuevo] [NAME=OPTIONS ...]
#
# Each NAME=OPTIONS is one run of `lenguaweb extract` with OPTIONS added (split at blanks),
# its column named NAME; with none, one run named lenguaweb with no options. html2po's and
# po4a's files are kept in build/segmentos and made again only when the pages or the tools
# change, or with --de-nuevo. Writes build/segmentos/segmentos.tsv (one row per page and
# tool) and build/segmentos/segmentos.md (the tables), and prints the tables.
set -euo pipefail
cd "$(dirname "$0")/.."

de_nuevo=0
variantes=()
for a in "$@"; do
  case "$a" in
    --de-nuevo) de_nuevo=1 ;;
    *=*) variantes+=("$a") ;;
    *) echo "usage: $0 [--de-nuevo] [NAME=OPTIONS ...]" >&2; exit 2 ;;
  esac
done
[ ${#variantes[@]} -gt 0 ] || variantes=("lenguaweb=")

inicio=$SECONDS
paso() { echo "[$((SECONDS - inicio)) s] $*" >&2; }

bash scripts/dependencias.sh sitios comparacion
cmake --preset release >/dev/null
cmake --build --preset release --target lenguaweb_cli >/dev/null
lenguaweb=$PWD/build/release/host/lenguaweb
# Debian's Python, which holds the html5lib and polib that dependencias.sh installed.
python=/usr/bin/python3
nucleos=$(nproc)

trabajo=$PWD/build/segmentos
paginas=$trabajo/paginas
rm -rf "$paginas"
mkdir -p "$paginas"

# The sites, each a folder of pages read in one language. Only real files: Apache's Spanish
# folder links its untranslated pages to the English ones.
declare -A idioma=([apache-en]=0x0409 [apache-es]=0x0C0A [debian-reference-es]=0x0C0A
                   [python]=0x0409)
copia() {
  local sitio=$1 raiz=$2 patron=$3
  mkdir -p "$paginas/$sitio"
  (cd "$raiz" && find . -type f -name "$patron" -print0 |
    xargs -0 cp --parents -t "$paginas/$sitio")
}
copia apache-en /usr/share/doc/apache2-doc/manual/en '*.html'
copia apache-es /usr/share/doc/apache2-doc/manual/es '*.html'
copia debian-reference-es /usr/share/debian-reference '*.es.html'
copia python /usr/share/doc/python3.11/html '*.html'
paso "pages: $(find "$paginas" -name '*.html' | wc -l), $(du -sb "$paginas" | cut -f1) bytes"

# The lenguaweb runs.
for v in "${variantes[@]}"; do
  nombre=${v%%=*}
  read -r -a opciones <<<"${v#*=}"
  rm -rf "${trabajo:?}/po/$nombre"
  for sitio in "${!idioma[@]}"; do
    "$lenguaweb" extract "$paginas/$sitio" -o "$trabajo/po/$nombre/$sitio" \
      -l "${idioma[$sitio]}" "${opciones[@]}" 2>>"$trabajo/$nombre.log" >&2 || true
  done
  paso "$nombre extracted (lenguaweb extract ... ${opciones[*]})"
done

# html2po and po4a, one page per process; both are slow, so their files stay as long as the
# pages and the tools are the same.
sello="$(html2po --version 2>&1 | head -1); po4a $(dpkg-query -W -f='${Version}' po4a);\
 $(cd "$paginas" && find . -type f -printf '%P %s\n' | sort | md5sum)"
if [ $de_nuevo = 1 ] || [ "$(cat "$trabajo/po/pares.sello" 2>/dev/null)" != "$sello" ]; then
  rm -rf "$trabajo/po/html2po" "$trabajo/po/po4a" "$trabajo/po/pares.sello"
  mkdir -p "$trabajo/po"
  # One list of jobs, the largest pages first, shared by every core.
  (cd "$paginas" && find . -type f -name '*.html' -printf '%s\t%P\n' | sort -rn | cut -f2 |
    sed 's/^/html2po\t/; p; s/^html2po/po4a/' |
    PO=$trabajo/po xargs -d '\n' -P "$nucleos" -n 1 bash -c '
      IFS=$'"'\t'"' read -r herramienta pagina <<<"$1"
      po=$PO/$herramienta/${pagina%.html}.po
      mkdir -p "$(dirname "$po")"
      # A file only when the tool ends well: a page it fails on has none.
      if [ "$herramienta" = html2po ]; then
        html2po -i "$pagina" -o "$po.parcial" >/dev/null 2>>"$PO/html2po.log"
      else
        po4a-updatepo -f xhtml -m "$pagina" -M UTF-8 -p "$po.parcial" >/dev/null 2>>"$PO/po4a.log"
      fi && mv "$po.parcial" "$po" || echo "$herramienta failed on $pagina" >>"$PO/fallos.log"
      ' _)
  echo "$sello" >"$trabajo/po/pares.sello"
  paso "html2po and po4a extracted"
else
  paso "html2po and po4a: the files of the last run, made from the same pages and tools"
fi

argumentos=()
for v in "${variantes[@]}"; do argumentos+=(--po "${v%%=*}=$trabajo/po/${v%%=*}"); done
"$python" tools/segmentos.py --paginas "$paginas" "${argumentos[@]}" \
  --po "html2po=$trabajo/po/html2po" --po "po4a=$trabajo/po/po4a" \
  --tsv "$trabajo/segmentos.tsv" -j "$nucleos" | tee "$trabajo/segmentos.md"
paso "measured: $trabajo/segmentos.tsv, $trabajo/segmentos.md"
