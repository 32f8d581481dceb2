#!/usr/bin/env bash
# Screenshots of every window at 96 and 144 DPI into docs/shots/, taken in
# fresh Wine prefixes inside a virtual desktop. Builds first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh >/dev/null
cmake --preset native >/dev/null && cmake --build --preset native >/dev/null
cmake --preset mingw -DZX_HOST_TOOLS_DIR="$root/build/native" >/dev/null
cmake --build --preset mingw >/dev/null
b="$root/build/mingw"
out="$root/docs/shots"
mkdir -p "$out"
winpath() { echo "Z:${1//\//\\}"; }

for dpi in 96 144; do
  tmp=$(mktemp -d /tmp/zx-shots.XXXXXX)
  export WINEPREFIX="$tmp/prefix" HOME="$tmp/home" WINEDEBUG=-all LC_ALL=it_IT.UTF-8
  mkdir -p "$HOME" "$tmp/bmp"
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -w
  # The help file where the program looks for it, as the installer puts it.
  help="$WINEPREFIX/drive_c/Programmi/Mardol/ZORNAVEX/Help"
  mkdir -p "$help"
  for f in "$b"/help/ZORNAVEX.hlp "$b"/help/ZORNAVEX.cnt; do [ -f "$f" ] && cp "$f" "$help/"; done
  args=("$(winpath "$tmp/bmp")" "$(winpath "$b/calculator/ZORNAVEX.exe")")
  [ -f "$b/setup/Velisca/Velisca.exe" ] && args+=("$(winpath "$b/setup/Velisca/Velisca.exe")")
  xvfb-run -a -s "-screen 0 1280x1024x24" wine "$b/tests/support/window_shots.exe" "${args[@]}" | tr -d '\r' |
    while read -r name; do convert "$tmp/bmp/$name.bmp" "$out/$name-$dpi.png"; echo "$out/$name-$dpi.png"; done
  wineserver -k 2>/dev/null || true
  rm -rf "$tmp"
done
