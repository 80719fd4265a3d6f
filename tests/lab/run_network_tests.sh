#!/usr/bin/env bash
# Runs the network tests inside a lab of their own:
#   run_network_tests.sh <network-test-binary> <hostsim-binary> [gtest arguments...]
# Where no lab can be made (not root, no network namespaces) it exits 77, which
# ctest reports as skipped; in CI (CI=true) that is a failure instead. The lab
# is always brought down again, also when a test fails or the run is stopped.
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 2 ] || { echo "usage: $0 <network-test-binary> <hostsim-binary> [args...]" >&2; exit 2; }
tests=$1
hostsim=$2
shift 2

source "$here/require_lab.sh"
require_lab "network tests"

name="nt$$"
trap '"$here/lab.sh" down "$name" >/dev/null' EXIT
trap 'exit 130' INT TERM
"$here/lab.sh" up "$name" 3 32 || { echo "the lab did not come up" >&2; exit 1; }
set -a
# shellcheck disable=SC1090
source <("$here/lab.sh" env "$name")
set +a
export TARNWICK_HOSTSIM
TARNWICK_HOSTSIM=$(cd "$(dirname "$hostsim")" && pwd)/$(basename "$hostsim")
"$here/lab.sh" exec "$TARNWICK_LAB_TOOL_NS" "$tests" "$@"
