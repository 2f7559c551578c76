#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Quenlor needs.
# Idempotent: when everything is present it only checks and prints nothing.
#
# A passing mirror hiccup does not stop it: the package lists are fetched again a few times,
# and when one index still fails the install goes on with the lists it has; it fails only
# when a package it needs cannot be installed, and then names that package.
#
# Wine's 32-bit half (wine32:i386, with the i386 architecture) is added only where a probe
# shows that the kernel runs 32-bit programs, and only when asked for (QUENLOR_WINE32=1): the
# programs are 64-bit, and the project's prefix gets the win32 registrations that the 32-bit
# half would make from scripts/wine-mirror-win32.sh instead.
set -euo pipefail

packages=(
  cmake g++ make pkg-config ninja-build git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-dev libxslt1-dev zlib1g-dev libmimalloc-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  libwine-dev wine wine64
  xvfb x11-apps imagemagick xauth fonts-wine fonts-dejavu-core
  fpc fpc-source-3.2.2
  dpkg-dev file unzip time
)

say() { echo "install-deps: $*" >&2; }

SUDO=""
if [ "$(id -u)" != 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    say "not root and no sudo: run this script as root"
    exit 1
  fi
  SUDO="sudo"
fi

# A static 32-bit x86 program that only exits with status 42 (84 bytes of ELF header and
# program header, then mov eax,1; mov ebx,42; int 0x80). It runs exactly where the kernel
# can run 32-bit programs.
kernel_runs_32bit() {
  local probe
  probe="$(mktemp)"
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" = 42 ]
}

if [ "${QUENLOR_WINE32:-0}" = 1 ]; then
  if kernel_runs_32bit; then
    packages+=(wine32:i386)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      $SUDO dpkg --add-architecture i386
      # The new architecture's lists are fetched below, with the install.
      force_update=1
    fi
  else
    say "QUENLOR_WINE32=1, but this kernel does not run 32-bit programs: wine32:i386 is left out" \
        "and the project's prefix gets its win32 registrations from scripts/wine-mirror-win32.sh"
  fi
fi

installed() {
  # dpkg-query names multi-arch packages with their architecture suffix as given.
  dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -q '^install ok installed$'
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ] && [ -z "${force_update:-}" ]; then
  exit 0
fi

say "installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive

# Fetches the package lists, again up to three times after a failure. apt keeps every index
# that did arrive, so a last failure leaves lists that may well hold everything needed.
update_log="$(mktemp)"
updated=""
for attempt in 1 2 3 4; do
  if $SUDO apt-get update -qq >"$update_log" 2>&1; then
    updated=1
    break
  fi
  [ "$attempt" = 4 ] || sleep $((attempt * 5))
done
if [ -z "$updated" ]; then
  say "apt-get update failed four times; going on with the package lists as they are:"
  grep -E '^(E|W):' "$update_log" | head -n 5 | sed 's/^/  /' >&2 || true
fi
rm -f "$update_log"

# Packages the lists do not offer at all are named before apt is asked for anything.
unavailable=()
for p in "${missing[@]}"; do
  candidate="$(apt-cache policy "$p" 2>/dev/null | awk '/Candidate:/ { print $2; exit }')"
  if [ -z "$candidate" ] || [ "$candidate" = "(none)" ]; then unavailable+=("$p"); fi
done
if [ ${#unavailable[@]} -gt 0 ]; then
  say "no installable version of: ${unavailable[*]}"
  say "check /etc/apt/sources.list* (Debian 12 'bookworm' main) and run this script again"
  exit 1
fi

install_log="$(mktemp)"
if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$install_log" 2>&1; then
  # One package at a time tells which of them apt cannot install.
  failed=()
  for p in "${missing[@]}"; do
    installed "$p" && continue
    $SUDO apt-get install -y -qq --no-install-recommends "$p" >>"$install_log" 2>&1 || failed+=("$p")
  done
  if [ ${#failed[@]} -gt 0 ]; then
    say "apt-get cannot install: ${failed[*]}"
    grep -E '^(E:| [^ ].* : Depends)' "$install_log" | head -n 8 | sed 's/^/  /' >&2 || true
    rm -f "$install_log"
    exit 1
  fi
fi
rm -f "$install_log"

still=()
for p in "${missing[@]}"; do installed "$p" || still+=("$p"); done
if [ ${#still[@]} -gt 0 ]; then
  say "apt-get reported success, but these are not installed: ${still[*]}"
  exit 1
fi
