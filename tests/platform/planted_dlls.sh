#!/usr/bin/env bash
# DLLs planted in a Downloads folder: a copy of the setup folder, with a
# stand-in DLL under every name that Windows 7 to 11 programs are known to
# load from their own folder, runs a whole installation and then ZORNAVEX
# with help and the About window. Fails if any stand-in was loaded.
#
# Wine prefers its built-in DLLs, so it would never load a stand-in;
# WINEDLLOVERRIDES="<name>=n,b" makes it search as Windows does for a DLL
# that is not a KnownDLL: the program's folder first. Wine's own built-in
# KnownDLLs import a few DLLs that Windows' do not (user32 imports version,
# shlwapi imports shcore), and Wine does not keep a KnownDLL's dependencies
# to the system folder as Windows does; a program that imports only KnownDLLs
# and does nothing (KNOWN_IMPORTS) finds them, and those names stay built-in.
# Usage: planted_dlls.sh DRIVER SETUP_DIR PLANTED_DLL PLACEHOLDER_WINHLP32 KNOWN_IMPORTS
set -euo pipefail
driver=$1 setup=$2 planted=$3 placeholder=$4 known=$5
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine-prefix.sh"

# Sources: the DLLs that NSIS, Inno Setup (SafeDLLPath), 7-Zip (DllSecur.c)
# and WiX (apputil.cpp) load ahead for this reason; the programs' own
# run-time DLLs (msftedit, riched20, shcore, comctl32); and the ones Windows
# programs most often pull in by name (winmm, dbghelp, wtsapi32, secur32,
# sspicli, cryptsp, bcrypt, mpr, netapi32, winhttp, iphlpapi).
names="version uxtheme dwmapi cryptbase profapi userenv propsys apphelp ntmarta comres oleacc
       msftedit riched20 riched32 shcore comctl32 winmm dbghelp wtsapi32 secur32 sspicli cryptsp bcrypt
       mpr netapi32 winhttp iphlpapi"

tmp=$(mktemp -d /tmp/zx-planted.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
zx_wine_prefix "$tmp"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true

downloads="$HOME/Downloads/ZORNAVEX setup"
mkdir -p "$downloads"
cp "$setup"/* "$downloads/"
for n in $names zxcontrol; do cp "$planted" "$downloads/$n.dll"; done
cp "$known" "$downloads/known_imports.exe"
# Windows 10 and 11's placeholder viewer: F1 then opens ZORNAVEX's own help
# window, which loads the most DLLs of its own.
system32="$WINEPREFIX/drive_c/windows/system32"
cp "$placeholder" "$system32/winhlp32.exe"
wineserver -w || true

folder=$(zx_winpath "$(readlink -f "$downloads")")
from_folder() {  # log: the stand-ins Wine mapped from the planted folder (a built-in
  # DLL kept built-in is reported under the folder's path too, as "builtin")
  grep -i 'trace:loaddll.*: native' "$1" | grep -iF "${folder//\\/\\\\}" | grep -viE '\.exe"' |
    sed 's/.*\\\([^\\"]*\)\.dll".*/\1/I' | tr 'A-Z' 'a-z' | sort -u | paste -sd' ' - || true
}
overrides() {  # names kept built-in
  local o="mscoree,mshtml=;winhlp32.exe=n;zxcontrol=n" n
  for n in $names; do
    case " $1 " in *" $n "*) o="$o;$n=b,n" ;; *) o="$o;$n=n,b" ;; esac
  done
  echo "$o"
}
WINEDEBUG=-all,+loaddll WINEDLLOVERRIDES="$(overrides "")" wine "$downloads/known_imports.exe" 2>"$tmp/wine.log" || true
wine_own=$(from_folder "$tmp/wine.log")
rm -f "$downloads"/*.loaded
[ -n "$wine_own" ] && echo "Loaded by Wine's own built-in DLLs before any program's line, kept built-in: $wine_own"
run() {  # log, driver arguments
  local log=$1; shift
  WINEDEBUG=-all,+loaddll WINEDLLOVERRIDES="$(overrides "$wine_own")" wine "$driver" "$folder" "$@" 2>"$log" || { grep -v trace:loaddll "$log" >&2; return 1; }
}
status=0

# The stand-ins must be able to tell: loaded on purpose, one leaves its mark.
run "$tmp/control.log" --gtest_filter='StandIns.*' || status=1
if [ ! -f "$downloads/zxcontrol.dll.loaded" ]; then
  echo "FAIL: a stand-in loaded on purpose left no mark; the check below could not see anything"
  status=1
fi
rm -f "$downloads"/*.loaded

run "$tmp/programs.log" --gtest_filter='FromADownloadsFolder.*' || status=1
loaded=$(cd "$downloads" && ls -- *.loaded 2>/dev/null | sed 's/\.dll\.loaded$//' | sort | paste -sd' ' -) || true
# Wine's own record of every DLL it mapped: a stand-in whose start-up never ran counts too.
mapped_here=$(from_folder "$tmp/programs.log")
if [ -n "$loaded" ] || [ -n "$mapped_here" ]; then
  echo "FAIL: stand-ins loaded from the setup folder: ${loaded:-none ran}; mapped: ${mapped_here:-none}"
  status=1
fi
mapped=$(grep -ci 'trace:loaddll' "$tmp/programs.log" || true)
if [ "$mapped" -eq 0 ]; then
  echo "FAIL: Wine recorded no DLL at all; the trace did not reach this script"
  status=1
fi
[ $status -eq 0 ] && echo "No DLL of the setup folder was loaded ($(echo $names | wc -w) names planted, $mapped loads traced)"
exit $status
