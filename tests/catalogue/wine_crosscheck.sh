#!/usr/bin/env bash
# The Windows build's catalogue (Win32 registry under Wine) against the Linux build's reading
# of the same prefix's hive files: same entries, same order, same text.
# Usage: wine_crosscheck.sh WINDOWS_QUENLOR_EXE LINUX_QUENLOR
# Registrations are imported with regedit into a prefix of the test's own
# (build/wineprefix-crosscheck), so the shared prefix is left alone. Exit 77: skipped.
set -euo pipefail
exe="$1"
linux="$2"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if [ ! -x "$linux" ]; then
  echo "skipped: the Linux build's quenlor ($linux) is not built" >&2
  exit 77
fi
export QUENLOR_WINEPREFIX="$root/build/wineprefix-crosscheck"
unset WINEPREFIX
. "$root/scripts/wine-env.sh"
quenlor_ensure_prefix
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Two versions of one library, locales with FLAGS and HELPDIR, a win64-only registration, a
# version without a name, expandable and quoted paths, text that XML must escape, non-ASCII
# text, and key names whose order depends on how case is folded.
A='{5A1E0C10-0000-4C1A-9E21-0D4F3B2A0001}'
B='{5a1e0c10-0000-4c1a-9e21-0d4f3b2a0002}'
C='{5A1E0C10-0000-4C1A-9E21-0D4F3B2A0003}'
reg="$work/registrations.reg"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  for id in "$A" "$B" "$C"; do printf '[-HKEY_CLASSES_ROOT\\TypeLib\\%s]\r\n' "$id"; done
  printf '\r\n[HKEY_CLASSES_ROOT\\TypeLib\\%s\\1.0]\r\n@="Quenlor cross-check & <one>"\r\n' "$A"
  printf '[HKEY_CLASSES_ROOT\\TypeLib\\%s\\1.0\\0\\win32]\r\n@="C:\\\\windows\\\\system32\\\\stdole2.tlb"\r\n' "$A"
  printf '[HKEY_CLASSES_ROOT\\TypeLib\\%s\\1.0\\FLAGS]\r\n@="0"\r\n' "$A"
  printf '[HKEY_CLASSES_ROOT\\TypeLib\\%s\\1.0\\HELPDIR]\r\n@="C:\\\\help"\r\n' "$A"
  printf '[HKEY_CLASSES_ROOT\\TypeLib\\%s\\2.0]\r\n@="Quenlor cross-check v2 \xe6\x97\xa5\xe6\x9c\xac"\r\n' "$A"
  # %SystemRoot%\system32\stdole32.tlb as REG_EXPAND_SZ
  printf '[HKEY_CLASSES_ROOT\\TypeLib\\%s\\2.0\\409\\win32]\r\n@=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,00,5c,00,73,00,74,00,64,00,6f,00,6c,00,65,00,33,00,32,00,2e,00,74,00,6c,00,62,00,00,00\r\n' "$A"
  printf '[HKEY_CLASSES_ROOT\\TypeLib\\%s\\2.0\\0\\win32]\r\n@="\\"C:\\\\Program Files\\\\x.tlb\\""\r\n' "$A"
  printf '[HKEY_CLASSES_ROOT\\TypeLib\\%s\\2.0\\_x\\win32]\r\n@="underscore"\r\n' "$A"
  printf '[HKEY_CLASSES_ROOT\\TypeLib\\%s\\2.0\\A\\win32]\r\n@="letter"\r\n' "$A"
  printf '[HKEY_CLASSES_ROOT\\TypeLib\\%s\\3.0]\r\n[HKEY_CLASSES_ROOT\\TypeLib\\%s\\3.0\\0\\win64]\r\n@="C:\\\\x64.tlb"\r\n' "$B" "$B"
  printf '[HKEY_CLASSES_ROOT\\TypeLib\\%s\\1.1\\0\\win32]\r\n@=""\r\n' "$C"
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"

cp "$reg" "$WINEPREFIX/drive_c/quenlor-crosscheck.reg"
"$QUENLOR_WINE" regedit /s 'C:\quenlor-crosscheck.reg' </dev/null >/dev/null 2>&1
rm -f "$WINEPREFIX/drive_c/quenlor-crosscheck.reg"
# Wait for the server to write the hive files the Linux build reads.
timeout 120 "$WINESERVER" -w || true

export XDG_DATA_HOME="$work/data"
normalise() { tr -d '\r\n' | sed -e 's/<?xml[^>]*?>//' -e 's/>[[:space:]]*</></g'; }
"$QUENLOR_WINE" "$exe" list --sort none </dev/null | tr -d '\r' > "$work/windows.txt"
"$linux" list --sort none --registry "$WINEPREFIX" > "$work/linux.txt"
"$QUENLOR_WINE" "$exe" list --xml </dev/null | normalise > "$work/windows.xml"
"$linux" list --xml --registry "$WINEPREFIX" | normalise > "$work/linux.xml"

status=0
for id in "$A" "$B" "$C"; do
  # Wine's own libraries are listed too; the test's must be among them, and the win64-only
  # one must not.
  if [ "$id" = "$B" ]; then
    if grep -qi "$id" "$work/linux.txt"; then echo "win64-only $id listed" >&2; status=1; fi
  elif ! grep -q "$id" "$work/linux.txt"; then
    echo "$id missing from the Linux build's list" >&2
    status=1
  fi
done
diff -u "$work/windows.txt" "$work/linux.txt" >&2 || status=1
cmp -s "$work/windows.xml" "$work/linux.xml" || { echo "--xml differs:" >&2; diff <(fold -w 120 "$work/windows.xml") <(fold -w 120 "$work/linux.xml") >&2; status=1; }
echo "compared $(wc -l < "$work/linux.txt") entries" >&2
exit $status
