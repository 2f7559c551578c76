#!/usr/bin/env bash
# Builds Free Pascal's win64 run-time units (System, SysInit, ObjPas, SysUtils, Windows,
# ActiveX, Variants and what they use) from the Debian fpc-source package into OUT_DIR,
# with the installed compiler. Generated import units are then compiled against them.
# The build is cached: a stamp holding the compiler version and the source path makes
# later calls return at once.
#
# usage: scripts/fpc-rtl.sh OUT_DIR
set -euo pipefail

out="${1:?usage: fpc-rtl.sh OUT_DIR}"
fpc_bin="${FPC:-fpc}"
version="$("$fpc_bin" -iV)"
src="${FPC_SOURCE_DIR:-/usr/share/fpcsrc/$version}"
stamp="$out/.quenlor-fpc-rtl"
want="$version $src"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
  exit 0
fi
if [ ! -f "$src/rtl/win64/system.pp" ]; then
  echo "fpc-rtl.sh: no Free Pascal sources in $src (Debian package fpc-source-$version)" >&2
  exit 1
fi

rtl="$src/rtl"
pkg="$src/packages"
rm -rf "$out"
mkdir -p "$out"
# -n: the system's fpc.cfg describes the Linux target; everything needed is given here.
opts=(-n -Twin64 -Px86_64 -Sg -O2 -vw- -FU"$out"
  -Fi"$rtl/inc" -Fi"$rtl/win" -Fi"$rtl/x86_64" -Fi"$rtl/win64" -Fi"$rtl/win/wininc" -Fi"$rtl/win32"
  -Fi"$rtl/objpas" -Fi"$rtl/objpas/sysutils" -Fi"$rtl/objpas/classes"
  -Fu"$rtl/win64" -Fu"$rtl/win" -Fu"$rtl/objpas" -Fu"$rtl/inc" -Fu"$rtl/x86_64"
  -Fu"$pkg/rtl-objpas/src/win" -Fu"$pkg/rtl-objpas/src/inc"
  -Fi"$pkg/rtl-objpas/src/inc" -Fi"$pkg/rtl-objpas/src/win"
  -Fu"$pkg/winunits-base/src" -Fi"$pkg/winunits-base/src"
  -Fu"$pkg/fcl-registry/src" -Fi"$pkg/fcl-registry/src" -Fu"$pkg/fcl-base/src" -Fi"$pkg/fcl-base/src")
log="$out/build.log"
# The compiler builds the units each of these uses from the source paths above.
for unit in "$rtl/win64/system.pp" "$rtl/win64/sysinit.pp" "$rtl/inc/fpintres.pp" \
            "$rtl/objpas/objpas.pp" "$rtl/win/sysutils.pp" "$rtl/win64/windows.pp" \
            "$pkg/rtl-objpas/src/inc/variants.pp" "$pkg/winunits-base/src/activex.pp" \
            "$pkg/winunits-base/src/comobj.pp"; do
  [ -f "$unit" ] || continue
  if ! "$fpc_bin" "${opts[@]}" "$unit" >>"$log" 2>&1; then
    echo "fpc-rtl.sh: building $(basename "$unit") failed; see $log" >&2
    tail -5 "$log" >&2
    exit 1
  fi
done
echo "$want" >"$stamp"
