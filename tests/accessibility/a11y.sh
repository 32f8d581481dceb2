#!/usr/bin/env bash
# Every window of both programs as a screen reader and a dark scheme show
# them: a fresh Wine prefix of its own, its colours set as High Contrast Black
# sets them (black faces and windows, white texts), then the two in-process
# drivers. With ZX_A11Y_SHOTS set to a folder they also leave screenshots there.
# Usage: a11y.sh ZORNAVEX_DRIVER VELISCA_DRIVER HELPFILE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
winpath() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }
tmp=$(mktemp -d /tmp/zx-a11y.XXXXXX)
cleanup() { wineserver -k 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
. "$here/../../scripts/wine-prefix.sh"
zx_wine_prefix "$tmp" "${ZX_A11Y_DPI:-}"
# Closing a window waits for no window manager.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
colour() { wine reg add 'HKCU\Control Panel\Colors' /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }
for c in Window ButtonFace Menu InfoWindow AppWorkspace Background ButtonDkShadow MenuBar; do colour "$c" "0 0 0"; done
for c in WindowText ButtonText MenuText InfoText TitleText ButtonHilight ButtonLight WindowFrame; do
  colour "$c" "255 255 255"
done
colour GrayText "63 242 0"
colour Hilight "26 235 255"
colour HilightText "0 0 0"
colour ButtonShadow "128 128 128"
colour ActiveTitle "0 0 128"
colour InactiveTitle "0 128 0"
wineserver -w || true
if [ -n "${ZX_A11Y_SHOTS:-}" ]; then export ZX_A11Y_SHOTS=$(winpath "$ZX_A11Y_SHOTS"); fi
run() { wine "$@"; }
if [ -z "${DISPLAY:-}" ]; then run() { xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"; }; fi
status=0
run "$1" "$(winpath "$3")" || status=1
run "$2" || status=1
exit $status
