#!/usr/bin/env bash
# sitios_reales.sh - every page of Debian's HTML documentation, and legacy-charset copies of
# some, through lenguaweb's checks, each page compared as a reader sees it (decoded as a
# browser decodes it, parsed by gumbo): the library's rebuild with the page's own texts,
# markers in place of the texts, the link round trip, and the lenguaweb command's extract
# and merge with the untouched PO file, and pseudo. Then headless Chromium renders a fixed
# sample before and after the untouched round trip, and the pixels must match.
# With --muestra, a fixed sample of the same pages (LENGUAWEB_MUESTRA_SITIOS, 300).
# LENGUAWEB_SEGMENTACION, when set, is passed on to the command as --segmentacion.
# Installs the documentation and the browser, builds the checker and the command in
# build/sitios, and exits non-zero when a page fails a check that
# tools/sitios/fallos_conocidos.txt does not list.
set -euo pipefail
cd "$(dirname "$0")/.."

muestra=()
case "${1:-}" in
  --muestra) muestra=(--muestra "${LENGUAWEB_MUESTRA_SITIOS:-300}") ;;
  "") ;;
  *) echo "usage: $0 [--muestra]" >&2; exit 2 ;;
esac
segmentacion=()
[ -n "${LENGUAWEB_SEGMENTACION:-}" ] && segmentacion=(--segmentacion "$LENGUAWEB_SEGMENTACION")

# Python's and Apache's manuals (Apache's in eleven languages, Korean in EUC-KR), the
# Debian Reference in every language Debian ships it in, and Chromium.
bash scripts/dependencias.sh sitios

cmake -S tools/sitios -B build/sitios -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/sitios --target sitios_reales lenguaweb_cli

trabajo=$(mktemp -d /tmp/sitios_reales.XXXXXX)
trap 'rm -rf "$trabajo"' EXIT
conocidos=tools/sitios/fallos_conocidos.txt
estado=0
build/sitios/sitios_reales "${muestra[@]}" "${segmentacion[@]}" --conocidos "$conocidos" \
  --copias "$trabajo/copias" --copias-por 3 --orden build/sitios/lenguaweb/host/lenguaweb \
  /usr/share/doc/python3.11/html /usr/share/doc/apache2-doc/manual /usr/share/debian-reference ||
  estado=$?

scripts/navegador.sh build/sitios/lenguaweb/host/lenguaweb "$trabajo/copias" "$conocidos" ||
  estado=$((estado > 0 ? estado : $?))
exit "$estado"
