#!/bin/sh
# Simulated time per second, whole process: the default scenario with and
# without the WAV output, and the replay of the 5.5-hour log (the longest of
# tests/data). Per wall-clock second and per CPU second (user + system): on
# a machine shared with other work the wall clock also counts the time the
# process waited for a core.
# usage: bench/flight/flight_bench.sh [BUILD_DIR]   (from the repository root)
set -e
BUILD=${1:-build}
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
run() { # LABEL SIMULATED_S COMMAND...
  label=$1 sim=$2
  shift 2
  /usr/bin/time -f "%e %U %S" -o "$OUT/time" "$@" >/dev/null
  awk -v l="$label" -v s="$sim" '{ w = $1; c = $2 + $3
    printf "%-30s %6.0f s simulated: %6.2f s wall, %6.2f s CPU: %6.0f x real time (wall), %6.0f x (CPU)\n",
           l, s, w, c, s / w, s / c }' "$OUT/time"
}
HOST=$BUILD/bin/gaugehost
run "fly flight.scn, WAV" 1920 $HOST fly examples/sailplane/flight.scn --panel examples/sailplane --out "$OUT/a"
run "fly flight.scn, no WAV" 1920 $HOST fly examples/sailplane/flight.scn --panel examples/sailplane --out "$OUT/b" --no-wav
run "replay 01lz1hq1.igc (5.5 h)" 19764 $HOST replay tests/data/01lz1hq1.igc --panel examples/sailplane --out "$OUT/c" --no-wav
run "replay 01lz1hq1.igc, WAV" 19764 $HOST replay tests/data/01lz1hq1.igc --panel examples/sailplane --out "$OUT/d"
