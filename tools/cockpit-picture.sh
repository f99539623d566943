#!/bin/sh
# Renders the README's picture of the whole panel, docs/cockpit.png, with the
# host's own snap command. Run from the repository root after a build.
set -e
cat examples/cockpit.gh examples/cockpit-picture.gh | build/bin/gaugehost script - >/dev/null
echo "wrote docs/cockpit.png"
