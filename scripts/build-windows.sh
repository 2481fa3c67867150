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
# Without Debian, or when apt offers other versions than the ones pinned below: bring the
# upstream release of each pinned version yourself, unpacked as build-windows/sources/<dir>/
# (the last column below: Box2D's v2.4.1 tag, glfw-3.3.8.zip, freetype-2.12.1.tar.xz, FTGL's
# v2.4.0 tag, SDL2-2.26.5.tar.gz). A source tree that is there already is used as it is and nothing is downloaded
# for it (Debian's patches, FreeType's security fixes among them, are then the builder's to
# apply); without apt-get, the cross compilers, CMake, make, NSIS (makensis), fontconfig with
# DejaVu Sans Mono Bold and, for --tests, GoogleTest 1.12.1's sources in /usr/src/googletest
# must be installed by hand.
set -eu

# The libraries, in build order (FTGL needs FreeType): the Debian source package, its version
# in Debian 12 (the one the Linux build links), and the directory its sources unpack into.
libraries="
box2d    2.4.1-3                box2d-2.4.1
glfw3    3.3.8-1                glfw-3.3.8
freetype 2.12.1+dfsg-5+deb12u4  freetype-2.12.1
ftgl     2.4.0-2.1              ftgl-2.4.0
libsdl2  2.26.5+dfsg-1          SDL2-2.26.5
"

tests=OFF
case "${1:-}" in
--tests) tests=ON ;;
"") ;;
*) echo "usage: $0 [--tests]" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-windows"
sources="$build/sources"
deps="$build/deps"
logs="$build/logs"
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

# apt-get or apt-cache with the private configuration: its own source list, package lists and
# cache under build-windows/apt/; everything else (proxies, keyrings) as the system's apt has it.
apt="$build/apt"
apt_private() {
    command=$1
    shift
    # As root, apt downloads as its user _apt, who may not write into build-windows/sources/.
    if [ "$(id -u)" -eq 0 ]; then set -- -o APT::Sandbox::User=root "$@"; fi
    "$command" -o Dir::Etc::SourceList="$apt/sources.list" \
        -o Dir::Etc::SourceParts="$apt/sources.list.d" -o Dir::State::Lists="$apt/lists" \
        -o Dir::Cache="$apt/cache" "$@"
}

# Writes the deb-src twin of every deb entry in the system's apt sources: the same URIs, suites,
# components and options (Signed-By among them), with only the type changed.
write_private_sources() {
    rm -rf "$apt"
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
    system_list=/etc/apt/sources.list system_parts=/etc/apt/sources.list.d/
    eval "$(apt-config shell system_list Dir::Etc::SourceList/f system_parts Dir::Etc::SourceParts/d)"
    # One-line style: sources.list and sources.list.d/*.list.
    for file in "$system_list" "$system_parts"*.list; do
        [ -f "$file" ] || continue
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file"
    done >"$apt/sources.list"
    # deb822 style: sources.list.d/*.sources, stanzas separated by blank lines.
    for file in "$system_parts"*.sources; do
        [ -f "$file" ] || continue
        awk '
            function flush() { if (deb && stanza != "") printf "%s\n", stanza; stanza = ""; deb = 0 }
            FNR == 1 { flush() }
            /^[[:space:]]*$/ { flush(); next }
            /^#/ { next }
            tolower($1) == "types:" {
                for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1
                stanza = stanza "Types: deb-src\n"
                next
            }
            { stanza = stanza $0 "\n" }
            END { flush() }
        ' "$file" >"$apt/sources.list.d/$(basename "$file")"
    done
    if [ ! -s "$apt/sources.list" ] &&
        [ -z "$(cat "$apt/sources.list.d/"*.sources 2>/dev/null)" ]; then
        echo "build-windows: no deb entry in $system_list or ${system_parts}*.{list,sources}" >&2
        exit 1
    fi
    echo "== apt-get update (deb-src of this machine's apt sources, in build-windows/apt/)"
    # An archive without sources (a third-party one, say) only warns here; what matters is
    # whether the pinned versions are found below.
    apt_private apt-get update -qq || echo "build-windows: apt-get update reported errors; going on"
}

# Unpacks the orig tarball named in a .dsc into a directory, alone: without Debian's changes.
unpack_orig() {
    orig=$(awk '/^Files:/ { files = 1; next } /^[^ ]/ { files = 0 } files { print $3 }' "$1" |
        grep -E '\.orig\.tar\.[a-z0-9]+$' | head -1)
    [ -n "$orig" ] && [ -f "$sources/$orig" ] || return 1
    scratch="$2.orig"
    rm -rf "$scratch"
    mkdir -p "$scratch"
    tar -xf "$sources/$orig" -C "$scratch" || return 1
    # The tarball's single top directory, or its files if it has none.
    top=$(find "$scratch" -mindepth 1 -maxdepth 1)
    if [ "$(echo "$top" | wc -l)" -eq 1 ] && [ -d "$top" ]; then
        mv "$top" "$2"
        rmdir "$scratch"
    else
        mv "$scratch" "$2"
    fi
    echo "$orig"
}

# Brings one library's sources to build-windows/sources/<dir>/, unless they are there.
fetch_sources() {
    package=$1 version=$2 dir=$3
    [ -d "$sources/$dir" ] && return 0
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "build-windows: no $sources/$dir, and no apt-get to download $package $version:" >&2
        echo "  unpack that version's upstream release there (see the top of $0)" >&2
        exit 1
    fi
    [ "$apt_ready" -eq 1 ] || write_private_sources
    apt_ready=1

    offered=$(apt_private apt-cache showsrc --only-source "$package" 2>/dev/null |
        sed -n 's/^Version: //p' | sort -u | tr '\n' ' ' | sed 's/ $//')
    if ! echo " $offered " | grep -qF " $version "; then
        cat >&2 <<EOF
build-windows: apt offers $package ${offered:-in no version}, not the pinned $version.
  Bring the sources of $version (or of its upstream release) unpacked as
  $sources/$dir/,
  or pin another version at the top of $0.
EOF
        exit 1
    fi

    echo "== $package $version: downloading its source package"
    dsc="${package}_${version#*:}.dsc"
    if (cd "$sources" &&
        apt_private apt-get source -qq --download-only --only-source "$package=$version"); then
        rm -rf "$sources/$dir.unpack"
        # apt has checked the files against the archive's signed index; dpkg-source's own check
        # of the .dsc signature only warns without the debian-keyring package.
        dpkg-source -q -x "$sources/$dsc" "$sources/$dir.unpack" >"$logs/$package.unpack.log" 2>&1 ||
            { cat "$logs/$package.unpack.log" >&2; exit 1; }
        mv "$sources/$dir.unpack" "$sources/$dir"
        echo "$package: unpacked with Debian's patches into sources/$dir/"
    elif [ -f "$sources/$dsc" ] && orig=$(unpack_orig "$sources/$dsc" "$sources/$dir"); then
        # Seen with ftgl 2.4.0-2.1: its .debian.tar.xz is missing from the archive, while its
        # upstream tarball is there and carries the CMake build this script uses.
        echo "$package: Debian's changes for $version could not be downloaded; building" \
            "$orig as it is, without them, from sources/$dir/"
    else
        echo "build-windows: could not download $package $version (see apt-get's message above)" >&2
        exit 1
    fi
}

apt_ready=0
# shellcheck disable=SC2086
set -- $libraries
while [ $# -ge 3 ]; do
    fetch_sources "$1" "$2" "$3"
    shift 3
done

# --- the libraries ---

# Builds a library from sources/<dir>/ (or <dir> itself when it is an absolute path) and
# installs it into deps/, unless the stamp for this version says it is there, built with the same
# options. Arguments: package, version, directory, then the library's own CMake options.
# $after_install, when set, names a function that adds to the installed files before the stamp is
# written.
build_library() {
    package=$1 version=$2 dir=$3
    shift 3
    case "$dir" in
    /*) source=$dir ;;
    *) source="$sources/$dir" ;;
    esac
    stamp="$deps/stamps/${package}_${version}"
    # CMake 4 refuses the older projects' cmake_minimum_required without the policy minimum.
    set -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
        -DCMAKE_INSTALL_PREFIX="$deps" -DCMAKE_PREFIX_PATH="$deps" -DCMAKE_INSTALL_LIBDIR=lib \
        -DCMAKE_POLICY_VERSION_MINIMUM=3.5 "$@"
    configuration="$* toolchain $(cksum <"$toolchain")"
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$configuration" ]; then
        echo "$package $version: reusing the build in deps/"
        return 0
    fi
    echo "== $package $version: building for Windows (log: build-windows/logs/$package.log)"
    work="$build/build/$package"
    rm -rf "$work" "$stamp"
    {
        cmake -S "$source" -B "$work" -G "Unix Makefiles" "$@" &&
            cmake --build "$work" -j "$jobs" &&
            cmake --install "$work"
    } >"$logs/$package.log" 2>&1 || {
        tail -40 "$logs/$package.log" >&2
        echo "build-windows: $package failed; the whole log is $logs/$package.log" >&2
        exit 1
    }
    [ -z "${after_install:-}" ] || "$after_install" "$version"
    echo "$configuration" >"$stamp"
    built=1
}

version_of() {
    echo "$libraries" | awk -v package="$1" '$1 == package { print $2 }'
}
dir_of() {
    echo "$libraries" | awk -v package="$1" '$1 == package { print $3 }'
}

build_library box2d "$(version_of box2d)" "$(dir_of box2d)" \
    -DBOX2D_BUILD_UNIT_TESTS=OFF -DBOX2D_BUILD_TESTBED=OFF -DBOX2D_BUILD_DOCS=OFF

build_library glfw3 "$(version_of glfw3)" "$(dir_of glfw3)" \
    -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF -DGLFW_INSTALL=ON

# Only TrueType from memory is asked of FreeType: none of the optional libraries (its gzip
# support keeps its own copy of zlib's inflate code).
built=0
build_library freetype "$(version_of freetype)" "$(dir_of freetype)" \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON
# FTGL compiled against an older FreeType is built again.
if [ "$built" -eq 1 ]; then rm -f "$deps/stamps/ftgl_"*; fi

# FTGL's CMake build has no demos, and its documentation only on request. It installs no .pc
# file either, so one like Debian's is written, for this static build: the GL libraries its
# glyphs call come after it on the link line, and FTGL_LIBRARY_STATIC keeps its headers from
# declaring DLL imports (under MSVC only, but true of this build all the same).
write_ftgl_pc() {
    cat >"$deps/lib/pkgconfig/ftgl.pc" <<EOF
prefix=$deps
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: FTGL
Description: OpenGL frontend to Freetype 2 (static, for Windows)
Version: ${1%-*}
Requires: freetype2
Libs: -L\${libdir} -lftgl -lglu32 -lopengl32
Cflags: -I\${includedir} -I\${includedir}/FTGL -DFTGL_LIBRARY_STATIC
EOF
}
# Its src/CMakeLists.txt also lists FTLibrary.h among the sources of src/, where there is none
# (the header is src/FTGL/FTLibrary.h), and CMake stops at the missing file: the line goes.
ftgl_src="$sources/$(dir_of ftgl)/src"
if [ ! -e "$ftgl_src/FTLibrary.h" ] && grep -q '^[[:space:]]*FTLibrary\.h$' "$ftgl_src/CMakeLists.txt"; then
    sed -i '/^[[:space:]]*FTLibrary\.h$/d' "$ftgl_src/CMakeLists.txt"
fi
after_install=write_ftgl_pc
build_library ftgl "$(version_of ftgl)" "$(dir_of ftgl)" \
    -DCMAKE_DISABLE_FIND_PACKAGE_Doxygen=ON -DCMAKE_DISABLE_FIND_PACKAGE_CxxTest=ON
after_install=""

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
copy_licence() {
    mkdir -p "$deps/share/doc/$1"
    for candidate in "$2" "${3:-}"; do
        if [ -f "$candidate" ]; then
            cp "$candidate" "$deps/share/doc/$1/copyright"
            return 0
        fi
    done
    echo "build-windows: no licence for $1 at $2${3:+ or ${3:-}}" >&2
    exit 1
}
copy_licence box2d "$sources/$(dir_of box2d)/debian/copyright" "$sources/$(dir_of box2d)/LICENSE"
copy_licence glfw3 "$sources/$(dir_of glfw3)/debian/copyright" "$sources/$(dir_of glfw3)/LICENSE.md"
copy_licence freetype "$sources/$(dir_of freetype)/debian/copyright" "$sources/$(dir_of freetype)/docs/FTL.TXT"
copy_licence ftgl "$sources/$(dir_of ftgl)/debian/copyright" "$sources/$(dir_of ftgl)/COPYING"
copy_licence libsdl2 "$sources/$(dir_of libsdl2)/debian/copyright" "$sources/$(dir_of libsdl2)/LICENSE.txt"
copy_licence mingw-w64 /usr/share/doc/mingw-w64-common/copyright
copy_licence gcc-mingw-w64 /usr/share/doc/gcc-mingw-w64-base/copyright

echo "build-windows: the libraries are in build-windows/deps/"

# --- the game ---

game="$build/game"
echo "== the game (build-windows/game/)"
cmake -S "$root" -B "$game" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$deps" \
    -DCMAKE_BUILD_TYPE=Release -DSHELVOY_BUILD_TESTS="$tests" -DSHELVOY_WERROR="${SHELVOY_WERROR:-OFF}" >/dev/null
cmake --build "$game" -j "$jobs"

echo "== the zip and the installer"
rm -rf "$game/packages"
(cd "$game" && cpack -B "$game/packages" >"$logs/cpack.log" 2>&1) ||
    { tail -40 "$logs/cpack.log" >&2; exit 1; }
rm -f "$build"/shelvoy-*-win64.zip "$build"/shelvoy-*-win64.exe
for package in "$game/packages"/shelvoy-*-win64.zip "$game/packages"/shelvoy-*-win64.exe; do
    cp "$package" "$build/"
    echo "build-windows/$(basename "$package")"
done
