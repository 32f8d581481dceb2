#!/usr/bin/env bash
# Builds the libFuzzer targets of the portable code (clang, host) and runs
# each one from the committed corpus.
#   scripts/fuzz.sh --short     about 50 s in all (part of scripts/test.sh)
#   scripts/fuzz.sh --long N    N seconds per target
#   scripts/fuzz.sh --merge     minimise what --long found into fuzz/corpus
# Exits non-zero on any crash, hang, sanitizer report or broken property;
# the failing input is kept under build/fuzz/artifacts/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

targets=(text_to_number panel1 panel2 panel3 panel4 registry_value help_document)
mode=${1:---short}
case "$mode" in
  --short) seconds=7 ;;
  --long) seconds=${2:?"--long needs the seconds per target"} ;;
  --merge) seconds=0 ;;
  *) echo "usage: $0 [--short | --long N | --merge]" >&2; exit 2 ;;
esac

build=build/fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 >/dev/null

# New inputs go to a work folder under build/, never into fuzz/corpus
# unless --merge is asked for.
work="$build/work"
artifacts="$build/artifacts"
mkdir -p "$artifacts"

if [ "$mode" = --merge ]; then
  for t in "${targets[@]}"; do
    [ -d "$work/$t" ] || continue
    merged=$(mktemp -d)
    # Edges only, not their hit counts: a few dozen inputs per target.
    "$build/fuzz_$t" -merge=1 -use_counters=0 "$merged" "fuzz/corpus/$t" "$work/$t" >/dev/null 2>&1
    rm -f "fuzz/corpus/$t"/*
    cp "$merged"/* "fuzz/corpus/$t"/
    rm -rf "$merged"
    echo "$t: $(ls "fuzz/corpus/$t" | wc -l) inputs"
  done
  exit 0
fi

failed=()
total_runs=0
for t in "${targets[@]}"; do
  mkdir -p "$work/$t"
  log="$build/$t.log"
  status=0
  # A help file is at least one 4 KB topic block and its tables.
  max_len=4096
  [ "$t" = help_document ] && max_len=16384
  "$build/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$artifacts/$t-" "$work/$t" "fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  total_runs=$((total_runs + ${runs:-0}))
  # A sanitizer report that did not stop the run still counts.
  if [ "$status" -ne 0 ] || grep -qE 'ERROR: (Address|Leak|Undefined)Sanitizer|runtime error:|PROPERTY FAILED' "$log"; then
    failed+=("$t")
    echo "FAIL $t (exit $status), log $log:" >&2
    grep -E -A12 'PROPERTY FAILED|ERROR:|runtime error:|Test unit written' "$log" | head -40 >&2 || tail -20 "$log" >&2
  else
    echo "ok   $t: ${runs:-?} runs in ${seconds} s"
  fi
done
echo "fuzzing: $total_runs runs in all"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
