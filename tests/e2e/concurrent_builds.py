#!/usr/bin/env python3
"""Two builds of one book at once, where the second cannot see the first's process: the
first runs in another PID namespace (natively) or under Wine beside a native one (the
Windows build, both ways). The first is held inside its build (commit_kill's hold: before
its commit, and in the middle of it, with old volumes set aside and new ones placed), as a
slow share holds it. The second must refuse to build, saying another build writes the book,
and touch nothing; once let go, the first must finish with exactly its new set. Never a
lost old volume, never a broken set.

usage: concurrent_builds.py --tool COMMIT_KILL --work DIR [--emulator WINE_RUN --other NATIVE_COMMIT_KILL]
"""
import os
import shutil
import subprocess
import sys
import time

import book_checks
import tool_check

LIMIT = 3000  # one part of 2000 noise letters per volume
OLD, NEW = 3, 4  # volumes
HELD_AT = (0, 4, 9)  # before the commit; three of the six old files set aside; two new ones placed


class Tool:
    """commit_kill natively, in another PID namespace, or under Wine."""

    def __init__(self, label, prefix, path, wine):
        self.label, self.prefix, self.path, self.wine = label, prefix, path, wine

    def host(self, path):
        return "Z:" + path.replace("/", "\\") if self.wine else path

    def command(self, work, folder, parts, seed, mode):
        return self.prefix + [self.path, self.host(os.path.join(work, "RDbook.dat")),
                              self.host(os.path.join(folder, "book.jar")), str(LIMIT), str(parts), str(seed), mode]

    def run(self, work, folder, parts, seed, mode):
        return subprocess.run(self.command(work, folder, parts, seed, mode), capture_output=True, text=True)


def can_unshare():
    try:
        return subprocess.run(["unshare", "--pid", "--fork", "true"], capture_output=True).returncode == 0
    except OSError:
        return False


def main():
    args = tool_check.arguments(lambda p: p.add_argument("--other", help="the native commit_kill beside Wine's"))
    book_checks.make_template(os.path.join(args.work, "RDbook.dat"), code_size=256)
    failures = []
    if args.emulator:
        wine = Tool("Wine", [args.emulator], args.tool, True)
        native = Tool("native", [], args.other, False)
        if not args.other or not os.path.exists(args.other):
            print(f"the native commit_kill is not built: {args.other}")
            return 1
        pairs = [(wine, native), (native, wine)]
    else:
        if not can_unshare():
            print("cannot make a PID namespace here (unshare --pid needs root)")
            return 1
        pairs = [(Tool("another PID namespace", ["unshare", "--pid", "--fork"], args.tool, False),
                  Tool("native", [], args.tool, False))]

    for first, second in pairs:
        # The old set, and the new set the first build must leave, made the ordinary way.
        reference = os.path.join(args.work, "reference")
        shutil.rmtree(reference, ignore_errors=True)
        os.makedirs(reference)
        sets = {}
        for label, parts, seed in (("old", OLD, 1), ("new", NEW, 500)):
            r = first.run(args.work, reference, parts, seed, "ok")
            if r.returncode != 0:
                print(r.stdout + r.stderr)
                return 1
            sets[label] = tool_check.snapshot(reference)
        for step in HELD_AT:
            what = f"{first.label} held at step {step}, {second.label} beside it"
            folder = os.path.join(args.work, "book")
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
            for name, data in sets["old"].items():
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(data)
            held = os.path.join(args.work, "held")
            if os.path.exists(held):
                os.remove(held)
            a = subprocess.Popen(first.command(args.work, folder, NEW, 500, f"hold:{step}:{first.host(held)}"),
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            deadline = time.time() + 120
            while not os.path.exists(held) and a.poll() is None and time.time() < deadline:
                time.sleep(0.05)
            if not os.path.exists(held):
                a.kill()
                out, err = a.communicate()
                failures.append(f"{what}: the first build was never held ({out.strip()} {err.strip()[:200]})")
                continue
            before = tool_check.snapshot(folder)
            b = second.run(args.work, folder, NEW, 900, "ok")
            after = tool_check.snapshot(folder)
            os.remove(held)
            out, err = a.communicate(timeout=300)
            if b.returncode == 0:
                failures.append(f"{what}: the second build ran beside the first")
            elif "另一个生成正在写这本书" not in b.stderr:
                failures.append(f"{what}: the second build failed otherwise: {b.stderr.strip()[:200]}")
            if after != before:
                changed = sorted(set(before) ^ set(after)) + [n for n in before if n in after and before[n] != after[n]]
                failures.append(f"{what}: the second build touched {changed[:6]}")
            if a.returncode != 0:
                failures.append(f"{what}: the first build failed: {err.strip()[:200]}")
            left = tool_check.snapshot(folder)
            if left != sets["new"]:
                missing = sorted(set(sets["new"]) - set(left))
                extra = sorted(set(left) - set(sets["new"]))
                failures.append(f"{what}: not the new set (missing {missing[:4]}, extra {extra[:4]})")
            print(f"{what}: second build refused; first finished with {len(left)} files")

    for f in failures:
        print("FAIL:", f)
    return tool_check.finish(failures)


if __name__ == "__main__":
    sys.exit(main())
