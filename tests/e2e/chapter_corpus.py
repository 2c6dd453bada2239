#!/usr/bin/env python3
"""Chapters of real downloaded texts: for each excerpt of tests/fixtures/chapters/corpus
(as downloaded: GBK, UTF-8 with and without a byte-order mark, UTF-16), the chapters
`bookmaker-cli chapters` finds against the list written by reading the text, beside the
chapters legado's and kaf-cli's detectors find (chapter_peers.py). Prints per text, for
each: found / correct / missed / false splits.

With --check, fails when ours misses a chapter or splits falsely on any text, or does
worse than the better peer on one.

usage: chapter_corpus.py --tool BOOKMAKER_CLI --work DIR [--emulator WINE_RUN] [--check]
"""
import json
import lzma
import os
import re
import subprocess
import sys

import chapter_peers
import tool_check

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "..", "fixtures", "chapters", "corpus")
ENCODINGS = {"GBK": "gb18030", "UTF-8": "utf-8", "UTF-16LE": "utf-16", "UTF-16BE": "utf-16"}


def read_expected(name):
    """[(set of lines, title)]: a chapter begins on one of its lines (a volume heading and the
    chapter heading after it are one part, on either line)."""
    chapters = []
    with open(os.path.join(CORPUS, name + ".expected"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            lines, title = line.rstrip("\n").split("\t", 1)
            chapters.append(({int(n) for n in lines.split("+")}, title))
    return chapters


def run_ours(cli, emulator, paths):
    """{path: (encoding, [(line, title)] of the parts after the text before the first heading)}."""
    command = ([emulator] if emulator else []) + [cli, "chapters"] + paths
    out = subprocess.run(command, check=True, capture_output=True).stdout.decode("utf-8")
    result, current = {}, None
    for line in out.splitlines():
        if not line.startswith(" "):
            current = line
            result[current] = [None, []]
        elif result[current][0] is None:
            result[current][0] = line.strip().split("，")[0]
        else:
            m = re.match(r"^\s+(\d+)\s+(\d+)\s+(\d+)  (.*)$", line)
            if m:
                result[current][1].append((int(m.group(1)), int(m.group(2)), m.group(4)))
    parts = {}
    for path, (encoding, rows) in result.items():
        title = os.path.splitext(os.path.basename(path))[0]
        # The first part is the text before the first heading when it bears the file's title.
        parts[path] = (encoding, [(line, t) for n, line, t in rows if not (n == 1 and t == title)])
    return parts


def score(expected, found):
    found = set(found)
    correct = sum(1 for lines, _ in expected if lines & found)
    covered = set().union(*(lines for lines, _ in expected)) if expected else set()
    false = len(found - covered)
    return len(found), correct, len(expected) - correct, false


def main():
    args = tool_check.arguments(lambda parser: parser.add_argument("--check", action="store_true"))
    with open(os.path.join(CORPUS, "sources.json"), encoding="utf-8") as f:
        sources = json.load(f)
    paths = []
    for s in sources:
        path = os.path.join(args.work, s["name"] + ".txt")
        with lzma.open(os.path.join(CORPUS, s["name"] + ".txt.xz")) as src, open(path, "wb") as dst:
            dst.write(src.read())
        paths.append(path)
    ours = run_ours(args.tool, args.emulator, paths)

    failures = []
    totals = {"ours": [0, 0, 0, 0], "legado": [0, 0, 0, 0], "kaf-cli": [0, 0, 0, 0]}
    print("%-16s %-9s %4s | %-19s | %-19s | %-19s" % ("text", "encoding", "true", "ours f/c/m/x",
                                                      "legado f/c/m/x", "kaf-cli f/c/m/x"))
    for s, path in zip(sources, paths):
        expected = read_expected(s["name"])
        encoding, parts = ours[path]
        with open(path, "rb") as f:
            data = f.read()
        codec = ENCODINGS[encoding]
        if codec == "utf-8" and data.startswith(b"\xef\xbb\xbf"):
            codec = "utf-8-sig"
        text = data.decode(codec, "replace")
        rows = {
            "ours": score(expected, [line for line, _ in parts]),
            "legado": score(expected, chapter_peers.legado(text, codec)[1]),
            "kaf-cli": score(expected, chapter_peers.kaf_cli(text, codec)),
        }
        for who, row in rows.items():
            totals[who] = [a + b for a, b in zip(totals[who], row)]
        print("%-16s %-9s %4d | %-19s | %-19s | %-19s" % (
            s["name"], encoding, len(expected), *("%d/%d/%d/%d" % rows[w] for w in ("ours", "legado", "kaf-cli"))))
        _, correct, missed, false = rows["ours"]
        if missed or false:
            found = {line for line, _ in parts}
            wrong = ["missed %d %s" % (min(lines), title) for lines, title in expected if not lines & found]
            covered = set().union(*(lines for lines, _ in expected)) if expected else set()
            wrong += ["false split %d %s" % (line, title) for line, title in parts if line not in covered]
            failures.append("%s: %s" % (s["name"], "; ".join(wrong)))
        better = max(rows["legado"][1] - rows["legado"][3], rows["kaf-cli"][1] - rows["kaf-cli"][3])
        if correct - false < better:
            failures.append("%s: behind a peer" % s["name"])
    print("%-16s %-9s %4s | %-19s | %-19s | %-19s" % (
        "all", "", "", *("%d/%d/%d/%d" % tuple(totals[w]) for w in ("ours", "legado", "kaf-cli"))))
    print("f found, c correct, m missed, x false splits (lines where a part begins that begins no chapter)")
    for failure in failures:
        print("FAIL " + failure)
    if args.check and failures:
        sys.exit(1)


if __name__ == "__main__":
    main()
