#!/usr/bin/env bash
# Runs one Windows program of the build under Wine, in the build's prefix; the exit code and
# the program's output pass through.
#
# The output goes through files, not straight to our stdout/stderr: the first program of a
# Wine session starts Wine's services (and the first window its desktop process), which
# inherit the program's standard handles and live as long as the wineserver. Were those
# handles ctest's pipes, ctest would wait for them to close for as long as the session lasts.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
quenlor_ensure_prefix
out="$(mktemp)"
err="$(mktemp)"
trap 'rm -f "$out" "$err"' EXIT
"$QUENLOR_WINE" "$@" </dev/null >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
exit "$status"
