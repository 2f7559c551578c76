#!/usr/bin/env bash
# Sets two builds of the document layer side by side in one run: the same benchmarks of each
# (bench_xml's build, query and text form of a 200,000-element document; describing mshtml;
# its unit end to end), taking turns round by round so that a burst of load on a shared
# machine does not land on one side only. Prints the median CPU milliseconds of each: on a
# machine whose other users come and go, wall time mostly measures them.
# Usage: [ROWS="build describe"] compare_builds.sh BEFORE_DIR AFTER_DIR [ROUNDS] [LIBRARY]
#   each DIR holds bench_xml, bench_description and bench_generator (copies of a linux
#   build's bench/xml, bench/description and bench/generator programs)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
before="$1"
after="$2"
rounds="${3:-5}"
lib="$(readlink -f "${4:-$root/build/wineprefix/drive_c/windows/system32/mshtml.tlb}")"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"

# name|program|benchmark filter
rows=(
  "build|bench_xml|BM_Build"
  "query|bench_xml|BM_Query"
  "xml text|bench_xml|BM_GetXml"
  "describe mshtml|bench_description|BM_Describe"
  "unit mshtml|bench_generator|BM_UnitEndToEndMshtml"
)

one() {  # dir, program, filter: the median CPU ms of one run of repetitions
  QUENLOR_BENCH_TLB="$lib" "$1/$2" --benchmark_filter="^$3(/|\$)" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true 2>/dev/null | awk '/_median/ { print $4; found = 1; exit } END { if (!found) print "?" }'
}

if [ -n "${ROWS:-}" ]; then
  kept=()
  for row in "${rows[@]}"; do
    for word in $ROWS; do [[ "${row%%|*}" == "$word"* ]] && kept+=("$row") && break; done
  done
  rows=("${kept[@]}")
fi

declare -A figures
for round in $(seq "$rounds"); do
  for row in "${rows[@]}"; do
    IFS='|' read -r name program filter <<<"$row"
    figures["$name|before"]+="$(one "$before" "$program" "$filter")"$'\n'
    figures["$name|after"]+="$(one "$after" "$program" "$filter")"$'\n'
  done
  echo "round $round done" >&2
done

median() { grep -v '^$' | sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
echo "medians of $rounds rounds (each the median of its repetitions), CPU ms; load average $(cut -d' ' -f1 /proc/loadavg)"
printf '%-18s %10s %10s %8s\n' "" before after ratio
for row in "${rows[@]}"; do
  IFS='|' read -r name _ _ <<<"$row"
  b="$(printf '%s' "${figures[$name|before]}" | median)"
  a="$(printf '%s' "${figures[$name|after]}" | median)"
  printf '%-18s %10s %10s %8s\n' "$name" "$b" "$a" "$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }')"
done
