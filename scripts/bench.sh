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
#
#   scripts/bench.sh --against OTHER [--rounds N] [benchmark arguments]
# compares two trees instead (a regression check): the benchmarks of OTHER (another checkout of
# the game, built in its own build-bench/) and of this tree, run by turns, OTHER first, N rounds
# (default 3), then for each benchmark the range of its medians over the rounds and the medians
# themselves, tree by tree. Paced play and the web build are left out of a comparison.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
against=
rounds=3
while [ $# -gt 0 ]; do
    case $1 in
    --against) against=$(cd "$2" && pwd); shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) break ;;
    esac
done
"$root/scripts/deps.sh" --bench
if [ -z "${DISPLAY:-}" ]; then
    if [ -n "$against" ]; then set -- --against "$against" --rounds "$rounds" "$@"; fi
    exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$0" "$@"
fi
buildBench() { # tree
    cmake -S "$1" -B "$1/build-bench" -DCMAKE_BUILD_TYPE=Release -DSHELVOY_BUILD_TESTS=OFF \
        -DSHELVOY_BUILD_BENCH=ON >/dev/null
    cmake --build "$1/build-bench" -j "$(nproc)"
}
buildBench "$root"

if [ -n "$against" ]; then
    buildBench "$against"
    results=$(mktemp -d)
    trap 'rm -rf "$results"' EXIT
    round=1
    while [ "$round" -le "$rounds" ]; do
        for tree in "$against" "$root"; do
            echo "== round $round of $rounds: $tree" >&2
            # The table's medians: name, real ms, cpu ms.
            (cd "$tree/build-bench" && ./bench/shelvoy_bench --benchmark_repetitions=3 --benchmark_min_time=0.5 \
                --benchmark_color=false "$@" 2>/dev/null) |
                awk '/^benchmark \(size/ { table = 1; next } table && /_median/ { print $1, $2, $3 }' \
                    >>"$results/$(echo "$tree" | tr / _)"
        done
        round=$((round + 1))
    done
    for tree in "$against" "$root"; do
        printf '\n%s (%s rounds; ms, the range of the medians, then the medians)\n' "$tree" "$rounds"
        awk '{ name = $1; sub(/_median$/, "", name)
               if (!(name in real)) order[++n] = name
               real[name] = real[name] " " $2; cpu[name] = cpu[name] " " $3 }
             function range(list,   v, i, k, lo, hi) {
                 k = split(list, v, " "); lo = hi = v[1]
                 for (i = 2; i <= k; i++) { if (v[i] < lo) lo = v[i]; if (v[i] > hi) hi = v[i] }
                 return sprintf("%.4g-%.4g (%s)", lo, hi, substr(list, 2)) }
             END { printf "%-44s %-40s %s\n", "benchmark", "real", "cpu"
                   for (i = 1; i <= n; i++) printf "%-44s %-40s %s\n", order[i], range(real[order[i]]), range(cpu[order[i]]) }' \
            "$results/$(echo "$tree" | tr / _)"
    done
    exit 0
fi

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
