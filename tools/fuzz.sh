#!/bin/sh
# Builds the libFuzzer targets with clang (ASan) and runs each for a bounded
# time: the FSUIPC answer walk for $1 seconds (default 60), the polar-file
# reader for half of that.
set -e
cd "$(dirname "$0")/.."
SECONDS_WALK=${1:-60}
SECONDS_POLAR=$((SECONDS_WALK / 2))
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DGAUGE_FUZZ=ON -DGAUGE_TESTS=ON -DGAUGE_BENCH=OFF >/dev/null
ninja -C build-fuzz fsuipc_answer_walk_fuzz velmar_lnav_polar_fuzz
mkdir -p build-fuzz/corpus/answer_walk build-fuzz/corpus/polar
run_fuzzer() { # NAME SECONDS CORPUS
  log=build-fuzz/$1.log
  status=0
  build-fuzz/bin/"$1" -max_total_time="$2" -print_final_stats=1 "$3" >"$log" 2>&1 || status=$?
  grep -E '^(Done|stat::number_of_executed_units)' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzzer $1 failed"
    exit 1
  fi
}
run_fuzzer fsuipc_answer_walk_fuzz "$SECONDS_WALK" build-fuzz/corpus/answer_walk
run_fuzzer velmar_lnav_polar_fuzz "$SECONDS_POLAR" build-fuzz/corpus/polar
