#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan (clang, so
# the fuzz targets are real libFuzzer binaries), fuzzes for a minute, runs
# the core tests again under ThreadSanitizer and once more built with GCC (the
# compiler of the shipped build, ./run.sh), builds and checks the Debian
# package, then runs every test. Ends with ctest's summary; exits non-zero on
# any failure.
set -uo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
ensure_packages || exit 1

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DTARNWICK_SANITIZE=ON -DTARNWICK_FUZZ=ON || exit 1
cmake --build "$build" || exit 1

# The core tests built by GCC, as ./run.sh builds the tool: what the two
# compilers are free to do differently (the order in which operands are
# evaluated, for one) must not change what the tool does. The build runs in
# the background, at a lower priority, on the core that fuzzing and the
# ThreadSanitizer run leave idle.
gcc_build=build/gcc
mkdir -p "$gcc_build"
{ cmake -S . -B "$gcc_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
    -DTARNWICK_BUILD_UI=OFF &&
  nice -n 10 cmake --build "$gcc_build" --target tarnwick_tests; } >"$gcc_build/build.log" 2>&1 &
gcc_builder=$!

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fuzz_status=0
tools/fuzz.sh "$build" "${TARNWICK_FUZZ_SECONDS:-60}" || fuzz_status=1

# ThreadSanitizer over the core and its tests, without Qt: the listener's
# thread, the exchange, the store and the queue to the UI thread, a burst of
# a thousand search answers among them. Any report fails the run.
tsan=build/tsan
tsan_status=0
{ cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DTARNWICK_TSAN=ON -DTARNWICK_BUILD_UI=OFF &&
  cmake --build "$tsan" --target tarnwick_tests &&
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 "$tsan/tests/tarnwick_tests"; } ||
  tsan_status=1

# The Debian package, from a Release build of the window and the command-line
# tool, checked on what it holds (tools/package.sh).
package_status=0
tools/package.sh --check || package_status=1

gcc_status=0
if wait "$gcc_builder"; then
  grep -E 'warning:|error:' "$gcc_build/build.log"
  "$gcc_build/tests/tarnwick_tests" --gtest_brief=1 || gcc_status=1
else
  tail -n 60 "$gcc_build/build.log"
  gcc_status=1
fi

(cd "$build" && ctest --output-on-failure --timeout 900)
test_status=$?

[ $tsan_status -ne 0 ] && echo "ThreadSanitizer found a problem (see above)."
[ $gcc_status -ne 0 ] && echo "The core tests built with GCC failed (see above)."
[ $fuzz_status -ne 0 ] && echo "Fuzzing found a problem (see above)."
[ $package_status -ne 0 ] && echo "The package checks failed (see above)."
[ $test_status -ne 0 ] || [ $fuzz_status -ne 0 ] || [ $tsan_status -ne 0 ] ||
  [ $package_status -ne 0 ] || [ $gcc_status -ne 0 ] && exit 1
exit 0
