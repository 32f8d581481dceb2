#!/usr/bin/env bash
# Velisca end to end: a fresh Wine prefix and a temporary HOME for this run
# alone, the Windows driver (velisca_e2e.exe), then the shortcuts it left read
# on this side with lnkinfo. Then the same driver walks the cases that only an
# ordinary user of the machine can show (as root Wine ignores every write
# protection): a write-protected earlier program, a full disk, non-Latin
# paths. Parts the machine refuses (no root, no useradd, runuser or mount) are
# skipped with a line starting "SKIP:".
# Usage: e2e.sh DRIVER VELISCA_EXE ZORNAVEX_EXE COMDLG32_OCX NEWER_OCX SETUP_DIR
set -euo pipefail
driver=$1
winpath() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }
tmp=$(mktemp -d /tmp/velisca-e2e.XXXXXX)
utente=velisca-e2e          # the ordinary user the second part runs as
utmp="" mardol=""
export WINEPREFIX="$tmp/prefix" HOME="$tmp/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL="${ZX_WINE_LOCALE:-${LC_ALL:-it_IT.UTF-8}}"
mkdir -p "$HOME"
cleanup() {
  wineserver -k 2>/dev/null || true
  if [ -n "$utmp" ]; then
    runuser -u "$utente" -- env WINEPREFIX="$utmp/prefix" wineserver -k 2>/dev/null || true
    [ -n "$mardol" ] && { umount "$mardol" 2>/dev/null || true; }
    rm -rf "$utmp"
  fi
  rm -rf "$tmp"
}
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
status=0
run --gtest_filter='-UtenteOrdinario.*:DiscoPieno.*' || status=1

check_shortcut() {  # the .lnk file
  local lnk=$1 info show
  info=$(lnkinfo "$lnk")
  echo "$info"
  expect() {  # label, expected value
    local got
    got=$(printf '%s\n' "$info" | sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" | head -n1)
    if [ "$got" != "$2" ]; then echo "FAIL: $lnk: $1 is '$got', expected '$2'"; status=1; fi
  }
  expect "Local path" 'C:\programmi\Mardol\ZORNAVEX\ZORNAVEX.exe'
  expect "Working directory" 'C:\programmi\Mardol\ZORNAVEX'
  expect "Description" 'MARDOL'
  expect "Icon location" 'C:\programmi\Mardol\ZORNAVEX\ZORNAVEX.exe'
  expect "Icon index" '1'
  # lnkinfo of this Debian release always prints 0 as the show command: read it.
  show=$(od -An -t d4 -j 60 -N 4 "$lnk" | tr -d ' ')
  [ "$show" = "5" ] || { echo "FAIL: $lnk: show command $show, expected 5"; status=1; }
}
lnk="$WINEPREFIX/drive_c/velisca-e2e/ZORNAVEX.lnk"
[ -f "$lnk" ] || { echo "FAIL: the driver left no shortcut to inspect"; exit 1; }
check_shortcut "$lnk"
[ $status -eq 0 ] && echo "Shortcut checked: target, working folder, description, icon, show command 5"
true

# ---- As an ordinary user -------------------------------------------------
as_user() {
  if [ "$(id -u)" -ne 0 ]; then echo "SKIP: ordinary-user cases: not root, so no user can be made or run"; return; fi
  if ! id -u "$utente" >/dev/null 2>&1 &&
     ! useradd --system --user-group --no-create-home --shell /usr/sbin/nologin "$utente"; then
    echo "SKIP: ordinary-user cases: useradd $utente refused"; return
  fi
  if ! runuser -u "$utente" -- true; then echo "SKIP: ordinary-user cases: runuser -u $utente refused"; return; fi
  utmp=$(mktemp -d /tmp/velisca-user.XXXXXX)
  chmod 755 "$utmp"
  # Wine names the profile folder after USER: the desktop then lies under it.
  local nome="Niccolò Bàrbera"
  local home="$utmp/$nome" bin="$utmp/bin"
  mkdir -p "$home/Desktop" "$bin"
  cp "$driver" "$2" "$3" "$4" "$5" "$bin/"
  chown -R "$utente:" "$utmp"
  local -a env=(env -i PATH="$PATH" HOME="$home" USER="$nome" LOGNAME="$nome" LC_ALL="$LC_ALL"
                WINEPREFIX="$utmp/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
                VELISCA_EXE="$(winpath "$bin/$(basename "$2")")" ZORNAVEX_EXE="$(winpath "$bin/$(basename "$3")")"
                OCX="$(winpath "$bin/$(basename "$4")")" NEWER_OCX="$(winpath "$bin/$(basename "$5")")")
  uwine() { runuser -u "$utente" -- "${env[@]}" "$@"; }
  uwine wineboot -i >/dev/null 2>&1 || true
  uwine wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
  uwine wineserver -w || true
  # The user cannot open root's display: a virtual screen of its own.
  local udriver="$bin/$(basename "$driver")"
  urun() { uwine xvfb-run -a -s "-screen 0 1280x1024x24" wine "$udriver" "$@"; }
  echo "== As the ordinary user $utente (HOME $home) =="
  urun --gtest_filter='UtenteOrdinario.*' || status=1

  # The program folder's file system: a small tmpfs as C:\programmi\Mardol,
  # so that the root folder stays while the program folders come and go.
  mardol="$utmp/prefix/drive_c/programmi/Mardol"
  uwine mkdir -p "$mardol"
  if mount -t tmpfs -o "size=256k,mode=0755,uid=$(id -u "$utente"),gid=$(id -g "$utente")" velisca-e2e "$mardol"; then
    echo "== Full disk: C:\\programmi\\Mardol on a 256 KiB tmpfs =="
    urun --gtest_filter='DiscoPieno.*' || status=1
    uwine wineserver -w || true  # it may still hold files there
    umount "$mardol" || true
  else
    echo "SKIP: full-disk cases: mount of a tmpfs refused"
  fi
  mardol=""
  for lnk in "$utmp/prefix/drive_c/velisca-e2e/"*.lnk; do
    if [ -f "$lnk" ]; then check_shortcut "$lnk"; else echo "FAIL: no shortcut from the ordinary user's run"; status=1; fi
  done
}
as_user "$@"
exit $status
