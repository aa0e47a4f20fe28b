#!/usr/bin/env bash
# Checks the files a desktop installation gets: the desktop entry, the AppStream metadata and
# the manual pages, which must render without a warning.
# Usage: check-files.sh DESKTOP-ENTRY METAINFO MANPAGE...
set -euo pipefail
desktop=$1
metainfo=$2
shift 2

desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"
for page in "$@"; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
        echo "$page: $warnings" >&2
        exit 1
    fi
done
echo "The desktop entry, the metadata and the manual pages are valid."
