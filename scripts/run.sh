#!/usr/bin/env bash
# Builds everything and starts the desktop program velmor. Without a display it lists the
# mailboxes of the demo database with velmor-cli instead.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_UNITY_BUILD=ON >/dev/null
cmake --build build -j "$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display for velmor; its command-line equivalent: velmor-cli mailboxes build/Demo.edb"
    exec ./build/src/cli/velmor-cli mailboxes build/Demo.edb
fi
exec ./build/src/ui/velmor
