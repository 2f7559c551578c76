#!/usr/bin/env bash
# package_test.sh BUILD_DIR FIXTURES_DIR
# Makes the Debian package from BUILD_DIR, unpacks it into a scratch root and checks what a
# user gets: the installed command runs, its man page names every command and option the
# command itself lists, and without a Wine prefix a unit still finds stdole2 and names on
# stderr the library it cannot resolve.
set -euo pipefail
build="$1"
fixtures="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -C RelWithDebInfo --config CPackConfig.cmake -B "$work/cpack" \
  -D CPACK_OUTPUT_FILE_PREFIX="$work/dist") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb="$(ls "$work"/dist/quenlor_*_amd64.deb 2>/dev/null | head -n 1)"
[ -n "$deb" ] || fail "no quenlor_VERSION_amd64.deb made"

depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libxml2 libxslt1.1 libstdc++6; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

dpkg -x "$deb" "$work/root"
quenlor="$work/root/usr/bin/quenlor"
[ -x "$quenlor" ] || fail "no usr/bin/quenlor in the package"
if file "$quenlor" | grep -q 'not stripped'; then fail "usr/bin/quenlor is not stripped"; fi
version="$("$quenlor" --version)"
[[ "$version" == "quenlor $(dpkg-deb -f "$deb" Version)"* ]] || fail "--version says '$version'"

man="$work/root/usr/share/man/man1/quenlor.1.gz"
[ -f "$man" ] || fail "no man page quenlor.1.gz"
# The page as text, with roff's escaped hyphens plain.
page="$(zcat "$man" | sed 's/\\-/-/g')"
commands="$("$quenlor" --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }')"
[ -n "$commands" ] || fail "quenlor --help lists no commands"
for command in $commands; do
  grep -q "^\.B quenlor $command" <<<"$page" || fail "the man page has no synopsis of '$command'"
  for option in $("$quenlor" "$command" --help | grep -oE '(^|[[ ])--?[a-z][a-z-]*' | tr -d '[ ' | sort -u); do
    grep -qF -- "$option" <<<"$page" || fail "the man page does not document $command's option $option"
  done
done
for status in 0 1 2; do
  grep -qx "\.B $status" <<<"$page" || fail "the man page does not document exit status $status"
done

# No prefix at all: a home without ~/.wine and no WINEPREFIX.
home="$work/home"
mkdir -p "$home"
run() { env -u WINEPREFIX HOME="$home" XDG_DATA_HOME="$home/.local/share" "$quenlor" "$@"; }
run unit "$fixtures/qkinds-win64.tlb" -o "$work/qkinds.pas" 2>"$work/qkinds.err" || fail "unit of qkinds failed"
head -n 1 "$work/qkinds.pas" | grep -q '^unit ' || fail "the unit of qkinds does not start with 'unit'"
if [ -d /usr/lib/x86_64-linux-gnu/wine/x86_64-windows ]; then
  # Wine's own stdole2.tlb serves the base interfaces: nothing to report.
  [ ! -s "$work/qkinds.err" ] || { cat "$work/qkinds.err" >&2; fail "stderr without a prefix, with Wine installed"; }
  grep -q 'IQBase = interface(IUnknown)' "$work/qkinds.pas" || fail "IQBase lost its base IUnknown"
fi
run unit "$fixtures/qimports-win64.tlb" >"$work/qimports.pas" 2>"$work/qimports.err" || fail "unit of qimports failed"
grep -q '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A1001} version 1.2' "$work/qimports.err" ||
  { cat "$work/qimports.err" >&2; fail "stderr does not name the unresolved library qkinds"; }
grep -q "no Wine prefix at $home/.wine" "$work/qimports.err" || fail "stderr does not say that there is no prefix"
[ "$(grep -c 'qkinds' "$work/qimports.err")" = 1 ] || fail "the unresolved library is named more than once"
echo "package_test: $(basename "$deb") installs and runs"
