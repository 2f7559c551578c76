#!/usr/bin/env bash
# Generates and compiles the import unit of every real library: each file of the corpus (any
# depth) and of Wine's own library folder that holds a type library. The outcome of each is
# compared with EXPECTED, where such a library is listed as "corpus/PATH" or "wine/FILE":
# one listed as compiling must compile; one listed with an error must fail with it (or is
# reported as compiling now); one not listed, or listed but no longer loading, fails the test.
#
# usage: check_libraries.sh QUENLOR RTL_DIR WORK_DIR EXPECTED CORPUS_DIR WINE_LIBRARY_DIR
set -uo pipefail
quenlor="$(realpath "$1")"; rtl="$(realpath "$2")"; work="$(realpath -m "$3")"; expected="$4"
corpus="$5"; wine="$6"
rm -rf "$work"; mkdir -p "$work"
. "$(dirname "${BASH_SOURCE[0]}")/judge_unit.sh"

declare -A outcomes constructs
while IFS='|' read -r library outcome construct; do
  library="$(echo "$library" | xargs)"
  case "$library" in corpus/*|wine/*) ;; *) continue ;; esac
  outcomes["$library"]="$(echo "$outcome" | sed 's/^ *//; s/ *$//')"
  constructs["$library"]="$(echo "$construct" | sed 's/^ *//; s/ *$//')"
done <"$expected"

list_files() {
  find "$corpus" -type f \( -iname '*.tlb' -o -iname '*.dll' -o -iname '*.ocx' -o -iname '*.olb' -o -iname '*.oca' \) |
    sed "s|^$corpus/|corpus/|"
  find "$wine" -maxdepth 1 -type f \( -iname '*.tlb' -o -iname '*.dll' -o -iname '*.ocx' -o -iname '*.olb' \
    -o -iname '*.oca' \) | sed "s|^$wine/|wine/|"
}

failures=0; checked=0; compiled=0
declare -A seen
while IFS= read -r label; do
  case "$label" in corpus/*) path="$corpus/${label#corpus/}" ;; *) path="$wine/${label#wine/}" ;; esac
  dir="$work/$checked"
  mkdir -p "$dir"
  # References into other libraries resolve beside the library.
  if ! (cd "$(dirname "$path")" && "$quenlor" unit "$path" -o "$dir/unit.pas") 2>"$dir/quenlor.err"; then
    rm -rf "$dir"
    continue  # no type library in this file
  fi
  seen["$label"]=1
  checked=$((checked + 1))
  unit_name="$(head -n 1 "$dir/unit.pas" | sed -n 's/^unit \(.*\);\r\{0,1\}$/\1/p')"
  mv "$dir/unit.pas" "$dir/$unit_name.pas"
  compile_unit "$dir/$unit_name.pas" "$dir" -Fu"$rtl"
  status=$unit_status first_error=$unit_first_error
  [ $status -eq 0 ] && compiled=$((compiled + 1))
  if [ -z "${outcomes[$label]+set}" ]; then
    echo "FAIL     $label is not in the list (it $([ $status -eq 0 ] && echo compiles || echo "fails: $first_error"))"
    failures=$((failures + 1))
  elif ! judge_outcome "$label" "${outcomes[$label]}" "${constructs[$label]}" "$status" "$first_error"; then
    failures=$((failures + 1))
  fi
done < <(list_files | sort)

for label in "${!outcomes[@]}"; do
  if [ -z "${seen[$label]+set}" ]; then
    echo "FAIL     $label is listed but holds no type library that loads (or is missing)"
    failures=$((failures + 1))
  fi
done
echo "$checked libraries, $compiled units compile, $failures unexpected outcomes"
[ "$failures" -eq 0 ] && [ "$checked" -gt 0 ]
