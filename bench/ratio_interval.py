#!/usr/bin/env python3
"""How sure ZORNAVEX's ratios are: reads the timer's "round" lines (ms of each
program in a round, ZORNAVEX first) from stdin and prints one line per
yardstick, tab-separated: the ratio of the medians, then the median ratio
within rounds, each followed by the low and high ends of its 95 % bootstrap
interval. Rounds are resampled whole, so each keeps the load its programs
shared."""
import random
import statistics
import sys

rounds = [[float(x) for x in line.split("\t")[1:]] for line in sys.stdin if line.startswith("round\t")]
if not rounds:
    sys.exit("no rounds")
rng = random.Random(1)  # the same rounds always give the same interval
samples = [rng.choices(rounds, k=len(rounds)) for _ in range(2000)]


def interval(stat):
    values = sorted(stat(s) for s in samples)
    return [stat(rounds), values[49], values[1949]]


def of_medians(p):
    return lambda rs: statistics.median(r[0] for r in rs) / statistics.median(r[p] for r in rs)


def within_rounds(p):
    return lambda rs: statistics.median(r[0] / r[p] for r in rs)


for p in range(1, len(rounds[0])):
    print("\t".join(f"{v:.3f}" for v in interval(of_medians(p)) + interval(within_rounds(p))))
