#!/usr/bin/env bash
# The program's main job on this machine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh"
cmake --preset linux >/dev/null
cmake --build --preset linux --target quenlor >/dev/null
"$root/build/linux/bin/quenlor" --version
