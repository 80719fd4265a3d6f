#!/usr/bin/env bash
# Fuzzes every libFuzzer target from the corpus kept in tests/fuzz/corpus.
#
#   tools/fuzz.sh BUILD [SECONDS]          the short run (./test.sh, CI): every
#                                          target for its share of SECONDS
#                                          (default 60) on a copy of the corpus;
#                                          the corpus is left as it is
#   tools/fuzz.sh --long MINUTES [BUILD]   the long run: every target for its
#                                          share of MINUTES, then the inputs
#                                          that reach new code are merged into
#                                          the kept corpus (libFuzzer's merge
#                                          keeps only those), so the next run
#                                          starts where this one ended; prints
#                                          a table of figures for the README
#
# BUILD is a build with TARNWICK_FUZZ=ON (clang); the long run uses build/test
# and builds the targets there as ./test.sh does when they are missing.
# Fails on any crash or sanitizer report, naming the input under BUILD/fuzz-work.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

long=0
if [ "${1:-}" = "--long" ]; then
  long=1
  minutes=${2:?usage: tools/fuzz.sh --long MINUTES [BUILD]}
  build=${3:-$root/build/test}
  seconds=$((minutes * 60))
else
  build=${1:?usage: tools/fuzz.sh BUILD [SECONDS] | tools/fuzz.sh --long MINUTES [BUILD]}
  seconds=${2:-60}
fi

targets=()
for f in "$root"/tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
[ ${#targets[@]} -eq 0 ] && exit 0

if [ $long -eq 1 ] && [ ! -x "$build/tests/${targets[0]}" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DTARNWICK_SANITIZE=ON -DTARNWICK_FUZZ=ON >/dev/null || exit 1
  cmake --build "$build" --target "${targets[@]}" || exit 1
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

share=$((seconds / ${#targets[@]}))
[ "$share" -lt 1 ] && share=1

# Coverage and corpus size as libFuzzer states them once it has read a
# corpus: "cov: N ft: N corp: N/Nb" of its INITED line, or of its last line.
figure() { grep -oE "$1: [0-9]+" | tail -n 1 | grep -oE '[0-9]+'; }

status=0
table=()
for t in "${targets[@]}"; do
  kept="$root/tests/fuzz/corpus/$t"
  work="$build/fuzz-work/$t"
  rm -rf "$work" && mkdir -p "$work/corpus" "$work/artifacts" "$kept"
  cp "$kept/"* "$work/corpus/" 2>/dev/null
  echo "Fuzzing $t for ${share}s"
  if ! "$build/tests/$t" -max_total_time="$share" -artifact_prefix="$work/artifacts/" \
        -print_final_stats=1 "$work/corpus" >"$work/log" 2>&1; then
    tail -n 40 "$work/log"
    echo "$t: the input is in $work/artifacts/"
    status=1
    continue
  fi
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/log" | tail -n 1)
  echo "${done_line:-$(tail -n 1 "$work/log")}"
  [ $long -eq 1 ] || continue

  inited=$(grep -E 'INITED' "$work/log" | tail -n 1)
  before_cov=$(echo "$inited" | figure cov)
  before_files=$(find "$kept" -type f | wc -l)
  runs=$(grep -oE 'stat::number_of_executed_units:[[:space:]]+[0-9]+' "$work/log" | grep -oE '[0-9]+$')
  speed=$(grep -oE 'stat::average_exec_per_sec:[[:space:]]+[0-9]+' "$work/log" | grep -oE '[0-9]+$')
  # Only inputs that reach code the kept corpus does not join it (edges, not
  # hit counts: the corpus stays small).
  "$build/tests/$t" -merge=1 -use_counters=0 "$kept" "$work/corpus" >"$work/merge.log" 2>&1 || {
    tail -n 20 "$work/merge.log"
    status=1
    continue
  }
  after_files=$(find "$kept" -type f | wc -l)
  after_bytes=$(find "$kept" -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}')
  after_cov=$("$build/tests/$t" -runs=0 "$kept" 2>&1 | grep -E 'INITED' | figure cov)
  table+=("| \`$t\` | ${share} s | ${runs:-?} | ${speed:-?} | ${before_cov:-?} → ${after_cov:-?} | ${before_files} → ${after_files} (${after_bytes} bytes) |")
done

if [ $long -eq 1 ] && [ ${#table[@]} -gt 0 ]; then
  echo
  echo "| target | time | runs | runs/s | edges covered by the kept corpus | kept inputs |"
  echo "|---|---|---|---|---|---|"
  printf '%s\n' "${table[@]}"
fi
exit $status
