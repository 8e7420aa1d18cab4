#!/usr/bin/env bash
# pares.sh - times two commands in turn (A B A B ...), N pairs, and prints each one's median
# processor time (user + system, bash's own accounting of the finished command) and the
# median of the ratios A/B taken pair by pair: pairing keeps the ratio meaningful while the
# machine's speed drifts. What the commands print is thrown away.
#
#   scripts/pares.sh [-n PAIRS] 'COMMAND_A' 'COMMAND_B'
set -euo pipefail
pares=5
if [ "${1:-}" = -n ]; then pares=$2; shift 2; fi
[ $# -eq 2 ] || { echo "usage: $0 [-n PAIRS] 'COMMAND_A' 'COMMAND_B'" >&2; exit 2; }

# The processor seconds of one run of the command given as one string.
segundos() {
  local TIMEFORMAT='%U %S' t
  t=$( { time sh -c "$1" > /dev/null 2>&1; } 2>&1 )
  awk '{ print $1 + $2 }' <<< "$t"
}

mediana() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

a=() b=() r=()
for ((i = 0; i < pares; ++i)); do
  ta=$(segundos "$1") tb=$(segundos "$2")
  a+=("$ta") b+=("$tb") r+=("$(awk -v x="$ta" -v y="$tb" 'BEGIN { print (y > 0) ? x / y : 0 }')")
done
printf 'A: %s s   B: %s s   A/B: %s (median of %d pairs)\n' \
  "$(printf '%s\n' "${a[@]}" | mediana)" "$(printf '%s\n' "${b[@]}" | mediana)" \
  "$(printf '%s\n' "${r[@]}" | mediana)" "$pares"
