#!/usr/bin/env python3
"""Builds the benchmark corpus deterministically from the Chinese texts of Debian's
fortunes-zh: about TOTAL_MB of UTF-8 text laid out like a novel (one paragraph per line,
indented by two ideographic spaces, CR LF, a blank line between records), shuffled per pass
by a hash, cut at line ends into files of about 300 KB.

With --gbk the same text is written in GBK instead: TOTAL_MB MiB of GBK in files of about
300 KiB, and beside it (OUT_DIR-utf8) the same files converted to UTF-8, byte for byte the
text the GBK files hold.

With --gbk-chapters the GBK text is shaped like novels in chapters: a heading line
("第一百二十三章 …") before every 25th record, for measuring chapter detection.

usage: make_corpus.py [--gbk | --gbk-chapters] OUT_DIR [TOTAL_MB]
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


# Characters GBK lacks, mapped to what GBK has before encoding.
GBK_MAP = str.maketrans({"\u2027": "\u00b7", "\u30fb": "\u00b7", "\u2022": "\u00b7", "\u00a0": " "})


DIGITS = "零一二三四五六七八九"


def chinese_number(n):
    """Up to 9999: 一千零五, 二十, 十一."""
    if n == 0:
        return DIGITS[0]
    text, zero = "", False
    for value, unit in ((1000, "千"), (100, "百"), (10, "十"), (1, "")):
        digit = n // value % 10
        if digit:
            text += ("零" if zero else "") + ("" if (unit == "十" and digit == 1 and not text) else DIGITS[digit]) + unit
            zero = False
        elif text:
            zero = True
    return text


def main_gbk(out_dir, total_mib, chapters=False):
    total = int(total_mib * 1024 * 1024)
    utf8_dir = out_dir.rstrip("/") + "-utf8"
    os.makedirs(out_dir, exist_ok=True)
    if not chapters:
        os.makedirs(utf8_dir, exist_ok=True)
    recs = records()
    encoded = ["".join("\u3000\u3000" + line + "\r\n" for line in r).translate(GBK_MAP)
               .encode("gbk", errors="replace") + b"\r\n" for r in recs]
    chapter = 0

    def heading(rec):
        nonlocal chapter
        chapter += 1
        title = "".join(c for c in recs[rec][0] if "\u4e00" <= c <= "\u9fff")[:8]
        return f"第{chinese_number(chapter % 10000)}章 {title}\r\n".encode("gbk", errors="replace")

    written, utf8_written, index, current = 0, 0, 0, bytearray()
    passes = 0
    while written < total:
        order = sorted(range(len(encoded)),
                       key=lambda i: hashlib.md5(f"{passes}:{i}".encode()).digest())
        for k, i in enumerate(order):
            if chapters and k % 25 == 0:
                current += heading(i)
            current += encoded[i]
            if len(current) >= 300 * 1024:
                index += 1
                name = f"{index:04d}.txt"
                with open(os.path.join(out_dir, name), "wb") as f:
                    f.write(current)
                if not chapters:
                    utf8 = current.decode("gbk").encode("utf-8")
                    with open(os.path.join(utf8_dir, name), "wb") as f:
                        f.write(utf8)
                    utf8_written += len(utf8)
                written += len(current)
                current = bytearray()
                if written >= total:
                    break
        passes += 1
    print(f"{index} files, {written / 2**20:.1f} MiB of GBK ({utf8_written / 1e6:.1f} MB as UTF-8) "
          f"from {len(recs)} records")


def main():
    if sys.argv[1] in ("--gbk", "--gbk-chapters"):
        main_gbk(sys.argv[2], float(sys.argv[3] if len(sys.argv) > 3 else 100), sys.argv[1] == "--gbk-chapters")
        return
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
