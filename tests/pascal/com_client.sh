#!/usr/bin/env bash
# Builds PROGRAM (a .pas beside this script) against the import unit that `quenlor unit`
# generates from LIBRARY and runs it under Wine: the generated declarations must call the
# real COM objects, and the program's output must be EXPECTED (a file of lines).
#
# usage: com_client.sh QUENLOR RTL_DIR WORK_DIR LIBRARY PROGRAM EXPECTED
set -euo pipefail
quenlor="$(realpath "$1")"; rtl="$(realpath "$2")"; work="$(realpath -m "$3")"; library="$4"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
program="$5"; expected="$(tr -d '\r' <"$6")"
rm -rf "$work"; mkdir -p "$work"
"$quenlor" unit "$library" -o "$work/unit.pas"
unit_name="$(head -n 1 "$work/unit.pas" | sed -n 's/^unit \(.*\);\r\{0,1\}$/\1/p')"
mv "$work/unit.pas" "$work/$unit_name.pas"
cp "$here/$program.pas" "$work/"
"${FPC:-fpc}" -n -Twin64 -Px86_64 -Mdelphi -Fu"$rtl" -FU"$work" -FE"$work" "$work/$program.pas" >"$work/fpc.log" 2>&1 ||
  { grep -E '(Error|Fatal):' "$work/fpc.log" >&2; exit 1; }
# As in msxml_demo.sh: a Wine session that is just starting may refuse the first COM
# activation; a refused start is retried twice, a wrong unit fails every attempt.
for attempt in 1 2 3; do
  status=0
  output="$("$here/../../scripts/wine-run.sh" "$work/$program.exe" 2>"$work/wine.err" | tr -d '\r')" || status=$?
  echo "$output"
  if [ "$status" = 0 ] && [ "$output" = "$expected" ]; then exit 0; fi
  echo "attempt $attempt: exit status $status, expected:" >&2
  echo "$expected" >&2
  cat "$work/wine.err" >&2
  sleep 2
done
exit 1
