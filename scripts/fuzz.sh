#!/usr/bin/env bash
# Runs every libFuzzer target of build/fuzz over its seed folders for a bounded time.
# Usage: scripts/fuzz.sh [--seconds N] [TARGET...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds=10
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  while IFS= read -r t; do targets+=("$(basename "$t")"); done \
    < <(find "$root/build/fuzz" -maxdepth 3 -type f -name 'fuzz_*' -perm -u+x 2>/dev/null | sort)
fi
for t in "${targets[@]}"; do
  bin="$(find "$root/build/fuzz" -maxdepth 3 -type f -name "$t" -perm -u+x | head -n 1)"
  seeds=()
  # A target's seed folders are listed one per line in fuzz/<target>.seeds, relative to the root.
  if [ -f "$root/fuzz/$t.seeds" ]; then
    while IFS= read -r d; do [ -n "$d" ] && [ -d "$root/$d" ] && seeds+=("$root/$d"); done < "$root/fuzz/$t.seeds"
  fi
  work="$root/build/fuzz/corpus-$t"
  mkdir -p "$work"
  echo "fuzz: $t for ${seconds}s"
  log="$work.log"
  set +e
  "$bin" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 "$work" "${seeds[@]}" >"$log" 2>&1
  rc=$?
  set -e
  grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|crash-' "$log" || true
  if [ "$rc" -ne 0 ]; then tail -n 40 "$log" >&2; echo "fuzz: $t failed" >&2; exit 1; fi
done
