#!/usr/bin/env bash
# The program's main job on this machine: list the COM type libraries registered in a Wine
# prefix, as the window's catalogue does, which also rewrites the catalogue file typelibs.xml.
# The prefix is the user's ($WINEPREFIX, or ~/.wine) when it exists, otherwise the project's
# own (build/wineprefix, made on first use).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh"
cmake --preset linux >/dev/null
cmake --build --preset linux --target quenlor >/dev/null

if [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ]; then
  prefix="$WINEPREFIX"
elif [ -z "${WINEPREFIX:-}" ] && [ -f "$HOME/.wine/system.reg" ]; then
  prefix="$HOME/.wine"
else
  unset WINEPREFIX
  . "$root/scripts/wine-env.sh"
  quenlor_ensure_prefix
  # Prefixes made before the win32 mirror existed get it once (see wine-mirror-win32.sh).
  [ -f "$WINEPREFIX/.quenlor-win32-mirror" ] || "$root/scripts/wine-mirror-win32.sh"
  prefix="$WINEPREFIX"
fi

"$root/build/linux/bin/quenlor" list --registry "$prefix"
data="${XDG_DATA_HOME:-}"
case "$data" in /*) ;; *) data="$HOME/.local/share" ;; esac
echo
echo "Type libraries registered in $prefix (name|library id|file), sorted by name."
echo "Catalogue written to $data/velmora/typelibs.xml"
