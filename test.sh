#!/bin/sh
# Builds and runs every test: once plainly, once under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the fuzz targets for a bounded time, and
# builds the product alone in Release. Warnings are errors in every build here.
set -e
cd "$(dirname "$0")"
tools/deps.sh
JOBS=$(nproc)

echo "== plain build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAUGE_TESTS=ON -DGAUGE_BENCH=ON \
  -DGAUGE_WERROR=ON >/dev/null
ninja -C build
ctest --test-dir build -j"$JOBS" --output-on-failure
PLAIN=$(ctest --test-dir build -N | sed -n 's/^Total Tests: //p')
echo "== the main example (run.sh's job)"
build/bin/gaugehost script examples/main.gh >/dev/null
PLAIN=$((PLAIN + 1))

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGAUGE_SANITIZE=ON -DGAUGE_TESTS=ON \
  -DGAUGE_BENCH=OFF -DGAUGE_WERROR=ON >/dev/null
ninja -C build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan -j"$JOBS" --output-on-failure
SANITIZED=$(ctest --test-dir build-asan -N | sed -n 's/^Total Tests: //p')

echo "== fuzzing"
# Eight targets, FUZZ_SECONDS each (default 25): with the fuzzing build from
# scratch about eight minutes on two busy cores (four of them the build).
tools/fuzz.sh "${FUZZ_SECONDS:-25}"
FUZZERS=8

echo "== the product alone (no tests, no benchmarks) in Release"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DGAUGE_TESTS=OFF \
  -DGAUGE_BENCH=OFF -DGAUGE_WERROR=ON >/dev/null
ninja -C build-release
RELEASE=1

# Every step above stops the script on a failure, so reaching here means all
# of them passed.
echo "plain: $PLAIN, sanitized: $SANITIZED, fuzzers: $FUZZERS, release build: $RELEASE"
echo "$((PLAIN + SANITIZED + FUZZERS + RELEASE)) passed, 0 failed"
