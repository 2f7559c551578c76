# Sourced by the scripts that run the Windows build under Wine: one prefix owned by the
# build tree, quiet Wine, no desktop integration.
QUENLOR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${QUENLOR_WINEPREFIX:-$QUENLOR_ROOT/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
# Debian's /usr/bin/wine prefers the 32-bit loader whenever it is installed, even on kernels
# that cannot run 32-bit programs; the 64-bit loader runs the 64-bit build everywhere.
if [ -x /usr/lib/wine/wine64 ]; then
  QUENLOR_WINE=/usr/lib/wine/wine64
  export WINELOADER=/usr/lib/wine/wine64
  export WINESERVER=/usr/lib/wine/wineserver64
else
  QUENLOR_WINE="$(command -v wine64 || command -v wine)"
  export WINESERVER="$(command -v wineserver)"
fi

# Wine's own fonts (Tahoma, the caption buttons' Marlett) lie in its data folder, which this
# Wine does not search; copied into the prefix's Fonts folder they are found. "Courier New"
# is not among them: it is replaced by DejaVu Sans Mono (fonts-dejavu-core), so that text
# asked for in it is monospaced. For the project's prefixes only, once each (a stamp).
quenlor_prefix_fonts() {
  if [ -f "$WINEPREFIX/.quenlor-fonts" ]; then return 0; fi
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" data
  mkdir -p "$fonts"
  for data in /usr/share/wine/fonts /usr/lib/wine/fonts /usr/share/fonts/truetype/wine; do
    [ -d "$data" ] || continue
    cp -n "$data"/*.ttf "$fonts"/ 2>/dev/null || true
  done
  DISPLAY= "$QUENLOR_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Courier New" \
    /d "DejaVu Sans Mono" /f >/dev/null 2>&1 || return 0
  touch "$WINEPREFIX/.quenlor-fonts"
}

# Creates the prefix once; later calls only check the stamp. Where the kernel cannot run
# 32-bit programs, Wine's 32-bit half cannot register its libraries under win32 as 64-bit
# Windows does; scripts/wine-mirror-win32.sh then adds those registrations to the prefix.
quenlor_ensure_prefix() {
  if [ -f "$WINEPREFIX/.quenlor-ready" ]; then
    quenlor_prefix_fonts
    return 0
  fi
  mkdir -p "$WINEPREFIX"
  DISPLAY= "$QUENLOR_WINE" wineboot -i >/dev/null 2>&1 || true
  "$WINESERVER" -w 2>/dev/null || true
  if [ -x "$QUENLOR_ROOT/scripts/wine-mirror-win32.sh" ]; then
    "$QUENLOR_ROOT/scripts/wine-mirror-win32.sh"
  fi
  quenlor_prefix_fonts
  touch "$WINEPREFIX/.quenlor-ready"
}
