#!/usr/bin/env python3
"""Builds the benchmark corpus deterministically from the Chinese texts of Debian's
fortunes-zh: about TOTAL_MB of UTF-8 text laid out like a novel (one paragraph per line,
indented by two ideographic spaces, CR LF, a blank line between records), shuffled per pass
by a hash, cut at line ends into files of about 300 KB.

usage: make_corpus.py OUT_DIR [TOTAL_MB]
"""
import hashlib
import os
import re
import sys

FORTUNES = "/usr/share/games/fortunes"
FILE_SIZE = 300 * 1024
ANSI = re.compile(r"\x1b\[[0-9;]*m")


def records():
    out = []
    for name in ("tang300", "song100", "chinese"):
        with open(os.path.join(FORTUNES, name), encoding="utf-8", errors="replace") as f:
            text = ANSI.sub("", f.read())
        for record in text.split("\n%\n"):
            lines = [line.strip() for line in record.splitlines() if line.strip() and line.strip() != "%"]
            if not lines:
                continue
            body = "".join(lines)
            cjk = sum(1 for c in body if "\u4e00" <= c <= "\u9fff" or "\u3000" <= c <= "\u303f")
            if name == "chinese" and cjk < 0.6 * len(body):
                continue
            out.append(lines)
    return out


def main():
    out_dir = sys.argv[1]
    total = int(float(sys.argv[2] if len(sys.argv) > 2 else 100) * 1000 * 1000)
    os.makedirs(out_dir, exist_ok=True)
    recs = records()
    encoded = ["".join("\u3000\u3000" + line + "\r\n" for line in r).encode("utf-8") + b"\r\n" for r in recs]

    written, index, current = 0, 0, bytearray()
    passes = 0
    while written < total:
        order = sorted(range(len(encoded)),
                       key=lambda i: hashlib.md5(f"{passes}:{i}".encode()).digest())
        for i in order:
            current += encoded[i]
            if len(current) >= FILE_SIZE:
                index += 1
                with open(os.path.join(out_dir, f"{index:04d}.txt"), "wb") as f:
                    f.write(current)
                written += len(current)
                current = bytearray()
                if written >= total:
                    break
        passes += 1
    print(f"{index} files, {written / 1e6:.1f} MB of UTF-8 from {len(recs)} records")


if __name__ == "__main__":
    main()
