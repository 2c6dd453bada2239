#!/usr/bin/env python3
"""The native bookmaker-cli and the Windows .exe under Wine write the same books: for each
--compression choice (by chapters, and in volumes), and for each 繁简 conversion (a Big5
novel among the sources), every jar and JAD is the same byte for
byte but for the entries' dates, which are the time of the build (zeroed before comparing).

usage: same_books.py --tool BOOKMAKER_CLI.exe --work DIR --emulator WINE_RUN --native BOOKMAKER_CLI
"""
import argparse
import glob
import os
import sys
import zipfile

import book_checks
import cli_book
import novels
import tool_check
import traditional_e2e


def undated(path):
    """The file's bytes with the date and time of every local and central header zeroed."""
    data = bytearray(open(path, "rb").read())
    if not path.endswith(".jar"):
        return bytes(data)
    with zipfile.ZipFile(path) as zf:
        for info in zf.infolist():
            data[info.header_offset + 10:info.header_offset + 14] = bytes(4)
    end = data.rfind(b"PK\x05\x06")
    entries = int.from_bytes(data[end + 10:end + 12], "little")
    at = int.from_bytes(data[end + 16:end + 20], "little")
    for _ in range(entries):
        assert data[at:at + 4] == b"PK\x01\x02", "central header expected at %d" % at
        data[at + 12:at + 16] = bytes(4)
        lengths = [int.from_bytes(data[at + k:at + k + 2], "little") for k in (28, 30, 32)]
        at += 46 + sum(lengths)
    return bytes(data)


def main():
    args = tool_check.arguments(lambda parser: parser.add_argument("--native", required=True))
    windows = cli_book.Checker(args)
    native = cli_book.Checker(argparse.Namespace(tool=args.native, emulator=None))
    if not os.path.isfile(args.native):
        windows.expect(False, "the native bookmaker-cli is built first: %s" % args.native)
        return 1
    template = book_checks.make_template(os.path.join(args.work, "RDbook.dat"))
    sources = os.path.join(args.work, "sources")
    os.makedirs(sources)
    for name, (text, _), encoding in [("演义.txt", novels.web_novel_120(), "gbk"),
                                       ("目录书.txt", novels.with_contents(), "utf-16"),
                                       ("三國演義.txt", traditional_e2e.novel(), "big5")]:
        with open(os.path.join(sources, name), "wb") as f:
            f.write(text.encode(encoding))

    runs = [(c, ["--chapters", "--compression", c]) for c in ("fast", "normal", "small")]
    runs.append(("volumes", ["--chapters", "--compression", "small", "--max-size", "20K"]))
    runs += [(c, ["--chapters", "--convert", c]) for c in ("t2s", "s2t")]
    for label, options in runs:
        books = {}
        for side, c in (("native", native), ("windows", windows)):
            folder = os.path.join(args.work, label, side)
            os.makedirs(folder)
            code, _, err = c.cli(*options, "-n", "书", "-t", c.host(template), "-o", c.host(folder), c.host(sources))
            c.expect(code == 0, "%s, %s: built (%s)" % (label, side, err.strip()[:200]))
            books[side] = {os.path.basename(p): undated(p) for p in sorted(glob.glob(os.path.join(folder, "*")))}
        same = books["native"] == books["windows"] and books["native"]
        differing = sorted(n for n in set(books["native"]) | set(books["windows"])
                           if books["native"].get(n) != books["windows"].get(n))
        windows.expect(bool(same), "%s: %d files, the same from both builds but for the dates%s" % (
            label, len(books["native"]), "" if same else "; differing: %s" % differing))

    return tool_check.finish(windows.failures + native.failures)


if __name__ == "__main__":
    sys.exit(main())
