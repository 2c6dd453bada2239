#!/usr/bin/env python3
"""Kills a real build process (commit_kill: SIGKILL natively, TerminateProcess under Wine)
before each step of its commit in turn, over a folder that holds an older book in volumes.
After each kill the next build that fails (after putting right what the killed one left)
and then the folder must hold exactly the old volumes or exactly the new ones, byte for
byte, and nothing else; a build after that writes the new book. Three old volumes become
two (every step), and 120 become 121 (the steps around the start and end of each phase:
every step of a few hundred files would take many minutes; the builder's own tests stop a
commit of hundreds at far more steps in process).

usage: commit_kill.py --tool COMMIT_KILL --work DIR [--emulator WINE_RUN]
"""
import os
import shutil
import subprocess
import sys

import book_checks
import tool_check

LIMIT = 3000  # one part of 2000 noise letters per volume


class Runner:
    def __init__(self, args):
        self.args = args

    def host(self, path):
        return "Z:" + path.replace("/", "\\") if self.args.emulator else path

    def run(self, folder, parts, seed, mode):
        cmd = ([self.args.emulator] if self.args.emulator else []) + [
            self.args.tool, self.host(os.path.join(self.args.work, "RDbook.dat")),
            self.host(os.path.join(folder, "book.jar")), str(LIMIT), str(parts), str(seed), mode]
        return subprocess.run(cmd, capture_output=True, text=True)


def steps_to_try(total, old_files, new_files, stride):
    """Every step (stride 1), or those around the start and end of each phase (0): the
    plan, setting aside the old files (and the retired), placing the new ones, removing."""
    aside = 1 + old_files
    placed = aside + new_files
    marks = (0, aside, placed, total - 1)
    return [s for s in range(total) if stride == 1 or any(m - 1 <= s <= m + 1 for m in marks)]


def main():
    args = tool_check.arguments()
    book_checks.make_template(os.path.join(args.work, "RDbook.dat"), code_size=256)
    runner = Runner(args)
    failures = []

    cases = [(3, 2, 1), (120, 121, 0)]
    for old_parts, new_parts, stride in cases:
        # The old book, then the new one over it: its commit's steps counted.
        folder = os.path.join(args.work, f"sets{old_parts}")
        os.makedirs(folder)
        sets = {}
        for label, parts, seed in (("old", old_parts, 1), ("new", new_parts, 500)):
            r = runner.run(folder, parts, seed, "ok")
            if r.returncode != 0:
                print(r.stdout + r.stderr)
                return 1
            sets[label] = tool_check.snapshot(folder)
            total = int(r.stdout.split()[1])
        assert len(sets["old"]) == 2 * old_parts and len(sets["new"]) == 2 * new_parts
        tried = steps_to_try(total, len(sets["old"]), len(sets["new"]), stride)
        for step in tried:
            folder = os.path.join(args.work, "book")
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
            for name, data in sets["old"].items():
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(data)
            killed = runner.run(folder, new_parts, 500, str(step))
            if killed.returncode == 0:
                failures.append(f"{old_parts} volumes, step {step}: not killed")
                continue
            failed = runner.run(folder, new_parts, 900, "fail")
            left = tool_check.snapshot(folder)
            if left != sets["old"] and left != sets["new"]:
                extra = sorted(set(left) - set(sets["old"]) - set(sets["new"]))
                missing = sorted(set(sets["old"]) - set(left))
                failures.append(f"{old_parts} volumes, killed at step {step}: neither set "
                                f"(extra {extra[:4]}, old missing {missing[:4]}; {failed.stderr.strip()[:100]})")
                continue
            if stride == 0 and step != tried[-1]:
                continue  # the build after a kill is tried on the small book and at the last step
            built = runner.run(folder, new_parts, 500, "ok")
            if built.returncode != 0 or tool_check.snapshot(folder) != sets["new"]:
                failures.append(f"{old_parts} volumes, step {step}: the build after did not give the new set")
        print(f"{old_parts} old volumes -> {new_parts}: killed at {len(tried)} of {total} commit steps")

    for f in failures:
        print("FAIL:", f)
    return tool_check.finish(failures)


if __name__ == "__main__":
    sys.exit(main())
