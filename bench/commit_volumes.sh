#!/usr/bin/env bash
# What the build's record costs on a book of 300 volumes rebuilt over itself: the commit
# sets 600 old files aside and puts 600 new ones in place, with the plan flushed to the disk
# (the record and its folder) before the first rename. Times the rebuild with hyperfine,
# for each bookmaker-cli given (the first is the one measured; a second, an older build, is
# the baseline of the same run), and prints the medians and their ratio.
#
#   bench/commit_volumes.sh TEMPLATE CLI [BASELINE_CLI]
set -euo pipefail
template=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 300 chapters of about 2,000 characters each; volumes of 30 KB hold one chapter each.
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

runs=()
labels=()
for cli in "$@"; do
  out="$work/out-${#runs[@]}"
  mkdir -p "$out"
  # The first build writes the 300 volumes; each timed run replaces them all.
  "$cli" --chapters --max-size 30K -n 书 -t "$template" -o "$out" "$work/novel.txt" >/dev/null
  count=$(ls "$out" | grep -c '\.jar$')
  runs+=("$cli --chapters --max-size 30K -n 书 -t $template -o $out $work/novel.txt")
  labels+=("$cli ($count volumes)")
done
hyperfine -N -w 1 -r "${ROUNDS:-7}" --export-json "$work/times.json" "${runs[@]}" >/dev/null
python3 - "$work/times.json" "${labels[@]}" <<'PY'
import json, statistics, sys
results = json.load(open(sys.argv[1]))["results"]
medians = [statistics.median(r["times"]) for r in results]
for label, median in zip(sys.argv[2:], medians):
    print(f"{median * 1000:8.1f} ms  {label}")
if len(medians) == 2:
    print(f"ratio {medians[0] / medians[1]:.3f} (first over baseline)")
PY
