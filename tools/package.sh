#!/usr/bin/env bash
# Builds the Debian package of the window and the command-line tool from a
# Release build of those two alone (build/package), with Debian's hardening
# flags, and prints its path. With --check it then checks the build and the
# package itself: no compiler warning in what the build compiled, the desktop
# entry, the AppStream file and lintian on what it holds, both programs'
# --version run from the package unpacked into a temporary root (the
# window's without a display), and both manual pages, which must name every
# command and option of tarnwick-cli --help.
#   tools/package.sh [--check]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source tools/packages.sh
ensure_packages

check=0
case "${1:-}" in
  --check) check=1 ;;
  "") ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

build=build/package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# Without -g: the package is stripped, and the build is quicker.
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS | sed 's/\(^\| \)-g\( \|$\)/ /')"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BUILD_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  >/dev/null
# The log is kept for the check below: the optimiser warns of things the
# Debug builds of the tests never show.
cmake --build "$build" --target tarnwick tarnwick-cli >"$build/build.log" 2>&1 ||
  { cat "$build/build.log"; exit 1; }
rm -rf "$build/package"
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/package/tarnwick_*.deb)
deb=${debs[0]}
echo "$deb"
[ $check -eq 1 ] || exit 0

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp/root"
usr=$tmp/root/usr
version=$(dpkg-deb -f "$deb" Version)
failed=()

# Runs one check, shows what it printed, and counts it when it fails.
step() {
  local name=$1 out status=0
  shift
  out=$("$@" 2>&1) || status=$?
  if [ $status -eq 0 ]; then echo "ok    $name"; else echo "FAIL  $name"; failed+=("$name"); fi
  [ -z "$out" ] || printf '%s\n' "$out" | sed 's/^/      /'
}

# The program prints "<its name> <package version>" and nothing else.
prints_version() {
  local out
  out=$("$1" --version)
  echo "$out"
  [ "$out" = "$(basename "$1") $version" ]
}

# The page renders without a warning from man or groff.
renders_cleanly() {
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1" 2>&1 >"$tmp/page.txt")
  [ -z "$warnings" ] || { echo "$warnings"; return 1; }
  echo "$(wc -l <"$tmp/page.txt") lines"
}

# Every command of tarnwick-cli --help and every option of each command's
# --help is named in the manual page.
covers_cli_help() {
  local cli=$usr/bin/tarnwick-cli page=$tmp/cli-page.txt missing=() commands word
  LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$usr/share/man/man1/tarnwick-cli.1.gz" 2>/dev/null |
    sed 's/\x1b\[[0-9;]*m//g; s/.\x08//g' >"$page"
  commands=$("$cli" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && NF { print $1 }')
  [ -n "$commands" ] || { echo "tarnwick-cli --help lists no commands"; return 1; }
  for word in $("$cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -qw -- "$word" "$page" || missing+=("$word")
  done
  for command in $commands; do
    # A command heads an entry of its own under COMMANDS.
    grep -Eq "^ {7}$command( |\$)" "$page" || missing+=("$command")
    for word in $("$cli" "$command" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
      grep -q -- "$word" "$page" || missing+=("$command $word")
    done
  done
  [ ${#missing[@]} -eq 0 ] || { echo "not in tarnwick-cli(1): ${missing[*]}"; return 1; }
  echo "commands: ${commands//$'\n'/ }"
}

# The dependencies come from the binaries' libraries.
has_library_dependencies() {
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for library in libc6 libqt6widgets6 libsqlite3-0 libcurl4 libxlsxwriter; do
    grep -q "$library" <<<"$depends" || { echo "no dependency on $library"; return 1; }
  done
}

# What this run compiled, the shipped build, compiled without a warning.
compiles_cleanly() {
  ! grep -E -A3 'warning:' "$build/build.log"
}

step "the shipped build compiles without a warning" compiles_cleanly
step "desktop-file-validate" desktop-file-validate "$usr"/share/applications/*.desktop
step "appstreamcli validate" appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml
step "lintian (no errors)" lintian --fail-on error --tag-display-limit 0 "$deb"
step "dependencies from the binaries" has_library_dependencies
step "tarnwick-cli --version (unpacked)" prints_version "$usr/bin/tarnwick-cli"
step "tarnwick --version (unpacked, no display)" \
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  bash -c "$(declare -f prints_version); version=$version; prints_version $usr/bin/tarnwick"
step "man -l tarnwick.1" renders_cleanly "$usr/share/man/man1/tarnwick.1.gz"
step "man -l tarnwick-cli.1" renders_cleanly "$usr/share/man/man1/tarnwick-cli.1.gz"
step "tarnwick-cli(1) covers --help" covers_cli_help

if [ ${#failed[@]} -gt 0 ]; then
  echo "package checks failed: ${failed[*]}"
  exit 1
fi
echo "package checks passed"
