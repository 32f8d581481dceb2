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
. scripts/wine-prefix.sh

for dpi in 96 144; do
  tmp=$(mktemp -d /tmp/zx-shots.XXXXXX)
  zx_wine_prefix "$tmp" "$dpi"
  mkdir -p "$tmp/bmp"
  # The help file where the program looks for it, as the installer puts it.
  help="$WINEPREFIX/drive_c/Programmi/Mardol/ZORNAVEX/Help"
  mkdir -p "$help"
  for f in "$b"/help/ZORNAVEX.hlp "$b"/help/ZORNAVEX.cnt; do [ -f "$f" ] && cp "$f" "$help/"; done
  args=("$(zx_winpath "$tmp/bmp")" "$(zx_winpath "$b/calculator/ZORNAVEX.exe")")
  [ -f "$b/setup/Velisca/Velisca.exe" ] && args+=("$(zx_winpath "$b/setup/Velisca/Velisca.exe")")
  xvfb-run -a -s "-screen 0 1280x1024x24" wine "$b/tests/support/window_shots.exe" "${args[@]}" | tr -d '\r' |
    while read -r name; do convert "$tmp/bmp/$name.bmp" "$out/$name-$dpi.png"; echo "$out/$name-$dpi.png"; done
  # ZORNAVEX's own help window: the system folder's viewer replaced by the
  # tests' stand-in for the Windows 10/11 placeholder, which Wine runs from
  # the file only with the override.
  viewer="$WINEPREFIX/drive_c/windows/system32/winhlp32.exe"
  cp "$b/tests/help/placeholder_winhlp32.exe" "$viewer"
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v winhlp32.exe /t REG_SZ /d native /f >/dev/null 2>&1
  wineserver -w || true
  xvfb-run -a -s "-screen 0 1280x1024x24" wine "$b/tests/support/window_shots.exe" --own-help \
    "$(zx_winpath "$tmp/bmp")" "$(zx_winpath "$b/calculator/ZORNAVEX.exe")" | tr -d '\r' |
    while read -r name; do convert "$tmp/bmp/$name.bmp" "$out/$name-$dpi.png"; echo "$out/$name-$dpi.png"; done
  wineserver -k 2>/dev/null || true
  rm -rf "$tmp"
  # The main window, the About window and Velisca's pages in a high-contrast
  # scheme, taken by the accessibility check in a prefix of its own.
  hc=$(mktemp -d /tmp/zx-shots-hc.XXXXXX)
  ZX_A11Y_DPI=$dpi ZX_A11Y_SHOTS="$hc" xvfb-run -a -s "-screen 0 1280x1024x24" tests/accessibility/a11y.sh \
    "$b/tests/accessibility/zornavex_a11y_tests.exe" "$b/tests/accessibility/velisca_a11y_tests.exe" \
    "$b/help/ZORNAVEX.hlp" >/dev/null
  for f in "$hc"/*.bmp; do
    name=$(basename "$f" .bmp)
    convert "$f" "$out/$name-$dpi.png"
    echo "$out/$name-$dpi.png"
  done
  rm -rf "$hc"
done
