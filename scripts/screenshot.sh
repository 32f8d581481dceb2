#!/usr/bin/env bash
# Screenshot of a Windows program of the build on a virtual screen, in a
# fresh Wine prefix: scripts/screenshot.sh EXE OUT.png [DPI] [CAPTION]
set -euo pipefail
exe=$1 out=$2 dpi=${3:-96} caption=${4:-ZORNAVEX}
tmp=$(mktemp -d /tmp/zx-shot.XXXXXX)
trap 'WINEPREFIX=$tmp/prefix wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
export WINEPREFIX="$tmp/prefix" HOME="$tmp/home" WINEDEBUG=-all LC_ALL="${LC_ALL:-it_IT.UTF-8}"
mkdir -p "$HOME"
wineboot -i >/dev/null 2>&1 || true
wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wine explorer /desktop=shot,1280x1024 "$1" & pid=$!
  for i in $(seq 1 60); do xwininfo -root -tree 2>/dev/null | grep -q "\"$3\"" && break; sleep 1; done
  sleep 3
  import -window root "$2"
  wineserver -k 2>/dev/null || true
  wait $pid 2>/dev/null || true
' _ "$exe" "$out" "$caption"
echo "$out"
