#!/bin/sh
# Prints the position blocks of a straight glide due north toward Rudno
# (49:30.000N 018:00.000E, the home turnpoint of examples/velmar-panel), the
# long token sequences of examples/main.gh and examples/velmar-panel-10min.gh.
#
#   tools/glide-track.sh SOUTH_KM FIRST_BLOCK SEGMENT...
#
# The glider starts SOUTH_KM km due south of Rudno. Each SEGMENT is
# KNOTS:BLOCKS, flown one after the other: BLOCKS blocks at an airspeed of
# KNOTS, each block 2 s of flight printed as
#
#   token 0x47 LATITUDE
#   update 40 50
#
# LATITUDE is the host's latitude token (1852.175925953 per minute of arc)
# after the block's distance. The ground speed is the airspeed less a 10 km/h
# headwind (50 kt: 82.6 km/h, 60 kt: 101.12 km/h), and a minute of latitude
# is 1852.5 m, gpsnav's own 111.15 km per degree, so that gpsnav measures
# exactly the ground speed flown. Block 0 is the start position; each
# further block adds its 2 s of flight to the latitude in minutes, and blocks
# are printed from FIRST_BLOCK on.
#
# The examples were made from this output with the pilot's other commands
# (clicks, expectations, units, the turn) written in between blocks by hand:
#   examples/main.gh                  tools/glide-track.sh 10 0 50:9
#   examples/velmar-panel-10min.gh    tools/glide-track.sh 20 1 50:179 60:121
set -e
if [ $# -lt 3 ]; then
  sed -n '2,/^set -e/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
south_km=$1
first=$2
shift 2
echo "$@" | awk -v south_km="$south_km" -v first="$first" '
  BEGIN {
    raw_per_min = 1852.175925953  # host latitude token per minute of arc
    m_per_min = 1852.5            # gpsnav: 111.15 km per degree
    home_min = 49 * 60 + 30       # Rudno, 49:30.000N
    headwind_kmh = 10
    block_s = 2
  }
  function block(n) {
    if (n >= first) {
      printf "token 0x47 %.4f\nupdate 40 50\n", lat_min * raw_per_min
    }
  }
  {
    lat_min = home_min - south_km * 1000 / m_per_min
    n = 0
    block(n)
    for (i = 1; i <= NF; i++) {
      split($i, seg, ":")
      step_m = (seg[1] * 1.852 - headwind_kmh) / 3.6 * block_s
      for (b = 0; b < seg[2]; b++) {
        lat_min += step_m / m_per_min
        block(++n)
      }
    }
  }'
