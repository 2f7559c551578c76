#!/usr/bin/env bash
# Builds every configuration and runs every test:
#   linux    native suites with ctest
#   asan     the same suites under AddressSanitizer, LeakSanitizer and UBSan
#   fuzz     each libFuzzer target for a few seconds over its seeds (regression check)
#   windows  the suites compiled with MinGW-w64 and run under Wine, display tests under Xvfb
# Set QUENLOR_STAGES (for example "linux windows") to run a subset.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
stages="${QUENLOR_STAGES:-linux asan fuzz windows}"
jobs="${QUENLOR_JOBS:-$(nproc)}"

"$root/scripts/install-deps.sh"

has_stage() { [[ " $stages " == *" $1 "* ]]; }

# Every stage reads the project's Wine prefix as its registry: the Linux build resolves
# references into other libraries (stdole2's IUnknown and IDispatch) through it, exactly as
# the Windows build does under Wine, so both see the same machine.
. "$root/scripts/wine-env.sh"
quenlor_ensure_prefix
# One wineserver for the whole run: each Wine program then starts in a fraction of a second
# into a session whose services are already up, in every stage that runs one.
"$WINESERVER" -p >/dev/null 2>&1 || true
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT

if has_stage linux; then
  cmake --preset linux >/dev/null
  cmake --build --preset linux -j "$jobs"
  ctest --preset linux -j "$jobs" --output-on-failure
fi

if has_stage asan; then
  cmake --preset asan >/dev/null
  cmake --build --preset asan -j "$jobs"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --preset asan -j "$jobs" -LE slow --output-on-failure
fi

if has_stage fuzz; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$jobs"
  "$root/scripts/fuzz.sh" --seconds "${QUENLOR_FUZZ_SECONDS:-10}"
fi

if has_stage windows; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j "$jobs"
  ctest --preset windows -j "$jobs" -LE display --output-on-failure
  if ctest --preset windows -N -L display | grep -q 'Total Tests: [1-9]'; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows -L display --output-on-failure
  fi
fi
echo "test.sh: all stages passed ($stages)"
