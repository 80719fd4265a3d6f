#!/usr/bin/env bash
# Installs what is missing, builds a Release build and starts the tool in a
# working folder that holds its database (run/). With --demo the tool starts
# inside the network lab beside three simulated alarm hosts.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
ensure_packages

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"

if [ "${1:-}" = "--demo" ]; then
  exec tools/demo.sh "$build" "${@:2}"
fi

mkdir -p run
cd run
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: starting the tool under Xvfb."
  exec xvfb-run -a -s "-screen 0 1280x900x24" "../$build/tarnwick"
fi
exec "../$build/tarnwick"
