#!/usr/bin/env python3
"""Writes photo.eps: a 3 x 2.25 inch colour picture of 900 x 675 pixels (300 dpi), smooth
shades with grain, as a photograph is, so that Ghostscript stores it with JPEG compression.
The same picture every time: the grain comes from a seeded generator."""
import math
import random
import sys

WIDTH, HEIGHT = 900, 675
POINTS_WIDE, POINTS_HIGH = 216, 162


def main(path):
    grain = random.Random(26)
    # Shades that change along each axis and across the diagonals, looked up per pixel.
    columns = [(60 * math.sin(x / 37), 50 * math.sin(x / 51)) for x in range(WIDTH)]
    rows = [(40 * math.cos(y / 23), 50 * math.sin(y / 51)) for y in range(HEIGHT)]
    waves = [70 * math.cos(k / 400) for k in range(2513)]  # one period of cos(k / 400)
    with open(path, "w", encoding="ascii") as eps:
        eps.write("%!PS-Adobe-3.0 EPSF-3.0\n")
        eps.write(f"%%BoundingBox: 0 0 {POINTS_WIDE} {POINTS_HIGH}\n%%EndComments\n")
        eps.write(f"gsave {POINTS_WIDE} {POINTS_HIGH} scale\n")
        eps.write(f"{WIDTH} {HEIGHT} 8 [{WIDTH} 0 0 -{HEIGHT} 0 {HEIGHT}]\n")
        eps.write("currentfile /ASCIIHexDecode filter false 3 colorimage\n")
        for y in range(HEIGHT):
            row_red, row_green = rows[y]
            noise = grain.randbytes(3 * WIDTH)
            pixels = bytearray(3 * WIDTH)
            for x in range(WIDTH):
                column_red, column_green = columns[x]
                at = 3 * x
                red = 128 + column_red + row_red + noise[at] % 21 - 10
                green = 128 + column_green + row_green + noise[at + 1] % 21 - 10
                blue = 128 + waves[(x * y // 10) % 2513] + noise[at + 2] % 21 - 10
                pixels[at] = min(255, max(0, int(red)))
                pixels[at + 1] = min(255, max(0, int(green)))
                pixels[at + 2] = min(255, max(0, int(blue)))
            text = pixels.hex()
            for start in range(0, len(text), 120):
                eps.write(text[start:start + 120] + "\n")
        eps.write(">\ngrestore\n%%EOF\n")


if __name__ == "__main__":
    main(sys.argv[1])
