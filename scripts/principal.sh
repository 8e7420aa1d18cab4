#!/usr/bin/env bash
# principal.sh - the main job: builds lenguaweb, pseudo-translates the pages in examples/
# and extracts their PO files, then says where the results are. Installs what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

etapa() { printf '\n== %s\n' "$*"; }

etapa "Dependencies"
bash scripts/dependencias.sh

etapa "Optimised build"
cmake --preset release >/dev/null
cmake --build --preset release

lenguaweb=build/release/host/lenguaweb
rm -rf out/pseudo out/po

etapa "Pseudo-translation of examples/"
"$lenguaweb" pseudo examples -o out/pseudo

etapa "PO files of examples/"
# A template (NAME.pot) for each page, in the language it is written in; the English ones
# first, then the Spanish.
"$lenguaweb" extract examples -o out/po
"$lenguaweb" extract examples/es -l 0x0C0A -o out/po/es

etapa "Results"
echo "Pseudo-translated pages: $(pwd)/out/pseudo"
find out/pseudo -type f | sort | sed 's/^/  /'
echo "PO templates, one per page: $(pwd)/out/po"
find out/po -type f | sort | sed 's/^/  /'
echo "Open a pseudo-translated page in a browser: every text that lenguaweb found and put back"
echo "is [in brackets] with accented vowels; the markup around it is the page's own."
