#!/usr/bin/env bash
# Builds ZORNAVEX and starts it under Wine. Without a display it runs on a
# virtual screen, saves a screenshot and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target ZORNAVEX
exe="$root/build/mingw/calculator/ZORNAVEX.exe"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}" WINEDEBUG=-all LC_ALL="${LC_ALL:-it_IT.UTF-8}"
. scripts/wine-prefix.sh
[ -d "$WINEPREFIX/drive_c" ] || wineboot -i >/dev/null 2>&1 || true
zx_marlett
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi
shot="$root/build/zornavex.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  # A virtual desktop draws the title bars that a window manager would.
  wine explorer /desktop=zornavex,1024x768 "$1" & pid=$!
  for i in $(seq 1 60); do xwininfo -root -tree 2>/dev/null | grep -q "\"ZORNAVEX\"" && break; sleep 1; done
  sleep 2
  import -window root "$2"
  wineserver -k 2>/dev/null || true
  wait $pid 2>/dev/null || true
' _ "$exe" "$shot"
echo "Screenshot: $shot"
