#!/usr/bin/env python3
"""Writes the reader's 16x16 icon, an open book, as a PNG.

The picture is drawn below as text, one character per pixel, so that it can be read and
changed in review; PNG is written with zlib only (8-bit RGBA, no filter).
Usage: make_icon.py OUT.png
"""
import struct
import sys
import zlib

PICTURE = [
    "................",
    "................",
    ".bbbbbb..bbbbbb.",
    "bwwwwwwbbwwwwwwb",
    "bwllllwbbwllllwb",
    "bwwwwwwbbwwwwwwb",
    "bwllllwbbwlllwwb",
    "bwwwwwwbbwwwwwwb",
    "bwlllwwbbwllllwb",
    "bwwwwwwbbwwwwwwb",
    "bwllllwbbwllwwwb",
    "bwwwwwwbbwwwwwwb",
    "bbbbbbbggbbbbbbb",
    ".ggggggggggggggg",
    "................",
    "................",
]

COLOURS = {
    ".": (0, 0, 0, 0),            # transparent
    "b": (0x1F, 0x5E, 0x3A, 255),  # green cover and spine
    "g": (0x0F, 0x3A, 0x22, 255),  # shadow under the pages
    "w": (0xFB, 0xF8, 0xEE, 255),  # paper
    "l": (0x8A, 0x8A, 0x8A, 255),  # lines of text
}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(rows):
    height = len(rows)
    width = len(rows[0])
    assert all(len(r) == width for r in rows), "every row of the picture has the same width"
    raw = b"".join(b"\x00" + bytes(v for ch in row for v in COLOURS[ch]) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(png(PICTURE))
