#!/usr/bin/env python3
"""Draws the two row skins of the group tree into assets/emote/bmp/.

tree_over.bmp is the row under the mouse pointer, tree_select.bmp the
selected row. Both are soft vertical blue gradients with a lighter top line;
the tree stretches them to its width and row height, so the size only sets
the smoothness of the gradient. tree_over@2x.bmp and tree_select@2x.bmp are
the same gradients at twice the width and height for screens of pixel ratio 2
(the highlight line stays one pixel, a finer line). Written as uncompressed
24-bit BMP files with the standard library alone.
"""
import os
import struct
import sys

WIDTH = 200
HEIGHT = 18

# (top colour, bottom colour) as (r, g, b).
SKINS = {
    "tree_over.bmp": ((250, 252, 255), (226, 237, 250)),
    "tree_select.bmp": ((226, 236, 252), (184, 207, 241)),
}


def blend(top, bottom, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))


def row_colours(top, bottom, height):
    """One colour per row, top row first; the first row is a highlight line."""
    rows = [blend(top, bottom, y / (height - 1)) for y in range(height)]
    rows[0] = tuple(min(255, c + 6) for c in top)
    return rows


def bmp_bytes(rows, width):
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for r, g, b in reversed(rows):  # BMP rows run bottom-up
        line = bytes((b, g, r)) * width
        pixels += line + b"\0" * (stride - len(line))
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, len(rows), 1, 24, 0, len(pixels),
                              2835, 2835, 0, 0)
    return file_header + info_header + bytes(pixels)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "assets", "emote", "bmp")
    os.makedirs(folder, exist_ok=True)
    for name, (top, bottom) in SKINS.items():
        stem, extension = os.path.splitext(name)
        for scale, suffix in ((1, ""), (2, "@2x")):
            with open(os.path.join(folder, stem + suffix + extension), "wb") as out:
                out.write(bmp_bytes(row_colours(top, bottom, HEIGHT * scale), WIDTH * scale))


if __name__ == "__main__":
    main()
