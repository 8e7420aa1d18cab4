#!/usr/bin/env bash
# larga.sh [SECONDS] [libFuzzer options] - the long run that looks for new faults: every
# fuzz target for SECONDS (an hour by default) through fuzz/ejecuta.sh, its seeds drawn,
# going on past each finding so that one run gathers them all. Not part of CI: about
# ten hours. Fails, and keeps the inputs, when any target found anything.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos="${1:-3600}"
shift || true
exec fuzz/ejecuta.sh "$segundos" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 "$@"
