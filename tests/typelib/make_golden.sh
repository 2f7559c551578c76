#!/usr/bin/env bash
# Makes the golden dumps of golden_test.cpp with the Windows build's built-in reader under
# Wine. Run after `cmake --build --preset windows --target typelib_dump`.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
exe="$root/build/windows/tests/typelib/typelib_dump.exe"
wine=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
corpus="$(cd "$root/../shared/corpus" && pwd)"
out="$root/tests/typelib/golden"
mkdir -p "$out"
make() {  # golden-name path
  "$root/scripts/wine-run.sh" "$exe" "$2" builtin "Z:$out/$1" || true
}
make wine-stdole2.tlb.dump "Z:$wine/stdole2.tlb"
make wine-hnetcfg.dll-2.dump "Z:$wine/hnetcfg.dll\\2"
make wine-msxml3.dll.dump "Z:$wine/msxml3.dll"
make corpus-scrrun.dll.dump "Z:$corpus/vb6/scrrun.dll"
make corpus-wshom.ocx.dump "Z:$corpus/vb6/wshom.ocx"
make corpus-comdlg32.dll.dump "Z:$corpus/negative/comdlg32.dll"
