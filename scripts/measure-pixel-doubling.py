#!/usr/bin/env python3
"""How sharp the tree images are in a screenshot taken at pixel ratio 2.

    scripts/measure-pixel-doubling.py SCREENSHOT.png [...]

Finds every tree image in each screenshot (exact matches of the images of
src/res/images/tree_images@2x.png, and of tree_images.png with every pixel
doubled, which is how a 1x image drawn at ratio 2 looks), then counts the
edge pixels of the found images (pixels of the image that differ from a
neighbour) and, of those, the ones whose 2 x 2 block (counted from the
image's corner) is all one colour: the mark of a 1x picture scaled up. A 1x
picture doubled gives 100 %, art drawn at 2x about a third. Prints, per
screenshot, the images found of each kind and the share of doubled edge
pixels. Standard library only.

A screenshot at ratio 2: play the screenshot scenario with QT_SCALE_FACTOR=2
(scripts/take-screenshots.sh does, into docs/screenshots/2x/).
"""
import os
import struct
import sys
import zlib

WHITE = (255, 255, 255)
SIZE = 17


def read_png(path):
    """Rows of (r, g, b) tuples from an 8-bit RGB or RGBA PNG (alpha dropped)."""
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour not in (2, 6):
                raise SystemExit("%s: only 8-bit RGB or RGBA pictures are read" % path)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x:x + 3]) for x in range(0, stride, channels)])
        previous = line
    return rows


def templates(images):
    """(kind, opaque pixels as {(dx, dy): colour}) for every tree image at 2x."""
    small = read_png(os.path.join(images, "tree_images.png"))
    large = read_png(os.path.join(images, "tree_images@2x.png"))
    found = []
    for index in range(len(small[0]) // SIZE):
        doubled = {(2 * x + i, 2 * y + j): small[y][index * SIZE + x]
                   for y in range(SIZE) for x in range(SIZE) for i in (0, 1) for j in (0, 1)}
        native = {(x, y): large[y][index * 2 * SIZE + x] for y in range(2 * SIZE) for x in range(2 * SIZE)}
        for kind, pixels in (("1x doubled", doubled), ("2x", native)):
            found.append((kind, {p: c for p, c in pixels.items() if c != WHITE}))
    return found


def find_images(shot, patterns):
    """(kind, x, y, opaque pixels) of every place where a pattern matches exactly."""
    height, width = len(shot), len(shot[0])
    keys = {}
    for kind, pixels in patterns:
        first = min(pixels, key=lambda p: (p[1], p[0]))
        keys.setdefault(pixels[first], []).append((kind, pixels, first))
    places = []
    for y in range(height):
        row = shot[y]
        for x in range(width):
            for kind, pixels, (fx, fy) in keys.get(row[x], ()):
                ox, oy = x - fx, y - fy
                if ox < 0 or oy < 0 or ox + 2 * SIZE > width or oy + 2 * SIZE > height:
                    continue
                if all(shot[oy + dy][ox + dx] == c for (dx, dy), c in pixels.items()):
                    places.append((kind, ox, oy, pixels))
    return places


def doubled_share(shot, places):
    height, width = len(shot), len(shot[0])

    def at(x, y):
        return shot[y][x] if 0 <= x < width and 0 <= y < height else None

    edges = doubled = 0
    for _, ox, oy, pixels in places:
        for (dx, dy) in pixels:
            x, y = ox + dx, oy + dy
            colour = shot[y][x]
            if all(at(x + i, y + j) == colour for i, j in ((-1, 0), (1, 0), (0, -1), (0, 1))):
                continue
            edges += 1
            bx, by = ox + dx // 2 * 2, oy + dy // 2 * 2
            if all(at(bx + i, by + j) == colour for i in (0, 1) for j in (0, 1)):
                doubled += 1
    return edges, doubled


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    images = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "res", "images")
    patterns = templates(images)
    for path in sys.argv[1:]:
        shot = read_png(path)
        places = find_images(shot, patterns)
        kinds = {}
        for kind, *_ in places:
            kinds[kind] = kinds.get(kind, 0) + 1
        edges, doubled = doubled_share(shot, places)
        share = 100.0 * doubled / edges if edges else 0.0
        found = ", ".join("%d %s" % (n, k) for k, n in sorted(kinds.items())) or "no tree images"
        print("%s: %s; %d of %d edge pixels in 2x2 blocks of one colour: %.0f %%"
              % (path, found, doubled, edges, share))


if __name__ == "__main__":
    main()
