#!/usr/bin/env python3
"""Draws Corvane's icon: a page of text with a blue band, turning into PostScript (a red arrow).

Run from the repository's top folder. Writes, at 16, 20, 24, 32, 40, 48, 64 and 256 pixels,
32-bit images with alpha (the 64- and 256-pixel ones, which only Explorer's large views and
200 % screens ask for, PNG-compressed; the sizes that a window loads at 100 to 150 % stay
bitmaps, which need no decoding):

- resources/corvane.ico, every image in one icon file, for the installer;
- resources/icon/N.bin, each image as an icon resource (type 3), and resources/icon/group.bin,
  the icon group directory (type 14) that names them by id 1 to 8, so that the program's groups
  (101, 102 and MAINICON) share one set of images.

Each size is drawn from shapes, not scaled from another size: edges that run straight are put
on whole pixels, so small sizes stay sharp, and slanted edges are smoothed.
"""
import math
import os
import struct
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
PNG_FROM = 64  # this size and larger are stored as PNG, at a 30th of a bitmap's size

OUTLINE = (32, 32, 40)
PAGE = (255, 255, 255)
FOLD = (200, 200, 206)
TEXT = (0, 0, 128)
BAND = (0, 64, 224)
LETTERS = (255, 214, 0)
ARROW = (224, 16, 16)

# Two designs in their own units: one for 16 to 24 pixels (16 units) and one for 32 pixels and
# more (32 units). Rectangles are (left, top, right, bottom).
SMALL = {
    'units': 16, 'page': (2, 1, 15, 15), 'fold': 3, 'band_top': 9,
    'lines': [(4, 3, 9), (4, 5, 11), (4, 7, 9)],
    # Two letter-like blocks in the band, as the 16-colour icon had.
    'letters': [(4, 10, 6, 11), (4, 10, 5, 13), (4, 12, 6, 13),
                (7, 10, 9, 11), (8, 10, 9, 13), (7, 12, 9, 13)],
    'shaft': (9, 10.5, 11, 12.5), 'head': [(10.5, 7.5), (16, 11.5), (10.5, 15.5)],
}
LARGE = {
    'units': 32, 'page': (4, 1, 26, 29), 'fold': 5, 'band_top': 19,
    'lines': [(7, 4, 18), (7, 6, 15), (7, 8, 21), (7, 10, 18), (7, 12, 20), (7, 14, 16)],
    # "PS" in block letters.
    'letters': [(6, 21, 7, 26), (6, 21, 9, 22), (8, 21, 9, 24), (6, 23, 9, 24),
                (10, 21, 13, 22), (10, 21, 11, 24), (10, 23, 13, 24), (12, 23, 13, 26),
                (10, 25, 13, 26)],
    'shaft': (13, 22, 19.5, 25), 'head': [(19, 16.5), (28.5, 23.5), (19, 30.5)],
}


def design_for(size):
    return SMALL if size < 32 else LARGE


class Canvas:
    """Straight RGBA pixels, painted shape over shape."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def paint(self, x, y, colour, coverage):
        if coverage <= 0 or not (0 <= x < self.size and 0 <= y < self.size):
            return
        r, g, b, a = self.pixels[y][x]
        out = coverage + a * (1 - coverage)
        mix = lambda new, old: (new * coverage + old * a * (1 - coverage)) / out
        self.pixels[y][x] = (mix(colour[0], r), mix(colour[1], g), mix(colour[2], b), out)

    def rectangle(self, left, top, right, bottom, colour):
        """Pixel edges, whole numbers: fully covered pixels."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.paint(x, y, colour, 1.0)

    def polygon(self, points, colour, samples=8):
        """A convex polygon in pixel units, its coverage sampled samples x samples per pixel."""
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        edges = list(zip(points, points[1:] + points[:1]))

        def inside(px, py):
            crosses = [(bx - ax) * (py - ay) - (by - ay) * (px - ax)
                       for (ax, ay), (bx, by) in edges]
            return all(c >= 0 for c in crosses) or all(c <= 0 for c in crosses)

        step = 1.0 / samples
        for y in range(max(0, math.floor(min(ys))), min(self.size, math.ceil(max(ys)))):
            for x in range(max(0, math.floor(min(xs))), min(self.size, math.ceil(max(xs)))):
                # A convex shape holds the whole pixel when it holds its four corners.
                if all(inside(x + dx, y + dy) for dx in (0, 1) for dy in (0, 1)):
                    self.paint(x, y, colour, 1.0)
                    continue
                hits = sum(inside(x + (i + 0.5) * step, y + (j + 0.5) * step)
                           for j in range(samples) for i in range(samples))
                self.paint(x, y, colour, hits / (samples * samples))


def draw(size):
    design = design_for(size)
    scale = size / design['units']
    snap = lambda value: math.floor(value * scale + 0.5)
    canvas = Canvas(size)
    stroke = max(1, round(size / 40))

    left, top, right, bottom = (snap(v) for v in design['page'])
    fold = snap(design['fold'])
    root2 = math.sqrt(2)
    # The page with its top right corner turned down, outlined.
    canvas.polygon([(left, top), (right - fold, top), (right, top + fold), (right, bottom),
                    (left, bottom)], OUTLINE)
    t = stroke
    canvas.polygon([(left + t, top + t), (right - fold + t - t * root2, top + t),
                    (right - t, top + fold - t + t * root2), (right - t, bottom - t),
                    (left + t, bottom - t)], PAGE)
    # The turned-down corner.
    canvas.polygon([(right - fold, top), (right, top + fold), (right - fold, top + fold)], OUTLINE)
    canvas.polygon([(right - fold + t, top + t + t * root2), (right - t - t * root2, top + fold - t),
                    (right - fold + t, top + fold - t)], FOLD)
    # Lines of text, all of one height, at least a pixel.
    for x0, y, x1 in design['lines']:
        canvas.rectangle(snap(x0), snap(y), snap(x1), snap(y) + max(1, snap(1)), TEXT)
    # The band across the bottom of the page, with its letters.
    canvas.rectangle(left + t, snap(design['band_top']), right - t, bottom - t, BAND)
    for x0, y0, x1, y1 in design['letters']:
        canvas.rectangle(snap(x0), snap(y0), max(snap(x0) + 1, snap(x1)),
                         max(snap(y0) + 1, snap(y1)), LETTERS)
    # The arrow out of the page: a shaft on whole pixels and a smoothed head.
    x0, y0, x1, y1 = design['shaft']
    canvas.rectangle(snap(x0), snap(y0), snap(x1), snap(y1), ARROW)
    canvas.polygon([(x * scale, y * scale) for x, y in design['head']], ARROW)
    return canvas


def rgba_rows(canvas):
    """Top-down rows of 8-bit straight RGBA."""
    rows = []
    for line in canvas.pixels:
        row = bytearray()
        for r, g, b, a in line:
            row += bytes((round(r), round(g), round(b), round(a * 255)))
        rows.append(bytes(row))
    return rows


def dib(canvas):
    """BITMAPINFOHEADER, bottom-up BGRA rows and the AND mask (set where fully transparent)."""
    size = canvas.size
    rows = rgba_rows(canvas)
    colour = bytearray()
    mask = bytearray()
    mask_stride = (size + 31) // 32 * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = row[4 * x:4 * x + 4]
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def png(canvas):
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b''.join(b'\0' + row for row in rgba_rows(canvas))
    header = struct.pack('>IIBBBBB', canvas.size, canvas.size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) +
            chunk(b'IEND', b''))


def entry(size, data):
    """The fields that an icon file's and an icon group's entries share; 0 stands for 256."""
    return struct.pack('<BBBBHHI', size % 256, size % 256, 0, 0, 1, 32, len(data))


def main():
    images = []
    for size in SIZES:
        canvas = draw(size)
        images.append((size, png(canvas) if size >= PNG_FROM else dib(canvas)))

    icon_file = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        icon_file += entry(size, data) + struct.pack('<I', offset)
        offset += len(data)
    with open('resources/corvane.ico', 'wb') as f:
        f.write(icon_file + b''.join(data for _, data in images))

    os.makedirs('resources/icon', exist_ok=True)
    group = struct.pack('<HHH', 0, 1, len(images))
    for number, (size, data) in enumerate(images, start=1):
        group += entry(size, data) + struct.pack('<H', number)
        with open(f'resources/icon/{number}.bin', 'wb') as f:
            f.write(data)
    with open('resources/icon/group.bin', 'wb') as f:
        f.write(group)


if __name__ == '__main__':
    main()
