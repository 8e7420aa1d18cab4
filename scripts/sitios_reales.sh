#!/usr/bin/env bash
# sitios_reales.sh - every page of Debian's HTML documentation through lenguaweb's checks:
# the rebuild with the page's own texts read by an HTML parser, markers in place of the
# texts, and the link round trip. With --muestra, a fixed sample of the same pages.
# Installs the documentation and builds the checker in build/sitios. Exits non-zero when
# a page fails a check that tools/sitios/fallos_conocidos.txt does not list.
set -euo pipefail
cd "$(dirname "$0")/.."

muestra=()
case "${1:-}" in
  --muestra) muestra=(--muestra "${LENGUAWEB_MUESTRA_SITIOS:-300}") ;;
  "") ;;
  *) echo "usage: $0 [--muestra]" >&2; exit 2 ;;
esac

# Python's and Apache's manuals (Apache's in eleven languages, Korean in EUC-KR), and the
# Debian Reference in seven languages, made by another generator.
bash scripts/dependencias.sh sitios

cmake -S tools/sitios -B build/sitios -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/sitios --target sitios_reales

build/sitios/sitios_reales "${muestra[@]}" --conocidos tools/sitios/fallos_conocidos.txt \
  /usr/share/doc/python3.11/html /usr/share/doc/apache2-doc/manual /usr/share/debian-reference
