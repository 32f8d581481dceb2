#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests. It never uses ~/.wine: without
# a prefix prepared by scripts/test.sh it makes a temporary one and removes it.
set -euo pipefail
cleanup=""
if [ -z "${WINEPREFIX:-}" ] || [ "${WINEPREFIX}" = "$HOME/.wine" ]; then
  tmp=$(mktemp -d /tmp/zx-wine.XXXXXX)
  export WINEPREFIX="$tmp/prefix" HOME="$tmp/home"
  mkdir -p "$HOME"
  cleanup="$tmp"
fi
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL="${ZX_WINE_LOCALE:-${LC_ALL:-it_IT.UTF-8}}"
status=0
wine "$@" || status=$?
if [ -n "$cleanup" ]; then
  wineserver -k 2>/dev/null || true
  rm -rf "$cleanup"
fi
exit $status
