#!/usr/bin/env bash
# Screenshot of a Windows program of the build on a virtual screen, in a
# fresh Wine prefix with a virtual desktop: scripts/screenshot.sh EXE OUT.png [DPI] [CAPTION]
set -euo pipefail
exe=$1 out=$2 dpi=${3:-96} caption=${4:-ZORNAVEX}
tmp=$(mktemp -d /tmp/zx-shot.XXXXXX)
trap 'WINEPREFIX=$tmp/prefix wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
. "$(dirname "$0")/wine-prefix.sh"
zx_wine_prefix "$tmp" "$dpi"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wine "$1" & pid=$!
  for i in $(seq 1 60); do xwininfo -root -tree 2>/dev/null | grep -q "\"$3\"" && break; sleep 1; done
  sleep 3
  import -window root "$2"
  wineserver -k 2>/dev/null || true
  wait $pid 2>/dev/null || true
' _ "$exe" "$out" "$caption"
echo "$out"
