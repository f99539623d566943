#!/bin/sh
# Every benchmark, then the whole-process flight figures, with the machine
# and its load first. Not part of the tests.
# usage: tools/bench.sh [BUILD_DIR] [BENCHMARK_ARGS...]   (from anywhere)
#   e.g. tools/bench.sh build --benchmark_filter=Panel
set -e
cd "$(dirname "$0")/.."
BUILD=${1:-build}
[ $# -gt 0 ] && shift
cmake -S . -B "$BUILD" -G Ninja -DGAUGE_BENCH=ON >/dev/null
ninja -C "$BUILD" -j2 gaugehost velmar durnik ostrel host_panel_bench host_scale_bench platform_bench \
  velmar_lnav_bench velmar_gpsnav_bench fsuipc_exchange_bench
echo "# $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg); $(date -u '+%Y-%m-%d %H:%M UTC')"
for b in host_panel_bench platform_bench velmar_lnav_bench velmar_gpsnav_bench fsuipc_exchange_bench \
  host_scale_bench; do
  echo "## $b"
  "$BUILD/bin/$b" --benchmark_counters_tabular=true "$@"
done
echo "## flight_bench.sh"
sh bench/flight/flight_bench.sh "$BUILD"
echo "# load after: $(cut -d' ' -f1-3 /proc/loadavg)"
