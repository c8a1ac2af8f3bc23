#!/usr/bin/env python3
"""Draws the program's 32 x 32 icons and writes them as XPM into app/resources/.

Each icon is a stack of shapes given as signed distance functions (negative
inside). Every pixel is sampled 4 x 4 times; edge pixels are blended towards
the toolbar's grey, since XPM knows only opaque or transparent pixels.

Run from anywhere:  python3 scripts/make_icons.py
"""

import math
import os

SIZE = 32
SUB = 4
TOOLBAR_GREY = (195, 195, 195)
OUTLINE = (38, 42, 52)
OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "resources")


# --- Shapes (signed distance, negative inside) ---

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(cx, cy, hw, hh, r=0.0):
    def sdf(x, y):
        qx = abs(x - cx) - hw + r
        qy = abs(y - cy) - hh + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return sdf


def segment(ax, ay, bx, by, r):
    def sdf(x, y):
        px, py = x - ax, y - ay
        dx, dy = bx - ax, by - ay
        h = max(0.0, min(1.0, (px * dx + py * dy) / (dx * dx + dy * dy)))
        return math.hypot(px - dx * h, py - dy * h) - r
    return sdf


def polyline(points, r):
    parts = [segment(a[0], a[1], b[0], b[1], r) for a, b in zip(points, points[1:])]
    return union(*parts)


def polygon(points):
    n = len(points)

    def sdf(x, y):
        d = (x - points[0][0]) ** 2 + (y - points[0][1]) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            vi, vj = points[i], points[j]
            ex, ey = vj[0] - vi[0], vj[1] - vi[1]
            wx, wy = x - vi[0], y - vi[1]
            h = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            bx, by = wx - ex * h, wy - ey * h
            d = min(d, bx * bx + by * by)
            c1 = y >= vi[1]
            c2 = y < vj[1]
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def grow(shape, w):
    return lambda x, y: shape(x, y) - w


def rotated(shape, cx, cy, degrees):
    """The shape turned by degrees (clockwise on screen) about (cx, cy)."""
    a = math.radians(degrees)
    ca, sa = math.cos(a), math.sin(a)

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        return shape(cx + dx * ca + dy * sa, cy - dx * sa + dy * ca)
    return sdf


def teardrop(cx, cy, w, h, steps=96):
    pts = []
    for k in range(steps):
        t = 2 * math.pi * k / steps
        px = math.sin(t) * math.sin(t / 2)
        py = math.cos(t)
        pts.append((cx + px * w, cy - py * h))
    return polygon(pts)


# --- Colours ---

def lerp(c1, c2, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def vertical(top_colour, bottom_colour, y0, y1):
    return lambda x, y: lerp(top_colour, bottom_colour, (y - y0) / (y1 - y0))


def horizontal(left_colour, right_colour, x0, x1):
    return lambda x, y: lerp(left_colour, right_colour, (x - x0) / (x1 - x0))


def metal(x0, x1):
    """A cylinder's shading: bright just left of the middle, darker at the sides."""
    def colour(x, y):
        t = (x - x0) / (x1 - x0)
        k = math.cos((t - 0.38) * math.pi * 1.1)
        return lerp((112, 118, 128), (236, 239, 244), max(0.0, k))
    return colour


# --- Rendering ---

class Icon:
    def __init__(self):
        self.layers = []

    def fill(self, shape, colour):
        self.layers.append((shape, colour))

    def outlined(self, shape, colour, width=1.0, outline=OUTLINE):
        self.layers.append((grow(shape, width), outline))
        self.layers.append((shape, colour))

    def render(self):
        pixels = []
        for py in range(SIZE):
            row = []
            for px in range(SIZE):
                acc = [0.0, 0.0, 0.0]
                hits = 0
                for sy in range(SUB):
                    for sx in range(SUB):
                        x = px + (sx + 0.5) / SUB
                        y = py + (sy + 0.5) / SUB
                        colour = None
                        for shape, paint in self.layers:
                            if shape(x, y) < 0:
                                colour = paint(x, y) if callable(paint) else paint
                        if colour is not None:
                            hits += 1
                            for i in range(3):
                                acc[i] += colour[i]
                alpha = hits / (SUB * SUB)
                if alpha < 0.3:
                    row.append(None)
                    continue
                mean = [a / hits for a in acc]
                blended = [m * alpha + g * (1 - alpha) for m, g in zip(mean, TOOLBAR_GREY)]
                # Coarser steps keep the palette (and the XPM) small.
                row.append(tuple(min(255, int(round(c / 4.0)) * 4) for c in blended))
            pixels.append(row)
        return pixels


CODE_CHARS = ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
              "0123456789#$%&'()*+,-./:;<=>?@[]^_`{|}~")


def to_xpm(name, pixels):
    colours = []
    for row in pixels:
        for c in row:
            if c is not None and c not in colours:
                colours.append(c)
    codes = {None: "  "}
    for i, c in enumerate(colours):
        codes[c] = CODE_CHARS[i // len(CODE_CHARS)] + CODE_CHARS[i % len(CODE_CHARS)]
    lines = ["/* XPM */",
             "/* Generated by scripts/make_icons.py; edit the script, not this file. */",
             "static const char* const %s_xpm[] = {" % name,
             '"%d %d %d 2",' % (SIZE, SIZE, len(colours) + 1),
             '"   c None",']
    for c in colours:
        lines.append('"%s c #%02X%02X%02X",' % ((codes[c],) + c))
    for i, row in enumerate(pixels):
        text = "".join(codes[c] for c in row)
        lines.append('"%s"%s' % (text, "," if i + 1 < len(pixels) else ""))
    lines.append("};")
    return "\n".join(lines) + "\n"


# --- The icons ---

def logo():
    """The program's own icon: a blue gas flame on a dark tile."""
    icon = Icon()
    tile = box(16, 16, 15, 15, 6)
    icon.fill(tile, OUTLINE)
    icon.fill(box(16, 16, 14, 14, 5.2), vertical((34, 58, 104), (14, 24, 48), 2, 30))
    icon.fill(grow(teardrop(16, 17, 10.5, 12.5), 0.8), (8, 40, 120))
    icon.fill(teardrop(16, 17, 10.5, 12.5), vertical((70, 150, 255), (20, 90, 230), 4, 29))
    icon.fill(teardrop(16, 20.5, 6.5, 8.5), vertical((150, 215, 255), (90, 180, 255), 12, 29))
    icon.fill(teardrop(16, 23.5, 3.2, 4.6), (240, 250, 255))
    return icon


def port():
    """Port: a mains-style plug with two pins and its cable."""
    icon = Icon()
    pins = [box(11.5, 6.5, 1.6, 5.0, 0.6), box(20.5, 6.5, 1.6, 5.0, 0.6)]
    for pin in pins:
        icon.outlined(pin, horizontal((250, 236, 170), (184, 150, 52), 9.5, 22), 0.9)
    body = union(box(16, 15.5, 9.0, 5.5, 2.2),
                 polygon([(10.0, 19.0), (22.0, 19.0), (19.0, 24.5), (13.0, 24.5)]))
    cable = polyline([(16, 24), (16, 27.5), (17.5, 29.5), (22, 30.5), (26, 30.5)], 1.7)
    icon.fill(grow(cable, 1.0), OUTLINE)
    icon.fill(cable, (70, 74, 82))
    icon.outlined(body, vertical((110, 124, 150), (52, 60, 78), 10, 25), 1.0)
    icon.fill(box(16, 13.0, 6.5, 0.9, 0.9), (150, 164, 190))
    icon.fill(circle(16, 18.5, 1.5), (80, 220, 100))
    return icon


def load_save():
    """Load/save settings: a floppy disk."""
    icon = Icon()
    body = intersect(box(16, 16, 13, 13, 2.0), lambda x, y: (x - y - 21.0) / math.sqrt(2))
    icon.outlined(body, vertical((58, 112, 206), (28, 66, 150), 3, 29), 1.0)
    icon.fill(box(15.5, 8.0, 8.0, 5.0, 0.8), vertical((226, 230, 238), (168, 174, 186), 3, 13))
    icon.fill(box(19.0, 8.0, 2.0, 3.2, 0.5), (44, 52, 70))
    icon.fill(box(16, 22.5, 10.0, 6.5, 1.2), (246, 246, 240))
    icon.fill(box(16, 17.6, 10.0, 1.2, 0.3), (220, 70, 60))
    for y in (21.5, 24.5, 27.0):
        icon.fill(box(16, y, 7.5, 0.45), (150, 156, 170))
    return icon


def injector():
    """Injector calculator: a gas injector nozzle with its spray."""
    icon = Icon()
    spray = polygon([(16, 22.5), (5.5, 31.8), (26.5, 31.8)])
    icon.fill(grow(spray, 0.6), (40, 110, 210))
    icon.fill(spray, vertical((120, 190, 255), (196, 228, 255), 22, 32))
    for end_x in (7.5, 11.8, 16.0, 20.2, 24.5):
        icon.fill(segment(16, 23.5, end_x, 31.5, 0.45), (40, 120, 225))
    icon.outlined(box(16, 4.0, 4.5, 3.0, 1.0), (60, 62, 70), 0.9)
    icon.fill(box(13.5, 2.5, 0.7, 1.0), (200, 170, 60))
    icon.fill(box(18.5, 2.5, 0.7, 1.0), (200, 170, 60))
    icon.outlined(box(16, 11.5, 5.5, 5.0, 1.6), metal(10.5, 21.5), 0.9)
    icon.fill(box(16, 12.0, 6.0, 1.1, 0.6), (40, 160, 80))
    icon.outlined(box(16, 18.5, 3.4, 2.6, 0.8), metal(12.6, 19.4), 0.9)
    icon.outlined(polygon([(13.3, 20.8), (18.7, 20.8), (17.1, 23.4), (14.9, 23.4)]),
                  (96, 100, 110), 0.8)
    return icon


def service():
    """Service: an open-ended spanner, lying from lower left to upper right."""
    icon = Icon()
    c = 16.0
    handle = box(c, c, 8.5, 2.3, 1.6)
    head = subtract(circle(c + 9.0, c, 6.3), box(c + 13.0, c, 4.6, 2.5, 0.4))
    tail = subtract(circle(c - 9.6, c, 4.6), circle(c - 9.6, c, 2.0))
    spanner = rotated(union(handle, head, tail), c, c, -45)
    icon.outlined(spanner, vertical((236, 238, 242), (120, 126, 138), 2, 30), 1.0)
    icon.fill(rotated(box(c, c, 5.5, 0.8, 0.8), c, c, -45), (150, 156, 168))
    return icon


def demo():
    """Demo: a play sign."""
    icon = Icon()
    icon.fill(circle(16, 16, 14.8), (24, 96, 40))
    icon.fill(circle(16, 16, 13.8), vertical((96, 206, 106), (30, 140, 56), 2, 30))
    triangle = grow(polygon([(12.2, 9.0), (12.2, 23.0), (24.0, 16.0)]), 0.6)
    icon.fill(triangle, (252, 252, 252))
    return icon


def about():
    """About: an information sign."""
    icon = Icon()
    icon.fill(circle(16, 16, 14.8), (20, 60, 130))
    icon.fill(circle(16, 16, 13.8), vertical((90, 160, 240), (30, 90, 190), 2, 30))
    icon.fill(circle(16, 8.8, 2.4), (252, 252, 252))
    icon.fill(box(16, 19.0, 2.2, 6.5, 0.8), (252, 252, 252))
    icon.fill(box(14.6, 13.3, 3.6, 1.0, 0.4), (252, 252, 252))
    icon.fill(box(16, 24.6, 4.6, 1.0, 0.4), (252, 252, 252))
    return icon


ICONS = {
    "id_logoico": logo,
    "id_zport": port,
    "id_zairubaocun": load_save,
    "id_penzuijisuan": injector,
    "id_zbaoyang": service,
    "id_yanshi": demo,
    "id_zgongsi": about,
}


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    for name, draw in ICONS.items():
        path = os.path.join(OUT_DIR, name + ".xpm")
        with open(path, "w", encoding="ascii") as f:
            f.write(to_xpm(name, draw().render()))
        print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
