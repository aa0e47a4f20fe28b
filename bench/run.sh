#!/usr/bin/env bash
# Writes the benchmark stores (once) and prints the benchmarks' figures.
# Usage: bench/run.sh [--large] [BUILD_DIR]   (default: build)
#   --large  also writes stores of 16 and 32 GiB (minutes, 48 GiB of disk) and measures their
#            discovery from a cold page cache, and writes a PST file past 2 GiB
set -euo pipefail
cd "$(dirname "$0")/.."
large=false
if [ "${1:-}" = "--large" ]; then
    large=true
    shift
fi
build=${1:-build}
if [ ! -x "$build/bench/velmor_bench_discovery" ] || [ ! -x "$build/bench/velmor_bench_browse" ] ||
    [ ! -x "$build/bench/velmor_bench_export" ] || [ ! -x "$build/bench/velmor_bench_message" ] ||
    [ ! -x "$build/bench/velmor_bench_carve" ] || [ ! -x "$build/bench/velmor_bench_search" ] ||
    [ ! -x "$build/src/cli/velmor-cli" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target velmor_bench_discovery velmor_bench_browse \
        velmor_bench_export velmor_bench_message velmor_bench_carve velmor_bench_search velmor-cli
fi
stores="$build/bench/stores"
mkdir -p "$stores"

if [ ! -f "$stores/discovery.edb" ]; then
    "$build/bench/velmor_bench_discovery" write "$stores/discovery.edb"
fi
echo "== discovery (machine load: $(cut -d' ' -f1-3 /proc/loadavg)) =="
"$build/bench/velmor_bench_discovery" measure "$stores/discovery.edb"
if $large; then
    for gib in 16 32; do
        if [ ! -f "$stores/discovery-$gib.edb" ]; then
            "$build/bench/velmor_bench_discovery" write "$stores/discovery-$gib.edb" "$gib"
        fi
        echo "== discovery of $gib GiB, cold (machine load: $(cut -d' ' -f1-3 /proc/loadavg)) =="
        "$build/bench/velmor_bench_discovery" measure-cold "$stores/discovery-$gib.edb"
    done
fi

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

# The export of the same 100,045 mails, each format in a process of its own (peak memory per
# format), written below the stores' directory, on the disk the build lives on.
echo "== export =="
for format in eml mbox pst; do
    "$build/bench/velmor_bench_export" "$format" "$stores/browse.edb" "$stores"
done
if $large; then
    # A PST file past 2 GiB, read back by pffinfo and lspst (minutes: pffinfo goes through
    # every item).
    "$build/bench/velmor_bench_export" pst-large 2.1 "$stores"
fi
if [ ! -f "$stores/message.edb" ]; then
    "$build/bench/velmor_bench_message" write "$stores/message.edb"
fi
echo "== message =="
"$build/bench/velmor_bench_message" measure "$stores/message.edb"

if [ ! -f "$stores/streaming.stm" ]; then
    "$build/bench/velmor_bench_carve" write "$stores/streaming.stm"
fi
echo "== carve (streaming file) =="
"$build/bench/velmor_bench_carve" measure "$stores/streaming.stm"
if $large; then
    for gib in 16 32; do
        if [ ! -f "$stores/streaming-$gib.stm" ]; then
            "$build/bench/velmor_bench_carve" write "$stores/streaming-$gib.stm" "$gib"
        fi
        echo "== carve of $gib GiB =="
        "$build/bench/velmor_bench_carve" measure "$stores/streaming-$gib.stm"
    done
fi
echo "== carve, fidelity =="
"$build/bench/velmor_bench_carve" fidelity
echo "== carve, real mail =="
"$build/bench/velmor_bench_carve" realmail tests/data/real_mail
echo "== carve, hostile inputs =="
"$build/bench/velmor_bench_carve" hostile

if [ ! -f "$stores/search.edb" ]; then
    "$build/bench/velmor_bench_search" write "$stores/search.edb"
fi
echo "== search (machine load: $(cut -d' ' -f1-3 /proc/loadavg)) =="
"$build/bench/velmor_bench_search" measure "$stores/search.edb"
