#!/bin/sh
# Checks the .deb the way a new player meets it. Builds the package in build-deb/, installs it
# with apt-get into a minimal Debian 12 root made by debootstrap (without recommended packages,
# so the package's own Depends must bring everything), then starts `shelvoy` there from / on a
# private Xvfb: the window must open and the countdown run, and Esc must end the game with exit
# code 0 and nothing on stderr. A screenshot of the countdown lands in build-deb/.
#
# Needs root (debootstrap, chroot, mounts) and a Debian 12 mirror; takes a minute or two. The
# mirror is the one this machine's apt takes bookworm from; SHELVOY_DEBIAN_MIRROR overrides it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-deb"

# The first URI of a deb entry for bookworm in the system's apt sources: one-line entries in
# sources.list and sources.list.d/*.list, deb822 stanzas in sources.list.d/*.sources.
system_mirror() {
    list=/etc/apt/sources.list parts=/etc/apt/sources.list.d/
    eval "$(apt-config shell list Dir::Etc::SourceList/f parts Dir::Etc::SourceParts/d)"
    for file in "$list" "$parts"*.list; do
        [ -f "$file" ] || continue
        sed -e 's/#.*//' -e 's/\[[^]]*\]//' "$file" | awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }'
    done
    for file in "$parts"*.sources; do
        [ -f "$file" ] || continue
        awk '
            function flush() {
                if (deb && bookworm && uri != "") print uri
                deb = 0; bookworm = 0; uri = ""
            }
            FNR == 1 { flush() }
            /^[[:space:]]*$/ { flush(); next }
            /^#/ { next }
            tolower($1) == "types:" { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1 }
            tolower($1) == "uris:" { uri = $2 }
            tolower($1) == "suites:" { for (i = 2; i <= NF; i++) if ($i == "bookworm") bookworm = 1 }
            END { flush() }
        ' "$file"
    done
}
mirror="${SHELVOY_DEBIAN_MIRROR:-$(system_mirror | head -1)}"
if [ -z "$mirror" ]; then
    echo "check-deb: this machine's apt takes bookworm from no mirror: name one in SHELVOY_DEBIAN_MIRROR" >&2
    exit 2
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "check-deb: needs root (debootstrap and chroot); try: sudo $0" >&2
    exit 2
fi
"$root/scripts/deps.sh" --deb

echo "== the package (build-deb/)"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHELVOY_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/shelvoy_*.deb)
echo "$deb"

fresh=$(mktemp -d /tmp/shelvoy-fresh-root-XXXXXX)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    for mount in "$fresh/tmp/.X11-unix" "$fresh/dev" "$fresh/proc"; do
        mountpoint -q "$mount" 2>/dev/null && umount "$mount"
    done
    rm -rf "$fresh" "$fresh.display"
}
trap cleanup EXIT INT TERM

echo "== a fresh Debian 12 root ($fresh)"
debootstrap --variant=minbase bookworm "$fresh" "$mirror" >"$build/debootstrap.log" 2>&1 ||
    { tail -20 "$build/debootstrap.log" >&2; exit 1; }
mount -t proc proc "$fresh/proc"
mount --bind /dev "$fresh/dev"
cp /etc/resolv.conf "$fresh/etc/resolv.conf"
cp "$deb" "$fresh/root/"

echo "== apt-get install ./$(basename "$deb") --no-install-recommends"
chroot "$fresh" sh -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends /root/$(basename "$deb")" >"$build/apt.log" 2>&1 ||
    { tail -20 "$build/apt.log" >&2; exit 1; }
echo "$(grep -c '^Setting up' "$build/apt.log") packages set up"

echo "== shelvoy, started from / on a private Xvfb"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fresh.display" 2>/dev/null &
xvfb_pid=$!
for _ in 1 2 3 4 5 6 7 8 9 10; do [ -s "$fresh.display" ] && break; sleep 0.5; done
display=":$(cat "$fresh.display")"
mkdir -p "$fresh/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$fresh/tmp/.X11-unix"

# By name from a player's PATH, as Debian's /etc/profile sets it for users other than root: the
# package puts the game in /usr/games, which root's PATH leaves out.
player_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
timeout 30 chroot "$fresh" sh -c "cd / && PATH=$player_path DISPLAY=$display exec shelvoy" \
    2>"$build/shelvoy.stderr" &
game_pid=$!
DISPLAY=$display timeout 10 xdotool search --sync --name '^Shelvoy! - ' >/dev/null ||
    { echo "check-deb: no game window within 10 s" >&2; cat "$build/shelvoy.stderr" >&2; exit 1; }
sleep 1.5  # into the countdown: the fonts are loaded and the words are drawn
kill -0 "$game_pid" 2>/dev/null ||
    { echo "check-deb: the game ended during the countdown" >&2; cat "$build/shelvoy.stderr" >&2; exit 1; }
if command -v import >/dev/null; then
    DISPLAY=$display import -window root "$build/deb-countdown.png"
fi
DISPLAY=$display xdotool mousemove 400 300 key Escape
status=0
wait "$game_pid" || status=$?
if [ "$status" -ne 0 ] || [ -s "$build/shelvoy.stderr" ]; then
    echo "check-deb: Esc ended the game with exit code $status" >&2
    cat "$build/shelvoy.stderr" >&2
    exit 1
fi
echo "check-deb: installed on a fresh Debian 12, reached the countdown, Esc quit with exit code 0"
