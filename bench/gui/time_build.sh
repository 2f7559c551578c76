#!/usr/bin/env bash
# How long the window's build blocks it: from the build timer firing to both text boxes
# filled, for Wine's mshtml.tlb (393 types), in the Windows build under Wine on a virtual
# display. Prints every build and the median.
# Usage: bench/gui/time_build.sh [REPEAT] [WINDOWS_PATH_OF_LIBRARY]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$root"
repeat="${1:-21}"
library="${2:-C:\\windows\\system32\\mshtml.tlb}"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Quenlor -j2 >/dev/null
. "$root/scripts/wine-env.sh"
quenlor_ensure_prefix
"$WINESERVER" -p >/dev/null 2>&1 || true
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$QUENLOR_WINE" "$root/build/windows/gui/Quenlor.exe" --time-build "$library" --repeat "$repeat"
