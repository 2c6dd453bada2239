#!/usr/bin/env python3
"""Books by chapter end to end: the real bookmaker-cli (natively, or the .exe under Wine)
with --chapters on novels shaped like downloaded ones (novels.py). Each book's index must
list exactly the novel's chapters in order, its parts joined must be the source text (CR LF
stored as LF), and unzip -t, 7z t, Python's zipfile and Java's JarFile must find it sound,
whichever --compression made it.
With the phone reader and its test phone (--reader, --harness), the books are made on the
reader and the 3 MB novel is read to its last page on the test phone.

usage: chapters_e2e.py --tool BOOKMAKER_CLI --work DIR [--emulator WINE_RUN]
                       [--reader RDbook.dat --harness HARNESS_CLASSES_DIR]
"""
import os
import signal
import subprocess
import sys
import time
import zipfile

import book_checks
import cli_book
import novels
import tool_check


def joined_parts(book, count):
    with zipfile.ZipFile(book) as zf:
        return "".join(zf.read("%d.txt" % i).decode("utf-8") for i in range(1, count + 1))


def interrupted(c, args, template):
    """Ctrl+C while a large text without headings is read by chapters: the run stops with
    the cancel message and writes nothing. (How soon it stops is measured by
    bench/chapter_scaling.py.)"""
    source = os.path.join(args.work, "长文.txt")
    with open(source, "wb") as f:
        paragraph = ("　　" + "天地玄黄宇宙洪荒日月盈昃辰宿列张" * 8 + "。\r\n").encode("utf-8")
        f.write(paragraph * (40 * 1024 * 1024 // len(paragraph)))
    book = os.path.join(args.work, "长文.jar")
    proc = subprocess.Popen([args.tool, "--chapters", "-n", "长文", "-t", template, "-o", book, source],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    time.sleep(0.5)
    proc.send_signal(signal.SIGINT)
    _, err = proc.communicate()
    c.expect(proc.returncode == 1 and err.decode("utf-8").strip() == "已取消生成电子书。",
             "Ctrl+C during --chapters: cancelled (exit %d, %s)" % (proc.returncode, err.decode("utf-8").strip()))
    c.expect(not os.path.exists(book) and not os.path.exists(os.path.join(args.work, "长文.jad")),
             "Ctrl+C during --chapters: nothing written")
    os.remove(source)


def main():
    args = tool_check.arguments()
    c = cli_book.Checker(args)
    reading = bool(args.reader and args.harness and os.path.isfile(args.reader) and os.path.isdir(args.harness))
    template = args.reader if reading else book_checks.make_template(os.path.join(args.work, "RDbook.dat"))
    jar_check = book_checks.JarFileCheck(os.path.join(args.work, "java"))

    # Each compression choice once: the readers and the test phone take every one.
    books = [
        ("青禾演义", novels.web_novel_120(), "utf-8", ["--compression", "fast"]),
        ("楔子书", novels.wedge_and_zeros(), "utf-8-sig", []),
        ("目录书", novels.with_contents(), "utf-16", ["--compression", "normal"]),
        ("大书", novels.large_novel(), "gbk", ["--compression", "small"]),
    ]
    for name, (text, titles), encoding, options in books:
        source = os.path.join(args.work, name + ".txt")
        with open(source, "wb") as f:
            f.write(text.encode(encoding))
        book = os.path.join(args.work, name + ".jar")
        code, out, err = c.cli("--chapters", *options, "-n", name, "-t", c.host(template), "-o", c.host(book),
                               c.host(source))
        c.expect(code == 0, "%s: built (%s)" % (name, err.strip()))
        if code != 0:
            continue
        chapters = len(titles) - sum(1 for t in titles if t.endswith("(2)") or t.endswith("(3)"))
        c.expect("%d 章" % chapters in out, "%s: the per-source line counts %d chapters: %s" % (name, chapters, out.strip()))
        got = book_checks.read_index(book).titles
        c.expect(got == titles, "%s: %d parts titled by their chapters%s" % (
            name, len(titles), "" if got == titles else ": %s" % [t for t in got if t not in titles][:5]))
        c.expect(joined_parts(book, len(got)) == text.replace("\r\n", "\n"), "%s: the parts joined are the source" % name)
        for verdict in book_checks.check_book(book, name, jar_check):
            c.expect(verdict.ok, "%s: %s %s" % (name, verdict.reader, verdict.detail))
        if reading and name == "大书":
            c.expect(book_checks.read_on_test_phone(args.harness, args.work, [book]),
                     "%s: read to its last page on the test phone" % name)

    if not args.emulator:
        interrupted(c, args, template)

    return tool_check.finish(c.failures)


if __name__ == "__main__":
    sys.exit(main())
