#!/bin/sh
# Checks the house rules that a compiler does not (see CONTRIBUTING.md). Exits non-zero and
# names every offending line. Run from anywhere; CTest runs it as the "conventions" test.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
status=0

fail() {
    echo "conventions: $1" >&2
    status=1
}

# The files to check: what git tracks, or, in a tree without git (an unpacked tarball), what is
# there. A check that finds no source at all has checked nothing: that is a failure too.
files() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -- "$@"
    else
        for pattern in "$@"; do
            find "${pattern%%/*}" -type f -path "$pattern" 2>/dev/null
        done | sort -u
    fi
}
if [ -z "$(files 'src/*.cpp')" ] || [ -z "$(files 'src/*.h')" ]; then
    echo "conventions: no source files under $root/src to check" >&2
    exit 1
fi

# 1. The rules of the game read without a GL call in sight: only drawing files talk to OpenGL.
# The web platform's OpenGL layer (src/platform/web/web_gl.cpp) is OpenGL itself, for the browser.
drawing='_draw\.cpp$|^src/render/(solids|text|b2debug|gl|gl_check)\.(cpp|h)$|^src/main/(frame|screens)\.cpp$|^src/platform/web/web_gl\.cpp$'
for file in $(files 'src/*.cpp' 'src/*.h'); do
    if echo "$file" | grep -Eq "$drawing"; then continue; fi
    if grep -nE '\bgl[A-Z][A-Za-z0-9]*\(|\bglu[A-Z]|#include <GL/|render/gl\.h' "$file"; then
        fail "$file: OpenGL outside the drawing files"
    fi
done

# 2. The shell sits on top: nothing below it includes anything of src/main.
for file in $(files 'src/*.cpp' 'src/*.h'); do
    case "$file" in src/main/*) continue ;; esac
    if grep -n '#include "main/' "$file"; then
        fail "$file: includes the shell (src/main) from below it"
    fi
done

# 3. Every header guards itself.
for file in $(files 'src/*.h' 'tests/*.h'); do
    head -5 "$file" | grep -q '^#pragma once' || fail "$file: no #pragma once"
done

# 4. No unbounded formatting or copying into fixed buffers.
if files 'src/*' 'tests/*' | xargs grep -nE '\b(sprintf|vsprintf|strcpy|strcat|gets)\('; then
    fail "unbounded string functions: use std::string or snprintf"
fi

# 5. Mutable globals live in one place: the shell's state, defined in src/main/shell_state.cpp
#    (declared there and, for the window size the drawing reads, in src/render/window_size.h).
#    The text module keeps its program-wide font cache to itself, and the X error handler, which
#    Xlib calls without user data, the error it keeps; and the web platform's OpenGL layer, the
#    state of the one GL context, as any GL library keeps it.
for file in $(files 'src/*.h'); do
    case "$file" in src/main/shell_state.h | src/render/window_size.h) continue ;; esac
    if grep -nE '^extern [^"]' "$file" | grep -v 'extern const'; then
        fail "$file: a mutable global outside the shell's state"
    fi
done
for file in $(files 'src/*.cpp'); do
    case "$file" in src/main/shell_state.cpp | src/render/text.cpp | src/platform/x11_display_errors.cpp | src/platform/web/web_gl.cpp) continue ;; esac
    # A declaration at column 0 (file or namespace scope: namespaces are not indented) of a
    # variable that is neither const nor constexpr.
    if awk '/^[A-Za-z_]/ {
            if ($0 ~ /^(const|constexpr|static const|static constexpr|inline|using|typedef|template|namespace|struct|class|enum|union|extern|static_assert|friend)[ :<]/)
                next
            head = $0
            sub(/[={;].*/, "", head)
            if (head ~ /\(/ || head !~ /[A-Za-z_0-9>*&] +[*&]*[A-Za-z_][A-Za-z_0-9]*(\[[^]]*\])? *$/ || $0 !~ /[;={]/)
                next
            print FNR ": " $0
            found = 1
        }
        END { exit found ? 0 : 1 }' "$file"; then
        fail "$file: a mutable variable at file scope, outside the shell's state"
    fi
done

# 6. The house format (.clang-format).
if command -v clang-format >/dev/null 2>&1; then
    for file in $(files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h'); do
        clang-format --dry-run --Werror "$file" 2>/dev/null || fail "$file: not in the house format (clang-format -i $file)"
    done
else
    fail "clang-format is not installed"
fi

[ $status -eq 0 ] && echo "conventions: all checks passed"
exit $status
