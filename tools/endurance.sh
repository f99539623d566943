#!/bin/sh
# Endurance: the example panel (all 24 gauges) flown for HOURS simulated
# hours (default 10) by the sailplane model, rounds of task C with a climb
# at each point, with --no-wav:
#   1. plain build (build/): resident memory (VmRSS) sampled every second;
#      the first sample after the panel is up and the last before the end
#      are reported with the largest;
#   2. AddressSanitizer + LeakSanitizer + UBSan build (build-endurance/):
#      the same flight must end with no report;
#   3. Valgrind memcheck on the plain build: the first MINUTES simulated
#      minutes (default 120) of the same flight, no error and no leak.
# Not part of CI: building the sanitized product alone takes longer than a
# CI run may (the flights themselves take a few minutes).
# usage: tools/endurance.sh [HOURS [MINUTES]]   (from anywhere)
set -e
cd "$(dirname "$0")/.."
HOURS=${1:-10}
MINUTES=${2:-120}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

scenario() { # END -> a scenario on standard output
  cat <<SCN
position 50:49:23N 006:11:11E
elevation 190
heading 250
wind 270 12
units 2
end $1
thermal field 50:49.50N 006:12.10E 5.0 2000
thermal weisweiler 50:50.35N 006:19.45E 4.8 1900
thermal aldenhoven 50:53.95N 006:16.70E 4.5 1700
at 0:01 click gpsnav ON
at 0:01 click lnav KNOB_UP 5
at 0:05 click lnav HOME
at 0:06 click ballast P50
at 0:20 click VETsetup UP 5
at 0:22 click VETlamp TOGGLE
at 0:25 click VETswitch START
then launch
then click gr UP
then speed command
then circle right until 1480
SCN
  i=0
  while [ $i -lt $((HOURS * 4 + 4)) ]; do
    printf 'then goto Weisweiler\nthen circle left until 1400\nthen goto Aldenhoven\n'
    printf 'then circle right until 1400\nthen goto ZL RWY EDKA\nthen click bsw OPEN\n'
    printf 'then click bsw CLOSE\nthen circle right until 1400\n'
    i=$((i + 1))
  done
}
cp examples/sailplane/* "$WORK"/
scenario "$HOURS:00:00" >"$WORK/long.scn"
scenario "$MINUTES:00" >"$WORK/short.scn"

cmake -S . -B build -G Ninja >/dev/null
ninja -C build -j2 gaugehost velmar durnik ostrel
cmake -S . -B build-endurance -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAUGE_SANITIZE=ON \
  -DGAUGE_TESTS=OFF -DGAUGE_BENCH=OFF >/dev/null
ninja -C build-endurance -j2 gaugehost velmar durnik ostrel

fly() { # BUILD SCENARIO OUT [WRAPPER...]
  build=$1 scn=$2 out=$3
  shift 3
  "$@" "$build/bin/gaugehost" fly "$scn" --panel "$WORK" --out "$out" --no-wav --trace-interval 10
}

echo "== plain build, $HOURS h: resident memory"
start=$(date +%s)
# Started directly, not through fly(): $! must be gaugehost itself.
build/bin/gaugehost fly "$WORK/long.scn" --panel "$WORK" --out "$WORK/plain" --no-wav \
  --trace-interval 10 >"$WORK/plain.log" 2>&1 &
pid=$!
# Sampled every 0.1 s from the first trace row on (the panel is up and
# flying). Nothing in a session grows with the flight's length beyond the
# capped logs, so start and end should agree within the allocator's noise.
: >"$WORK/rss"
while kill -0 $pid 2>/dev/null; do
  if [ -s "$WORK/plain/trace.csv" ]; then
    awk '/^VmRSS/ { print $2 }' /proc/$pid/status 2>/dev/null >>"$WORK/rss" || true
  fi
  sleep 0.1
done
wait $pid
echo "wall $(($(date +%s) - start)) s; $(grep '^flight time' "$WORK/plain.log")"
awk 'NR == 1 { first = $1 } { last = $1; if ($1 > max) max = $1 }
     END { printf "VmRSS start %d kB, end %d kB, largest %d kB (%d samples)\n", first, last, max, NR }' "$WORK/rss"

echo "== AddressSanitizer + LeakSanitizer, $HOURS h"
start=$(date +%s)
status=0
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
  fly build-endurance "$WORK/long.scn" "$WORK/asan" >"$WORK/asan.log" 2>&1 || status=$?
echo "wall $(($(date +%s) - start)) s; exit $status; $(grep '^flight time' "$WORK/asan.log")"
if [ $status -ne 0 ] || grep -q 'Sanitizer' "$WORK/asan.log"; then
  grep -A30 'Sanitizer' "$WORK/asan.log" | head -60
  exit 1
fi
echo "no report"

echo "== Valgrind memcheck, $MINUTES min"
start=$(date +%s)
status=0
fly build "$WORK/short.scn" "$WORK/valgrind" valgrind --error-exitcode=3 --leak-check=full \
  --errors-for-leak-kinds=definite,indirect --log-file="$WORK/valgrind.txt" >"$WORK/vg.log" 2>&1 ||
  status=$?
echo "wall $(($(date +%s) - start)) s; exit $status; $(grep '^flight time' "$WORK/vg.log")"
grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable' \
  "$WORK/valgrind.txt" | sed 's/^==[0-9]*== //'
[ $status -eq 0 ]
