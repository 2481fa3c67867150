#!/bin/sh
# Installs the Debian 12 packages Shelvoy! needs that are not there yet.
#   scripts/deps.sh          what building and playing need
#   scripts/deps.sh --test   that, plus what the test suite needs (Xvfb, a window manager,
#                            GoogleTest, XTest, lintian)
#   scripts/deps.sh --bench  that, plus Google Benchmark, Xvfb and xdotool
#   scripts/deps.sh --deb    that, plus what scripts/check-deb.sh needs (debootstrap, Xvfb, xdotool)
#   scripts/deps.sh --windows  that, plus what runs the Windows build's tests (wine, a window
#                            manager, a font with Japanese for wine's error box)
#   scripts/deps.sh --cross-windows  only what scripts/build-windows.sh needs to build the Windows
#                            game from Debian's sources; --cross-windows-tests adds GoogleTest's
# Without apt-get (not Debian) it lists the packages and exits with 1.
set -eu

packages="cmake make g++ pkg-config libbox2d-dev libglfw3-dev libftgl-dev libfreetype-dev \
libglu1-mesa-dev libgl1-mesa-dri libsdl2-dev libx11-dev fontconfig fonts-dejavu-core"
case "${1:-}" in
--test) packages="$packages libgtest-dev xvfb xauth xfonts-base libxtst-dev libxdamage-dev \
x11-xkb-utils x11-xserver-utils locales openbox \
clang clang-format libclang-rt-14-dev desktop-file-utils appstream dpkg-dev man-db lintian" ;;
--bench) packages="$packages libbenchmark-dev xvfb xauth xdotool" ;;
--deb) packages="$packages dpkg-dev debootstrap xvfb xdotool" ;;
--windows) packages="$packages wine wine64 openbox xvfb xauth fonts-wqy-microhei" ;;
# The cross compiler; dpkg-dev brings dpkg-source and patch; xz-utils unpacks the .tar.xz files;
# pkg-config is what the toolchain file points at the prefix; nsis makes the installer;
# fontconfig and fonts-dejavu-core give the font the zip carries.
--cross-windows | --cross-windows-tests)
    packages="gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
mingw-w64-x86-64-dev cmake make pkg-config dpkg-dev xz-utils nsis fontconfig fonts-dejavu-core"
    if [ "$1" = --cross-windows-tests ]; then packages="$packages googletest"; fi ;;
esac

# Elsewhere the names above are only a shopping list: say so and stop before anything builds.
if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    cat >&2 <<EOF
deps.sh: no apt-get here, so nothing is installed. Shelvoy! needs these Debian 12 packages,
or your system's equivalents (CMake 3.14 or newer, a C++17 compiler, pkg-config, Box2D 2.4,
GLFW 3.3, FTGL, FreeType, GLU, SDL2, Xlib, fontconfig and DejaVu Sans Mono Bold):
$(echo $packages | fold -s -w 92 | sed 's/ *$//; s/^/  /')
Install them, then build by hand as README.md shows.
EOF
    exit 1
fi

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
