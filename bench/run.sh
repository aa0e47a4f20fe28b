#!/usr/bin/env bash
# Writes the benchmark stores (once) and prints the benchmarks' figures.
# Usage: bench/run.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -x "$build/bench/velmor_bench_discovery" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target velmor_bench_discovery
fi
stores="$build/bench/stores"
mkdir -p "$stores"

if [ ! -f "$stores/discovery.edb" ]; then
    "$build/bench/velmor_bench_discovery" write "$stores/discovery.edb"
fi
echo "== discovery =="
"$build/bench/velmor_bench_discovery" measure "$stores/discovery.edb"
