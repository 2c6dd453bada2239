#!/usr/bin/env python3
"""Volumes end to end: the real bookmaker-cli (natively, or the .exe under Wine) with
--max-size 300K on a 6 MB GBK novel, by chapters and by plain parts. Every volume must be
within 300 KB on disk and sound to unzip -t, 7z t, Python's zipfile and Java's JarFile;
named 书名(i) in its manifest and index, its parts numbered from 1.txt; the volumes'
parts and titles joined must be those of the book built whole, the whole book's parts
joined the source; each JAD must give its jar's size and name and the manifest's values;
older volumes above the new ones must be gone and the whole book of the same name kept;
the command must list every file it wrote. With the phone reader and its test phone at
hand, every volume is read to its last page and keeps its own reading position.
Then the failures, each leaving the folder byte for byte as it was.

usage: volumes_e2e.py --tool BOOKMAKER_CLI --work DIR [--emulator WINE_RUN]
                      [--reader RDbook.dat --harness HARNESS_CLASSES_DIR]
"""
import os
import random
import subprocess
import sys
import zipfile

import book_checks
import cli_book
import novels
import tool_check

NAME = "青禾长篇"
LIMIT = 300 * 1024


def novel(megabytes=6):
    """Chapters of 8000 to 100000 characters of novels.ranked_text in sentences and
    paragraphs, about `megabytes` MB in GBK, CR LF line ends."""
    rnd = random.Random(13)
    text, n = [], 0
    size = 0
    while size < megabytes * 1000000:
        n += 1
        heading = "第%d章 风起%d" % (n, n)
        body, length = [], rnd.randint(8000, 100000)
        while length > 0:
            sentences = (novels.ranked_text(rnd, rnd.randint(5, 30)) for _ in range(rnd.randint(4, 13)))
            paragraph = "\u3000\u3000" + "，".join(sentences) + "。"
            body.append(paragraph)
            length -= len(paragraph)
        chapter = heading + "\r\n" + "\r\n".join(body) + "\r\n"
        text.append(chapter)
        size += len(chapter.encode("gbk"))
    return "".join(text)


class Checker(cli_book.Checker):
    """cli_book's: expect, host and cli; and the files a build lists."""

    def listed(self, out):
        """The files the command says it wrote and removed, as names in the output folder."""
        written, removed = [], []
        for line in out.splitlines():
            for prefix, into in (("已生成：", written), ("已删除旧的分卷：", removed)):
                if line.startswith(prefix):
                    path = line[len(prefix):].split("（")[0]
                    into.append(path.replace("\\", "/").rsplit("/", 1)[-1])
        return written, removed


def parts_of(z, count):
    return [z.read("%d.txt" % i).decode("utf-8") for i in range(1, count + 1)]


def read_jad(path):
    with open(path, "rb") as f:
        data = f.read()
    attributes = {}
    for line in data.decode("utf-8").split("\r\n"):
        if line:
            key, value = line.split(": ", 1)
            attributes[key] = value
    return data, attributes


def check_volumes(c, label, folder, template, source_text, extra, jar_check):
    """Builds NAME whole and with the limit in folder; checks the volumes against the whole."""
    whole_dir = os.path.join(folder, "whole")
    os.makedirs(whole_dir)
    code, _, err = c.cli("-n", NAME, "-t", c.host(template), "-o", c.host(whole_dir), *extra,
                         c.host(os.path.join(c.args.work, NAME + ".txt")))
    c.expect(code == 0, f"{label}: the whole book ({code}) {err[:200]}")
    with zipfile.ZipFile(os.path.join(whole_dir, NAME + ".jar")) as z:
        whole_titles = book_checks.read_index(z).titles
        whole_parts = parts_of(z, len(whole_titles))
    c.expect("".join(whole_parts) == source_text.replace("\r\n", "\n"), f"{label}: the whole book's parts are the source")

    # An older book of the same name: its whole jar, and volumes of sixty short texts
    # (beyond the new ones), then a file of the user's named like the next volume.
    out_dir = os.path.join(folder, "out")
    os.makedirs(out_dir)
    short = os.path.join(folder, "short")
    os.makedirs(short)
    rng = random.Random(7)
    for i in range(1, 61):
        with open(os.path.join(short, "%d.txt" % i), "w", encoding="utf-8") as f:
            f.write("".join(chr(0x4E00 + rng.randrange(3000)) for _ in range(300)))
    code, _, err = c.cli("-n", NAME, "--max-size", str(os.path.getsize(template) + 2000), "-t", c.host(template),
                         "-o", c.host(out_dir), c.host(short))
    c.expect(code == 0, f"{label}: the older volumes ({code}) {err[:200]}")
    older = {NAME + ".jar": b"the whole book, for another phone", NAME + ".jad": b"its JAD",
             NAME + "(99).jar": b"the user's, after a gap"}
    for name in os.listdir(out_dir):
        with open(os.path.join(out_dir, name), "rb") as f:
            older[name] = f.read()
    users = "%s(%d).jar" % (NAME, sum(n.endswith(").jar") for n in os.listdir(out_dir)) + 1)
    older[users] = b"the user's, named like the next volume"
    for name, data in older.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)

    code, out, err = c.cli("-n", NAME, "--max-size", "300K", "-t", c.host(template), "-o", c.host(out_dir), *extra,
                           c.host(os.path.join(c.args.work, NAME + ".txt")))
    c.expect(code == 0 and err == "", f"{label}: exit 0 ({code}) {err[:300]}")
    if code != 0:
        return []
    written, removed = c.listed(out)
    k = len(written) // 2
    c.expect(k >= 10, f"{label}: {k} volumes")
    volumes = ["%s(%d).jar" % (NAME, i) for i in range(1, k + 1)]
    c.expect(written == [n for v in volumes for n in (v, v[:-4] + ".jad")], f"{label}: every file written listed in order")
    c.expect(sorted(removed) == sorted(n for n in older if n.startswith(NAME + "(") and
                                       k < int(n[len(NAME) + 1:n.index(")")]) < 99 and n != users),
             f"{label}: the older volumes above {k} removed and listed, the user's files kept")
    c.expect(out.splitlines()[-1] == "共 %d 卷，%d 部分，每卷不超过 300 KB（307200 字节）。" % (k, len(whole_parts)),
             f"{label}: the count {out.splitlines()[-1]}")
    c.expect(sorted(os.listdir(out_dir)) == sorted(written + [NAME + ".jar", NAME + ".jad", NAME + "(99).jar", users]),
             f"{label}: the folder holds the volumes, the whole book and the user's files kept")
    for name in (NAME + ".jar", NAME + ".jad", NAME + "(99).jar", users):
        with open(os.path.join(out_dir, name), "rb") as f:
            c.expect(f.read() == older[name], f"{label}: {name} kept as it was")

    titles, parts, midlet_names = [], [], set()
    for i, volume in enumerate(volumes, 1):
        path = os.path.join(out_dir, volume)
        size = os.path.getsize(path)
        c.expect(size <= LIMIT, f"{label}: {volume} is {size} bytes, within {LIMIT}")
        r = subprocess.run(["unzip", "-tqq", path], capture_output=True)
        c.expect(r.returncode == 0, f"{label}: unzip -t {volume}")
        r = subprocess.run(["7z", "t", path], capture_output=True, text=True)
        c.expect(r.returncode == 0 and "Everything is Ok" in r.stdout, f"{label}: 7z t {volume}")
        with zipfile.ZipFile(path) as z:
            c.expect(z.testzip() is None, f"{label}: zipfile CRCs of {volume}")
            index = book_checks.read_index(z)
            names = z.namelist()
            count = len(index.titles)
            c.expect(index.name == "%s(%d)" % (NAME, i), f"{label}: {volume} index names {index.name}")
            c.expect(names[-count - 2:] == ["META-INF/MANIFEST.MF", "index.txt"] +
                     ["%d.txt" % n for n in range(1, count + 1)], f"{label}: {volume} parts numbered from 1.txt")
            titles += index.titles
            before = sum(len(p.encode("utf-8")) for p in parts)
            parts += parts_of(z, count)
        with zipfile.ZipFile(path) as z:
            manifest = dict(line.split(": ", 1) for line in
                            z.read("META-INF/MANIFEST.MF").decode("utf-8").split("\r\n") if ": " in line)
        verdict = jar_check(path, book_checks.book_manifest("%s(%d)" % (NAME, i)))
        c.expect(verdict.ok, f"{label}: JarFile reads {volume}, every CRC, and its manifest names it {verdict.detail}")
        midlet_names.add(manifest.get("MIDlet-Name"))
        jad_bytes, jad = read_jad(path[:-4] + ".jad")
        c.expect(not jad_bytes.startswith(b"\xef\xbb\xbf") and jad.get("MIDlet-Jar-Size") == str(size) and
                 jad.get("MIDlet-Jar-URL") == volume, f"{label}: {volume}'s JAD gives its size and name")
        shared = [key for key in jad if key in manifest]
        c.expect(len(shared) == 8 and all(jad[key] == manifest[key] for key in shared),
                 f"{label}: {volume}'s JAD says what its manifest says ({len(shared)} attributes)")
        total = sum(len(p.encode("utf-8")) for p in whole_parts)
        c.expect(manifest.get("Lumenread-Volume") == "%d %d" % (before, total),
                 f"{label}: {volume} starts at byte {before} of {total}: {manifest.get('Lumenread-Volume')}")
        code, report, err = c.cli("inspect", c.host(path))
        c.expect(code == 0 and "描述文件：" in report,
                 f"{label}: inspect {volume} ({code}) {(report + err).strip()[-600:]}")
    c.expect(len(midlet_names) == k, f"{label}: every volume a MIDlet name of its own")
    c.expect(titles == whole_titles, f"{label}: the volumes' titles joined are the whole book's")
    c.expect(parts == whole_parts, f"{label}: the volumes' parts joined are the whole book's")
    return [os.path.join(out_dir, v) for v in volumes]


def expect_failure(c, label, folder, args, code_wanted, first_line_starts, limit=None):
    before = {}
    for root, dirs, files in os.walk(folder):
        for name in files + dirs:
            path = os.path.join(root, name)
            before[path] = open(path, "rb").read() if os.path.isfile(path) else None
    code, out, err = c.cli(*args, limit=limit)
    first = err.splitlines()[0] if err else ""
    c.expect(code == code_wanted, f"{label}: exit {code_wanted} ({code}) {err.strip()[:300]}")
    c.expect(first.startswith(first_line_starts), f"{label}: message {first!r}")
    after = {}
    for root, dirs, files in os.walk(folder):
        for name in files + dirs:
            path = os.path.join(root, name)
            after[path] = open(path, "rb").read() if os.path.isfile(path) else None
    c.expect(after == before, f"{label}: the folder as it was")


def run_failures(c, template, work):
    folder = os.path.join(work, "failures")
    os.makedirs(folder)
    for name in (NAME + ".jar", NAME + ".jad", NAME + "(1).jar", NAME + "(1).jad", NAME + "(2).jar"):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(b"older " + name.encode())
    source = c.host(os.path.join(work, NAME + ".txt"))
    base = ["-n", NAME, "-t", c.host(template), "-o", c.host(folder)]
    expect_failure(c, "a part over 100 KB", folder, base + ["--max-size", "100K", source], 1,
                   "第 1 部分“%s(1)”单独成卷也超过了分卷大小 100 KB（102400 字节）。分卷大小至少要 " % NAME)
    expect_failure(c, "a limit below the template", folder, base + ["--max-size", "1K", source], 1,
                   "分卷大小 1 KB（1024 字节）比电子书模板 RDbook.dat（")
    expect_failure(c, "a size that is no size", folder, base + ["--max-size", "300 KB", source], 2, "分卷大小无效：")
    os.makedirs(os.path.join(folder, NAME + "(3).jar"))
    expect_failure(c, "a folder where volume 3 goes", folder, base + ["--max-size", "300K", "--chapters", source], 1,
                   "这个位置不是普通文件，不能写入电子书：")
    os.rmdir(os.path.join(folder, NAME + "(3).jar"))
    if not c.args.emulator:
        # Beyond the limit a write fails (EFBIG) in the middle of a volume.
        expect_failure(c, "a file size limit", folder, base + ["--max-size", "300K", "--chapters", source], 1, "",
                       limit=200 * 1024)


def main():
    args = tool_check.arguments()
    c = Checker(args)

    text = novel()
    with open(os.path.join(args.work, NAME + ".txt"), "wb") as f:
        f.write(text.encode("gbk"))
    print("novel: %d bytes of GBK" % os.path.getsize(os.path.join(args.work, NAME + ".txt")))

    jar_check = book_checks.JarFileCheck(os.path.join(args.work, "java"))

    reading = bool(args.reader and args.harness and os.path.isfile(args.reader) and os.path.isdir(args.harness))
    if reading:
        template = args.reader
    else:
        template = book_checks.make_template(os.path.join(args.work, "RDbook.dat"))
        print("skip reading on the test phone (no reader or harness built)")

    by_chapters = check_volumes(c, "by chapters", os.path.join(args.work, "chapters"), template, text, ["--chapters"],
                                jar_check)
    check_volumes(c, "by parts", os.path.join(args.work, "parts"), template, text, [], jar_check)

    if reading and by_chapters:
        c.expect(book_checks.read_on_test_phone(args.harness, args.work, by_chapters),
                 "every volume read to its last page on the test phone, each with its own page kept")

    run_failures(c, template, args.work)

    return tool_check.finish(c.failures)


if __name__ == "__main__":
    sys.exit(main())
