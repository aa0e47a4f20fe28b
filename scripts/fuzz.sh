#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for SECONDS, starting from the writer's seed corpora and the kept crash inputs.
#   scripts/fuzz.sh SECONDS [TARGET...]     (default: every target)
# The grown corpora stay in build-fuzz/corpus/; a crash leaves its input in build-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
build=build-fuzz
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMOR_BUILD_FUZZ=ON -DVELMOR_BUILD_TESTS=OFF -DVELMOR_BUILD_BENCH=OFF \
    -DVELMOR_BUILD_GUI=OFF -DVELMOR_UNITY_BUILD=ON >/dev/null
cmake --build "$build" -j "$jobs"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets <"$build/fuzz-targets.txt"
fi

rm -rf "$build/seeds"
"$build/fuzz/velmor-fuzz-seeds" "$build/seeds"
# The whole-run target writes the message template; keep it out of the user's directory.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$build/crashes"

for target in "${targets[@]}"; do
    binary="$build/fuzz/fuzz_$target"
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    regressions="fuzz/regressions/$target"
    if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
        TMPDIR="$scratch" "$binary" -runs=1 "$regressions"/* 2>&1 | tail -n 1
    fi
    echo "== $target: ${seconds}s"
    log="$build/crashes/$target.log"
    status=0
    TMPDIR="$scratch" ASAN_OPTIONS=detect_leaks=1 "$binary" "$corpus" "$build/seeds/$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=200000 \
        -artifact_prefix="$build/crashes/$target-" -print_final_stats=1 >"$log" 2>&1 || status=$?
    grep -E "^stat::(number_of_executed_units|peak_rss_mb)|^Done" "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log" >&2
        echo "fuzz target $target failed; its input is in $build/crashes/" >&2
        exit 1
    fi
done
