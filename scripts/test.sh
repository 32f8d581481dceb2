#!/usr/bin/env bash
# Builds everything and runs every test: the portable tests natively, then the
# Windows programs' tests under Wine on a virtual screen, in a fresh Wine
# prefix and a temporary HOME that are removed afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh

echo "== Portable code, native =="
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native
scripts/fuzz.sh --short

echo "== Windows programs, under Wine =="
cmake --preset mingw -DZX_HOST_TOOLS_DIR="$root/build/native" >/dev/null
cmake --build --preset mingw

tmp=$(mktemp -d /tmp/zx-test.XXXXXX)
export WINEPREFIX="$tmp/prefix" HOME="$tmp/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=it_IT.UTF-8
mkdir -p "$HOME"
cleanup() { wineserver -k 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
wineboot -i >/dev/null 2>&1 || true
# Every program runs inside one Wine virtual desktop: Wine draws the title
# bars itself, and closing a window does not wait for a window manager.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1
wineserver -w || true
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset mingw
