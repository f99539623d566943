#!/bin/sh
# Installs the Debian 12 packages the build and the tests need, if missing.
set -e
PACKAGES="cmake ninja-build g++ libgtest-dev libbenchmark-dev clang libclang-rt-14-dev clang-format pkg-config
  libcairo2-dev libpango1.0-dev fonts-dejavu-core fonts-dseg libsdl2-dev xvfb xauth libxtst-dev"
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
