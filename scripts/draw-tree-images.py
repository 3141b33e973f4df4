#!/usr/bin/env python3
"""Draws the group tree's image strip: twelve 17 x 17 images side by side on
white, which the tree treats as the transparent colour, and the same strip
for screens of pixel ratio 2 (34 x 34 images) beside it, named with "@2x".
Both come from the same drawings: the 2x canvas reads each shape in 1x pixel
units and renders it at twice the resolution, with outlines one fine pixel
wide and a half-tone pixel inside them. Standard library only.

    scripts/draw-tree-images.py [output.png]

Default output: src/res/images/tree_images.png and tree_images@2x.png.
Image order (see
src/res/ModuleResources.h): 0 open folder, 1 closed folder, 2 online, 3 busy,
4 away, 5 talking, 6 member (presence unknown), 7 offline, 8 hidden, 9 custom
status, 10 at lunch, 11 do not disturb.
"""
import os
import struct
import sys
import zlib

SIZE = 17
COUNT = 12
WHITE = (255, 255, 255)      # transparent
LIGHT = (250, 250, 250)      # drawn "white": never the transparent colour
OUTLINE = (70, 70, 70)


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[WHITE] * width for _ in range(height)]
        # The columns that drawing may reach: the cell being drawn, so that
        # no shape spills into its neighbour in the strip.
        self.clip = (0, width - 1)

    def inside(self, x, y):
        return self.clip[0] <= x <= self.clip[1] and 0 <= y < self.height

    def put(self, x, y, colour):
        if self.inside(x, y):
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def disc(self, cx, cy, r, fill, edge=None):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if d <= r - 0.5:
                    self.put(x, y, fill)
                elif d <= r + 0.25 and edge is not None:
                    self.put(x, y, edge)

    def shoulders(self, cx, top, bottom, rx, fill, edge):
        """The upper half of an ellipse, outlined."""
        for y in range(top, bottom + 1):
            t = (y - bottom) / (bottom - top + 0.5)
            half = rx * (1 - t * t) ** 0.5 if abs(t) <= 1 else 0
            for x in range(int(cx - half), int(cx + half) + 1):
                inside = abs(x - cx) < half - 0.8 and y < bottom
                self.put(x, y, fill if inside else edge)

    def flap(self, left, top, bottom, width, slant, fill, edge):
        """A parallelogram from row top to row bottom, its left side moving
        slant pixels to the left over its height; outlined."""
        for y in range(top, bottom + 1):
            shift = (y - top) * slant // (bottom - top)
            x0, x1 = left - shift, left + width - shift
            for x in range(x0, x1 + 1):
                outline = x in (x0, x1) or y in (top, bottom)
                self.put(x, y, edge if outline else fill)

    def png(self):
        raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def mix(a, b):
    return tuple((p + q + 1) // 2 for p, q in zip(a, b))


class Canvas2x(Canvas):
    """The same drawing calls in 1x pixel units, drawn at pixel ratio 2. A
    1x pixel x covers the 2x pixels 2x and 2x + 1; a point given in 1x pixel
    centres lies at 2u + 0.5 in 2x pixels."""

    def __init__(self, width, height):
        super().__init__(width * 2, height * 2)

    def fine(self, x, y, colour):
        """One 2x pixel."""
        Canvas.put(self, x, y, colour)

    def fill(self, X0, Y0, X1, Y1, colour):
        """A rectangle of 2x pixels."""
        for y in range(Y0, Y1 + 1):
            for x in range(X0, X1 + 1):
                self.fine(x, y, colour)

    def blend(self, x, y, colour):
        if self.inside(x, y):
            self.pixels[y][x] = mix(self.pixels[y][x], colour)

    def put(self, x, y, colour):
        self.fill(2 * x, 2 * y, 2 * x + 1, 2 * y + 1, colour)

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(2 * x0, 2 * y0, 2 * x1 + 1, 2 * y1 + 1, colour)

    def frame(self, x0, y0, x1, y1, colour):
        # A fine outline on the outer edge, half-toned onto what is inside.
        X0, Y0, X1, Y1 = 2 * x0, 2 * y0, 2 * x1 + 1, 2 * y1 + 1
        for x in range(X0 + 1, X1):
            self.blend(x, Y0 + 1, colour)
            self.blend(x, Y1 - 1, colour)
        for y in range(Y0 + 2, Y1 - 1):
            self.blend(X0 + 1, y, colour)
            self.blend(X1 - 1, y, colour)
        for X, Y in ((X0, Y0), (X1, Y1)):
            self.fill(X0, Y, X1, Y, colour)
            self.fill(X, Y0, X, Y1, colour)

    def centre(self, X):
        """The 1x pixel-centre coordinate of a 2x pixel."""
        return (X - 0.5) / 2

    def disc(self, cx, cy, r, fill, edge=None):
        for Y in range(int(2 * (cy - r)) - 2, int(2 * (cy + r)) + 4):
            for X in range(int(2 * (cx - r)) - 2, int(2 * (cx + r)) + 4):
                d = ((self.centre(X) - cx) ** 2 + (self.centre(Y) - cy) ** 2) ** 0.5
                if d <= r - 0.5:
                    self.fine(X, Y, fill)
                elif d <= r + 0.25 and edge is not None:
                    self.fine(X, Y, edge)
                    if d <= r - 0.1:
                        self.blend(X, Y, fill)

    def flap(self, left, top, bottom, width, slant, fill, edge):
        for Y in range(2 * top, 2 * bottom + 2):
            v = self.centre(Y)
            x0 = left + 0.25 - (v - top) * slant / (bottom - top + 0.5)
            for X in range(int(2 * (x0 - 1)), int(2 * (x0 + width + 1)) + 2):
                u = self.centre(X)
                d = min(u - x0, x0 + width - u)
                if d < -0.5:
                    continue
                outline = d < 0.0 or v < top or v > bottom
                self.fine(X, Y, edge if outline else fill)
                if not outline and (d < 0.5 or v < top + 0.5 or v > bottom - 0.5):
                    self.blend(X, Y, edge)

    def shoulders(self, cx, top, bottom, rx, fill, edge):
        span = bottom - top + 0.5
        for Y in range(2 * top, 2 * bottom + 2):
            v = self.centre(Y)
            t = min(0.0, (v - bottom) / span)
            half = rx * (1 - t * t) ** 0.5 if abs(t) <= 1 else 0
            for X in range(int(2 * (cx - half)) - 1, int(2 * (cx + half)) + 3):
                u = abs(self.centre(X) - cx)
                if u > half + 0.25:
                    continue
                inside = u < half - 0.3 and v < bottom + 0.25
                self.fine(X, Y, fill if inside else edge)
                if inside and (u > half - 0.55 or v > bottom - 0.05):
                    self.blend(X, Y, edge)


class Cell:
    """Drawing within one 17 x 17 cell of the strip, and only there: a shape
    whose outline reaches past the cell's edge (the 2x outlines lie half a
    pixel further out than the 1x ones) is cut at it."""

    def __init__(self, canvas, index):
        self.canvas = canvas
        self.ox = index * SIZE
        side = canvas.width // COUNT
        canvas.clip = (index * side, (index + 1) * side - 1)

    def __getattr__(self, name):
        draw = getattr(self.canvas, name)

        def shifted(*args, **kwargs):
            args = list(args)
            if name in ("put", "disc", "shoulders"):
                args[0] += self.ox
            elif name in ("rect", "frame"):
                args[0] += self.ox
                args[2] += self.ox
            return draw(*args, **kwargs)

        return shifted


FOLDER_BACK = (222, 170, 50)
FOLDER_FRONT = (250, 212, 100)
FOLDER_EDGE = (140, 95, 20)


def closed_folder(c):
    c.rect(1, 2, 6, 4, FOLDER_BACK)
    c.frame(1, 2, 6, 4, FOLDER_EDGE)
    c.rect(1, 4, 15, 14, FOLDER_FRONT)
    c.frame(1, 4, 15, 14, FOLDER_EDGE)
    for x in range(2, 15):
        c.put(x, 5, (255, 232, 150))


def open_folder(c):
    c.rect(1, 2, 6, 4, FOLDER_BACK)
    c.frame(1, 2, 6, 4, FOLDER_EDGE)
    c.rect(1, 4, 14, 14, FOLDER_BACK)
    c.frame(1, 4, 14, 14, FOLDER_EDGE)
    # The front flap, tilted open towards the viewer.
    c.flap(4, 7, 14, 12, 3, FOLDER_FRONT, FOLDER_EDGE)


def person(c, fill, edge=OUTLINE):
    c.shoulders(7, 9, 15, 5.5, fill, edge)
    c.disc(7, 5, 3.2, fill, edge)
    c.put(6, 4, LIGHT)  # a glint on the head


def badge(c, fill, edge=OUTLINE):
    c.disc(13, 13, 3.6, fill, edge)


GREEN = (70, 170, 70)
RED = (210, 50, 50)


def online(c):
    person(c, GREEN)


def busy(c):
    person(c, GREEN)
    badge(c, RED)
    c.rect(11, 13, 15, 13, LIGHT)


def away(c):
    person(c, GREEN)
    badge(c, (245, 200, 40))
    c.rect(13, 11, 13, 13, OUTLINE)   # clock hands
    c.rect(13, 13, 15, 13, OUTLINE)


def talking(c):
    person(c, GREEN)
    badge(c, (50, 110, 210))
    for x in (11, 13, 15):
        c.put(x, 13, LIGHT)


def member(c):
    person(c, (110, 135, 180))


def offline(c):
    person(c, (160, 160, 160), (105, 105, 105))


def hidden(c):
    person(c, (232, 232, 232), (150, 150, 150))


def custom(c):
    person(c, GREEN)
    badge(c, (150, 80, 190))
    c.rect(13, 11, 13, 15, LIGHT)   # a small star
    c.rect(11, 13, 15, 13, LIGHT)


def repast(c):
    person(c, GREEN)
    badge(c, (240, 140, 40))
    c.rect(11, 12, 14, 15, LIGHT)   # a cup with a handle
    c.put(15, 13, LIGHT)


def do_not_disturb(c):
    person(c, GREEN)
    badge(c, (160, 20, 20))
    for i in range(-2, 3):
        c.put(13 + i, 13 - i, LIGHT)


DRAWINGS = [open_folder, closed_folder, online, busy, away, talking,
            member, offline, hidden, custom, repast, do_not_disturb]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "src", "res", "images", "tree_images.png")
    output = sys.argv[1] if len(sys.argv) > 1 else default
    stem, extension = os.path.splitext(output)
    assert len(DRAWINGS) == COUNT
    for kind, path in ((Canvas, output), (Canvas2x, stem + "@2x" + extension)):
        canvas = kind(SIZE * COUNT, SIZE)
        for index, draw in enumerate(DRAWINGS):
            draw(Cell(canvas, index))
        with open(path, "wb") as f:
            f.write(canvas.png())


if __name__ == "__main__":
    main()
