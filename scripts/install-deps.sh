#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Quenlor needs.
# Idempotent: when everything is present it only checks and prints nothing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config ninja-build
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-dev libxslt1-dev zlib1g-dev libmimalloc-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  libwine-dev wine wine64 wine32:i386
  xvfb x11-apps imagemagick xauth fonts-wine
  fpc fpc-source-3.2.2
)

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  # dpkg-query names multi-arch packages with their architecture suffix as given.
  if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
