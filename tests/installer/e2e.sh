#!/usr/bin/env bash
# Velisca end to end: a fresh Wine prefix and a temporary HOME for this run
# alone, the Windows driver (velisca_e2e.exe), then the shortcut it left read
# on this side with lnkinfo.
# Usage: e2e.sh DRIVER VELISCA_EXE ZORNAVEX_EXE COMDLG32_OCX NEWER_OCX SETUP_DIR
set -euo pipefail
driver=$1
winpath() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }
tmp=$(mktemp -d /tmp/velisca-e2e.XXXXXX)
export WINEPREFIX="$tmp/prefix" HOME="$tmp/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL="${ZX_WINE_LOCALE:-${LC_ALL:-it_IT.UTF-8}}"
mkdir -p "$HOME"
cleanup() { wineserver -k 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
export VELISCA_EXE=$(winpath "$2") ZORNAVEX_EXE=$(winpath "$3") OCX=$(winpath "$4") NEWER_OCX=$(winpath "$5") SETUP_DIR=$(winpath "$6")
export WINEPATH="$VELISCA_EXE"
wineboot -i >/dev/null 2>&1 || true
# Without a window manager, Wine waits up to 2 s for every managed window it
# hides or destroys: unmanaged windows keep the run short.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
wineserver -w || true

run() { wine "$driver" "$@"; }
if [ -z "${DISPLAY:-}" ]; then
  run() { xvfb-run -a -s "-screen 0 1280x1024x24" wine "$driver" "$@"; }
fi
run

lnk="$WINEPREFIX/drive_c/velisca-e2e/ZORNAVEX.lnk"
[ -f "$lnk" ] || { echo "FAIL: the driver left no shortcut to inspect"; exit 1; }
info=$(lnkinfo "$lnk")
echo "$info"
status=0
expect() {  # label, expected value
  local got
  got=$(printf '%s\n' "$info" | sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" | head -n1)
  if [ "$got" != "$2" ]; then echo "FAIL: $1 is '$got', expected '$2'"; status=1; fi
}
expect "Local path" 'C:\programmi\Mardol\ZORNAVEX\ZORNAVEX.exe'
expect "Working directory" 'C:\programmi\Mardol\ZORNAVEX'
expect "Description" 'MARDOL'
expect "Icon location" 'C:\programmi\Mardol\ZORNAVEX\ZORNAVEX.exe'
expect "Icon index" '1'
# lnkinfo of this Debian release always prints 0 as the show command: read it.
show=$(od -An -t d4 -j 60 -N 4 "$lnk" | tr -d ' ')
[ "$show" = "5" ] || { echo "FAIL: show command $show, expected 5"; status=1; }
[ $status -eq 0 ] && echo "Shortcut checked: target, working folder, description, icon, show command 5"
exit $status
