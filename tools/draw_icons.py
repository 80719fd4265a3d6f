#!/usr/bin/env python3
"""Draws the small pictures of the host control page into data/images/:
the lamp (off, lit and unknown), the four switch pictures and the six signal icons,
each at 1x and 2x (name@2x.png). Pure Python, no imaging library needed."""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "images")
SS = 4  # supersampling per axis


def png(path, w, h, pixels):
    raw = b"".join(b"\x00" + bytes(pixels[y * w * 4:(y + 1) * w * 4]) for y in range(h))

    def chunk(kind, data):
        c = kind + data
        return struct.pack(">I", len(data)) + c + struct.pack(">I", zlib.crc32(c) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def render(size, shapes):
    """shapes: list of (inside(x, y) -> bool in unit coordinates 0..1, rgba)."""
    px = []
    for y in range(size):
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    u = (x + (sx + 0.5) / SS) / size
                    v = (y + (sy + 0.5) / SS) / size
                    colour = None
                    for inside, rgba in shapes:
                        if inside(u, v):
                            colour = rgba
                    if colour:
                        a = colour[3] / 255.0
                        acc[0] += colour[0] * a
                        acc[1] += colour[1] * a
                        acc[2] += colour[2] * a
                        acc[3] += a
            n = SS * SS
            alpha = acc[3] / n
            if alpha > 0:
                px += [int(acc[0] / acc[3]), int(acc[1] / acc[3]), int(acc[2] / acc[3]),
                       int(round(alpha * 255))]
            else:
                px += [0, 0, 0, 0]
    return px


def circle(cx, cy, r):
    return lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def ring(cx, cy, r, w):
    return lambda u, v: (r - w) ** 2 <= (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def rect(x0, y0, x1, y1):
    return lambda u, v: x0 <= u <= x1 and y0 <= v <= y1


def polygon(points):
    def inside(u, v):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > v) != (yj > v) and u < (xj - xi) * (v - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def line(x0, y0, x1, y1, w):
    def inside(u, v):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((u - x0) * dx + (v - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(u - x0 - t * dx, v - y0 - t * dy) <= w / 2
    return inside


def arc(cx, cy, r, w, a0, a1):
    def inside(u, v):
        d = math.hypot(u - cx, v - cy)
        a = math.degrees(math.atan2(v - cy, u - cx))
        return abs(d - r) <= w / 2 and a0 <= a <= a1
    return inside


DARK = (40, 40, 40, 255)
GREY = (150, 150, 150, 255)


def lamp(lit):
    body = (46, 190, 70, 255) if lit else (170, 170, 170, 255)
    rim = (20, 110, 40, 255) if lit else (110, 110, 110, 255)
    shine = (210, 255, 215, 255) if lit else (225, 225, 225, 255)
    return [(circle(0.5, 0.5, 0.44), rim), (circle(0.5, 0.5, 0.36), body),
            (circle(0.38, 0.36, 0.1), shine)]


def lamp_unknown():
    """No answer from the host: a pale lamp with a dashed rim and a question mark."""
    pale = (215, 215, 215, 255)
    mark = (120, 120, 120, 255)

    def dashed(u, v):
        a = math.degrees(math.atan2(v - 0.5, u - 0.5)) % 45
        return ring(0.5, 0.5, 0.44, 0.07)(u, v) and a < 28

    return [(circle(0.5, 0.5, 0.38), pale), (dashed, mark),
            (arc(0.5, 0.4, 0.12, 0.07, -180, 60), mark),
            (line(0.56, 0.49, 0.5, 0.56, 0.07), mark), (line(0.5, 0.56, 0.5, 0.62, 0.07), mark),
            (circle(0.5, 0.74, 0.045), mark)]


def linkage(on):
    c = (30, 110, 220, 255) if on else GREY
    shapes = [(ring(0.36, 0.5, 0.24, 0.09), c), (ring(0.64, 0.5, 0.24, 0.09), c)]
    if not on:
        shapes.append((line(0.12, 0.88, 0.88, 0.12, 0.09), (200, 40, 40, 255)))
    return shapes


def sound(on):
    c = (220, 120, 20, 255) if on else GREY
    speaker = polygon([(0.12, 0.38), (0.3, 0.38), (0.52, 0.16), (0.52, 0.84), (0.3, 0.62),
                       (0.12, 0.62)])
    shapes = [(speaker, c)]
    if on:
        shapes += [(arc(0.52, 0.5, 0.18, 0.07, -50, 50), c), (arc(0.52, 0.5, 0.32, 0.07, -50, 50), c)]
    else:
        red = (200, 40, 40, 255)
        shapes += [(line(0.64, 0.36, 0.9, 0.64, 0.08), red), (line(0.64, 0.64, 0.9, 0.36, 0.08), red)]
    return shapes


def signal(level):
    shapes = []
    for i in range(5):
        x0 = 0.08 + i * 0.18
        top = 0.78 - (i + 1) * 0.13
        colour = (30, 150, 60, 255) if i < level else (200, 200, 200, 255)
        shapes.append((rect(x0, top, x0 + 0.12, 0.9), colour))
    if level == 0:
        red = (200, 40, 40, 255)
        shapes += [(line(0.12, 0.12, 0.42, 0.42, 0.08), red), (line(0.12, 0.42, 0.42, 0.12, 0.08), red)]
    return shapes


def main():
    os.makedirs(OUT, exist_ok=True)
    pictures = {"lamp0": (24, lamp(False)), "lamp1": (24, lamp(True)), "lamp2": (24, lamp_unknown()),
                "onoff0": (24, linkage(False)), "onoff1": (24, linkage(True)),
                "onoff2": (24, sound(False)), "onoff3": (24, sound(True))}
    for level in range(6):
        pictures["csq%d" % level] = (20, signal(level))
    for name, (size, shapes) in pictures.items():
        for scale, suffix in ((1, ""), (2, "@2x")):
            s = size * scale
            png(os.path.join(OUT, name + suffix + ".png"), s, s, render(s, shapes))


if __name__ == "__main__":
    main()
