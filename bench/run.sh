#!/usr/bin/env bash
# Builds once, then measures under Wine on a virtual screen: ZORNAVEX's
# start-up against two yardsticks, a bare one-window program and its main
# window made the most direct way (medians of interleaved runs), their peak
# working sets, sizes and imported DLLs, and a whole Velisca installation.
# Prints a Markdown table. Usage: bench/run.sh [RUNS]; fewer than about 100
# rounds say little on a noisy machine (see the intervals it prints).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-100}
scripts/deps.sh >/dev/null
cmake --preset native >/dev/null && cmake --build --preset native >/dev/null
cmake --preset mingw -DZX_HOST_TOOLS_DIR="$root/build/native" >/dev/null
cmake --build --preset mingw >/dev/null
b="$root/build/mingw"
zx="$b/calculator/ZORNAVEX.exe" bare="$b/bench/bare.exe" direct="$b/bench/direct_controls.exe"

tmp=$(mktemp -d /tmp/zx-bench.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
. scripts/wine-prefix.sh
zx_wine_prefix "$tmp"

startup=$(xvfb-run -a -s "-screen 0 1280x1024x24" wine "$b/bench/startup.exe" "$runs" "$(zx_winpath "$zx")" "$(zx_winpath "$bare")" "$(zx_winpath "$direct")" | tr -d '\r')
# Per program: path, median, fastest, slowest (ms), peak working set (KB),
# median over rounds of ZORNAVEX's time over its own; then the rounds.
col() { echo "$startup" | sed -n "$1p" | cut -f"$2"; }
# Per yardstick: both ratios, each with its 95 % interval.
intervals=$(echo "$startup" | python3 bench/ratio_interval.py)
ratio_ci() { echo "$intervals" | sed -n "$1p" | LC_ALL=C awk -F'\t' -v c="$2" '{printf "%.3f (%.3f to %.3f)", $c, $(c+1), $(c+2)}'; }
mb() { python3 -c "print(f'{$1 / 1024:.1f} MB')"; }

imports() { x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ {print $3}' | sort -f | paste -sd' ' -; }
kb() { python3 -c "import os; print(f'{os.path.getsize(\"$1\") / 1024:.0f} KB')"; }

install_ms="n/a"
if [ -x "$b/bench/install_timer.exe" ] && [ -d "$b/setup/Velisca" ]; then
  install_ms=$(xvfb-run -a -s "-screen 0 1280x1024x24" wine "$b/bench/install_timer.exe" "$(zx_winpath "$b/setup/Velisca/Velisca.exe")" | tr -d '\r' | tail -1)
fi

echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), Wine $(wine --version | sed 's/wine-//'), $runs interleaved runs."
echo
echo "| what | ZORNAVEX.exe | bare window | main window made directly |"
echo "|---|---|---|---|"
echo "| start-up to visible window, median | $(col 1 2) ms | $(col 2 2) ms | $(col 3 2) ms |"
echo "| fastest to slowest | $(col 1 3) to $(col 1 4) ms | $(col 2 3) to $(col 2 4) ms | $(col 3 3) to $(col 3 4) ms |"
echo "| ZORNAVEX's ratio to it, of the medians (95 % interval) | | $(ratio_ci 1 1) | $(ratio_ci 2 1) |"
echo "| ZORNAVEX's ratio to it, median over rounds (95 % interval) | | $(ratio_ci 1 4) | $(ratio_ci 2 4) |"
echo "| peak working set, median | $(mb "$(col 1 5)") | $(mb "$(col 2 5)") | $(mb "$(col 3 5)") |"
echo "| size | $(kb "$zx") | $(kb "$bare") | $(kb "$direct") |"
echo "| imported DLLs | $(imports "$zx") | $(imports "$bare") | $(imports "$direct") |"
echo "| Velisca installation, click to success box | ${install_ms} ms | | |"
