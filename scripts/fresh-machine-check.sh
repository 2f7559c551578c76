#!/usr/bin/env bash
# Proves the README's claim on a machine that has never seen the project: makes a clean
# Debian 12 root with debootstrap (minbase), puts a clean clone of this repository's main
# branch into it (and ../shared beside it, read-only, as CI has it), and runs the README's
# run command and then its test command inside it as root. Exits 0 only when both pass.
# Everything it mounted and made is removed afterwards, also on failure or interruption.
#
#   scripts/fresh-machine-check.sh [--keep] [--branch BRANCH]
#
# --keep leaves the root in place for a look (its path is printed; the mounts are removed).
# The logs of each step stay in build/fresh-machine-check/.
# Needs root, network access to the Debian mirror and a few GB in /var/tmp (or $TMPDIR).
# Run it by hand before a release and before resolving work that changes set-up; it takes
# about twenty minutes here, most of it the test command.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
branch=main
keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --keep) keep=1 ;;
    --branch) branch="$2"; shift ;;
    -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "fresh-machine-check: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done

say() { echo "fresh-machine-check: $*" >&2; }
if [ "$(id -u)" != 0 ]; then say "must run as root (debootstrap, chroot and mounts)"; exit 2; fi
if ! git -C "$repo" rev-parse --verify -q "$branch" >/dev/null; then say "no branch $branch in $repo"; exit 2; fi

if ! command -v debootstrap >/dev/null 2>&1; then
  say "installing debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null 2>&1 ||
    { apt-get update -qq >/dev/null 2>&1 || true
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null; }
fi

# The mirror this machine's own package lists come from, so the new root sees the same one.
mirror="$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list 2>/dev/null |
  grep -v security | sed -E 's/^URIs:[[:space:]]*//; s/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?//' | awk '{ print $1; exit }' || true)"
mirror="${mirror:-http://deb.debian.org/debian}"

work="$(mktemp -d "${TMPDIR:-/var/tmp}/quenlor-fresh.XXXXXX")"
logs="$repo/build/fresh-machine-check"
mkdir -p "$logs"
target="$work/root"
mounted=()
cleanup() {
  local status=$?
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -l "${mounted[i]}" 2>/dev/null || true
  done
  # Nothing is removed while anything below the root is still mounted.
  if grep -q " $target/" /proc/mounts; then
    say "mounts remain below $target; left in place"
  elif [ -n "$keep" ]; then
    say "root kept at $target"
  else
    rm -rf --one-file-system "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mount_in() {  # mount_in TYPE SOURCE DIR [OPTIONS...]
  local type="$1" source="$2" dir="$target$3"
  shift 3
  mkdir -p "$dir"
  if [ "$type" = bind ]; then mount --bind "$source" "$dir" "$@"; else mount -t "$type" "$source" "$dir" "$@"; fi
  mounted+=("$dir")
}

start=$(date +%s)
stamp() { echo "$(( $(date +%s) - start )) s"; }

say "debootstrap bookworm (minbase) from $mirror into $target"
debootstrap --variant=minbase bookworm "$target" "$mirror" >"$logs/debootstrap.log" 2>&1 ||
  { tail -n 20 "$logs/debootstrap.log" >&2; say "debootstrap failed"; exit 1; }
say "root made after $(stamp)"

# A fresh Debian 12 machine has the main suite, its updates and the security suite.
cat >"$target/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
EOF
cp -L /etc/resolv.conf "$target/etc/resolv.conf" 2>/dev/null || true
for f in ca-certificates.crt; do
  [ -f "/etc/ssl/certs/$f" ] && mkdir -p "$target/etc/ssl/certs" && cp "/etc/ssl/certs/$f" "$target/etc/ssl/certs/"
done

mount_in proc proc /proc
mount_in bind /dev /dev
mount_in devpts devpts /dev/pts -o newinstance,ptmxmode=0666
mount_in sysfs sysfs /sys
mount_in tmpfs tmpfs /tmp -o mode=1777

mkdir -p "$target/root/work"
git clone -q --no-hardlinks --branch "$branch" "$repo" "$target/root/work/main"
if [ -d "$repo/../shared" ]; then
  cp -a "$repo/../shared" "$target/root/work/shared"
  chmod -R a-w "$target/root/work/shared"
fi

in_root() {
  chroot "$target" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "cd /root/work/main && $1"
}

# step NAME COMMAND: runs COMMAND inside, its output in build/fresh-machine-check/NAME.log;
# sets step_seconds, or ends the check with the log's last lines.
step() {
  local name="$1" command="$2" began
  began=$(date +%s)
  say "running $command inside"
  if ! in_root "$command" >"$logs/$name.log" 2>&1; then
    tail -n 40 "$logs/$name.log" >&2
    say "$command failed after $(( $(date +%s) - began )) s (log: $logs/$name.log)"
    exit 1
  fi
  step_seconds=$(( $(date +%s) - began ))
  tail -n 2 "$logs/$name.log" >&2
  say "$command passed in $step_seconds s"
}

root_seconds=$(( $(date +%s) - start ))
step run "scripts/run.sh"
run_seconds=$step_seconds
step test "CI=true scripts/test.sh"
say "passed: root $root_seconds s, run.sh $run_seconds s, test.sh $step_seconds s, all $(stamp)"
