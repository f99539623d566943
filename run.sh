#!/bin/sh
# Builds the modules and the host, then runs the shipped example panel
# session through the script console. Tests and benchmarks are not built, so
# none of their packages are needed.
set -e
cd "$(dirname "$0")"
tools/deps.sh --product
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAUGE_TESTS=OFF -DGAUGE_BENCH=OFF >/dev/null
ninja -C build gaugehost velmar durnik ostrel offsetd
exec build/bin/gaugehost script examples/main.gh
