#!/usr/bin/env bash
# Builds everything and lists the mailboxes of the demo database.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
./build/src/cli/velmor-cli mailboxes build/Demo.edb
