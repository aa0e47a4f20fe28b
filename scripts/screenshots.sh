#!/usr/bin/env bash
# Takes pictures of the three wizard steps on the demo database, without a display, into
# docs/screenshots/. Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
build=${1:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target demo_database velmor-screenshots
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen "$build/src/ui/velmor-screenshots" "$build/Demo.edb" docs/screenshots
