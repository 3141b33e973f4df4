#!/usr/bin/env python3
"""Draws the 40 emoticons of the conversation window.

Writes, under the client folder given as the first argument (default: the
repository's assets/ folder):
  emote/gif/<i>.gif  animated GIF89a pictures (2-4 frames, looping) shown in
                     the conversation editors;
  emote/bmp/<i>.bmp  24-bit bitmaps of the first frame on white, shown in the
                     emoticon picker;
  and the same pictures for screens of pixel ratio 2, <i>@2x.gif and
  <i>@2x.bmp, twice as wide and high, drawn from the same shapes (same
  frames and timing).

Pure standard library: shapes are rasterised with 4x4 supersampling per
output pixel, each picture gets its own colour table, and the GIF encoder
does its own LZW.
"""

import math
import os
import struct
import sys

SIZE = 22          # picture width and height in pixels
SS = 4             # subsamples per pixel along each axis
WHITE = (255, 255, 255)

# ---------------------------------------------------------------------------
# Canvas with supersampled shape filling
# ---------------------------------------------------------------------------


class Canvas:
    """A picture drawn in units of SIZE x SIZE (floats, y down), rendered
    at scale output pixels per unit."""

    def __init__(self, scale=1):
        self.scale = scale
        self.k = SS * scale  # subsamples per unit
        self.size = SIZE * scale  # output pixels along each axis
        n = SIZE * self.k
        self.n = n
        self.px = [None] * (n * n)  # None = transparent, else (r, g, b)

    def _fill(self, x0, y0, x1, y1, inside, color):
        n, k = self.n, self.k
        sx0 = max(0, int(math.floor(x0 * k)))
        sy0 = max(0, int(math.floor(y0 * k)))
        sx1 = min(n, int(math.ceil(x1 * k)) + 1)
        sy1 = min(n, int(math.ceil(y1 * k)) + 1)
        px = self.px
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / k
            row = sy * n
            for sx in range(sx0, sx1):
                x = (sx + 0.5) / k
                if inside(x, y):
                    px[row + sx] = color

    # -- shapes --------------------------------------------------------------
    def ellipse(self, cx, cy, rx, ry, color):
        self._fill(cx - rx, cy - ry, cx + rx, cy + ry,
                   lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, color)

    def circle(self, cx, cy, r, color):
        self.ellipse(cx, cy, r, r, color)

    def ring(self, cx, cy, r, w, color):
        lo, hi = (r - w / 2) ** 2, (r + w / 2) ** 2
        self._fill(cx - r - w, cy - r - w, cx + r + w, cy + r + w,
                   lambda x, y: lo <= (x - cx) ** 2 + (y - cy) ** 2 <= hi, color)

    def rect(self, x0, y0, x1, y1, color):
        self._fill(x0, y0, x1, y1, lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, color)

    def line(self, x0, y0, x1, y1, w, color):
        dx, dy = x1 - x0, y1 - y0
        ll = dx * dx + dy * dy
        h2 = (w / 2) ** 2

        def inside(x, y):
            t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
            px, py = x0 + t * dx - x, y0 + t * dy - y
            return px * px + py * py <= h2
        self._fill(min(x0, x1) - w, min(y0, y1) - w, max(x0, x1) + w, max(y0, y1) + w, inside, color)

    def polyline(self, pts, w, color):
        for a, b in zip(pts, pts[1:]):
            self.line(a[0], a[1], b[0], b[1], w, color)

    def arc(self, cx, cy, r, a0, a1, w, color, ry=None):
        """An arc from angle a0 to a1 (degrees, 0 = right, 90 = down)."""
        ry = r if ry is None else ry
        steps = max(4, int(abs(a1 - a0) / 8))
        pts = []
        for i in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * i / steps)
            pts.append((cx + r * math.cos(a), cy + ry * math.sin(a)))
        self.polyline(pts, w, color)

    def polygon(self, pts, color):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def inside(x, y):
            c = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c
        self._fill(min(xs), min(ys), max(xs), max(ys), inside, color)

    def pie(self, cx, cy, r, a0, a1, color, ry=None):
        """A filled sector of an ellipse between angles a0 and a1."""
        ry = r if ry is None else ry
        steps = max(4, int(abs(a1 - a0) / 6))
        pts = [(cx, cy)]
        for i in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * i / steps)
            pts.append((cx + r * math.cos(a), cy + ry * math.sin(a)))
        self.polygon(pts, color)

    def heart(self, cx, cy, s, color):
        """A heart centred at (cx, cy), s about its half width."""
        r = s * 0.52
        self.circle(cx - s * 0.48, cy - s * 0.25, r, color)
        self.circle(cx + s * 0.48, cy - s * 0.25, r, color)
        self.polygon([(cx - s * 0.98, cy - s * 0.12), (cx + s * 0.98, cy - s * 0.12), (cx, cy + s * 0.95)], color)

    def star(self, cx, cy, ro, ri, color, rot=-90):
        pts = []
        for i in range(10):
            r = ro if i % 2 == 0 else ri
            a = math.radians(rot + i * 36)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        self.polygon(pts, color)

    def clip_circle(self, cx, cy, r):
        """Makes everything outside the circle transparent again."""
        n, k = self.n, self.k
        for sy in range(n):
            y = (sy + 0.5) / k
            for sx in range(n):
                x = (sx + 0.5) / k
                if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
                    self.px[sy * n + sx] = None

    # -- output --------------------------------------------------------------
    def pixels(self):
        """Rows of (r, g, b) or None, edges blended onto white."""
        out = []
        n = self.n
        for y in range(self.size):
            row = []
            for x in range(self.size):
                rs = gs = bs = cnt = 0
                for sy in range(y * SS, y * SS + SS):
                    base = sy * n + x * SS
                    for c in self.px[base:base + SS]:
                        if c is not None:
                            rs += c[0]
                            gs += c[1]
                            bs += c[2]
                            cnt += 1
                if cnt * 10 < SS * SS * 4:
                    row.append(None)
                    continue
                a = cnt / (SS * SS)
                row.append(tuple(int(round(v / cnt * a + 255 * (1 - a))) for v in (rs, gs, bs)))
            out.append(row)
        return out


# ---------------------------------------------------------------------------
# Colours and face parts
# ---------------------------------------------------------------------------

INK = (60, 40, 20)
YELLOW = (255, 214, 40)
YELLOW_EDGE = (214, 140, 10)
HILITE = (255, 245, 170)
RED = (220, 30, 40)
DARK_RED = (140, 20, 25)
PINK = (255, 120, 150)
TONGUE = (235, 80, 100)
BLUE = (60, 130, 230)
LIGHT_BLUE = (140, 200, 255)
GREEN = (40, 160, 60)
BROWN = (140, 80, 30)
GREY = (130, 130, 140)
BLACK = (25, 25, 30)
GOLD = (250, 190, 20)
ORANGE = (245, 140, 30)
TOOTH = (255, 255, 255)


def face(c, fill=YELLOW, edge=YELLOW_EDGE, dy=0.0, dx=0.0):
    c.circle(11 + dx, 11.5 + dy, 10.2, edge)
    c.circle(11 + dx, 11.5 + dy, 9.0, fill)
    c.ellipse(7.5 + dx, 6.8 + dy, 3.0, 1.8, tuple(min(255, v + 45) for v in fill))


def dot_eyes(c, dy=0.0, dx=0.0, h=1.7):
    c.ellipse(7.6 + dx, 9.3 + dy, 1.2, h, INK)
    c.ellipse(14.4 + dx, 9.3 + dy, 1.2, h, INK)


def closed_eye(c, x, y, up=False):
    if up:  # happy closed eye: ^
        c.arc(x, y + 1.0, 1.8, 200, 340, 1.1, INK)
    else:   # shut eye: a small downward curve
        c.arc(x, y - 0.8, 1.8, 20, 160, 1.1, INK)


def closed_eyes(c, dy=0.0, up=False):
    closed_eye(c, 7.6, 9.3 + dy, up)
    closed_eye(c, 14.4, 9.3 + dy, up)


def smile(c, dy=0.0, r=5.2, w=1.3):
    c.arc(11, 11.5 + dy, r, 25, 155, w, INK)


def frown(c, dy=0.0, r=4.5):
    c.arc(11, 19.2 + dy, r, 215, 325, 1.3, INK)


def open_mouth(c, dy=0.0, depth=5.0, teeth=True):
    c.pie(11, 13.0 + dy, 5.6, 0, 180, DARK_RED, ry=depth)
    if teeth:
        c.rect(6.2, 13.0 + dy, 15.8, 14.3 + dy, TOOTH)


def wavy(c, x0, x1, y, amp, phase, w=1.2, color=INK):
    pts = []
    steps = 16
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i / steps
        pts.append((x, y + amp * math.sin(phase + i * 2 * math.pi / 8)))
    c.polyline(pts, w, color)


# ---------------------------------------------------------------------------
# The 40 emoticons, in index order. Each drawer takes (canvas, frame).
# ---------------------------------------------------------------------------

def e_smile(c, f):                      # 0 ":)"
    face(c)
    if f == 1:
        closed_eyes(c)
    else:
        dot_eyes(c)
    smile(c)


def e_grin(c, f):                       # 1 ":D"
    dy = -0.8 if f == 1 else 0.0
    face(c, dy=dy)
    dot_eyes(c, dy=dy)
    open_mouth(c, dy=dy, depth=5.2 if f == 1 else 4.4)


def e_wink(c, f):                       # 2 ";)"
    face(c)
    c.ellipse(14.4, 9.3, 1.2, 1.7, INK)
    if f == 0:
        c.ellipse(7.6, 9.3, 1.2, 1.7, INK)
    else:
        c.line(5.8, 9.6, 9.4, 9.0, 1.2, INK)
    smile(c)


def e_tongue(c, f):                     # 3 ":P"
    face(c)
    dot_eyes(c)
    c.line(6.5, 14.2, 15.5, 14.2, 1.3, INK)
    length = 3.0 if f == 0 else 4.4
    c.rect(9.0, 14.2, 14.0, 14.2 + length - 1.4, TONGUE)
    c.ellipse(11.5, 14.2 + length - 1.4, 2.5, 1.5, TONGUE)
    c.line(11.5, 14.8, 11.5, 14.2 + length - 1.0, 0.7, DARK_RED)


def e_sunglasses(c, f):                 # 4 "(H)"
    face(c)
    c.line(3.0, 8.6, 19.0, 8.6, 1.2, BLACK)
    c.polygon([(4.2, 8.0), (10.2, 8.0), (9.8, 11.5), (8.0, 12.4), (5.4, 12.0), (4.4, 10.5)], BLACK)
    c.polygon([(11.8, 8.0), (17.8, 8.0), (17.6, 10.5), (16.6, 12.0), (14.0, 12.4), (12.2, 11.5)], BLACK)
    gx = [5.6, 7.6, 13.4, 15.6][f]
    c.line(gx, 9.2, gx + 1.2, 10.8, 0.8, WHITE)
    c.arc(11, 11.5, 5.2, 30, 130, 1.3, INK)


def e_angry(c, f):                      # 5 ":@"
    dx = (-0.7, 0.7, -0.7)[f]
    face(c, fill=(240, 90, 50), edge=(170, 30, 20), dx=dx)
    c.line(5.0 + dx, 6.4, 9.6 + dx, 8.4, 1.4, INK)
    c.line(17.0 + dx, 6.4, 12.4 + dx, 8.4, 1.4, INK)
    c.ellipse(7.8 + dx, 10.2, 1.1, 1.3, INK)
    c.ellipse(14.2 + dx, 10.2, 1.1, 1.3, INK)
    c.rect(7.0 + dx, 14.4, 15.0 + dx, 17.0, INK)
    c.rect(7.8 + dx, 15.0, 14.2 + dx, 16.4, TOOTH)
    c.line(11 + dx, 15.0, 11 + dx, 16.4, 0.6, INK)
    if f == 2:
        c.circle(2.4, 3.2, 1.4, (200, 200, 210))
        c.circle(19.6, 3.2, 1.4, (200, 200, 210))


def e_angel(c, f):                      # 6 "(A)"
    # A smaller face leaves room for the halo, which bobs above it.
    c.circle(11, 13.4, 8.4, YELLOW_EDGE)
    c.circle(11, 13.4, 7.4, YELLOW)
    c.ellipse(8.2, 9.6, 2.4, 1.4, HILITE)
    c.ellipse(8.2, 12.0, 1.0, 1.4, INK)
    c.ellipse(13.8, 12.0, 1.0, 1.4, INK)
    c.arc(11, 13.6, 4.2, 25, 155, 1.2, INK)
    hy = (2.6, 1.8)[f]
    c.arc(11, hy, 5.0, 0, 360, 1.3, GOLD, ry=1.5)


def e_confused(c, f):                   # 7 ":S"
    face(c)
    dot_eyes(c)
    c.line(5.6, 6.4, 9.2, 7.0, 1.1, INK)
    c.line(12.8, 7.4, 16.4, 6.0, 1.1, INK)
    wavy(c, 6.6, 15.4, 15.4, 1.1, (0.0, math.pi)[f])


def e_blush(c, f):                      # 8 ":$"
    face(c)
    blush = ((255, 150, 140), (250, 110, 110))[f]
    c.ellipse(5.4, 13.0, 2.2, 1.4, blush)
    c.ellipse(16.6, 13.0, 2.2, 1.4, blush)
    c.ellipse(7.8, 10.2, 1.0, 1.4, INK)
    c.ellipse(14.2, 10.2, 1.0, 1.4, INK)
    wavy(c, 8.6, 13.4, 15.6, 0.6, 0.0, w=1.1)


def e_sad(c, f):                        # 9 ":("
    face(c)
    if f == 1:
        closed_eyes(c, dy=0.6)
    else:
        dot_eyes(c, dy=0.6)
    c.line(5.6, 7.2, 9.0, 6.2, 1.1, INK)
    c.line(13.0, 6.2, 16.4, 7.2, 1.1, INK)
    frown(c)


def e_grimace(c, f):                    # 10 ":T"
    face(c)
    if f == 1:
        closed_eyes(c)
    else:
        dot_eyes(c)
    c.rect(6.2, 13.2, 15.8, 16.8, INK)
    c.rect(6.9, 13.8, 15.1, 16.2, TOOTH)
    c.line(6.9, 15.0, 15.1, 15.0, 0.6, INK)
    for x in (8.9, 11.0, 13.1):
        c.line(x, 13.8, x, 16.2, 0.6, INK)


def e_laugh(c, f):                      # 11 ":H"
    dy = (0.0, -1.0)[f]
    face(c, dy=dy)
    closed_eyes(c, dy=dy, up=True)
    open_mouth(c, dy=dy - 0.6, depth=(5.2, 6.0)[f])
    c.ellipse(11, 16.8 + dy + (0.0, 0.8)[f], 2.2, 1.2, TONGUE)


def e_cry(c, f):                        # 12 ":'("
    face(c)
    closed_eyes(c, dy=0.4)
    frown(c, dy=0.4)
    for i, x in enumerate((7.4, 14.6)):
        ty = 11.2 + ((f + i) % 3) * 2.6
        c.ellipse(x, ty, 1.1, 1.6, LIGHT_BLUE)
        c.polygon([(x - 0.9, ty - 0.6), (x + 0.9, ty - 0.6), (x, ty - 2.4)], LIGHT_BLUE)


def letter_z(c, x, y, s, color=BLUE):
    c.polyline([(x, y), (x + s, y), (x, y + s), (x + s, y + s)], 0.9, color)


def e_sleepy(c, f):                     # 13 ":Z"
    face(c, dy=1.2)
    closed_eyes(c, dy=1.8)
    c.ellipse(11, 16.6, 1.6, 1.2, DARK_RED)
    zs = [(14.0, 4.6, 3.0), (17.2, 1.2, 2.6), (11.4, 0.6, 2.2)]
    for i in range(f + 1):
        letter_z(c, *zs[i])


def e_sealed(c, f):                     # 14 ":X"
    face(c)
    dx = (0.0, -1.0, 1.0)[f]
    c.circle(7.6, 9.3, 1.9, WHITE)
    c.circle(14.4, 9.3, 1.9, WHITE)
    c.circle(7.6 + dx, 9.3, 1.0, INK)
    c.circle(14.4 + dx, 9.3, 1.0, INK)
    c.line(8.0, 13.2, 14.0, 17.6, 1.5, INK)
    c.line(14.0, 13.2, 8.0, 17.6, 1.5, INK)


def e_smirk(c, f):                      # 15 ":}"
    face(c)
    dot_eyes(c)
    lift = (0.0, -1.0)[f]
    c.line(12.4, 6.4 + lift, 16.0, 5.6 + lift, 1.1, INK)
    c.line(6.0, 6.8, 9.6, 6.8, 1.1, INK)
    c.polyline([(6.8, 15.4), (11.2, 15.6), (14.2, 14.8), (15.8, 13.2)], 1.3, INK)


def e_hearteyes(c, f):                  # 16 ":L"
    face(c)
    s = (2.2, 2.8)[f]
    c.heart(7.4, 9.4, s, RED)
    c.heart(14.6, 9.4, s, RED)
    smile(c, r=4.8)


def e_shout(c, f):                      # 17 ":V"
    face(c)
    c.circle(7.6, 8.6, 1.7, WHITE)
    c.circle(14.4, 8.6, 1.7, WHITE)
    c.circle(7.6, 8.6, 0.9, INK)
    c.circle(14.4, 8.6, 0.9, INK)
    h = (3.0, 4.4)[f]
    c.polygon([(7.0, 13.0), (15.0, 13.0), (11.0, 13.0 + h + 1.2)], DARK_RED)
    if f == 1:
        c.line(0.8, 10.0, 2.4, 10.6, 0.9, INK)
        c.line(21.2, 10.0, 19.6, 10.6, 0.9, INK)


def e_sarcastic(c, f):                  # 18 "^o)"
    face(c)
    lift = (0.0, -1.2)[f]
    c.arc(7.6, 7.6 + lift, 2.4, 200, 340, 1.1, INK)
    c.line(12.6, 7.0, 16.2, 7.0, 1.1, INK)
    c.ellipse(7.6, 9.6, 1.1, 1.5, INK)
    c.ellipse(14.4, 9.6, 1.1, 1.0, INK)
    c.polyline([(7.4, 15.6), (12.0, 15.6), (15.2, 14.4)], 1.3, INK)


def e_worried(c, f):                    # 19 ":{"
    face(c)
    dot_eyes(c)
    c.line(5.4, 7.6, 9.2, 6.0, 1.1, INK)
    c.line(12.8, 6.0, 16.6, 7.6, 1.1, INK)
    wavy(c, 7.0, 15.0, 16.0, 0.7, math.pi / 2)
    dy = (0.0, 1.6, 3.2)[f]
    c.ellipse(18.0, 5.6 + dy, 1.1, 1.5, LIGHT_BLUE)
    c.polygon([(17.1, 5.0 + dy), (18.9, 5.0 + dy), (18.0, 3.2 + dy)], LIGHT_BLUE)


def e_grumpy(c, f):                     # 20 ":C"
    face(c, fill=(235, 200, 90), edge=(170, 120, 20))
    lid = (1.0, 1.6)[f]
    for x in (7.6, 14.4):
        c.ellipse(x, 9.6, 1.6, 1.6, INK)
        c.rect(x - 2.0, 7.6, x + 2.0, 8.0 + lid, (235, 200, 90))
        c.line(x - 1.9, 8.0 + lid, x + 1.9, 8.0 + lid, 1.0, INK)
    c.arc(11, 20.0, 5.0, 210, 330, 1.6, INK)


def e_neutral(c, f):                    # 21 ":|"
    face(c)
    if f == 1:
        c.line(6.2, 9.6, 9.0, 9.6, 1.1, INK)
        c.line(13.0, 9.6, 15.8, 9.6, 1.1, INK)
    else:
        dot_eyes(c)
    c.line(7.0, 15.2, 15.0, 15.2, 1.4, INK)


def e_camera(c, f):                     # 22 "(P)"
    c.rect(2.0, 6.6, 20.0, 18.2, BLACK)
    c.rect(2.8, 7.4, 19.2, 17.4, GREY)
    c.rect(6.0, 4.4, 11.0, 6.8, BLACK)
    c.rect(15.0, 5.0, 18.4, 6.8, (240, 240, 200) if f == 0 else WHITE)
    c.circle(11, 12.4, 4.2, BLACK)
    c.circle(11, 12.4, 3.0, (70, 90, 140))
    c.circle(10, 11.4, 0.9, WHITE)
    if f == 1:
        for a in range(0, 360, 45):
            r = math.radians(a)
            c.line(16.7 + 2.2 * math.cos(r), 5.9 + 2.2 * math.sin(r),
                   16.7 + 4.2 * math.cos(r), 5.9 + 4.2 * math.sin(r), 0.9, GOLD)


def e_heart(c, f):                      # 23 "(L)"
    s = (8.0, 9.2, 8.6)[f]
    c.heart(11, 11.6, s, DARK_RED)
    c.heart(11, 11.6, s - 1.1, RED)
    c.ellipse(7.0, 8.0, 1.6, 1.0, (255, 160, 160))


def e_broken(c, f):                     # 24 "(U)"
    gap = (0.0, 1.2)[f]
    s = 8.6
    crack = [(11, 3.0), (12.6, 7.0), (10.0, 10.6), (12.4, 14.4), (11, 20.8)]
    half = Canvas(c.scale)
    half.heart(11, 11.6, s, DARK_RED)
    half.heart(11, 11.6, s - 1.1, (120, 120, 130))
    # Split the grey heart along the crack: left part shifted left, right part right.
    n, k = c.n, c.k
    for sy in range(n):
        y = (sy + 0.5) / k
        # x of the crack at this height
        xc = crack[-1][0]
        for (x0, y0), (x1, y1) in zip(crack, crack[1:]):
            if y0 <= y <= y1:
                xc = x0 + (x1 - x0) * (y - y0) / (y1 - y0)
                break
        for sx in range(n):
            col = half.px[sy * n + sx]
            if col is None:
                continue
            x = (sx + 0.5) / k
            shift = -gap if x < xc else gap
            tx = int(sx + shift * k)
            if 0 <= tx < n and abs(x - xc) > 0.35:
                c.px[sy * n + tx] = col


def e_cat(c, f):                        # 25 "(@)"
    fur, edge = (245, 160, 60), (170, 90, 20)
    ear = (0.0, -1.0)[f]
    c.polygon([(2.6, 10.0), (4.0, 1.6 + ear), (9.4, 5.4)], edge)
    c.polygon([(19.4, 10.0), (18.0, 1.6), (12.6, 5.4)], edge)
    c.polygon([(4.0, 8.4), (4.8, 3.8 + ear), (7.8, 6.0)], PINK)
    c.polygon([(18.0, 8.4), (17.2, 3.8), (14.2, 6.0)], PINK)
    c.ellipse(11, 12.6, 9.0, 8.0, edge)
    c.ellipse(11, 12.6, 8.0, 7.0, fur)
    if f == 1:
        c.line(6.2, 10.8, 9.0, 10.8, 1.0, INK)
    else:
        c.ellipse(7.6, 10.6, 1.0, 1.6, (40, 120, 40))
    c.ellipse(14.4, 10.6, 1.0, 1.6, (40, 120, 40))
    c.polygon([(10.0, 13.6), (12.0, 13.6), (11.0, 14.8)], PINK)
    c.arc(9.9, 15.0, 1.1, 10, 170, 0.8, INK)
    c.arc(12.1, 15.0, 1.1, 10, 170, 0.8, INK)
    for y, d in ((13.6, -0.6), (15.0, 0.6)):
        c.line(1.2, y + d, 6.4, y, 0.6, INK)
        c.line(20.8, y + d, 15.6, y, 0.6, INK)


def e_film(c, f):                       # 26 "(~)"
    c.rect(1.0, 5.0, 21.0, 17.0, BLACK)
    off = (0.0, 1.5, 3.0)[f]
    for i in range(-1, 6):
        x = 1.8 + i * 4.0 + off
        c.rect(x, 5.8, x + 1.8, 7.0, WHITE)
        c.rect(x, 15.0, x + 1.8, 16.2, WHITE)
    for i in range(-1, 3):
        x = 1.5 + i * 8.0 + off * 2.0
        c.rect(x, 8.0, x + 6.8, 14.0, (110, 170, 230))
        c.circle(x + 3.4, 10.4, 1.2, GOLD)
        c.rect(x, 12.2, x + 6.8, 14.0, (90, 160, 70))


def pentagon(cx, cy, r, rot):
    return [(cx + r * math.cos(math.radians(rot + k * 72)),
             cy + r * math.sin(math.radians(rot + k * 72))) for k in range(5)]


def e_ball(c, f):                       # 27 "(so)"
    dy = (0.0, -1.2, 0.0, 0.8)[f]
    cy = 11 + dy
    rot = -90 + f * 18
    c.circle(11, cy, 9.8, BLACK)
    c.circle(11, cy, 9.0, WHITE)
    c.polygon(pentagon(11, cy, 3.2, rot), BLACK)
    for k in range(5):
        a = math.radians(rot + k * 72)
        c.line(11 + 3.0 * math.cos(a), cy + 3.0 * math.sin(a),
               11 + 6.4 * math.cos(a), cy + 6.4 * math.sin(a), 0.8, BLACK)
        b = math.radians(rot + 36 + k * 72)
        c.polygon(pentagon(11 + 9.4 * math.cos(b), cy + 9.4 * math.sin(b), 3.0, rot + 36 + k * 72 + 180), BLACK)
    c.clip_circle(11, cy, 9.8)


def e_cake(c, f):                       # 28 "(^)"
    c.rect(3.0, 11.0, 19.0, 19.6, (200, 140, 90))
    c.rect(3.0, 11.0, 19.0, 13.4, (255, 240, 245))
    for x in (5.0, 9.0, 13.0, 17.0):
        c.circle(x, 13.4, 1.1, (255, 240, 245))
    c.rect(3.0, 15.8, 19.0, 16.6, PINK)
    c.rect(1.8, 19.4, 20.2, 20.6, GREY)
    c.rect(10.2, 5.6, 11.8, 11.0, (120, 170, 240))
    c.line(10.2, 7.0, 11.8, 6.2, 0.5, WHITE)
    c.line(10.2, 9.0, 11.8, 8.2, 0.5, WHITE)
    lean = (-0.6, 0.6, 0.0)[f]
    h = (0.0, 0.6, 0.3)[f]
    c.polygon([(9.7, 4.2), (12.3, 4.2), (11 + lean, 0.6 - h)], ORANGE)
    c.ellipse(11, 4.0, 1.3, 1.5, ORANGE)
    c.ellipse(11, 4.2, 0.6, 0.8, GOLD)


def e_sun(c, f):                        # 29 "(#)"
    rot = (0, 22.5)[f]
    for k in range(8):
        a = math.radians(rot + k * 45)
        c.line(11 + 6.8 * math.cos(a), 11 + 6.8 * math.sin(a),
               11 + 10.2 * math.cos(a), 11 + 10.2 * math.sin(a), 1.6, ORANGE)
    c.circle(11, 11, 6.0, ORANGE)
    c.circle(11, 11, 5.2, (255, 220, 40))
    c.ellipse(9.2, 10.0, 0.7, 1.0, INK)
    c.ellipse(12.8, 10.0, 0.7, 1.0, INK)
    c.arc(11, 11.0, 2.8, 30, 150, 0.9, INK)


def e_moon(c, f):                       # 30 "(S)"
    night = (40, 50, 110)
    c.circle(11, 11, 10.4, night)
    c.circle(10.4, 11.4, 7.6, (255, 230, 110))
    c.circle(14.4, 8.8, 6.6, night)
    c.arc(6.2, 12.4, 1.0, 20, 160, 0.7, INK)
    for i, (x, y) in enumerate(((16.6, 14.6), (14.2, 18.0), (18.4, 5.0))):
        s = 1.6 if (i + f) % 2 == 0 else 0.8
        c.star(x, y, s, s * 0.45, (255, 250, 200))


def e_star(c, f):                       # 31 "(*)"
    s = (9.6, 10.4, 9.6)[f]
    c.star(11, 11.6, s, s * 0.45, (210, 150, 10))
    c.star(11, 11.6, s - 1.3, (s - 1.3) * 0.45, GOLD)
    c.star(11, 11.6, s - 4.0, (s - 4.0) * 0.45, (255, 240, 120))
    if f == 1:
        c.star(19.0, 3.0, 2.0, 0.6, WHITE)
        c.star(19.0, 3.0, 1.6, 0.5, (255, 250, 200))


def rose_head(c, x, y, s, col, dark):
    c.circle(x, y, 4.2 * s, dark)
    c.circle(x, y, 3.5 * s, col)
    c.arc(x, y, 2.2 * s, 200, 520, 0.8, dark)
    c.arc(x + 0.3, y + 0.2, 1.0 * s, 0, 300, 0.7, dark)


def e_rose(c, f):                       # 32 "(F)"
    sway = (-0.8, 0.8)[f]
    c.line(11, 20.6, 11 + sway, 10.0, 1.3, GREEN)
    c.polygon([(11, 16.0), (6.6, 13.6), (8.0, 16.6)], GREEN)
    c.polygon([(11, 14.6), (15.4, 12.6), (14.0, 15.4)], GREEN)
    rose_head(c, 11 + sway, 6.4, 1.0, RED, DARK_RED)


def e_wilted(c, f):                     # 33 "(W)"
    stem = (110, 120, 50)
    c.polyline([(8.0, 21.0), (8.6, 13.0), (11.0, 7.0), (15.0, 6.2), (17.4, 9.2)], 1.3, stem)
    c.polygon([(8.4, 16.0), (4.8, 15.8), (6.0, 18.2)], stem)
    c.ellipse(17.0, 12.2, 3.0, 3.4, (120, 40, 60))
    c.ellipse(17.0, 12.6, 2.2, 2.6, (160, 60, 70))
    if f >= 1:
        py = (0.0, 15.4, 19.0)[f]
        px = (0.0, 14.0, 16.0)[f]
        c.ellipse(px, py, 1.4, 0.8, (160, 60, 70))


def e_clock(c, f):                      # 34 "(O)"
    c.circle(11, 11, 10.0, (60, 80, 150))
    c.circle(11, 11, 8.6, WHITE)
    for k in range(12):
        a = math.radians(k * 30)
        r0 = 7.0 if k % 3 else 6.0
        c.line(11 + r0 * math.cos(a), 11 + r0 * math.sin(a),
               11 + 8.0 * math.cos(a), 11 + 8.0 * math.sin(a), 0.7, INK)
    ma = math.radians(-90 + f * 90)
    ha = math.radians(-90 + 60 + f * 7.5)
    c.line(11, 11, 11 + 6.6 * math.cos(ma), 11 + 6.6 * math.sin(ma), 1.0, INK)
    c.line(11, 11, 11 + 4.2 * math.cos(ha), 11 + 4.2 * math.sin(ha), 1.5, INK)
    c.circle(11, 11, 1.0, RED)


def e_tv(c, f):                         # 35 "(tv)"
    c.line(8.0, 5.0, 5.6, 1.2, 0.8, GREY)
    c.line(14.0, 5.0, 16.4, 1.2, 0.8, GREY)
    c.rect(1.2, 5.0, 20.8, 19.0, (90, 60, 40))
    c.rect(2.6, 6.4, 16.0, 17.6, BLACK)
    screen = [(80, 170, 230), (240, 180, 60), (120, 210, 110)][f]
    c.rect(3.4, 7.2, 15.2, 16.8, screen)
    c.circle(6.4 + f * 1.8, 11.6, 1.8, WHITE)
    c.circle(18.4, 9.0, 1.1, GOLD)
    c.circle(18.4, 12.6, 1.1, GOLD)
    c.rect(4.0, 19.0, 6.0, 21.0, (90, 60, 40))
    c.rect(16.0, 19.0, 18.0, 21.0, (90, 60, 40))


def e_bulb(c, f):                       # 36 "(I)"
    on = f == 1
    if on:
        for a in (-150, -120, -90, -60, -30):
            r = math.radians(a)
            c.line(11 + 8.2 * math.cos(r), 8.6 + 8.2 * math.sin(r),
                   11 + 10.4 * math.cos(r), 8.6 + 10.4 * math.sin(r), 1.0, GOLD)
    glass = (255, 235, 90) if on else (225, 225, 215)
    edge = (210, 160, 20) if on else GREY
    c.circle(11, 8.6, 6.4, edge)
    c.circle(11, 8.6, 5.6, glass)
    c.rect(8.4, 12.6, 13.6, 15.2, glass)
    c.polyline([(9.4, 12.6), (10.2, 8.8), (11, 10.2), (11.8, 8.8), (12.6, 12.6)], 0.6,
               ORANGE if on else GREY)
    for y in (15.4, 17.0, 18.6):
        c.rect(8.4, y, 13.6, y + 1.2, (150, 150, 160))
    c.rect(9.6, 19.8, 12.4, 21.0, BLACK)


def e_coffee(c, f):                     # 37 "(C)"
    c.ellipse(10, 19.6, 8.6, 1.6, (200, 200, 210))
    c.rect(3.6, 10.0, 16.0, 18.6, (250, 250, 250))
    c.ellipse(9.8, 18.6, 6.2, 1.2, (250, 250, 250))
    c.ring(17.4, 13.8, 2.4, 1.2, (250, 250, 250))
    c.rect(3.6, 10.0, 16.0, 10.8, (200, 200, 210))
    c.ellipse(9.8, 10.4, 6.0, 1.2, (110, 60, 20))
    for i, x in enumerate((7.0, 10.0, 13.0)):
        ph = (f + i) * 1.6
        pts = [(x + 0.9 * math.sin(ph + t * 1.2), 8.4 - t * 1.3) for t in range(5)]
        c.polyline(pts, 0.8, (170, 170, 185))
    c.line(3.6, 10.0, 3.6, 18.6, 0.6, GREY)
    c.line(16.0, 10.0, 16.0, 18.6, 0.6, GREY)


def e_phone(c, f):                      # 38 "(T)"
    dx = (0.0, -1.0, 1.0)[f]
    body = (210, 40, 40)
    c.polygon([(5.0, 12.0), (17.0, 12.0), (19.0, 20.0), (3.0, 20.0)], body)
    c.circle(11, 16.0, 2.6, (250, 250, 250))
    c.circle(11, 16.0, 1.0, body)
    c.rect(3.0 + dx, 8.0, 19.0 + dx, 10.6, body)
    c.ellipse(4.0 + dx, 10.2, 2.2, 1.8, body)
    c.ellipse(18.0 + dx, 10.2, 2.2, 1.8, body)
    if f > 0:
        c.arc(11, 9.0, 8.6, 200, 240, 0.9, INK)
        c.arc(11, 9.0, 8.6, 300, 340, 0.9, INK)
        c.arc(11, 9.0, 10.4, 205, 235, 0.9, INK)
        c.arc(11, 9.0, 10.4, 305, 335, 0.9, INK)


def e_mail(c, f):                       # 39 "(E)"
    dy = (0.0, -1.2)[f]
    c.rect(1.6, 5.6 + dy, 20.4, 17.6 + dy, (120, 120, 140))
    c.rect(2.4, 6.4 + dy, 19.6, 16.8 + dy, (250, 250, 240))
    c.polyline([(2.4, 6.8 + dy), (11, 12.6 + dy), (19.6, 6.8 + dy)], 1.1, (120, 120, 140))
    c.line(2.6, 16.6 + dy, 8.6, 11.4 + dy, 0.7, (170, 170, 185))
    c.line(19.4, 16.6 + dy, 13.4, 11.4 + dy, 0.7, (170, 170, 185))
    c.heart(16.8, 14.4 + dy, 1.6, RED)


# (drawer, frames, delay in hundredths of a second per frame)
EMOTICONS = [
    (e_smile, 2, (180, 15)),        # 0  :)
    (e_grin, 2, (30, 30)),          # 1  :D
    (e_wink, 2, (100, 50)),         # 2  ;)
    (e_tongue, 2, (40, 40)),        # 3  :P
    (e_sunglasses, 4, (100, 12, 12, 12)),  # 4  (H)
    (e_angry, 3, (20, 20, 40)),     # 5  :@
    (e_angel, 2, (40, 40)),         # 6  (A)
    (e_confused, 2, (40, 40)),      # 7  :S
    (e_blush, 2, (50, 50)),         # 8  :$
    (e_sad, 2, (150, 20)),          # 9  :(
    (e_grimace, 2, (150, 20)),      # 10 :T
    (e_laugh, 2, (25, 25)),         # 11 :H
    (e_cry, 3, (25, 25, 25)),       # 12 :'(
    (e_sleepy, 3, (60, 60, 60)),    # 13 :Z
    (e_sealed, 3, (60, 50, 50)),    # 14 :X
    (e_smirk, 2, (80, 50)),         # 15 :}
    (e_hearteyes, 2, (35, 35)),     # 16 :L
    (e_shout, 2, (30, 30)),         # 17 :V
    (e_sarcastic, 2, (80, 60)),     # 18 ^o)
    (e_worried, 3, (30, 30, 30)),   # 19 :{
    (e_grumpy, 2, (120, 40)),       # 20 :C
    (e_neutral, 2, (180, 15)),      # 21 :|
    (e_camera, 2, (120, 15)),       # 22 (P)
    (e_heart, 3, (30, 15, 15)),     # 23 (L)
    (e_broken, 2, (80, 60)),        # 24 (U)
    (e_cat, 2, (120, 30)),          # 25 (@)
    (e_film, 3, (15, 15, 15)),      # 26 (~)
    (e_ball, 4, (15, 15, 15, 15)),  # 27 (so)
    (e_cake, 3, (20, 20, 20)),      # 28 (^)
    (e_sun, 2, (40, 40)),           # 29 (#)
    (e_moon, 2, (60, 60)),          # 30 (S)
    (e_star, 3, (30, 30, 30)),      # 31 (*)
    (e_rose, 2, (60, 60)),          # 32 (F)
    (e_wilted, 3, (80, 50, 50)),    # 33 (W)
    (e_clock, 4, (50, 50, 50, 50)), # 34 (O)
    (e_tv, 3, (50, 50, 50)),        # 35 (tv)
    (e_bulb, 2, (60, 60)),          # 36 (I)
    (e_coffee, 3, (30, 30, 30)),    # 37 (C)
    (e_phone, 3, (60, 8, 8)),       # 38 (T)
    (e_mail, 2, (60, 30)),          # 39 (E)
]

# ---------------------------------------------------------------------------
# GIF89a writer
# ---------------------------------------------------------------------------


def lzw_encode(indices, min_code_size):
    """GIF LZW: variable-width codes, LSB first, clear on a full table."""
    clear = 1 << min_code_size
    eoi = clear + 1
    out = bytearray()
    bit_buf = 0
    bit_cnt = 0

    def emit(code, width):
        nonlocal bit_buf, bit_cnt
        bit_buf |= code << bit_cnt
        bit_cnt += width
        while bit_cnt >= 8:
            out.append(bit_buf & 0xFF)
            bit_buf >>= 8
            bit_cnt -= 8

    def reset():
        return {(i,): i for i in range(clear)}, eoi + 1, min_code_size + 1

    table, next_code, width = reset()
    emit(clear, width)
    prefix = ()
    for px in indices:
        cand = prefix + (px,)
        if cand in table:
            prefix = cand
            continue
        emit(table[prefix], width)
        if next_code < 4096:
            table[cand] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table, next_code, width = reset()
        prefix = (px,)
    if prefix:
        emit(table[prefix], width)
    emit(eoi, width)
    if bit_cnt:
        out.append(bit_buf & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def build_palette(frames):
    """Index 0 is transparent; the colours of every frame follow."""
    shift = 0
    while True:
        colours = []
        seen = {}
        for frame in frames:
            for row in frame:
                for p in row:
                    if p is None:
                        continue
                    q = tuple((v >> shift) << shift for v in p)
                    if q not in seen:
                        seen[q] = len(colours) + 1
                        colours.append(q)
        if len(colours) <= 255:
            return colours, seen, shift
        shift += 1


def write_gif(path, frames, delays):
    colours, lookup, shift = build_palette(frames)
    bits = 1
    while (1 << bits) < len(colours) + 1:
        bits += 1
    table_size = 1 << bits
    size = len(frames[0])
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", size, size, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
    palette = [(255, 255, 255)] + colours
    palette += [(0, 0, 0)] * (table_size - len(palette))
    for r, g, b in palette:
        out += bytes((r, g, b))
    # Loop forever.
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    min_code = max(2, bits)
    for frame, delay in zip(frames, delays):
        # Graphic control: restore to background after the frame, index 0 transparent.
        out += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, (2 << 2) | 1, delay, 0, 0)
        out += struct.pack("<BHHHHB", 0x2C, 0, 0, size, size, 0)
        indices = []
        for row in frame:
            for p in row:
                indices.append(0 if p is None else lookup[tuple((v >> shift) << shift for v in p)])
        out.append(min_code)
        out += sub_blocks(lzw_encode(indices, min_code))
    out.append(0x3B)
    with open(path, "wb") as fh:
        fh.write(out)


# ---------------------------------------------------------------------------
# BMP writer: 24 bits per pixel, bottom row first, rows padded to 4 bytes
# ---------------------------------------------------------------------------


def write_bmp(path, frame):
    size = len(frame)
    row_bytes = (size * 3 + 3) & ~3
    image_size = row_bytes * size
    out = bytearray(b"BM")
    out += struct.pack("<IHHI", 54 + image_size, 0, 0, 54)
    out += struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    for row in reversed(frame):
        line = bytearray()
        for p in row:
            r, g, b = WHITE if p is None else p
            line += bytes((b, g, r))
        line += b"\0" * (row_bytes - len(line))
        out += line
    with open(path, "wb") as fh:
        fh.write(out)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "assets")
    gif_dir = os.path.join(root, "emote", "gif")
    bmp_dir = os.path.join(root, "emote", "bmp")
    os.makedirs(gif_dir, exist_ok=True)
    os.makedirs(bmp_dir, exist_ok=True)
    for index, (draw, count, delays) in enumerate(EMOTICONS):
        assert len(delays) == count
        for scale, suffix in ((1, ""), (2, "@2x")):
            frames = []
            for f in range(count):
                c = Canvas(scale)
                draw(c, f)
                frames.append(c.pixels())
            name = "%d%s" % (index, suffix)
            write_gif(os.path.join(gif_dir, name + ".gif"), frames, delays)
            write_bmp(os.path.join(bmp_dir, name + ".bmp"), frames[0])
    print("wrote %d emoticons to %s" % (len(EMOTICONS), os.path.normpath(root)))


if __name__ == "__main__":
    main()
