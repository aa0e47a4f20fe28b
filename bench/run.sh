#!/usr/bin/env bash
# Writes the benchmark stores (once) and prints the benchmarks' figures.
# Usage: bench/run.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -x "$build/bench/velmor_bench_discovery" ] || [ ! -x "$build/bench/velmor_bench_browse" ] ||
    [ ! -x "$build/bench/velmor_bench_message" ] || [ ! -x "$build/src/cli/velmor-cli" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target velmor_bench_discovery velmor_bench_browse \
        velmor_bench_message velmor-cli
fi
stores="$build/bench/stores"
mkdir -p "$stores"

if [ ! -f "$stores/discovery.edb" ]; then
    "$build/bench/velmor_bench_discovery" write "$stores/discovery.edb"
fi
echo "== discovery =="
"$build/bench/velmor_bench_discovery" measure "$stores/discovery.edb"

if [ ! -f "$stores/browse.edb" ]; then
    "$build/bench/velmor_bench_browse" write "$stores/browse.edb"
fi
echo "== browse =="
"$build/bench/velmor_bench_browse" measure "$stores/browse.edb"
# The two commands end to end, discovery included: the 10,011 folders of mailbox row 2 and the
# 100,045 mails of the largest folder.
TIMEFORMAT="%R s"
echo -n "velmor-cli folders: "
{ time "$build/src/cli/velmor-cli" folders "$stores/browse.edb" 2 >/dev/null; } 2>&1
echo -n "velmor-cli items:   "
{ time "$build/src/cli/velmor-cli" items "$stores/browse.edb" 1 \
    'Mailbox - User 0\Top of Information Store\Inbox\' >/dev/null; } 2>&1

if [ ! -f "$stores/message.edb" ]; then
    "$build/bench/velmor_bench_message" write "$stores/message.edb"
fi
echo "== message =="
"$build/bench/velmor_bench_message" measure "$stores/message.edb"
