#!/usr/bin/env bash
# `quenlor unit` on every library the project's prefix registers (as `quenlor list` lists
# them, the window's list) and on every corpus file, one process each: each must end with
# 0 (unit written) or 1 ("invalid typelib"); anything else is a crash or a hang. Every
# registered library must build.
# Usage: unit_sweep.sh CORPUS_DIR windows|native PROGRAM...
#   windows: PROGRAM is the Windows build run through scripts/wine-run.sh; corpus paths are
#            given as Wine's Z: drive shows them
#   native:  the Linux build, reading the project's prefix
set -uo pipefail
corpus="$1"; style="$2"; shift 2
program=("$@")
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# `quenlor list` rewrites the catalogue file; that of a user of this machine is left alone.
export XDG_DATA_HOME="$work"
[ "$style" = native ] && export WINEPREFIX="${QUENLOR_WINEPREFIX:-$root/build/wineprefix}"

if ! "${program[@]}" list >"$work/list" 2>"$work/list.err"; then
  echo "FAIL: quenlor list failed: $(cat "$work/list.err")"
  exit 1
fi
failures=0
built=0
invalid=0
# One unit: prints the status, counts it.
run() {
  local what="$1" path="$2" status
  timeout 120 "${program[@]}" unit "$path" >"$work/unit" 2>"$work/err" </dev/null
  status=$?
  case "$status" in
    0) built=$((built + 1)) ;;
    1) invalid=$((invalid + 1))
       if [ "$what" = registered ]; then
         echo "FAIL: registered $path does not build: $(head -c 300 "$work/err")"
         failures=$((failures + 1))
       fi ;;
    *) echo "FAIL: $what $path ended with status $status: $(head -c 300 "$work/err")"
       failures=$((failures + 1)) ;;
  esac
  if [ "$status" = 0 ] && ! head -n 1 "$work/unit" | grep -q '^unit '; then
    echo "FAIL: $what $path: status 0 without a unit"
    failures=$((failures + 1))
  fi
}

# The Linux build's command line takes files of this machine: a registered C:\ path is the
# prefix's drive_c (Wine's own registrations use the folders' own case), a Z:\ path (with or
# without \\?\) the root, "\N" kept.
native_path() {
  local path="$1" resource=""
  if [[ "$path" =~ ^(.*[^0-9\\])(\\[0-9]+)$ ]]; then path="${BASH_REMATCH[1]}"; resource="${BASH_REMATCH[2]}"; fi
  path="${path#\\\\\?\\}"
  path="${path/#[Cc]:\\/$WINEPREFIX/drive_c/}"
  path="${path/#[Zz]:\\//}"
  printf '%s%s' "${path//\\//}" "$resource"
}

registered=0
while IFS='|' read -r name id file; do
  file="${file%$'\r'}"
  [ -z "$file" ] && continue
  registered=$((registered + 1))
  [ "$style" = native ] && file="$(native_path "$file")"
  run registered "$file"
done <"$work/list"
while IFS= read -r file; do
  if [ "$style" = windows ]; then file="Z:${file//\//\\}"; fi
  run corpus "$file"
done < <(find "$corpus" -type f | sort)

echo "unit_sweep: $registered registered, $built built, $invalid invalid typelib, $failures failures"
if [ "$registered" -lt 40 ]; then
  echo "FAIL: the prefix registers only $registered libraries"
  exit 1
fi
[ "$failures" -eq 0 ]
