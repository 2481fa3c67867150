#!/bin/sh
# Installs what is missing, builds Shelvoy! with its tests in build-test/ and runs the whole
# suite. Tests that need a display get a private Xvfb when there is none.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-test"
"$root/scripts/deps.sh" --test

werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHELVOY_WERROR=$werror >/dev/null
cmake --build "$build" -j "$(nproc)"

cd "$build"
if [ -n "${DISPLAY:-}" ]; then
    ctest --output-on-failure -j "$(nproc)"
else
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j "$(nproc)"
fi
