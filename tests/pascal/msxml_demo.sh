#!/usr/bin/env bash
# Builds msxml_demo.pas against the import unit that `quenlor unit` generates from Wine's
# msxml6.dll and runs it under Wine: the generated declarations must call the real DOM.
# (msxml3_demo.pas goes through msxml3.dll's unit, including a vtable interface.)
#
# usage: msxml_demo.sh QUENLOR RTL_DIR WORK_DIR
set -euo pipefail
quenlor="$(realpath "$1")"; rtl="$(realpath "$2")"; work="$(realpath -m "$3")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
library="${QUENLOR_MSXML_DLL:-/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/msxml6.dll}"
rm -rf "$work"; mkdir -p "$work"
"$quenlor" unit "$library" -o "$work/MSXML2_TLB.pas"
cp "$here/msxml_demo.pas" "$work/"
"${FPC:-fpc}" -n -Twin64 -Px86_64 -Mdelphi -Fu"$rtl" -FU"$work" -FE"$work" "$work/msxml_demo.pas" >"$work/fpc.log" 2>&1 ||
  { grep -E '(Error|Fatal):' "$work/fpc.log" >&2; exit 1; }
expected='greeting: hello from an import unit [lang=en]'
# A Wine session that is just starting can refuse a program's first COM activation while
# its services come up; the unit is judged on a settled session, so a refused start is
# retried twice. A wrong unit fails every attempt, and every attempt's output is shown.
for attempt in 1 2 3; do
  status=0
  output="$("$here/../../scripts/wine-run.sh" "$work/msxml_demo.exe" 2>"$work/wine.err" | tr -d '\r')" || status=$?
  echo "$output"
  if [ "$status" = 0 ] && [ "$(echo "$output" | head -n 1)" = "$expected" ]; then exit 0; fi
  echo "attempt $attempt: exit status $status; Wine said:" >&2
  cat "$work/wine.err" >&2
  sleep 2
done
exit 1
