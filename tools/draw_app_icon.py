#!/usr/bin/env python3
"""Draws the application icon into data/icons/: tarnwick.svg for the
scalable size and tarnwick-48.png, -128.png, -256.png, all from one set of
shapes (a white shield on a blue tile, a red alarm lamp on its base sending
waves to both sides). Pure Python, no imaging library needed."""
import math
import os

from draw_icons import png, render

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "icons")
SIZES = (48, 128, 256)
BLUE = (29, 79, 122, 255)
WHITE = (242, 245, 248, 255)
RED = (216, 58, 46, 255)
DARK_RED = (158, 34, 25, 255)
SHINE = (255, 190, 180, 255)
BASE = (52, 58, 64, 255)


def hexcolour(rgba):
    return "#%02x%02x%02x" % rgba[:3]


def px(value):
    return "%g" % round(value * 256, 2)


class RoundedSquare:
    def __init__(self, x0, y0, x1, y1, r):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, r

    def inside(self, u, v):
        cx = min(max(u, self.x0 + self.r), self.x1 - self.r)
        cy = min(max(v, self.y0 + self.r), self.y1 - self.r)
        return (u - cx) ** 2 + (v - cy) ** 2 <= self.r ** 2

    def svg(self, fill):
        return ('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s"/>' %
                (px(self.x0), px(self.y0), px(self.x1 - self.x0), px(self.y1 - self.y0),
                 px(self.r), fill))


class Disc:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def inside(self, u, v):
        return (u - self.cx) ** 2 + (v - self.cy) ** 2 <= self.r ** 2

    def svg(self, fill):
        return '<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (px(self.cx), px(self.cy),
                                                               px(self.r), fill)


class Shield:
    """Flat shoulders, straight sides, two quadratic curves down to the point."""

    def __init__(self, left, right, top, shoulder, waist, point):
        mid = (left + right) / 2
        self.path = [(mid, top), (right, shoulder), (right, waist)]
        self.curves = [((right, waist + (point - waist) * 0.55), (mid, point)),
                       ((left, waist + (point - waist) * 0.55), (left, waist))]
        self.tail = [(left, shoulder)]
        points = list(self.path)
        start = self.path[-1]
        for control, end in self.curves:
            for i in range(1, 25):
                t = i / 24
                points.append(tuple((1 - t) ** 2 * s + 2 * (1 - t) * t * c + t * t * e
                                    for s, c, e in zip(start, control, end)))
            start = end
        self.points = points + self.tail
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        self.box = (min(xs), min(ys), max(xs), max(ys))

    def inside(self, u, v):
        x0, y0, x1, y1 = self.box
        if not (x0 <= u <= x1 and y0 <= v <= y1):
            return False
        hit = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > v) != (yj > v) and u < (xj - xi) * (v - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit

    def svg(self, fill):
        d = "M %s %s" % (px(self.path[0][0]), px(self.path[0][1]))
        for x, y in self.path[1:]:
            d += " L %s %s" % (px(x), px(y))
        for (cx, cy), (x, y) in self.curves:
            d += " Q %s %s %s %s" % (px(cx), px(cy), px(x), px(y))
        for x, y in self.tail:
            d += " L %s %s" % (px(x), px(y))
        return '<path d="%s Z" fill="%s"/>' % (d, fill)


class Wave:
    """An arc of a circle drawn with a stroke, `a0`..`a1` degrees (0 = right,
    clockwise, as y grows downwards)."""

    def __init__(self, cx, cy, r, w, a0, a1):
        self.cx, self.cy, self.r, self.w, self.a0, self.a1 = cx, cy, r, w, a0, a1

    def inside(self, u, v):
        d = math.hypot(u - self.cx, v - self.cy)
        a = math.degrees(math.atan2(v - self.cy, u - self.cx)) % 360
        lo, hi = self.a0 % 360, self.a1 % 360
        within = lo <= a <= hi if lo <= hi else (a >= lo or a <= hi)
        return abs(d - self.r) <= self.w / 2 and within

    def svg(self, fill):
        def at(angle):
            rad = math.radians(angle)
            return px(self.cx + self.r * math.cos(rad)), px(self.cy + self.r * math.sin(rad))
        (x0, y0), (x1, y1) = at(self.a0), at(self.a1)
        return ('<path d="M %s %s A %s %s 0 0 1 %s %s" fill="none" stroke="%s" '
                'stroke-width="%s"/>' % (x0, y0, px(self.r), px(self.r), x1, y1, fill, px(self.w)))


class Bar(RoundedSquare):
    pass


def shapes():
    lamp_x, lamp_y = 0.5, 0.47
    result = [(RoundedSquare(0.04, 0.04, 0.96, 0.96, 0.18), BLUE),
              (Shield(0.2, 0.8, 0.13, 0.21, 0.52, 0.9), WHITE)]
    for r in (0.155, 0.225):
        for a0, a1 in ((-38, 38), (142, 218)):
            result.append((Wave(lamp_x, lamp_y, r, 0.045, a0, a1), BLUE))
    result += [(Bar(0.385, 0.585, 0.615, 0.655, 0.02), BASE),
               (Disc(lamp_x, lamp_y, 0.105), DARK_RED),
               (Disc(lamp_x, lamp_y, 0.085), RED),
               (Disc(lamp_x - 0.032, lamp_y - 0.034, 0.026), SHINE)]
    return result


def main():
    os.makedirs(OUT, exist_ok=True)
    drawn = shapes()
    body = "\n  ".join(shape.svg(hexcolour(rgba)) for shape, rgba in drawn)
    with open(os.path.join(OUT, "tarnwick.svg"), "w") as f:
        f.write('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
                'viewBox="0 0 256 256">\n  %s\n</svg>\n' % body)
    pairs = [(shape.inside, rgba) for shape, rgba in drawn]
    for size in SIZES:
        png(os.path.join(OUT, "tarnwick-%d.png" % size), size, size, render(size, pairs))


if __name__ == "__main__":
    main()
