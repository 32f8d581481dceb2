#!/usr/bin/env bash
# Runs a Windows test program under Wine in a fresh prefix of its own set to
# the DPI given (LogPixels), so that one test can look at the window at 150%.
#   with-dpi.sh DPI PROGRAM [ARGS...]
set -euo pipefail
dpi=$1
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d /tmp/zx-dpi.XXXXXX)
cleanup() { wineserver -k 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
. "$root/scripts/wine-prefix.sh"
zx_wine_prefix "$tmp" "$dpi"
ZX_EXPECT_DPI=$dpi wine "$@"
