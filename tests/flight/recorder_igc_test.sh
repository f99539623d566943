#!/bin/sh
# Flies tests/flight/recorder.scn and validates the recorder's logs with the
# npm package igc-parser, installed into the build folder on first use.
# Exit 77 (skipped) without node or npm.
set -e
HOST=$1 SRC=$2 BUILD=$3 MODULES=$4
command -v node >/dev/null 2>&1 && command -v npm >/dev/null 2>&1 || { echo "node missing: skipped"; exit 77; }
NPM_DIR=$BUILD/npm
if [ ! -d "$NPM_DIR/node_modules/igc-parser" ]; then
  npm install --silent --no-audit --no-fund --prefix "$NPM_DIR" igc-parser >/dev/null 2>&1 || { echo "igc-parser cannot be installed: skipped"; exit 77; }
fi
OUT=$BUILD/test-out/recorder
rm -rf "$OUT"
"$HOST" fly "$SRC/tests/flight/recorder.scn" --panel "$SRC/examples/sailplane" --modules "$MODULES" \
  --out "$OUT" --no-wav --trace-interval 0 >/dev/null
NODE_PATH=$NPM_DIR/node_modules node "$SRC/tests/flight/validate_igc.js" 29 "$OUT"/*.IGC
