#!/bin/sh
# Builds the benchmarks (Release, build-bench/) and runs them all: medians of 3 repetitions,
# then one table with every frame also as a ratio to the bare clear-and-swap frame.
# Under a private 1920x1080 Xvfb when there is no display. Extra arguments go to the
# benchmark binary (e.g. --benchmark_filter=PlayFrame).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
"$root/scripts/deps.sh" --bench
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSHELVOY_BUILD_TESTS=OFF -DSHELVOY_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

cd "$build"  # the font is found in the working directory
run() {
    "$build/bench/shelvoy_bench" --benchmark_repetitions=3 --benchmark_min_time=0.5 "$@"
}
if [ -n "${DISPLAY:-}" ]; then
    run "$@"
else
    xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$build/bench/shelvoy_bench" \
        --benchmark_repetitions=3 --benchmark_min_time=0.5 "$@"
fi
