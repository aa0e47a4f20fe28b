#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when one is missing.
# Usage: scripts/install-deps.sh [--tests]
#   --tests  also the programs the tests read exported files with (the PST readers) and the
#            exFAT tools a test mounts a drive with
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev qt6-base-dev qt6-svg-dev clang
    libclang-rt-14-dev libesedb-utils desktop-file-utils appstream man-db groff-base
    libgmime-3.0-dev libical-dev libicu-dev libuchardet-dev python3-vobject pkg-config)
if [ "${1:-}" = "--tests" ]; then
    packages+=(pst-utils pff-tools exfatprogs exfat-fuse)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
