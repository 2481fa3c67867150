#!/bin/sh
# Builds Shelvoy! for 64-bit Windows on Debian 12, with the mingw-w64 cross compilers and
# cmake/mingw-w64-x86_64.cmake, and packs it: build-windows/shelvoy-<version>-win64.zip and the
# installer build-windows/shelvoy-<version>-win64.exe. Everything happens in build-windows/:
#   sources/  the libraries' Debian source packages, unpacked with Debian's patches applied
#   deps/     the libraries built for Windows as static libraries: include/, lib/,
#             lib/pkgconfig/ and the CMake package files, and share/doc/<package>/copyright;
#             the game's CMake finds them with -DCMAKE_PREFIX_PATH=build-windows/deps
#   logs/     what each library's build printed
#   game/     the game's own build
# Each library is built once: deps/stamps/ holds one stamp per library and version, and a later
# run reuses what it names. Delete build-windows/ to start over.
#
#   scripts/build-windows.sh           the game, the zip and the installer
#   scripts/build-windows.sh --tests   also GoogleTest and the test programs (scripts/test.sh
#                                      runs them under wine)
# SHELVOY_WERROR=ON treats compiler warnings as errors (CI).
#
# The sources come from the archives this machine's apt already uses: the script writes their
# deb-src twins into a private apt configuration under build-windows/apt/ and downloads with
# it, leaving the system's apt setup as it is. GoogleTest comes from Debian's googletest
# package (/usr/src/googletest), the sources the Linux tests use.
#
# Without Debian, or when apt offers other versions than the ones pinned here and in
# scripts/debian-sources.sh: bring the upstream release of each pinned version yourself, unpacked
# as build-windows/sources/<dir>/ (the last column of the lists: Box2D's v2.4.1 tag,
# glfw-3.3.8.zip, freetype-2.12.1.tar.xz, FTGL's v2.4.0 tag, SDL2-2.26.5.tar.gz). A source tree
# that is there already is used as it is and nothing is downloaded
# for it (Debian's patches, FreeType's security fixes among them, are then the builder's to
# apply); without apt-get, the cross compilers, CMake, make, NSIS (makensis), fontconfig with
# DejaVu Sans Mono Bold and, for --tests, GoogleTest 1.12.1's sources in /usr/src/googletest
# must be installed by hand.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-windows"
me=build-windows
# shellcheck source=scripts/debian-sources.sh
. "$root/scripts/debian-sources.sh"
cross_build_arguments "$@"
# The libraries every build links, and SDL2 (the Windows game's audio device).
libraries="$pinned_libraries
libsdl2  2.26.5+dfsg-1          SDL2-2.26.5
"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
jobs=$(nproc)

if command -v apt-get >/dev/null 2>&1 && command -v dpkg-query >/dev/null 2>&1; then
    if [ "$tests" = ON ]; then "$root/scripts/deps.sh" --cross-windows-tests; else "$root/scripts/deps.sh" --cross-windows; fi
else
    for tool in x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix cmake make; do
        command -v "$tool" >/dev/null 2>&1 ||
            { echo "build-windows: no apt-get here to install $tool: install it by hand" >&2; exit 1; }
    done
fi
mkdir -p "$sources" "$deps/stamps" "$logs"

# --- the libraries' sources ---

fetch_all_sources

# --- the libraries ---

build_library glfw3 "$(version_of glfw3)" "$(dir_of glfw3)" \
    -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF -DGLFW_INSTALL=ON
# FTGL's glyphs call Windows' own GL libraries.
ftgl_libs="-lglu32 -lopengl32" ftgl_description="static, for Windows"
build_physics_and_text_libraries

# SDL2 for its audio alone: the game's sound goes through SDL's audio thread. Its static Windows
# build does not link without the video subsystem, so that stays; the others go, and with them
# the DLLs they would import.
build_library libsdl2 "$(version_of libsdl2)" "$(dir_of libsdl2)" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON -DSDL_AUDIO=ON \
    -DSDL_VIDEO=ON -DSDL_RENDER=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF \
    -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF

# GoogleTest for the test programs, which run under wine.
if [ "$tests" = ON ]; then
    googletest_version=$(dpkg-query -W -f='${Version}' googletest 2>/dev/null || echo unknown)
    build_library googletest "$googletest_version" /usr/src/googletest -Dgtest_disable_pthreads=OFF
fi

# The licences the Windows packages carry for what shelvoy.exe links in: each library's copyright
# file from its sources (Debian's, or upstream's licence where Debian's changes are missing), and
# the mingw-w64 runtime's and GCC's runtime's from their Debian packages.
copy_physics_and_text_licences
copy_licence glfw3 "$sources/$(dir_of glfw3)/debian/copyright" "$sources/$(dir_of glfw3)/LICENSE.md"
copy_licence libsdl2 "$sources/$(dir_of libsdl2)/debian/copyright" "$sources/$(dir_of libsdl2)/LICENSE.txt"
copy_licence mingw-w64 /usr/share/doc/mingw-w64-common/copyright
copy_licence gcc-mingw-w64 /usr/share/doc/gcc-mingw-w64-base/copyright

echo "build-windows: the libraries are in build-windows/deps/"

# --- the game ---

build_game_and_packages shelvoy-*-win64.zip shelvoy-*-win64.exe
