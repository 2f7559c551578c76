#!/usr/bin/env bash
# Whole-command timing of `quenlor unit --all -o DIR` over the catalogue of the project's Wine
# prefix (build/wineprefix): wall time and peak resident memory of the Linux build, the median
# of RUNS runs (default 5), and, when a Windows build is given, one run of it under Wine.
# Each run writes into a fresh folder. Needs GNU time (/usr/bin/time).
# Usage: time_unit_all.sh LINUX_QUENLOR [WINDOWS_QUENLOR_EXE] [RUNS] [-- EXTRA_OPTIONS...]
set -euo pipefail
linux="$(realpath "$1")"
exe="${2:-}"
runs="${3:-5}"
shift $(( $# < 3 ? $# : 3 ))
[ "${1:-}" = "--" ] && shift
extra=("$@")
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$root/build/bench-unit-all"
rm -rf "$work"
mkdir -p "$work"
. "$root/scripts/wine-env.sh"
quenlor_ensure_prefix

# Prints "seconds kilobytes" for one run of the command.
measure() {
  local out="$1"
  shift
  rm -rf "$out"
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" unit --all -o "$out" "${extra[@]}" 2>"$work/stderr" >/dev/null
  cat "$work/time.txt"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

entries="$("$linux" list | wc -l)"
: >"$work/linux.txt"
for i in $(seq "$runs"); do measure "$work/linux-units" "$linux" >>"$work/linux.txt"; done
echo "linux: $entries catalogue entries, $(ls "$work/linux-units" | wc -l) units; median of $runs runs:" \
  "$(cut -d' ' -f1 "$work/linux.txt" | median) s wall, $(cut -d' ' -f2 "$work/linux.txt" | median) KiB peak RSS"
tail -n 1 "$work/stderr"

if [ -n "$exe" ]; then
  "$WINESERVER" -p 2>/dev/null </dev/null >/dev/null &
  "$QUENLOR_WINE" "$exe" --version </dev/null >/dev/null  # the first start of Wine is not the program's
  read -r seconds kib < <(measure "$work/windows-units" "$QUENLOR_WINE" "$exe")
  echo "windows under wine: $(ls "$work/windows-units" | wc -l) units; one run: $seconds s wall, $kib KiB peak RSS"
  tail -n 1 "$work/stderr"
  "$WINESERVER" -k 2>/dev/null || true
fi
