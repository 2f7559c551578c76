#!/usr/bin/env bash
# A measurement, not a test: for every library given (files, or folders whose *.tlb, *.dll,
# *.ocx, *.olb, *.exe are tried), generates the import unit and compiles it with Free Pascal
# for win64 against the units in RTL_DIR. Prints one line per library that loads:
# "compiles" or the first error, and a summary. Files that hold no type library are
# counted, not listed.
#
# usage: measure_libraries.sh QUENLOR RTL_DIR WORK_DIR PATH...
set -uo pipefail
quenlor="$(realpath "$1")"; rtl="$(realpath "$2")"; work="$(realpath -m "$3")"; shift 3
fpc_bin="${FPC:-fpc}"
mkdir -p "$work"

files=()
for p in "$@"; do
  if [ -d "$p" ]; then
    while IFS= read -r f; do files+=("$f"); done < <(find "$p" -maxdepth 1 -type f \
      \( -iname '*.tlb' -o -iname '*.dll' -o -iname '*.ocx' -o -iname '*.olb' -o -iname '*.oca' -o -iname '*.exe' \) | sort)
  else
    files+=("$p")
  fi
done

loaded=0; compiled=0; no_typelib=0
for f in "${files[@]}"; do
  base="$(basename "$f")"
  label="$(basename "$(dirname "$f")")/$base"
  out="$work/$base.pas"
  if ! (cd "$(dirname "$f")" && "$quenlor" unit "$f" -o "$out") 2>/dev/null; then
    no_typelib=$((no_typelib + 1))
    continue
  fi
  loaded=$((loaded + 1))
  unit_name="$(head -n 1 "$out" | sed -n 's/^unit \(.*\);\r\{0,1\}$/\1/p')"
  dir="$work/$base.d"
  rm -rf "$dir"; mkdir -p "$dir"
  mv "$out" "$dir/$unit_name.pas"
  "$fpc_bin" -n -Twin64 -Px86_64 -Mdelphi -Fu"$rtl" -FU"$dir" "$dir/$unit_name.pas" >"$dir/fpc.log" 2>&1
  if [ $? -eq 0 ]; then
    compiled=$((compiled + 1))
    printf "%-40s compiles\n" "$label"
  else
    printf "%-40s %s\n" "$label" "$(grep -m 1 -E '(Error|Fatal): ' "$dir/fpc.log" | sed 's/^[^ ]*\.pas//')"
  fi
done
echo "libraries with a type library: $loaded; units that compile: $compiled; files without one: $no_typelib"
