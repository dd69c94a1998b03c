#!/usr/bin/env bash
# Runs a Windows test program under wine with a display, in a fresh prefix with the Chinese UI
# faces mapped (tests/win/wine_prefix.sh):  run_under_wine.sh <program.exe> [arguments]
# Exit 77 (skipped) when wine64 or Xvfb is missing.
set -u
for tool in /usr/lib/wine/wine64 Xvfb xdpyinfo; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
# shellcheck source=tests/win/wine_prefix.sh
source "$(dirname "$(realpath "$0")")/wine_prefix.sh"
trap 'close_wine_prefix; rm -rf "$scratch"' EXIT
make_wine_prefix "$scratch" || exit 1
"$wine64" "$@" </dev/null
