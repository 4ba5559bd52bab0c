#!/usr/bin/env bash
# Builds the Debian package: a Release build without the tests, then CPack.
# Prints the package's path on the last line.
#   scripts/package.sh [--lintian]   --lintian also checks the package (fails on an error)
set -euo pipefail
cd "$(dirname "$0")/.."
BARLINK_EXTRA_PACKAGES="help2man dpkg-dev file ${BARLINK_EXTRA_PACKAGES:-}" scripts/install-deps.sh
cmake --preset release -DBARLINK_BUILD_TESTS=OFF >/dev/null
cmake --build --preset release
rm -f build/release/barlink_*.deb
cpack --preset deb >/dev/null
deb=$(ls build/release/barlink_*.deb)
if [ "${1:-}" = --lintian ]; then
    BARLINK_EXTRA_PACKAGES=lintian scripts/install-deps.sh
    lintian --fail-on error --display-info --pedantic "$deb" >&2
fi
echo "$deb"
