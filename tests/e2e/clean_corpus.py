#!/usr/bin/env python3
"""Text clean-up on real downloads: for each excerpt of tests/fixtures/clean/corpus, what
`bookmaker-cli clean` removes and joins against what a careful reader removes and joins,
written by reading the text (NAME.expected). Prints a table: site lines and site texts
removed / left, story removed (lines not to be removed), wrapped paragraphs joined right /
missed, lines joined wrongly. Fails when story is removed or lines are joined that are not
one paragraph, on any text.

NAME.expected: `remove N` (line N is a site's line), `cut N<TAB>TEXT` (TEXT, a site's, is cut
from line N), `join A-B` (the lines A..B that are not blank are one paragraph); `#` comments.

usage: clean_corpus.py --tool BOOKMAKER_CLI --work DIR [--emulator WINE_RUN]
"""
import json
import lzma
import os
import re
import subprocess
import sys

import tool_check

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "..", "fixtures", "clean", "corpus")


def read_expected(name):
    removed, cuts, joins = set(), {}, []
    with open(os.path.join(CORPUS, name + ".expected"), encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("#") or not line.strip():
                continue
            kind, rest = line.split(" ", 1)
            if kind == "remove":
                removed.add(int(rest))
            elif kind == "cut":
                number, text = rest.split("\t", 1)
                cuts[int(number)] = text
            elif kind == "join":
                a, b = rest.split("-")
                joins.append((int(a), int(b)))
            else:
                raise ValueError(f"{name}.expected: {line}")
    return removed, cuts, joins


def run_ours(cli, emulator, path):
    """(removed lines, {line: cut text}, [(first, last) joined])."""
    command = ([emulator] if emulator else []) + [cli, "clean", path]
    out = subprocess.run(command, check=True, capture_output=True).stdout.decode("utf-8")
    if "，删除网站行 " not in out:
        raise RuntimeError(f"bookmaker-cli clean printed no report for {path}: {out!r}")
    removed, cuts, joins = set(), {}, []
    for line in out.splitlines():
        m = re.match(r"^  删除 第 (\d+) 行：", line)
        if m:
            removed.add(int(m.group(1)))
        m = re.match(r"^  删去 第 (\d+) 行中：(.*)$", line)
        if m:
            cuts[int(m.group(1))] = m.group(2)
        m = re.match(r"^  接合 第 (\d+)-(\d+) 行$", line)
        if m:
            joins.append((int(m.group(1)), int(m.group(2))))
    return removed, cuts, joins


def text_lines(path):
    """The lines of the excerpt, as the clean-up numbers them (CR CR LF ends one line)."""
    data = open(path, "rb").read()
    for encoding in ("utf-8", "gb18030"):
        try:
            text = data.decode(encoding)
            break
        except UnicodeDecodeError:
            continue
    return re.split(r"\r\r\n|\r\n|\n|\r", text)


def pairs(joins, lines, skipped):
    """The pairs of lines (i, j) joined: j is the next line after i that is not blank or removed."""
    result = set()
    for a, b in joins:
        kept = [n for n in range(a, b + 1) if n <= len(lines) and lines[n - 1].strip() and n not in skipped]
        result.update(zip(kept, kept[1:]))
    return result


def main():
    args = tool_check.arguments()
    with open(os.path.join(CORPUS, "sources.json"), encoding="utf-8") as f:
        sources = json.load(f)
    failures = []
    rows = []
    totals = [0] * 7
    for s in sources:
        name = s["name"]
        path = os.path.join(args.work, name + ".txt")
        with open(path, "wb") as out:
            out.write(lzma.decompress(open(os.path.join(CORPUS, name + ".txt.xz"), "rb").read()))
        lines = text_lines(path)
        want_removed, want_cuts, want_joins = read_expected(name)
        got_removed, got_cuts, got_joins = run_ours(args.tool, args.emulator, path)
        site_right = len(want_removed & got_removed) + sum(1 for n, t in want_cuts.items() if got_cuts.get(n) == t)
        site_left = len(want_removed - got_removed) + sum(1 for n, t in want_cuts.items() if got_cuts.get(n) != t)
        # Story removed: a line removed that is not a site's line, or cut text that is not the
        # site's text (more or other than it).
        story = sorted(got_removed - want_removed) + sorted(n for n, t in got_cuts.items() if want_cuts.get(n) != t)
        story = [n for n in story if not (n in got_cuts and want_cuts.get(n, "").endswith(got_cuts[n]))]
        skipped = want_removed | got_removed
        want_pairs, got_pairs = pairs(want_joins, lines, skipped), pairs(got_joins, lines, skipped)
        joined_right = sum(1 for j in want_joins if j in got_joins)
        joined_missed = len(want_joins) - joined_right
        wrong = sorted(got_pairs - want_pairs)
        row = [site_right, site_left, len(story), joined_right, joined_missed, len(wrong), len(want_joins)]
        totals = [t + r for t, r in zip(totals, row)]
        rows.append((name, row))
        if story:
            failures.append(f"{name}: story removed on lines {story}")
        if wrong:
            failures.append(f"{name}: lines joined that are not one paragraph: {wrong[:10]}")
        for n in sorted(want_removed - got_removed):
            print(f"  {name}: site line {n} left: {lines[n - 1].strip()[:60]}")
        for n, t in sorted(want_cuts.items()):
            if got_cuts.get(n) != t:
                print(f"  {name}: site text on line {n} left or cut otherwise: {t} / {got_cuts.get(n)}")
        for a, b in want_joins:
            if (a, b) not in got_joins:
                print(f"  {name}: paragraph {a}-{b} not joined as one")
    header = "text            site removed  site left  story removed  joined right  joined missed  wrong joins  (paragraphs)"
    print(header)
    for name, r in rows + [("total", totals)]:
        print(f"{name:16s}{r[0]:12d}{r[1]:11d}{r[2]:15d}{r[3]:14d}{r[4]:15d}{r[5]:13d}  ({r[6]})")
    for failure in failures:
        print(failure)
    return tool_check.finish(failures)


if __name__ == "__main__":
    sys.exit(main())
