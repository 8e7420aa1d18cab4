#!/usr/bin/env bash
# dependencias.sh - installs from Debian's archive whatever the build, the tests and the
# tools need and this machine lacks. Safe to run again: it installs only what is missing.
set -euo pipefail

paquetes=(
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config
  libgtest-dev libbenchmark-dev libicu-dev
  libgumbo-dev libcli11-dev libgettextpo-dev gettext
  python3 time
)
# Extra sets, asked for by name: real sites and the comparison with other tools.
for extra in "$@"; do
  case "$extra" in
    # Every installable Debian Reference language, and a browser with fonts for the
    # scripts of these pages (WenQuanYi covers Chinese, Japanese and Korean).
    sitios) paquetes+=(python3.11-doc apache2-doc debian-reference-common debian-reference-de
                       debian-reference-en debian-reference-es debian-reference-fr
                       debian-reference-id debian-reference-it debian-reference-ja
                       debian-reference-pt debian-reference-pt-br debian-reference-zh-cn
                       debian-reference-zh-tw chromium fonts-wqy-microhei) ;;
    comparacion) paquetes+=(translate-toolkit po4a python3-html5lib python3-polib bc hyperfine
                            valgrind) ;;
    *) echo "dependencias.sh: unknown set '$extra'" >&2; exit 2 ;;
  esac
done

faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
[ ${#faltan[@]} -eq 0 ] && exit 0

echo "Installing from Debian's archive: ${faltan[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${faltan[@]}" >/dev/null
