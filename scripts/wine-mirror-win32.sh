#!/usr/bin/env bash
# Workaround for machines whose kernel cannot run 32-bit programs (this project's build
# machines among them): Wine's 32-bit half never starts there, so a new prefix registers its
# type libraries under win64 only, where 64-bit Windows (and a working WoW64 Wine) registers
# them under win32 as well. The catalogue lists win32 registrations only and would be empty.
#
# This adds, for each HKCR\TypeLib\{id}\version\locale\win64 key that has no win32 sibling,
# a win32 key with the same default value and type. It changes nothing where win32
# registrations exist, so running it again, or on a prefix with working 32-bit support,
# does nothing. Runs on $WINEPREFIX (default: the project's prefix, see wine-env.sh).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [ -n "${WINEPREFIX:-}" ] && [ -z "${QUENLOR_WINEPREFIX:-}" ]; then export QUENLOR_WINEPREFIX="$WINEPREFIX"; fi
. "$here/wine-env.sh"

listing="$("$QUENLOR_WINE" reg query 'HKLM\Software\Classes\TypeLib' /s 2>/dev/null </dev/null | tr -d '\r' || true)"

# reg prints each key as a line of its own, then its values as
# "    NAME    TYPE    DATA". REGEDIT4 text keeps expandable strings as 8-bit hex bytes.
mirror="$(printf '%s\n' "$listing" | LC_ALL=C awk '
  BEGIN { for (i = 1; i < 256; i++) ord[sprintf("%c", i)] = i }
  /^HKEY_/ {
    key = $0; parent = ""
    lower = tolower(key)
    if (lower ~ /\\win64$/) { parent = substr(key, 1, length(key) - 6); w64[parent] = key; order[++n] = parent }
    if (lower ~ /\\win32$/) has32[tolower(substr(key, 1, length(key) - 6))] = 1
    next
  }
  parent != "" && /^    \(Default\)    REG_(SZ|EXPAND_SZ)/ {
    line = substr($0, 16)
    split(line, parts, "    ")
    type[parent] = parts[1]
    data[parent] = substr(line, length(parts[1]) + 5)
  }
  END {
    for (k = 1; k <= n; k++) {
      p = order[k]
      if (tolower(p) in has32) continue
      if (!(p in type)) continue
      print ""
      print "[" p "\\win32]"
      if (type[p] == "REG_EXPAND_SZ") {
        hex = ""
        for (i = 1; i <= length(data[p]); i++) hex = hex sprintf("%02x,", ord[substr(data[p], i, 1)])
        print "@=hex(2):" hex "00"
      } else {
        v = ""
        for (i = 1; i <= length(data[p]); i++) {
          c = substr(data[p], i, 1)
          if (c == "\\" || c == "\"") v = v "\\"
          v = v c
        }
        print "@=\"" v "\""
      }
    }
  }')"

if [ -n "$mirror" ]; then
  file="$WINEPREFIX/drive_c/quenlor-win32-mirror.reg"
  printf 'REGEDIT4\n%s\n' "$mirror" | sed 's/$/\r/' > "$file"
  "$QUENLOR_WINE" regedit /s 'C:\quenlor-win32-mirror.reg' </dev/null >/dev/null 2>&1
  rm -f "$file"
  echo "wine-mirror-win32: added $(printf '%s\n' "$mirror" | grep -c '^\[') win32 registrations to $WINEPREFIX" >&2
  # The hive files are written when the server goes idle; a server kept running by someone
  # else saves them on its own schedule, so do not wait for it for ever.
  timeout 60 "$WINESERVER" -w 2>/dev/null || true
fi
touch "$WINEPREFIX/.quenlor-win32-mirror"
