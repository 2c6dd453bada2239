#!/usr/bin/env python3
"""Tests of tools/scan_classes.py: it passes the built reader and rejects each defect.

Each defect is one small class, compiled for the purpose or made by changing one thing in
a class of the built reader, and must be reported with its own reason.
Usage: test_scan.py --template RDbook.dat --api api.jar --ecj ECJ --javac JAVAC --work DIR
"""
import argparse
import os
import struct
import subprocess
import sys
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import scan_classes  # noqa: E402

ARGS = None

SOURCES = {
    "UsesFloat": "public class UsesFloat { int half(int i) { float f = i / 2f; return (int) f; } }",
    "UsesDouble": "public class UsesDouble { long big() { double d = 1.5; return (long) (d * 3); } }",
    "FloatField": "public class FloatField { float[] values; }",
    "UsesFinally": "public class UsesFinally { int n; int f() { try { return n; } finally { n++; } } }",
    "Branches": "public class Branches { int f(int i) { return i > 0 ? 1 : 2; } }",
    "UsesMidp2": "public class UsesMidp2 { void f(javax.microedition.lcdui.Canvas c) { c.setFullScreenMode(true); } }",
}


_compiled = {}


def compile_java(name, compiler, options):
    """Class file of SOURCES[name]; all sources are compiled in one run per compiler."""
    out = os.path.join(ARGS.work, os.path.basename(compiler))
    if out not in _compiled:
        os.makedirs(out, exist_ok=True)
        files = []
        for source_name, text in SOURCES.items():
            files.append(os.path.join(out, source_name + ".java"))
            with open(files[-1], "w") as f:
                f.write(text)
        subprocess.run([compiler] + options + ["-d", out] + files, check=True, capture_output=True)
        _compiled[out] = True
    with open(os.path.join(out, name + ".class"), "rb") as f:
        return f.read()


def ecj(name):
    return compile_java(name, ARGS.ecj, ["-1.3", "-nowarn", "-bootclasspath", ARGS.api])


def reader_class_with_stackmap():
    """A class of the built reader whose StackMap attributes have at least one frame."""
    with zipfile.ZipFile(ARGS.template) as jar:
        for info in jar.infolist():
            if info.filename.endswith(".class"):
                data = jar.read(info)
                if first_stackmap(data) is not None:
                    return info.filename, data
    raise AssertionError("no class of the reader has a StackMap")


def first_stackmap(data):
    """Position of the first frame's offset in the first non-empty StackMap, or None.
    Walks the class file layout: constant pool, class header, fields, methods."""
    count = struct.unpack_from(">H", data, 8)[0]
    pos = 10
    names = {}
    i = 1
    while i < count:
        tag = data[pos]
        if tag == 1:
            n = struct.unpack_from(">H", data, pos + 1)[0]
            names[i] = data[pos + 3:pos + 3 + n]
            pos += 3 + n
        else:
            pos += {3: 5, 4: 5, 5: 9, 6: 9, 7: 3, 8: 3, 9: 5, 10: 5, 11: 5, 12: 5}[tag]
        i += 2 if tag in (5, 6) else 1
    pos += 6  # access flags, this class, super class
    pos += 2 + 2 * struct.unpack_from(">H", data, pos)[0]  # interfaces

    def skip_members(p):
        members = []
        n = struct.unpack_from(">H", data, p)[0]
        p += 2
        for _ in range(n):
            attrs, end = attribute_table(p + 6)
            members.append(attrs)
            p = end
        return members, p

    def attribute_table(p):
        out = []
        n = struct.unpack_from(">H", data, p)[0]
        p += 2
        for _ in range(n):
            name, length = struct.unpack_from(">HI", data, p)
            out.append((names.get(name), p + 6, length))
            p += 6 + length
        return out, p

    _, pos = skip_members(pos)            # fields
    methods, _ = skip_members(pos)
    for attrs in methods:
        for name, start, _ in attrs:
            if name != b"Code":
                continue
            code_len = struct.unpack_from(">I", data, start + 4)[0]
            p = start + 8 + code_len
            p += 2 + 8 * struct.unpack_from(">H", data, p)[0]  # exception table
            inner, _ = attribute_table(p)
            for iname, istart, _ in inner:
                if iname == b"StackMap" and struct.unpack_from(">H", data, istart)[0] > 0:
                    return istart + 2
    return None


def problems(name, data):
    return scan_classes.scan_class(name, data)


class ScanTest(unittest.TestCase):
    def test_built_reader_passes(self):
        self.assertEqual(0, scan_classes.main([ARGS.template]))

    def test_rejects_each_defect(self):
        name, good = reader_class_with_stackmap()
        self.assertEqual([], problems(name, good))

        newer = bytearray(good)
        struct.pack_into(">HH", newer, 4, 0, 46)

        renamed = bytes(good).replace(b"\x00\x08StackMap", b"\x00\x08StackMaq")

        moved = bytearray(good)
        frame = first_stackmap(good)
        struct.pack_into(">H", moved, frame, struct.unpack_from(">H", good, frame)[0] + 1)

        cases = [
            ("class version above 45.3", newer, "class version 46.0 is above 45.3"),
            ("StackMap missing", renamed, "branches but no StackMap"),
            ("frame missing at a branch target", bytes(moved), "StackMap has no frame at"),
            ("float arithmetic", ecj("UsesFloat"), "floating point opcode"),
            ("double constant", ecj("UsesDouble"), "double constant in the constant pool"),
            ("float array field", ecj("FloatField"), "field of type [F"),
            ("finally compiled to jsr", ecj("UsesFinally"), "jsr at"),
            ("not preverified", ecj("Branches"), "branches but no StackMap"),
            ("MIDP 2.0 outside its helper", ecj("UsesMidp2"), "MIDP 2.0 member setFullScreenMode outside FullScreen"),
            ("Java SE class file", compile_java("Branches", ARGS.javac, ["--release", "8", "-cp", ARGS.api]),
             "StackMapTable instead of a CLDC StackMap"),
        ]
        for what, data, reason in cases:
            with self.subTest(what):
                found = problems(what, data)
                self.assertTrue(any(reason in p for p in found), "%s: %s" % (reason, found))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for option in ("--template", "--api", "--ecj", "--javac", "--work"):
        parser.add_argument(option, required=True)
    ARGS, rest = parser.parse_known_args()
    os.makedirs(ARGS.work, exist_ok=True)
    unittest.main(argv=[sys.argv[0]] + rest)
