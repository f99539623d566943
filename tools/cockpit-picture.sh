#!/bin/sh
# Renders the README's picture of the whole panel, docs/cockpit.png: the
# example panel folder (examples/sailplane) flying its scenario, pictured by
# fly --snap-every at 12:00 of flight, circling in the thermal at Weisweiler.
# Run from the repository root after a build.
set -e
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
build/bin/gaugehost fly --snap-every 720 --out "$out" --no-wav --trace-interval 0 >/dev/null
cp "$out/snap-00-12-00.png" docs/cockpit.png
echo "wrote docs/cockpit.png"
