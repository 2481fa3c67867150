# Sourced by scripts/build-windows.sh and scripts/build-web.sh: the libraries a cross build links,
# from Debian's own source packages, built once into a prefix of the build's own. The script that
# sources this sets, before calling anything here:
#   me          its name, which starts every message ("build-windows")
#   root        the repository
#   build       its build directory (build-windows/, build-web/)
#   libraries   one line per library: Debian source package, version, directory it unpacks into
#               ($pinned_libraries, and any the build needs besides)
#   toolchain   the CMake toolchain file the libraries are built with
#   jobs        how many compilers run at once
# and calls cross_build_arguments with its own arguments, which sets the rest.
# The sources come from the archives this machine's apt already uses: the deb-src twins of its
# entries go into a private apt configuration under $build/apt/, and the system's apt setup stays
# as it is.

# The libraries every build of the game links, in build order (FTGL needs FreeType): the Debian
# source package, its version in Debian 12 (the one the Linux build links), and the directory its
# sources unpack into.
pinned_libraries="
box2d    2.4.1-3                box2d-2.4.1
glfw3    3.3.8-1                glfw-3.3.8
freetype 2.12.1+dfsg-5+deb12u4  freetype-2.12.1
ftgl     2.4.0-2.1              ftgl-2.4.0
"

# Reads the build script's arguments: --tests (tests=ON) or none. Sets sources (where the sources
# unpack), deps (the prefix the libraries install into, with stamps/ for what was built) and logs
# (what each library's build printed), all under $build.
cross_build_arguments() {
    tests=OFF
    case "${1:-}" in
    --tests) tests=ON ;;
    "") ;;
    *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
    esac
    sources="$build/sources"
    deps="$build/deps"
    logs="$build/logs"
}

# apt-get or apt-cache with the private configuration: its own source list, package lists and
# cache under $build/apt/; everything else (proxies, keyrings) as the system's apt has it.
apt="$build/apt"
apt_private() {
    command=$1
    shift
    # As root, apt downloads as its user _apt, who may not write into $sources/.
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
        echo "$me: no deb entry in $system_list or ${system_parts}*.{list,sources}" >&2
        exit 1
    fi
    echo "== apt-get update (deb-src of this machine's apt sources, in ${apt#"$root"/}/)"
    # An archive without sources (a third-party one, say) only warns here; what matters is
    # whether the pinned versions are found below.
    apt_private apt-get update -qq || echo "$me: apt-get update reported errors; going on"
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

# Brings one library's sources to $sources/<dir>/, unless they are there.
fetch_sources() {
    package=$1 version=$2 dir=$3
    [ -d "$sources/$dir" ] && return 0
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "$me: no $sources/$dir, and no apt-get to download $package $version:" >&2
        echo "  unpack that version's upstream release there (see the top of $0)" >&2
        exit 1
    fi
    [ "$apt_ready" -eq 1 ] || write_private_sources
    apt_ready=1

    offered=$(apt_private apt-cache showsrc --only-source "$package" 2>/dev/null |
        sed -n 's/^Version: //p' | sort -u | tr '\n' ' ' | sed 's/ $//')
    if ! echo " $offered " | grep -qF " $version "; then
        cat >&2 <<EOF
$me: apt offers $package ${offered:-in no version}, not the pinned $version.
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
        echo "$package: unpacked with Debian's patches into ${sources#"$root"/}/$dir/"
    elif [ -f "$sources/$dsc" ] && orig=$(unpack_orig "$sources/$dsc" "$sources/$dir"); then
        # Seen with ftgl 2.4.0-2.1: its .debian.tar.xz is missing from the archive, while its
        # upstream tarball is there and carries the CMake build this script uses.
        echo "$package: Debian's changes for $version could not be downloaded; building" \
            "$orig as it is, without them, from ${sources#"$root"/}/$dir/"
    else
        echo "$me: could not download $package $version (see apt-get's message above)" >&2
        exit 1
    fi
}


# Brings the sources of every library in $libraries.
fetch_all_sources() {
    apt_ready=0
    # shellcheck disable=SC2086
    set -- $libraries
    while [ $# -ge 3 ]; do
        fetch_sources "$1" "$2" "$3"
        shift 3
    done
}

# Runs a command (the rest of the arguments) that builds a library and installs it into deps/,
# unless the stamp for this package and version says it ran with the same configuration (the
# third argument); its output goes to logs/<package>.log. $after_install, when set, names a
# function that adds to the installed files before the stamp is written. Sets built=1 when it ran.
build_once() {
    package=$1 version=$2 configuration=$3
    shift 3
    stamp="$deps/stamps/${package}_${version}"
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$configuration" ]; then
        echo "$package $version: reusing the build in deps/"
        return 0
    fi
    echo "== $package $version: building (log: ${logs#"$root"/}/$package.log)"
    rm -f "$stamp"
    "$@" >"$logs/$package.log" 2>&1 || {
        tail -40 "$logs/$package.log" >&2
        echo "$me: $package failed; the whole log is $logs/$package.log" >&2
        exit 1
    }
    [ -z "${after_install:-}" ] || "$after_install" "$version"
    echo "$configuration" >"$stamp"
    built=1
}

# Configures, builds and installs one CMake project: its sources, then its CMake options.
cmake_build() {
    work="$build/build/$package"
    rm -rf "$work"
    source=$1
    shift
    cmake -S "$source" -B "$work" -G "Unix Makefiles" "$@" &&
        cmake --build "$work" -j "$jobs" &&
        cmake --install "$work"
}

# Builds a library from sources/<dir>/ (or <dir> itself when it is an absolute path) with CMake
# and installs it into deps/, once for each version and set of options (build_once). Arguments:
# package, version, directory, then the library's own CMake options.
build_library() {
    package=$1 version=$2 dir=$3
    shift 3
    case "$dir" in
    /*) source=$dir ;;
    *) source="$sources/$dir" ;;
    esac
    # CMake 4 refuses the older projects' cmake_minimum_required without the policy minimum.
    set -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
        -DCMAKE_INSTALL_PREFIX="$deps" -DCMAKE_PREFIX_PATH="$deps" -DCMAKE_INSTALL_LIBDIR=lib \
        -DCMAKE_POLICY_VERSION_MINIMUM=3.5 "$@"
    build_once "$package" "$version" "$* toolchain $(cksum <"$toolchain")" cmake_build "$source" "$@"
}

version_of() {
    echo "$libraries" | awk -v package="$1" '$1 == package { print $2 }'
}
dir_of() {
    echo "$libraries" | awk -v package="$1" '$1 == package { print $3 }'
}

# Copies a library's licence to deps/share/doc/<name>/copyright: the first of the files named that
# exists.
copy_licence() {
    mkdir -p "$deps/share/doc/$1"
    for candidate in "$2" "${3:-}"; do
        if [ -f "$candidate" ]; then
            cp "$candidate" "$deps/share/doc/$1/copyright"
            return 0
        fi
    done
    echo "$me: no licence for $1 at $2${3:+ or ${3:-}}" >&2
    exit 1
}

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
Description: OpenGL frontend to Freetype 2 ($ftgl_description)
Version: ${1%-*}
Requires: freetype2
Libs: -L\${libdir} -lftgl $ftgl_libs
Cflags: -I\${includedir} -I\${includedir}/FTGL -DFTGL_LIBRARY_STATIC
EOF
}

# Box2D, FreeType and FTGL, which every build of the game links, built as static libraries. Set
# ftgl_libs to the GL libraries FTGL's glyphs call (they follow -lftgl in its .pc file) and
# ftgl_description to what its .pc says of this build.
build_physics_and_text_libraries() {
    build_library box2d "$(version_of box2d)" "$(dir_of box2d)" \
        -DBOX2D_BUILD_UNIT_TESTS=OFF -DBOX2D_BUILD_TESTBED=OFF -DBOX2D_BUILD_DOCS=OFF
    # Only TrueType from memory is asked of FreeType: none of the optional libraries (its gzip
    # support keeps its own copy of zlib's inflate code).
    built=0
    build_library freetype "$(version_of freetype)" "$(dir_of freetype)" \
        -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
        -DFT_DISABLE_BROTLI=ON
    # FTGL compiled against an older FreeType is built again.
    if [ "$built" -eq 1 ]; then rm -f "$deps/stamps/ftgl_"*; fi

    # FTGL's src/CMakeLists.txt also lists FTLibrary.h among the sources of src/, where there is
    # none (the header is src/FTGL/FTLibrary.h), and CMake stops at the missing file: the line goes.
    ftgl_src="$sources/$(dir_of ftgl)/src"
    if [ ! -e "$ftgl_src/FTLibrary.h" ] && grep -q '^[[:space:]]*FTLibrary\.h$' "$ftgl_src/CMakeLists.txt"; then
        sed -i '/^[[:space:]]*FTLibrary\.h$/d' "$ftgl_src/CMakeLists.txt"
    fi
    after_install=write_ftgl_pc
    build_library ftgl "$(version_of ftgl)" "$(dir_of ftgl)" \
        -DCMAKE_DISABLE_FIND_PACKAGE_Doxygen=ON -DCMAKE_DISABLE_FIND_PACKAGE_CxxTest=ON
    after_install=""
}

# The licences of Box2D, FreeType and FTGL into deps/share/doc/: Debian's copyright file, or
# upstream's licence where Debian's changes are missing.
copy_physics_and_text_licences() {
    copy_licence box2d "$sources/$(dir_of box2d)/debian/copyright" "$sources/$(dir_of box2d)/LICENSE"
    copy_licence freetype "$sources/$(dir_of freetype)/debian/copyright" "$sources/$(dir_of freetype)/docs/FTL.TXT"
    copy_licence ftgl "$sources/$(dir_of ftgl)/debian/copyright" "$sources/$(dir_of ftgl)/COPYING"
}

# Builds the game in $build/game/ with the toolchain, against the libraries in deps/ (its tests too
# with --tests; SHELVOY_WERROR=ON makes warnings errors), packs it with cpack, and puts the
# packages named by the arguments (patterns of file names) into $build/.
build_game_and_packages() {
    game="$build/game"
    echo "== the game (${game#"$root"/}/)"
    cmake -S "$root" -B "$game" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$deps" \
        -DCMAKE_BUILD_TYPE=Release -DSHELVOY_BUILD_TESTS="$tests" -DSHELVOY_WERROR="${SHELVOY_WERROR:-OFF}" >/dev/null
    cmake --build "$game" -j "$jobs"

    echo "== the packages"
    rm -rf "$game/packages"
    (cd "$game" && cpack -B "$game/packages" >"$logs/cpack.log" 2>&1) ||
        { tail -40 "$logs/cpack.log" >&2; exit 1; }
    for pattern in "$@"; do
        # shellcheck disable=SC2086
        (cd "$build" && rm -f $pattern)
        for package in "$game/packages"/$pattern; do
            cp "$package" "$build/"
            echo "${build#"$root"/}/$(basename "$package")"
        done
    done
}
