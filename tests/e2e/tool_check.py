"""What tool_check (tests/CMakeLists.txt) gives the scripts it registers, and how they end:
the tool to drive, a work folder of the script's own, the emulator that runs the tool in the
Windows build, natively the phone reader template and its test phone's classes; the exit
code from the checks that failed."""
import argparse
import os
import shutil
import subprocess


def arguments(add=None):
    """The arguments, with those add(parser) adds for the script; the work folder absolute
    and empty (what a killed run left mounted below it unmounted first)."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True, help="the program the script drives")
    parser.add_argument("--work", required=True, help="the script's scratch folder, emptied")
    parser.add_argument("--emulator", help="runs the tool (the Windows build: Wine)")
    parser.add_argument("--reader", help="the phone reader RDbook.dat, when built")
    parser.add_argument("--harness", help="the classes of the reader's test phone, when built")
    if add:
        add(parser)
    args = parser.parse_args()
    args.work = os.path.abspath(args.work)
    if os.path.exists("/proc/self/mounts"):
        with open("/proc/self/mounts") as f:
            mounted = [line.split()[1] for line in f]
        for point in sorted(mounted, reverse=True):
            if point.startswith(args.work + os.sep):
                subprocess.run(["umount", point], capture_output=True)
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    return args


def finish(failures):
    """The script's exit code: 1 when a check failed, after saying how many did."""
    if failures:
        print(f"{len(failures)} checks failed")
        return 1
    print("all checks passed")
    return 0


def snapshot(folder):
    """Every file in folder by name, with its bytes: what a check compares before and after."""
    out = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as f:
            out[name] = f.read()
    return out
