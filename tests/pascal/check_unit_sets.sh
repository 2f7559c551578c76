#!/usr/bin/env bash
# Writes each set of units that EXPECTED lists with `quenlor unit LIBRARY --with-dependencies`
# (in the library's folder, where its references are found by file name), checks the exit
# status, that exactly the listed units are written, that a library that does not resolve is
# named with its id and version, and compiles every unit with Free Pascal for win64 against
# the units in RTL_DIR and the set's other units.
#
# usage: check_unit_sets.sh QUENLOR RTL_DIR WORK_DIR EXPECTED LIBRARY_DIR...
set -uo pipefail

quenlor="$(realpath "$1")"; rtl="$(realpath "$2")"; work="$(realpath -m "$3")"; expected="$4"; shift 4
dirs=("$@")
. "$(dirname "${BASH_SOURCE[0]}")/judge_unit.sh"
rm -rf "$work"
mkdir -p "$work"

trim() { sed 's/^ *//; s/ *$//'; }
failures=0
compiled=0
sets=()
while IFS='|' read -r set library status unit outcome construct; do
  set="$(echo "$set" | trim)"
  [ -z "$set" ] && continue
  case "$set" in \#*) continue ;; esac
  library="$(echo "$library" | trim)"; status="$(echo "$status" | trim)"
  unit="$(echo "$unit" | trim)"; outcome="$(echo "$outcome" | trim)"; construct="$(echo "$construct" | trim)"
  dir="$work/$set"
  if [ ! -d "$dir" ]; then
    sets+=("$set")
    path=""
    for d in "${dirs[@]}"; do
      if [ -f "$d/$library" ]; then path="$(realpath "$d/$library")"; break; fi
    done
    if [ -z "$path" ]; then
      echo "MISSING  $set: $library is not in ${dirs[*]}"
      failures=$((failures + 1))
      mkdir -p "$dir/units"
      continue
    fi
    mkdir -p "$dir"
    (cd "$(dirname "$path")" && "$quenlor" unit "$path" --with-dependencies -o "$dir/units") 2>"$dir/stderr"
    actual=$?
    if [ "$actual" != "$status" ]; then
      echo "FAIL     $set: quenlor exited with $actual, expected $status: $(head -c 300 "$dir/stderr")"
      failures=$((failures + 1))
    fi
    if [ "$status" = 3 ] && ! grep -qE '\{[0-9A-F-]{36}\} version [0-9]+\.[0-9]+' "$dir/stderr"; then
      echo "FAIL     $set: the library that does not resolve is not named with its id and version"
      failures=$((failures + 1))
    fi
    : >"$dir/listed"
  fi
  echo "$unit.pas" >>"$dir/listed"
  source="$dir/units/$unit.pas"
  if [ ! -f "$source" ]; then
    echo "FAIL     $set: $unit.pas was not written"
    failures=$((failures + 1))
    continue
  fi
  compiled=$((compiled + 1))
  judge_unit "$set: $unit" "$source" "$dir/out" "$outcome" "$construct" -Fu"$rtl" -Fu"$dir/units" ||
    failures=$((failures + 1))
done <"$expected"

for set in "${sets[@]}"; do
  dir="$work/$set"
  extra="$(comm -13 <(sort "$dir/listed" 2>/dev/null) <(ls "$dir/units" 2>/dev/null | sort))"
  if [ -n "$extra" ]; then
    echo "FAIL     $set: units written that the list does not name: $(echo $extra)"
    failures=$((failures + 1))
  fi
done

echo "${#sets[@]} sets, $compiled units compiled, $failures unexpected outcomes"
[ "$failures" -eq 0 ] && [ "$compiled" -gt 0 ]
