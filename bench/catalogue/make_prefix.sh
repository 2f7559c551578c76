#!/usr/bin/env bash
# Generates a prefix-shaped registry with COUNT type libraries (default 10000), each with one
# to three versions, one to three locales per version (win32 and win64 files), FLAGS and
# HELPDIR: OUT/system.reg and OUT/user.reg for the Linux build, OUT/typelibs.reg (REGEDIT4)
# holding the same registrations for importing into a real prefix.
# Usage: make_prefix.sh OUT [COUNT] [BASE_SYSTEM_REG]
# With BASE_SYSTEM_REG (a real prefix's system.reg) the generated keys follow its content,
# so the reader also crosses everything else a prefix holds.
set -euo pipefail
out="$1"
count="${2:-10000}"
base="${3:-}"
mkdir -p "$out/dosdevices"
ln -sfn / "$out/dosdevices/z:"
{
  if [ -n "$base" ] && [ -f "$base" ]; then cat "$base"; else printf 'WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n'; fi
  printf '\n'
} > "$out/system.reg"
printf 'WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n\n[Environment] 1796770950\n"TEMP"="C:\\\\users\\\\root\\\\Temp"\n' > "$out/user.reg"

LC_ALL=C awk -v count="$count" -v hive="$out/system.reg" -v reg="$out/typelibs.reg" '
  # Doubles each backslash (gsub replacement escaping differs between awks).
  function twice(text,    out, i, c) {
    out = ""
    for (i = 1; i <= length(text); i++) { c = substr(text, i, 1); out = out c; if (c == "\\") out = out c }
    return out
  }
  function key(path, value,    hive_path, escaped) {
    hive_path = twice(path)
    escaped = twice(value)
    printf "\n[Software\\\\Classes\\\\TypeLib\\\\%s] 1796770950\n#time=1dd876833ba8dce\n", hive_path >> hive
    if (value != "") printf "@=\"%s\"\n", escaped >> hive
    printf "\r\n[HKEY_CLASSES_ROOT\\TypeLib\\%s]\r\n", path > reg
    if (value != "") printf "@=\"%s\"\r\n", escaped > reg
  }
  BEGIN {
    printf "REGEDIT4\r\n" > reg
    split("0 409 407 40c", locales, " ")
    for (i = 1; i <= count; i++) {
      id = sprintf("{%08X-%04X-%04X-%04X-%012X}", i * 2654435761 % 4294967296, i % 65536, (i * 7) % 65536, 49152 + i % 4096, i * 1000003)
      versions = 1 + i % 3
      for (v = 1; v <= versions; v++) {
        ver = v "." (i % 4)
        name = sprintf("Generated Library %d version %s", i, ver)
        key(id "\\" ver, name)
        nloc = 1 + (i + v) % 3
        for (l = 1; l <= nloc; l++) {
          loc = locales[l]
          key(id "\\" ver "\\" loc, "")
          file = sprintf("C:\\Program Files\\Generated\\lib%05d\\v%d\\%s.tlb", i, v, loc)
          key(id "\\" ver "\\" loc "\\win32", file)
          key(id "\\" ver "\\" loc "\\win64", file)
        }
        key(id "\\" ver "\\FLAGS", "0")
        key(id "\\" ver "\\HELPDIR", "C:\\Program Files\\Generated")
      }
    }
  }'
echo "make_prefix: $count libraries in $out ($(grep -c 'win32\]' "$out/system.reg") win32 registrations)" >&2
