#!/bin/sh
# Simulated time per wall-clock second, whole process: the default scenario
# with and without the WAV output, and the replay of the 5.5-hour log.
# usage: bench/flight/flight_bench.sh [BUILD_DIR]   (from the repository root)
set -e
BUILD=${1:-build}
OUT=$(mktemp -d)
run() { # LABEL SIMULATED_S COMMAND...
  label=$1 sim=$2
  shift 2
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  awk -v l="$label" -v s="$sim" -v a="$start" -v b="$end" \
    'BEGIN { w = b - a; printf "%-32s %8.0f s simulated in %6.2f s wall: %7.0f x real time\n", l, s, w, s / w }'
}
HOST=$BUILD/bin/gaugehost
run "fly flight.scn, WAV" 1920 $HOST fly examples/sailplane/flight.scn --panel examples/sailplane --out "$OUT/a"
run "fly flight.scn, no WAV" 1920 $HOST fly examples/sailplane/flight.scn --panel examples/sailplane --out "$OUT/b" --no-wav
run "replay 01lz1hq1.igc (5.5 h)" 19732 $HOST replay tests/data/01lz1hq1.igc --panel examples/sailplane --out "$OUT/c" --no-wav
run "replay 01lz1hq1.igc, WAV" 19732 $HOST replay tests/data/01lz1hq1.igc --panel examples/sailplane --out "$OUT/d"
rm -rf "$OUT"
