#!/bin/sh
# Builds the modules and the host (no tests, no benchmarks, so none of their
# packages are needed), then flies the default scenario
# (examples/sailplane/flight.scn) through the sailplane panel and says where
# the outputs are (IGC log, sound, CSV trace, key log, summary).
set -e
cd "$(dirname "$0")"
tools/deps.sh --product
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAUGE_TESTS=OFF -DGAUGE_BENCH=OFF >/dev/null
ninja -C build gaugehost velmar durnik ostrel offsetd
exec build/bin/gaugehost fly examples/sailplane/flight.scn --panel examples/sailplane "$@"
