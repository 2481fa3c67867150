# Toolchain file for the web build: Emscripten (Debian's emscripten package, or one whose root is
# in EMSCRIPTEN_ROOT), WebAssembly and JavaScript for a browser. scripts/build-web.sh uses it for
# the libraries and the game; give the prefix that holds the libraries' web builds in
# CMAKE_PREFIX_PATH:
#   cmake -S . -B build-web/game -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake \
#       -DCMAKE_PREFIX_PATH=$PWD/build-web/deps
# find_package(), find_library() and pkg-config then look there and in Emscripten's own system
# root, never at the build machine's libraries and headers.

if(DEFINED ENV{EMSCRIPTEN_ROOT})
    set(_web_emscripten_root "$ENV{EMSCRIPTEN_ROOT}")
else()
    set(_web_emscripten_root /usr/share/emscripten)
endif()
include("${_web_emscripten_root}/cmake/Modules/Platform/Emscripten.cmake")

# Debian's emscripten needs its JavaScript tools (acorn and the like) from Debian's node modules,
# which Debian's node does not look in by itself; every optimised link uses them, whoever starts
# the build.
if(EXISTS /usr/share/nodejs)
    set(ENV{NODE_PATH} /usr/share/nodejs)
    set(CMAKE_C_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
    set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
endif()

# ctest and gtest_discover_tests run the test programs with node. Node 18 and later would load
# the .wasm file with its own fetch(), which takes no file paths: Emscripten's own loader reads it.
find_program(SHELVOY_NODE NAMES node nodejs DOC "node, to run the test programs built here")
if(SHELVOY_NODE)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${SHELVOY_NODE};--no-experimental-fetch")
endif()

list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
include("${CMAKE_CURRENT_LIST_DIR}/cross_pkg_config.cmake")
