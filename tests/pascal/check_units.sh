#!/usr/bin/env bash
# Generates the import unit of every library listed in EXPECTED with `quenlor unit` and
# compiles it with Free Pascal for win64 against the units in RTL_DIR. Each must compile,
# or fail with the first error the list names for it (the construct is named beside it).
#
# usage: check_units.sh QUENLOR RTL_DIR WORK_DIR EXPECTED LIBRARY_DIR...
set -uo pipefail

quenlor="$1"; rtl="$2"; work="$3"; expected="$4"; shift 4
dirs=("$@")
mkdir -p "$work"
. "$(dirname "${BASH_SOURCE[0]}")/judge_unit.sh"

failures=0
checked=0
while IFS='|' read -r library outcome construct; do
  library="$(echo "$library" | xargs)"
  outcome="$(echo "$outcome" | sed 's/^ *//; s/ *$//')"
  construct="$(echo "$construct" | sed 's/^ *//; s/ *$//')"
  [ -z "$library" ] && continue
  case "$library" in \#*|corpus/*|wine/*) continue ;; esac  # real libraries: check_libraries.sh
  path=""
  for dir in "${dirs[@]}"; do
    if [ -f "$dir/$library" ]; then path="$dir/$library"; break; fi
  done
  if [ -z "$path" ]; then
    echo "MISSING  $library: not in ${dirs[*]}"
    failures=$((failures + 1))
    continue
  fi
  checked=$((checked + 1))
  unit_file="$work/${library%.*}.pas"
  # References into other libraries resolve beside the library.
  if ! (cd "$(dirname "$path")" && "$quenlor" unit "$path" -o "$unit_file"); then
    echo "FAIL     $library: quenlor unit failed"
    failures=$((failures + 1))
    continue
  fi
  # The compiler wants the file named after the unit.
  unit_name="$(head -n 1 "$unit_file" | sed -n 's/^unit \(.*\);\r\{0,1\}$/\1/p')"
  source="$work/$unit_name.pas"
  mv "$unit_file" "$source"
  judge_unit "$library" "$source" "$work/$unit_name.out" "$outcome" "$construct" -Fu"$rtl" ||
    failures=$((failures + 1))
done <"$expected"

echo "$checked libraries checked, $failures unexpected outcomes"
[ "$failures" -eq 0 ] && [ "$checked" -gt 0 ]
