#!/bin/sh
# Makes ready what drives the web build's page (scripts/test.sh and scripts/bench.sh use it): the
# npm packages tests/web/package-lock.json pins (puppeteer-core, pngjs) in build-web/web-tests/,
# and the packed zip of scripts/build-web.sh unpacked afresh into build-web/web-tests/page/.
# Prints the folder that holds index.html. Run scripts/build-web.sh first.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
web_tests="$root/build-web/web-tests"
mkdir -p "$web_tests"
cp "$root/tests/web/package.json" "$root/tests/web/package-lock.json" "$web_tests/"
(cd "$web_tests" && npm ci --no-audit --no-fund --loglevel=error >&2)
rm -rf "$web_tests/page"
mkdir -p "$web_tests/page"
(cd "$web_tests/page" && unzip -q "$root"/build-web/shelvoy-*-web.zip)
echo "$web_tests/page/$(ls "$web_tests/page")"
