#!/bin/sh
# Builds the libFuzzer targets with clang (everything instrumented: coverage,
# AddressSanitizer, UndefinedBehaviorSanitizer) and runs each for $1 seconds
# (default 25), one after the other. Seeds come from examples/ and
# tests/data/. Each run starts from the seeds alone: libFuzzer first runs
# every input of its corpus, however long that takes, so a corpus kept from
# run to run would make each run longer (the console's, a few hundred
# scripts, takes a minute). FUZZ_KEEP_CORPUS=1 keeps build-fuzz/corpus/NAME.
# A crash, leak, sanitizer report or input running over 30 s (a generous
# bound: a loaded machine stalls the sanitizers' allocator for seconds) stops
# the script with the fuzzer's report; the input is kept as
# build-fuzz/NAME-crash-* (or -leak-, -timeout-, -oom-). Reproduce with
# build-fuzz/bin/NAME FILE.
#
#   tools/fuzz.sh [SECONDS [NAME...]]
set -e
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-25}
[ $# -gt 0 ] && shift
TARGETS=${*:-"fsuipc_answer_walk_fuzz velmar_lnav_polar_fuzz velmar_turnpoint_fuzz
  host_console_fuzz host_module_file_fuzz host_panel_file_fuzz flight_scenario_fuzz
  flight_igc_fuzz"}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DGAUGE_FUZZ=ON -DGAUGE_TESTS=ON -DGAUGE_BENCH=OFF >/dev/null
# shellcheck disable=SC2086
ninja -C build-fuzz $TARGETS

# Copies seed files into a target's corpus.
seed() { # NAME FILE...
  dir=build-fuzz/corpus/$1
  shift
  [ "${FUZZ_KEEP_CORPUS:-0}" = 1 ] || rm -rf "$dir"
  mkdir -p "$dir"
  for f in "$@"; do
    [ -f "$f" ] && cp "$f" "$dir/seed-$(basename "$(dirname "$f")")-$(basename "$f")"
  done
  return 0
}
seed fsuipc_answer_walk_fuzz
seed velmar_lnav_polar_fuzz examples/*/LNAV_polar.dat
seed velmar_turnpoint_fuzz tests/data/*.dat examples/*/RUR-UDI.dat examples/data/gpsnav/*
seed host_console_fuzz examples/*.gh tests/host/offset_values.gh
seed host_panel_file_fuzz examples/sailplane/panel.cfg
seed flight_scenario_fuzz examples/sailplane/flight.scn tests/flight/recorder.scn
seed flight_igc_fuzz tests/data/18BF14K1.igc
# The long logs as their first minutes: a fuzzer mutates small inputs faster.
for log in tests/data/01lz1hq1.igc tests/data/0asljd01.igc; do
  head -n 200 "$log" >"build-fuzz/corpus/flight_igc_fuzz/seed-head-$(basename "$log")"
done
# The modules as built here, without their symbol tables and debugging
# sections (the resource section stays): the loader's input, smaller.
seed host_module_file_fuzz
for module in velmar durnik ostrel; do
  if [ -f "build-fuzz/modules/$module.so" ]; then
    strip -o "build-fuzz/corpus/host_module_file_fuzz/seed-$module.so" \
      "build-fuzz/modules/$module.so"
  fi
done

for name in $TARGETS; do
  log=build-fuzz/$name.log
  status=0
  build-fuzz/bin/"$name" -max_total_time="$SECONDS_EACH" -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$PWD/build-fuzz/$name-" \
    "$PWD/build-fuzz/corpus/$name" >"$log" 2>&1 || status=$?
  printf '%s: ' "$name"
  grep -E '^(Done|stat::number_of_executed_units)' "$log" | tr '\n' ' '
  echo
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzzer $name failed"
    exit 1
  fi
done
