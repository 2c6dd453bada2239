#!/usr/bin/env python3
"""Appends entries with zip_append to templates made by other tools, then has readers
nobody here wrote check the result (book_checks.py): unzip -t, 7z t, Python's zipfile
(every CRC and byte) and Java's JarFile (the manifest read as UTF-8, every entry's bytes).
Also checks that the template's own records survive byte for byte and that opening and
closing without adding changes nothing.

usage: zip_interop.py --tool ZIP_APPEND --work DIR [--emulator WINE_RUN]
"""
import io
import os
import shutil
import struct
import subprocess
import sys
import zipfile

import book_checks
import tool_check

MANIFEST = ("Manifest-Version: 1.0\r\nMIDlet-1: 书,/rd.PNG,Lumenread\r\n"
            "MIDlet-Name: 书\r\nMicroEdition-Profile: MIDP-1.0\r\n").encode("utf-8")


def text_of(size):
    line = "第一回　宴桃园豪杰三结义，斩黄巾英雄首立功。Chapter one.\n".encode("utf-8")
    return (line * (size // len(line) + 1))[:size]


def payloads():
    """Entry name as passed to the engine, name as stored, and content."""
    items = [("META-INF\\MANIFEST.MF", "META-INF/MANIFEST.MF", MANIFEST),
             ("index.txt", "index.txt", "\ufeff佚名\r\n青禾\r\n书\r\n".encode("utf-16-le") + b"\0\0")]
    for size in (0, 4, 5, 65536, 1 << 20):
        items.append((f"{size}.txt", f"{size}.txt", text_of(size)))
    return items


def template_files():
    return [("Lumenread.class", bytes(range(256)) * 12), ("rd.PNG", b"\x89PNG\r\n\x1a\n" + b"\0" * 60),
            ("a/b.txt", b"template text\n" * 40)]


def make_templates(work):
    src = os.path.join(work, "src")
    os.makedirs(os.path.join(src, "a"), exist_ok=True)
    for name, data in template_files():
        with open(os.path.join(src, name), "wb") as f:
            f.write(data)
    names = [n for n, _ in template_files()]
    t = {}

    t["infozip"] = os.path.join(work, "infozip.jar")
    subprocess.run(["zip", "-q", "-X", t["infozip"]] + names, cwd=src, check=True)

    t["jdk"] = os.path.join(work, "jdk.jar")
    subprocess.run(["jar", "cfM", t["jdk"]] + names, cwd=src, check=True)

    def python_zip(path, systems, comment=b"", prefix=b""):
        buf = io.BytesIO()
        with zipfile.ZipFile(buf, "w") as z:
            for (name, data), system in zip(template_files(), systems):
                info = zipfile.ZipInfo(name, (2020, 2, 29, 8, 30, 0))
                info.create_system = system
                info.compress_type = zipfile.ZIP_DEFLATED if len(data) > 100 else zipfile.ZIP_STORED
                info.external_attr = 0x20 if system == 0 else 0o100644 << 16
                z.writestr(info, data)
            z.comment = comment
        with open(path, "wb") as f:
            f.write(prefix + buf.getvalue())
        return path

    t["python-dos"] = python_zip(os.path.join(work, "python.jar"), [0, 0, 0])
    t["comment"] = python_zip(os.path.join(work, "comment.jar"), [0, 0, 0],
                              comment="阅读器模板 reader template".encode("utf-8"))
    t["prefix"] = python_zip(os.path.join(work, "prefix.jar"), [0, 0, 0], prefix=b"#!stub\n" * 300)
    t["unix-first"] = python_zip(os.path.join(work, "unix-first.jar"), [3, 0, 0])
    return t


def end_record(data):
    at = data.rfind(b"PK\x05\x06")
    total, size, offset = struct.unpack("<HII", data[at + 10:at + 20])
    return at, total, size, offset


class Checker:
    def __init__(self, args):
        self.args = args
        self.failures = []

    def host_path(self, path):
        return "Z:" + path.replace("/", "\\") if self.args.emulator else path

    def append(self, archive, entries):
        cmd = ([self.args.emulator] if self.args.emulator else []) + [self.args.tool]
        cmd += ["--time", "1718000000", self.host_path(archive)]
        cmd += [f"{name}={self.host_path(path)}" for name, path in entries]
        result = subprocess.run(cmd, capture_output=True, text=True)
        if result.returncode != 0:
            raise RuntimeError(f"zip_append failed: {result.stderr}")

    def expect(self, ok, what):
        print(("ok   " if ok else "FAIL ") + what)
        if not ok:
            self.failures.append(what)

    def check(self, label, template, files, jar_check):
        out = os.path.join(self.args.work, f"out-{label}.jar")
        original = open(template, "rb").read()

        shutil.copyfile(template, out)
        self.append(out, [])
        self.expect(open(out, "rb").read() == original, f"{label}: open and close change nothing")

        self.append(out, [(passed, path) for passed, _, path, _ in files])
        data = open(out, "rb").read()

        prefix = len(original) - len(original.lstrip(b"#!stub\n")) if label == "prefix" else 0
        _, old_total, old_size, old_offset = end_record(original)
        _, total, size, offset = end_record(data)
        self.expect(total == old_total + len(files), f"{label}: entry count {old_total} + {len(files)}")
        self.expect(data[:prefix + old_offset] == original[:prefix + old_offset],
                    f"{label}: template entries unchanged byte for byte")
        self.expect(data[prefix + offset:prefix + offset + old_size] ==
                    original[prefix + old_offset:prefix + old_offset + old_size],
                    f"{label}: template central headers reproduce")

        verdicts = [book_checks.unzip_test(out, prefix_allowed=prefix > 0)]
        # 7z does not look for an archive behind a prefix that is not a program stub; it
        # must accept the result whenever it accepts the template.
        if book_checks.seven_zip_test(template).ok:
            verdicts.append(book_checks.seven_zip_test(out))
        else:
            print(f"skip {label}: 7z t (7z cannot open the template either)")
        verdicts.append(book_checks.zipfile_test(out))
        verdicts.append(jar_check(out, {"Manifest-Version": "1.0", "MIDlet-Name": "书"},
                                  {stored: path for _, stored, path, _ in files}))
        for verdict in verdicts:
            self.expect(verdict.ok, f"{label}: {verdict.reader} {verdict.detail}")

        with zipfile.ZipFile(out) as z:
            names = z.namelist()
            self.expect(names == [n for n, _ in template_files()] + [stored for _, stored, _, _ in files],
                        f"{label}: entries in order")
            for _, stored, _, content in files:
                self.expect(z.read(stored) == content, f"{label}: zipfile reads {stored}")
            for name, content in template_files():
                self.expect(z.read(name) == content, f"{label}: zipfile reads template {name}")


def main():
    args = tool_check.arguments()

    files = []
    for passed, stored, content in payloads():
        path = os.path.join(args.work, "payload-" + stored.replace("/", "_"))
        with open(path, "wb") as f:
            f.write(content)
        files.append((passed, stored, path, content))

    jar_check = book_checks.JarFileCheck(os.path.join(args.work, "java"))
    checker = Checker(args)
    for label, template in make_templates(args.work).items():
        checker.check(label, template, files, jar_check)
    return tool_check.finish(checker.failures)


if __name__ == "__main__":
    sys.exit(main())
