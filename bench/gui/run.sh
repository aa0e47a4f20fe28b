#!/usr/bin/env bash
# Writes the window benchmark's store (once) and prints its figures, without a display.
# Usage: bench/gui/run.sh [--large] [--search] [BUILD_DIR]   (default: build)
#   --large  also runs discovery in the window on the 32 GiB store that `bench/run.sh --large`
#            writes, read from the disk: event-loop pauses, the scan bar and Stop
#   --search also times the search box on the search benchmark's store of 100,000 mails
set -euo pipefail
cd "$(dirname "$0")/../.."
large=false
search=false
while [ "${1:-}" = "--large" ] || [ "${1:-}" = "--search" ]; do
    if [ "$1" = "--large" ]; then large=true; else search=true; fi
    shift
done
build=${1:-build}
if [ ! -x "$build/bench/gui/velmor_bench_window" ] ||
    [ ! -x "$build/bench/gui/velmor_bench_discovery_window" ] || [ ! -x "$build/src/cli/velmor-cli" ] ||
    [ ! -x "$build/bench/gui/velmor_bench_window_search" ] || [ ! -x "$build/bench/velmor_bench_search" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target velmor_bench_window velmor_bench_discovery_window velmor-cli \
        velmor_bench_window_search velmor_bench_search
fi
stores="$build/bench/stores"
mkdir -p "$stores"
if [ ! -f "$stores/window.edb" ]; then
    "$build/bench/gui/velmor_bench_window" write "$stores/window.edb"
fi
export VELMOR_CLI="$build/src/cli/velmor-cli"
echo "== window, offscreen (machine load: $(cut -d' ' -f1-3 /proc/loadavg)) =="
QT_QPA_PLATFORM=offscreen "$build/bench/gui/velmor_bench_window" measure "$stores/window.edb"
# The same on an X display, where the window really paints.
if command -v xvfb-run >/dev/null; then
    echo "== window, xcb under Xvfb (machine load: $(cut -d' ' -f1-3 /proc/loadavg)) =="
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" \
        "$build/bench/gui/velmor_bench_window" measure "$stores/window.edb"
else
    echo "no xvfb-run: the window on an X display is not measured" >&2
fi
if $large; then
    large_store="$build/bench/stores/discovery-32.edb"
    if [ ! -f "$large_store" ]; then
        echo "no $large_store: run bench/run.sh --large first" >&2
        exit 1
    fi
    echo "== discovery of 32 GiB in the window (machine load: $(cut -d' ' -f1-3 /proc/loadavg)) =="
    QT_QPA_PLATFORM=offscreen "$build/bench/gui/velmor_bench_discovery_window" measure "$large_store"
fi
if $search; then
    if [ ! -f "$stores/search.edb" ]; then
        "$build/bench/velmor_bench_search" write "$stores/search.edb"
    fi
    echo "== search box, offscreen (machine load: $(cut -d' ' -f1-3 /proc/loadavg)) =="
    QT_QPA_PLATFORM=offscreen "$build/bench/gui/velmor_bench_window_search" measure "$stores/search.edb"
fi
