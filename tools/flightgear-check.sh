#!/bin/bash
# Optional check, not part of CI (FlightGear is a 1.3 GB install): starts
# FlightGear headless under Xvfb with the shipped protocol files and checks
# that `gaugehost live` follows it, over the generic protocol and over
# FlightGear's own NMEA output.
#
#   apt-get install --no-install-recommends flightgear xvfb xauth dbus
#   tools/flightgear-check.sh [BUILD_DIR] [SECONDS]
#
# Needs write access to FlightGear's Protocol/ folder (root on Debian), where
# it copies examples/flightgear/gaugehost-*.xml. FlightGear needs a D-Bus
# session (dbus-run-session) and several minutes to start on a small machine.
# Exit 0 when every check passed; the outputs stay in the folder it names.
set -u
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-60}
host="$build/bin/gaugehost"
fg_root=${FG_ROOT:-/usr/share/games/flightgear}
fgfs=$(command -v fgfs || echo /usr/games/fgfs)
out=$(mktemp -d /tmp/flightgear-check.XXXXXX)
props_port=5401
failures=0

check() { # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok    $1"; else echo "FAIL  $1"; failures=$((failures + 1)); fi
}

# One property through FlightGear's telnet property server (bash's /dev/tcp).
# FlightGear reads the connection once a frame: a command sent with the
# connect, or a quit right behind it, goes unanswered.
prop() { # prop get PATH | prop set PATH VALUE
  exec 3<>/dev/tcp/127.0.0.1/$props_port || return 1
  sleep 0.5
  printf '%s %s %s\r\n' "$1" "$2" "${3:-}" >&3
  sleep 1
  printf 'quit\r\n' >&3
  timeout 5 cat <&3 | tr -d '\r' | sed -n "s|^.*$2 = '\([^']*\)'.*|\1|p" | head -1
  exec 3<&-
}

[ -x "$host" ] || { echo "no $host: build first"; exit 2; }
[ -x "$fgfs" ] || { echo "no fgfs: apt-get install --no-install-recommends flightgear xvfb xauth dbus"; exit 2; }
cp examples/flightgear/gaugehost-out.xml examples/flightgear/gaugehost-in.xml "$fg_root/Protocol/" ||
  { echo "cannot write $fg_root/Protocol/"; exit 2; }

# A free display of Xvfb's own choosing (another program may hold :99).
Xvfb -displayfd 5 -screen 0 800x600x24 5>"$out/display" >"$out/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$out/display" ] && break; sleep 0.2; done
display=":$(cat "$out/display")"
DISPLAY=$display dbus-run-session -- "$fgfs" --aircraft=c172p --airport=KSFO --in-air --altitude=3000 \
  --vc=90 --disable-sound --disable-terrasync --disable-ai-traffic --disable-real-weather-fetch \
  --timeofday=noon --geometry=640x480 --props=$props_port \
  --generic=socket,out,10,127.0.0.1,5500,udp,gaugehost-out \
  --generic=socket,in,10,127.0.0.1,5501,udp,gaugehost-in \
  --nmea=socket,out,1,127.0.0.1,5502,udp >"$out/fgfs.log" 2>&1 &
fg=$!
trap 'kill $fg $xvfb 2>/dev/null; wait 2>/dev/null' EXIT

echo "outputs in $out; waiting for FlightGear to fly (at most 10 minutes)"
for _ in $(seq 120); do
  elapsed=$(prop get /sim/time/elapsed-sec 2>/dev/null)
  [ -n "$elapsed" ] && awk "BEGIN { exit !($elapsed > 5) }" && break
  kill -0 $fg 2>/dev/null || { echo "FlightGear ended; see $out/fgfs.log"; exit 1; }
  sleep 5
done
[ -n "${elapsed:-}" ] || { echo "FlightGear did not start; see $out/fgfs.log"; exit 1; }

# Generic protocol: the panel follows; a control moved in FlightGear shows.
"$host" live flightgear --duration "$seconds" --out "$out/fg" --no-wav >"$out/fg.txt" 2>"$out/fg.status" &
live=$!
sleep $((seconds / 2))
prop set /controls/flight/speedbrake 0.7 >/dev/null
wait $live
fg_lat=$(prop get /position/latitude-deg)
fg_alt_ft=$(prop get /position/altitude-ft)
igc=$(ls "$out"/fg/*.IGC 2>/dev/null | head -1)
last_b=$(grep '^B' "${igc:-/dev/null}" | tail -1)
check "status says data arrives" grep -q "data arriving" "$out/fg.status"
check "lines received, none rejected" grep -Eq "FlightGear: [1-9][0-9]+ lines received, 0 rejected" "$out/fg.txt"
check "airbrake set in FlightGear reached the panel (70 %)" grep -Eq "airbrakes +70 %" "$out/fg.txt"
check "IGC log recorded" test -n "$last_b"
if [ -n "$last_b" ]; then
  # B HHMMSS DDMMmmm N DDDMMmmm W A PPPPP GGGGG: compare with FlightGear's last position.
  igc_lat=$(awk -v b="$last_b" 'BEGIN { d=substr(b,8,2)+substr(b,10,5)/60000; if (substr(b,15,1)=="S") d=-d; print d }')
  igc_alt_m=$(awk -v b="$last_b" 'BEGIN { print substr(b,31,5)+0 }')
  echo "      FlightGear at the end: lat $fg_lat, $fg_alt_ft ft; last fix: lat $igc_lat, $igc_alt_m m"
  check "last fix within 0.01 deg and 50 m of FlightGear" awk "BEGIN { d=$igc_lat-($fg_lat); a=$igc_alt_m-$fg_alt_ft*0.3048; exit !(d<0.01 && d>-0.01 && a<50 && a>-50) }"
fi

# FlightGear's NMEA output (GPRMC, GPGGA, ...) through the NMEA source.
"$host" live nmea --port 5502 --duration 20 --out "$out/nmea" --no-wav >"$out/nmea.txt" 2>"$out/nmea.status"
check "NMEA sentences read, none rejected" grep -Eq "NMEA: [1-9][0-9]* sentences read.* 0 rejected" "$out/nmea.txt"
check "NMEA IGC log recorded" sh -c "grep -q '^B' $out/nmea/*.IGC"

echo "$failures checks failed; outputs in $out"
[ "$failures" -eq 0 ]
