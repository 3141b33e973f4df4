#!/usr/bin/env bash
# Builds the client and takes the pictures shown in the README: the client
# plays tests/scenarios/screenshots.json headless (offscreen platform, the
# CJK font, Chinese texts) and writes every picture into docs/screenshots/.
# The same scenario runs as a ctest that writes into the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tarvolan-client Tarvolan
mkdir -p docs/screenshots
cd docs/screenshots
QT_QPA_PLATFORM=offscreen "$root/build/bin/tarvolan-client" --headless --lang zh_CN \
  --scenario "$root/tests/scenarios/screenshots.json"
ls -l "$root/docs/screenshots"
