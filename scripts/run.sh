#!/usr/bin/env bash
# The program's main job: the window "Type Library Importer" with the type libraries
# registered in the project's Wine prefix (build/wineprefix, made on first use; set
# QUENLOR_WINEPREFIX for another). On Windows itself, run Quenlor.exe; here the Windows build
# runs under Wine. With a display the window opens and stays until it is closed. Without one
# ($DISPLAY empty) it runs on a virtual display (Xvfb), builds the first library of the list,
# saves a picture of the window and exits, printing the picture's path
# (build/quenlor-window.png, or $QUENLOR_SCREENSHOT).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Quenlor >/dev/null
. "$root/scripts/wine-env.sh"
quenlor_ensure_prefix
# Prefixes made before the win32 mirror existed get it once (see wine-mirror-win32.sh).
[ -f "$WINEPREFIX/.quenlor-win32-mirror" ] || "$root/scripts/wine-mirror-win32.sh"
program="$root/build/windows/gui/Quenlor.exe"

if [ -n "${DISPLAY:-}" ]; then
  exec "$QUENLOR_WINE" "$program"
fi

shot="${QUENLOR_SCREENSHOT:-$root/build/quenlor-window.png}"
case "$shot" in /*) ;; *) shot="$PWD/$shot" ;; esac
mkdir -p "$(dirname "$shot")"
rm -f "$shot"
# With no window manager on the virtual display, Wine draws the window's frame and caption
# only when told to; the setting is for Quenlor.exe alone and is removed afterwards.
key='HKCU\Software\Wine\AppDefaults\Quenlor.exe\X11 Driver'
"$QUENLOR_WINE" reg add "$key" /v Decorated /d N /f >/dev/null 2>&1 || true
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$QUENLOR_WINE" "$program" --screenshot "Z:${shot//\//\\}" 2>&1 | { grep -v '^X connection to' || true; } || true
"$QUENLOR_WINE" reg delete "$key" /f >/dev/null 2>&1 || true
if [ ! -s "$shot" ]; then
  echo "run.sh: the window did not save its picture" >&2
  exit 1
fi
echo "run.sh: no display here, so the window ran on a virtual display; the picture of it after"
echo "building the first library of the list is $shot"
