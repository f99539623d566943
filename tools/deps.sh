#!/bin/sh
# Installs the Debian 12 packages the build and the tests need, if missing.
# With --product, only what building the modules, the host and offsetd needs.
set -e
# The product: the compiler and build tools, and Cairo, Pango and a font for
# rescomp, which draws the gauges' bitmaps at build time.
PACKAGES="cmake ninja-build g++ pkg-config libcairo2-dev libpango1.0-dev fonts-dejavu-core"
[ "$1" = "--product" ] ||
  PACKAGES="$PACKAGES libgtest-dev libbenchmark-dev clang libclang-rt-14-dev clang-format"
missing=""
for p in $PACKAGES; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
