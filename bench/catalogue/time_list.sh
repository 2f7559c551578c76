#!/usr/bin/env bash
# Whole-command timing of `quenlor list` on a generated registry of COUNT libraries (default
# 10000): the Linux build on the generated hive files, and, when a Windows build is given,
# the Windows build under Wine on a prefix into which the same registrations were imported
# with regedit (and the Linux build again on that prefix's hive files).
# Usage: time_list.sh LINUX_QUENLOR [WINDOWS_QUENLOR_EXE] [RUNS]
# Uses hyperfine when present, else the linux build's time_command, else a loop over
# `date +%s.%N` (which counts the shell's forks too); prints medians.
set -euo pipefail
linux="$1"
exe="${2:-}"
runs="${3:-5}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$root/build/bench-catalogue"
mkdir -p "$work"
export XDG_DATA_HOME="$work/data"
[ -f "$work/generated/system.reg" ] || "$root/bench/catalogue/make_prefix.sh" "$work/generated" "${COUNT:-10000}"

timer="$root/build/linux/bench/command/time_command"

median() {  # runs a command $runs times, prints the median wall time in seconds
  if [ -x "$timer" ]; then
    # From start to exit, without the shell's own clock reads and forks in the figure.
    local program
    program="$(command -v "$1")"
    shift
    "$timer" "$runs" "$program" "$@" | awk '{ printf "%.3f", $1 / 1000 }'
    return
  fi
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.3f", (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }'
}

time_one() {  # label, command...
  local label="$1"
  shift
  if command -v hyperfine >/dev/null; then
    hyperfine --runs "$runs" --style basic --export-json "$work/$label.json" "$(printf '%q ' "$@")" >&2
    echo "$label median: $(grep -m1 '"median"' "$work/$label.json" | tr -dc '0-9.') s"
  else
    echo "$label median: $(median "$@") s over $runs runs ($("$@" | wc -l) entries)"
  fi
}

time_one linux-generated "$linux" list --registry "$work/generated"

if [ -n "$exe" ]; then
  export QUENLOR_WINEPREFIX="$work/wineprefix"
  unset WINEPREFIX
  . "$root/scripts/wine-env.sh"
  quenlor_ensure_prefix
  if [ ! -f "$WINEPREFIX/.quenlor-bench-imported" ]; then
    cp "$work/generated/typelibs.reg" "$WINEPREFIX/drive_c/bench.reg"
    start=$(date +%s.%N)
    "$QUENLOR_WINE" regedit /s 'C:\bench.reg' </dev/null >/dev/null 2>&1
    end=$(date +%s.%N)
    echo "regedit import: $(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }') s" >&2
    rm -f "$WINEPREFIX/drive_c/bench.reg"
    timeout 300 "$WINESERVER" -w || true
    touch "$WINEPREFIX/.quenlor-bench-imported"
  fi
  "$WINESERVER" -p 2>/dev/null </dev/null >/dev/null &
  "$QUENLOR_WINE" "$exe" --version </dev/null >/dev/null  # the first start of Wine is not the program's
  time_one windows-under-wine "$QUENLOR_WINE" "$exe" list
  time_one linux-same-prefix "$linux" list --registry "$WINEPREFIX"
  "$WINESERVER" -k 2>/dev/null || true
fi
