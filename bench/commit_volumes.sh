#!/usr/bin/env bash
# What the build's record costs on a book of 300 volumes rebuilt over itself: the commit
# sets 600 old files aside and puts 600 new ones in place, with the plan flushed to the disk
# (the record and its folder) before the first rename. Times the rebuild of each
# bookmaker-cli given (the first is the one measured; a second, an older build, is
# the baseline of the same run), and prints the medians and their ratio.
#
#   bench/commit_volumes.sh TEMPLATE CLI [BASELINE_CLI]
set -euo pipefail
template=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 300 chapters of about 2,000 characters each; volumes of 32 KB (MAX_SIZE) hold one chapter
# each beside a reader template of about 27 KB.
python3 - "$work/novel.txt" <<'PY'
import random, sys
random.seed(7)
common = "的一是不了人我在有他这为之大来以个中上们到说国和地也子时道出而要于就下得可你年生自会那后能对着事其里所去行过家十用发天如然作方成者多日都三小军二无同么经法当起与好看学进种将还分此心前面又定见只主没公从"
with open(sys.argv[1], "w", encoding="gbk") as f:
    for n in range(1, 301):
        f.write(f"第{n}章 试读\n")
        for _ in range(20):
            f.write("　　" + "".join(random.choice(common) for _ in range(100)) + "。\n")
PY

# The builds take turns, round after round, so that a machine that grows busier or quieter
# weighs on each alike; the first build of each writes its 300 volumes untimed.
python3 - "$template" "$work" "${ROUNDS:-7}" "${MAX_SIZE:-32K}" "$@" <<'PY'
import os, statistics, subprocess, sys, time
template, work, rounds, limit, clis = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5:]
def command(k, cli):
    out = os.path.join(work, f"out-{k}")
    os.makedirs(out, exist_ok=True)
    return [cli, "--chapters", "--max-size", limit, "-n", "书", "-t", template, "-o", out,
            os.path.join(work, "novel.txt")]
times = [[] for _ in clis]
for k, cli in enumerate(clis):
    subprocess.run(command(k, cli), check=True, stdout=subprocess.DEVNULL)
for _ in range(rounds):
    for k, cli in enumerate(clis):
        start = time.perf_counter()
        subprocess.run(command(k, cli), check=True, stdout=subprocess.DEVNULL)
        times[k].append(time.perf_counter() - start)
medians = [statistics.median(t) for t in times]
for k, cli in enumerate(clis):
    volumes = sum(1 for n in os.listdir(os.path.join(work, f"out-{k}")) if n.endswith(".jar"))
    print(f"{medians[k] * 1000:8.1f} ms  {cli} ({volumes} volumes, median of {rounds})")
if len(medians) == 2:
    print(f"ratio {medians[0] / medians[1]:.3f} (first over baseline)")
PY
