#!/usr/bin/env bash
# Writes the window benchmark's store (once) and prints its figures, without a display.
# Usage: bench/gui/run.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
if [ ! -x "$build/bench/gui/velmor_bench_window" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target velmor_bench_window
fi
stores="$build/bench/stores"
mkdir -p "$stores"
if [ ! -f "$stores/window.edb" ]; then
    "$build/bench/gui/velmor_bench_window" write "$stores/window.edb"
fi
echo "== window =="
QT_QPA_PLATFORM=offscreen "$build/bench/gui/velmor_bench_window" measure "$stores/window.edb"
