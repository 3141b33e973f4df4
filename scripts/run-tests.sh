#!/usr/bin/env bash
# Builds the project and runs every test: the unit and window tests, the
# scenario tests, the 32-bit layout check, the windows read through AT-SPI
# (scripts/check-accessibility.sh) and the installed tree (the example
# host built against it, the Debian package). With --sanitize the tests run
# once more in a separate AddressSanitizer/UndefinedBehaviorSanitizer build,
# followed by the fuzz target replaying its corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

echo "== 32-bit layout check"
g++ -m32 -std=c++20 -fsyntax-only -Isrc -x c++ - <<'SRC'
#include "protocol/TarvolanAbi.h"
static_assert(sizeof(void*) == 4);
static_assert(sizeof(tarvolan::THistoryEntry) == 341);
SRC
echo "32-bit layouts: 1 passed, 0 failed"

echo "== build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
echo "== tests"
ctest --test-dir build --output-on-failure -j2 --timeout 300
echo "== accessibility through AT-SPI"
scripts/check-accessibility.sh build --all
scripts/check-accessibility.sh build --all --english
echo "== install, example host and Debian package"
scripts/check-install.sh build

if [ "${1:-}" = "--sanitize" ] && [ -x scripts/run-sanitized.sh ]; then
  scripts/run-sanitized.sh
fi
