#!/usr/bin/env bash
# Records the unit and the XML description of every library given (files, or folders whose
# *.tlb, *.dll, *.ocx, *.olb, *.oca, *.exe are tried) into OUT_DIR, one pair per library, named
# after the library's folder and file. Two records made before and after a change to the
# generator are compared with `diff -r`: only the libraries the change is meant for differ.
#
# usage: record_outputs.sh QUENLOR OUT_DIR PATH...
set -uo pipefail
quenlor="$(realpath "$1")"; out="$(realpath -m "$2")"; shift 2
mkdir -p "$out"
for p in "$@"; do
  if [ -d "$p" ]; then
    find "$p" -maxdepth 1 -type f \( -iname '*.tlb' -o -iname '*.dll' -o -iname '*.ocx' \
      -o -iname '*.olb' -o -iname '*.oca' -o -iname '*.exe' \) | sort
  else
    echo "$p"
  fi
done | while IFS= read -r f; do
  label="$(basename "$(dirname "$f")")_$(basename "$f")"
  (cd "$(dirname "$f")" && "$quenlor" unit "$f" -o "$out/$label.pas") 2>/dev/null || rm -f "$out/$label.pas"
  (cd "$(dirname "$f")" && "$quenlor" xml "$f" >"$out/$label.xml") 2>/dev/null || rm -f "$out/$label.xml"
done
ls "$out" | wc -l
