#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when one is missing.
# Usage: scripts/install-deps.sh [--tests]
#   --tests  also the programs the tests read exported files with (the PST readers, and the
#            npm package pst-extractor when npm is installed) and the exFAT tools a test mounts
#            a drive with
set -euo pipefail

# fonts-dejavu-core: the fonts the window relies on, DejaVu Sans and, for Internet headers and
# plain-text bodies, DejaVu Sans Mono.
packages=(cmake ninja-build g++ libgtest-dev libgmock-dev qt6-base-dev qt6-svg-dev clang
    libclang-rt-14-dev libesedb-utils desktop-file-utils appstream man-db groff-base
    libgmime-3.0-dev libical-dev libicu-dev libuchardet-dev libxapian-dev python3-vobject pkg-config
    fonts-dejavu-core)
if [ "${1:-}" = "--tests" ]; then
    packages+=(pst-utils pff-tools exfatprogs exfat-fuse)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# A third PST reader from the npm registry, where npm is at hand; without it its test is
# skipped, so a failed install does not stop the script.
if [ "${1:-}" = "--tests" ] && command -v npm >/dev/null &&
    ! npm ls -g pst-extractor >/dev/null 2>&1; then
    $sudo npm install -g --no-audit --no-fund pst-extractor >/dev/null 2>&1 ||
        echo "pst-extractor not installed: its PST test is skipped"
fi
