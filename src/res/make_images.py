#!/usr/bin/env python3
"""Draws the program's icons (.ico, 32-bit with alpha) and menu bitmaps (.bmp, 16x15, 16
colours) from the shape lists below.

usage: make_images.py OUTPUT_FOLDER

Every image is a list of shapes on a 16-unit grid (x to the right, y down), painted in
order. Icons are drawn at each size with 4x4 samples per pixel, so edges are smoothed
and the 32-pixel image is the same drawing, finer. Menu bitmaps are drawn with one sample
at each pixel's centre in colours of the 16-colour palette, on the light grey that the
menu takes for transparent; black, grey, light grey and white stand for system colours
there, so the drawings below keep light grey out of the images themselves.
"""
import math
import os
import struct
import sys

# --- shapes: each is inside(x, y) on the 16-unit grid, with a colour (r, g, b[, a]) ---


def rect(x0, y0, x1, y1, colour, radius=0.0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        if radius <= 0:
            return True
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside, colour


def ellipse(cx, cy, rx, ry, colour):
    return (lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0), colour


def ring(cx, cy, radius, width, colour, gap_from=None, gap_to=None):
    """A circle line; the gap (degrees, 0 = up, clockwise) is left out."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - radius) > width / 2:
            return False
        if gap_from is None:
            return True
        angle = math.degrees(math.atan2(x - cx, cy - y)) % 360
        return not (gap_from <= angle <= gap_to or gap_from <= angle + 360 <= gap_to)
    return inside, colour


def polygon(points, colour):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside, colour


def line(points, width, colour):
    """A polyline with round ends and joints."""
    def near(x, y, a, b):
        (ax, ay), (bx, by) = a, b
        dx, dy = bx - ax, by - ay
        t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) <= width / 2
    segments = list(zip(points, points[1:])) or [(points[0], points[0])]
    return (lambda x, y: any(near(x, y, a, b) for a, b in segments)), colour


# --- colours ---

WHITE = (255, 255, 255)
INK = (40, 48, 60)
PAPER_EDGE = (120, 128, 140)
BLUE = (30, 111, 217)
BLUE_DARK = (18, 70, 150)
GREEN = (46, 158, 91)
GREEN_DARK = (26, 110, 60)
RED = (217, 43, 43)
RED_DARK = (150, 25, 25)
YELLOW = (242, 193, 78)
YELLOW_DARK = (190, 135, 20)
ORANGE = (240, 140, 40)
GRAIN = (250, 210, 80)

# The 16-colour palette of the menu bitmaps, in the usual order.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
P_BLACK, P_MAROON, P_GREEN, P_OLIVE, P_NAVY, P_PURPLE, P_TEAL, P_SILVER, P_GREY, P_RED, \
    P_LIME, P_YELLOW, P_BLUE, P_FUCHSIA, P_AQUA, P_WHITE = PALETTE


def plus_badge(cx, cy):
    """A green disc with a white plus: "add"."""
    return [ellipse(cx, cy, 4.2, 4.2, GREEN_DARK), ellipse(cx, cy, 3.5, 3.5, GREEN),
            line([(cx - 2, cy), (cx + 2, cy)], 1.4, WHITE), line([(cx, cy - 2), (cx, cy + 2)], 1.4, WHITE)]


def page(x0, y0, x1, y1, fold=3.0):
    outer = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    inner = [(x0 + 0.8, y0 + 0.8), (x1 - fold - 0.3, y0 + 0.8), (x1 - 0.8, y0 + fold + 0.3),
             (x1 - 0.8, y1 - 0.8), (x0 + 0.8, y1 - 0.8)]
    corner = [(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]
    return [polygon(outer, PAPER_EDGE), polygon(inner, WHITE), polygon(corner, PAPER_EDGE)]


def folder(x0, y0, x1, y1):
    tab = [(x0, y0), (x0 + 5, y0), (x0 + 6.5, y0 + 1.8), (x0, y0 + 1.8)]
    return [polygon(tab, YELLOW_DARK), rect(x0, y0 + 1.5, x1, y1, YELLOW_DARK, 0.8),
            rect(x0 + 0.8, y0 + 2.6, x1 - 0.8, y1 - 0.8, YELLOW, 0.4)]


def arrow(up):
    pts = [(8, 1.5), (14.5, 8.5), (10.6, 8.5), (10.6, 14.5), (5.4, 14.5), (5.4, 8.5), (1.5, 8.5)]
    if not up:
        pts = [(x, 16 - y) for x, y in pts]
    inner = [(8, 3.2), (12.6, 7.7), (9.8, 7.7), (9.8, 13.7), (6.2, 13.7), (6.2, 7.7), (3.4, 7.7)]
    if not up:
        inner = [(x, 16 - y) for x, y in inner]
    return [polygon(pts, BLUE_DARK), polygon(inner, BLUE)]


ICONS = {
    # The program: a green tile with an open book and an ear of grain.
    "app": [rect(0.5, 0.5, 15.5, 15.5, GREEN_DARK, 3), rect(1.2, 1.2, 14.8, 14.8, GREEN, 2.5),
            polygon([(2.5, 5.5), (7.6, 6.6), (7.6, 13.4), (2.5, 12.3)], WHITE),
            polygon([(8.4, 6.6), (13.5, 5.5), (13.5, 12.3), (8.4, 13.4)], WHITE),
            line([(4, 8), (6.5, 8.5)], 0.7, GREEN), line([(4, 10), (6.5, 10.5)], 0.7, GREEN),
            line([(9.5, 8.5), (12, 8)], 0.7, GREEN), line([(9.5, 10.5), (12, 10)], 0.7, GREEN),
            line([(8, 6), (8, 2.2)], 0.8, GRAIN), ellipse(6.9, 3.4, 0.9, 1.4, GRAIN),
            ellipse(9.1, 3.4, 0.9, 1.4, GRAIN), ellipse(8, 1.9, 0.8, 1.1, GRAIN)],
    "up": arrow(True),
    "down": arrow(False),
    # Delete: a red cross.
    "delete": [line([(3.5, 3.5), (12.5, 12.5)], 3.6, RED_DARK), line([(12.5, 3.5), (3.5, 12.5)], 3.6, RED_DARK),
               line([(3.5, 3.5), (12.5, 12.5)], 2.2, RED), line([(12.5, 3.5), (3.5, 12.5)], 2.2, RED)],
    # Close the program: a red disc with the power sign.
    "close": [ellipse(8, 8, 7.3, 7.3, RED_DARK), ellipse(8, 8, 6.5, 6.5, RED),
              ring(8, 8.6, 3.6, 1.5, WHITE, 320, 40), line([(8, 3), (8, 8)], 1.5, WHITE)],
    "add_folder": folder(0.5, 2, 14, 13) + plus_badge(11.5, 11.5),
    "add_file": page(2, 0.5, 12.5, 15.5) + [rect(4, 5 + 2 * i, 10, 6 + 2 * i, PAPER_EDGE) for i in range(3)]
    + plus_badge(11.5, 11.5),
    # Typed content: a page with lines and a pencil.
    "add_content": page(1, 0.5, 12, 15.5) + [rect(3, 4 + 2 * i, 10, 5 + 2 * i, BLUE) for i in range(4)]
    + [line([(14.5, 5.5), (8, 12)], 3.2, INK), line([(14.5, 5.5), (8, 12)], 2.0, ORANGE),
       polygon([(6.4, 13.6), (7.2, 11.2), (8.8, 12.8)], INK)],
    # Generate: a phone whose screen shows a page of text.
    "generate": [rect(3.5, 0.5, 12.5, 15.5, INK, 1.8), rect(5, 2, 11, 12, (210, 240, 215))]
    + [rect(6, 4 + 2 * i, 10, 5 + 2 * i, GREEN_DARK) for i in range(4)]
    + [ellipse(8, 13.5, 0.9, 0.9, (150, 160, 170))],
}

BITMAPS = {
    # About: "i" on a blue disc.
    "about": [ellipse(8, 7.5, 6.9, 6.9, P_NAVY), ellipse(8, 7.5, 6.0, 6.0, P_BLUE),
              ellipse(8, 4.2, 1.1, 1.1, P_WHITE), rect(7, 6, 9, 11.6, P_WHITE)],
    # Help: "?" on a teal disc.
    "help": [ellipse(8, 7.5, 6.9, 6.9, P_TEAL), ellipse(8, 7.5, 6.0, 6.0, P_AQUA),
             line([(5.6, 5.2), (6.4, 3.6), (8, 3.1), (9.8, 3.7), (10.4, 5.2), (9.4, 6.7), (8, 7.6), (8, 9.2)], 1.7, P_NAVY),
             ellipse(8, 11.4, 1.0, 1.0, P_NAVY)],
    # Visit the site: a globe.
    "visit_site": [ellipse(8, 7.5, 7.0, 7.0, P_NAVY), ellipse(8, 7.5, 6.1, 6.1, P_BLUE),
                   polygon([(4, 4), (7, 3), (8, 5), (6, 7), (7, 9), (5, 10), (3, 7)], P_LIME),
                   polygon([(10, 6), (13, 6), (13.5, 9), (11, 12), (10, 9)], P_LIME),
                   ring(8, 7.5, 6.5, 1.0, P_NAVY)],
    # Open folder: a folder with its front flap open.
    "open_folder": [polygon([(1, 3), (6, 3), (7, 4.5), (13, 4.5), (13, 13), (1, 13)], P_OLIVE),
                    polygon([(2, 4.2), (5.6, 4.2), (6.6, 5.6), (12, 5.6), (12, 7), (2, 7)], P_YELLOW),
                    polygon([(1, 13), (3.6, 7.2), (15.5, 7.2), (13, 13)], P_OLIVE),
                    polygon([(2.4, 12.2), (4.3, 8.2), (14.1, 8.2), (12.3, 12.2)], P_YELLOW)],
    # Open file: a page with lines.
    "open_file": [polygon([(3, 0.5), (10, 0.5), (13, 3.5), (13, 14.5), (3, 14.5)], P_BLACK),
                  polygon([(4, 1.5), (9.5, 1.5), (12, 4), (12, 13.5), (4, 13.5)], P_WHITE),
                  polygon([(9.5, 0.5), (9.5, 4), (13, 4)], P_BLACK)]
    + [rect(5, 5 + 2 * i, 11, 6 + 2 * i, P_NAVY) for i in range(4)],
}

# Button icons at 16 pixels for 96 DPI and at the sizes 120, 144 and 192 DPI call for; the
# program's icon also at 32 (its large icon) and 48.
BUTTON_ICON_SIZES = (16, 20, 24, 32)
ICON_SIZES = {"app": (32, 16, 20, 24, 48)}


# --- rendering ---


def render_icon(shapes, size, samples=4):
    scale = 16.0 / size
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0  # premultiplied
            for inside, colour in shapes:
                hits = 0
                for sy in range(samples):
                    for sx in range(samples):
                        x = (px + (sx + 0.5) / samples) * scale
                        y = (py + (sy + 0.5) / samples) * scale
                        hits += inside(x, y)
                if not hits:
                    continue
                alpha = hits / (samples * samples) * (colour[3] / 255.0 if len(colour) > 3 else 1.0)
                r = colour[0] * alpha + r * (1 - alpha)
                g = colour[1] * alpha + g * (1 - alpha)
                b = colour[2] * alpha + b * (1 - alpha)
                a = alpha + a * (1 - alpha)
            if a > 0:
                row.append((round(r / a), round(g / a), round(b / a), round(a * 255)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def ico_bytes(images):
    """images: list of (size, pixels) -> an .ico file of 32-bit images with AND masks."""
    blobs = []
    for size, pixels in images:
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        colour = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(pixels) for p in row)
        mask_stride = ((size + 31) // 32) * 4
        mask = b""
        for row in reversed(pixels):
            bits = bytearray(mask_stride)
            for x, p in enumerate(row):
                if p[3] < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        blobs.append((size, header + colour + mask))
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blob for _, blob in blobs)


def bmp_bytes(shapes, width=16, height=15):
    """A 4-bit bitmap on light grey, one sample per pixel centre."""
    index = {colour: i for i, colour in enumerate(PALETTE)}
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            colour = P_SILVER
            for inside, c in shapes:
                if inside(px + 0.5, py + 0.5):
                    colour = c
            row.append(index[colour])
        rows.append(row)
    stride = ((width * 4 + 31) // 32) * 4
    data = b""
    for row in reversed(rows):
        packed = bytearray(stride)
        for x, v in enumerate(row):
            packed[x // 2] |= v << (4 if x % 2 == 0 else 0)
        data += bytes(packed)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + info + palette + data


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, shapes in ICONS.items():
        images = [(size, render_icon(shapes, size)) for size in ICON_SIZES.get(name, BUTTON_ICON_SIZES)]
        with open(os.path.join(out, name + ".ico"), "wb") as f:
            f.write(ico_bytes(images))
    for name, shapes in BITMAPS.items():
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bmp_bytes(shapes))


if __name__ == "__main__":
    main()
