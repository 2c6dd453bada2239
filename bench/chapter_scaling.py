#!/usr/bin/env python3
"""How bookmaker-cli --chapters grows with the text: for each shape of text that gives one
huge chapter or none, 30, 60 and 120 MB of it (UTF-8) made into a book with and without
--chapters, each the best of ROUNDS runs. Prints CPU time (user + system: on a machine that
other work keeps busy it wavers far less than wall time), wall time and peak RSS of every
size and, per shape, the exponent k of CPU time ~ size^k fitted over the three sizes
(linear: k near 1), and the peak memory with --chapters against without. Then Ctrl+C: a SIGINT one second into a --chapters run on the
largest text without headings, and how long the program took to end after it.

Shapes: prose without headings; one heading, then all the prose; one line of it all;
prose hard-wrapped in lines of 100 characters.

Last, `bookmaker-cli chapters` (and with --why) on a novel of 3000 chapters: its wall time.

usage: chapter_scaling.py --cli BOOKMAKER_CLI --template JAR --work DIR [--sizes 30,60,120] [--rounds 3]
"""
import argparse
import math
import os
import shutil
import signal
import subprocess
import sys
import time

from make_corpus import chinese_number

# About 1 MB of varied prose: sentences of a few hundred characters each.
SYLLABLES = "天地玄黄宇宙洪荒日月盈昃辰宿列张寒来暑往秋收冬藏闰余成岁律吕调阳云腾致雨露结为霜金生丽水玉出昆冈"


def prose_block(size):
    """Paragraphs of indented prose, about size bytes of UTF-8 (CR LF line ends)."""
    out, total, n = [], 0, 0
    while total < size:
        n += 1
        length = 80 + (n * 37) % 240
        text = "".join(SYLLABLES[(n * 7 + i * (n % 11 + 1)) % len(SYLLABLES)] for i in range(length))
        sentence = "　　" + "，".join(text[i:i + 20] for i in range(0, len(text), 20)) + "。\r\n"
        out.append(sentence)
        total += len(sentence.encode("utf-8"))
    return "".join(out)


def wrapped_block(size):
    """The same prose, hard-wrapped at 100 characters, without indentation."""
    text = prose_block(size).replace("\r\n", "").replace("　", "")
    return "".join(text[i:i + 100] + "\r\n" for i in range(0, len(text), 100))


def shapes(block_size):
    prose = prose_block(block_size)
    return {
        "no headings": ("", prose),
        "one heading, then prose": ("第一章 开端\r\n", prose),
        "one line": ("", prose.replace("\r\n", "")),
        "100-character lines": ("", wrapped_block(block_size)),
    }


def write(path, head, block, megabytes):
    target = megabytes * 1000 * 1000
    with open(path, "wb") as f:
        data = block.encode("utf-8")
        f.write(head.encode("utf-8"))
        written = 0
        while written < target:
            f.write(data)
            written += len(data)


def run(cli, template, source, out, chapters):
    args = [cli, "-n", "书", "-t", template, "-o", out] + (["--chapters"] if chapters else []) + [source]
    start = time.perf_counter()
    proc = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s\n%s" % (" ".join(args), proc.stderr.read().decode()))
    proc.stderr.close()
    return elapsed, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024  # s, s, MiB


def exponent(sizes, times):
    """The slope of log(time) over log(size), least squares."""
    xs = [math.log(s) for s in sizes]
    ys = [math.log(t) for t in times]
    mx, my = sum(xs) / len(xs), sum(ys) / len(ys)
    return sum((x - mx) * (y - my) for x, y in zip(xs, ys)) / sum((x - mx) ** 2 for x in xs)


def interrupt(cli, template, source, out, after):
    """Seconds from a SIGINT sent `after` seconds into a --chapters run until it ends, and
    its exit code and message."""
    proc = subprocess.Popen([cli, "-n", "书", "-t", template, "-o", out, "--chapters", source],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    time.sleep(after)
    if proc.poll() is not None:
        return None, proc.returncode, proc.stderr.read().decode()
    sent = time.perf_counter()
    proc.send_signal(signal.SIGINT)
    _, err = proc.communicate()
    return time.perf_counter() - sent, proc.returncode, err.decode()


def novel(path, chapters):
    """A GBK web novel: a table of contents, then chapters of about 3000 characters."""
    prose = prose_block(9000)
    parts = ["目录\r\n"] + ["第%s章 标题%d\r\n" % (chinese_number(k), k) for k in range(1, 31)] + ["\r\n"]
    for k in range(1, chapters + 1):
        parts.append("第%s章 标题%d\r\n%s" % (chinese_number(k), k, prose))
    with open(path, "wb") as f:
        f.write("".join(parts).encode("gbk"))


def timed(command):
    """(wall, CPU) seconds of a run."""
    start = time.perf_counter()
    proc = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s" % " ".join(command))
    return time.perf_counter() - start, usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--template", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--sizes", default="30,60,120")
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    sizes = [int(s) for s in args.sizes.split(",")]
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    out = os.path.join(args.work, "out.jar")
    source = os.path.join(args.work, "source.txt")
    summary = []
    for shape, (head, block) in shapes(1000 * 1000).items():
        times = {True: [], False: []}
        memory = {True: [], False: []}
        for megabytes in sizes:
            write(source, head, block, megabytes)
            for chapters in (False, True):
                runs = [run(args.cli, args.template, source, out, chapters) for _ in range(args.rounds)]
                elapsed, cpu, rss = min(runs, key=lambda r: r[1])
                times[chapters].append(cpu)
                memory[chapters].append(max(r[2] for r in runs))
                print("%-24s %4d MB %-12s CPU %7.2f s  wall %7.2f s %7.0f MiB" %
                      (shape, megabytes, "--chapters" if chapters else "plain", cpu, elapsed, rss), flush=True)
        summary.append((shape, exponent(sizes, times[True]), exponent(sizes, times[False]),
                        memory[True][-1], memory[False][-1]))
    print("\nexponent of CPU time ~ size^k over %s MB (best of %d); peak memory at %d MB" %
          ("/".join(map(str, sizes)), args.rounds, sizes[-1]))
    print("%-24s %12s %8s %16s %10s" % ("shape", "--chapters", "plain", "--chapters MiB", "plain MiB"))
    for shape, k, plain, rss, plain_rss in summary:
        print("%-24s %12.2f %8.2f %16.0f %10.0f" % (shape, k, plain, rss, plain_rss))
    head, block = shapes(1000 * 1000)["no headings"]
    write(source, head, block, sizes[-1])
    latency, code, err = interrupt(args.cli, args.template, source, out, 1.0)
    if latency is None:
        print("\nCtrl+C: the run ended before the signal (exit %d)" % code)
    else:
        print("\nCtrl+C one second into --chapters on %d MB without headings: ended %.2f s later, exit %d, %s" %
              (sizes[-1], latency, code, err.strip()))
    os.remove(source)

    path = os.path.join(args.work, "novel.txt")
    novel(path, 3000)
    size = os.path.getsize(path)
    listing = min((timed([args.cli, "chapters", path]) for _ in range(args.rounds)), key=lambda t: t[1])
    why = min((timed([args.cli, "chapters", "--why", path]) for _ in range(args.rounds)), key=lambda t: t[1])
    print("bookmaker-cli chapters on a novel of 3000 chapters (%.1f MB of GBK): CPU %.2f s (wall %.2f s), "
          "with --why CPU %.2f s (wall %.2f s)" % (size / 1e6, listing[1], listing[0], why[1], why[0]))
    os.remove(path)


if __name__ == "__main__":
    main()
