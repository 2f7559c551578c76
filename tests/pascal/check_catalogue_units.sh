#!/usr/bin/env bash
# `quenlor unit --all --with-dependencies` over the catalogue of the registry in $WINEPREFIX:
# it must exit 0, write one unit for every catalogue entry (entries naming one library
# share its unit, as the summary says), and every unit compiles with Free Pascal for win64,
# except those EXPECTED names with the first error they give.
#
# usage: check_catalogue_units.sh QUENLOR RTL_DIR WORK_DIR EXPECTED
set -uo pipefail

quenlor="$(realpath "$1")"; rtl="$(realpath "$2")"; work="$(realpath -m "$3")"; expected="$4"
fpc_bin="${FPC:-fpc}"
rm -rf "$work"
mkdir -p "$work/out"

failures=0
entries="$("$quenlor" list | wc -l)"
if [ "$entries" -eq 0 ]; then
  echo "FAIL     the catalogue of $WINEPREFIX is empty"
  exit 1
fi
"$quenlor" unit --all --with-dependencies -o "$work/units" 2>"$work/stderr"
status=$?
summary="$(grep '^quenlor unit: ' "$work/stderr" | tail -n 1)"
echo "$summary"
if [ $status -ne 0 ]; then
  echo "FAIL     quenlor exited with $status: $(head -c 600 "$work/stderr")"
  failures=$((failures + 1))
fi
written="$(echo "$summary" | sed -n 's/^quenlor unit: \([0-9]*\) units written.*/\1/p')"
dependencies="$(echo "$summary" | sed -n 's/.*(\([0-9]*\) of libraries the catalogue.s refer to).*/\1/p')"
repeated="$(echo "$summary" | sed -n 's/.*; \([0-9]*\) catalogue entries name a library already written.*/\1/p')"
files="$(ls "$work/units" | grep -c '\.pas$')"
if [ "$files" != "$written" ]; then
  echo "FAIL     the summary says $written units, the folder holds $files"
  failures=$((failures + 1))
fi
if [ $((written - ${dependencies:-0} + ${repeated:-0})) -ne "$entries" ]; then
  echo "FAIL     $entries catalogue entries, but $written units ($dependencies dependencies, $repeated repeated entries)"
  failures=$((failures + 1))
fi

compiled=0
for source in "$work/units"/*.pas; do
  unit="$(basename "$source" .pas)"
  outcome="$(grep -v '^#' "$expected" | awk -F'|' -v u="$unit" '{gsub(/^ +| +$/, "", $1)} $1 == u {gsub(/^ +| +$/, "", $2); print $2}')"
  "$fpc_bin" -n -Twin64 -Px86_64 -Mdelphi -Fu"$rtl" -Fu"$work/units" -FU"$work/out" "$source" >"$work/$unit.log" 2>&1
  fpc_status=$?
  first_error="$(grep -m 1 -E '(Error|Fatal): ' "$work/$unit.log" | sed 's/^[^ ]* //')"
  compiled=$((compiled + 1))
  if [ -z "$outcome" ]; then
    if [ $fpc_status -ne 0 ]; then
      echo "FAIL     $unit should compile; first error: $first_error"
      failures=$((failures + 1))
    fi
  elif [ $fpc_status -eq 0 ]; then
    echo "FAIL     $unit compiles now; the list expects: $outcome"
    failures=$((failures + 1))
  elif [[ "$first_error" != *"$outcome"* ]]; then
    echo "FAIL     $unit: first error \"$first_error\", expected \"$outcome\""
    failures=$((failures + 1))
  fi
done
echo "$entries catalogue entries, $compiled units compiled, $failures unexpected outcomes"
[ "$failures" -eq 0 ] && [ "$compiled" -gt 0 ]
