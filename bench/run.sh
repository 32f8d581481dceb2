#!/usr/bin/env bash
# Builds once, then measures under Wine on a virtual screen: ZORNAVEX's
# start-up against a bare one-window program (median of interleaved runs),
# the size and imported DLLs of both, and a whole Velisca installation.
# Prints a Markdown table. Usage: bench/run.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-15}
scripts/deps.sh >/dev/null
cmake --preset native >/dev/null && cmake --build --preset native >/dev/null
cmake --preset mingw -DZX_HOST_TOOLS_DIR="$root/build/native" >/dev/null
cmake --build --preset mingw >/dev/null
b="$root/build/mingw"
zx="$b/calculator/ZORNAVEX.exe" bare="$b/bench/bare.exe" cc6="$b/bench/bare_cc6.exe"

tmp=$(mktemp -d /tmp/zx-bench.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
. scripts/wine-prefix.sh
zx_wine_prefix "$tmp"

startup=$(xvfb-run -a -s "-screen 0 1280x1024x24" wine "$b/bench/startup.exe" "$runs" "$(zx_winpath "$zx")" "$(zx_winpath "$bare")" "$(zx_winpath "$cc6")" | tr -d '\r')
zx_ms=$(echo "$startup" | sed -n 1p | cut -f2)
bare_ms=$(echo "$startup" | sed -n 2p | cut -f2)
cc6_ms=$(echo "$startup" | sed -n 3p | cut -f2)
ratio=$(python3 -c "print(f'{$zx_ms / $bare_ms:.2f}')")
ratio_cc6=$(python3 -c "print(f'{$zx_ms / $cc6_ms:.2f}')")

imports() { x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ {print $3}' | sort -f | paste -sd' ' -; }
kb() { python3 -c "import os; print(f'{os.path.getsize(\"$1\") / 1024:.0f} KB')"; }

install_ms="n/a"
if [ -x "$b/bench/install_timer.exe" ] && [ -d "$b/setup/Velisca" ]; then
  install_ms=$(xvfb-run -a -s "-screen 0 1280x1024x24" wine "$b/bench/install_timer.exe" "$(zx_winpath "$b/setup/Velisca/Velisca.exe")" | tr -d '\r' | tail -1)
fi

echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), Wine $(wine --version | sed 's/wine-//'), $runs interleaved runs."
echo
echo "| what | ZORNAVEX.exe | bare window | bare window, common controls 6 and one button |"
echo "|---|---|---|---|"
echo "| start-up to visible window, median | ${zx_ms} ms | ${bare_ms} ms | ${cc6_ms} ms |"
echo "| ZORNAVEX's start-up ratio to it | | ${ratio} | ${ratio_cc6} |"
echo "| size | $(kb "$zx") | $(kb "$bare") | $(kb "$cc6") |"
echo "| imported DLLs | $(imports "$zx") | $(imports "$bare") | $(imports "$cc6") |"
echo "| Velisca installation, click to success box | ${install_ms} ms | | |"
