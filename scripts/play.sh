#!/bin/sh
# Installs what is missing, builds Shelvoy! in build/ and starts the game.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHELVOY_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build" -j "$(nproc)"
exec "$root/build/shelvoy"
