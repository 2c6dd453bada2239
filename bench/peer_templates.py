#!/usr/bin/env python3
"""Uses every archive of a folder (for example another zip library's regression archives)
as the reader template of a book made with bookmaker-cli, and sorts the outcomes: refused
(exit 1 with a message, nothing written), a valid book (unzip -t, 7z t, Python's zipfile and
bookmaker-cli inspect all read it), or a broken book (written, but a reader refuses it).
Prints one line per broken book and the counts; exits 1 when any book is broken.

usage: peer_templates.py --cli BOOKMAKER_CLI FOLDER
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import book_checks  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("folder")
    args = parser.parse_args()
    counts = {"refused": 0, "valid": 0, "broken": 0}
    with tempfile.TemporaryDirectory() as work:
        text = os.path.join(work, "a.txt")
        with open(text, "w", encoding="utf-8") as f:
            f.write("第一回 春眠不觉晓\n处处闻啼鸟。\n")
        for name in sorted(os.listdir(args.folder)):
            out = os.path.join(work, "out")
            shutil.rmtree(out, ignore_errors=True)
            os.makedirs(out)
            r = subprocess.run([args.cli, "-n", "书", "-t", os.path.join(args.folder, name), "-o", out, text],
                               capture_output=True, text=True, errors="replace")
            book = os.path.join(out, "书.jar")
            if r.returncode != 0:
                counts["refused"] += 1
                if os.listdir(out):
                    print(f"{name}: refused but left {os.listdir(out)}")
                    counts["broken"] += 1
                continue
            verdicts = [book_checks.unzip_test(book, prefix_allowed=True), book_checks.zipfile_test(book)]
            with open(book, "rb") as f:
                prefixed = f.read(4) != b"PK\x03\x04"
            if not prefixed:  # 7-Zip opens no archive with bytes in front that its offsets do not count
                verdicts.append(book_checks.seven_zip_test(book))
            i = subprocess.run([args.cli, "inspect", book], capture_output=True, text=True, errors="replace")
            bad = [f"{v.reader} {v.detail}" for v in verdicts if not v.ok]
            if i.returncode != 0:
                bad.append("inspect " + i.stdout.strip().splitlines()[-1][:100])
            if bad:
                counts["broken"] += 1
                print(f"{name}: " + "; ".join(bad)[:300])
            else:
                counts["valid"] += 1
    print(f"{len(os.listdir(args.folder))} templates: {counts['refused']} refused, {counts['valid']} valid books, "
          f"{counts['broken']} broken books")
    return 1 if counts["broken"] else 0


if __name__ == "__main__":
    sys.exit(main())
