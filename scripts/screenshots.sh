#!/usr/bin/env bash
# Takes pictures of the three wizard steps on the demo database, without a display, into
# docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
build=${VELMOR_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target velmor-make-demo velmor-screenshots
"$build/tools/edb_writer/velmor-make-demo" "$build/Demo.edb"
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen "$build/src/ui/velmor-screenshots" "$build/Demo.edb" docs/screenshots
