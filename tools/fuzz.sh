#!/usr/bin/env bash
# Runs every libFuzzer target of a build for a share of the given seconds,
# starting from a copy of its seed corpus. Fails on any crash or sanitizer report.
set -uo pipefail
build=$1
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
targets=()
for f in "$root"/tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
[ ${#targets[@]} -eq 0 ] && exit 0
share=$(( seconds / ${#targets[@]} ))
[ "$share" -lt 1 ] && share=1
status=0
for t in "${targets[@]}"; do
  work="$build/fuzz-work/$t"
  rm -rf "$work" && mkdir -p "$work/corpus" "$work/artifacts"
  cp "$root/tests/fuzz/corpus/$t/"* "$work/corpus/" 2>/dev/null
  echo "Fuzzing $t for ${share}s"
  if ! "$build/tests/$t" -max_total_time="$share" -artifact_prefix="$work/artifacts/" \
        -print_final_stats=0 "$work/corpus" >"$work/log" 2>&1; then
    tail -n 40 "$work/log"
    status=1
  else
    grep -E '^(Done|#[0-9]+ +DONE)' "$work/log" | tail -n 1
  fi
done
exit $status
