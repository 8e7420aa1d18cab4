#!/usr/bin/env bash
# navegador.sh - a real browser agrees: headless Chromium renders a fixed sample of real pages
# and legacy-charset copies before and after the untouched round trip (lenguaweb extract, then
# merge with the PO file as extracted) to PNG, and the pixels must be the same.
#
#   scripts/navegador.sh LENGUAWEB COPIES_FOLDER KNOWN_FAILURES
#
# The sample is tools/sitios/muestra_navegador.txt: one page a line, tab-separated, its name
# as sitios_reales gives it (the last folder of its site's root and the path under it), the
# charset folder of its legacy copy in COPIES_FOLDER ("-" for the real page), and its
# language. Each page is rendered inside a tree of symbolic links to its whole site, so its
# style sheets and images load as they do in place; nothing is fetched from the network.
# A page listed in KNOWN_FAILURES with the check "browser" is shown as known. With
# LENGUAWEB_NAVEGADOR_FOTOS=FOLDER the pictures of pages that differ are kept there, as
# N.antes.png and N.despues.png (N the page's line among the sample's pages), and
# LENGUAWEB_SEGMENTACION, when set, is passed on to the command. Exits 1 when
# another page's pixels differ, 2 when a page cannot be rendered.
#
# Then a few hostile pages, every text of each translated to a hostile text and merged, are
# loaded: where a browser reads a script, raw text or foreign content, and a META refresh.
# The title of each page as Chromium leaves it must not be PWNED, which only code that a
# translation brought would write. Exits 1 when one is.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 3 ]; then
  echo "usage: $0 LENGUAWEB COPIES_FOLDER KNOWN_FAILURES" >&2
  exit 2
fi
lenguaweb=$(realpath "$1")
copias=$(realpath "$2")
conocidos=$3
muestra=tools/sitios/muestra_navegador.txt

declare -A raices=(
  [manual]=/usr/share/doc/apache2-doc/manual
  [html]=/usr/share/doc/python3.11/html
  [debian-reference]=/usr/share/debian-reference
)

trabajo=$(mktemp -d /tmp/navegador.XXXXXX)
trap 'rm -rf "$trabajo"' EXIT

# One page to PNG, in a profile of its own; the first 4000 pixels of a 1024-wide window.
# Every host name fails to resolve at once, so that nothing is looked up or fetched.
pinta() {
  local pagina=$1 png=$2 perfil
  perfil=$(mktemp -d "$trabajo/perfil.XXXXXX")
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --hide-scrollbars --host-resolver-rules='MAP * ~NOTFOUND' --user-data-dir="$perfil" \
    --screenshot="$png" --window-size=1024,4000 \
    "file://$pagina" >"$png.log" 2>&1
  rm -rf "$perfil"
  [ -s "$png" ]
}

# A tree at destino that shows the folder raiz: real folders along the path of the page,
# ruta, and a link to everything else, so that the page can be a real file.
espejo() {
  local raiz=$1 destino=$2 ruta=$3 parte
  mkdir -p "$destino"
  parte=${ruta%%/*}
  for entrada in "$raiz"/* "$raiz"/.[!.]*; do
    [ -e "$entrada" ] || [ -L "$entrada" ] || continue
    [ "$(basename "$entrada")" = "$parte" ] && continue
    ln -s "$entrada" "$destino/"
  done
  if [ "$parte" != "$ruta" ]; then espejo "$raiz/$parte" "$destino/$parte" "${ruta#*/}"; fi
}

segmentacion=()
[ -n "${LENGUAWEB_SEGMENTACION:-}" ] && segmentacion=(--segments "$LENGUAWEB_SEGMENTACION")

# Pictures of the pages that differ are kept in this folder when it is set.
fotos=${LENGUAWEB_NAVEGADOR_FOTOS:-}

inicio=$(date +%s)
iguales=0 distintas=0 sabidas=0 n=0
while IFS=$'\t' read -r clave juego idioma; do
  case "$clave" in '' | '#'*) continue ;; esac
  n=$((n + 1))
  sitio=${clave%%/*}
  raiz=${raices[$sitio]:-}
  if [ -z "$raiz" ]; then
    echo "navegador: $clave: no site named $sitio" >&2
    exit 2
  fi
  if [ "$juego" = - ]; then fuente=$raiz/${clave#*/}; nombre=$clave; else fuente=$copias/$juego/$clave; nombre=$juego/$clave; fi
  if [ ! -f "$fuente" ]; then
    echo "navegador: $fuente: no such page" >&2
    exit 2
  fi
  # Before and after, each in a tree of links to the site, the page itself a real file.
  for lado in antes despues; do espejo "$raiz" "$trabajo/$n/$lado/$sitio" "${clave#*/}"; done
  cp "$fuente" "$trabajo/$n/antes/$clave"
  "$lenguaweb" extract "$fuente" -l "$idioma" "${segmentacion[@]}" -o "$trabajo/$n/pagina.po" \
    2>/dev/null
  "$lenguaweb" merge "$fuente" "$trabajo/$n/pagina.po" -l "$idioma" "${segmentacion[@]}" \
    -o "$trabajo/$n/despues/$clave" 2>/dev/null
  if cmp -s "$trabajo/$n/antes/$clave" "$trabajo/$n/despues/$clave"; then
    resultado="same bytes"
  else
    pinta "$trabajo/$n/antes/$clave" "$trabajo/$n/antes.png" &
    antes=$!
    pinta "$trabajo/$n/despues/$clave" "$trabajo/$n/despues.png" &
    despues=$!
    if ! wait "$antes" || ! wait "$despues"; then
      echo "navegador: $nombre: Chromium wrote no picture" >&2
      cat "$trabajo/$n/"*.png.log >&2 || true
      exit 2
    fi
    if cmp -s "$trabajo/$n/antes.png" "$trabajo/$n/despues.png"; then
      resultado="same pixels"
    else
      resultado="DIFFERENT pixels"
      if [ -n "$fotos" ]; then
        mkdir -p "$fotos"
        cp "$trabajo/$n/antes.png" "$fotos/$n.antes.png"
        cp "$trabajo/$n/despues.png" "$fotos/$n.despues.png"
      fi
    fi
  fi
  if [ "$resultado" = "DIFFERENT pixels" ]; then
    if grep -qP "^browser\t(.*/)?\Q$nombre\E\t" "$conocidos"; then
      sabidas=$((sabidas + 1))
      echo "KNOWN  browser $nombre (language $idioma): $resultado"
    else
      distintas=$((distintas + 1))
      echo "FAILED browser $nombre (language $idioma): $resultado"
    fi
  else
    iguales=$((iguales + 1))
    echo "ok     browser $nombre (language $idioma): $resultado"
  fi
done <"$muestra"

echo "browser:  $n pages rendered before and after the untouched round trip in $(($(date +%s) - inicio)) s:" \
  "$iguales the same, $sabidas known to differ, $distintas differ"

# Each hostile page and the text every one of its texts is translated to, tab-separated.
hostiles=(
  $'<title>Safe</title><p>Hi</p><script type="text/javascript"><!--\ndocument.write(\'<script src="counter.js"></script>\'); var greeting = "Hello visitor";\n//--></script><p>Bye</p>\t\'); document.title=\'PWNED\'; //'
  $'<title>Safe</title><svg><xmp>Example text</xmp></svg>\tTexto <img src=x onerror=document.title="PWNED"// '
  $'<title>Safe</title><iframe><xmp>Example text</xmp></iframe><p>a</p>\t</iframe><img src=x onerror=document.title="PWNED">'
  $'<title>Safe</title><svg><plaintext>Example text</plaintext></svg><p>a</p>\t</svg><img src=x onerror=document.title="PWNED">'
  $'<title>Safe</title><meta name="description" http-equiv="refresh" content="About our company"><p>a</p>\t0;url=pwned.html'
)
vivas=0
for k in "${!hostiles[@]}"; do
  pagina=${hostiles[$k]%%$'\t'*} traduccion=${hostiles[$k]#*$'\t'}
  mkdir -p "$trabajo/hostil$k"
  printf '%s\n' "$pagina" >"$trabajo/hostil$k/p.html"
  echo '<title>PWNED</title>' >"$trabajo/hostil$k/pwned.html"
  "$lenguaweb" extract "$trabajo/hostil$k/p.html" -l en "${segmentacion[@]}" \
    -o "$trabajo/hostil$k/p.po" 2>/dev/null
  TRADUCCION=$traduccion python3 -c '
import os, re, sys
t = os.environ["TRADUCCION"].replace("\\", "\\\\").replace("\"", "\\\"")
po = re.sub(r"(\nmsgid \"(?:[^\n]|\n\")+\n)msgstr \"\"\n", lambda m: m.group(1) + "msgstr \"" + t + "\"\n",
            open(sys.argv[1]).read())
open(sys.argv[1], "w").write(po)' "$trabajo/hostil$k/p.po"
  "$lenguaweb" merge "$trabajo/hostil$k/p.html" "$trabajo/hostil$k/p.po" -l en \
    "${segmentacion[@]}" -o "$trabajo/hostil$k/m.html" 2>/dev/null || true
  perfil=$(mktemp -d "$trabajo/perfil.XXXXXX")
  titulo=$(timeout 120 chromium --headless --no-sandbox --disable-gpu --no-first-run \
    --disable-background-networking --host-resolver-rules='MAP * ~NOTFOUND' \
    --user-data-dir="$perfil" --virtual-time-budget=3000 --dump-dom \
    "file://$trabajo/hostil$k/m.html" 2>/dev/null | grep -o '<title>[^<]*</title>' | head -1)
  if [ "$titulo" = '<title>PWNED</title>' ]; then
    vivas=$((vivas + 1))
    echo "FAILED browser hostile page $k: a translation ran as code"
  else
    echo "ok     browser hostile page $k: no translation ran"
  fi
done
[ "$distintas" -eq 0 ] && [ "$vivas" -eq 0 ]
