#!/usr/bin/env bash
# Builds the client and takes the pictures shown in the README: the client
# plays tests/scenarios/screenshots.json headless (offscreen platform, the
# CJK font, Chinese texts) and writes every picture into docs/screenshots/,
# then tests/scenarios/english.json (English desktop and world) for the
# English pictures main_en.png and conversation_en.png; then plays both again
# at pixel ratio 2 (QT_SCALE_FACTOR=2) and puts those pictures beside the
# others as <name>@2x.png.
# The same scenarios run as ctests, writing into the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tarvolan-client Tarvolan
mkdir -p docs/screenshots
play() {
  QT_QPA_PLATFORM=offscreen "$root/build/bin/tarvolan-client" --headless --lang zh_CN \
    --scenario "$root/tests/scenarios/screenshots.json"
  QT_QPA_PLATFORM=offscreen "$root/build/bin/tarvolan-client" --headless --lang en_US \
    --scenario "$root/tests/scenarios/english.json"
}
(cd docs/screenshots && play)
at2x=$(mktemp -d)
trap 'rm -rf "$at2x"' EXIT
(cd "$at2x" && QT_SCALE_FACTOR=2 play)
for picture in "$at2x"/*.png; do
  name=$(basename "$picture" .png)
  mv "$picture" "docs/screenshots/$name@2x.png"
done
ls -l "$root/docs/screenshots"
