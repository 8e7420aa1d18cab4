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
otros=(debian-reference-common debian-reference-de debian-reference-es debian-reference-fr
       debian-reference-it debian-reference-ja debian-reference-pt debian-reference-zh-cn)
faltan=()
for p in "${otros[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Installing from Debian's archive: ${faltan[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${faltan[@]}" >/dev/null
fi

cmake -S tools/sitios -B build/sitios -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/sitios --target sitios_reales

build/sitios/sitios_reales "${muestra[@]}" --conocidos tools/sitios/fallos_conocidos.txt \
  /usr/share/doc/python3.11/html /usr/share/doc/apache2-doc/manual /usr/share/debian-reference
