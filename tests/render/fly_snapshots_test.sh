#!/bin/sh
# fly --snap-every: a picture of the panel at each multiple of the interval,
# as large as panel.cfg makes the panel, and the contact sheet at the end.
set -e
HOST=$1 SRC=$2 BUILD=$3 MODULES=$4
OUT=$BUILD/test-out/fly-snapshots
rm -rf "$OUT"
"$HOST" fly "$SRC/tests/flight/recorder.scn" --panel "$SRC/examples/sailplane" --modules "$MODULES" \
  --out "$OUT" --no-wav --trace-interval 0 --snap-every 30 >/dev/null
names=$(cd "$OUT" && ls snap-*.png contact-sheet.png | tr '\n' ' ')
[ "$names" = "contact-sheet.png snap-00-00-30.png snap-00-01-00.png " ] || {
  echo "pictures: $names"
  exit 1
}
# PNG header: width and height, big-endian, at bytes 16..23.
size=$(od -An -tu1 -j16 -N8 "$OUT/snap-00-01-00.png" |
  awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 "x" $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
[ "$size" = "1600x1000" ] || {
  echo "snapshot is $size, not the panel's 1600x1000"
  exit 1
}
