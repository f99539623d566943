#!/bin/sh
# Installs the Debian 12 packages the build and the tests need, if missing.
# With --product, only what building the modules, the host and offsetd needs.
set -e
# The product: the compiler and build tools, Cairo, Pango and a font for
# rescomp, which draws the gauges' bitmaps at build time, CLI11 for
# gaugehost's command line, the LCD face the renderer draws strings in and
# SDL2 for gaugehost's window.
PACKAGES="cmake ninja-build g++ pkg-config libcairo2-dev libpango1.0-dev fonts-dejavu-core libcli11-dev
  fonts-dseg libsdl2-dev"
# The tests: the window test runs under Xvfb and clicks through XTest.
[ "$1" = "--product" ] ||
  PACKAGES="$PACKAGES libgtest-dev libbenchmark-dev clang libclang-rt-14-dev clang-format libgeographiclib-dev
  xvfb xauth libxtst-dev"
missing=""
for p in $PACKAGES; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
# For the tests, node and npm (the IGC log test's independent parser) from Debian unless a
# node is already there from elsewhere.
[ "$1" = "--product" ] || command -v npm >/dev/null 2>&1 || missing="$missing nodejs npm"
[ -z "$missing" ] && exit 0
echo "installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
