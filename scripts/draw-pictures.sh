#!/usr/bin/env bash
# Redraws the application's pictures into resources/images from resources/painter.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-pictures
cmake -S . -B "$build" -G Ninja -DVELMOR_BUILD_TESTS=OFF -DVELMOR_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target velmor_draw_pictures
QT_QPA_PLATFORM=offscreen "$build/src/ui/velmor_draw_pictures" resources/images
