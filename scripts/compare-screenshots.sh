#!/bin/sh
# Compares the end-to-end tests' screenshots with a copy kept from before a change, byte for
# byte: every PNG in BEFORE against the file of the same name in AFTER (by default the ones
# the last `ctest -L e2e` saved in build-test/). The error box's picture is left out: it names a
# temporary directory of its run. Exits with 1 when a picture differs or is missing.
#
#   ctest --test-dir build-test -L e2e              # on the code before the change
#   cp -r build-test/tests/e2e/screenshots /tmp/before
#   ...                                              # change, rebuild, run the e2e tests again
#   scripts/compare-screenshots.sh /tmp/before
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
before=$1
after=${2:-$root/build-test/tests/e2e/screenshots}
same=0
status=0
for file in "$before"/*.png; do
    name=$(basename "$file")
    [ "$name" = error-box.png ] && continue
    if cmp -s "$file" "$after/$name"; then
        same=$((same + 1))
    else
        echo "differs: $name"
        status=1
    fi
done
echo "$same screenshots byte-identical"
exit $status
