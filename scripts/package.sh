#!/usr/bin/env bash
# Builds the Debian package velmor_<version>_<arch>.deb (Release build, Debian's hardening
# flags, stripped), checks it with lintian, unpacks it into a scratch root and runs velmor-cli
# from there on the demo database.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
for tool in lintian dpkg-shlibdeps fakeroot; do
    if ! command -v "$tool" >/dev/null; then
        sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq lintian dpkg-dev fakeroot
        break
    fi
done

build=build-package
eval "$(dpkg-buildflags --export=sh)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DVELMOR_BUILD_TESTS=OFF -DVELMOR_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/velmor_*.deb)
echo "Built $package"

# lintian: no errors; the warnings it still gives are listed, with their reasons, in the README.
lintian --fail-on error --tag-display-limit 0 "$package"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$package" "$root"
"$root/usr/bin/velmor-cli" --version
"$root/usr/bin/velmor-cli" mailboxes "$build/Demo.edb"
