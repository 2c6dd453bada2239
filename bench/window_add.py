#!/usr/bin/env python3
"""Adding a large GBK novel by chapters in the window against the command line, both the
Windows builds under Wine: BookMaker.exe driven by bookmaker_driver.exe (工具 > 按章节拆分,
添加文件 through the real file dialog; the time from the dialog's OK until the window is
enabled again with the list filled, which the driver reports as add_ms), and
`bookmaker-cli.exe chapters` on the same file (the same reading, decoding and cutting,
wall time of the process, its listing written to a file). The novel (tests/e2e/novels.py, big_gbk_novel: chapters of
5000 characters) is made here and not kept. Prints each run, the medians and their ratio.

usage: window_add.py [--build build/windows] [--mb 30] [--rounds 3] [--work DIR]
Run inside a display (xvfb-run) with the Wine server started (scripts/wine-env start).
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time
import zipfile

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(top, "tests", "e2e"))
import novels  # noqa: E402

WINE_RUN = os.path.join(top, "scripts", "wine-run")


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(top, "build", "windows"))
    parser.add_argument("--mb", type=int, default=30)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--work", default=os.path.join(top, "build", "bench", "window_add"))
    args = parser.parse_args()

    program = os.path.join(args.build, "src", "app", "BookMaker.exe")
    driver = os.path.join(args.build, "tests", "app", "bookmaker_driver.exe")
    cli = os.path.join(args.build, "src", "cli", "bookmaker-cli.exe")
    shutil.rmtree(args.work, ignore_errors=True)
    folder = os.path.join(args.work, "folder")
    os.makedirs(folder)
    with zipfile.ZipFile(os.path.join(folder, "RDbook.dat"), "w") as z:
        z.writestr("Lumenread.class", bytes(range(256)) * 8)
    data, titles = novels.big_gbk_novel(args.mb)
    novel = os.path.join(args.work, "novel.txt")
    with open(novel, "wb") as f:
        f.write(data)
    print(f"novel: {len(data)} bytes of GBK, {len(titles)} chapters")

    scenario = os.path.join(args.work, "scenario.txt")
    with open(scenario, "w", encoding="utf-8") as f:
        f.write(f"name=书\nfile={wine_path(novel)}\ntitle=序\ntext=序\nchapters=1\n")
    window, command_line = [], []
    for _ in range(args.rounds):
        r = subprocess.run([WINE_RUN, driver, wine_path(program), wine_path(folder), wine_path(scenario)],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=600)
        seen = dict(line.split("=", 1) for line in r.stdout.decode("utf-8", "replace").replace("\r", "").splitlines()
                    if "=" in line and not line.startswith("item="))
        if r.returncode != 0 or "add_ms" not in seen:
            sys.exit(f"the driver failed: {seen.get('error')}")
        window.append(int(seen["add_ms"]) / 1000)
        # Its listing goes to a file: written to /dev/null through Wine it takes ten times as long.
        with open(os.path.join(args.work, "chapters.txt"), "wb") as listing:
            start = time.monotonic()
            c = subprocess.run([WINE_RUN, cli, "chapters", wine_path(novel)], stdout=listing,
                               stderr=subprocess.DEVNULL, timeout=600)
            command_line.append(time.monotonic() - start)
        if c.returncode != 0:
            sys.exit("bookmaker-cli chapters failed")
        print(f"window {window[-1]:.2f} s, command line {command_line[-1]:.2f} s")
    w, c = statistics.median(window), statistics.median(command_line)
    print(f"median: window {w:.2f} s, command line {c:.2f} s, window / command line {w / c:.2f}")
    shutil.rmtree(args.work, ignore_errors=True)


if __name__ == "__main__":
    main()
