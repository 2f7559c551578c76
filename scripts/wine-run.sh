#!/usr/bin/env bash
# Runs one Windows program of the build under Wine, in the build's prefix; the exit code passes through.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
quenlor_ensure_prefix
exec "$QUENLOR_WINE" "$@"
