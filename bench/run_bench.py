#!/usr/bin/env python3
"""Runs the benchmark commands in rotating rounds (a, b, c, ... then b, c, ..., a, ...) so
that a noisy machine hurts all of them alike, and reports the median wall time, the ratio to
the floor (the first command) and the peak RSS of each, and the median CPU time (user +
system) with its ratio: on a machine other work keeps busy, CPU time wavers less. Beside
each, the size of OUT.jar after its last run, for the commands that write it (the others
leave the template's copy).

usage: run_bench.py --rounds N --template JAR --out OUT.jar --scratch DIR
                    [--ours LABEL] [--corpus-mib MIB] --run LABEL CWD COMMAND ...
Before every run OUT.jar is a fresh copy of TEMPLATE and SCRATCH an empty folder.
"""
import argparse
import os
import shlex
import shutil
import statistics
import subprocess
import sys
import time


def run(cmd, cwd, scratch):
    # GNU time reports the command's own peak RSS (for a shell, its largest child); a child
    # forked from this Python process would count Python's pages too.
    rss_file = os.path.join(scratch, "..", ".rss")
    start = time.perf_counter()
    result = subprocess.run(["/usr/bin/time", "-f", "%M %U %S", "-o", rss_file] + shlex.split(cmd),
                            cwd=cwd, stdout=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"failed: {cmd}")
    with open(rss_file) as f:
        rss, user, system = f.read().split()[-3:]
    return elapsed, int(rss) / 1024, float(user) + float(system)  # s, MiB, s


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--template", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--scratch", required=True)
    parser.add_argument("--ours")
    parser.add_argument("--corpus-mib", type=float)
    parser.add_argument("--run", nargs=3, action="append", metavar=("LABEL", "CWD", "COMMAND"), required=True)
    args = parser.parse_args()

    names = [label for label, _, _ in args.run]
    commands = {label: (cwd, cmd) for label, cwd, cmd in args.run}
    times = {n: [] for n in names}
    cpu = {n: [] for n in names}
    rss = {n: 0.0 for n in names}
    written = {n: None for n in names}
    template_bytes = os.path.getsize(args.template)
    for r in range(args.rounds):
        k = r % len(names)
        for name in names[k:] + names[:k]:
            shutil.copyfile(args.template, args.out)
            shutil.rmtree(args.scratch, ignore_errors=True)
            os.makedirs(args.scratch)
            t, m, c = run(commands[name][1], commands[name][0], args.scratch)
            times[name].append(t)
            cpu[name].append(c)
            rss[name] = max(rss[name], m)
            size = os.path.getsize(args.out) if os.path.exists(args.out) else template_bytes
            written[name] = size if size != template_bytes else None
        print(f"round {r + 1}/{args.rounds}: " + ", ".join(f"{n[:3]} {times[n][-1]:.2f} s" for n in names),
              flush=True)

    floor = statistics.median(times[names[0]])
    floor_cpu = statistics.median(cpu[names[0]])
    width = max(len(n) for n in names) + 2
    print()
    print(f"{'':{width}} {'median':>8} {'x floor':>8} {'peak RSS':>9} {'CPU':>8} {'x floor':>8} {'written':>13}")
    for name in names:
        med = statistics.median(times[name])
        med_cpu = statistics.median(cpu[name])
        size = f"{written[name]:>13,}" if written[name] else f"{'-':>13}"
        print(f"{name:{width}} {med:7.2f}s {med / floor:8.3f} {rss[name]:7.1f}MiB {med_cpu:7.2f}s "
              f"{med_cpu / floor_cpu:8.3f} {size}")
    if args.ours and written[args.ours]:
        print()
        for name in names:
            if written[name] and name != args.ours:
                print(f"{name[:3]} written / {args.ours[:3]} written = {written[name] / written[args.ours]:.4f}")

    if args.ours:
        ours = statistics.median(times[args.ours])
        ours_cpu = statistics.median(cpu[args.ours])
        print(f"\n{args.ours[:3]} / floor = {ours / floor:.3f} wall, {ours_cpu / floor_cpu:.3f} CPU (goal <= 1.08)")
        for name in names[1:]:
            if name != args.ours:
                print(f"{args.ours[:3]} / {name[:3]} = {ours / statistics.median(times[name]):.3f} wall, "
                      f"{ours_cpu / statistics.median(cpu[name]):.3f} CPU")
        if args.corpus_mib:
            goal = 2.5 * args.corpus_mib + 20 * 1e6 / 2**20
            print(f"{args.ours[:3]} peak RSS {rss[args.ours]:.1f} MiB (goal <= 2.5 x {args.corpus_mib:.1f} MiB "
                  f"+ 20 MB = {goal:.1f} MiB)")


if __name__ == "__main__":
    main()
