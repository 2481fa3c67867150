#!/bin/sh
# Builds the benchmarks (Release, build-bench/) and runs them all: medians of 3 repetitions,
# then one table with every frame also as a ratio to the bare clear-and-swap frame. Then paced
# play: the real game as a player has it, at the display's pace, driven for 10 s after its
# countdown; its CPU as a share of one core (the whole process, the GL driver's threads
# included) and its peak resident memory. Last, the web build (scripts/build-web.sh) in Debian's
# headless Chromium: its download, the time from loading the page to its first countdown frame,
# and, in play, its frames a second and its main thread's time per frame at 800x600, 1920x1080 and
# on a phone-sized page (390x844 at 3x) as it is and with the CPU throttled 4x (bench/web_bench.cjs;
# SHELVOY_WEB_BENCH_ALSO=<folder of another unpacked web build> measures that one interleaved).
# Under a private 1920x1080 Xvfb when there is no display. Extra arguments go to the benchmark
# binary (e.g. --benchmark_filter=PlayFrame).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
"$root/scripts/deps.sh" --bench
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$0" "$@"
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSHELVOY_BUILD_TESTS=OFF -DSHELVOY_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

cd "$build"  # the font is found in the working directory
"$build/bench/shelvoy_bench" --benchmark_repetitions=3 --benchmark_min_time=0.5 "$@"

# Paced play. The cart is pushed forward down the aisle it starts in, turns, and goes on. The game
# keeps its record in a data folder of the bench's own: first none, then the autopilot's run, whose
# ghost drives beside the cart.
pacedPlay() { # <data folder> <what>
    XDG_DATA_HOME="$1" "$build/shelvoy" &
    game=$!
    xdotool search --sync --onlyvisible --name '^Shelvoy! - ' windowfocus --sync >/dev/null
    sleep 4.5 # the countdown: four words of a second each
    (xdotool keydown e i sleep 3 keyup i sleep 1 keydown i sleep 3 keyup e sleep 1 keydown e sleep 3 keyup e i) &
    driver=$!
    ticks0=$(cpuTicks)
    start=$(date +%s.%N)
    sleep 10
    ticks1=$(cpuTicks)
    end=$(date +%s.%N)
    peakKb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$game/status")
    wait "$driver"
    kill "$game"
    wait "$game" 2>/dev/null || true # killed: not a failure
    awk -v ticks=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" -v start="$start" -v end="$end" -v kb="$peakKb" \
        -v what="$2" 'BEGIN { printf "\npaced play, 10 s after the countdown, %s: %.0f %% of one core, peak RSS %.0f MB\n",
                        what, 100 * ticks / hz / (end - start), kb / 1024 }'
}
cpuTicks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; } # user and system, all threads
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
pacedPlay "$data/none" "no record"
mkdir -p "$data/record/shelvoy"
cp "$root/tests/data/autopilot.record" "$data/record/shelvoy/best-run"
pacedPlay "$data/record" "the autopilot's ghost driving"

# The web build in headless Chromium.
"$root/scripts/build-web.sh" >/dev/null
page=$("$root/scripts/web-page.sh")
echo
NODE_PATH="$root/build-web/web-tests/node_modules" node "$root/bench/web_bench.cjs" "$page" ${SHELVOY_WEB_BENCH_ALSO:+"$SHELVOY_WEB_BENCH_ALSO"}
