#!/bin/sh
# Builds the modules and the host, then runs the shipped example panel
# session through the script console.
set -e
cd "$(dirname "$0")"
tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build gaugehost velmar durnik ostrel offsetd
exec build/bin/gaugehost script examples/main.gh
