#!/usr/bin/env bash
# Records what the command line prints for every library we can reach, so that a rework
# that must not change any output can be checked with one `diff -r` of two records:
#   dump, xml and unit of every shared-corpus library (all subfolders), every Wine library
#   and every fixture; list (lines and --xml) and the typelibs.xml it writes, for the
#   project's prefix and, when it has been generated, the 10,000-library bench prefix.
# Each record keeps stdout, stderr and the exit code, since a failure that reads
# differently is a change as well.
#
# usage: record_identity.sh QUENLOR OUT_DIR
#   then: diff -r OUT_BEFORE OUT_AFTER && echo identical
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
quenlor="$(realpath "$1")"
out="$(realpath -m "$2")"
rm -rf "$out"
mkdir -p "$out/lib" "$out/list"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data"

libraries() {
  local corpus
  corpus="$(realpath -m "$root/../shared/corpus")"
  [ -d "$corpus" ] || corpus="$(realpath -m "$root/../../shared/corpus")"
  find -L "$corpus" -type f ! -name '*.md' | sort
  find /usr/lib/x86_64-linux-gnu/wine/x86_64-windows -maxdepth 1 -type f \
    \( -iname '*.dll' -o -iname '*.tlb' -o -iname '*.ocx' -o -iname '*.olb' -o -iname '*.exe' \) | sort
  find "$root/build/linux/fixtures" -type f -name '*.tlb' | sort
}

# One record: the command's exit code, then its stderr, then its stdout. Paths in the
# texts are the library's own, so both records must come from the same folders.
record() {  # file, command...
  local file="$1"
  shift
  local body err rc
  body="$("$@" 2>"$data/err")"
  rc=$?
  {
    echo "exit $rc"
    echo "--- stderr"
    cat "$data/err"
    echo "--- stdout"
    printf '%s\n' "$body"
  } >"$file"
}

count=0
while IFS= read -r lib; do
  label="$(printf '%s' "$lib" | sed "s|^$root/||; s|^/||; s|/|_|g")"
  for command in dump xml unit; do
    (cd "$(dirname "$lib")" && record "$out/lib/$label.$command" "$quenlor" "$command" "$lib")
  done
  count=$((count + 1))
done < <(libraries)

list_prefix() {  # label, registry
  record "$out/list/$1.lines" "$quenlor" list --registry "$2"
  cp "$data/velmora/typelibs.xml" "$out/list/$1.typelibs.xml" 2>/dev/null || echo missing >"$out/list/$1.typelibs.xml"
  rm -f "$data/velmora/typelibs.xml"
  record "$out/list/$1.xml" "$quenlor" list --xml --registry "$2"
  record "$out/list/$1.by-id" "$quenlor" list --sort id --registry "$2"
}
list_prefix project "$WINEPREFIX"
[ -f "$root/build/bench-catalogue/generated/system.reg" ] &&
  list_prefix generated "$root/build/bench-catalogue/generated"
echo "$count libraries recorded in $out"
