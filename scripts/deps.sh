#!/bin/sh
# Installs the Debian 12 packages Shelvoy! needs that are not there yet.
#   scripts/deps.sh          what building and playing need
#   scripts/deps.sh --test   that, plus what the test suite needs (Xvfb, GoogleTest, XTest)
#   scripts/deps.sh --bench  that, plus Google Benchmark and Xvfb
#   scripts/deps.sh --deb    that, plus what scripts/check-deb.sh needs (debootstrap, Xvfb, xdotool)
set -eu

packages="cmake make g++ pkg-config libbox2d-dev libglfw3-dev libftgl-dev libfreetype-dev \
libglu1-mesa-dev libgl1-mesa-dri libsdl2-dev fontconfig fonts-dejavu-core"
case "${1:-}" in
--test) packages="$packages libgtest-dev xvfb xauth xfonts-base libx11-dev libxtst-dev libxdamage-dev \
x11-xkb-utils x11-xserver-utils \
clang clang-format libclang-rt-14-dev desktop-file-utils appstream dpkg-dev man-db" ;;
--bench) packages="$packages libbenchmark-dev xvfb xauth libx11-dev" ;;
--deb) packages="$packages dpkg-dev debootstrap xvfb xdotool" ;;
esac

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
