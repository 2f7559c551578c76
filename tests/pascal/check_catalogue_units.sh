#!/usr/bin/env bash
# `quenlor unit --all --with-dependencies` over the catalogue of the registry in $WINEPREFIX:
# it must exit 0, write one unit for every catalogue entry (entries naming one library
# share its unit, as the summary says), and every unit compiles with Free Pascal for win64,
# except those EXPECTED names with the first error they give.
#
# usage: check_catalogue_units.sh QUENLOR RTL_DIR WORK_DIR EXPECTED
set -uo pipefail

quenlor="$(realpath "$1")"; rtl="$(realpath "$2")"; work="$(realpath -m "$3")"; expected="$4"
. "$(dirname "${BASH_SOURCE[0]}")/judge_unit.sh"
rm -rf "$work"
mkdir -p "$work/out"

failures=0
entries="$("$quenlor" list | wc -l)"
if [ "$entries" -eq 0 ]; then
  echo "FAIL     the catalogue of ${WINEPREFIX:-~/.wine} is empty"
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
  line="$(grep -v '^#' "$expected" | awk -F'|' -v u="$unit" '{ name = $1; gsub(/^ +| +$/, "", name) } name == u')"
  outcome="$(echo "$line" | cut -d'|' -f2 | sed 's/^ *//; s/ *$//')"
  construct="$(echo "$line" | cut -d'|' -f3 | sed 's/^ *//; s/ *$//')"
  compiled=$((compiled + 1))
  judge_unit "$unit" "$source" "$work/out" "${outcome:-compiles}" "${construct:-}" -Fu"$rtl" -Fu"$work/units" ||
    failures=$((failures + 1))
done
echo "$entries catalogue entries, $compiled units compiled, $failures unexpected outcomes"
[ "$failures" -eq 0 ] && [ "$compiled" -gt 0 ]
