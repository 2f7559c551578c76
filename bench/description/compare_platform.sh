#!/usr/bin/env bash
# One run that sets the Linux build's describe and import-unit times for a library beside
# what the platform's LoadTypeLibEx plus a full walk of the library take under Wine, so
# that the ratio comes from the same machine at the same moment.
# Usage: compare_platform.sh [LIBRARY] [RUNS] [ROUNDS]
#   (defaults: the project prefix's mshtml.tlb, 11 runs, 3 rounds)
# Each round measures every row once (RUNS runs each, their median); the figures are the
# medians over the rounds. Taking turns keeps a burst of load on a shared machine from
# landing on one side of the ratio only.
# Needs the linux and windows builds (bench_description, bench_generator, time_command,
# quenlor, typelib_timing.exe).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
lib="$(readlink -f "${1:-$root/build/wineprefix/drive_c/windows/system32/mshtml.tlb}")"
runs="${2:-11}"
rounds="${3:-3}"
linux="$root/build/linux"
timing_exe="$root/build/windows/tests/typelib/typelib_timing.exe"

median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The command line, whole: median wall and CPU milliseconds from start to exit, as
# time_command measures them (a shell's own clock reads around the command would add its
# forks to every run).
time_command() { "$linux/bench/command/time_command" "$runs" "$@"; }

# A Google Benchmark's median wall and CPU milliseconds.
time_bench() {
  QUENLOR_BENCH_TLB="$lib" "$1" --benchmark_filter="$2\$" --benchmark_repetitions="$runs" \
    --benchmark_report_aggregates_only=true 2>/dev/null | awk '/_median/ { print $2, $4; found = 1; exit } END { if (!found) print "? ?" }'
}

windows_lib="Z:$(printf '%s' "$lib" | tr '/' '\\')"
rows=(platform describe unit xml cli)
declare -A wall cpu
for name in "${rows[@]}"; do wall[$name]=""; cpu[$name]=""; done
add() { wall[$1]+="$2"$'\n'; cpu[$1]+="$3"$'\n'; }

for round in $(seq "$rounds"); do
  platform=$("$root/scripts/wine-run.sh" "$timing_exe" "$windows_lib" "$runs" platform 2>/dev/null |
    awk '/^platform/ { print $9 }')
  add platform "$platform" "$platform"
  add describe $(time_bench "$linux/bench/description/bench_description" BM_Describe)
  add unit $(time_bench "$linux/bench/generator/bench_generator" BM_UnitEndToEndMshtml)
  add xml $(time_command "$linux/bin/quenlor" xml "$lib")
  add cli $(time_command "$linux/bin/quenlor" unit "$lib")
  rw="$(printf '%s' "${wall[cli]}" | tail -n 1)"
  echo "round $round: platform $platform ms, quenlor unit $rw ms, ratio $(awk -v a="$rw" -v b="$platform" 'BEGIN { printf "%.2f", a / b }')" >&2
done

m() { printf '%s' "$1" | median; }
platform="$(m "${wall[platform]}")"
echo "library: $lib; medians of $rounds rounds of $runs runs; load average $(cut -d' ' -f1 /proc/loadavg)"
echo "platform under Wine, LoadTypeLibEx + full walk: $platform ms (wall)"
ratio() { awk -v a="$1" -v b="$platform" 'BEGIN { printf "%.2f", a / b }'; }
printf '%-44s %8s %8s %10s\n' "Linux build" "wall ms" "CPU ms" "wall/Wine"
row() { printf '%-44s %8s %8s %10s\n' "$1" "$(m "${wall[$2]}")" "$(m "${cpu[$2]}")" "$(ratio "$(m "${wall[$2]}")")"; }
row "describe in process (load..FormatXml)" describe
row "unit in process (load..BuildImportUnit)" unit
row "quenlor xml (whole command)" xml
row "quenlor unit (whole command)" cli
