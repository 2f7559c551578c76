#!/usr/bin/env bash
# Makes the releases under build/dist/: the Debian package of the Linux command line
# (quenlor_VERSION_amd64.deb: /usr/bin/quenlor, its man page and README) and the zip of the
# Windows programs (quenlor-VERSION-win64.zip: Quenlor.exe, quenlor.exe, README.md), with
# stripped programs and a SHA-256 sum beside each.
#   scripts/package.sh [linux|windows]...   (default: both)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh"
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(linux windows)
jobs="${QUENLOR_JOBS:-$(nproc)}"
for build in "${builds[@]}"; do
  case "$build" in
    linux) targets=(quenlor quenlor_man) ;;
    windows) targets=(quenlor Quenlor) ;;
    *) echo "package.sh: unknown build '$build' (linux or windows)" >&2; exit 2 ;;
  esac
  cmake --preset "$build" >/dev/null
  cmake --build --preset "$build" -j "$jobs" --target "${targets[@]}" >/dev/null
  log="build/$build/cpack.log"
  if ! (cd "build/$build" && cpack -C RelWithDebInfo --config CPackConfig.cmake) >"$log" 2>&1; then
    cat "$log" >&2
    echo "package.sh: cpack failed for the $build build" >&2
    exit 1
  fi
done
mkdir -p build/dist
# The programs carry no debug information once packed: each stays well under 8 MB.
for zip in build/dist/quenlor-*-win64.zip; do
  [ -f "$zip" ] || continue
  big="$(unzip -Z1 "$zip" | grep -i '\.exe$' | while read -r exe; do
    size="$(unzip -Zl "$zip" "$exe" | awk '{ print $4; exit }')"
    [ "${size:-0}" -lt 8388608 ] || echo "$exe ($size bytes)"
  done)"
  if [ -n "$big" ]; then echo "package.sh: too large in $zip: $big" >&2; exit 1; fi
done
echo "package.sh: made"
for f in build/dist/quenlor*.deb build/dist/quenlor*.zip; do
  [ -f "$f" ] && echo "  $f ($(du -h "$f" | cut -f1))"
done
