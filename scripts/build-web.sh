#!/bin/sh
# Builds Shelvoy! for web browsers on Debian 12 with Emscripten and cmake/emscripten.cmake, and
# packs it: build-web/shelvoy-<version>-web.zip, a folder that any static web server can serve
# (index.html, shelvoy.js, shelvoy.wasm, Receipt.ttf and the licences). Everything happens in
# build-web/, laid out as scripts/build-windows.sh lays out build-windows/:
#   sources/  the libraries' Debian source packages, unpacked with Debian's patches applied
#   deps/     the libraries built for the web as static libraries (Box2D, FreeType, FTGL, and
#             GLU's tessellator and matrix helpers, which Emscripten lacks), stamps/ for each
#   logs/     what each library's build printed
#   game/     the game's own build
# Each library is built once; delete build-web/ to start over.
#
#   scripts/build-web.sh           the game and the zip
#   scripts/build-web.sh --tests   also GoogleTest and the simulation tests, run under node
#                                  (scripts/test.sh runs them and the tests in Chromium)
# SHELVOY_WERROR=ON treats compiler warnings as errors (CI).
#
# Emscripten's own ports (-sUSE_FREETYPE and the like) download at build time, so none is used:
# the libraries come from Debian's source packages, pinned in scripts/debian-sources.sh to the
# versions the Linux build links (see there for how they are downloaded, and build-windows.sh for
# building without Debian). GLFW is the web platform's own, in JavaScript, behind GLFW's header.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-web"
me=build-web
# shellcheck source=scripts/debian-sources.sh
. "$root/scripts/debian-sources.sh"
cross_build_arguments "$@"
# GLU's sources too (see below).
libraries="$pinned_libraries
libglu   9.0.2-1.1              glu-9.0.2
"
toolchain="$root/cmake/emscripten.cmake"
# Two at most: the machines this builds on are shared, and the optimised links are large.
jobs=$(nproc)
[ "$jobs" -le 2 ] || jobs=2

if command -v apt-get >/dev/null 2>&1 && command -v dpkg-query >/dev/null 2>&1; then
    "$root/scripts/deps.sh" --web
else
    for tool in emcc emar cmake make node zip; do
        command -v "$tool" >/dev/null 2>&1 ||
            { echo "build-web: no apt-get here to install $tool: install it by hand" >&2; exit 1; }
    done
fi
# Debian's node does not look in Debian's own node modules, where Emscripten's tools find acorn.
if [ -d /usr/share/nodejs ]; then
    NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    export NODE_PATH
fi
mkdir -p "$sources" "$deps/stamps" "$logs"

# --- the libraries' sources ---

fetch_all_sources

# --- the libraries ---

# FTGL's glyphs call GLU's tessellator, which the web build links from GLU's sources below.
ftgl_libs="-lGLU" ftgl_description="static, for the web"
build_physics_and_text_libraries

# GLFW 3.3's header, the API the game is written to: the web platform implements it in JavaScript
# (src/platform/web/web_glfw.js), and Emscripten's own header is of GLFW 3.2.
mkdir -p "$deps/include/GLFW"
cp "$sources/$(dir_of glfw3)/include/GLFW/glfw3.h" "$deps/include/GLFW/"

# GLU: Emscripten's JavaScript GLU has no tessellator (FTGL's polygon glyphs need it), no
# gluErrorString, and its gluLookAt leaves the view as it was. Mesa's GLU sources give all three:
# the tessellator, the error strings and the matrix helpers (project.c), built as they are with
# GLU's own build's definitions; its mipmaps, quadrics and NURBS are not needed. Installed as
# deps/lib/libGLU.a; GL/glu.h is Emscripten's own, the same declarations.
compile_glu() {
    source=$1 flags=$2 files=$3
    work="$build/build/libglu"
    rm -rf "$work"
    mkdir -p "$work"
    for file in $files; do
        # shellcheck disable=SC2086
        emcc $flags -c "$source/$file" -o "$work/$(echo "$file" | tr / _).o" || return 1
    done
    rm -f "$deps/lib/libGLU.a"
    emar rcs "$deps/lib/libGLU.a" "$work"/*.o
}
glu_source="$sources/$(dir_of libglu)/src"
glu_files="libutil/error.c libutil/glue.c libutil/project.c libutil/registry.c libtess/dict.c
    libtess/geom.c libtess/memalloc.c libtess/mesh.c libtess/normal.c libtess/priorityq.c
    libtess/render.c libtess/sweep.c libtess/tess.c libtess/tessmono.c"
glu_flags="-O2 -DNDEBUG -DLIBRARYBUILD -I$glu_source/include -I$glu_source/../include"
build_once libglu "$(version_of libglu)" "$glu_files $glu_flags emcc $(emcc -dumpversion)" \
    compile_glu "$glu_source" "$glu_flags" "$glu_files"

# GoogleTest for the simulation tests, which run under node.
if [ "$tests" = ON ]; then
    googletest_version=$(dpkg-query -W -f='${Version}' googletest 2>/dev/null || echo unknown)
    build_library googletest "$googletest_version" /usr/src/googletest -Dgtest_disable_pthreads=ON
fi

# The licences the zip carries for what shelvoy.wasm links in.
copy_physics_and_text_licences
copy_licence glfw3 "$sources/$(dir_of glfw3)/debian/copyright" "$sources/$(dir_of glfw3)/LICENSE.md"
copy_licence libglu "$sources/$(dir_of libglu)/debian/copyright" "$sources/$(dir_of libglu)/include/GL/glu.h"
copy_licence emscripten /usr/share/doc/emscripten/copyright
echo "build-web: the libraries are in build-web/deps/"

# --- the game ---

build_game_and_packages shelvoy-*-web.zip
