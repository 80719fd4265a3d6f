# Sourced by the lab test scripts. require_lab <what> [program...] returns when
# a lab can be made here (root, ip, namespaces, and the programs named);
# otherwise it exits 77, which ctest reports as skipped, or in CI (CI=true)
# fails, since CI runs as root and must run every lab test.
require_lab() {
  local what=$1 program
  shift
  unavailable() {
    if [ "${CI:-}" = "true" ]; then
      echo "$what cannot run: $1. CI must run it as root with 'ip netns' available." >&2
      exit 1
    fi
    echo "$what skipped: $1"
    exit 77
  }
  [ "$(id -u)" -eq 0 ] || unavailable "it needs root to make network namespaces"
  for program in ip "$@"; do
    command -v "$program" >/dev/null 2>&1 ||
      unavailable "$program is not installed (tools/packages.sh)"
  done
  "$(dirname "${BASH_SOURCE[0]}")/lab.sh" probe ||
    unavailable "network namespaces, bridges or veth pairs cannot be made here"
}
