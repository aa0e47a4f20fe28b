#!/usr/bin/env bash
# Builds the unit tests with ThreadSanitizer and runs the tests that start threads: the
# discovery worker, the full-file pass's threads and the folder scan's, the browse jobs, the
# tree workers, check propagation and the stop flag.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-tsan
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_THREAD_SANITIZE=ON \
    -DVELMOR_BUILD_BENCH=OFF -DVELMOR_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target velmor_unit_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$build/tests/velmor_unit_tests" \
    --gtest_filter='WorkerThreads*:BrowseJob*:DiscoveryWorker*:PageGrouping*:MessageCandidates*:ParallelPass*:FolderTableScan*:CheckPropagation*:StopFlag*' \
    --gtest_repeat="${1:-3}"
