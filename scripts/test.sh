#!/bin/sh
# Installs what is missing, then runs the whole test suite:
#   1. build-test/: the game with every test (-Werror in CI): unit, GL, simulation,
#      end-to-end, install and package checks, conventions
#   2. build-windows/: the Windows build (scripts/build-windows.sh --tests) under wine: its unit,
#      GL and simulation tests, then the end-to-end smoke tests and the installer's test of
#      build-test/ playing shelvoy.exe
#   3. build-asan/: the unit and simulation tests again under AddressSanitizer and
#      UndefinedBehaviorSanitizer, and the real game under LeakSanitizer
#   4. build-fuzz/: the World fuzzer and the record reader's (clang, libFuzzer), each for a bounded time
#   5. build-web/: the web build (scripts/build-web.sh --tests): its simulation tests under node,
#      whose recorded replays end with the Linux bits, then the packed page played in Debian's
#      headless Chromium (tests/web/page_test.cjs)
# Tests that need a display get a private Xvfb when there is none; the end-to-end tests start
# their own. SHELVOY_TEST_QUICK=1 stops after step 1; SHELVOY_TEST_WINDOWS=0 leaves out step 2
# (for a quick local run: CI always runs it), as SHELVOY_TEST_WEB=0 does step 5; SHELVOY_FUZZ_SECONDS
# sets step 4's time.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" --test
jobs=$(nproc)

werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi

with_display() {
    if [ -n "${DISPLAY:-}" ]; then
        "$@"
    else
        xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$@"
    fi
}

echo "== 1. the game and every test (build-test/)"
cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHELVOY_WERROR=$werror >/dev/null
cmake --build "$root/build-test" -j "$jobs"
with_display ctest --test-dir "$root/build-test" --output-on-failure -j "$jobs"

[ "${SHELVOY_TEST_QUICK:-}" = "1" ] && exit 0

if [ "${SHELVOY_TEST_WINDOWS:-1}" = "0" ] && [ "${CI:-}" != "true" ]; then
    echo "== 2. the Windows build: left out (SHELVOY_TEST_WINDOWS=0)"
else
    echo "== 2. the Windows build under wine (build-windows/)"
    "$root/scripts/deps.sh" --windows
    SHELVOY_WERROR=$werror "$root/scripts/build-windows.sh" --tests
    # One wine prefix for the stage, made afresh. Wine's desktop process, which every window
    # needs, starts with the first program and takes that one's display: made on a display here.
    WINEPREFIX=$(mktemp -d /tmp/shelvoy-wine-XXXXXX)
    WINEDEBUG=-all
    export WINEPREFIX WINEDEBUG
    trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
    # Wine's dialogs draw characters their font lacks from "MS UI Gothic", as Windows does: here
    # WenQuanYi Micro Hei stands in for it, so that the error box shows a Japanese folder's name.
    with_display sh -c 'wineboot -i >/dev/null 2>&1 && wine reg add "HKCU\Software\Wine\Fonts\Replacements" \
        /v "MS UI Gothic" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1 && wineserver -w'
    with_display ctest --test-dir "$root/build-windows/game" --output-on-failure -j "$jobs"
    # The smoke tests and the installer's, as the Linux harness plays shelvoy.exe. A window manager
    # on each X server: wine learns that its window was minimised only from one. One test at a
    # time: the programs of a wine prefix share one keyboard focus, and a key pressed in one
    # test's game would go to another's.
    SHELVOY_E2E_GAME="$root/build-windows/game/shelvoy.exe" SHELVOY_E2E_LAUNCHER=$(command -v wine) \
        SHELVOY_E2E_WINDOW_MANAGER=$(command -v openbox) \
        SHELVOY_E2E_INSTALLER=$(ls "$root"/build-windows/shelvoy-*-win64.exe) \
        ctest --test-dir "$root/build-test" --output-on-failure \
        -R '^KeysAndClose/Quitting\.|^Smoke\.|^Failures\.MissingFont|^WindowsInstaller\.'
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    trap - EXIT
    unset WINEPREFIX WINEDEBUG
fi

echo "== 3. under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer (build-asan/)"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DSHELVOY_WERROR=$werror \
    -DSHELVOY_SANITIZE=ON >/dev/null
cmake --build "$root/build-asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
    with_display ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs" -L "unit|sim|leak"

echo "== 4. the World fuzzer and the record reader's (build-fuzz/)"
CXX=clang++ cmake -S "$root/tests/fuzz" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build-fuzz" -j "$jobs"
ctest --test-dir "$root/build-fuzz" --output-on-failure
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$root/build-fuzz/shelvoy_world_fuzz" -max_total_time="${SHELVOY_FUZZ_SECONDS:-60}" -max_len=4904 \
    -print_final_stats=1 "$scratch" "$root/tests/fuzz/corpus" 2>"$root/build-fuzz/fuzz.log" \
    || { tail -50 "$root/build-fuzz/fuzz.log"; exit 1; }
tail -3 "$root/build-fuzz/fuzz.log"
echo "fuzz: no crash in ${SHELVOY_FUZZ_SECONDS:-60} s"
rm -rf "$scratch" && mkdir "$scratch"
"$root/build-fuzz/shelvoy_record_fuzz" -max_total_time="${SHELVOY_FUZZ_SECONDS:-60}" -max_len=65536 \
    -print_final_stats=1 "$scratch" "$root/tests/fuzz/record_corpus" 2>"$root/build-fuzz/record_fuzz.log" \
    || { tail -50 "$root/build-fuzz/record_fuzz.log"; exit 1; }
tail -3 "$root/build-fuzz/record_fuzz.log"
echo "record fuzz: no crash in ${SHELVOY_FUZZ_SECONDS:-60} s"

if [ "${SHELVOY_TEST_WEB:-1}" = "0" ] && [ "${CI:-}" != "true" ]; then
    echo "== 5. the web build: left out (SHELVOY_TEST_WEB=0)"
    exit 0
fi
echo "== 5. the web build under node and in headless Chromium (build-web/)"
SHELVOY_WERROR=$werror "$root/scripts/build-web.sh" --tests
ctest --test-dir "$root/build-web/game" --output-on-failure -j "$jobs"
# The page as it ships: the zip unpacked, served over HTTP by the test itself; the screenshots it
# looked at stay in build-web/web-tests/shots/.
page=$("$root/scripts/web-page.sh")
shots="$root/build-web/web-tests/shots"
rm -rf "$shots"
mkdir -p "$shots"
NODE_PATH="$root/build-web/web-tests/node_modules" node "$root/tests/web/page_test.cjs" "$page" "$shots"
