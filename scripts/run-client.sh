#!/usr/bin/env bash
# Builds the project and starts the reference client with the demo world.
# Extra arguments go to the client (for example --headless --scenario FILE).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tarvolan-client Tarvolan
exec build/bin/tarvolan-client --lang zh_CN "$@"
