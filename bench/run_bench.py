#!/usr/bin/env python3
"""Runs the benchmark commands in alternating rounds (a, b, c, then b, c, a, ...) so that
a noisy machine hurts all of them alike, and reports the median wall time, the ratio to the
floor and the peak RSS of each.

usage: run_bench.py ROUNDS WORK_DIR FLOOR_CMD ENGINE_CMD ZIP_CMD TEMPLATE
The engine and zip commands append to WORK_DIR/out.jar, which is a fresh copy of TEMPLATE
before every run.
"""
import os
import shlex
import shutil
import statistics
import subprocess
import sys
import time


def run(cmd, cwd):
    # GNU time reports the command's own peak RSS; a child forked from this Python process
    # would count Python's pages too.
    rss_file = os.path.join(cwd, ".rss")
    start = time.perf_counter()
    result = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", rss_file] + shlex.split(cmd),
                            cwd=cwd, stdout=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"failed: {cmd}")
    with open(rss_file) as f:
        return elapsed, int(f.read().split()[-1]) / 1024  # MiB


def main():
    rounds, work, floor, engine, zipcmd, template = sys.argv[1:7]
    rounds = int(rounds)
    commands = {"(a) floor: raw deflate in one process": floor,
                "(b) our engine appending to the template": engine,
                "(c) Info-ZIP zip -6 appending to the template": zipcmd}
    names = list(commands)
    times = {n: [] for n in names}
    rss = {n: 0.0 for n in names}
    out = os.path.join(work, "out.jar")
    for r in range(rounds):
        order = names[r % 3:] + names[:r % 3]
        for name in order:
            shutil.copyfile(template, out)
            t, m = run(commands[name], work)
            times[name].append(t)
            rss[name] = max(rss[name], m)
        print(f"round {r + 1}/{rounds}: " + ", ".join(f"{n[:3]} {times[n][-1]:.2f} s" for n in names), flush=True)
    floor_median = statistics.median(times[names[0]])
    print()
    print(f"{'':48} {'median':>8} {'x floor':>8} {'peak RSS':>9}")
    for name in names:
        med = statistics.median(times[name])
        print(f"{name:48} {med:7.2f}s {med / floor_median:8.3f} {rss[name]:7.1f}MiB")
    b = statistics.median(times[names[1]])
    c = statistics.median(times[names[2]])
    print(f"\n(b)/(a) = {b / floor_median:.3f}   (b)/(c) = {b / c:.3f}")


if __name__ == "__main__":
    main()
