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

# 1. The rules of the game read without a GL call in sight: only drawing files talk to OpenGL.
drawing='_draw\.cpp$|^src/render/(solids|text|b2debug|gl)\.(cpp|h)$|^src/main/(frame|screens)\.cpp$'
for file in $(git ls-files 'src/*.cpp' 'src/*.h'); do
    if echo "$file" | grep -Eq "$drawing"; then continue; fi
    if grep -nE '\bgl[A-Z][A-Za-z0-9]*\(|\bglu[A-Z]|#include <GL/|render/gl\.h' "$file"; then
        fail "$file: OpenGL outside the drawing files"
    fi
done

# 2. Every header guards itself.
for file in $(git ls-files 'src/*.h' 'tests/*.h'); do
    head -5 "$file" | grep -q '^#pragma once' || fail "$file: no #pragma once"
done

# 3. No unbounded formatting or copying into fixed buffers.
if git ls-files 'src/*' 'tests/*' | xargs grep -nE '\b(sprintf|vsprintf|strcpy|strcat|gets)\('; then
    fail "unbounded string functions: use std::string or snprintf"
fi

# 4. Globals live in one place: the shell's switches in src/main/shell_state.cpp.
for file in $(git ls-files 'src/*.h'); do
    [ "$file" = src/main/shell_state.h ] && continue
    if grep -nE '^extern [^"]' "$file" | grep -v 'extern const'; then
        fail "$file: a mutable global outside src/main/shell_state.h"
    fi
done

# 5. The house format (.clang-format).
if command -v clang-format >/dev/null 2>&1; then
    for file in $(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h'); do
        clang-format --dry-run --Werror "$file" 2>/dev/null || fail "$file: not in the house format (clang-format -i $file)"
    done
else
    fail "clang-format is not installed"
fi

[ $status -eq 0 ] && echo "conventions: all checks passed"
exit $status
